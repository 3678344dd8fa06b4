#pragma once

#include <QStringList>
#include <QTreeWidget>

namespace tavomi {

// The goods category tree: the root "商品类别" (code "0") and its categories, each shown as
// 类名(编码). Children are read when a node is expanded for the first time.
// Used by the goods list, the goods editor's picker and the category editor.
class CategoryTree : public QTreeWidget
{
    Q_OBJECT
public:
    explicit CategoryTree(QWidget *parent = nullptr);

    // Rebuilds the tree from the database: the root and its direct children.
    void reload();
    // Expands the path to the category and makes it current; false when it is unknown.
    bool selectCode(const QString &code);

    QString currentCode() const;
    QString currentEntry() const;
    bool currentIsRoot() const;
    // The 类名(编码) texts of every node loaded so far, root excluded.
    QStringList loadedEntries() const;

    static QString codeOf(const QTreeWidgetItem *item);

signals:
    // A node was clicked or chosen by keyboard.
    void categoryChosen(const QString &code, const QString &entry);

private:
    void loadChildren(QTreeWidgetItem *item);
    QTreeWidgetItem *addNode(QTreeWidgetItem *parent, const QString &code, const QString &name, bool expandable);
};

} // namespace tavomi
