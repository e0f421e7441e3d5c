#pragma once

#include <QGroupBox>

class QTableView;

namespace core {
class Query;
class QueryModel;
} // namespace core

namespace ui {

// A list to pick from by double click, over a shared query, with a "隐藏"
// button; hidden until a search fills it.
class PickList : public QGroupBox {
    Q_OBJECT
public:
    PickList(const QString &caption, const char *gridName, const char *hideButtonName, core::Query *query,
             QWidget *parent);

    QTableView *grid() const { return m_grid; }
    core::QueryModel *model() const { return m_model; }
    // The row of the current record; -1 when there is none.
    int currentRow() const;
    // The row a double click picked. An empty list hides itself and gives
    // the focus back to `searchBox`: -1.
    int pickedRow(QWidget *searchBox);
    // Shows the list, focuses it and makes its first row current.
    void present();

signals:
    void picked();

private:
    QTableView *m_grid;
    core::QueryModel *m_model;
};

} // namespace ui
