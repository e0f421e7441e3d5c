#pragma once

#include "points/posting.h"

#include <QTableWidget>

namespace points {

// The product line grid of the sale windows: line number, group, code,
// name, unit, price, quantity, amount. Only price and quantity are typed,
// and only digits and "." get in.
class ProductLineGrid : public QTableWidget {
    Q_OBJECT
public:
    enum Column { No = 0, Group, Code, Name, Unit, Price, Quantity, Amount, ColumnCount };

    explicit ProductLineGrid(QWidget *parent = nullptr);

    QString text(int line, int column) const;
    void setText(int line, int column, const QString &text);

    // The first line whose group, code, name, unit and price are all empty; -1 when none.
    int firstEmptyLine() const;
    // Fills a line from a product with quantity 1 and its amount.
    void fillLine(int line, const QString &group, const QString &code, const QString &name, const QString &unit,
                  const QString &price);
    // Amount = quantity x price when both hold text. Throws core::ConversionError
    // for a text that is no number; the line then keeps its amount.
    void recomputeLine(int line);
    // Sum of the amounts; false when no line holds an amount.
    bool total(double *sum) const;

    void removeLine(int line);
    void addLines(int count);
    void clearLines(); // empties columns 1 to 7, keeps the number of lines

    // The first line where code, price, quantity and amount are neither all
    // filled nor all empty; -1 when every line is complete.
    int firstIncompleteLine() const;
    // The first line where exactly one of group and code is filled; -1 when none.
    int firstHalfLine() const;
    // The lines that hold an amount, for the posting.
    QList<SaleLine> saleLines() const;
    // Product names of the lines that have one.
    QStringList productNames() const;

signals:
    // The total of the amounts changed (only when some line holds one).
    void totalChanged(const QString &total);
    // Focus left the grid (its editors included).
    void leftGrid();

private:
    void renumber();
    void emitTotal();
    void onCurrentCellChanged(int row, int column, int previousRow, int previousColumn);
};

} // namespace points
