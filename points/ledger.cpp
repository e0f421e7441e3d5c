#include "points/ledger.h"

#include "core/formats.h"
#include "core/tdm1.h"

namespace points {

LedgerFull::LedgerFull()
    : std::runtime_error(QStringLiteral("单据编号已达到最大值 2147483647，不能再保存！").toStdString())
{
}

QString ledgerNumberAfter(const QString &largest)
{
    QString text = largest;
    if (text.isEmpty() || text == QLatin1String(" "))
        text = QStringLiteral("0000000000");
    else
        text = text.left(10);
    bool ok = false;
    const long long n = text.trimmed().toLongLong(&ok, 10);
    if (!ok || n < 0)
        throw core::ConversionError(QStringLiteral("'%1' 不是有效的整数").arg(text));
    if (n >= kLastLedgerNumber)
        throw LedgerFull();
    return QStringLiteral("%1").arg(n + 1, 10, 10, QLatin1Char('0'));
}

QString nextLedgerNumber(core::TDM1 &dm)
{
    core::TDM1::select(dm.ADOall, QStringLiteral("select max(编号) as 最大编号 from 流水记录"));
    return ledgerNumberAfter(dm.ADOall.asString(QStringLiteral("最大编号")));
}

} // namespace points
