#pragma once

#include <QString>
#include <stdexcept>

struct sqlite3;

namespace core {

// Every engine failure, carrying the engine's own text.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message);
    QString text() const { return QString::fromUtf8(what()); }
};

// The database password, compiled in and not configurable.
inline constexpr const char *kDatabasePassword = "quillborneverts";

// One connection to an encrypted database file. Statements given here are
// in SQLite's dialect; Query translates the program's own statements first.
class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens an existing file (never creates one), keys it and checks that
    // the key fits. Throws DbError when the file is missing or unreadable.
    void open(const QString &path);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString path() const { return m_path; }
    sqlite3 *handle() const { return m_db; }

    // Runs one or more statements without result rows.
    void exec(const QString &sql);

    void begin(); // takes the write lock at once
    void commit();
    void rollback();
    bool inTransaction() const;

    // A consistent copy of the open database into `target`, keyed the same
    // way; written beside the target first, so a failure leaves an older
    // file of that name as it was.
    void backupTo(const QString &target);

    // Creates a new empty keyed file (build tool and tests only).
    static void createEmpty(const QString &path);

    [[noreturn]] void fail(const QString &context = {}) const;

private:
    static void applyKey(sqlite3 *db);
    sqlite3 *m_db = nullptr;
    QString m_path;
};

// Begin in the constructor, commit() explicitly, roll back in the destructor
// when not committed.
class Transaction {
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Database &m_db;
    bool m_done = false;
};

} // namespace core
