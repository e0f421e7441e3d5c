#pragma once

#include "core/database.h"
#include "core/query.h"

#include <QObject>
#include <QStringList>

namespace core {

// The data module: the one connection and the named queries every window
// shares. Created once at start, lives until the end.
class TDM1 : public QObject {
    Q_OBJECT
public:
    explicit TDM1(QObject *parent = nullptr);
    ~TDM1() override;

    static TDM1 *instance(); // the one created last

    Database ADOConnection1;

    Query ADOall;   // scratch query of every window
    Query ADO123;   // second scratch query, runs while ADOall is walked
    Query ADOQuery3;
    Query ADOQuery4;
    Query ADOQuery5;
    Query ADOQuery7;
    Query ADOQuery8;
    Query ADOQuery9;
    Query ADOQuery10;
    Query ADOQuery12;
    Query ADOQuery13;
    Query ADOQuery14;
    Query ADOQuery15;
    Query ADOQuery16;
    Query ADOQuery17;
    Query ADOQuery18;
    Query ADOQuery19;

    Query *query(const QString &name); // by objectName, nullptr when unknown

    // Closes the connection if open and opens the database file.
    void connectTo(const QString &databasePath);

    // The ways to run a statement on a query.
    static void select(Query &q, const QString &sql);              // close, clear, set, open
    static void execute(Query &q, const QString &sql);             // close, set, execute
    static void chain(Query &q, const QStringList &statements);    // execute each, closing between
    static void executeTwoLine(Query &q, const QString &first, const QString &second);
    // The first value of a select on ADOall as text ("" when none).
    QString scalar(const QString &sql);

private:
    static TDM1 *s_instance;
};

} // namespace core
