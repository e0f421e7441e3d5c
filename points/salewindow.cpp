#include "points/salewindow.h"

#include "core/formats.h"
#include "core/inifile.h"
#include "core/querymodel.h"
#include "core/session.h"
#include "core/sqlquote.h"
#include "core/tdm1.h"
#include "points/ledger.h"
#include "points/linegrid.h"
#include "points/pointmath.h"
#include "points/postingframe.h"
#include "points/receipt.h"
#include "points/receipttemplate.h"
#include "widgets/forms.h"
#include "widgets/picklist.h"
#include "widgets/prompts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

using core::q;
using core::TDM1;

namespace points {

using ui::button;

SaleWindow::SaleWindow(PointWindow kind, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
{
    const bool ret = isReturn();
    setObjectName(ret ? QStringLiteral("tuihuo") : QStringLiteral("zengjiajifen"));
    setProperty("childPosition", QPoint(130, 0));
    setMinimumSize(1120, 600);
    TDM1 &dm = *TDM1::instance();

    m_panel = new MemberPanel(kind, this);
    auto *ledgerCaption = new QLabel(QStringLiteral("单据编号："), this);
    ledgerCaption->setObjectName(QStringLiteral("Label21"));
    m_ledgerNumber = new QLabel(this);
    m_ledgerNumber->setObjectName(QStringLiteral("Label22"));
    ledgerCaption->setVisible(ret);
    m_ledgerNumber->setVisible(ret);

    // Product lines.
    const QString linesCaption = ret ? QStringLiteral("详细退货商品") : QStringLiteral("详细消费项目");
    auto *linesBox = new QGroupBox(linesCaption, this);
    linesBox->setObjectName(QStringLiteral("GroupBox2"));
    m_search = ui::lineEdit("Edit2", linesBox);
    m_search->setMinimumWidth(160);
    auto *searchLabel = new QLabel(QStringLiteral("请输入商品编码或名称进行模糊查找"), linesBox);
    ui::labelFor(searchLabel, m_search);
    auto *find = button(QStringLiteral("查找"), "BitBtn9", linesBox);
    auto *remove = button(QStringLiteral("删除商品"), "BitBtn11", linesBox);
    auto *add = button(QStringLiteral("增加表格"), "BitBtn12", linesBox);
    m_lines = new ProductLineGrid(linesBox);
    m_lines->setMinimumWidth(700); // every column in sight
    ui::nameFromGroup(m_lines, linesCaption);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(find);
    searchRow->addStretch();
    searchRow->addWidget(remove);
    searchRow->addWidget(add);
    auto *linesLayout = new QVBoxLayout(linesBox);
    if (ret) {
        m_barcode = ui::lineEdit("Edit10", linesBox);
        auto *barcodeLabel = new QLabel(QStringLiteral("条码枪在此直接扫描"), linesBox);
        ui::labelFor(barcodeLabel, m_barcode);
        auto *barcodeRow = new QHBoxLayout;
        barcodeRow->addWidget(barcodeLabel);
        barcodeRow->addWidget(m_barcode, 1);
        barcodeRow->addStretch(2);
        linesLayout->addLayout(barcodeRow);
        ui::onEnter(m_barcode, [this] { barcodeEntry(); });
    }
    linesLayout->addLayout(searchRow);
    linesLayout->addWidget(m_lines);

    // The product list, hidden until a search runs.
    m_productBox = new ui::PickList(QStringLiteral("请双击选中的商品"), "DBGridEh2", "BitBtn10", &dm.ADOQuery7, this);
    m_productBox->setObjectName(QStringLiteral("GroupBoxProducts"));
    m_productBox->setMinimumWidth(380);

    // Totals and posting.
    m_amount = ui::lineEdit("Edit12", this);
    m_discounted = ui::lineEdit("Edit8", this);
    m_points = ui::lineEdit("Edit13", this);
    m_points->setReadOnly(true);
    m_ok = button(QStringLiteral("确定"), "BitBtn1", this);
    auto *quit = button(QStringLiteral("退出"), "BitBtn2", this);
    auto *totals = new QGridLayout;
    int col = 0;
    auto addBox = [&](const QString &caption, QLineEdit *box, const QString &unit) {
        auto *l = new QLabel(caption, this);
        ui::labelFor(l, box);
        totals->addWidget(l, 0, col++, Qt::AlignRight);
        totals->addWidget(box, 0, col++);
        if (!unit.isEmpty())
            totals->addWidget(new QLabel(unit, this), 0, col++);
        return l;
    };
    addBox(ret ? QStringLiteral("退货金额") : QStringLiteral("消费金额"), m_amount, QStringLiteral("元"));
    QLabel *discountedLabel = addBox(QStringLiteral("折后金额"), m_discounted, QString());
    if (ret) {
        // An exchange's price difference may be typed here directly.
        auto *hint = new QLabel(QStringLiteral("换货可直接输入差价"), this);
        hint->setStyleSheet(QStringLiteral("color: red;"));
        totals->addWidget(hint, 1, col - 2, 1, 2);
        ui::numbersOnly(m_discounted);
    } else {
        m_discounted->setReadOnly(true);
        m_discounted->hide();
        discountedLabel->hide();
    }
    addBox(ret ? QStringLiteral("减少积分") : QStringLiteral("增加积分"), m_points, QStringLiteral("分"));
    if (ret) {
        m_note = ui::lineEdit("Edit9", this);
        addBox(QStringLiteral("退/换货说明："), m_note, QString());
    } else {
        m_referrerPoints = ui::lineEdit("Edit10", this);
        addBox(QStringLiteral("引荐人增加积分"), m_referrerPoints, QString())->setObjectName(QStringLiteral("Label38"));
    }
    totals->setColumnStretch(col++, 1);
    totals->addWidget(m_ok, 0, col++);
    totals->addWidget(quit, 0, col++);

    auto *top = new QHBoxLayout;
    if (ret) {
        auto *choice = new QGroupBox(QStringLiteral("请您选择"), this);
        choice->setObjectName(QStringLiteral("RzRadioGroup1"));
        m_returnChoice = new QRadioButton(QStringLiteral("退货"), choice);
        m_exchangeChoice = new QRadioButton(QStringLiteral("换货"), choice);
        auto *h = new QHBoxLayout(choice);
        h->addWidget(m_returnChoice);
        h->addWidget(m_exchangeChoice);
        m_returnChoice->setChecked(true);
        top->addWidget(choice);
    }
    top->addStretch();
    top->addWidget(ledgerCaption);
    top->addWidget(m_ledgerNumber);
    auto *body = new QHBoxLayout;
    body->addWidget(linesBox, 1);
    body->addWidget(m_productBox);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_panel);
    layout->addLayout(body, 1);
    layout->addLayout(totals);

    ui::onEnter(m_search, [this] { productSearch(); });
    ui::numbersOnly(m_amount);
    connect(find, &QPushButton::clicked, this, &SaleWindow::productSearch);
    connect(m_productBox, &ui::PickList::picked, this, &SaleWindow::productPick);
    connect(remove, &QPushButton::clicked, this, &SaleWindow::deleteLine);
    connect(add, &QPushButton::clicked, this, [this] { m_lines->addLines(5); });
    connect(m_lines, &ProductLineGrid::totalChanged, m_amount, &QLineEdit::setText);
    connect(m_lines, &ProductLineGrid::leftGrid, this, &SaleWindow::checkCompleteness);
    connect(m_amount, &QLineEdit::textChanged, this, &SaleWindow::discountStep);
    connect(m_discounted, &QLineEdit::textChanged, this, &SaleWindow::pointsStep);
    connect(m_ok, &QPushButton::clicked, this, &SaleWindow::post);
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
        for (QLineEdit *e : {m_amount, m_discounted, m_points, m_referrerPoints, m_note})
            if (e)
                e->clear();
    });

    resetWindow();
}

void SaleWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        m_panel->cardEdit()->setFocus();
        showNextLedgerNumber();
    }
}

QString SaleWindow::shownLedgerNumber() const
{
    return m_ledgerNumber->text();
}

void SaleWindow::setEntryEnabled(bool on)
{
    m_amount->setEnabled(on);
    m_points->setEnabled(on);
    m_ok->setEnabled(on);
}

void SaleWindow::resetWindow()
{
    m_panel->fullClear(); // also empties the entry boxes
    m_panel->memberList()->hide();
    m_productBox->hide();
    m_lines->clearLines();
    m_panel->cardEdit()->setFocus();
    setEntryEnabled(false);
}

void SaleWindow::showNextLedgerNumber()
{
    ui::guard(this, [this] { m_ledgerNumber->setText(nextLedgerNumber(*TDM1::instance())); });
}

void SaleWindow::productSearch()
{
    m_panel->memberList()->hide(); // the list query now holds products
    const QString text = m_search->text();
    ui::guard(this, [&] {
        TDM1::select(TDM1::instance()->ADOQuery7,
                     QStringLiteral("select 所属类别,商品编号,商品名称,单位,预设单价 from 商品档案 where (商品编号 like ")
                         + q(u'%' + text + u'%') + QStringLiteral(")or(商品名称 like ") + q(u'%' + text + u'%')
                         + QStringLiteral(") "));
    });
    m_productBox->present();
}

