#pragma once

#include "points/memberpanel.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace ui { class PickList; }

namespace points {

class RedemptionGrid;

// Spending points on redemption items.
class Txiaofeijifen : public QWidget {
    Q_OBJECT
public:
    explicit Txiaofeijifen(QWidget *parent = nullptr);

    MemberPanel *panel() const { return m_panel; }
    RedemptionGrid *lines() const { return m_lines; }

    void itemSearch();
    void itemPick();
    void post();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void reset();
    void deleteLine();

    MemberPanel *m_panel;
    RedemptionGrid *m_lines;
    QLabel *m_ledgerNumber;   // Label22, hidden
    QLineEdit *m_search;      // Edit7
    QLineEdit *m_points;      // Edit2
    QPushButton *m_ok;        // BitBtn1
    ui::PickList *m_itemBox;  // DBGridEh2
    bool m_shown = false;
};

// Points credited for another reason, typed by the operator.
class Thuodejifen : public QWidget {
    Q_OBJECT
public:
    explicit Thuodejifen(QWidget *parent = nullptr);

    MemberPanel *panel() const { return m_panel; }
    QString shownLedgerNumber() const;
    void post();

protected:
    void showEvent(QShowEvent *event) override;

private:
    MemberPanel *m_panel;
    QLabel *m_ledgerNumber;  // Label22
    QLineEdit *m_points;     // Edit2
    QLineEdit *m_reason;     // Edit7
    QPushButton *m_ok;       // BitBtn1
    bool m_shown = false;
};

} // namespace points
