#include "common/permissions.h"
#include "support/test_db.h"
#include "ui/app/form_registry.h"
#include "ui/app/main_frm.h"
#include "ui/app/menu_table.h"
#include "ui/common/data_grid.h"
#include "ui/common/report_view.h"
#include "ui/masterdata/hyxx_frm.h"
#include "ui/masterdata/khzl_frm.h"
#include "ui/masterdata/prvice_frm.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSet>

#include <functional>
#include <memory>

using namespace tavomi;
using tavomi::test::DbTest;
using S = QString;

namespace {

// The sheet of an exported workbook, as text.
QString sheetText(const QString &file)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, QStringLiteral("xl/worksheets/sheet1.xml")});
    unzip.waitForFinished();
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

} // namespace

using MasterOutputTest = DbTest;

TEST_F(MasterOutputTest, ListsExportAndPrintWhatTheyShow)
{
    struct Case
    {
        const char *name;
        std::function<std::unique_ptr<MasterDataForm>()> open;
        std::function<void()> addRow;
        QString shown;        // a value of the added row
        QString exportName;   // empty: the form has no export
        QString exportTitle;  // a column title of the export
        QString printTemplate; // empty: the form has no print
        QString printTitle;   // a column title of the print
        QString printLog;
        QString printRight;   // empty: printing needs no permission
    } cases[] = {
        {"customers", [] { return std::make_unique<Tfrm_khzl>(); },
         [this] { addCustomer(S("ZS"), S("张三商行")); }, S("张三商行"), S("客户信息"), S("客户名称"),
         S("zcfrf/khzl_report.frf"), S("售价性质"), S("打印客户资料"), S("客户资料打印")},
        {"suppliers", [] { return std::make_unique<Tfrm_prvice>(); },
         [this] { addSupplier(S("HX"), S("华鑫食品")); }, S("华鑫食品"), S("供商信息"), S("公司名"),
         S("zcfrf/gyszl_report.frf"), S("联系人"), S("打印供应商资料"), S()},
        {"staff", [] { return std::make_unique<Tfrm_ywy_info>(); },
         [this] {
             db().execute(S("insert into 业务员(客服代号,业务员姓名,电话) values(?,?,?)"), {S("01"), S("李四"), S("8123")});
         },
         S("李四"), S("业务员信息"), S("家庭电话"), S(), S(), S(), S()},
        {"members", [] { return std::make_unique<Tfrm_hyxx>(); }, {}, S(), S(), S(), S(), S(), S(), S()},
        {"borrowers", [] { return std::make_unique<Tfrm_jhrzlgl>(); }, {}, S(), S(), S(), S(), S(), S(), S()},
    };
    addUser(S("0002"), S("王五"), {S("客户资料查询"), S("供应商信息管理")});

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        loginAs(kAdminWorkNumber);
        messages().clear();
        std::unique_ptr<MasterDataForm> f = c.open();
        EXPECT_EQ(f->button(S("导出EXCEL")) != nullptr, !c.exportName.isEmpty());
        EXPECT_EQ(f->button(S("打印")) != nullptr, !c.printTemplate.isEmpty());
        if (c.exportName.isEmpty())
            continue;

        QStringList asked;
        const QString file = QDir(folder()).filePath(QString::fromUtf8(c.name) + S(".xlsx"));
        setExportFileChooser([&](const QString &defaultName) {
            asked << defaultName;
            return file;
        });
        f->exportList(); // nothing listed yet
        EXPECT_EQ(messages().lastText(), S("当前无数据可导出!"));

        c.addRow();
        f->relist();
        f->button(S("导出EXCEL"))->click();
        EXPECT_EQ(messages().lastText(), S("导出成功"));
        EXPECT_EQ(asked, QStringList{c.exportName});
        const QString sheet = sheetText(file);
        EXPECT_TRUE(sheet.contains(c.shown)) << sheet.left(300).toStdString();
        EXPECT_TRUE(sheet.contains(c.exportTitle));

        loginAs(S("0002")); // without 导出数据到excel
        asked.clear();
        f->exportList();
        setExportFileChooser(nullptr);
        EXPECT_TRUE(asked.isEmpty());
        EXPECT_EQ(messages().lastText(), kNoRightText);

        if (c.printTemplate.isEmpty())
            continue;
        QString templ, html;
        setReportPreviewHook([&](const QString &t, const QString &h) {
            templ = t;
            html = h;
        });
        f->printList();
        if (!c.printRight.isEmpty()) {
            EXPECT_TRUE(html.isEmpty());
            EXPECT_EQ(messages().lastText(), kNoRightText);
            loginAs(kAdminWorkNumber);
            f->printList();
        }
        setReportPreviewHook(nullptr);
        EXPECT_EQ(templ, c.printTemplate);
        EXPECT_TRUE(html.contains(c.shown));
        EXPECT_TRUE(html.contains(c.printTitle));
        EXPECT_EQ(count(S("日志"), S("操作内容=? and 性质=?"), {c.printLog, S("一般")}), 1);
    }
}

using MasterEntriesTest = DbTest;

TEST_F(MasterEntriesTest, MainWindowEntriesAreEnabledAndOpenTheirForms)
{
    FormRegistry::registerAll();
    const QSet<QString> forms = {S("Tfrm_jczlsz"), S("Tfrm_khzl"),   S("Tfrm_prvice"), S("Tfrm_ywy_info"),
                                 S("Tfrm_hyxx"),   S("Tfrm_Default"), S("Tfrm_reprot")};
    struct Opened
    {
        QString form;
        QStringList arguments;
    };
    QList<Opened> opened;
    std::vector<std::unique_ptr<FormRegistry::Override>> fakes;
    for (const QString &form : forms)
        fakes.push_back(std::make_unique<FormRegistry::Override>(
            form, [&opened, form](QWidget *, const QStringList &arguments) { opened.append({form, arguments}); }));

    Tfrm_main window;
    QStringList captions;
    for (const MenuEntry &e : menuTable()) {
        if (!forms.contains(e.form))
            continue;
        SCOPED_TRACE(e.caption.toStdString());
        captions << e.caption;
        const QList<QObject *> controls = window.entryControls(e.caption);
        EXPECT_FALSE(controls.isEmpty());
        EXPECT_TRUE(Tfrm_main::isEntryAvailable(e));
        for (QObject *control : controls) {
            if (auto *action = qobject_cast<QAction *>(control)) {
                if (action->isVisible()) { // hidden entries are neither shown nor enabled, yet open
                    EXPECT_TRUE(action->isEnabled());
                }
            } else {
                EXPECT_TRUE(qobject_cast<QWidget *>(control)->isEnabled());
            }
        }
        opened.clear();
        ASSERT_TRUE(window.openEntry(e.caption));
        ASSERT_EQ(opened.size(), 1);
        const MenuEntry *target = findMenuEntry(e.caption);
        EXPECT_EQ(opened.first().form, target->form);
        EXPECT_EQ(opened.first().arguments, target->arguments);
    }
    for (const char *caption : {"默认资料设置", "供应商信息", "客户管理", "员工(业务员)档案", "会员资料设置", "计量单位编辑",
                                "POS销售默认参数设置", "付款方式", "银行账户资料", "其它收入项目", "其它支出项目", "经手人设置",
                                "公司信息设置", "客户资料", "供应商资料", "计量单位"})
        EXPECT_TRUE(captions.contains(QString::fromUtf8(caption))) << caption;
}
