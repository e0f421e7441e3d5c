#include "core/schema.h"

#include "core/database.h"

namespace core {

namespace {

// Jet refuses text in a number column; SQLite would keep it as text. The
// check runs before the column's affinity converts a quoted number, so a
// numeric text ('12.5', '-1') is let through and stored as a number.
QString num(const QString &column, const QString &extra = {})
{
    return QStringLiteral("\"%1\" REAL%2 CHECK (typeof(\"%1\") IN ('integer','real','null') OR "
                          "(typeof(\"%1\")='text' AND trim(\"%1\")<>'' AND \"%1\" NOT GLOB '*[^0-9.eE+ -]*' "
                          "AND \"%1\" GLOB '*[0-9]*'))")
        .arg(column, extra);
}

QString flag(const QString &column)
{
    return QStringLiteral("\"%1\" INTEGER DEFAULT 0 CHECK (typeof(\"%1\") IN ('integer','real','null') OR "
                          "(typeof(\"%1\")='text' AND trim(\"%1\")<>'' AND \"%1\" NOT GLOB '*[^0-9.eE+ -]*' "
                          "AND \"%1\" GLOB '*[0-9]*'))")
        .arg(column);
}

QString text(const QString &column)
{
    return QStringLiteral("\"%1\" TEXT").arg(column);
}

QString table(const QString &name, const QStringList &columns)
{
    return QStringLiteral("CREATE TABLE \"%1\" (\n  %2\n)").arg(name, columns.join(QStringLiteral(",\n  ")));
}

QString index(const QString &tableName, const QString &column, bool unique = false)
{
    return QStringLiteral("CREATE %1INDEX \"ix_%2_%3\" ON \"%2\" (\"%3\")")
        .arg(unique ? QStringLiteral("UNIQUE ") : QString(), tableName, column);
}

} // namespace

QStringList tableNames()
{
    return {QStringLiteral("会员卡信息"), QStringLiteral("流水记录"), QStringLiteral("消费记录"),
            QStringLiteral("挂失记录"), QStringLiteral("口头挂失记录"), QStringLiteral("卡类别"),
            QStringLiteral("操作员"), QStringLiteral("商品档案"), QStringLiteral("兑换项目"),
            QStringLiteral("引荐积分"), QStringLiteral("自动变卡"), QStringLiteral("小票"),
            QStringLiteral("团队")};
}

QStringList schemaStatements()
{
    QStringList s;
    s << table(QStringLiteral("会员卡信息"),
               {text(QStringLiteral("会员卡号")), text(QStringLiteral("卡类别")), text(QStringLiteral("会员姓名")),
                text(QStringLiteral("性别")), text(QStringLiteral("邮编")), text(QStringLiteral("会员生日")),
                text(QStringLiteral("生日")), text(QStringLiteral("地址")), text(QStringLiteral("固定电话")),
                text(QStringLiteral("手机")), num(QStringLiteral("积分"), QStringLiteral(" DEFAULT 0")),
                text(QStringLiteral("起用日期")), text(QStringLiteral("引荐人卡号")),
                text(QStringLiteral("引荐人姓名")), text(QStringLiteral("备注")),
                flag(QStringLiteral("口头挂失标志")), text(QStringLiteral("身份证号"))});
    s << table(QStringLiteral("流水记录"),
               {text(QStringLiteral("编号")), text(QStringLiteral("会员卡号")), text(QStringLiteral("会员姓名")),
                num(QStringLiteral("增减积分")), text(QStringLiteral("增减原因")), text(QStringLiteral("日期")),
                text(QStringLiteral("时间")), text(QStringLiteral("经手人")), text(QStringLiteral("退/换货说明")),
                text(QStringLiteral("兑换礼品")), text(QStringLiteral("商品")), text(QStringLiteral("返现金"))});
    s << table(QStringLiteral("消费记录"),
               {text(QStringLiteral("编号")), text(QStringLiteral("会员卡号")), text(QStringLiteral("会员姓名")),
                text(QStringLiteral("商品")), text(QStringLiteral("单位")), num(QStringLiteral("数量")),
                num(QStringLiteral("消费金额")), text(QStringLiteral("增减原因")), text(QStringLiteral("日期")),
                text(QStringLiteral("时间")), text(QStringLiteral("经手人")), text(QStringLiteral("退/换货说明"))});
    s << table(QStringLiteral("挂失记录"),
               {text(QStringLiteral("旧卡号")), text(QStringLiteral("新卡号")), text(QStringLiteral("会员姓名")),
                num(QStringLiteral("原有积分")), text(QStringLiteral("日期")), text(QStringLiteral("时间")),
                text(QStringLiteral("经手人"))});
    s << table(QStringLiteral("口头挂失记录"),
               {text(QStringLiteral("会员卡号")), text(QStringLiteral("会员姓名")),
                text(QStringLiteral("口头挂失日期")), text(QStringLiteral("口头挂失时间")),
                text(QStringLiteral("挂失经手人")), text(QStringLiteral("取消挂失日期")),
                text(QStringLiteral("取消挂失时间")), text(QStringLiteral("取消挂失经手人"))});
    s << table(QStringLiteral("卡类别"),
               {text(QStringLiteral("卡类别")), num(QStringLiteral("积分比例")), num(QStringLiteral("折扣")),
                num(QStringLiteral("自动变卡下限")), flag(QStringLiteral("允许兑换礼品")),
                flag(QStringLiteral("允许返现金"))});
    QStringList op{text(QStringLiteral("操作员")), text(QStringLiteral("姓名")), text(QStringLiteral("密码"))};
    for (int i = 1; i <= 26; ++i)
        op << flag(QString::number(i));
    s << table(QStringLiteral("操作员"), op);
    s << table(QStringLiteral("商品档案"),
               {QStringLiteral("\"编号\" INTEGER PRIMARY KEY AUTOINCREMENT"), text(QStringLiteral("所属类别")),
                text(QStringLiteral("商品编号")), text(QStringLiteral("商品名称")), text(QStringLiteral("单位")),
                num(QStringLiteral("预设单价"))});
    s << table(QStringLiteral("兑换项目"), {text(QStringLiteral("兑换项目")), num(QStringLiteral("兑换积分"))});
    s << table(QStringLiteral("引荐积分"), {num(QStringLiteral("引荐积分"))});
    s << table(QStringLiteral("自动变卡"), {text(QStringLiteral("自动变卡"))});
    s << table(QStringLiteral("小票"), {text(QStringLiteral("店铺")), text(QStringLiteral("票尾"))});
    s << table(QStringLiteral("团队"),
               {text(QStringLiteral("团队成员卡号")), text(QStringLiteral("团队成员姓名")),
                text(QStringLiteral("卡号")), text(QStringLiteral("姓名"))});

    // Every column a lookup or a history search filters by.
    s << index(QStringLiteral("会员卡信息"), QStringLiteral("会员卡号"), true)
      << index(QStringLiteral("会员卡信息"), QStringLiteral("卡类别"))
      << index(QStringLiteral("会员卡信息"), QStringLiteral("生日"))
      << index(QStringLiteral("会员卡信息"), QStringLiteral("引荐人卡号"))
      << index(QStringLiteral("流水记录"), QStringLiteral("编号"))
      << index(QStringLiteral("流水记录"), QStringLiteral("会员卡号"))
      << index(QStringLiteral("流水记录"), QStringLiteral("日期"))
      << index(QStringLiteral("消费记录"), QStringLiteral("编号"))
      << index(QStringLiteral("消费记录"), QStringLiteral("会员卡号"))
      << index(QStringLiteral("消费记录"), QStringLiteral("日期"))
      << index(QStringLiteral("挂失记录"), QStringLiteral("旧卡号"))
      << index(QStringLiteral("挂失记录"), QStringLiteral("新卡号"))
      << index(QStringLiteral("挂失记录"), QStringLiteral("日期"))
      << index(QStringLiteral("口头挂失记录"), QStringLiteral("会员卡号"))
      << index(QStringLiteral("口头挂失记录"), QStringLiteral("口头挂失日期"))
      << index(QStringLiteral("卡类别"), QStringLiteral("卡类别"))
      << index(QStringLiteral("操作员"), QStringLiteral("操作员"), true)
      << index(QStringLiteral("商品档案"), QStringLiteral("商品编号"))
      << index(QStringLiteral("团队"), QStringLiteral("团队成员卡号"));
    return s;
}

QStringList startingContentStatements()
{
    QStringList cols, vals;
    for (int i = 1; i <= 26; ++i) {
        cols << QStringLiteral("\"%1\"").arg(i);
        vals << QStringLiteral("-1");
    }
    return {
        QStringLiteral("INSERT INTO \"操作员\" (\"操作员\",\"姓名\",%1) VALUES ('0001','系统管理员',%2)")
            .arg(cols.join(u','), vals.join(u',')),
        QStringLiteral("INSERT INTO \"引荐积分\" VALUES (0)"),
        QStringLiteral("INSERT INTO \"自动变卡\" VALUES ('否')"),
        QStringLiteral("INSERT INTO \"小票\" VALUES ('恒越达软件','谢谢惠顾！')"),
        QStringLiteral("INSERT INTO \"卡类别\" (\"卡类别\",\"积分比例\",\"折扣\",\"自动变卡下限\",\"允许兑换礼品\",\"允许返现金\") "
                       "VALUES ('积分卡',1,100,0,0,0)"),
    };
}

void createDeliveredDatabase(const QString &path)
{
    Database::createEmpty(path);
    Database db;
    db.open(path);
    Transaction tx(db);
    for (const QString &s : schemaStatements())
        db.exec(s);
    for (const QString &s : startingContentStatements())
        db.exec(s);
    tx.commit();
    db.exec(QStringLiteral("PRAGMA journal_mode = DELETE")); // one self-contained file
    db.close();
}

} // namespace core
