#pragma once

#include "points/posting.h"

#include <QTableWidget>

namespace points {

// The line grids of the point windows: a line number, typed or picked
// columns, and an amount column that is the product of two others.
class LineGrid : public QTableWidget {
    Q_OBJECT
public:
    enum class Entry { Fixed, Text, Number }; // Number: only digits and "." get in
    struct Column {
        QString header;
        int width;
        Entry entry;
    };
    struct Layout {
        QList<Column> columns;     // column 0 holds the line number
        int factorA, factorB;      // amount = A x B
        int amount;
        int emptyLast;             // a line is empty when columns 1..emptyLast are
        QList<int> completeColumns; // all filled or all empty for a complete line
    };

    LineGrid(const Layout &layout, QWidget *parent);

    Entry entryOf(int column) const { return m_layout.columns.value(column).entry; }

    QString text(int line, int column) const;
    void setText(int line, int column, const QString &text);

    // The first empty line; -1 when none.
    int firstEmptyLine() const;
    // Writes `values` into columns 1, 2, ... and computes the amount; a
    // factor that is no number leaves the amount empty, without a message.
    void fillLine(int line, const QStringList &values);
    // Amount = A x B when both hold text. Throws core::ConversionError for a
    // text that is no number; the line then keeps its amount.
    void recomputeLine(int line);
    // Sum of the amounts; false when no line holds an amount.
    bool total(double *sum) const;

    void removeLine(int line);
    // Asks "确实删除该行？" and removes the current line on OK.
    void askAndRemoveCurrentLine();
    void addLines(int count);
    void clearLines(); // empties every column but the number, keeps the lines

    // The first line whose check columns are neither all filled nor all empty; -1 when none.
    int firstIncompleteLine() const;
    // The first line where exactly one of columns a and b is filled; -1 when none.
    int firstLineWithOneOf(int a, int b) const;

signals:
    // The total of the amounts changed (only when some line holds one).
    void totalChanged(const QString &total);
    // Focus left the grid (its editors included).
    void leftGrid();

protected:
    void emitTotal();

private:
    void renumber();

    Layout m_layout;
};

// Group, code, name, unit, price, quantity, amount.
class ProductLineGrid : public LineGrid {
    Q_OBJECT
public:
    enum Column { No = 0, Group, Code, Name, Unit, Price, Quantity, Amount };
    explicit ProductLineGrid(QWidget *parent = nullptr);

    void fillProduct(int line, const QString &group, const QString &code, const QString &name, const QString &unit,
                     const QString &price);
    // The lines that hold an amount, for the posting.
    QList<SaleLine> saleLines() const;
    // The texts of one column, for the lines where it has one.
    QStringList columnTexts(int column) const;
};

// Item, points per item, quantity, total points.
class RedemptionGrid : public LineGrid {
    Q_OBJECT
public:
    enum Column { No = 0, Item, ItemPoints, Quantity, Total };
    explicit RedemptionGrid(QWidget *parent = nullptr);

    void fillItem(int line, const QString &item, const QString &points);
    // Each line with an item as " item(quantity)", joined and trimmed.
    QString gifts() const;
};

} // namespace points
