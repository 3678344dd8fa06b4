#include "spreadsheet/xlsx_export.h"
#include "support/test_db.h"
#include "ui/common/data_grid.h"
#include "ui/common/list_report.h"

#include <QDir>
#include <QProcess>
#include <QTableView>

using namespace tavomi;
using tavomi::test::DbTest;

namespace {

class DataGridTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        addGoods(QStringLiteral("B01"), QStringLiteral("瓜子"), 1.5, 3);
        addGoods(QStringLiteral("B02"), QStringLiteral("花生"), 2.25, 4);
        addGoods(QStringLiteral("B03"), QStringLiteral("糖果"), 0.5, 1);
        grid.setColumns({{QStringLiteral("编码"), QStringLiteral("编码")},
                         {QStringLiteral("品名"), QStringLiteral("品名+规格")},
                         {QStringLiteral("进价"), QStringLiteral("进价"), GridFormat::Money, true, true},
                         {QStringLiteral("售价"), QStringLiteral("售价"), GridFormat::Amount, true, true}});
        grid.setQuery(QStringLiteral("select 编码,品名,进价,售价 from 商品 where 淘汰否=?"), {QStringLiteral("否")});
    }
    QString cell(int row, int column) { return grid.model()->index(row, column).data().toString(); }
    DataGrid grid;
};

} // namespace

TEST_F(DataGridTest, SortsByItsOwnColumnsAndTotalsTheWholeResult)
{
    EXPECT_EQ(grid.totalRows(), 3);
    EXPECT_DOUBLE_EQ(grid.total(QStringLiteral("进价")), 4.25);
    EXPECT_EQ(cell(0, 2), QStringLiteral("￥1.50"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("3.00"));

    grid.sortBy(QStringLiteral("进价"), Qt::DescendingOrder);
    EXPECT_EQ(cell(0, 0), QStringLiteral("B02"));
    grid.sortBy(QStringLiteral("1;drop table 商品"), Qt::AscendingOrder); // not a column: ignored
    EXPECT_EQ(grid.sortField(), QStringLiteral("进价"));
    EXPECT_EQ(count(QStringLiteral("商品")), 3);
}

TEST_F(DataGridTest, ExportWritesEveryRowWithTitlesAndNumbers)
{
    grid.setColumnVisible(QStringLiteral("进价"), false);
    const QString file = QDir(folder()).filePath(QStringLiteral("goods.xlsx"));
    setExportFileChooser([&file](const QString &) { return file.left(file.size() - 5); }); // typed without the extension
    ExportGridToExcel(QStringLiteral("商品资料"), &grid);
    setExportFileChooser(nullptr);
    EXPECT_EQ(messages().lastText(), QStringLiteral("导出成功"));

    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, QStringLiteral("xl/worksheets/sheet1.xml")});
    ASSERT_TRUE(unzip.waitForFinished());
    const QString xml = QString::fromUtf8(unzip.readAllStandardOutput());
    EXPECT_TRUE(xml.contains(QStringLiteral("品名+规格"))) << xml.left(400).toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("花生")));
    EXPECT_FALSE(xml.contains(QStringLiteral(">进价<")));     // hidden column left out
    EXPECT_TRUE(xml.contains(QStringLiteral("<v>4</v>")));  // a number cell, not text
}

TEST_F(DataGridTest, ExportNeedsThePermission)
{
    addUser(QStringLiteral("0002"), QStringLiteral("王五"));
    loginAs(QStringLiteral("0002"));
    bool asked = false;
    setExportFileChooser([&asked](const QString &) {
        asked = true;
        return QString();
    });
    ExportGridToExcel(QStringLiteral("商品资料"), &grid);
    setExportFileChooser(nullptr);
    EXPECT_FALSE(asked);
    EXPECT_EQ(messages().lastText(), QStringLiteral("对不起,你没有操作此功能的权限,请您联系-系统管理员"));
}

TEST(XlsxName, ExtensionRule)
{
    const struct
    {
        const char *in, *out;
    } cases[] = {{"a", "a.xlsx"}, {"a.XLSX", "a.XLSX"}, {"a.xls", "a.xls.xlsx"}, {"报表.xlsx", "报表.xlsx"}};
    for (const auto &c : cases)
        EXPECT_EQ(spreadsheet::withXlsxExtension(QString::fromUtf8(c.in)), QString::fromUtf8(c.out));
}

TEST_F(DataGridTest, PrintsTheWholeResultPageByPage)
{
    for (int i = 0; i < 200; ++i)
        addGoods(QStringLiteral("C%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("商品%1").arg(i), 1, 2);
    grid.refresh();
    ListReport r = gridListReport(&grid, QStringLiteral("商品资料"));
    int rows = 0;
    const auto next = r.next;
    r.next = [&rows, next](QStringList &cells) {
        const bool more = next(cells);
        rows += more ? 1 : 0;
        return more;
    };
    int pages = 0;
    ASSERT_TRUE(writeListReportPdf(QDir(folder()).filePath(QStringLiteral("list.pdf")), r, &pages));
    EXPECT_EQ(rows, 203);
    EXPECT_GT(pages, 3);
    EXPECT_TRUE(r.footer.contains(QStringLiteral("共 203 条")));
}
