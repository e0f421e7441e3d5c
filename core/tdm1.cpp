#include "core/tdm1.h"

namespace core {

TDM1 *TDM1::s_instance = nullptr;

TDM1::TDM1(QObject *parent)
    : QObject(parent)
    , ADOall(ADOConnection1, QStringLiteral("ADOall"))
    , ADO123(ADOConnection1, QStringLiteral("ADO123"))
    , ADOQuery3(ADOConnection1, QStringLiteral("ADOQuery3"), QStringLiteral("select * from 会员卡信息"))
    , ADOQuery4(ADOConnection1, QStringLiteral("ADOQuery4"), QStringLiteral("select * from 卡类别"))
    , ADOQuery5(ADOConnection1, QStringLiteral("ADOQuery5"), QStringLiteral("select * from 会员卡信息"))
    , ADOQuery7(ADOConnection1, QStringLiteral("ADOQuery7"))
    , ADOQuery8(ADOConnection1, QStringLiteral("ADOQuery8"), QStringLiteral("select * from 流水记录"))
    , ADOQuery9(ADOConnection1, QStringLiteral("ADOQuery9"))
    , ADOQuery10(ADOConnection1, QStringLiteral("ADOQuery10"), QStringLiteral("select * from 口头挂失记录"))
    , ADOQuery12(ADOConnection1, QStringLiteral("ADOQuery12"))
    , ADOQuery13(ADOConnection1, QStringLiteral("ADOQuery13"))
    , ADOQuery14(ADOConnection1, QStringLiteral("ADOQuery14"), QStringLiteral("select * from 小票"))
    , ADOQuery15(ADOConnection1, QStringLiteral("ADOQuery15"), QStringLiteral("select 积分 from  会员卡信息"))
    , ADOQuery16(ADOConnection1, QStringLiteral("ADOQuery16"), QStringLiteral("select * from 流水记录"))
    , ADOQuery17(ADOConnection1, QStringLiteral("ADOQuery17"), QStringLiteral("select * from 消费记录"))
    , ADOQuery18(ADOConnection1, QStringLiteral("ADOQuery18"))
    , ADOQuery19(ADOConnection1, QStringLiteral("ADOQuery19"))
{
    setObjectName(QStringLiteral("DM1"));
    for (Query *q : {&ADOall, &ADO123, &ADOQuery3, &ADOQuery4, &ADOQuery5, &ADOQuery7, &ADOQuery8,
                     &ADOQuery9, &ADOQuery10, &ADOQuery12, &ADOQuery13, &ADOQuery14, &ADOQuery15,
                     &ADOQuery16, &ADOQuery17, &ADOQuery18, &ADOQuery19})
        q->setParent(this);
    s_instance = this;
}

TDM1::~TDM1()
{
    // The queries are members: take them out of the child list before
    // QObject's destructor would delete them a second time.
    for (QObject *c : children())
        if (qobject_cast<Query *>(c))
            c->setParent(nullptr);
    if (s_instance == this)
        s_instance = nullptr;
}

TDM1 *TDM1::instance()
{
    return s_instance;
}

Query *TDM1::query(const QString &name)
{
    return findChild<Query *>(name, Qt::FindDirectChildrenOnly);
}

void TDM1::connectTo(const QString &databasePath)
{
    ADOConnection1.close();
    ADOConnection1.open(databasePath);
}

void TDM1::select(Query &q, const QString &sql)
{
    q.close();
    q.clearSql();
    q.setSql(sql);
    q.open();
}

void TDM1::execute(Query &q, const QString &sql)
{
    q.close();
    q.setSql(sql);
    q.execSQL();
}

void TDM1::chain(Query &q, const QStringList &statements)
{
    for (const QString &s : statements) {
        execute(q, s);
        q.close();
    }
}

void TDM1::executeTwoLine(Query &q, const QString &first, const QString &second)
{
    q.close();
    q.setSql(first);
    q.setSql(q.sql() + second); // the read-back text ends with CR LF
    q.execSQL();
}

QString TDM1::scalar(const QString &sql)
{
    select(ADOall, sql);
    if (ADOall.recordCount() == 0 || ADOall.columnCount() == 0)
        return QString();
    return Query::toText(ADOall.cell(0, 0));
}

} // namespace core
