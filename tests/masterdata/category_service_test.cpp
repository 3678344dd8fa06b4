#include "common/error.h"
#include "masterdata/category_service.h"
#include "support/test_db.h"

using namespace tavomi;
using tavomi::test::DbTest;

using CategoryTest = DbTest;

TEST_F(CategoryTest, AddChecksComeInOrder)
{
    addCategory(db(), QStringLiteral("0"), QStringLiteral("01"), QStringLiteral("食品"));
    const struct
    {
        const char *code;
        const char *name;
        const char *message;
    } cases[] = {
        {"", "商品类别", "类别名称不能为[商品类别]!"},
        {"", "", "请输入类别编码!"},
        {"0", "", "请输入类别名称!"},
        {"0", "饮料", "类别编码不能为0(零)!"},
        {"01", "饮料", "已经有此[类别编码],请用其它的编码!"},
    };
    for (const auto &c : cases) {
        try {
            addCategory(db(), QString(), QString::fromUtf8(c.code), QString::fromUtf8(c.name));
            ADD_FAILURE() << "accepted " << c.code << " " << c.name;
        } catch (const Error &e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        }
    }
    EXPECT_EQ(count(QStringLiteral("类别")), 1);
}

TEST_F(CategoryTest, TreeFlagsFollowAddAndDelete)
{
    addCategory(db(), QString(), QStringLiteral("01"), QStringLiteral("食品"));
    addCategory(db(), QStringLiteral("01"), QStringLiteral("0101"), QStringLiteral("炒货"));
    addCategory(db(), QStringLiteral("0101"), QStringLiteral("010101"), QStringLiteral("瓜子"));

    QSqlQuery q = db().run(QStringLiteral("select 编码,未级标志,父项编码,层次码 from 类别 order by 编码"));
    QStringList rows;
    while (q.next())
        rows << QStringLiteral("%1 %2 %3 %4").arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                                  q.value(3).toString());
    EXPECT_EQ(rows, QStringList({QStringLiteral("01 否 0 0"), QStringLiteral("0101 否 01 1"),
                                 QStringLiteral("010101 是 0101 2")}));
    const QList<CategoryNode> children = categoryChildren(db(), QStringLiteral("01"));
    ASSERT_EQ(children.size(), 1);
    EXPECT_TRUE(children.first().expandable);
    EXPECT_EQ(categoryEntries(db()).size(), 3);
    EXPECT_EQ(categoryCodeOfEntry(QStringLiteral("炒货(大)(0101)")), QStringLiteral("0101"));

    EXPECT_THROW(deleteCategory(db(), QStringLiteral("0101")), Error);
    deleteCategory(db(), QStringLiteral("010101"));
    EXPECT_EQ(db().scalar(QStringLiteral("select 未级标志 from 类别 where 编码='0101'")).toString(), QStringLiteral("是"));
    EXPECT_FALSE(categoryHasChildren(db(), QStringLiteral("0101")));

    renameCategory(db(), QStringLiteral("0101"), QStringLiteral("坚果"));
    EXPECT_TRUE(categoryEntries(db()).contains(QStringLiteral("坚果(0101)")));
    EXPECT_THROW(renameCategory(db(), QStringLiteral("0"), QStringLiteral("x")), Error);
}
