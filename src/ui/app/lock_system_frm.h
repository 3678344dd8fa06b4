#pragma once

#include <QDialog>
#include <QPoint>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tavomi {

// The screen lock. It closes only after a successful unlock: Esc, Alt+F4 and the window
// manager's close are ignored while it is locked.
class Tfrm_lock_system : public QDialog
{
    Q_OBJECT
public:
    Tfrm_lock_system(const QString &workNumber, const QString &userName, QWidget *parent = nullptr);

    QLineEdit *Edit1 = nullptr;       // 工  号 (disabled)
    QLineEdit *Edit2 = nullptr;       // 锁定人 (disabled)
    QLineEdit *Edit3 = nullptr;       // 密  码
    QCheckBox *CheckBox1 = nullptr;   // 系统管理员解锁
    QPushButton *btnLogin = nullptr;  // 登入系统

    // "登入系统": true when the password opened the lock (the dialog is then accepted).
    bool attemptUnlock();
    bool isUnlocked() const { return m_unlocked; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_picture = nullptr;
    bool m_unlocked = false;
};

} // namespace tavomi
