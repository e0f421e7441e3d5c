#include "core/inifile.h"

#include "core/paths.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>

namespace core {

namespace {

// The file as lines. UTF-8 is what we write; an older file in the GBK code
// page is still read.
QStringList readLines(const QString &path, bool *exists = nullptr)
{
    QFile f(path);
    if (exists)
        *exists = f.exists();
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        QStringDecoder gbk("GBK");
        if (gbk.isValid())
            text = gbk.decode(bytes);
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool isSection(const QString &line, QString *name)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[') || !t.endsWith(u']'))
        return false;
    *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// key=value, or false for comments and other lines.
bool splitEntry(const QString &line, QString *key, QString *value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';'))
        return false;
    const int eq = t.indexOf(u'=');
    if (eq <= 0)
        return false;
    *key = t.left(eq).trimmed();
    QString v = t.mid(eq + 1).trimmed();
    if (v.size() >= 2 && ((v.startsWith(u'"') && v.endsWith(u'"')) || (v.startsWith(u'\'') && v.endsWith(u'\''))))
        v = v.mid(1, v.size() - 2);
    *value = v;
    return true;
}

} // namespace

IniFile::IniFile(const QString &path)
    : m_path(path)
{
}

bool IniFile::find(const QString &section, const QString &key, QString *value) const
{
    const QStringList lines = readLines(m_path);
    bool inSection = false;
    for (const QString &line : lines) {
        QString name;
        if (isSection(line, &name)) {
            inSection = sameName(name, section);
            continue;
        }
        QString k, v;
        if (inSection && splitEntry(line, &k, &v) && sameName(k, key)) {
            *value = v;
            return true;
        }
    }
    return false;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    QString v;
    return find(section, key, &v);
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    QString v;
    return find(section, key, &v) ? v : def;
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const
{
    QString v;
    if (!find(section, key, &v))
        return def;
    bool ok = false;
    int n = 0;
    if (v.startsWith(u'$'))
        n = v.mid(1).toInt(&ok, 16);
    else if (v.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        n = v.mid(2).toInt(&ok, 16);
    else
        n = v.toInt(&ok, 10);
    return ok ? n : def;
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    QString flat = value;
    flat.remove(u'\r');
    flat.remove(u'\n'); // a value is one line
    QStringList lines = readLines(m_path);
    int sectionLine = -1;
    int lastInSection = -1;
    int keyLine = -1;
    bool inSection = false;
    for (int i = 0; i < lines.size(); ++i) {
        QString name;
        if (isSection(lines[i], &name)) {
            inSection = sameName(name, section);
            if (inSection && sectionLine < 0) {
                sectionLine = i;
                lastInSection = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        QString k, v;
        if (splitEntry(lines[i], &k, &v)) {
            lastInSection = i;
            if (keyLine < 0 && sameName(k, key))
                keyLine = i;
        } else if (!lines[i].trimmed().isEmpty()) {
            lastInSection = i;
        }
    }
    const QString entry = key + u'=' + flat;
    if (keyLine >= 0) {
        lines[keyLine] = entry;
    } else if (sectionLine >= 0) {
        lines.insert(lastInSection + 1, entry);
    } else {
        lines << (u'[' + section + u']') << entry;
    }
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        throw IniWriteError(f.errorString().toStdString());
    f.write((lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8());
    if (!f.commit())
        throw IniWriteError(f.errorString().toStdString());
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeInteger(section, key, value ? 1 : 0);
}

Settings::Settings()
    : m_ini(settingsPath())
{
}

QString Settings::section()
{
    return QStringLiteral("程序参数");
}

} // namespace core
