#include "common/messages.h"
#include "common/program_folder.h"
#include "ui/common/report_designer.h"
#include "ui/common/report_view.h"

#include <QPlainTextEdit>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace tavomi;
using namespace tavomi::report;

namespace {

// A small bill that binds every column the default templates name.
ReportData billData(int lines)
{
    ReportData d;
    d.title = QStringLiteral("单据");
    d.sets.append({QStringLiteral("company"),
                   {QStringLiteral("公司名"), QStringLiteral("销售电话"), QStringLiteral("传真"), QStringLiteral("地址")},
                   {{QStringLiteral("测试商行"), QStringLiteral("010-1234"), QStringLiteral("010-5678"), QStringLiteral("北京")}}});
    DataSet l{QStringLiteral("lines"),
              {QStringLiteral("公司名"), QStringLiteral("电话一"), QStringLiteral("单号"), QStringLiteral("品名"),
               QStringLiteral("大单位"), QStringLiteral("件数量"), QStringLiteral("件进价"), QStringLiteral("金额"),
               QStringLiteral("金额合计"), QStringLiteral("操作员"), QStringLiteral("序号"), QStringLiteral("进率"),
               // the columns only the sales bills print
               QStringLiteral("件售价"), QStringLiteral("帐户"), QStringLiteral("备注"), QStringLiteral("主备注"),
               QStringLiteral("出货仓库")},
              {}};
    for (int i = 1; i <= lines; ++i)
        l.rows.append({QStringLiteral("供应商甲"), QStringLiteral("上海"), QStringLiteral("J20260315093000"),
                       QStringLiteral("商品%1").arg(i), QStringLiteral("件"), 2.0, 48.0, 96.0, 96.0 * lines,
                       QStringLiteral("张三"), QString::number(i), 1.0, 48.0, QStringLiteral("现金"),
                       QStringLiteral("6901234"), QStringLiteral("月结"), QStringLiteral("一号仓")});
    d.sets.append(l);
    d.functions.insert(QStringLiteral("getchm"), [](const QStringList &) { return QStringLiteral("供应商甲"); });
    d.functions.insert(QStringLiteral("gettxm"), [](const QStringList &) { return QString(); });
    d.functions.insert(QStringLiteral("getsjm"), [](const QStringList &) { return QString(); });
    return d;
}

class ReportViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProgramFolder::setOverride(m_dir.path());
        Messages::install(&m_messages);
        // The program folder gets the shipped default templates, as at start-up.
        const QString source = QStringLiteral(TAVOMI_SOURCE_DIR "/resources/zcfrf");
        QDir().mkpath(ProgramFolder::filePath(QStringLiteral("zcfrf")));
        QDirIterator it(source, QDir::Files);
        while (it.hasNext()) {
            const QString f = it.next();
            QFile::copy(f, ProgramFolder::filePath(QStringLiteral("zcfrf/") + it.fileName()));
            m_templates << QStringLiteral("zcfrf/") + it.fileName();
        }
    }
    void TearDown() override
    {
        Messages::install(nullptr);
        ProgramFolder::setOverride(QString());
    }
    QTemporaryDir m_dir;
    ScriptedMessages m_messages;
    QStringList m_templates;
};

} // namespace

TEST_F(ReportViewTest, EveryDefaultTemplateRendersToPdf)
{
    ASSERT_FALSE(m_templates.isEmpty());
    for (const QString &t : m_templates) {
        const QString pdf = QDir(m_dir.path()).filePath(QStringLiteral("out.pdf"));
        QString error;
        int pages = 0;
        ASSERT_TRUE(writeReportPdf(t, billData(3), pdf, &error, &pages)) << t.toStdString() << error.toStdString();
        EXPECT_GE(pages, 1) << t.toStdString();
        // TAVOMI_REPORT_SAMPLES=<folder> keeps the rendered samples for a look.
        const QString keep = qEnvironmentVariable("TAVOMI_REPORT_SAMPLES");
        if (!keep.isEmpty())
            QFile::copy(pdf, QDir(keep).filePath(QFileInfo(t).completeBaseName() + QStringLiteral(".pdf")));
        const QString html = renderReportHtml(t, billData(3));
        EXPECT_FALSE(html.contains(QStringLiteral("[?"))) << t.toStdString() << ": a field the data does not bind";
    }
}

TEST_F(ReportViewTest, ReceiptShowsItsLinesAndTheTotalInCapitals)
{
    const QString html = renderReportHtml(QStringLiteral("zcfrf\\printreport_input_modi_new_1.frf"), billData(2));
    EXPECT_TRUE(html.contains(QStringLiteral("测试商行")));
    EXPECT_TRUE(html.contains(QStringLiteral("商品2")));
    EXPECT_TRUE(html.contains(QStringLiteral("壹佰玖拾贰圆整")));
    EXPECT_TRUE(html.contains(QStringLiteral("192.00")));

    // A long bill runs over several pages.
    int pages = 0;
    ASSERT_TRUE(writeReportPdf(QStringLiteral("zcfrf/printreport_input_modi_new_1.frf"), billData(200),
                               QDir(m_dir.path()).filePath(QStringLiteral("long.pdf")), nullptr, &pages));
    EXPECT_GT(pages, 1);
}

TEST_F(ReportViewTest, MissingTemplateFallsBackAndSaysSo)
{
    QString seen;
    setReportPreviewHook([&seen](const QString &, const QString &html) { seen = html; });
    ShowReportFile(nullptr, QStringLiteral("zcfrf/no_such_report.frf"), billData(1));
    setReportPreviewHook(nullptr);
    EXPECT_TRUE(seen.contains(QStringLiteral("商品1")));
    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_TRUE(m_messages.lastText().contains(QStringLiteral("no_such_report.frf")));
}

TEST_F(ReportViewTest, DesignerPreviewsAsYouTypeAndSavesInPlace)
{
    ReportDesigner designer(QStringLiteral("zcfrf/printreport_input_modi_new_1.frf"), billData(2));
    EXPECT_TRUE(designer.preview()->toPlainText().contains(QStringLiteral("商品2")));
    designer.editor()->setPlainText(QStringLiteral("<p>新格式 {{lines.单号}} {{NtoC(12.34)}}</p>"));
    designer.refreshPreview();
    EXPECT_EQ(designer.preview()->toPlainText().trimmed(), QStringLiteral("新格式 J20260315093000 壹拾贰圆叁角肆分"));
    ASSERT_TRUE(designer.save());
    EXPECT_TRUE(renderReportHtml(QStringLiteral("zcfrf/printreport_input_modi_new_1.frf"), billData(1))
                    .contains(QStringLiteral("新格式 J20260315093000")));
}
