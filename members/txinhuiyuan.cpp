#include "members/txinhuiyuan.h"

#include "core/session.h"
#include "core/tdm1.h"
#include "members/txiugai.h"
#include "widgets/forms.h"
#include "widgets/prompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using core::TDM1;

namespace members {

namespace {

QLineEdit *edit(const char *name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

QDateEdit *datePicker(const char *name, QWidget *parent)
{
    auto *d = new QDateEdit(parent);
    d->setObjectName(QString::fromLatin1(name));
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    d->setCalendarPopup(true);
    d->setMinimumDate(QDate(100, 1, 1)); // an old date is shown as typed, not clamped
    d->setDate(QDate::currentDate());
    return d;
}

} // namespace

QPushButton *makeButton(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    // Enter on a focused button presses it; Enter elsewhere is handled by the boxes.
    b->setAutoDefault(true);
    return b;
}

QLabel *redNote(const QString &text, QWidget *parent, int pointSize)
{
    auto *l = new QLabel(text, parent);
    l->setStyleSheet(QStringLiteral("color: red;"));
    if (pointSize > 0) {
        QFont f = l->font();
        f.setPointSize(pointSize);
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

MemberFields::MemberFields(QWidget *owner)
    : card(edit("Edit1", owner))
    , name(edit("Edit2", owner))
    , sex(new QComboBox(owner))
    , postcode(edit("Edit3", owner))
    , birthday(datePicker("DateTimePicker1", owner))
    , address(edit("Edit4", owner))
    , phone(edit("Edit5", owner))
    , mobile(edit("Edit6", owner))
    , startDate(datePicker("DateTimePicker2", owner))
    , referrerCard(edit("Edit7", owner))
    , referrerName(edit("Edit8", owner))
    , remark(edit("Edit9", owner))
    , layout(new QGridLayout)
{
    sex->setObjectName(QStringLiteral("ComboBox2"));
    sex->setEditable(true);
    sex->setInsertPolicy(QComboBox::NoInsert); // a typed sex is saved, not added to the list
    sex->addItems({QStringLiteral("男"), QStringLiteral("女")});
    referrerCard->setToolTip(QStringLiteral("请刷卡或输入引荐人卡号后回车"));
    remark->setMinimumWidth(420);

    auto put = [&](int row, int col, const QString &caption, QWidget *control, int span = 1) {
        auto *l = new QLabel(caption, owner);
        ui::labelFor(l, control);
        layout->addWidget(l, row, col, Qt::AlignRight);
        layout->addWidget(control, row, col + 1, 1, span);
    };
    put(1, 0, QStringLiteral("会员卡号"), card);
    put(1, 2, QStringLiteral("会员姓名"), name);
    put(2, 0, QStringLiteral("会员性别"), sex);
    put(2, 2, QStringLiteral("邮编"), postcode);
    put(3, 0, QStringLiteral("会员生日"), birthday);
    put(3, 2, QStringLiteral("地址"), address);
    put(4, 0, QStringLiteral("固定电话"), phone);
    put(4, 2, QStringLiteral("手机号码"), mobile);
    put(5, 0, QStringLiteral("起用日期"), startDate);
    layout->addWidget(redNote(QStringLiteral("请刷卡或输入卡号后回车！"), owner), 6, 1, 1, 3);
    put(7, 0, QStringLiteral("引荐人卡号"), referrerCard);
    put(7, 2, QStringLiteral("引荐人姓名"), referrerName);
    put(8, 0, QStringLiteral("备注"), remark, 3);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(3, 1);
}

MemberEntry MemberFields::entry() const
{
    MemberEntry m;
    m.card = card->text();
    m.name = name->text();
    m.sex = sex->currentText();
    m.postcode = postcode->text();
    m.birthday = birthday->date();
    m.address = address->text();
    m.phone = phone->text();
    m.mobile = mobile->text();
    m.startDate = startDate->date();
    m.referrerCard = referrerCard->text();
    m.referrerName = referrerName->text();
    m.remark = remark->text();
    return m;
}

void MemberFields::setSex(const QString &text)
{
    const int i = sex->findText(text);
    if (i >= 0)
        sex->setCurrentIndex(i);
    sex->setEditText(text);
}

void MemberFields::clear()
{
    for (QLineEdit *e : {card, name, postcode, address, phone, mobile, referrerCard, referrerName, remark})
        e->clear();
    birthday->setDate(QDate::currentDate());
    startDate->setDate(QDate::currentDate());
    setSex(sex->itemText(0));
}

void MemberFields::walkParticulars(EnterKeys *keys) const
{
    const QList<QWidget *> order = {name, sex, postcode, birthday, address, phone, mobile, startDate, referrerCard};
    for (int i = 0; i + 1 < order.size(); ++i) {
        QWidget *next = order[i + 1];
        keys->on(order[i], [next] { next->setFocus(); });
    }
}

void MemberFields::layOut(QWidget *window, const QList<QPushButton *> &buttons) const
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : buttons)
        row->addWidget(b);
    auto *outer = new QVBoxLayout(window);
    outer->addLayout(layout);
    outer->addLayout(row);
}

void EnterKeys::on(QWidget *control, std::function<void()> action)
{
    m_actions.insert(control, std::move(action));
    control->installEventFilter(this);
}

bool EnterKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const auto it = m_actions.constFind(watched);
            if (it != m_actions.constEnd()) {
                if (*it)
                    (*it)();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

Txinhuiyuan::Txinhuiyuan(QWidget *parent)
    : QWidget(parent)
    , m_fields(this)
{
    setObjectName(QStringLiteral("xinhuiyuan"));
    setProperty("childPosition", QPoint(250, 0));

    m_save = makeButton(QStringLiteral("保存"), "BitBtn1", this);
    auto *edit = makeButton(QStringLiteral("修改/删除"), "BitBtn3", this);
    auto *quit = makeButton(QStringLiteral("退出"), "BitBtn4", this);
    m_fields.layOut(this, {m_save, edit, quit});

    const MemberFields &f = m_fields;
    auto *keys = new EnterKeys(this);
    auto next = [](QWidget *w) { return [w] { w->setFocus(); }; };
    keys->on(f.card, next(f.name));
    f.walkParticulars(keys);
    keys->on(f.referrerCard, [this] { lookUpReferrer(); });
    keys->on(f.referrerName, next(m_save));
    keys->on(f.remark, next(m_save));

    connect(m_save, &QPushButton::clicked, this, &Txinhuiyuan::save);
    connect(edit, &QPushButton::clicked, this, &Txinhuiyuan::openEditing);
    connect(quit, &QPushButton::clicked, this, [this] {
        if (QWidget *sub = parentWidget())
            sub->close();
        else
            close();
    });
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this, quit](QWidget *from, QWidget *to) {
        if (to != quit)
            focusMoved(from, to);
    });

