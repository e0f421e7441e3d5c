#pragma once

#include "points/memberpanel.h"
#include "points/posting.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace core { class QueryModel; }

namespace points {

class ProductLineGrid;

// The purchase window: a sale to a member, the points it earns, posting and receipt.
class Tzengjiajifen : public QWidget {
    Q_OBJECT
public:
    explicit Tzengjiajifen(QWidget *parent = nullptr);

    MemberPanel *panel() const { return m_panel; }
    ProductLineGrid *lines() const { return m_lines; }
    QString shownLedgerNumber() const;

    void productSearch();
    void productPick();
    // The "确定" button.
    void post();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void resetWindow();
    void setEntryEnabled(bool on);
    void discountStep();
    void pointsStep();
    void showNextLedgerNumber();
    void deleteLine();
    void checkCompleteness();
    void printReceipt(const PurchasePosting &p, const PostingResult &r, const QString &amount);

    MemberPanel *m_panel;
    ProductLineGrid *m_lines;
    QLabel *m_ledgerNumber;     // Label22
    QLineEdit *m_search;        // Edit2
    QLineEdit *m_amount;        // Edit12
    QLineEdit *m_discounted;    // Edit8 (hidden)
    QLineEdit *m_points;        // Edit13
    QLineEdit *m_referrerPoints; // Edit10
    QPushButton *m_ok;          // BitBtn1
    QGroupBox *m_productBox;
    QTableView *m_productGrid;  // DBGridEh2
    core::QueryModel *m_productModel;
    bool m_shown = false;
};

} // namespace points