void SaleWindow::productPick()
{
    core::Query &list = TDM1::instance()->ADOQuery7;
    const int row = m_productBox->pickedRow(m_search);
    if (row < 0)
        return;
    const int line = m_lines->firstEmptyLine();
    if (line < 0)
        return; // every line is taken; the list stays open
    const bool ok = ui::guard(this, [&] {
        list.moveTo(row);
        m_lines->fillProduct(line, list.asString(QStringLiteral("所属类别")), list.asString(QStringLiteral("商品编号")),
                             list.asString(QStringLiteral("商品名称")), list.asString(QStringLiteral("单位")),
                             list.asString(QStringLiteral("预设单价")));
    });
    if (!ok)
        return;
    m_productBox->hide();
    m_search->setFocus();
}

void SaleWindow::barcodeEntry()
{
    ui::guard(this, [this] {
        TDM1 &dm = *TDM1::instance();
        TDM1::select(dm.ADOall, QStringLiteral("select * from 商品档案 where 商品编号=") + q(m_barcode->text()));
        if (dm.ADOall.recordCount() == 0) {
            m_barcode->clear();
            return;
        }
        const int line = m_lines->firstEmptyLine();
        if (line < 0)
            return; // no room: the code stays in the box
        m_lines->fillProduct(line, dm.ADOall.asString(QStringLiteral("所属类别")),
                             dm.ADOall.asString(QStringLiteral("商品编号")), dm.ADOall.asString(QStringLiteral("商品名称")),
                             dm.ADOall.asString(QStringLiteral("单位")), dm.ADOall.asString(QStringLiteral("预设单价")));
        m_barcode->clear();
    });
    m_barcode->setFocus();
}

void SaleWindow::deleteLine()
{
    m_lines->askAndRemoveCurrentLine();
}

void SaleWindow::checkCompleteness()
{
    const int line = m_lines->firstIncompleteLine();
    if (line < 0)
        return;
    ui::error(this, QStringLiteral("提示"), QStringLiteral("请将所购商品表格填写完整！"));
    const QSignalBlocker block(m_lines);
    m_lines->setCurrentCell(line, ProductLineGrid::Code);
}

void SaleWindow::discountStep()
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

void SaleWindow::pointsStep()
{
    if (m_discounted->text().isEmpty()) {
        m_discounted->setText(QStringLiteral("0"));
        return;
    }
    double discounted = 0;
    if (!core::tryTextToFloat(m_discounted->text(), &discounted))
        return; // a price difference still being typed
    ui::guard(this, [&] {
        TDM1 &dm = *TDM1::instance();
        TDM1::select(dm.ADOall, QStringLiteral("select 积分比例 from 卡类别 where 卡类别=") + q(m_panel->member().category));
        const double ratio = dm.ADOall.asFloat(QStringLiteral("积分比例"));
        if (ratio == 0)
            return; // the points keep their previous text
        const QString raw = core::floatToText(discounted / ratio);
        m_points->setText(core::floatToText(roundTwoPlaces(core::textToFloat(raw))));
    });
}

