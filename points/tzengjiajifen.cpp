#include "points/tzengjiajifen.h"

#include "core/formats.h"
#include "core/inifile.h"
#include "core/querymodel.h"
#include "core/session.h"
#include "core/sqlquote.h"
#include "core/tdm1.h"
#include "points/ledger.h"
#include "points/pointmath.h"
#include "points/productlines.h"
#include "points/receipt.h"
#include "points/receipttemplate.h"
#include "widgets/forms.h"
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

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLineEdit *edit(const char *name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

// Enter in a box runs `action`; `numbersOnly` drops printable keys other than digits and ".".
class BoxKeys : public QObject {
public:
    BoxKeys(QLineEdit *box, std::function<void()> enter, bool numbersOnly)
        : QObject(box), m_enter(std::move(enter)), m_numbersOnly(numbersOnly)
    {
        box->installEventFilter(this);
    }
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::KeyPress) {
            auto *k = static_cast<QKeyEvent *>(e);
            if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && m_enter) {
                m_enter();
                return true;
            }
            if (m_numbersOnly && k->text().size() == 1) {
                const char16_t c = k->text()[0].unicode();
                if (c >= 32 && c != 127 && !((c >= u'0' && c <= u'9') || c == u'.'))
                    return true;
            }
        }
        return QObject::eventFilter(o, e);
    }

private:
    std::function<void()> m_enter;
    bool m_numbersOnly;
};

} // namespace

