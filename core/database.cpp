#include "core/database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstring>
#include <sqlcipher/sqlite3.h>

namespace core {

DbError::DbError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

namespace {

void execRaw(sqlite3 *db, const char *sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const QString text = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
        sqlite3_free(err);
        throw DbError(text);
    }
}

} // namespace

Database::~Database()
{
    close();
}

void Database::applyKey(sqlite3 *db)
{
    if (sqlite3_key(db, kDatabasePassword, int(strlen(kDatabasePassword))) != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(db)));
    // Fixed when the file is made: every open must say the same.
    execRaw(db, "PRAGMA cipher_page_size = 4096");
}

void Database::open(const QString &path)
{
    close();
    if (!QFileInfo(path).isFile())
        throw DbError(QStringLiteral("数据库文件不存在：%1").arg(QDir::toNativeSeparators(path)));
    sqlite3 *db = nullptr;
    const QByteArray p = QFile::encodeName(path);
    const int rc = sqlite3_open_v2(p.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const QString text = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        throw DbError(text);
    }
    try {
        applyKey(db);
        // A wrong key or a file that is no database fails on the first read.
        execRaw(db, "SELECT count(*) FROM sqlite_master");
        sqlite3_busy_timeout(db, 5000);
        execRaw(db, "PRAGMA journal_mode = WAL");
        execRaw(db, "PRAGMA synchronous = FULL");
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    m_db = db;
    m_path = path;
}

void Database::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Database::fail(const QString &context) const
{
    QString text = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("数据库未连接");
    if (!context.isEmpty())
        text = context + QStringLiteral("\n") + text;
    throw DbError(text);
}

void Database::exec(const QString &sql)
{
    if (!m_db)
        fail();
    execRaw(m_db, sql.toUtf8().constData());
}

void Database::begin()
{
    exec(QStringLiteral("BEGIN IMMEDIATE"));
}

void Database::commit()
{
    exec(QStringLiteral("COMMIT"));
}

void Database::rollback()
{
    if (m_db && !sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool Database::inTransaction() const
{
    return m_db && !sqlite3_get_autocommit(m_db);
}

void Database::backupTo(const QString &target)
{
    if (!m_db)
        fail();
    const QString temp = target + QStringLiteral(".part");
    QFile::remove(temp);
    sqlite3 *dest = nullptr;
    const QByteArray t = QFile::encodeName(temp);
    int rc = sqlite3_open_v2(t.constData(), &dest, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    QString error;
    if (rc == SQLITE_OK) {
        try {
            applyKey(dest);
        } catch (const DbError &e) {
            error = e.text();
        }
        if (error.isEmpty()) {
            sqlite3_backup *b = sqlite3_backup_init(dest, "main", m_db, "main");
            if (!b) {
                error = QString::fromUtf8(sqlite3_errmsg(dest));
            } else {
                rc = sqlite3_backup_step(b, -1);
                sqlite3_backup_finish(b);
                if (rc != SQLITE_DONE)
                    error = QString::fromUtf8(sqlite3_errstr(rc));
            }
        }
        if (error.isEmpty()) {
            // A backup is one self-contained file: fold the log back in.
            char *err = nullptr;
            if (sqlite3_exec(dest, "PRAGMA journal_mode = DELETE", nullptr, nullptr, &err) != SQLITE_OK)
                error = QString::fromUtf8(err ? err : "journal_mode");
            sqlite3_free(err);
        }
    } else {
        error = QString::fromUtf8(dest ? sqlite3_errmsg(dest) : sqlite3_errstr(rc));
    }
    if (sqlite3_close(dest) != SQLITE_OK && error.isEmpty())
        error = QStringLiteral("close failed");
    if (error.isEmpty()) {
        // rename() replaces an older file of that name in one step.
        if (std::rename(t.constData(), QFile::encodeName(target).constData()) != 0)
            error = QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(target));
    }
    if (!error.isEmpty()) {
        QFile::remove(temp);
        throw DbError(error);
    }
}

void Database::createEmpty(const QString &path)
{
    QFile::remove(path);
    sqlite3 *db = nullptr;
    const QByteArray p = QFile::encodeName(path);
    if (sqlite3_open_v2(p.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString text = QString::fromUtf8(db ? sqlite3_errmsg(db) : "open failed");
        sqlite3_close(db);
        throw DbError(text);
    }
    try {
        applyKey(db);
        execRaw(db, "PRAGMA journal_mode = WAL");
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}

Transaction::Transaction(Database &db)
    : m_db(db)
{
    m_db.begin();
}

Transaction::~Transaction()
{
    if (!m_done)
        m_db.rollback();
}

void Transaction::commit()
{
    m_db.commit();
    m_done = true;
}

} // namespace core
