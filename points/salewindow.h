#pragma once

#include "points/memberpanel.h"
#include "points/posting.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace ui { class PickList; }

namespace points {

class ProductLineGrid;

// A sale to a member or goods taken back: the member card panel, product
// lines, totals, posting and receipt. The purchase and the return window
// differ only in what the kind decides.
class SaleWindow : public QWidget {
    Q_OBJECT
public:
    SaleWindow(PointWindow kind, QWidget *parent);

    PointWindow kind() const { return m_kind; }
    MemberPanel *panel() const { return m_panel; }
    ProductLineGrid *lines() const { return m_lines; }
    QString shownLedgerNumber() const;

    void productSearch();
    void productPick();
    void barcodeEntry(); // returns only
    // The "确定" button.
    void post();

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool isReturn() const { return m_kind == PointWindow::Return; }
    void resetWindow();
    void setEntryEnabled(bool on);
    void discountStep();
    void pointsStep();
    void showNextLedgerNumber();
    void deleteLine();
    void checkCompleteness();
    void printReceipt(const PointPosting &p, const PostingResult &r);

    PointWindow m_kind;
    MemberPanel *m_panel;
    ProductLineGrid *m_lines;
    QLabel *m_ledgerNumber;       // Label22
    QLineEdit *m_search;          // Edit2
    QLineEdit *m_amount;          // Edit12
    QLineEdit *m_discounted;      // Edit8
    QLineEdit *m_points;          // Edit13
    QLineEdit *m_referrerPoints = nullptr; // Edit10, purchases
    QLineEdit *m_barcode = nullptr;        // Edit10, returns
    QLineEdit *m_note = nullptr;           // Edit9, returns
    QRadioButton *m_returnChoice = nullptr;
    QRadioButton *m_exchangeChoice = nullptr;
    QPushButton *m_ok;            // BitBtn1
    ui::PickList *m_productBox;   // DBGridEh2
    bool m_shown = false;
};

// The purchase window.
class Tzengjiajifen : public SaleWindow {
    Q_OBJECT
public:
    explicit Tzengjiajifen(QWidget *parent = nullptr)
        : SaleWindow(PointWindow::Purchase, parent)
    {
    }
};

// The return and exchange window.
class Ttuihuo : public SaleWindow {
    Q_OBJECT
public:
    explicit Ttuihuo(QWidget *parent = nullptr)
        : SaleWindow(PointWindow::Return, parent)
    {
    }
};

} // namespace points
