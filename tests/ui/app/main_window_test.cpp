#include "common/identity.h"
#include "common/permissions.h"
#include "core/admin/admin_fixture.h"
#include "platform/ini_file.h"
#include "ui/admin/useradd_frm.h"
#include "ui/app/form_registry.h"
#include "ui/app/main_frm.h"
#include "ui/app/menu_table.h"
#include "ui/app/user_login_frm.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include <memory>

using namespace tavomi;
using tavomi::test::AdminTest;

namespace {

struct Opened
{
    QString form;
    QStringList arguments;
};

// Replaces forms with recorders for the length of a test.
class FakeForms
{
public:
    void fake(const QString &form, std::function<void()> whileOpen = {})
    {
        m_overrides.push_back(std::make_unique<FormRegistry::Override>(
            form, [this, form, whileOpen](QWidget *, const QStringList &arguments) {
                opened.append({form, arguments});
                if (whileOpen)
                    whileOpen();
            }));
    }
    QStringList forms() const
    {
        QStringList out;
        for (const Opened &o : opened)
            out << o.form;
        return out;
    }
    QList<Opened> opened;

private:
    std::vector<std::unique_ptr<FormRegistry::Override>> m_overrides;
};

Tfrm_main::DialogRunner loginWith(const QString &workNumber, const QString &password = QString())
{
    return [workNumber, password](QDialog &dialog) {
        auto *login = qobject_cast<TFrmUserLogin *>(&dialog);
        if (!login) {
            ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString();
            return int(QDialog::Rejected);
        }
        login->ComboBox1->setEditText(workNumber);
        login->Edit3->setText(password);
        login->attemptLogin();
        return login->result();
    };
}

} // namespace

class MainWindowTest : public AdminTest
{
protected:
    void skipDefaultsPage() { IniFile::write(kBdchangeIni, QStringLiteral("启动提示设置"), QStringLiteral("1")); }
};

