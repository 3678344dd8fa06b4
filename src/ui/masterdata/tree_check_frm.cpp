#include "ui/masterdata/tree_check_frm.h"

#include "common/messages.h"
#include "masterdata/category_service.h"
#include "ui/masterdata/category_tree.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavomi {

Tfrm_tree_check::Tfrm_tree_check(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Tfrm_tree_check"));
    setWindowTitle(QStringLiteral("商品类别选择"));
    auto *layout = new QVBoxLayout(this);
    m_tree = new CategoryTree(this);
    layout->addWidget(m_tree, 1);
    auto *row = new QHBoxLayout;
    auto *label = new QLabel(QStringLiteral("当前选择的项目："), this);
    m_chosen = new QLineEdit(this);
    m_chosen->setReadOnly(true);
    label->setBuddy(m_chosen);
    row->addWidget(label);
    row->addWidget(m_chosen, 1);
    layout->addLayout(row);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *ok = new QPushButton(QStringLiteral("选中"), this);
    ok->setAutoDefault(false);
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setAutoDefault(false);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(m_tree, &CategoryTree::categoryChosen, this, [this](const QString &, const QString &entry) {
        m_chosen->setText(entry);
    });
    connect(m_tree, &QTreeWidget::itemActivated, this, [this] { choose(); });
    connect(ok, &QPushButton::clicked, this, [this] { choose(); });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
    resize(360, 460);
}

QString Tfrm_tree_check::chosenEntry() const
{
    return m_chosen->text();
}

bool Tfrm_tree_check::choose()
{
    const QString entry = m_chosen->text().trimmed();
    if (entry.isEmpty() || entry == kCategoryRootName || categoryCodeOfEntry(entry) == kCategoryRootCode) {
        Messages::info(QStringLiteral("选中的项目-不能为[根目录]或不能为\"空\",请重新选择!"));
        return false;
    }
    accept();
    return true;
}

} // namespace tavomi
