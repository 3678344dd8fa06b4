#include "ui/masterdata/splebei_new_frm.h"

#include "common/error.h"
#include "common/messages.h"
#include "common/session.h"
#include "masterdata/category_service.h"
#include "ui/masterdata/category_tree.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavomi {

Tfrm_splebei_new::Tfrm_splebei_new(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Tfrm_splebei_new"));
    setWindowTitle(QStringLiteral("商品类别"));
    auto *layout = new QHBoxLayout(this);
    m_tree = new CategoryTree(this);
    layout->addWidget(m_tree, 3);

    auto *right = new QVBoxLayout;
    auto *form = new QFormLayout;
    m_parent = new QLineEdit(this);
    m_parent->setObjectName(QStringLiteral("Edit1"));
    m_parent->setReadOnly(true);
    m_parent->setFocusPolicy(Qt::NoFocus);
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("Edit2"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Edit3"));
    m_parent->setMinimumWidth(160);
    form->addRow(QStringLiteral("父节点名："), m_parent);
    form->addRow(QStringLiteral("类别编码："), m_code);
    form->addRow(QStringLiteral("类别名称："), m_name);
    right->addLayout(form);
    m_root = new QCheckBox(QStringLiteral("设为根结点"), this);
    right->addWidget(m_root);
    auto makeButton = [this, right](const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setAutoDefault(false);
        right->addWidget(b);
        return b;
    };
    m_add = makeButton(QStringLiteral("增加"));
    m_delete = makeButton(QStringLiteral("删除"));
    m_change = makeButton(QStringLiteral("修改"));
    QPushButton *close = makeButton(QStringLiteral("关闭"));
    right->addStretch();
    layout->addLayout(right, 2);

    connect(m_tree, &CategoryTree::categoryChosen, this, [this](const QString &code, const QString &entry) {
        nodeClicked(code, entry);
    });
    connect(m_add, &QPushButton::clicked, this, [this] { addCategory(); });
    connect(m_delete, &QPushButton::clicked, this, [this] { deleteCategory(); });
    connect(m_change, &QPushButton::clicked, this, [this] { changeCategory(); });
    connect(close, &QPushButton::clicked, this, [this] { reject(); });
    connect(m_code, &QLineEdit::returnPressed, m_name, [this] { m_name->setFocus(); });
    connect(m_name, &QLineEdit::returnPressed, this, [this] {
        if (m_editingCode.isEmpty())
            addCategory();
        else
            changeCategory();
    });
    resize(560, 420);
}

void Tfrm_splebei_new::nodeClicked(const QString &code, const QString &entry)
{
    if (!m_editingCode.isEmpty())
        return;
    m_parentCode = code;
    m_parent->setText(code == kCategoryRootCode ? kCategoryRootName : entry);
    m_root->setChecked(code == kCategoryRootCode);
}

void Tfrm_splebei_new::addCategory()
{
    if (m_parent->text().isEmpty()) {
        m_parent->setText(kCategoryRootName);
        m_root->setChecked(true);
    }
    const QString parent = m_root->isChecked() || m_parentCode.isEmpty() ? kCategoryRootCode : m_parentCode;
    const QString code = m_code->text().trimmed();
    try {
        tavomi::addCategory(Session::current(), parent, code, m_name->text());
    } catch (const Error &e) {
        Messages::info(e.message());
        return;
    }
    Messages::info(QStringLiteral("增加成功!"));
    m_tree->reload();
    m_tree->selectCode(code);
    m_code->clear();
    m_name->clear();
    m_code->setFocus();
}

void Tfrm_splebei_new::deleteCategory()
{
    const QString code = m_tree->currentCode();
    if (code.isEmpty() || code == kCategoryRootCode)
        return;
    try {
        tavomi::deleteCategory(Session::current(), code);
    } catch (const Error &e) {
        Messages::info(e.message());
        return;
    }
    Messages::info(QStringLiteral("删除成功!"));
    m_tree->reload();
    m_parentCode.clear();
    m_parent->clear();
}

void Tfrm_splebei_new::setEditing(bool editing)
{
    m_tree->setEnabled(!editing);
    m_code->setReadOnly(editing);
    m_root->setEnabled(!editing);
    m_add->setEnabled(!editing);
    m_delete->setEnabled(!editing);
    m_change->setText(editing ? QStringLiteral("保存") : QStringLiteral("修改"));
}

void Tfrm_splebei_new::changeCategory()
{
    if (m_editingCode.isEmpty()) {
        const QString code = m_tree->currentCode();
        if (code.isEmpty() || code == kCategoryRootCode) {
            Messages::info(QStringLiteral("父结点为[商品类别]不能修改"));
            return;
        }
        m_editingCode = code;
        m_code->setText(code);
        const QString entry = m_tree->currentEntry();
        m_name->setText(entry.left(entry.size() - code.size() - 2));
        setEditing(true);
        m_name->setFocus();
        m_name->selectAll();
        return;
    }
    try {
        renameCategory(Session::current(), m_editingCode, m_name->text());
    } catch (const Error &e) {
        Messages::info(e.message());
        return;
    }
    Messages::info(QStringLiteral("修改成功！"));
    const QString code = m_editingCode;
    m_editingCode.clear();
    setEditing(false);
    m_tree->reload();
    m_tree->selectCode(code);
    m_code->clear();
    m_name->clear();
}

} // namespace tavomi