TEST_F(MainWindowTest, StartUpGreetsLogsInAndFillsTheStatusBar)
{
    skipDefaultsPage();
    Tfrm_main window;
    window.setDialogRunner(loginWith(kAdminWorkNumber));
    ASSERT_TRUE(window.start());

    ASSERT_FALSE(messages().shown.isEmpty());
    EXPECT_EQ(messages().shown.first().kind, MessageKind::Information);
    EXPECT_EQ(messages().shown.first().caption, QStringLiteral("操作提示"));
    EXPECT_EQ(messages().shown.first().text, QStringLiteral("当前工作日期:2026-03-15日   祝您使用愉快!"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMaximized());
    EXPECT_EQ(window.lockState(), QStringLiteral("OK"));
    EXPECT_EQ(window.statusTexts(),
              QStringList({QStringLiteral("  操作日期："), QStringLiteral("2026-03-15"), QStringLiteral("操作员："),
                           QStringLiteral(" 系统管理员")}));
    EXPECT_EQ(count(QStringLiteral("日志")), 1);
}

TEST_F(MainWindowTest, WithoutALoginTheProgramEnds)
{
    Tfrm_main window;
    window.setDialogRunner([](QDialog &dialog) {
        dialog.reject();
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(window.start());
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(LoginIdentity::current().loggedIn);
}

TEST_F(MainWindowTest, TheDefaultsPageOpensAtStartUnlessSwitchedOff)
{
    struct Case
    {
        const char *name;
        QString setting; // "<none>": key missing
        bool withRight;
        bool opens;
        bool refused;
    } cases[] = {
        {"key missing", QStringLiteral("<none>"), true, true, false},
        {"switched on", QStringLiteral("0"), true, true, false},
        {"switched off", QStringLiteral("1"), true, false, false},
        {"no right: refusal at every login", QStringLiteral("<none>"), false, false, true},
    };
    addUser(QStringLiteral("0002"), QStringLiteral("张三"));
    addUser(QStringLiteral("0003"), QStringLiteral("李四"), {QStringLiteral("默认资料设置")});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        IniFile ini(folder() + QStringLiteral("/bdchange.ini"));
        ini.remove(kIniSection, QStringLiteral("启动提示设置"));
        if (c.setting != QLatin1String("<none>"))
            ini.setValue(kIniSection, QStringLiteral("启动提示设置"), c.setting);
        ini.save();
        messages().clear();
        FakeForms forms;
        forms.fake(QStringLiteral("Tfrm_jczlsz"));

        Tfrm_main window;
        window.setDialogRunner(loginWith(c.withRight ? QStringLiteral("0003") : QStringLiteral("0002")));
        ASSERT_TRUE(window.start());
        EXPECT_EQ(forms.opened.size(), c.opens ? 1 : 0);
        if (c.opens) {
            EXPECT_EQ(forms.opened.first().arguments, QStringList{QStringLiteral("默认资料设置")});
        }
        EXPECT_EQ(messages().lastText() == kNoRightText, c.refused);
    }
}

TEST_F(MainWindowTest, ACashierGoesStraightToTheCounter)
{
    skipDefaultsPage();
    addUser(QStringLiteral("0002"), QStringLiteral("收银员"), {QStringLiteral("POS前台销售")});
    addUser(QStringLiteral("0003"), QStringLiteral("文员"), {QStringLiteral("采购进货开票")});
    addWarehouse(QStringLiteral("门店"));
    db().execute(QStringLiteral("insert into 银行帐户表(编号,账户名称,期初额,期未额) values(?,?,?,?)"),
                 {QStringLiteral("01"), QStringLiteral("收银柜"), 0.0, 0.0});

    struct Case
    {
        const char *name;
        QString workNumber;
        bool defaultsSet;
        bool windowShown;
        QStringList opened;
        QString message;
    } cases[] = {
        {"cashier", QStringLiteral("0002"), true, false, {QStringLiteral("Tfrm_sell_pos")}, QString()},
        {"cashier without POS defaults", QStringLiteral("0002"), false, false, {QStringLiteral("Tfrm_Default")},
         QStringLiteral("请先设置POS前台销售的初始资料!")},
        {"administrator keeps the main window", kAdminWorkNumber, true, true, {}, QString()},
        {"clerk without the column", QStringLiteral("0003"), true, true, {}, QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        db().execute(QStringLiteral("update 默认资料表 set POS仓库=?, 收款去向=? where 指针=?"),
                     {c.defaultsSet ? QStringLiteral("门店") : QString(QLatin1String("")),
                      c.defaultsSet ? QStringLiteral("收银柜") : QString(QLatin1String("")), QStringLiteral("商场POS")});
        messages().clear();
        FakeForms forms;
        forms.fake(QStringLiteral("Tfrm_sell_pos"));
        forms.fake(QStringLiteral("Tfrm_Default"));

        Tfrm_main window;
        window.setDialogRunner(loginWith(c.workNumber));
        EXPECT_EQ(window.start(), c.windowShown);
        EXPECT_EQ(window.isVisible(), c.windowShown);
        EXPECT_EQ(forms.forms(), c.opened);
        if (c.opened == QStringList{QStringLiteral("Tfrm_sell_pos")}) {
            EXPECT_EQ(forms.opened.first().arguments, QStringList({QStringLiteral("门店"), QStringLiteral("收银柜")}));
        }
        if (!c.message.isEmpty()) {
            EXPECT_EQ(messages().lastText(), c.message);
            EXPECT_EQ(messages().shown.last().kind, MessageKind::Warning);
        }
    }
}

TEST_F(MainWindowTest, AGuardedEntryIsRefusedFromMenuIconAndCaption)
{
    addUser(QStringLiteral("0002"), QStringLiteral("张三"), {QStringLiteral("库存查询")});
    loginAs(QStringLiteral("0002"));
    FakeForms forms;
    forms.fake(QStringLiteral("TFrm_UserAdd"));
    Tfrm_main window;

    EXPECT_FALSE(window.openEntry(QStringLiteral("用户/授权设置")));
    ASSERT_EQ(messages().shown.size(), 1);
    EXPECT_EQ(messages().shown.first().kind, MessageKind::Warning);
    EXPECT_EQ(messages().shown.first().caption, QStringLiteral("操作提示"));
    EXPECT_EQ(messages().shown.first().text, QStringLiteral("对不起,你没有操作此功能的权限,请您联系-系统管理员"));

    // The menu action and the icon on the "系统设置" page take the same road.
    for (QObject *control : window.entryControls(QStringLiteral("用户/授权设置"))) {
        if (auto *action = qobject_cast<QAction *>(control))
            action->trigger();
    }
    for (QObject *control : window.entryControls(QStringLiteral("用户/授权设置"))) {
        if (auto *label = qobject_cast<QLabel *>(control)) {
            window.selectPage(4);
            window.show();
            QTest::mouseClick(label, Qt::LeftButton);
        }
    }
    EXPECT_EQ(messages().shown.size(), 3);
    EXPECT_TRUE(forms.opened.isEmpty());
}

TEST_F(MainWindowTest, LogRowsBeforeAndAfterOpening)
{
    FakeForms forms;
    int rowsWhileOpen = -1;
    forms.fake(QStringLiteral("Tfrm_bank_xjl"), [&] { rowsWhileOpen = count(QStringLiteral("日志")); });
    forms.fake(QStringLiteral("Tfrm_databack"), [&] { rowsWhileOpen = count(QStringLiteral("日志")); });
    Tfrm_main window;

    ASSERT_TRUE(window.openEntry(QStringLiteral("银行现金流查询")));
    EXPECT_EQ(rowsWhileOpen, 1);
    ASSERT_TRUE(window.openEntry(QStringLiteral("备份数据库")));
    EXPECT_EQ(rowsWhileOpen, 1);
    EXPECT_EQ(forms.opened.last().arguments, QStringList{QStringLiteral("backup")});
    const auto rows = logRows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.at(0).text, QStringLiteral("银行现金流查询操作"));
    EXPECT_EQ(rows.at(0).category, QStringLiteral("重要"));
    EXPECT_EQ(rows.at(1).text, QStringLiteral("执行数据库备注操作"));
}

TEST_F(MainWindowTest, EntriesWithoutTheirFormAreDisabledAndOpenNothing)
{
    Tfrm_main window;
    const MenuEntry *missing = nullptr;
    for (const MenuEntry &e : menuTable()) {
        const bool available = Tfrm_main::isEntryAvailable(e);
        if (!available && !missing)
            missing = &e;
        const QList<QObject *> controls = window.entryControls(e.caption);
        EXPECT_FALSE(controls.isEmpty()) << e.caption.toStdString();
        for (QObject *control : controls) {
            auto *action = qobject_cast<QAction *>(control);
            auto *widget = qobject_cast<QWidget *>(control);
            if (action && !action->isVisible())
                continue; // hidden entries are neither shown nor enabled
            const bool enabled = action ? action->isEnabled() : widget->isEnabled();
            const QString tip = action ? action->toolTip() : widget->toolTip();
            EXPECT_EQ(enabled, Tfrm_main::isEntryAvailable(*findMenuEntry(e.caption))) << e.caption.toStdString();
            if (!enabled) {
                EXPECT_EQ(tip, QStringLiteral("此功能尚未开放"));
            }
        }
    }
    if (!missing)
        GTEST_SKIP() << "every form exists";
    EXPECT_FALSE(window.openEntry(missing->caption));
    EXPECT_TRUE(messages().shown.isEmpty());
    EXPECT_EQ(count(QStringLiteral("日志")), 0);
}

TEST_F(MainWindowTest, MenusPagesAndPopupFollowTheTable)
{
    Tfrm_main window;
    QStringList titles;
    for (QAction *a : window.menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, QStringList({QStringLiteral("[基础资料]"), QStringLiteral("[采购管理]"), QStringLiteral("[销售管理]"),
                                   QStringLiteral("[仓库管理]"), QStringLiteral("[财务管理]"), QStringLiteral("[报表与统计]"),
                                   QStringLiteral("[其它功能]"), QStringLiteral("[系统控制]")}));
    for (const char *hidden : {"会员资料设置", "采购订货开票", "销售订单", "借出归还(借记货物)", "采购订单报表", "销售订单报表",
                               "公司信息设置", "系统锁定", "销售站点增设"}) {
        const QString caption = QString::fromUtf8(hidden);
        bool found = false;
        for (QObject *control : window.entryControls(caption))
            if (auto *action = qobject_cast<QAction *>(control); action && window.popupMenu()->actions().indexOf(action) < 0) {
                found = true;
                EXPECT_FALSE(action->isVisible()) << hidden;
            }
        EXPECT_TRUE(found) << hidden;
    }
    QStringList popup;
    for (QAction *a : window.popupMenu()->actions())
        popup << a->text();
    EXPECT_EQ(popup, QStringList({QStringLiteral("商品资料"), QStringLiteral("客户资料"), QStringLiteral("供应商资料"),
                                  QStringLiteral("计量单位"), QStringLiteral("锁定计算机")}));

    // The selected page's button carries ">>" once.
    window.selectPage(1);
    window.selectPage(1);
    EXPECT_EQ(window.pageButton(1)->text(), QStringLiteral("销售管理>>"));
    window.show();
    QTest::mouseClick(window.pageButton(3), Qt::LeftButton);
    EXPECT_EQ(window.currentPage(), 3);
    EXPECT_EQ(window.pageButton(3)->text(), QStringLiteral("财务管理>>"));
    EXPECT_EQ(window.pageButton(1)->text(), QStringLiteral("销售管理"));
}

TEST_F(MainWindowTest, LabelsTurnBlueAndUnderlinedUnderTheMouse)
{
    Tfrm_main window;
    QLabel *label = nullptr;
    for (QObject *control : window.entryControls(QStringLiteral("密码更改")))
        if (auto *l = qobject_cast<QLabel *>(control))
            label = l;
    ASSERT_TRUE(label);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(label, &enter);
    EXPECT_TRUE(label->font().underline());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::blue));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(label, &leave);
    EXPECT_FALSE(label->font().underline());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST_F(MainWindowTest, ClosingAsksRemindsAndLogs)
{
    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes);
        messages().clear();
        messages().answer(yes);
        Tfrm_main window;
        window.show();
        EXPECT_EQ(window.close(), yes);
        EXPECT_EQ(messages().asked, QStringList{QStringLiteral("是否退出管理系统？")});
        EXPECT_EQ(window.isVisible(), !yes);
        EXPECT_EQ(count(QStringLiteral("日志"), QStringLiteral("操作内容=?"),
                        {QStringLiteral("销售站点为： 姓名为：系统管理员 工号为：0001 成功退出进销存管理软件")}),
                  yes ? 1 : 0);
        if (yes) {
            EXPECT_EQ(messages().lastText(), QStringLiteral("请您养成良好的数据备份习惯!每天请及时备份您的数据库!"));
        }
    }
}

