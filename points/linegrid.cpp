#include "points/linegrid.h"

#include "core/formats.h"
#include "widgets/forms.h"
#include "widgets/prompts.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace points {

namespace {

class LineDelegate : public QStyledItemDelegate {
public:
    explicit LineDelegate(LineGrid *grid)
        : QStyledItemDelegate(grid), m_grid(grid)
    {
    }
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor)) {
            line->setAlignment(Qt::AlignCenter);
            if (m_grid->entryOf(index.column()) == LineGrid::Entry::Number)
                ui::numbersOnly(line);
        }
        return editor;
    }

private:
    LineGrid *m_grid;
};

} // namespace

LineGrid::LineGrid(const Layout &layout, QWidget *parent)
    : QTableWidget(20, int(layout.columns.size()), parent)
    , m_layout(layout)
{
    setObjectName(QStringLiteral("AdvStringGrid1"));
    QStringList headers;
    for (int c = 0; c < columnCount(); ++c) {
        headers << layout.columns[c].header;
        setColumnWidth(c, layout.columns[c].width);
    }
    setHorizontalHeaderLabels(headers);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new LineDelegate(this));
    renumber();
    // Leaving a line computes its amount.
    connect(this, &QTableWidget::currentCellChanged, this, [this](int, int, int previousRow, int) {
        ui::guard(this, [&] { recomputeLine(previousRow); });
        emitTotal();
    });
    // A typed factor counts at once, not only when the cursor moves.
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (item->column() == m_layout.factorA || item->column() == m_layout.factorB) {
            ui::guard(this, [&] { recomputeLine(item->row()); });
            emitTotal();
        }
    });
    // Leaving the grid, from a cell or from an open cell editor.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        const bool wasIn = old && (old == this || isAncestorOf(old));
        const bool isIn = now && (now == this || isAncestorOf(now));
        if (wasIn && !isIn && now)
            emit leftGrid();
    });
}

QString LineGrid::text(int line, int column) const
{
    const QTableWidgetItem *it = item(line, column);
    return it ? it->text() : QString();
}

void LineGrid::setText(int line, int column, const QString &text)
{
    const QSignalBlocker block(this);
    QTableWidgetItem *it = item(line, column);
    if (!it) {
        it = new QTableWidgetItem;
        it->setTextAlignment(Qt::AlignCenter);
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (entryOf(column) != Entry::Fixed)
            flags |= Qt::ItemIsEditable;
        it->setFlags(flags);
        setItem(line, column, it);
    }
    it->setText(text);
}

void LineGrid::renumber()
{
    for (int r = 0; r < rowCount(); ++r) {
        setText(r, 0, QString::number(r + 1));
        for (int c = 1; c < columnCount(); ++c)
            if (!item(r, c))
                setText(r, c, QString());
        setRowHeight(r, 20);
    }
}

int LineGrid::firstEmptyLine() const
{
    for (int r = 0; r < rowCount(); ++r) {
        bool empty = true;
        for (int c = 1; c <= m_layout.emptyLast && empty; ++c)
            empty = text(r, c).isEmpty();
        if (empty)
            return r;
    }
    return -1;
}

void LineGrid::fillLine(int line, const QStringList &values)
{
    for (int i = 0; i < values.size(); ++i)
        setText(line, i + 1, values[i]);
    double a = 0, b = 0;
    if (core::tryTextToFloat(text(line, m_layout.factorA), &a) && core::tryTextToFloat(text(line, m_layout.factorB), &b))
        setText(line, m_layout.amount, core::floatToText(a * b));
    else
        setText(line, m_layout.amount, QString());
    emitTotal();
}

void LineGrid::recomputeLine(int line)
{
    if (line < 0 || line >= rowCount())
        return;
    const QString a = text(line, m_layout.factorA), b = text(line, m_layout.factorB);
    if (a.isEmpty() || b.isEmpty())
        return;
    setText(line, m_layout.amount, core::floatToText(core::textToFloat(a) * core::textToFloat(b)));
}

bool LineGrid::total(double *sum) const
{
    double s = 0;
    bool any = false;
    for (int r = 0; r < rowCount(); ++r) {
        double v = 0;
        if (core::tryTextToFloat(text(r, m_layout.amount), &v)) {
            s += v;
            any = true;
        }
    }
    if (sum)
        *sum = s;
    return any;
}

