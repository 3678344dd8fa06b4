#include "common/identity.h"
#include "common/permissions.h"
#include "core/admin/admin_fixture.h"
#include "platform/ini_file.h"
#include "ui/app/lock_system_frm.h"
#include "ui/app/main_frm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace tavomi;
using tavomi::test::AdminTest;

using LockTest = AdminTest;

namespace {
const QString kNull = QStringLiteral("<null>");
const QString kUnlocked = QStringLiteral("成功解锁了进销存软件系统的锁定操作");
const QString kUserFailed = QStringLiteral("对进销存软件系统的解锁操作失败");
const QString kAdminFailed = QStringLiteral("使用系统管理员账户对进销存软件系统的解锁操作失败");
} // namespace

TEST_F(LockTest, UnlockPaths)
{
    struct Case
    {
        const char *name;
        QString userPassword;  // "<null>": NULL
        QString adminPassword;
        bool administrator;
        QString typed;
        bool opens;
        QString log;
        QString message;
    } cases[] = {
        {"own password", QStringLiteral("li"), QString(), false, QStringLiteral(" li "), true, kUnlocked, QString()},
        {"empty password, empty box", QString(), QString(), false, QString(), true, kUnlocked, QString()},
        {"wrong own password", QStringLiteral("li"), QString(), false, QStringLiteral("xx"), false, kUserFailed,
         QStringLiteral("对不起,密码错误,不能解锁!")},
        {"NULL password cannot unlock", kNull, QString(), false, QString(), false, kUserFailed,
         QStringLiteral("对不起,密码错误,不能解锁!")},
        {"administrator for a NULL password", kNull, QString(), true, QString(), true, kUnlocked, QString()},
        {"administrator's password", QStringLiteral("li"), QStringLiteral("boss"), true, QStringLiteral("boss"), true, kUnlocked,
         QString()},
        {"the user's password is not the administrator's", QStringLiteral("li"), QStringLiteral("boss"), true,
         QStringLiteral("li"), false, kAdminFailed, QStringLiteral("对不起,系统管理员密码错误!不能解锁!")},
    };
    addUser(QStringLiteral("0002"), QStringLiteral("李四"));
    loginAs(QStringLiteral("0002"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setPassword(QStringLiteral("0002"), c.userPassword == kNull ? QVariant() : QVariant(c.userPassword));
        setPassword(kAdminWorkNumber, c.adminPassword);
        db().execute(QStringLiteral("delete from 日志"));
        messages().clear();

        Tfrm_lock_system lock(QStringLiteral("0002"), QStringLiteral("李四"));
        EXPECT_FALSE(lock.Edit1->isEnabled());
        EXPECT_EQ(lock.Edit2->text(), QStringLiteral("李四"));
        {
            QSignalBlocker quiet(lock.CheckBox1);
            lock.CheckBox1->setChecked(c.administrator);
        }
        lock.Edit3->setText(c.typed);
        lock.btnLogin->click();
        EXPECT_EQ(lock.isUnlocked(), c.opens);
        EXPECT_EQ(lock.result(), c.opens ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(logTexts(), QStringList{c.log});
        EXPECT_EQ(messages().lastText(), c.message);
        if (!c.opens) {
            EXPECT_EQ(messages().shown.last().caption, QStringLiteral("系统解锁"));
            EXPECT_TRUE(lock.Edit3->text().isEmpty());
        }
    }
}

TEST_F(LockTest, TheLockDialogClosesOnlyWhenUnlocked)
{
    setPassword(kAdminWorkNumber, QStringLiteral("boss"));
    Tfrm_lock_system lock(kAdminWorkNumber, QStringLiteral("系统管理员"));
    lock.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&lock));
    QTest::keyClick(&lock, Qt::Key_Escape);
    EXPECT_TRUE(lock.isVisible());
    EXPECT_FALSE(lock.close());
    EXPECT_TRUE(lock.isVisible());
    lock.reject();
    EXPECT_TRUE(lock.isVisible());

    // Ticking the administrator box says what to type; Enter in the password box unlocks.
    lock.CheckBox1->setChecked(true);
    EXPECT_EQ(messages().lastText(), QStringLiteral("请输入系统管理员的密码解锁!"));
    EXPECT_EQ(messages().shown.last().caption, QStringLiteral("系统解锁"));
    QTest::keyClicks(lock.Edit3, QStringLiteral("boss"));
    QTest::keyClick(lock.Edit3, Qt::Key_Return);
    EXPECT_TRUE(lock.isUnlocked());
    EXPECT_FALSE(lock.isVisible());
}

TEST_F(LockTest, LockingHidesTheWindowRefusesToCloseAndComesBackWithoutStartUp)
{
    IniFile::write(kBdchangeIni, QStringLiteral("启动提示设置"), QStringLiteral("1"));
    addUser(QStringLiteral("0002"), QStringLiteral("李四"));
    setPassword(QStringLiteral("0002"), QStringLiteral("li"));
    loginAs(QStringLiteral("0002"));
    Tfrm_main window;
    window.show();

    int dialogs = 0;
    window.setDialogRunner([&](QDialog &dialog) {
        ++dialogs;
        auto *lock = qobject_cast<Tfrm_lock_system *>(&dialog);
        if (!lock) {
            ADD_FAILURE() << "only the lock dialog may open";
            return int(QDialog::Rejected);
        }
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.lockState(), QStringLiteral("NO"));
        EXPECT_FALSE(window.isFirstShowing());
        EXPECT_EQ(lock->Edit1->text(), QStringLiteral("0002"));

        // Closing while locked is refused.
        messages().clear();
        EXPECT_FALSE(window.close());
        EXPECT_EQ(messages().lastText(), QStringLiteral("系统已经锁定，暂不能关闭系统,请解锁后再关闭系统!"));
        EXPECT_EQ(messages().shown.last().caption, QStringLiteral("操作提示"));
        EXPECT_TRUE(messages().asked.isEmpty());

        lock->Edit3->setText(QStringLiteral("wrong"));
        EXPECT_FALSE(lock->attemptUnlock());
        lock->Edit3->setText(QStringLiteral("li"));
        EXPECT_TRUE(lock->attemptUnlock());
        return lock->result();
    });

    messages().answer(true);
    ASSERT_TRUE(window.openEntry(QStringLiteral("锁定计算机")));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(messages().asked.first(), QStringLiteral("确定锁定系统吗"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.lockState(), QStringLiteral("OK"));
    EXPECT_EQ(logTexts(), QStringList({QStringLiteral("锁定了进销存软件系统的操作"), kUserFailed, kUnlocked}));
    for (const auto &shown : messages().shown)
        EXPECT_FALSE(shown.text.startsWith(QStringLiteral("当前工作日期"))) << "no welcome box after the lock";
}

TEST_F(LockTest, AnsweringNoLeavesTheSystemUnlocked)
{
    Tfrm_main window;
    window.show();
    window.setDialogRunner([](QDialog &) {
        ADD_FAILURE() << "no dialog expected";
        return int(QDialog::Rejected);
    });
    messages().answer(false);
    window.lockSystem();
    EXPECT_EQ(window.lockState(), QStringLiteral("OK"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(count(QStringLiteral("日志")), 0);
}
