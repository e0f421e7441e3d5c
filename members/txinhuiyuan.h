#pragma once

#include "members/registration.h"

#include <QHash>
#include <QMetaObject>
#include <QObject>
#include <QWidget>
#include <functional>

class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace members {

// The member boxes both member windows show, laid out with their labels.
// Row 0 of the layout is left free for a note above the card number.
class MemberFields {
public:
    explicit MemberFields(QWidget *owner);

    QLineEdit *card;          // Edit1
    QLineEdit *name;          // Edit2
    QComboBox *sex;           // ComboBox2
    QLineEdit *postcode;      // Edit3
    QDateEdit *birthday;      // DateTimePicker1
    QLineEdit *address;       // Edit4
    QLineEdit *phone;         // Edit5
    QLineEdit *mobile;        // Edit6
    QDateEdit *startDate;     // DateTimePicker2
    QLineEdit *referrerCard;  // Edit7
    QLineEdit *referrerName;  // Edit8
    QLineEdit *remark;        // Edit9
    QGridLayout *layout;

    // Enter moves from the name box through the particulars to the
    // referrer's card box, the order both windows share.
    void walkParticulars(class EnterKeys *keys) const;
    // The window's layout: these boxes over a right-aligned row of buttons.
    void layOut(QWidget *window, const QList<QPushButton *> &buttons) const;

    MemberEntry entry() const;
    void setSex(const QString &sex);
    // Boxes empty, both dates today, the first sex.
    void clear();
};

// Enter in a watched control runs its action instead of reaching the
// control or the window (a dialog would press a button).
class EnterKeys : public QObject {
public:
    explicit EnterKeys(QObject *parent) : QObject(parent) {}
    void on(QWidget *control, std::function<void()> action);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHash<QObject *, std::function<void()>> m_actions;
};

QPushButton *makeButton(const QString &text, const char *name, QWidget *parent);
QLabel *redNote(const QString &text, QWidget *parent, int pointSize = 0);

// The registration window: a new member, optionally with a referrer who
// earns the referral points.
class Txinhuiyuan : public QWidget {
    Q_OBJECT
public:
    explicit Txinhuiyuan(QWidget *parent = nullptr);
    ~Txinhuiyuan() override;

    // The "保存" button.
    void save();
    // Enter in the referrer box.
    void lookUpReferrer();
    // The "修改/删除" button.
    void openEditing();

private:
    void focusMoved(QWidget *from, QWidget *to);
    void checkCard();
    void birthdayFromPostcode();
    // Shows the refusal for a card number that cannot be used; true when refused.
    bool refuseCard(CardState state);

    MemberFields m_fields;
    QPushButton *m_save;
    QMetaObject::Connection m_focusWatch;
};

} // namespace members
