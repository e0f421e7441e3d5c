#pragma once

#include <QString>
#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace ui { class PickList; }

namespace points {

// The four windows that change a member's points share the member card
// panel and the member search panel; they differ in the details below.
enum class PointWindow { Purchase, Return, Redeem, OtherCredit };

// The member as loaded by the last successful lookup or pick. A posting
// addresses this member, whatever has been typed into the boxes since.
struct LoadedMember {
    QString card;
    QString name;
    QString category;
    QString referrerCard;
    QString referrerName;
    QString points;
};

// The member card panel with its search boxes and member list.
class MemberPanel : public QWidget {
    Q_OBJECT
public:
    MemberPanel(PointWindow kind, QWidget *parent);

    PointWindow kind() const { return m_kind; }
    bool hasMember() const { return !m_member.card.isEmpty(); }
    const LoadedMember &member() const { return m_member; }
    QString rememberedCard() const { return m_remembered; }

    // Runs the card lookup on the text of the card box (Enter in it).
    void lookUp();
    // Runs the pick of the member list's current row (double click).
    void pick();
    // Runs one of the four searches: 0 name, 1 postcode, 2 fixed phone, 3 mobile.
    void search(int which);

    // Empties the card box, the member boxes and every panel label.
    void fullClear();
    // Shows the member's points as stored now.
    void showPoints(const QString &points);

    QLineEdit *cardEdit() const { return m_card; }
    QLineEdit *discountEdit() const { return m_discount; } // purchase and return only
    QGroupBox *memberList() const;
    QTableView *memberGrid() const;

signals:
    // A member was loaded: by the card lookup (focus to move on) or a pick.
    void memberLoaded(bool byLookup);
    // The panel was cleared (a search or a full clear): entry boxes go empty.
    void cleared(bool forSearch);

private:
    void load(const QString &card, bool byLookup);
    void clearLabels();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void openHistory(const QString &className, const QString &title);

    PointWindow m_kind;
    LoadedMember m_member;
    QString m_remembered;

    QLineEdit *m_card;
    QLineEdit *m_name;
    QLineEdit *m_postcode;
    QLineEdit *m_phone;
    QLineEdit *m_mobile;
    QLineEdit *m_discount = nullptr;
    QLabel *m_category;
    QLabel *m_sex;
    QLabel *m_birthday;
    QLabel *m_address;
    QLabel *m_points;
    QLabel *m_startDate;
    QLabel *m_count = nullptr;
    QLabel *m_total = nullptr;
    QLabel *m_referrerCard = nullptr;
    QLabel *m_referrerName = nullptr;
    QPushButton *m_searchButtons[4];
    ui::PickList *m_listBox;
};

} // namespace points