TEST_F(MainWindowTest, TextEditorAndCalculatorStartFromTheirCommands)
{
    Tfrm_main window;
    QString program;
    QStringList arguments;
    bool starts = true;
    window.setLauncher([&](const QString &p, const QStringList &a) {
        program = p;
        arguments = a;
        return starts;
    });

    IniFile::write(kBdchangeIni, Tfrm_main::kTextEditorKey, QStringLiteral("myeditor --new-window"));
    ASSERT_TRUE(window.openEntry(QStringLiteral("记事本")));
    EXPECT_EQ(program, QStringLiteral("myeditor"));
    EXPECT_EQ(arguments, QStringList{QStringLiteral("--new-window")});
    EXPECT_TRUE(messages().shown.isEmpty());

    starts = false;
    window.openEntry(QStringLiteral("记事本"));
    EXPECT_TRUE(messages().lastText().startsWith(QStringLiteral("无法启动记事本")));

    // Nothing configured and nothing installed: the user is told where to set it.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", folder().toLocal8Bit());
    program.clear();
    window.openEntry(QStringLiteral("计算器"));
    qputenv("PATH", path);
    EXPECT_TRUE(program.isEmpty());
    EXPECT_TRUE(messages().lastText().contains(QStringLiteral("没有找到计算器")));
    EXPECT_TRUE(messages().lastText().contains(Tfrm_main::kCalculatorKey));
}

