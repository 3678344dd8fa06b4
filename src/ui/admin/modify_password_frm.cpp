#include "ui/admin/modify_password_frm.h"

#include "admin/users.h"
#include "common/error.h"
#include "common/messages.h"
#include "common/session.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavomi {

Tfrm_modify_password::Tfrm_modify_password(const QString &userName, const QString &workNumber, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Tfrm_modify_password"));
    setWindowTitle(QStringLiteral("密码修改"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    auto edit = [this](const QString &name, bool secret) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        if (secret) {
            e->setEchoMode(QLineEdit::Password);
            e->installEventFilter(this);
        } else {
            e->setReadOnly(true);
            e->setFocusPolicy(Qt::NoFocus);
        }
        return e;
    };
    Edit1 = edit(QStringLiteral("Edit1"), false);
    Edit1->setText(userName);
    Edit2 = edit(QStringLiteral("Edit2"), false);
    Edit2->setText(workNumber);
    Edit3 = edit(QStringLiteral("Edit3"), true);
    Edit4 = edit(QStringLiteral("Edit4"), true);
    Edit5 = edit(QStringLiteral("Edit5"), true);
    form->addRow(QStringLiteral("用户名"), Edit1);
    form->addRow(QStringLiteral("工  号"), Edit2);
    form->addRow(QStringLiteral("旧密码"), Edit3);
    form->addRow(QStringLiteral("新密码"), Edit4);
    form->addRow(QStringLiteral("确认密码"), Edit5);
    layout->addLayout(form);
    CheckBox1 = new QCheckBox(QStringLiteral("使用空密码"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    layout->addWidget(CheckBox1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    btnOk = new QPushButton(QStringLiteral("确定"), this);
    btnOk->setAutoDefault(false);
    btnCancel = new QPushButton(QStringLiteral("取消"), this);
    btnCancel->setAutoDefault(false);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    setMinimumWidth(340);

    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool empty) {
        Edit4->setEnabled(!empty);
        Edit5->setEnabled(!empty);
        if (empty) {
            Edit4->clear();
            Edit5->clear();
        }
    });
    connect(btnOk, &QPushButton::clicked, this, [this] { confirm(); });
    connect(btnCancel, &QPushButton::clicked, this, &Tfrm_modify_password::reject);
    Edit3->setFocus();
}

bool Tfrm_modify_password::confirm()
{
    PasswordChangeOutcome outcome;
    try {
        outcome = UserService(Session::current())
                      .changePassword(Edit2->text(), Edit3->text(), Edit4->text(), Edit5->text(), CheckBox1->isChecked());
    } catch (const Error &e) {
        Messages::error(e.message());
        return false;
    }
    switch (outcome) {
    case PasswordChangeOutcome::WrongOldPassword:
        Messages::warning(QStringLiteral("旧密码错误!"));
        Edit3->clear();
        Edit4->clear();
        Edit5->clear();
        Edit3->setFocus();
        return false;
    case PasswordChangeOutcome::NewPasswordsDiffer:
        Edit4->clear();
        Edit5->clear();
        Edit4->setFocus();
        Messages::warning(QStringLiteral("输入有误！请重新输入密码"));
        return false;
    case PasswordChangeOutcome::Changed:
        break;
    }
    Messages::info(QStringLiteral("密码修改成功！"));
    accept();
    return true;
}

void Tfrm_modify_password::reject()
{
    try {
        UserService(Session::current()).logPasswordChangeAbandoned(Edit2->text());
    } catch (const Error &e) {
        Messages::error(e.message());
    }
    QDialog::reject();
}

bool Tfrm_modify_password::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter moves on through the boxes and confirms from the last one in use.
            if (watched == Edit3 && Edit4->isEnabled())
                Edit4->setFocus();
            else if (watched == Edit4)
                Edit5->setFocus();
            else
                confirm();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tavomi
