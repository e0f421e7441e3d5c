#pragma once

#include <QString>
#include <stdexcept>

namespace core {

class IniWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A sectioned key=value text file in UTF-8 that holds section and key names
// as they are (Chinese included). Every call opens the file, reads or writes
// and closes it again: nothing is cached, so a write is seen by the next read.
class IniFile {
public:
    explicit IniFile(const QString &path);

    QString readString(const QString &section, const QString &key, const QString &def) const;
    // The value taken as an integer; a missing key or a value that is no
    // integer gives the default.
    int readInteger(const QString &section, const QString &key, int def) const;
    bool readBool(const QString &section, const QString &key, bool def) const;
    bool hasKey(const QString &section, const QString &key) const;

    // Creates the file, section or key when missing. Throws IniWriteError.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);

    QString path() const { return m_path; }

private:
    bool find(const QString &section, const QString &key, QString *value) const;
    QString m_path;
};

// The program's settings: section "程序参数" of myini.ini in the program folder.
class Settings {
public:
    Settings();
    static QString section();

    QString readString(const QString &key, const QString &def) const { return m_ini.readString(section(), key, def); }
    bool readBool(const QString &key, bool def) const { return m_ini.readBool(section(), key, def); }
    void writeString(const QString &key, const QString &value) { m_ini.writeString(section(), key, value); }
    void writeBool(const QString &key, bool value) { m_ini.writeBool(section(), key, value); }

private:
    IniFile m_ini;
};

} // namespace core
