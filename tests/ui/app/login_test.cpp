#include "common/identity.h"
#include "common/permissions.h"
#include "core/admin/admin_fixture.h"
#include "ui/app/user_login_frm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace tavomi;
using tavomi::test::AdminTest;

using LoginTest = AdminTest;

namespace {
const QString kNull = QStringLiteral("<null>");
}

TEST_F(LoginTest, LoginPaths)
{
    struct Case
    {
        const char *name;
        QString stored; // password of user 0002 ("<null>": NULL)
        QString workNumber;
        QString typed;
        bool loggedIn;
        QString message; // what the user reads; empty: nothing
    } cases[] = {
        {"administrator with the empty password", QString(), kAdminWorkNumber, QString(), true, QString()},
        {"empty password, empty box", QString(), QStringLiteral("0002"), QString(), true, QString()},
        {"blanks around password and number", QStringLiteral("pass"), QStringLiteral(" 0002 "), QStringLiteral("  pass "), true, QString()},
        {"wrong password", QStringLiteral("pass"), QStringLiteral("0002"), QStringLiteral("Pass"), false, QStringLiteral("对不起密码错误!不能登入")},
        {"empty box for a set password", QStringLiteral("pass"), QStringLiteral("0002"), QString(), false, QStringLiteral("对不起密码错误!不能登入")},
        {"unknown work number", QString(), QStringLiteral("0077"), QString(), false, QStringLiteral("对不起，此工号不存在!")},
        {"no work number", QString(), QStringLiteral("  "), QString(), false, QStringLiteral("请选择一个工号")},
        {"NULL password, empty box", kNull, QStringLiteral("0002"), QString(), false, QString()},
        {"NULL password, text typed", kNull, QStringLiteral("0002"), QStringLiteral("x"), false, QString()},
    };
    addUser(QStringLiteral("0002"), QStringLiteral("张三"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setPassword(QStringLiteral("0002"), c.stored == kNull ? QVariant() : QVariant(c.stored));
        LoginIdentity::current() = LoginIdentity();
        db().execute(QStringLiteral("delete from 日志"));
        messages().clear();

        TFrmUserLogin login;
        login.ComboBox1->setEditText(c.workNumber);
        login.Edit3->setText(c.typed);
        EXPECT_EQ(login.attemptLogin(), c.loggedIn);
        EXPECT_EQ(LoginIdentity::current().loggedIn, c.loggedIn);
        EXPECT_EQ(login.result(), c.loggedIn ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(messages().lastText(), c.message);
        EXPECT_EQ(count(QStringLiteral("日志")), c.loggedIn ? 1 : 0);
    }
}

TEST_F(LoginTest, SuccessfulLoginFillsTheIdentityAndWritesTheLogRow)
{
    addWarehouse(QStringLiteral("一号库"));
    addWarehouse(QStringLiteral("二号库"));
    addUser(QStringLiteral("0002"), QStringLiteral("张三"));
    LoginIdentity::current() = LoginIdentity();

    TFrmUserLogin login;
    EXPECT_EQ(login.ComboBox1->count(), 2); // 0001 and 0002
    EXPECT_EQ(login.ComboBox2->currentText(), QStringLiteral("一号库"));
    EXPECT_FALSE(login.ComboBox2->isVisibleTo(&login));
    EXPECT_TRUE(login.lblHint->text().contains(kAdminWorkNumber));
    login.ComboBox1->setEditText(QStringLiteral("0002"));
    ASSERT_TRUE(login.attemptLogin());

    const LoginIdentity &who = LoginIdentity::current();
    EXPECT_EQ(who.workNumber, QStringLiteral("0002"));
    EXPECT_EQ(who.userName, QStringLiteral("张三"));
    EXPECT_EQ(who.site, QStringLiteral("一号库"));
    EXPECT_EQ(who.loginDate, QStringLiteral("2026-03-15"));
    EXPECT_EQ(who.loginTime, QStringLiteral("09:30:00"));
    EXPECT_EQ(who.companyName, QStringLiteral("还未填写公司信息"));
    EXPECT_EQ(login.Edit2->text(), QStringLiteral("张三"));

    const auto rows = logRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first().text, QStringLiteral("销售站点为： 工号为：0002 姓名为:张三 的操作员成功登入了进销存软件系统"));
    EXPECT_EQ(rows.first().category, QStringLiteral("重要"));
    EXPECT_EQ(rows.first().workNumber, QStringLiteral("0002"));
    EXPECT_EQ(rows.first().userName, QStringLiteral("张三"));
}

TEST_F(LoginTest, CompanyNameComesFromTheCompanyRow)
{
    db().execute(QStringLiteral("insert into 报表参数(公司名) values(?)"), {QStringLiteral("顺达商贸")});
    TFrmUserLogin login;
    login.ComboBox1->setEditText(kAdminWorkNumber);
    ASSERT_TRUE(login.attemptLogin());
    EXPECT_EQ(LoginIdentity::current().companyName, QStringLiteral("顺达商贸"));
    EXPECT_TRUE(LoginIdentity::current().site.isEmpty());
}

TEST_F(LoginTest, ThePasswordIsCheckedForTheNumberInTheBoxNotTheLastLookup)
{
    addUser(QStringLiteral("0002"), QStringLiteral("张三"));
    setPassword(QStringLiteral("0002"), QStringLiteral("zhang"));
    TFrmUserLogin login;
    login.ComboBox1->setEditText(kAdminWorkNumber);
    ASSERT_TRUE(login.lookupName());
    EXPECT_EQ(login.Edit2->text(), QStringLiteral("系统管理员"));
    // The number is changed after the lookup; the administrator's empty password must not open 0002.
    login.ComboBox1->setEditText(QStringLiteral("0002"));
    EXPECT_FALSE(login.attemptLogin());
    EXPECT_FALSE(LoginIdentity::current().loggedIn && LoginIdentity::current().workNumber == QStringLiteral("0002"));
    EXPECT_EQ(messages().lastText(), QStringLiteral("对不起密码错误!不能登入"));
}

TEST_F(LoginTest, LookupOfAnUnknownNumberClearsTheBoxes)
{
    TFrmUserLogin login;
    login.ComboBox1->setEditText(QStringLiteral("0077"));
    login.Edit2->setText(QStringLiteral("旧名字"));
    login.Edit3->setText(QStringLiteral("abc"));
    EXPECT_FALSE(login.lookupName());
    EXPECT_TRUE(login.Edit2->text().isEmpty());
    EXPECT_TRUE(login.Edit3->text().isEmpty());
    EXPECT_EQ(messages().lastText(), QStringLiteral("对不起，此工号不存在!"));
}

TEST_F(LoginTest, EnterMovesFromTheNumberToThePasswordAndLogsIn)
{
    addUser(QStringLiteral("0002"), QStringLiteral("张三"));
    LoginIdentity::current() = LoginIdentity();
    TFrmUserLogin login;
    login.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&login));
    EXPECT_TRUE(login.ComboBox1->hasFocus());
    QTest::keyClicks(login.ComboBox1->lineEdit(), QStringLiteral("0002"));
    QTest::keyClick(login.ComboBox1->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(login.Edit3->hasFocus());
    EXPECT_EQ(login.Edit2->text(), QStringLiteral("张三")); // looked up on entering the password box
    QTest::keyClick(login.Edit3, Qt::Key_Return);
    EXPECT_TRUE(LoginIdentity::current().loggedIn);
    EXPECT_FALSE(login.isVisible());
}

TEST_F(LoginTest, CancelEscAndTheClosePictureGiveUp)
{
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        LoginIdentity::current() = LoginIdentity();
        TFrmUserLogin login;
        login.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&login));
        if (way == 0)
            login.btnCancel->click();
        else if (way == 1)
            QTest::keyClick(&login, Qt::Key_Escape);
        else
            QTest::mouseClick(login.imgClose, Qt::LeftButton);
        EXPECT_EQ(login.result(), QDialog::Rejected);
        EXPECT_FALSE(login.isVisible());
        EXPECT_FALSE(LoginIdentity::current().loggedIn);
    }
}
