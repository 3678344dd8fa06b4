#include "ui/masterdata/category_tree.h"

#include "common/error.h"
#include "common/session.h"
#include "masterdata/category_service.h"

#include <QHeaderView>

namespace tavomi {

namespace {
constexpr int kCodeRole = Qt::UserRole;
constexpr int kLoadedRole = Qt::UserRole + 1;
} // namespace

CategoryTree::CategoryTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("TreeView1"));
    setHeaderHidden(true);
    setColumnCount(1);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) { loadChildren(item); });
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        emit categoryChosen(codeOf(item), item->text(0));
    });
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        // Keyboard moves choose as well; mouse clicks arrive through itemClicked too.
        if (item && hasFocus())
            emit categoryChosen(codeOf(item), item->text(0));
    });
    reload();
}

QString CategoryTree::codeOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, kCodeRole).toString() : QString();
}

QTreeWidgetItem *CategoryTree::addNode(QTreeWidgetItem *parent, const QString &code, const QString &name, bool expandable)
{
    auto *item = new QTreeWidgetItem(parent);
    item->setText(0, categoryEntry(name, code));
    item->setData(0, kCodeRole, code);
    item->setData(0, kLoadedRole, false);
    item->setChildIndicatorPolicy(expandable ? QTreeWidgetItem::ShowIndicator
                                             : QTreeWidgetItem::DontShowIndicatorWhenChildless);
    return item;
}

void CategoryTree::reload()
{
    clear();
    auto *root = new QTreeWidgetItem(this);
    root->setText(0, kCategoryRootName);
    root->setData(0, kCodeRole, kCategoryRootCode);
    root->setData(0, kLoadedRole, false);
    root->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    loadChildren(root);
    root->setExpanded(true);
    setCurrentItem(root);
}

void CategoryTree::loadChildren(QTreeWidgetItem *item)
{
    if (!item || item->data(0, kLoadedRole).toBool() || !Session::hasCurrent())
        return;
    item->setData(0, kLoadedRole, true);
    Session &s = Session::current();
    try {
        const QList<CategoryNode> nodes = categoryChildren(s, codeOf(item));
        for (const CategoryNode &n : nodes)
            addNode(item, n.code, n.name, n.expandable && categoryHasChildren(s, n.code));
    } catch (const Error &) {
        // A tree that cannot be read stays as far as it got.
    }
    if (item->childCount() == 0)
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

bool CategoryTree::selectCode(const QString &code)
{
    if (!Session::hasCurrent())
        return false;
    // The path from the root down to the category.
    QStringList path;
    QString at = code;
    try {
        for (int guard = 0; guard < 64 && !at.isEmpty() && at != kCategoryRootCode; ++guard) {
            path.prepend(at);
            at = Session::current().scalar(QStringLiteral("select 父项编码 from 类别 where 编码=?"), {at}).toString();
        }
    } catch (const Error &) {
        return false;
    }
    QTreeWidgetItem *item = topLevelItemCount() > 0 ? topLevelItem(0) : nullptr;
    for (const QString &step : path) {
        if (!item)
            return false;
        loadChildren(item);
        item->setExpanded(true);
        QTreeWidgetItem *next = nullptr;
        for (int i = 0; i < item->childCount(); ++i)
            if (codeOf(item->child(i)) == step)
                next = item->child(i);
        item = next;
    }
    if (!item)
        return false;
    setCurrentItem(item);
    scrollToItem(item);
    return true;
}

QString CategoryTree::currentCode() const
{
    return codeOf(currentItem());
}

QString CategoryTree::currentEntry() const
{
    return currentItem() ? currentItem()->text(0) : QString();
}

bool CategoryTree::currentIsRoot() const
{
    return currentCode() == kCategoryRootCode;
}

QStringList CategoryTree::loadedEntries() const
{
    QStringList out;
    QList<QTreeWidgetItem *> pending;
    for (int i = 0; i < topLevelItemCount(); ++i)
        pending << topLevelItem(i);
    while (!pending.isEmpty()) {
        QTreeWidgetItem *it = pending.takeFirst();
        if (codeOf(it) != kCategoryRootCode)
            out << it->text(0);
        for (int i = 0; i < it->childCount(); ++i)
            pending << it->child(i);
    }
    return out;
}

} // namespace tavomi
