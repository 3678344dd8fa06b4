#include "support/test_db.h"
#include "ui/common/data_grid.h"
#include "ui/common/report_view.h"
#include "ui/masterdata/spzl_frm.h"

#include <QDir>
#include <QFile>

using namespace tavomi;
using tavomi::test::DbTest;

using GoodsListOutputTest = DbTest;

TEST_F(GoodsListOutputTest, ExportsAndPrintsTheCurrentList)
{
    addGoods(QStringLiteral("B01"), QStringLiteral("瓜子"), 1.5, 3);
    addGoods(QStringLiteral("B02"), QStringLiteral("花生"), 2, 4);
    Tfrm_spzl form;

    const QString file = QDir(folder()).filePath(QStringLiteral("goods.xlsx"));
    setExportFileChooser([&file](const QString &) { return file; });
    form.exportList();
    setExportFileChooser(nullptr);
    EXPECT_EQ(messages().lastText(), QStringLiteral("导出成功"));
    EXPECT_TRUE(QFile::exists(file));

    QString printed, templ;
    setReportPreviewHook([&](const QString &t, const QString &html) {
        templ = t;
        printed = html;
    });
    messages().answer(false); // "你要打印商品的进价吗": no
    form.printList();
    EXPECT_EQ(templ, QStringLiteral("zcfrf/proceduct1.frf"));
    EXPECT_TRUE(printed.contains(QStringLiteral("花生")));
    EXPECT_FALSE(printed.contains(QStringLiteral("<th>进价</th>")));
    EXPECT_EQ(count(QStringLiteral("日志"), QStringLiteral("操作内容='打印商品资料' and 性质='一般'")), 1);

    addUser(QStringLiteral("0002"), QStringLiteral("王五"));
    loginAs(QStringLiteral("0002"));
    printed.clear();
    form.printList();
    setReportPreviewHook(nullptr);
    EXPECT_TRUE(printed.isEmpty());
    EXPECT_EQ(messages().lastText(), QStringLiteral("对不起,你没有操作此功能的权限,请您联系-系统管理员"));
}
