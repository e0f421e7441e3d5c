#include "points/pointwindows.h"

#include "core/formats.h"
#include "core/querymodel.h"
#include "core/session.h"
#include "core/sqlquote.h"
#include "core/tdm1.h"
#include "points/ledger.h"
#include "points/linegrid.h"
#include "points/postingframe.h"
#include "widgets/forms.h"
#include "widgets/picklist.h"
#include "widgets/prompts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using core::q;
using core::TDM1;

namespace points {

using ui::button;

namespace {

QLineEdit *labelledEdit(const char *name, const QString &caption, QWidget *parent, QBoxLayout *into)
{
    auto *e = ui::lineEdit(name, parent);
    auto *l = new QLabel(caption, parent);
    ui::labelFor(l, e);
    into->addWidget(l);
    into->addWidget(e);
    return e;
}

QLabel *ledgerNumberLabel(QWidget *parent, QBoxLayout *into, bool shown)
{
    auto *caption = new QLabel(QStringLiteral("单据编号："), parent);
    caption->setObjectName(QStringLiteral("Label21"));
    auto *number = new QLabel(parent);
    number->setObjectName(QStringLiteral("Label22"));
    caption->setVisible(shown);
    number->setVisible(shown);
    into->addStretch();
    into->addWidget(caption);
    into->addWidget(number);
    return number;
}

void closeWindow(QWidget *w)
{
    if (QWidget *sub = w->parentWidget())
        sub->close();
    else
        w->close();
}

} // namespace

// ---------------------------------------------------------------- redemption

Txiaofeijifen::Txiaofeijifen(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("xiaofeijifen"));
    setProperty("childPosition", QPoint(200, 0));
    setMinimumSize(980, 600);
    TDM1 &dm = *TDM1::instance();

    auto *top = new QHBoxLayout;
    m_ledgerNumber = ledgerNumberLabel(this, top, false);
    m_panel = new MemberPanel(PointWindow::Redeem, this);

    auto *linesBox = new QGroupBox(QStringLiteral("详细消费项目"), this);
    linesBox->setObjectName(QStringLiteral("GroupBox2"));
    auto *searchRow = new QHBoxLayout;
    m_search = labelledEdit("Edit7", QStringLiteral("请输入兑换项目名称进行模糊查找"), linesBox, searchRow);
    auto *find = button(QStringLiteral("查找"), "BitBtn9", linesBox);
    auto *remove = button(QStringLiteral("删除项目"), "BitBtn11", linesBox);
    auto *add = button(QStringLiteral("增加表格"), "BitBtn12", linesBox);
    searchRow->addWidget(find);
    searchRow->addStretch();
    searchRow->addWidget(remove);
    searchRow->addWidget(add);
    m_lines = new RedemptionGrid(linesBox);
    m_lines->setMinimumWidth(500);
    ui::nameFromGroup(m_lines, linesBox->title());
    auto *linesLayout = new QVBoxLayout(linesBox);
    linesLayout->addLayout(searchRow);
    linesLayout->addWidget(m_lines);

    m_itemBox = new ui::PickList(QStringLiteral("请双击选中的兑换项目"), "DBGridEh2", "BitBtn10", &dm.ADOQuery19, this);
    m_itemBox->setObjectName(QStringLiteral("GroupBoxItems"));
    m_itemBox->grid()->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_itemBox->setMinimumWidth(300);

    auto *bottom = new QHBoxLayout;
    m_points = labelledEdit("Edit2", QStringLiteral("本次兑换积分"), this, bottom);
    bottom->addStretch();
    m_ok = button(QStringLiteral("确定"), "BitBtn1", this);
    auto *quit = button(QStringLiteral("退出"), "BitBtn2", this);
    bottom->addWidget(m_ok);
    bottom->addWidget(quit);

