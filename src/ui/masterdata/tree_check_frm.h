#pragma once

#include <QDialog>

class QLineEdit;

namespace tavomi {

class CategoryTree;

// The category picker: the tree and the entry of the clicked node; "选中" hands it back.
class Tfrm_tree_check : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_tree_check(QWidget *parent = nullptr);

    // "选中": accepts when a category other than the root is chosen.
    bool choose();
    QString chosenEntry() const;
    CategoryTree *tree() const { return m_tree; }

private:
    CategoryTree *m_tree = nullptr;
    QLineEdit *m_chosen = nullptr;
};

} // namespace tavomi
