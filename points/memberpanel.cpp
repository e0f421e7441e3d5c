#include "points/memberpanel.h"

#include "core/querymodel.h"
#include "points/memberlookup.h"
#include "core/sqlquote.h"
#include "core/tdm1.h"
#include "shell/tmain.h"
#include "widgets/forms.h"
#include "widgets/picklist.h"
#include "widgets/prompts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using core::q;
using core::TDM1;

namespace points {

namespace {

QLabel *valueLabel(const char *name, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setMinimumWidth(90);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}


} // namespace

MemberPanel::MemberPanel(PointWindow kind, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
{
    setObjectName(QStringLiteral("MemberPanel"));
    const bool redeem = kind == PointWindow::Redeem;
    const bool sales = kind == PointWindow::Purchase || kind == PointWindow::Return;

    m_card = ui::lineEdit("Edit1", this);
    m_name = ui::lineEdit("Edit3", this);
    m_postcode = ui::lineEdit("Edit4", this);
    m_phone = ui::lineEdit("Edit5", this);
    m_mobile = ui::lineEdit("Edit6", this);
    m_category = valueLabel("Label16", this);
    m_sex = valueLabel("Label23", this);
    m_birthday = valueLabel("Label24", this);
    m_address = valueLabel("Label25", this);
    m_points = valueLabel("Label26", this);
    m_startDate = valueLabel("Label27", this);

    auto *grid = new QGridLayout;
    auto captioned = [&](int row, int col, const QString &caption, QWidget *w, QWidget *extra = nullptr) {
        auto *l = new QLabel(caption, this);
        grid->addWidget(l, row, col, Qt::AlignRight);
        if (qobject_cast<QLineEdit *>(w))
            ui::labelFor(l, w);
        if (extra) {
            auto *h = new QHBoxLayout;
            h->setSpacing(2);
            h->addWidget(w, 1);
            h->addWidget(extra);
            grid->addLayout(h, row, col + 1);
        } else {
            grid->addWidget(w, row, col + 1);
        }
    };
    const QString hint = redeem ? QStringLiteral("模糊查找") : QStringLiteral("输入信息后模糊查找！");
    const char *buttonNames[4] = {"BitBtn5", "BitBtn6", "BitBtn7", "BitBtn8"};
    for (int i = 0; i < 4; ++i) {
        auto *b = new QPushButton(QStringLiteral("查"), this);
        b->setObjectName(QString::fromLatin1(buttonNames[i]));
        b->setToolTip(hint);
        b->setFixedWidth(28);
        b->setAutoDefault(false);
        m_searchButtons[i] = b;
        connect(b, &QPushButton::clicked, this, [this, i] { search(i); });
    }
    auto *prompt = new QLabel(QStringLiteral("刷卡或输入卡号后回车"), this);
    prompt->setStyleSheet(QStringLiteral("color: blue;"));
    grid->addWidget(prompt, 0, 1);
    captioned(1, 0, QStringLiteral("会员卡号"), m_card);
    captioned(1, 2, QStringLiteral("卡类别:"), m_category);
    captioned(1, 4, QStringLiteral("会员姓名"), m_name, m_searchButtons[0]);
    captioned(1, 6, QStringLiteral("会员性别:"), m_sex);
    captioned(2, 0, QStringLiteral("邮编"), m_postcode, m_searchButtons[1]);
    captioned(2, 2, QStringLiteral("会员生日:"), m_birthday);
    captioned(2, 4, QStringLiteral("地址:"), m_address);
    captioned(3, 0, QStringLiteral("固定电话"), m_phone, m_searchButtons[2]);
    captioned(3, 2, QStringLiteral("手机号码"), m_mobile, m_searchButtons[3]);
    captioned(3, 4, QStringLiteral("现有积分:"), m_points);
    captioned(3, 6, QStringLiteral("起用日期:"), m_startDate);
    int col = 0;
    if (!redeem) {
        m_count = valueLabel("Label30", this);
        m_total = valueLabel("Label20", this);
        captioned(4, col, QStringLiteral("消费次数:"), m_count);
        captioned(4, col + 2, QStringLiteral("累计金额:"), m_total);
        col += 4;
    }
    if (kind == PointWindow::Purchase) {
        m_referrerCard = valueLabel("Label39", this);
        m_referrerName = valueLabel("Label40", this);
        captioned(4, col, QStringLiteral("引荐人卡号："), m_referrerCard);
        captioned(4, col + 2, QStringLiteral("引荐人姓名："), m_referrerName);
    }
    if (sales) {
        m_discount = ui::lineEdit("Edit7", this);
        m_discount->setReadOnly(true);
        m_discount->setFixedWidth(60);
        auto *label = new QLabel(QStringLiteral("折扣"), this);
        label->setObjectName(QStringLiteral("Label7"));
        auto *unit = new QLabel(QStringLiteral("%"), this);
        unit->setObjectName(QStringLiteral("Label8"));
        ui::labelFor(label, m_discount);
        auto *h = new QHBoxLayout;
        h->addWidget(label);
        h->addWidget(m_discount);
        h->addWidget(unit);
        h->addStretch();
        grid->addLayout(h, 5, 0, 1, 2);
        // Shown in the return window; the purchase window keeps it out of sight.
        const bool shown = kind == PointWindow::Return;
        for (QWidget *w : std::initializer_list<QWidget *>{label, m_discount, unit})
            w->setVisible(shown);
        auto *detail = new QPushButton(QStringLiteral("详细记录"), this);
        detail->setObjectName(QStringLiteral("BitBtn4"));
        detail->setAutoDefault(false);
        grid->addWidget(detail, 5, 7);
        connect(detail, &QPushButton::clicked, this, [this] {
            ui::guard(this, [this] {
                TDM1::select(TDM1::instance()->ADOQuery8,
                             QStringLiteral("select * from 流水记录 where 会员卡号=") + q(m_remembered));
                openHistory(QStringLiteral("Txiangxijilu"), QStringLiteral("会员积分增减详细记录"));
            });
        });
    }

    // The member list, hidden until a search runs.
    m_listBox = new ui::PickList(redeem ? QString() : QStringLiteral("请双击选中的会员"), "DBGridEh1", "BitBtn3",
                                 &TDM1::instance()->ADOQuery7, this);
    m_listBox->setObjectName(QStringLiteral("GroupBoxMembers"));
    m_listBox->setMinimumWidth(320);
    connect(m_listBox, &ui::PickList::picked, this, [this] { pick(); });

    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(grid, 1);
    outer->addWidget(m_listBox);

    for (QLineEdit *e : {m_card, m_name, m_postcode, m_phone, m_mobile})
        e->installEventFilter(this);
}

QGroupBox *MemberPanel::memberList() const
{
    return m_listBox;
}

QTableView *MemberPanel::memberGrid() const
{
    return m_listBox->grid();
}

bool MemberPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_card) {
                lookUp();
                return true;
            }
            const QLineEdit *boxes[4] = {m_name, m_postcode, m_phone, m_mobile};
            for (int i = 0; i < 4; ++i) {
                if (watched == boxes[i]) {
                    m_searchButtons[i]->click();
                    return true;
                }
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MemberPanel::lookUp()
{
    load(m_card->text(), true);
}

void MemberPanel::pick()
{
    QString card;
    const int row = m_listBox->currentRow();
    if (row >= 0)
        card = m_listBox->model()->data(m_listBox->model()->index(row, 0)).toString();
    load(card, false);
}

void MemberPanel::openHistory(const QString &className, const QString &title)
{
    if (TMAIN *main = TMAIN::instance())
        main->openClass(className, title);
}

void MemberPanel::load(const QString &card, bool byLookup)
{
    const bool redeem = m_kind == PointWindow::Redeem;
    TDM1 &dm = *TDM1::instance();
    ui::guard(this, [&] {
        LookupSteps steps;
        steps.replacedCheck = byLookup || redeem;
        steps.statistics = m_count != nullptr;
        steps.discount = m_discount != nullptr;
        const LookupResult r = lookUpCard(dm, card, steps);
        switch (r.status) {
        case LookupStatus::Replaced: {
            const QString text = redeem ? QStringLiteral("此卡已经更换，不能使用,需要打开更换记录吗？")
                                        : QStringLiteral("此卡已经更换，不能使用,需要打开换卡记录吗？");
            if (ui::askOkCancel(this, QStringLiteral("系统提示"), text)) {
                TDM1::select(dm.ADOQuery9, QStringLiteral("select * from 挂失记录 where 旧卡号=") + q(card));
                openHistory(QStringLiteral("Tguashilishi"),
                            redeem ? QStringLiteral("全部挂失历史记录") : QStringLiteral("换卡历史记录"));
            }
            return; // the member list stays as it is
        }
        case LookupStatus::Unknown:
            ui::error(window(), QStringLiteral("提示"), QStringLiteral("此卡号不存在！"));
            if (!byLookup)
                m_listBox->hide();
            return;
        case LookupStatus::Lost:
            if (!byLookup)
                m_listBox->hide();
            if (ui::askOkCancel(this, QStringLiteral("系统提示"),
                                QStringLiteral("此卡已经挂失，不能使用,需要打开挂失记录吗？"))) {
                TDM1::select(dm.ADOQuery10, QStringLiteral("select * from 口头挂失记录 where 会员卡号=") + q(card));
                openHistory(QStringLiteral("Tkoutoujilu"), (redeem && byLookup) ? QStringLiteral("口头挂失记录")
                                                                                 : QStringLiteral("挂失记录"));
            }
            return;
        case LookupStatus::Found:
            break;
        }

        const MemberRecord &row = r.member;
        m_category->setText(row.category);
        m_name->setText(row.name);
        m_sex->setText(row.sex);
        // A pick in the return window shows the identity number in the postcode box.
        m_postcode->setText(!byLookup && m_kind == PointWindow::Return ? row.idNumber : row.postcode);
        m_birthday->setText(row.birthday);
        m_address->setText(row.address);
        m_phone->setText(row.phone);
        m_mobile->setText(row.mobile);
        m_points->setText(row.points);
        m_startDate->setText(row.startDate);
        if (m_referrerCard) {
            m_referrerCard->setText(row.referrerCard);
            m_referrerName->setText(row.referrerName);
        }
        if (!byLookup)
            m_card->setText(card);
        m_member = LoadedMember{row.card, row.name, row.category, row.referrerCard, row.referrerName, row.points};
        m_remembered = byLookup ? m_card->text() : card;
        if (m_count) {
            m_count->setText(r.purchases);
            m_total->setText(r.total);
        }
        if (m_discount)
            m_discount->setText(r.discount);
        if (!byLookup)
            m_listBox->hide();
        emit memberLoaded(byLookup);
    });
}

void MemberPanel::clearLabels()
{
    for (QLabel *l : {m_category, m_sex, m_birthday, m_address, m_points, m_startDate, m_count, m_total,
                      m_referrerCard, m_referrerName})
        if (l)
            l->clear();
    if (m_discount)
        m_discount->clear();
}

void MemberPanel::fullClear()
{
    m_card->clear();
    for (QLineEdit *e : {m_name, m_postcode, m_phone, m_mobile})
        e->clear();
    clearLabels();
    m_member = {};
    emit cleared(false);
}

void MemberPanel::showPoints(const QString &points)
{
    m_points->setText(points);
    m_member.points = points;
}

void MemberPanel::search(int which)
{
    const bool redeem = m_kind == PointWindow::Redeem;
    QLineEdit *boxes[4] = {m_name, m_postcode, m_phone, m_mobile};
    // The postcode box searches the identity number in the redemption window.
    const QString columns[4] = {QStringLiteral("会员姓名"), redeem ? QStringLiteral("身份证号") : QStringLiteral("邮编"),
                                QStringLiteral("固定电话"), QStringLiteral("手机")};
    m_card->clear();
    clearLabels();
    m_member = {};
    emit cleared(true);
    for (int i = 0; i < 4; ++i)
        if (i != which)
            boxes[i]->clear();
    const QString text = boxes[which]->text();
    ui::guard(this, [&] {
        TDM1::select(TDM1::instance()->ADOQuery7,
                     (redeem ? QStringLiteral("select 会员卡号,会员姓名,身份证号 from 会员卡信息 where ")
                             : QStringLiteral("select 会员卡号,会员姓名,手机 from 会员卡信息 where "))
                         + columns[which] + QStringLiteral(" like ") + q(u'%' + text + u'%'));
    });
    m_listBox->show();
}

} // namespace points
