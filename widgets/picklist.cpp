#include "widgets/picklist.h"

#include "core/query.h"
#include "core/querymodel.h"
#include "widgets/forms.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace ui {

PickList::PickList(const QString &caption, const char *gridName, const char *hideButtonName, core::Query *query,
                   QWidget *parent)
    : QGroupBox(caption, parent)
{
    m_grid = new QTableView(this);
    m_grid->setObjectName(QString::fromLatin1(gridName));
    m_grid->setAccessibleName(caption.isEmpty() ? QStringLiteral("会员列表") : caption);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_model = new core::QueryModel(query, this);
    m_grid->setModel(m_model);
    auto *hide = button(QStringLiteral("隐藏"), hideButtonName, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addWidget(hide, 0, Qt::AlignRight);
    QGroupBox::hide();
    connect(hide, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_grid, &QTableView::doubleClicked, this, &PickList::picked);
}

int PickList::currentRow() const
{
    const QModelIndex i = m_grid->currentIndex();
    return i.isValid() && i.row() < m_model->rowCount() ? i.row() : -1;
}

int PickList::pickedRow(QWidget *searchBox)
{
    const int row = currentRow();
    if (row < 0) {
        hide();
        searchBox->setFocus();
    }
    return row;
}

void PickList::present()
{
    show();
    m_grid->setFocus();
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(0, 0));
}

} // namespace ui