Tzengjiajifen::Tzengjiajifen(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("zengjiajifen"));
    setProperty("childPosition", QPoint(130, 0));
    setMinimumSize(1120, 580);
    TDM1 &dm = *TDM1::instance();

    m_panel = new MemberPanel(PointWindow::Purchase, this);
    auto *ledgerCaption = new QLabel(QStringLiteral("单据编号："), this);
    ledgerCaption->setObjectName(QStringLiteral("Label21"));
    m_ledgerNumber = new QLabel(this);
    m_ledgerNumber->setObjectName(QStringLiteral("Label22"));
    ledgerCaption->hide();
    m_ledgerNumber->hide();

    // Product lines.
    auto *linesBox = new QGroupBox(QStringLiteral("详细消费项目"), this);
    linesBox->setObjectName(QStringLiteral("GroupBox2"));
    m_search = edit("Edit2", linesBox);
    auto *searchLabel = new QLabel(QStringLiteral("请输入商品编码或名称进行模糊查找"), linesBox);
    ui::labelFor(searchLabel, m_search);
    auto *find = button(QStringLiteral("查找"), "BitBtn9", linesBox);
    auto *remove = button(QStringLiteral("删除商品"), "BitBtn11", linesBox);
    auto *add = button(QStringLiteral("增加表格"), "BitBtn12", linesBox);
    m_lines = new ProductLineGrid(linesBox);
    m_lines->setMinimumWidth(700); // every column in sight
    m_search->setMinimumWidth(160);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(find);
    searchRow->addStretch();
    searchRow->addWidget(remove);
    searchRow->addWidget(add);
    auto *linesLayout = new QVBoxLayout(linesBox);
    linesLayout->addLayout(searchRow);
    linesLayout->addWidget(m_lines);

    // The product list, hidden until a search runs.
    m_productBox = new QGroupBox(QStringLiteral("请双击选中的商品"), this);
    m_productBox->setObjectName(QStringLiteral("GroupBoxProducts"));
    m_productGrid = new QTableView(m_productBox);
    m_productGrid->setObjectName(QStringLiteral("DBGridEh2"));
    m_productGrid->setAccessibleName(QStringLiteral("请双击选中的商品"));
    m_productGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_productGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_productGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_productGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_productGrid->verticalHeader()->setDefaultSectionSize(20);
    m_productModel = new core::QueryModel(&dm.ADOQuery7, this);
    m_productGrid->setModel(m_productModel);
    auto *hideProducts = button(QStringLiteral("隐藏"), "BitBtn10", m_productBox);
    auto *productLayout = new QVBoxLayout(m_productBox);
    productLayout->addWidget(m_productGrid);
    productLayout->addWidget(hideProducts, 0, Qt::AlignRight);
    m_productBox->setMinimumWidth(420);
    m_productBox->hide();

    // Totals and posting.
    m_amount = edit("Edit12", this);
    m_discounted = edit("Edit8", this);
    m_discounted->setReadOnly(true);
    m_discounted->hide();
    m_points = edit("Edit13", this);
    m_points->setReadOnly(true);
    m_referrerPoints = edit("Edit10", this);
    m_ok = button(QStringLiteral("确定"), "BitBtn1", this);
    auto *quit = button(QStringLiteral("退出"), "BitBtn2", this);
    auto *totals = new QGridLayout;
    auto addBox = [&](int col, const QString &caption, QLineEdit *box, const QString &unit, const char *labelName) {
        auto *l = new QLabel(caption, this);
        if (labelName)
            l->setObjectName(QString::fromLatin1(labelName));
        ui::labelFor(l, box);
        totals->addWidget(l, 0, col, Qt::AlignRight);
        totals->addWidget(box, 0, col + 1);
        if (!unit.isEmpty())
            totals->addWidget(new QLabel(unit, this), 0, col + 2);
    };
    addBox(0, QStringLiteral("消费金额"), m_amount, QStringLiteral("元"), nullptr);
    addBox(3, QStringLiteral("增加积分"), m_points, QStringLiteral("分"), nullptr);
    addBox(6, QStringLiteral("引荐人增加积分"), m_referrerPoints, QString(), "Label38");
    auto *discountedLabel = new QLabel(QStringLiteral("折后金额"), this);
    ui::labelFor(discountedLabel, m_discounted);
    discountedLabel->hide();
    totals->setColumnStretch(8, 1);
    totals->addWidget(m_ok, 0, 9);
    totals->addWidget(quit, 0, 10);

    auto *body = new QHBoxLayout;
    body->addWidget(linesBox, 1);
    body->addWidget(m_productBox);
    auto *top = new QHBoxLayout;
    top->addWidget(m_panel, 1);
    auto *ledgerRow = new QHBoxLayout;
    ledgerRow->addStretch();
    ledgerRow->addWidget(ledgerCaption);
    ledgerRow->addWidget(m_ledgerNumber);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(ledgerRow);
    layout->addLayout(top);
    layout->addLayout(body, 1);
    layout->addLayout(totals);

    new BoxKeys(m_search, [this] { productSearch(); }, false);
    new BoxKeys(m_amount, nullptr, true);
    connect(find, &QPushButton::clicked, this, &Tzengjiajifen::productSearch);
    connect(hideProducts, &QPushButton::clicked, m_productBox, &QWidget::hide);
    connect(m_productGrid, &QTableView::doubleClicked, this, &Tzengjiajifen::productPick);
    connect(remove, &QPushButton::clicked, this, &Tzengjiajifen::deleteLine);
    connect(add, &QPushButton::clicked, this, [this] { m_lines->addLines(5); });
    connect(m_lines, &ProductLineGrid::totalChanged, m_amount, &QLineEdit::setText);
    connect(m_lines, &ProductLineGrid::leftGrid, this, &Tzengjiajifen::checkCompleteness);
    connect(m_amount, &QLineEdit::textChanged, this, &Tzengjiajifen::discountStep);
    connect(m_discounted, &QLineEdit::textChanged, this, &Tzengjiajifen::pointsStep);
    connect(m_ok, &QPushButton::clicked, this, &Tzengjiajifen::post);
    connect(quit, &QPushButton::clicked, this, [this] {
        if (QWidget *sub = parentWidget())
            sub->close();
        else
            close();
    });
    connect(m_panel, &MemberPanel::memberLoaded, this, [this](bool byLookup) {
        setEntryEnabled(true);
        if (byLookup)
            m_search->setFocus();
    });
    // A search empties the panel: nothing may be posted until a member is
    // loaded again.
    connect(m_panel, &MemberPanel::cleared, this, [this](bool forSearch) {
        if (forSearch)
            m_productBox->hide(); // the list query now holds members
        setEntryEnabled(false);
        for (QLineEdit *e : {m_amount, m_discounted, m_points, m_referrerPoints})
            e->clear();
    });

    resetWindow();
    m_search->clear();
}

