#include "admin/users.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "core/admin/admin_fixture.h"
#include "ui/admin/useradd_frm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>

using namespace tavomi;
using tavomi::test::AdminTest;

class UserFormTest : public AdminTest
{
protected:
    QStringList storedRights(const QString &workNumber)
    {
        return UserService(db()).user(workNumber).value_or(UserRecord()).rights;
    }
    // Fills the boxes of a new user that passes every check.
    void fillNewUser(TFrm_UserAdd &form, const QString &number = QStringLiteral("0008"))
    {
        form.newUser();
        form.Edit1->setText(QStringLiteral("赵六"));
        form.Edit2->setText(number);
        form.ComboBox1->setCurrentText(QStringLiteral("仓库管理员"));
    }
};

TEST_F(UserFormTest, ListsEveryoneButTheAdministratorAndTheUserHimself)
{
    addUser(QStringLiteral("0002"), QStringLiteral("张三"), {QStringLiteral("增加操作员")});
    addUser(QStringLiteral("0003"), QStringLiteral("李四"));
    loginAs(QStringLiteral("0002"));
    TFrm_UserAdd form;
    EXPECT_EQ(form.listedWorkNumbers(), QStringList{QStringLiteral("0003")});
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("李四"));
    EXPECT_FALSE(form.isEditing());
    EXPECT_FALSE(form.Edit1->isEnabled());
    EXPECT_FALSE(form.permissionBox(QStringLiteral("库存查询"))->isEnabled());

    loginAs(kAdminWorkNumber);
    db().execute(QStringLiteral("delete from 权限密码 where 工号<>?"), {kAdminWorkNumber});
    TFrm_UserAdd empty;
    EXPECT_TRUE(empty.listedWorkNumbers().isEmpty());
    EXPECT_FALSE(empty.btnModify->isEnabled());
}

TEST_F(UserFormTest, ANewUserIsStoredOnlyWhenSaved)
{
    TFrm_UserAdd form;
    form.btnNew->click();
    EXPECT_EQ(messages().lastText(), QStringLiteral("新的工号已经生成了,请及时更改密码和工号!"));
    EXPECT_TRUE(form.isEditing());
    EXPECT_EQ(form.Edit2->text(), QStringLiteral("0000"));
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("操作员"));
    EXPECT_EQ(form.ComboBox1->currentText(), QStringLiteral("级别"));
    EXPECT_EQ(count(QStringLiteral("权限密码")), 1); // nothing stored yet: nobody can log in as 0000
    for (const QString &column : permissionColumns()) {
        const bool expected = templatePermissionColumns().contains(column) && column != QStringLiteral("POS前台销售")
            && column != QStringLiteral("可查看商品进价");
        EXPECT_EQ(form.permissionBox(column)->isChecked(), expected) << column.toStdString();
    }

    // Abandoning writes its log row and nothing else.
    form.btnCancel->click();
    EXPECT_FALSE(form.isEditing());
    EXPECT_EQ(count(QStringLiteral("权限密码")), 1);
    EXPECT_EQ(logTexts(), QStringList{QStringLiteral("放弃新增的工号,放弃的工号为:0000")});
}

