#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tavomi {

// "密码修改": the logged-in user changes his own password.
class Tfrm_modify_password : public QDialog
{
    Q_OBJECT
public:
    Tfrm_modify_password(const QString &userName, const QString &workNumber, QWidget *parent = nullptr);

    QLineEdit *Edit1 = nullptr;       // 用户名 (read-only)
    QLineEdit *Edit2 = nullptr;       // 工  号 (read-only)
    QLineEdit *Edit3 = nullptr;       // 旧密码
    QLineEdit *Edit4 = nullptr;       // 新密码
    QLineEdit *Edit5 = nullptr;       // 确认密码
    QCheckBox *CheckBox1 = nullptr;   // 使用空密码
    QPushButton *btnOk = nullptr;     // 确定
    QPushButton *btnCancel = nullptr; // 取消

    // "确定": true when the password was changed (the form is then accepted).
    bool confirm();

public slots:
    // "取消" and Esc: logged, then closed.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace tavomi