void SaleWindow::post()
{
    if (!m_panel->hasMember())
        return;
    const bool ret = isReturn();
    const int half = m_lines->firstLineWithOneOf(ProductLineGrid::Group, ProductLineGrid::Code);
    if (half >= 0) {
        ui::error(this, QStringLiteral("提示"),
                  ret ? QStringLiteral("请将退货商品表格填写完整！") : QStringLiteral("请将商品表格填写完整！"));
        m_lines->setCurrentCell(half, ProductLineGrid::Group);
        return;
    }
    if (m_points->text().isEmpty())
        m_points->setText(QStringLiteral("0"));
    double points = 0;
    if (!ui::guard(this, [&] { points = core::textToFloat(m_points->text()); }))
        return;
    if (points < 0) {
        ui::error(this, QStringLiteral("提示"),
                  ret ? QStringLiteral("积分减少小于零，不能保存！") : QStringLiteral("积分增加小于零，不能保存！"));
        return;
    }

    PointPosting p;
    const LoadedMember &m = m_panel->member();
    p.kind = !ret ? PostingKind::Purchase
                  : (m_exchangeChoice->isChecked() ? PostingKind::Exchange : PostingKind::Return);
    p.card = m.card;
    p.name = m.name;
    p.points = m_points->text().trimmed();
    if (ret) {
        p.note = m_note->text();
    } else {
        p.referrerCard = m.referrerCard;
        p.referrerPoints = m_referrerPoints->text().trimmed();
    }
    p.discount = m_panel->discountEdit()->text();
    p.lines = m_lines->saleLines();
    p.operatorNumber = core::loggedInOperator();
    p.when = QDateTime::currentDateTime();

    PostingResult result;
    if (!runPosting(this, *TDM1::instance(), p, &result))
        return; // the window keeps everything entered
    m_ledgerNumber->setText(result.ledgerNumber);
    ui::information(this, QStringLiteral("提示"),
                    ret ? QStringLiteral("退/换货减少积分成功！") : QStringLiteral("增加积分成功！"));
    printReceipt(p, result);
    resetWindow();
    showNextLedgerNumber();
}

void SaleWindow::printReceipt(const PointPosting &p, const PostingResult &r)
{
    const core::Settings settings;
    if (!settings.readBool(QStringLiteral("打印小票"), false))
        return;
    const bool ret = isReturn();
    if (settings.readString(QStringLiteral("打印机"), QStringLiteral("1")) == QLatin1String("1")) {
        ui::guard(this, [&] {
            previewPurchaseReceipt(this, *TDM1::instance(), p.card, r.ledgerNumber,
                                   ret ? QStringLiteral("减少积分") : QStringLiteral("增加积分"));
        });
        return;
    }
    PurchaseReceipt receipt;
    receipt.storeName = settings.readString(QStringLiteral("店铺名称"), QString());
    receipt.cardNumber = p.card;
    receipt.memberName = p.name;
    // A return's receipt names each returned line by its product group.
    receipt.products = m_lines->columnTexts(ret ? ProductLineGrid::Group : ProductLineGrid::Name);
    receipt.amount = m_discounted->text();
    receipt.points = m_points->text();
    receipt.balance = core::floatToText(r.balance);
    receipt.when = QDateTime::currentDateTime();
    receipt.operatorNumber = p.operatorNumber;
    receipt.footer = settings.readString(QStringLiteral("小票尾"), QString());
    // A lost receipt is not reported.
    writeToPort(settings.readString(QStringLiteral("打印端口"), QString()),
                ret ? returnReceiptBytes(receipt) : purchaseReceiptBytes(receipt));
}

} // namespace points