void Tzengjiajifen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        m_panel->cardEdit()->setFocus();
        showNextLedgerNumber();
    }
}

QString Tzengjiajifen::shownLedgerNumber() const
{
    return m_ledgerNumber->text();
}

void Tzengjiajifen::setEntryEnabled(bool on)
{
    m_amount->setEnabled(on);
    m_points->setEnabled(on);
    m_ok->setEnabled(on);
}

void Tzengjiajifen::resetWindow()
{
    m_panel->fullClear(); // also empties the entry boxes
    m_panel->memberList()->hide();
    m_productBox->hide();
    m_lines->clearLines();
    m_panel->cardEdit()->setFocus();
    setEntryEnabled(false);
}

void Tzengjiajifen::showNextLedgerNumber()
{
    ui::guard(this, [this] { m_ledgerNumber->setText(nextLedgerNumber(*TDM1::instance())); });
}

void Tzengjiajifen::productSearch()
{
    m_panel->memberList()->hide(); // the list query now holds products
    m_productBox->show();
    const QString text = m_search->text();
    ui::guard(this, [&] {
        TDM1::select(TDM1::instance()->ADOQuery7,
                     QStringLiteral("select 所属类别,商品编号,商品名称,单位,预设单价 from 商品档案 where (商品编号 like ")
                         + q(u'%' + text + u'%') + QStringLiteral(")or(商品名称 like ") + q(u'%' + text + u'%')
                         + QStringLiteral(") "));
    });
    m_productGrid->setFocus();
    if (m_productModel->rowCount() > 0)
        m_productGrid->setCurrentIndex(m_productModel->index(0, 0));
}

void Tzengjiajifen::productPick()
{
    core::Query &list = TDM1::instance()->ADOQuery7;
    const QModelIndex current = m_productGrid->currentIndex();
    if (list.recordCount() == 0 || !current.isValid()) {
        m_productBox->hide();
        m_search->setFocus();
        return;
    }
    const int line = m_lines->firstEmptyLine();
    if (line < 0)
        return; // every line is taken; the list stays open
    const bool ok = ui::guard(this, [&] {
        list.moveTo(current.row());
        m_lines->fillLine(line, list.asString(QStringLiteral("所属类别")), list.asString(QStringLiteral("商品编号")),
                          list.asString(QStringLiteral("商品名称")), list.asString(QStringLiteral("单位")),
                          list.asString(QStringLiteral("预设单价")));
    });
    if (!ok)
        return;
    m_productBox->hide();
    m_search->setFocus();
}

void Tzengjiajifen::deleteLine()
{
    if (ui::prompts().message(this, ui::Icon::Question, QStringLiteral("删除"), QStringLiteral("确实删除该行？"),
                          ui::Ok | ui::Cancel)
        != ui::Ok)
        return;
    m_lines->removeLine(m_lines->currentRow() < 0 ? 0 : m_lines->currentRow());
}

void Tzengjiajifen::checkCompleteness()
{
    const int line = m_lines->firstIncompleteLine();
    if (line < 0)
        return;
    ui::error(this, QStringLiteral("提示"), QStringLiteral("请将所购商品表格填写完整！"));
    const QSignalBlocker block(m_lines);
    m_lines->setCurrentCell(line, ProductLineGrid::Code);
}

