#pragma once

#include <QAbstractTableModel>
#include <QPointer>

namespace core {

class Query;

// Binds a grid to a named query: whatever the query holds is what every
// grid bound to it shows, and reopening the query resets the model.
class QueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QueryModel(Query *query, QObject *parent = nullptr);

    Query *query() const { return m_query; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QPointer<Query> m_query;
    bool m_resetting = false;
};

} // namespace core
