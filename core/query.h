#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace core {

class Database;

// A named query: its statement text and, once opened, its result rows with
// a current row. Statements are in the program's (Access) dialect and are
// translated just before they run. Every model bound to a query resets
// whenever the query is closed or reopened.
class Query : public QObject {
    Q_OBJECT
public:
    Query(Database &db, const QString &name, const QString &initialSql = {});

    // The statement text. sql() reads it back the way a list of lines does:
    // ending with CR LF, so a second line can be appended to it.
    void setSql(const QString &sql) { m_sql = sql; }
    QString sql() const;
    void clearSql() { m_sql.clear(); }
    QString initialSql() const { return m_initialSql; }

    void open();    // runs the text and keeps its rows
    void execSQL(); // runs the text, no rows
    void close();
    bool isOpen() const { return m_open; }

    int recordCount() const { return int(m_rowCount); }
    int columnCount() const { return int(m_columns.size()); }
    const QStringList &columns() const { return m_columns; }
    int columnIndex(const QString &name) const; // -1 when absent

    // Current row.
    void first() { m_row = 0; }
    void next() { if (m_row < m_rowCount) ++m_row; }
    bool eof() const { return m_row >= m_rowCount; }
    int recNo() const { return int(m_row); }
    void moveTo(int row) { m_row = size_t(row); }

    // Columns of the current row by name. An empty result (or past the end)
    // gives empty text, 0 and false; an unknown column throws DbError.
    QString asString(const QString &column) const;
    double asFloat(const QString &column) const;
    bool asBool(const QString &column) const;
    QVariant value(const QString &column) const;

    // Any cell by position.
    const QVariant &cell(int row, int column) const { return m_cells[size_t(row) * m_columns.size() + size_t(column)]; }

    static QString toText(const QVariant &v);
    static double toFloat(const QVariant &v);
    static bool toBool(const QVariant &v);

signals:
    void aboutToReset();
    void resetDone();

private:
    int requireColumn(const QString &column) const;
    void run(bool keepRows);

    Database &m_db;
    QString m_sql;
    QString m_initialSql;
    bool m_open = false;
    QStringList m_columns;
    // The names of the last result, kept across closes: a query reopened with
    // the same columns reuses them instead of converting them again.
    QByteArray m_namesKey;
    QStringList m_names;
    std::vector<QVariant> m_cells;
    size_t m_rowCount = 0;
    size_t m_row = 0;
};

} // namespace core