TEST_F(MainWindowTest, TheHelpVideoIsHandedToTheDesktopAfterItsNote)
{
    Tfrm_main window;
    QUrl opened;
    window.setUrlOpener([&](const QUrl &url) {
        opened = url;
        return true;
    });
    ASSERT_TRUE(window.openEntry(QStringLiteral("视频操作演示")));
    EXPECT_TRUE(messages().lastText().startsWith(QStringLiteral("说明：如果您的电脑没有安装任何播放器")));
    EXPECT_EQ(opened.toLocalFile(), folder() + QStringLiteral("/help/myhelp.wmv"));
}

// A new user is created in the user form with a few permissions, logs in, and can open exactly
// the entries those permissions (or no permission) allow.
TEST_F(MainWindowTest, ANewUserSeesExactlyTheEntriesHeMayOpen)
{
    const QStringList granted = {QStringLiteral("采购进货开票"), QStringLiteral("库存查询"), QStringLiteral("银行账户信息增加")};
    {
        TFrm_UserAdd users;
        users.newUser();
        users.Edit1->setText(QStringLiteral("王五"));
        users.Edit2->setText(QStringLiteral("0005"));
        users.ComboBox1->setCurrentText(QStringLiteral("采购员"));
        users.tickAll(false);
        for (const QString &column : granted)
            users.permissionBox(column)->setChecked(true);
        messages().answer(true);
        ASSERT_TRUE(users.saveUser());
    }
    skipDefaultsPage();

    // Every form exists for this test, so every entry is enabled and only the permission decides.
    FakeForms forms;
    QSet<QString> targets;
    for (const MenuEntry &e : menuTable())
        if (e.action == EntryAction::OpenForm)
            targets.insert(e.form);
    targets.insert(QStringLiteral("Tfrm_sell_pos"));
    for (const QString &t : targets)
        forms.fake(t);

    Tfrm_main window;
    window.setDialogRunner(loginWith(QStringLiteral("0005")));
    ASSERT_TRUE(window.start());
    EXPECT_EQ(LoginIdentity::current().userName, QStringLiteral("王五"));

    QStringList mayOpen;
    QStringList opened;
    for (const MenuEntry &e : menuTable()) {
        if (e.hidden || (e.action != EntryAction::OpenForm && e.action != EntryAction::FrontCounterSale))
            continue;
        if (e.right.isEmpty() || granted.contains(e.right))
            mayOpen << e.caption;
        messages().clear();
        if (window.openEntry(e.caption))
            opened << e.caption;
        else
            EXPECT_EQ(messages().lastText(), kNoRightText) << e.caption.toStdString();
    }
    EXPECT_EQ(opened, mayOpen);
    // The entries he may open: his three functions and the unguarded ones.
    EXPECT_TRUE(opened.contains(QStringLiteral("进货入库")));
    EXPECT_TRUE(opened.contains(QStringLiteral("商品库存")));
    EXPECT_TRUE(opened.contains(QStringLiteral("经手人设置")));
    EXPECT_TRUE(opened.contains(QStringLiteral("登陆密码更改")));
    EXPECT_FALSE(opened.contains(QStringLiteral("用户/授权设置")));
    EXPECT_FALSE(opened.contains(QStringLiteral("前台POS销售")));
}
