#include "core/query.h"

#include "core/database.h"
#include "core/formats.h"
#include "core/sqldialect.h"

#include <sqlcipher/sqlite3.h>

namespace core {

Query::Query(Database &db, const QString &name, const QString &initialSql)
    : m_db(db)
    , m_sql(initialSql)
    , m_initialSql(initialSql)
{
    setObjectName(name);
}

QString Query::sql() const
{
    if (m_sql.isEmpty() || m_sql.endsWith(QLatin1String("\r\n")))
        return m_sql;
    return m_sql + QLatin1String("\r\n");
}

void Query::close()
{
    if (!m_open && m_cells.empty() && m_columns.isEmpty())
        return;
    emit aboutToReset();
    m_open = false;
    m_columns.clear();
    m_cells.clear();
    m_rowCount = 0;
    m_row = 0;
    emit resetDone();
}

void Query::open()
{
    run(true);
}

void Query::execSQL()
{
    run(false);
}

namespace {

struct Stmt {
    sqlite3_stmt *s = nullptr;
    ~Stmt() { sqlite3_finalize(s); }
};

QVariant readCell(sqlite3_stmt *s, int i)
{
    switch (sqlite3_column_type(s, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(s, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(s, i));
    case SQLITE_TEXT: {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(s, i));
        return QVariant(QString::fromUtf8(p, sqlite3_column_bytes(s, i)));
    }
    case SQLITE_BLOB: {
        const auto *p = static_cast<const char *>(sqlite3_column_blob(s, i));
        return QVariant(QByteArray(p, sqlite3_column_bytes(s, i)));
    }
    default:
        return QVariant();
    }
}

bool onlyBlanks(const char *p)
{
    for (; *p; ++p) {
        if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n' && *p != ';')
            return false;
    }
    return true;
}

} // namespace

void Query::run(bool keepRows)
{
    if (m_open || !m_cells.empty() || !m_columns.isEmpty())
        close();
    sqlite3 *db = m_db.handle();
    if (!db)
        throw DbError(QStringLiteral("数据库未连接"));
    const QByteArray text = translateAccessSql(m_sql).toUtf8();
    Stmt st;
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &st.s, &tail) != SQLITE_OK)
        m_db.fail();
    if (!st.s)
        throw DbError(QStringLiteral("SQL 语句为空"));
    // One statement at a time, as the program's statements are written.
    if (tail && !onlyBlanks(tail))
        throw DbError(QStringLiteral("一次只能执行一条 SQL 语句"));

    const int n = sqlite3_column_count(st.s);
    QStringList columns;
    std::vector<QVariant> cells;
    size_t rows = 0;
    if (keepRows) {
        QByteArray key;
        for (int i = 0; i < n; ++i) {
            key += sqlite3_column_name(st.s, i);
            key += '\0';
        }
        if (key != m_namesKey) {
            QStringList names;
            names.reserve(n);
            for (int i = 0; i < n; ++i)
                names.append(QString::fromUtf8(sqlite3_column_name(st.s, i)));
            m_names = names;
            m_namesKey = key;
        }
        columns = m_names;
        cells.reserve(size_t(n));
    }
    int rc;
    while ((rc = sqlite3_step(st.s)) == SQLITE_ROW) {
        if (!keepRows)
            continue;
        for (int i = 0; i < n; ++i)
            cells.push_back(readCell(st.s, i));
        ++rows;
    }
    if (rc != SQLITE_DONE)
        m_db.fail();
    if (!keepRows)
        return;
    emit aboutToReset();
    m_columns = std::move(columns);
    m_cells = std::move(cells);
    m_rowCount = rows;
    m_row = 0;
    m_open = true;
    emit resetDone();
}

int Query::columnIndex(const QString &name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i] == name)
            return i;
    }
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int Query::requireColumn(const QString &column) const
{
    const int i = columnIndex(column);
    if (i < 0)
        throw DbError(QStringLiteral("%1: 找不到字段“%2”").arg(objectName(), column));
    return i;
}

QVariant Query::value(const QString &column) const
{
    if (!m_open)
        throw DbError(QStringLiteral("%1: 查询未打开").arg(objectName()));
    const int i = requireColumn(column);
    if (m_row >= m_rowCount)
        return QVariant();
    return cell(int(m_row), i);
}

QString Query::asString(const QString &column) const
{
    return toText(value(column));
}

double Query::asFloat(const QString &column) const
{
    return toFloat(value(column));
}

bool Query::asBool(const QString &column) const
{
    return toBool(value(column));
}

QString Query::toText(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return QString();
    case QMetaType::Double:
        return floatToText(v.toDouble());
    case QMetaType::LongLong:
        return QString::number(v.toLongLong());
    case QMetaType::QString:
        return v.toString();
    default:
        return v.toString();
    }
}

double Query::toFloat(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return 0;
    case QMetaType::Double:
        return v.toDouble();
    case QMetaType::LongLong:
        return double(v.toLongLong());
    default: {
        const QString t = v.toString();
        if (t.trimmed().isEmpty())
            return 0;
        return textToFloat(t);
    }
    }
}

bool Query::toBool(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return false;
    case QMetaType::Double:
        return v.toDouble() != 0;
    case QMetaType::LongLong:
        return v.toLongLong() != 0;
    default: {
        const QString t = v.toString().trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
            || t.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
            return true;
        double d = 0;
        return tryTextToFloat(t, &d) && d != 0;
    }
    }
}

} // namespace core
