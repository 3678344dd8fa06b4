#pragma once

#include <QWidget>

#include <functional>

class QComboBox;
class QHBoxLayout;
class QPushButton;

namespace tavomi {

// The sort choice of the master lists: "排序字段：" (a list of fields, typed text completed from
// it), "排序方式：" ("升序" / "降序") and the button "排序". Only a field the list offers is
// accepted; anything else is refused with "请从列表中选择排序字段!".
class MasterSortPanel : public QWidget
{
    Q_OBJECT
public:
    // columnOf turns a field text into the column to sort by; empty when the text is not allowed.
    MasterSortPanel(const QStringList &fields, std::function<QString(const QString &)> columnOf,
                    QWidget *parent = nullptr);

    QComboBox *field() const { return m_field; }
    QComboBox *direction() const { return m_direction; }
    QPushButton *sortButton() const { return m_sort; }
    // The row holding "排序"; owners add their own buttons to it.
    QHBoxLayout *buttonRow() const { return m_buttons; }
    // "排序": false (and the refusal shown) when the field is not one of the listed ones.
    bool choose();
    QString column() const { return m_column; }
    Qt::SortOrder order() const { return m_order; }

Q_SIGNALS:
    // A valid choice was made.
    void chosen(const QString &column, Qt::SortOrder order);

private:
    std::function<QString(const QString &)> m_columnOf;
    QComboBox *m_field = nullptr;
    QComboBox *m_direction = nullptr;
    QPushButton *m_sort = nullptr;
    QHBoxLayout *m_buttons = nullptr;
    QString m_column;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};

} // namespace tavomi