    auto *body = new QHBoxLayout;
    body->addWidget(linesBox, 1);
    body->addWidget(m_itemBox);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_panel);
    layout->addLayout(body, 1);
    layout->addLayout(bottom);

    ui::numbersOnly(m_points);
    // Enter in either box moves on to "确定"; only the button searches.
    const auto toOk = [this] {
        if (m_ok->isEnabled())
            m_ok->setFocus();
    };
    ui::onEnter(m_search, toOk);
    ui::onEnter(m_points, toOk);
    connect(find, &QPushButton::clicked, this, &Txiaofeijifen::itemSearch);
    connect(m_itemBox, &ui::PickList::picked, this, &Txiaofeijifen::itemPick);
    connect(remove, &QPushButton::clicked, this, &Txiaofeijifen::deleteLine);
    connect(add, &QPushButton::clicked, this, [this] { m_lines->addLines(5); });
    connect(m_lines, &RedemptionGrid::totalChanged, m_points, &QLineEdit::setText);
    connect(m_ok, &QPushButton::clicked, this, &Txiaofeijifen::post);
    connect(quit, &QPushButton::clicked, this, [this] { closeWindow(this); });
    connect(m_panel, &MemberPanel::memberLoaded, this, [this] {
        m_ok->setEnabled(true);
        m_search->setFocus();
    });
    connect(m_panel, &MemberPanel::cleared, this, [this] { m_ok->setEnabled(false); });

    reset();
}

void Txiaofeijifen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        m_panel->cardEdit()->setFocus();
        ui::guard(this, [this] { m_ledgerNumber->setText(nextLedgerNumber(*TDM1::instance())); });
    }
}

void Txiaofeijifen::reset()
{
    m_panel->fullClear();
    m_panel->memberList()->hide();
    m_points->clear();
    m_search->clear();
    m_lines->clearLines();
    m_ok->setEnabled(false);
    m_panel->cardEdit()->setFocus();
}

void Txiaofeijifen::itemSearch()
{
    ui::guard(this, [this] {
        TDM1::select(TDM1::instance()->ADOQuery19,
                     QStringLiteral("select 兑换项目,兑换积分 from 兑换项目 where 兑换项目 like ")
                         + q(u'%' + m_search->text() + u'%'));
    });
    m_itemBox->present();
}

void Txiaofeijifen::itemPick()
{
    core::Query &list = TDM1::instance()->ADOQuery19;
    const int row = m_itemBox->pickedRow(m_search);
    if (row < 0)
        return;
    const int line = m_lines->firstEmptyLine();
    if (line < 0)
        return;
    list.moveTo(row);
    m_lines->fillItem(line, list.asString(QStringLiteral("兑换项目")), list.asString(QStringLiteral("兑换积分")));
    m_itemBox->hide();
    m_search->setFocus();
}

void Txiaofeijifen::deleteLine()
{
    m_lines->askAndRemoveCurrentLine();
}

void Txiaofeijifen::post()
{
    if (!m_panel->hasMember())
        return;
    const int incomplete = m_lines->firstIncompleteLine();
    if (incomplete >= 0) {
        ui::error(this, QStringLiteral("提示"), QStringLiteral("请将兑换项目表格填写完整！"));
        m_lines->setCurrentCell(incomplete, RedemptionGrid::Item);
        return;
    }
    if (m_points->text().isEmpty())
        m_points->setText(QStringLiteral("0"));
    double points = 0, shown = 0;
    if (!ui::guard(this, [&] {
            points = core::textToFloat(m_points->text());
            shown = core::textToFloat(m_panel->member().points.isEmpty() ? QStringLiteral("0") : m_panel->member().points);
        }))
        return;
    if (!(points > 0)) {
        ui::error(this, QStringLiteral("提示"), QStringLiteral("兑换积分小于或等于零，不能保存！"));
        return;
    }
    // Checked here against the screen, and again inside the posting against
    // the stored balance, which another counter may have changed.
    if (shown < points) {
        ui::error(this, QStringLiteral("提示"), QStringLiteral("兑换积分大于现有积分，不能保存！"));
        return;
    }
    PointPosting p;
    p.kind = PostingKind::Redemption;
    p.card = m_panel->member().card;
    p.name = m_panel->member().name;
    p.points = m_points->text().trimmed();
    p.gifts = m_lines->gifts();
    p.operatorNumber = core::loggedInOperator();
    p.when = QDateTime::currentDateTime();
    PostingResult result;
    if (!runPosting(this, *TDM1::instance(), p, &result))
        return;
    ui::information(this, QStringLiteral("提示"),
                    QStringLiteral("兑换积分成功！该会员剩余积分为：") + core::floatToText(result.balance)
                        + QStringLiteral("！"));
    reset();
    ui::guard(this, [this] { m_ledgerNumber->setText(nextLedgerNumber(*TDM1::instance())); });
}

