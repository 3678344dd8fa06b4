#include "ui/common/form_helpers.h"
#include "support/test_db.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

using namespace tavomi;
using tavomi::test::DbTest;

using FormHelpersTest = DbTest;

TEST_F(FormHelpersTest, PickListsFillFromTheirTables)
{
    addWarehouse(QStringLiteral("二号仓"));
    addWarehouse(QStringLiteral("一号仓"));
    QComboBox combo;
    combo.addItem(QStringLiteral("旧"));
    FillListCombo(db(), 4, &combo); // payment methods, cleared first
    EXPECT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(0), QStringLiteral("现金"));

    QComboBox places;
    FillPlaceCombo(db(), 0, &places);
    FillPlaceCombo(db(), 0, &places); // appends: twice filled, every name twice
    EXPECT_EQ(places.count(), 4);

    QComboBox sites;
    FillSiteCombo(db(), &sites);
    EXPECT_EQ(sites.count(), 1);
    EXPECT_EQ(sites.itemText(0), QStringLiteral("所有站点"));
}

TEST(SetEditsState, ModesEnableEmptyAndDisable)
{
    QWidget form;
    auto *plain = new QLineEdit(&form);
    auto *keep = new QLineEdit(&form);
    keep->setObjectName(QStringLiteral("NoEdit1"));
    plain->setText(QStringLiteral("x"));
    keep->setText(QStringLiteral("y"));
    SetEditsState(&form, 0);
    EXPECT_FALSE(plain->isEnabled());
    SetEditsState(&form, 1);
    EXPECT_TRUE(plain->isEnabled());
    EXPECT_TRUE(plain->text().isEmpty());
    EXPECT_EQ(keep->text(), QStringLiteral("y"));
    plain->setText(QStringLiteral("z"));
    SetEditsState(&form, 2);
    EXPECT_EQ(plain->text(), QStringLiteral("z"));
}
