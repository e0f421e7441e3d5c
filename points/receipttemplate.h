#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace core { class TDM1; }

namespace points {

// Re-opens the four receipt queries of the data module for one posting:
// ADOQuery14 "select * from 小票 ", ADOQuery15 the card's points,
// ADOQuery16 the ledger row and ADOQuery17 the consumption rows of `ledgerNumber`.
void openReceiptQueries(core::TDM1 &dm, const QString &cardNumber, const QString &ledgerNumber);

// The receipt template filled from those four queries, as HTML bands.
// `posting` names the kind in the header and the summary: "增加积分" for a
// purchase, "减少积分" for a return or exchange.
QString purchaseTemplateHtml(core::TDM1 &dm, const QString &posting = QStringLiteral("增加积分"));

// Draws the template on `printer` (one or more pages).
void paintTemplate(const QString &html, QPrinter *printer);

// Opens the queries and shows the purchase template in a print preview
// through the prompts, so the operator can print or save a PDF.
void previewPurchaseReceipt(QWidget *parent, core::TDM1 &dm, const QString &cardNumber, const QString &ledgerNumber,
                            const QString &posting = QStringLiteral("增加积分"));

} // namespace points