void LineGrid::emitTotal()
{
    double sum = 0;
    if (total(&sum))
        emit totalChanged(core::floatToText(sum));
}

void LineGrid::removeLine(int line)
{
    if (line < 0 || line >= rowCount())
        return;
    removeRow(line);
    renumber();
    emitTotal();
}

void LineGrid::askAndRemoveCurrentLine()
{
    if (ui::prompts().message(this, ui::Icon::Question, QStringLiteral("删除"), QStringLiteral("确实删除该行？"),
                              ui::Ok | ui::Cancel)
        == ui::Ok)
        removeLine(currentRow() < 0 ? 0 : currentRow());
}

void LineGrid::addLines(int count)
{
    setRowCount(rowCount() + count);
    renumber();
}

void LineGrid::clearLines()
{
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 1; c < columnCount(); ++c)
            setText(r, c, QString());
}

int LineGrid::firstIncompleteLine() const
{
    for (int r = 0; r < rowCount(); ++r) {
        int filled = 0;
        for (int c : m_layout.completeColumns)
            filled += text(r, c).isEmpty() ? 0 : 1;
        if (filled != 0 && filled != m_layout.completeColumns.size())
            return r;
    }
    return -1;
}

int LineGrid::firstLineWithOneOf(int a, int b) const
{
    for (int r = 0; r < rowCount(); ++r)
        if (text(r, a).isEmpty() != text(r, b).isEmpty())
            return r;
    return -1;
}

ProductLineGrid::ProductLineGrid(QWidget *parent)
    : LineGrid(Layout{{{QStringLiteral("序号"), 35, Entry::Fixed},
                       {QStringLiteral("所属类别"), 80, Entry::Fixed},
                       {QStringLiteral("商品编号"), 100, Entry::Fixed},
                       {QStringLiteral("商品名称"), 180, Entry::Fixed},
                       {QStringLiteral("单位"), 50, Entry::Fixed},
                       {QStringLiteral("预设单价"), 80, Entry::Number},
                       {QStringLiteral("数量"), 50, Entry::Number},
                       {QStringLiteral("金额"), 100, Entry::Fixed}},
                      Quantity, Price, Amount, Price, {Code, Price, Quantity, Amount}},
               parent)
{
}

void ProductLineGrid::fillProduct(int line, const QString &group, const QString &code, const QString &name,
                                  const QString &unit, const QString &price)
{
    fillLine(line, {group, code, name, unit, price, QStringLiteral("1")});
}

QList<SaleLine> ProductLineGrid::saleLines() const
{
    QList<SaleLine> out;
    for (int r = 0; r < rowCount(); ++r)
        if (!text(r, Amount).isEmpty())
            out << SaleLine{text(r, Name), text(r, Unit), text(r, Quantity), text(r, Amount)};
    return out;
}

QStringList ProductLineGrid::columnTexts(int column) const
{
    QStringList out;
    for (int r = 0; r < rowCount(); ++r)
        if (!text(r, column).isEmpty())
            out << text(r, column);
    return out;
}

RedemptionGrid::RedemptionGrid(QWidget *parent)
    : LineGrid(Layout{{{QStringLiteral("序号"), 35, Entry::Fixed},
                       {QStringLiteral("兑换项目"), 200, Entry::Text},
                       {QStringLiteral("单次兑换积分"), 90, Entry::Number},
                       {QStringLiteral("兑换数量"), 70, Entry::Text},
                       {QStringLiteral("总兑换积分"), 80, Entry::Fixed}},
                      ItemPoints, Quantity, Total, Total, {Item, ItemPoints, Quantity, Total}},
               parent)
{
}

void RedemptionGrid::fillItem(int line, const QString &item, const QString &points)
{
    fillLine(line, {item, points, QStringLiteral("1")});
}

QString RedemptionGrid::gifts() const
{
    QString out;
    for (int r = 0; r < rowCount(); ++r)
        if (!text(r, Item).isEmpty())
            out += u' ' + text(r, Item) + u'(' + text(r, Quantity) + u')';
    return out.trimmed();
}

} // namespace points
