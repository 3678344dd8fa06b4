#include "admin/password_hash.h"
#include "common/permissions.h"
#include "core/admin/admin_fixture.h"
#include "ui/admin/modify_password_frm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace tavomi;
using tavomi::test::AdminTest;

using PasswordFormTest = AdminTest;

namespace {
const QString kNull = QStringLiteral("<null>");
}

TEST_F(PasswordFormTest, ChangePaths)
{
    struct Case
    {
        const char *name;
        QString stored; // "<null>": NULL
        QString oldTyped;
        QString newTyped;
        QString confirmTyped;
        bool useEmpty;
        QString message;
        QString opensWith; // the password that opens the account afterwards
        bool logged;
    } cases[] = {
        {"from empty to a password", QString(), QString(), QStringLiteral(" neu "), QStringLiteral("neu"), false,
         QStringLiteral("密码修改成功！"), QStringLiteral("neu"), true},
        {"wrong old password", QStringLiteral("alt"), QStringLiteral("ALT"), QStringLiteral("neu"), QStringLiteral("neu"), false,
         QStringLiteral("旧密码错误!"), QStringLiteral("alt"), false},
        {"new and confirmation differ", QStringLiteral("alt"), QStringLiteral(" alt"), QStringLiteral("neu"), QStringLiteral("nue"),
         false, QStringLiteral("输入有误！请重新输入密码"), QStringLiteral("alt"), false},
        {"new password empty", QStringLiteral("alt"), QStringLiteral("alt"), QStringLiteral("  "), QStringLiteral(""), false,
         QStringLiteral("输入有误！请重新输入密码"), QStringLiteral("alt"), false},
        {"NULL needs no old password", kNull, QStringLiteral("egal"), QStringLiteral("neu"), QStringLiteral("neu"), false,
         QStringLiteral("密码修改成功！"), QStringLiteral("neu"), true},
        {"empty password chosen", QStringLiteral("alt"), QStringLiteral("alt"), QString(), QString(), true,
         QStringLiteral("密码修改成功！"), QString(), false},
    };
    addUser(QStringLiteral("0002"), QStringLiteral("张三"));
    loginAs(QStringLiteral("0002"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setPassword(QStringLiteral("0002"), c.stored == kNull ? QVariant() : QVariant(c.stored));
        db().execute(QStringLiteral("delete from 日志"));
        messages().clear();

        Tfrm_modify_password form(QStringLiteral("张三"), QStringLiteral("0002"));
        EXPECT_TRUE(form.Edit1->isReadOnly());
        form.Edit3->setText(c.oldTyped);
        form.CheckBox1->setChecked(c.useEmpty);
        EXPECT_EQ(form.Edit4->isEnabled(), !c.useEmpty);
        form.Edit4->setText(c.newTyped);
        form.Edit5->setText(c.confirmTyped);
        form.btnOk->click();

        const bool changed = c.message == QStringLiteral("密码修改成功！");
        EXPECT_EQ(messages().lastText(), c.message);
        EXPECT_EQ(form.result(), changed ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_TRUE(passwords::matches(storedPassword(QStringLiteral("0002")), c.opensWith));
        EXPECT_EQ(logTexts(), c.logged ? QStringList{QStringLiteral("工号为：0002 成功修改密码!")} : QStringList());
        if (!changed) {
            EXPECT_TRUE(form.Edit4->text().isEmpty());
            EXPECT_TRUE(form.Edit5->text().isEmpty());
        }
    }
}

TEST_F(PasswordFormTest, CancelAndEscLogTheAbandonedChange)
{
    for (bool useEsc : {false, true}) {
        SCOPED_TRACE(useEsc);
        db().execute(QStringLiteral("delete from 日志"));
        Tfrm_modify_password form(QStringLiteral("系统管理员"), kAdminWorkNumber);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        if (useEsc)
            QTest::keyClick(&form, Qt::Key_Escape);
        else
            form.btnCancel->click();
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(logTexts(), QStringList{QStringLiteral("工号为：0001 放弃修改密码!")});
    }
}

TEST_F(PasswordFormTest, EnterWalksThroughTheBoxesAndConfirms)
{
    Tfrm_modify_password form(QStringLiteral("系统管理员"), kAdminWorkNumber);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.Edit3->setFocus();
    QTest::keyClick(form.Edit3, Qt::Key_Return);
    EXPECT_TRUE(form.Edit4->hasFocus());
    QTest::keyClicks(form.Edit4, QStringLiteral("abc"));
    QTest::keyClick(form.Edit4, Qt::Key_Return);
    EXPECT_TRUE(form.Edit5->hasFocus());
    QTest::keyClicks(form.Edit5, QStringLiteral("abc"));
    QTest::keyClick(form.Edit5, Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(passwords::matches(storedPassword(kAdminWorkNumber), QStringLiteral("abc")));
}
