#pragma once

#include "masterdata/goods_service.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace tavomi {

class CategoryTree;
class GoodsListModel;

// The goods list (商品信息): the category tree, five search boxes and the goods grid.
class Tfrm_spzl : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_spzl(QWidget *parent = nullptr);

    // The commands, as the buttons run them.
    void search();
    void showCategory(const QString &code);
    void listAll();
    // "导出EXCEL" and "打印预览" of the current search.
    void exportList();
    void printList();
    void addGoods();
    void changeGoods();
    void deleteGoods();
    void addCategory();
    void sortByColumn(int column);

    GoodsListModel *model() const { return m_model; }
    QTableView *grid() const { return m_grid; }
    CategoryTree *tree() const { return m_tree; }
    QLineEdit *searchBox(int index) const { return m_search.value(index); }
    QString recordCountText() const;
    QPushButton *button(const QString &text) const;
    // The code of the goods in the grid's current row, or empty.
    QString currentCode() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void run(const GoodsListQuery &query);

    CategoryTree *m_tree = nullptr;
    QList<QLineEdit *> m_search;
    QLabel *m_count = nullptr;
    QTableView *m_grid = nullptr;
    GoodsListModel *m_model = nullptr;
    QList<QPushButton *> m_buttons;
    int m_sortColumn = -1;
    bool m_sortDescending = false;
};

} // namespace tavomi
