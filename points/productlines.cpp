#include "points/productlines.h"

#include "core/formats.h"
#include "widgets/prompts.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace points {

namespace {

// Printable characters other than digits and "." are dropped; control keys pass.
class NumberKeyFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const QString t = static_cast<QKeyEvent *>(event)->text();
            if (t.size() == 1) {
                const char16_t c = t[0].unicode();
                const bool printable = c >= 32 && c != 127;
                if (printable && !((c >= u'0' && c <= u'9') || c == u'.'))
                    return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

class LineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor)) {
            line->setAlignment(Qt::AlignCenter);
            line->installEventFilter(new NumberKeyFilter(line));
        }
        return editor;
    }
};

} // namespace

ProductLineGrid::ProductLineGrid(QWidget *parent)
    : QTableWidget(20, ColumnCount, parent)
{
    setObjectName(QStringLiteral("AdvStringGrid1"));
    setAccessibleName(QStringLiteral("详细消费项目"));
    const QStringList headers = {QStringLiteral("序号"), QStringLiteral("所属类别"), QStringLiteral("商品编号"),
                                 QStringLiteral("商品名称"), QStringLiteral("单位"), QStringLiteral("预设单价"),
                                 QStringLiteral("数量"), QStringLiteral("金额")};
    setHorizontalHeaderLabels(headers);
    const int widths[ColumnCount] = {35, 80, 100, 180, 50, 80, 50, 100};
    for (int c = 0; c < ColumnCount; ++c)
        setColumnWidth(c, widths[c]);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new LineDelegate(this));
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < ColumnCount; ++c)
            setText(r, c, QString());
    renumber();
    connect(this, &QTableWidget::currentCellChanged, this, &ProductLineGrid::onCurrentCellChanged);
    // Leaving the grid, from a cell or from an open cell editor.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        const bool wasIn = old && (old == this || isAncestorOf(old));
        const bool isIn = now && (now == this || isAncestorOf(now));
        if (wasIn && !isIn && now)
            emit leftGrid();
    });
    // A typed price or quantity counts at once, not only when the cursor moves.
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (item->column() == Price || item->column() == Quantity) {
            ui::guard(this, [&] { recomputeLine(item->row()); });
            emitTotal();
        }
    });
}

QString ProductLineGrid::text(int line, int column) const
{
    const QTableWidgetItem *it = item(line, column);
    return it ? it->text() : QString();
}

void ProductLineGrid::setText(int line, int column, const QString &text)
{
    QTableWidgetItem *it = item(line, column);
    if (!it) {
        it = new QTableWidgetItem;
        it->setTextAlignment(Qt::AlignCenter);
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (column == Price || column == Quantity)
            flags |= Qt::ItemIsEditable;
        it->setFlags(flags);
        const QSignalBlocker block(this);
        setItem(line, column, it);
    }
    const QSignalBlocker block(this);
    it->setText(text);
}

void ProductLineGrid::renumber()
{
    for (int r = 0; r < rowCount(); ++r) {
        setText(r, No, QString::number(r + 1));
        for (int c = Group; c < ColumnCount; ++c)
            if (!item(r, c))
                setText(r, c, QString());
        setRowHeight(r, 20);
    }
}

int ProductLineGrid::firstEmptyLine() const
{
    for (int r = 0; r < rowCount(); ++r) {
        bool empty = true;
        for (int c = Group; c <= Price && empty; ++c)
            empty = text(r, c).isEmpty();
        if (empty)
            return r;
    }
    return -1;
}

void ProductLineGrid::fillLine(int line, const QString &group, const QString &code, const QString &name,
                               const QString &unit, const QString &price)
{
    setText(line, Group, group);
    setText(line, Code, code);
    setText(line, Name, name);
    setText(line, Unit, unit);
    setText(line, Price, price);
    setText(line, Quantity, QStringLiteral("1"));
    // A price that is no number leaves the amount empty, without a message.
    double p = 0, qty = 0;
    if (core::tryTextToFloat(price, &p) && core::tryTextToFloat(text(line, Quantity), &qty))
        setText(line, Amount, core::floatToText(qty * p));
    else
        setText(line, Amount, QString());
    emitTotal();
}

void ProductLineGrid::recomputeLine(int line)
{
    if (line < 0 || line >= rowCount())
        return;
    const QString price = text(line, Price), qty = text(line, Quantity);
    if (price.isEmpty() || qty.isEmpty())
        return;
    setText(line, Amount, core::floatToText(core::textToFloat(qty) * core::textToFloat(price)));
}

bool ProductLineGrid::total(double *sum) const
{
    double s = 0;
    bool any = false;
    for (int r = 0; r < rowCount(); ++r) {
        const QString a = text(r, Amount);
        if (a.isEmpty())
            continue;
        double v = 0;
        if (core::tryTextToFloat(a, &v)) {
            s += v;
            any = true;
        }
    }
    if (sum)
        *sum = s;
    return any;
}

void ProductLineGrid::emitTotal()
{
    double sum = 0;
    if (total(&sum))
        emit totalChanged(core::floatToText(sum));
}

void ProductLineGrid::onCurrentCellChanged(int row, int column, int previousRow, int)
{
    Q_UNUSED(row);
    Q_UNUSED(column);
    ui::guard(this, [&] { recomputeLine(previousRow); });
    emitTotal();
}

void ProductLineGrid::removeLine(int line)
{
    if (line < 0 || line >= rowCount())
        return;
    removeRow(line);
    renumber();
    emitTotal();
}

void ProductLineGrid::addLines(int count)
{
    const int first = rowCount();
    setRowCount(first + count);
    renumber();
}

void ProductLineGrid::clearLines()
{
    for (int r = 0; r < rowCount(); ++r)
        for (int c = Group; c < ColumnCount; ++c)
            setText(r, c, QString());
}

int ProductLineGrid::firstIncompleteLine() const
{
    for (int r = 0; r < rowCount(); ++r) {
        int filled = 0;
        for (int c : {Code, Price, Quantity, Amount})
            filled += text(r, c).isEmpty() ? 0 : 1;
        if (filled != 0 && filled != 4)
            return r;
    }
    return -1;
}

int ProductLineGrid::firstHalfLine() const
{
    for (int r = 0; r < rowCount(); ++r)
        if (text(r, Group).isEmpty() != text(r, Code).isEmpty())
            return r;
    return -1;
}

QList<SaleLine> ProductLineGrid::saleLines() const
{
    QList<SaleLine> out;
    for (int r = 0; r < rowCount(); ++r)
        if (!text(r, Amount).isEmpty())
            out << SaleLine{text(r, Name), text(r, Unit), text(r, Quantity), text(r, Amount)};
    return out;
}

QStringList ProductLineGrid::productNames() const
{
    QStringList out;
    for (int r = 0; r < rowCount(); ++r)
        if (!text(r, Name).isEmpty())
            out << text(r, Name);
    return out;
}

} // namespace points
