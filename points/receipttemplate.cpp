#include "points/receipttemplate.h"

#include "core/formats.h"
#include "core/sqlquote.h"
#include "core/tdm1.h"
#include "widgets/prompts.h"

#include <QDateTime>
#include <QFont>
#include <QPrinter>
#include <QTextDocument>

namespace points {

namespace {

QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

// The footer is typed in a multi-line box; its breaks must survive the HTML.
QString footerHtml(const QString &footer)
{
    QString html = esc(footer);
    html.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
    html.replace(u'\n', QLatin1String("<br>"));
    html.replace(u'\r', QLatin1String("<br>"));
    return html;
}

QString cell(const QString &html, int span = 1, const char *align = "left")
{
    return QStringLiteral("<td colspan=\"%1\" align=\"%2\">%3</td>").arg(span).arg(QLatin1String(align), html);
}

QString row(const QString &cells)
{
    return QStringLiteral("<tr>") + cells + QStringLiteral("</tr>\n");
}

} // namespace

void openReceiptQueries(core::TDM1 &dm, const QString &cardNumber, const QString &ledgerNumber)
{
    core::TDM1::select(dm.ADOQuery14, QStringLiteral("select * from 小票 "));
    core::TDM1::select(dm.ADOQuery15, QStringLiteral("select 积分 from 会员卡信息 where 会员卡号 =") + core::q(cardNumber));
    core::TDM1::select(dm.ADOQuery16, QStringLiteral("select * from 流水记录 where 编号 =") + core::q(ledgerNumber));
    core::TDM1::select(dm.ADOQuery17, QStringLiteral("select * from 消费记录 where 编号 =") + core::q(ledgerNumber));
}

QString purchaseTemplateHtml(core::TDM1 &dm, const QString &posting)
{
    core::Query &shop = dm.ADOQuery14;
    core::Query &card = dm.ADOQuery15;
    core::Query &ledger = dm.ADOQuery16;
    core::Query &lines = dm.ADOQuery17;
    shop.first();
    card.first();
    ledger.first();

    QString html = QStringLiteral(
        "<html><head><meta charset=\"utf-8\"></head><body>\n"
        "<p align=\"center\" style=\"font-size:14pt; font-weight:bold\">欢迎光临</p>\n");
    html += QStringLiteral("<p align=\"center\" style=\"font-size:12pt\">%1</p>\n")
                .arg(esc(shop.asString(QStringLiteral("店铺"))));

    html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"1\">\n");
    html += row(cell(esc(posting), 2)
                + cell(QStringLiteral("经手人：") + esc(ledger.asString(QStringLiteral("经手人"))), 2, "right"));
    html += row(cell(QStringLiteral("卡号：") + esc(ledger.asString(QStringLiteral("会员卡号"))), 2)
                + cell(QStringLiteral("姓名：") + esc(ledger.asString(QStringLiteral("会员姓名"))), 2));
    html += QStringLiteral("</table>\n<hr>\n");

    // Titles and lines share one table so their columns line up.
    html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"1\">\n");
    html += row(cell(QStringLiteral("<b>序号</b>")) + cell(QStringLiteral("<b>商品名</b>"))
                + cell(QStringLiteral("<b>数量</b>"), 1, "right") + cell(QStringLiteral("<b>消费金额</b>"), 1, "right"));
    double total = 0;
    int number = 0;
    for (lines.first(); !lines.eof(); lines.next()) {
        total += lines.asFloat(QStringLiteral("消费金额"));
        html += row(cell(QString::number(++number)) + cell(esc(lines.asString(QStringLiteral("商品"))))
                    + cell(esc(lines.asString(QStringLiteral("数量"))), 1, "right")
                    + cell(esc(lines.asString(QStringLiteral("消费金额"))), 1, "right"));
    }
    html += QStringLiteral("</table>\n<hr>\n");

    html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"1\">\n");
    html += row(cell(QStringLiteral("合计金额：") + core::floatToText(total))
                + cell(esc(posting) + QStringLiteral("：") + esc(ledger.asString(QStringLiteral("增减积分")))));
    html += row(cell(QStringLiteral("现有积分：") + esc(card.asString(QStringLiteral("积分"))))
                + cell(QStringLiteral("日期：")
                       + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    html += row(cell(footerHtml(shop.asString(QStringLiteral("票尾"))), 2));
    html += QStringLiteral("</table>\n</body></html>\n");
    return html;
}

void paintTemplate(const QString &html, QPrinter *printer)
{
    QTextDocument document;
    QFont font(QStringLiteral("WenQuanYi Zen Hei"), 9);
    font.setStyleHint(QFont::SansSerif); // any sans with CJK glyphs when that one is missing
    document.setDefaultFont(font);
    document.setHtml(html);
    document.print(printer); // lays out on the printer's page rect and breaks pages
}

void previewPurchaseReceipt(QWidget *parent, core::TDM1 &dm, const QString &cardNumber, const QString &ledgerNumber,
                            const QString &posting)
{
    openReceiptQueries(dm, cardNumber, ledgerNumber);
    const QString html = purchaseTemplateHtml(dm, posting);
    ui::prompts().printPreview(parent, QStringLiteral("打印预览"),
                               [html](QPrinter *printer) { paintTemplate(html, printer); });
}

} // namespace points