TEST_F(UserFormTest, SaveChecksInOrder)
{
    addUser(QStringLiteral("0002"), QStringLiteral("张三"));
    struct Case
    {
        const char *name;
        QString number;
        QString level;
        QString userName;
        QString refusal;
    } cases[] = {
        {"template number kept", QStringLiteral("0000"), QStringLiteral("级别"), QString(),
         QStringLiteral("如果是新增加的操作员请你先把工号修改后再保存!")},
        {"empty number", QString(), QStringLiteral("经理"), QStringLiteral("赵六"),
         QStringLiteral("如果是新增加的操作员请你先把工号修改后再保存!")},
        {"template level kept", QStringLiteral("0008"), QStringLiteral("级别"), QString(), QStringLiteral("请先修改级别后再保存!")},
        {"number taken", QStringLiteral("0002"), QStringLiteral("经理"), QString(),
         QStringLiteral("已经有相同的工号了，请你输入其它的工号!")},
        {"administrator's number", kAdminWorkNumber, QStringLiteral("经理"), QStringLiteral("赵六"),
         QStringLiteral("已经有相同的工号了，请你输入其它的工号!")},
        {"no name", QStringLiteral("0008"), QStringLiteral("经理"), QString(), QStringLiteral("请选择一个用户！")},
    };
    TFrm_UserAdd form;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        form.newUser();
        form.Edit1->setText(c.userName);
        form.Edit2->setText(c.number);
        form.ComboBox1->setCurrentText(c.level);
        messages().clear();
        EXPECT_FALSE(form.saveUser());
        ASSERT_EQ(messages().shown.size(), 1);
        EXPECT_EQ(messages().lastText(), c.refusal);
        EXPECT_EQ(messages().shown.last().caption, QStringLiteral("增加操作员"));
        EXPECT_TRUE(messages().asked.isEmpty());
        EXPECT_TRUE(form.isEditing());
        form.cancelEdit();
    }
    EXPECT_EQ(count(QStringLiteral("权限密码")), 2);

    // Answering No to the question stores nothing and stays in change mode.
    fillNewUser(form);
    messages().answer(false);
    EXPECT_FALSE(form.saveUser());
    EXPECT_EQ(messages().asked.last(), QStringLiteral("确定修改资料吗？"));
    EXPECT_TRUE(form.isEditing());
    EXPECT_EQ(count(QStringLiteral("权限密码")), 2);
}

TEST_F(UserFormTest, SavingANewUserWritesExactlyTheTickedState)
{
    TFrm_UserAdd form;
    fillNewUser(form);
    form.permissionBox(QStringLiteral("库存查询"))->setChecked(false);
    form.permissionBox(QStringLiteral("POS前台销售"))->setChecked(true);
    QStringList expected;
    for (const QString &column : permissionColumns())
        if (form.permissionBox(column)->isChecked())
            expected << column;
    messages().answer(true);
    ASSERT_TRUE(form.saveUser());

    EXPECT_EQ(messages().lastText(), QStringLiteral("修改成功！"));
    EXPECT_FALSE(form.isEditing());
    EXPECT_EQ(form.listedWorkNumbers(), QStringList{QStringLiteral("0008")});
    EXPECT_EQ(storedRights(QStringLiteral("0008")), expected);
    const UserRecord stored = *UserService(db()).user(QStringLiteral("0008"));
    EXPECT_EQ(stored.name, QStringLiteral("赵六"));
    EXPECT_EQ(stored.level, QStringLiteral("仓库管理员"));
    EXPECT_EQ(stored.site, QStringLiteral("未设站点"));
    EXPECT_EQ(storedPassword(QStringLiteral("0008")), QVariant(QString(QLatin1String("")))); // logs in with an empty box
    EXPECT_EQ(count(QStringLiteral("权限密码"), QStringLiteral("工号=?"), {QStringLiteral("0000")}), 0);
    EXPECT_EQ(logTexts(), QStringList{QStringLiteral("成功增加/修改一条操作员记录,将工号：0000 修改为：0008")});
}