    m_fields.clear();
    m_fields.card->setFocus();
}

Txinhuiyuan::~Txinhuiyuan()
{
    // The boxes go before QObject would drop the connection.
    disconnect(m_focusWatch);
}

void Txinhuiyuan::focusMoved(QWidget *from, QWidget *to)
{
    // Only moves inside this window count as leaving a box; switching to
    // another window or a box of the program's own does not.
    if (!to || !isAncestorOf(to))
        return;
    if (from == m_fields.card)
        checkCard();
    else if (from == m_fields.postcode)
        birthdayFromPostcode();
}

bool Txinhuiyuan::refuseCard(CardState state)
{
    switch (state) {
    case CardState::Free:
        return false;
    case CardState::Retired:
        ui::prompts().message(this, ui::Icon::Question, QStringLiteral("系统提示"),
                              QStringLiteral("此卡已经挂失，不能使用!"), ui::Ok);
        break;
    case CardState::Taken:
        ui::error(this, QStringLiteral("提示"), QStringLiteral("此卡号已经存在！"));
        break;
    }
    m_fields.card->clear();
    m_fields.card->setFocus();
    return true;
}

void Txinhuiyuan::checkCard()
{
    const QString card = m_fields.card->text();
    if (card.isEmpty())
        return;
    CardState state = CardState::Free;
    if (ui::guard(this, [&] { state = newCardState(*TDM1::instance(), card); }))
        refuseCard(state);
}

void Txinhuiyuan::birthdayFromPostcode()
{
    const QString text = m_fields.postcode->text();
    ui::guard(this, [&] {
        if (const std::optional<QDate> d = birthdayFromIdNumber(text))
            m_fields.birthday->setDate(*d);
    });
}

void Txinhuiyuan::lookUpReferrer()
{
    std::optional<QString> name;
    if (!ui::guard(this, [&] { name = memberName(*TDM1::instance(), m_fields.referrerCard->text()); }))
        return;
    if (!name) {
        ui::error(this, QStringLiteral("提示"), QStringLiteral("引荐人卡号不存在！"));
        return;
    }
    m_fields.referrerName->setText(*name);
    m_fields.remark->setFocus();
}

void Txinhuiyuan::save()
{
    TDM1 &dm = *TDM1::instance();
    const MemberEntry m = m_fields.entry();
    if (m.card.isEmpty()) {
        ui::prompts().message(this, ui::Icon::Question, QStringLiteral("系统提示"), QStringLiteral("卡号不能为空!"),
                              ui::Ok);
        return;
    }
    CardState state = CardState::Free;
    if (!ui::guard(this, [&] { state = newCardState(dm, m.card); }) || refuseCard(state))
        return;

    const QString op = core::loggedInOperator();
    const QDateTime when = QDateTime::currentDateTime();
    RegistrationOutcome outcome = RegistrationOutcome::Registered;
    // An unknown referrer is found before the first write: the transaction
    // then ends with nothing written.
    if (!ui::runTransaction(this, dm.ADOConnection1, [&] { outcome = registrationSteps(dm, m, op, when); }))
        return;
    if (outcome == RegistrationOutcome::UnknownReferrer) {
        ui::error(this, QStringLiteral("提示"), QStringLiteral("引荐人卡号不存在！"));
        m_fields.referrerCard->setFocus();
        return;
    }
    ui::information(this, QStringLiteral("提示"), QStringLiteral("新增会员成功！"));
    m_fields.clear();
    m_fields.card->setFocus();
}

void Txinhuiyuan::openEditing()
{
    Txiugai dialog(this);
    ui::prompts().exec(&dialog);
}

} // namespace members