// ------------------------------------------------------------ other credits

Thuodejifen::Thuodejifen(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("huodejifen"));
    setProperty("childPosition", QPoint(130, 0));
    setMinimumSize(900, 330);

    auto *top = new QHBoxLayout;
    m_ledgerNumber = ledgerNumberLabel(this, top, true);
    m_panel = new MemberPanel(PointWindow::OtherCredit, this);
    auto *entry = new QHBoxLayout;
    m_points = labelledEdit("Edit2", QStringLiteral("增加积分"), this, entry);
    m_reason = labelledEdit("Edit7", QStringLiteral("积分增加原因"), this, entry);
    entry->setStretch(3, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    m_ok = button(QStringLiteral("确定"), "BitBtn1", this);
    auto *quit = button(QStringLiteral("退出"), "BitBtn2", this);
    bottom->addWidget(m_ok);
    bottom->addWidget(quit);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_panel);
    layout->addLayout(entry);
    layout->addStretch();
    layout->addLayout(bottom);

    ui::numbersOnly(m_points);
    ui::onEnter(m_points, [this] { m_reason->setFocus(); });
    ui::onEnter(m_reason, [this] {
        if (m_ok->isEnabled())
            m_ok->setFocus();
    });
    connect(m_ok, &QPushButton::clicked, this, &Thuodejifen::post);
    connect(quit, &QPushButton::clicked, this, [this] { closeWindow(this); });
    connect(m_panel, &MemberPanel::memberLoaded, this, [this](bool byLookup) {
        m_ok->setEnabled(true);
        if (byLookup)
            m_points->setFocus();
    });
    connect(m_panel, &MemberPanel::cleared, this, [this] { m_ok->setEnabled(false); });

    m_panel->fullClear();
    m_panel->memberList()->hide();
    m_points->clear();
    m_reason->clear();
    m_ok->setEnabled(false);
}

void Thuodejifen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        m_panel->cardEdit()->setFocus();
        ui::guard(this, [this] { m_ledgerNumber->setText(nextLedgerNumber(*TDM1::instance())); });
    }
}

QString Thuodejifen::shownLedgerNumber() const
{
    return m_ledgerNumber->text();
}

void Thuodejifen::post()
{
    if (!m_panel->hasMember())
        return;
    if (m_points->text().isEmpty())
        m_points->setText(QStringLiteral("0"));
    double points = 0;
    if (!ui::guard(this, [&] { points = core::textToFloat(m_points->text()); }))
        return;
    if (!(points > 0)) {
        ui::error(this, QStringLiteral("提示"), QStringLiteral("积分增加小于或等于零，不能保存！"));
        return;
    }
    PointPosting p;
    p.kind = PostingKind::OtherCredit;
    p.card = m_panel->member().card;
    p.name = m_panel->member().name;
    p.points = m_points->text().trimmed();
    p.reason = m_reason->text();
    p.operatorNumber = core::loggedInOperator();
    p.when = QDateTime::currentDateTime();
    PostingResult result;
    if (!runPosting(this, *TDM1::instance(), p, &result))
        return;
    ui::information(this, QStringLiteral("提示"), QStringLiteral("增加积分成功！"));
    // The member stays loaded, showing the balance as stored now.
    m_panel->showPoints(core::floatToText(result.balance));
    ui::guard(this, [this] { m_ledgerNumber->setText(nextLedgerNumber(*TDM1::instance())); });
}

} // namespace points
