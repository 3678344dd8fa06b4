#include "ui/masterdata/sort_panel.h"

#include "common/messages.h"

#include <QComboBox>
#include <QCompleter>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavomi {

MasterSortPanel::MasterSortPanel(const QStringList &fields, std::function<QString(const QString &)> columnOf, QWidget *parent)
    : QWidget(parent)
    , m_columnOf(std::move(columnOf))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *form = new QFormLayout;
    m_field = new QComboBox(this);
    m_field->setObjectName(QStringLiteral("ComboBox_field"));
    m_field->setEditable(true);
    m_field->setInsertPolicy(QComboBox::NoInsert);
    m_field->addItems(fields);
    m_field->completer()->setCompletionMode(QCompleter::PopupCompletion);
    m_direction = new QComboBox(this);
    m_direction->setObjectName(QStringLiteral("ComboBox_direction"));
    m_direction->addItems({QStringLiteral("升序"), QStringLiteral("降序")});
    form->addRow(QStringLiteral("排序字段："), m_field);
    form->addRow(QStringLiteral("排序方式："), m_direction);
    layout->addLayout(form);
    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    m_sort = new QPushButton(QStringLiteral("排序"), this);
    m_sort->setAutoDefault(false);
    connect(m_sort, &QPushButton::clicked, this, [this] { choose(); });
    m_buttons->addWidget(m_sort);
    layout->addLayout(m_buttons);
}

bool MasterSortPanel::choose()
{
    const QString column = m_columnOf(m_field->currentText());
    if (column.isEmpty()) {
        Messages::info(QStringLiteral("请从列表中选择排序字段!"));
        m_field->setFocus();
        return false;
    }
    m_column = column;
    m_order = m_direction->currentText() == QStringLiteral("降序") ? Qt::DescendingOrder : Qt::AscendingOrder;
    Q_EMIT chosen(m_column, m_order);
    return true;
}

} // namespace tavomi