void Tzengjiajifen::discountStep()
{
    if (m_amount->text().isEmpty()) {
        m_amount->setText(QStringLiteral("0")); // comes back here with the zero
        return;
    }
    QLineEdit *discount = m_panel->discountEdit();
    if (discount->text().isEmpty())
        discount->setText(QStringLiteral("100"));
    double amount = 0, percent = 0;
    // A half-typed amount ("1.2." while typing) changes nothing yet.
    if (core::tryTextToFloat(m_amount->text(), &amount) && core::tryTextToFloat(discount->text(), &percent))
        m_discounted->setText(core::floatToText(percent / 100.0 * amount));
}

void Tzengjiajifen::pointsStep()
{
    if (m_discounted->text().isEmpty()) {
        m_discounted->setText(QStringLiteral("0"));
        return;
    }
    ui::guard(this, [this] {
        TDM1 &dm = *TDM1::instance();
        TDM1::select(dm.ADOall, QStringLiteral("select 积分比例 from 卡类别 where 卡类别=") + q(m_panel->member().category));
        const double ratio = dm.ADOall.asFloat(QStringLiteral("积分比例"));
        if (ratio == 0)
            return; // the points keep their previous text
        const QString raw = core::floatToText(core::textToFloat(m_discounted->text()) / ratio);
        m_points->setText(core::floatToText(roundTwoPlaces(core::textToFloat(raw))));
    });
}

void Tzengjiajifen::post()
{
    if (!m_panel->hasMember())
        return;
    const core::Settings settings;
    const QString port = settings.readString(QStringLiteral("打印端口"), QString());
    const QString store = settings.readString(QStringLiteral("店铺名称"), QString());
    const QString printer = settings.readString(QStringLiteral("打印机"), QStringLiteral("1"));
    const QString footer = settings.readString(QStringLiteral("小票尾"), QString());
    const bool printReceipts = settings.readBool(QStringLiteral("打印小票"), false);

    const int half = m_lines->firstHalfLine();
    if (half >= 0) {
        ui::error(this, QStringLiteral("提示"), QStringLiteral("请将商品表格填写完整！"));
        m_lines->setCurrentCell(half, ProductLineGrid::Group);
        return;
    }
    if (m_points->text().isEmpty())
        m_points->setText(QStringLiteral("0"));
    double earned = 0;
    if (!ui::guard(this, [&] { earned = core::textToFloat(m_points->text()); }))
        return;
    if (earned < 0) {
        ui::error(this, QStringLiteral("提示"), QStringLiteral("积分增加小于零，不能保存！"));
        return;
    }

    PurchasePosting p;
    const LoadedMember &m = m_panel->member();
    p.card = m.card;
    p.name = m.name;
    p.points = m_points->text();
    p.referrerCard = m.referrerCard;
    p.referrerPoints = m_referrerPoints->text().trimmed();
    p.discount = m_panel->discountEdit()->text();
    p.lines = m_lines->saleLines();
    p.operatorNumber = core::loggedInOperator();
    p.when = QDateTime::currentDateTime();

    TDM1 &dm = *TDM1::instance();
    PostingResult result;
    if (!ui::runTransaction(this, dm.ADOConnection1, [&] { result = purchaseSteps(dm, p); }))
        return; // the window keeps everything entered
    m_ledgerNumber->setText(result.ledgerNumber);
    ui::information(this, QStringLiteral("提示"), QStringLiteral("增加积分成功！"));

    if (printReceipts) {
        if (printer == QLatin1String("1")) {
            ui::guard(this, [&] { previewPurchaseReceipt(this, dm, p.card, result.ledgerNumber); });
        } else {
            PurchaseReceipt r;
            r.storeName = store;
            r.cardNumber = p.card;
            r.memberName = p.name;
            r.products = m_lines->productNames();
            r.amount = m_discounted->text();
            r.points = m_points->text();
            r.balance = core::floatToText(result.balance);
            r.when = QDateTime::currentDateTime();
            r.operatorNumber = p.operatorNumber;
            r.footer = footer;
            writeToPort(port, purchaseReceiptBytes(r)); // a lost receipt is not reported
        }
    }
    resetWindow();
    showNextLedgerNumber();
}

} // namespace points
