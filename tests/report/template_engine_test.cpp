#include "report/template_engine.h"

#include <gtest/gtest.h>

using namespace tavomi::report;

namespace {

ReportData sample()
{
    ReportData d;
    d.title = QStringLiteral("测试");
    d.values.insert(QStringLiteral("操作员"), QStringLiteral("张三"));
    d.sets.append({QStringLiteral("company"), {QStringLiteral("公司名")}, {{QStringLiteral("A&B 商行")}}});
    d.sets.append({QStringLiteral("lines"),
                   {QStringLiteral("品名"), QStringLiteral("金额"), QStringLiteral("合计")},
                   {{QStringLiteral("瓜子"), 12.5, 20.75}, {QStringLiteral("花生"), 8.25, 20.75}}});
    d.functions.insert(QStringLiteral("getchm"), [](const QStringList &) { return QStringLiteral("客户甲"); });
    d.functions.insert(QStringLiteral("twice"), [](const QStringList &a) { return a.value(0) + a.value(0); });
    return d;
}

} // namespace

TEST(TemplateEngine, FillsFieldsBandsFormatsAndFunctions)
{
    const ReportData d = sample();
    const struct
    {
        const char *tmpl, *expected;
    } cases[] = {
        {"{{company.公司名}}", "A&amp;B 商行"},
        {"{{公司名}}", "A&amp;B 商行"},
        {"{{操作员}}", "张三"},
        {"{{lines.品名}}", "瓜子"}, // outside a band: the first row
        {"<!--band lines-->[{{#}}:{{品名}}={{金额|0.00}}]<!--endband-->", "[1:瓜子=12.50][2:花生=8.25]"},
        {"{{NtoC(lines.合计)}}", "贰拾圆柒角伍分"},
        {"{{getchm()}}/{{twice('ab')}}", "客户甲/abab"},
        {"{{金额|0}}", "13"},
        {"{{没有这个}}", "[?没有这个]"},
        {"{{nofunc(1)}}", "[?nofunc(1)]"},
        {"<!--band nothing-->x<!--endband-->y", "y"},
        {"{{title}}", "测试"},
        {"<!--table company-->", "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr style=\"background:#eeeeee\">"
                                 "<th>公司名</th></tr><tr><td>A&amp;B 商行</td></tr></table>"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TemplateEngine::fill(QString::fromUtf8(c.tmpl), d), QString::fromUtf8(c.expected)) << c.tmpl;
}

TEST(TemplateEngine, FallbackListsEverySetAndTheNote)
{
    const QString html = TemplateEngine::fallback(sample(), QStringLiteral("报表文件不存在"));
    EXPECT_TRUE(html.contains(QStringLiteral("报表文件不存在")));
    EXPECT_TRUE(html.contains(QStringLiteral("<th>品名</th>")));
    EXPECT_TRUE(html.contains(QStringLiteral("花生")));
}
