#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tavomi {

class CategoryTree;

// The category editor: add, delete and rename goods categories in the tree.
class Tfrm_splebei_new : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_splebei_new(QWidget *parent = nullptr);

    // The commands, as the buttons run them.
    void addCategory();
    void deleteCategory();
    void changeCategory();   // first press: edit the name; second press: save it

    CategoryTree *tree() const { return m_tree; }
    QLineEdit *parentBox() const { return m_parent; }
    QLineEdit *codeBox() const { return m_code; }
    QLineEdit *nameBox() const { return m_name; }
    QCheckBox *rootBox() const { return m_root; }
    QPushButton *changeButton() const { return m_change; }

private:
    void nodeClicked(const QString &code, const QString &entry);
    void setEditing(bool editing);

    CategoryTree *m_tree = nullptr;
    QLineEdit *m_parent = nullptr;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_name = nullptr;
    QCheckBox *m_root = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_change = nullptr;
    QString m_parentCode;      // the clicked node
    QString m_editingCode;     // the category being renamed
};

} // namespace tavomi
