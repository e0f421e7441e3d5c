#include "core/querymodel.h"

#include "core/query.h"

namespace core {

QueryModel::QueryModel(Query *query, QObject *parent)
    : QAbstractTableModel(parent)
    , m_query(query)
{
    connect(query, &Query::aboutToReset, this, [this] {
        if (!m_resetting) {
            m_resetting = true;
            beginResetModel();
        }
    });
    connect(query, &Query::resetDone, this, [this] {
        if (m_resetting) {
            m_resetting = false;
            endResetModel();
        }
    });
}

int QueryModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_query || m_resetting)
        return 0;
    return m_query->recordCount();
}

int QueryModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_query || m_resetting)
        return 0;
    return m_query->columnCount();
}

QVariant QueryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_query || m_resetting || index.row() >= m_query->recordCount()
        || index.column() >= m_query->columnCount())
        return {};
    const QVariant &v = m_query->cell(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        return Query::toText(v);
    case Qt::EditRole:
        return v;
    case Qt::TextAlignmentRole:
        if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::LongLong)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !m_query || m_resetting)
        return {};
    if (orientation == Qt::Horizontal)
        return section < m_query->columnCount() ? QVariant(m_query->columns().at(section)) : QVariant();
    return section + 1;
}

} // namespace core