TEST_F(UserFormTest, ChangingAUserKeepsHisPasswordAndMayRenumberHim)
{
    addUser(QStringLiteral("0002"), QStringLiteral("O'Neil"), {QStringLiteral("库存查询")});
    setPassword(QStringLiteral("0002"), QStringLiteral("pw"));
    const QVariant password = storedPassword(QStringLiteral("0002"));
    TFrm_UserAdd form;
    form.selectUser(QStringLiteral("0002"));
    form.btnModify->click();
    ASSERT_TRUE(form.isEditing());
    EXPECT_TRUE(form.permissionBox(QStringLiteral("库存查询"))->isChecked());
    EXPECT_TRUE(form.permissionBox(QStringLiteral("库存查询"))->isEnabled());
    form.btnAll->click();
    form.permissionBox(QStringLiteral("数据恢复"))->setChecked(false);
    form.Edit2->setText(QStringLiteral("0012"));
    form.ComboBox1->setCurrentText(QStringLiteral("经理"));
    messages().answer(true);
    ASSERT_TRUE(form.saveUser());

    EXPECT_EQ(count(QStringLiteral("权限密码"), QStringLiteral("工号=?"), {QStringLiteral("0002")}), 0);
    QStringList all = permissionColumns();
    all.removeAll(QStringLiteral("数据恢复"));
    EXPECT_EQ(storedRights(QStringLiteral("0012")), all);
    EXPECT_EQ(storedPassword(QStringLiteral("0012")), password);
    EXPECT_EQ(UserService(db()).user(QStringLiteral("0012"))->name, QStringLiteral("O'Neil"));
    EXPECT_EQ(logTexts(), QStringList{QStringLiteral("成功增加/修改一条操作员记录,将工号：0002 修改为：0012")});
}

TEST_F(UserFormTest, TickAllAndCloseAreRefusedInTheWrongMode)
{
    addUser(QStringLiteral("0002"), QStringLiteral("张三"));
    TFrm_UserAdd form;
    form.tickAll(true);
    EXPECT_EQ(messages().lastText(), QStringLiteral("对不起，请你选按修改按钮!"));
    EXPECT_FALSE(form.permissionBox(QStringLiteral("数据恢复"))->isChecked());

    form.show();
    form.btnModify->click();
    messages().clear();
    EXPECT_FALSE(form.close());
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(messages().texts(), QStringList(2, QStringLiteral("你还有操作没有完成，不能关闭窗口")));
    EXPECT_EQ(messages().shown.last().caption, QStringLiteral("增加操作员"));

    form.btnCancel->click();
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
}

TEST_F(UserFormTest, DeleteReportsSuccessOnlyWhenARowWent)
{
    addUser(QStringLiteral("0002"), QStringLiteral("张三"));
    addUser(QStringLiteral("0003"), QStringLiteral("李四"));
    TFrm_UserAdd form;
    form.selectUser(QStringLiteral("0002"));

    messages().answer(false);
    EXPECT_FALSE(form.deleteUser());
    EXPECT_EQ(messages().asked.last(), QStringLiteral("确定删除当前选择用户吗？"));
    EXPECT_EQ(count(QStringLiteral("权限密码")), 3);

    messages().answer(true);
    EXPECT_TRUE(form.deleteUser());
    EXPECT_EQ(messages().lastText(), QStringLiteral("删除成功！"));
    EXPECT_EQ(form.listedWorkNumbers(), QStringList{QStringLiteral("0003")});
    EXPECT_EQ(logTexts(), QStringList{QStringLiteral("成功删除操作员工号,删除的工号为:0002")});

    // Another workstation removed the row in the meantime: no success, no log row.
    db().execute(QStringLiteral("delete from 权限密码 where 工号=?"), {QStringLiteral("0003")});
    messages().answer(true);
    EXPECT_FALSE(form.deleteUser());
    EXPECT_NE(messages().lastText(), QStringLiteral("删除成功！"));
    EXPECT_EQ(count(QStringLiteral("日志")), 1);
}

TEST_F(UserFormTest, TheWorkNumberBoxTakesDigitsAndDotsOnly)
{
    TFrm_UserAdd form;
    form.newUser();
    form.Edit2->clear();
    QTest::keyClicks(form.Edit2, QStringLiteral("1a2.b3-"));
    EXPECT_EQ(form.Edit2->text(), QStringLiteral("12.3"));
    for (const QString &hidden : TFrm_UserAdd::hiddenPermissions())
        EXPECT_FALSE(form.permissionBox(hidden)->isVisibleTo(&form)) << hidden.toStdString();
    EXPECT_TRUE(form.permissionBox(QStringLiteral("库存查询"))->isVisibleTo(&form));
    form.cancelEdit();
}
