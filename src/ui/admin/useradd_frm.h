#pragma once

#include "admin/users.h"

#include <QDialog>
#include <QMap>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tavomi {

// "用户/授权设置": users and their permissions. Browse mode shows the selected user; change mode
// (after "新增单据" or "修改单据") edits the boxes and permission check boxes until the user
// saves or abandons. A new user exists only in the form until it is saved.
class TFrm_UserAdd : public QDialog
{
    Q_OBJECT
public:
    explicit TFrm_UserAdd(QWidget *parent = nullptr);

    QTableWidget *grid1 = nullptr;
    QLineEdit *Edit1 = nullptr;       // 姓名
    QLineEdit *Edit2 = nullptr;       // 工号
    QComboBox *ComboBox1 = nullptr;   // 级别
    QPushButton *btnExit = nullptr;   // 退出管理
    QPushButton *btnNew = nullptr;    // 新增单据
    QPushButton *btnModify = nullptr; // 修改单据
    QPushButton *btnSave = nullptr;   // 保存单据
    QPushButton *btnCancel = nullptr; // 放弃此单据
    QPushButton *btnDelete = nullptr; // 删除当前单据
    QPushButton *btnAll = nullptr;    // 全选
    QPushButton *btnNone = nullptr;   // 全不选

    // The check box of a permission column (hidden ones included).
    QCheckBox *permissionBox(const QString &column) const { return m_boxes.value(column); }
    bool isEditing() const { return m_editing; }
    // The users listed in the grid, in grid order.
    QStringList listedWorkNumbers() const;

    void refreshList();
    void selectUser(const QString &workNumber);
    void newUser();
    void modifyUser();
    // "保存单据": true when the user was stored.
    bool saveUser();
    void cancelEdit();
    // "删除当前单据": true when the selected user was deleted.
    bool deleteUser();
    // "全选" (true) and "全不选" (false).
    void tickAll(bool tick);

    // The permission columns whose check boxes stay hidden.
    static const QStringList &hiddenPermissions();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setEditing(bool editing);
    void showUser(const UserRecord &user);
    UserRecord userFromBoxes() const;
    bool mayClose();

    QMap<QString, QCheckBox *> m_boxes;
    QList<UserRecord> m_users;
    UserRecord m_shown;
    QString m_oldWorkNumber;
    bool m_isNew = false;
    bool m_editing = false;
};

} // namespace tavomi
