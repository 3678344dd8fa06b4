#include "common/error.h"
#include "masterdata/basic_lists.h"
#include "platform/ini_file.h"
#include "support/test_db.h"
#include "ui/masterdata/Default_frm.h"
#include "ui/masterdata/jczlsz_frm.h"
#include "ui/masterdata/workstation_defaults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

using namespace tavomi;
using tavomi::test::DbTest;

using BasicListsTest = DbTest;

TEST_F(BasicListsTest, NextCodeIsNumericAfterNine)
{
    const BasicListDef &handlers = basicList(BasicList::Handlers);
    EXPECT_EQ(nextBasicCode(db(), handlers), QStringLiteral("01"));
    const BasicListDef &units = basicList(BasicList::Units); // the new database holds 01 … 09
    EXPECT_EQ(nextBasicCode(db(), units), QStringLiteral("010"));
    ASSERT_TRUE(addBasicRow(db(), units, QStringLiteral("010"), QStringLiteral("吨")));
    EXPECT_EQ(nextBasicCode(db(), units), QStringLiteral("011"));
    EXPECT_FALSE(addBasicRow(db(), units, QStringLiteral("011"), QStringLiteral("  ")));
    EXPECT_THROW(addBasicRow(db(), units, QStringLiteral("011"), QStringLiteral("公斤")), Error);
}

TEST_F(BasicListsTest, EachPageKeepsItsOwnMode)
{
    Tfrm_jczlsz f(QStringLiteral("经手人"));
    BasicListPage *handlers = f.listPage(BasicList::Handlers);
    BasicListPage *units = f.listPage(BasicList::Units);
    handlers->add();
    handlers->nameBox()->setText(QStringLiteral("小王"));
    f.showPage(QStringLiteral("计量单位"));
    units->grid()->setCurrentCell(0, 0);
    units->change();
    f.showPage(QStringLiteral("经手人"));
    handlers->save(); // still an add on this page
    EXPECT_EQ(count(QStringLiteral("经手人"), QStringLiteral("编号=? and 经手人=?"), {QStringLiteral("01"), QStringLiteral("小王")}), 1);
    EXPECT_EQ(units->mode(), BasicListPage::Mode::Change);
    EXPECT_EQ(count(QStringLiteral("单位")), 9);
}

TEST_F(BasicListsTest, AccountRenameCarriesReferencesAndDeleteRefusesUsedAccounts)
{
    const BasicListDef &accounts = basicList(BasicList::Accounts);
    ASSERT_TRUE(addBasicRow(db(), accounts, QStringLiteral("01"), QStringLiteral("工行"), QString()));
    EXPECT_EQ(count(QStringLiteral("银行帐户表"), QStringLiteral("期初额=0 and 期未额=0")), 1);
    db().execute(QStringLiteral("insert into 现金明细表(自动编码,备注,余额) values(?,?,?)"), {QStringLiteral("1"), QStringLiteral("工行"), 0.0});
    ASSERT_TRUE(changeBasicRow(db(), accounts, QStringLiteral("01"), QStringLiteral("工商银行")));
    EXPECT_EQ(count(QStringLiteral("现金明细表"), QStringLiteral("备注=?"), {QStringLiteral("工商银行")}), 1);

    Tfrm_jczlsz f(QStringLiteral("银行账户资料"));
    BasicListPage *page = f.listPage(BasicList::Accounts);
    page->grid()->setCurrentCell(0, 0);
    page->remove();
    EXPECT_EQ(messages().asked.last(), QStringLiteral("是否删除此账户？"));
    EXPECT_EQ(messages().lastText(), QStringLiteral("此账户已经有资金流水记录,不能删除!"));
    EXPECT_EQ(count(QStringLiteral("银行帐户表")), 1);
    EXPECT_EQ(count(QStringLiteral("现金明细表")), 1);

    db().execute(QStringLiteral("delete from 现金明细表"));
    page->remove();
    EXPECT_EQ(count(QStringLiteral("银行帐户表")), 0);
}

TEST_F(BasicListsTest, DefaultsPageWritesTheKeysExactly)
{
    addWarehouse(QStringLiteral("一号仓"));
    Tfrm_jczlsz f(QStringLiteral("默认资料设置"));
    // No stored start-up key: the box is ticked and "1" written at once.
    EXPECT_TRUE(f.startupBox()->isChecked());
    EXPECT_EQ(IniFile::read(kBdchangeIni, QStringLiteral("启动提示设置")), QStringLiteral("1"));
    EXPECT_FALSE(f.applyButton()->isEnabled());

    DefaultsPage *p = f.defaultsPage();
    p->warehouseList(2)->setCurrentIndex(p->warehouseList(2)->findText(QStringLiteral("一号仓")));
    p->decimalsBox()->setValue(3);
    p->discountBox()->setText(QStringLiteral("abc"));
    EXPECT_TRUE(f.applyButton()->isEnabled());
    f.apply();
    EXPECT_EQ(messages().lastText(), kDefaultDiscountInvalid);
    EXPECT_EQ(IniFile::read(kBdchangeIni, QStringLiteral("销售出货"), QStringLiteral("none")), QStringLiteral("none"));

    p->discountBox()->setText(QStringLiteral("8.8"));
    f.apply();
    EXPECT_EQ(IniFile::read(kBdchangeIni, QStringLiteral("销售出货默认折扣")), QStringLiteral("0.88"));
    EXPECT_EQ(IniFile::read(kBdchangeIni, QStringLiteral("小数点位数")), QStringLiteral("0.000"));
    EXPECT_EQ(IniFile::read(kBdchangeIni, QStringLiteral("小数点位数1")), QStringLiteral("3"));
    EXPECT_EQ(IniFile::read(kBdchangeIni, QStringLiteral("销售出货")), QStringLiteral("一号仓"));
    EXPECT_EQ(IniFile::read(kBdchangeIni, QStringLiteral("采购入库"), QStringLiteral("none")), QString());
    EXPECT_FALSE(f.applyButton()->isEnabled());

    p->noDiscountBox()->setChecked(true);
    p->decimalsBox()->setValue(0);
    f.apply();
    EXPECT_EQ(IniFile::read(kBdchangeIni, QStringLiteral("销售出货默认折扣")), QStringLiteral("1"));
    EXPECT_EQ(IniFile::read(kBdchangeIni, QStringLiteral("小数点位数")), QStringLiteral("0"));
    EXPECT_EQ(readWorkstationDefaults().discountText, QStringLiteral("0"));
}

TEST_F(BasicListsTest, PosDefaultsAndCompanyDataAreReplacedWhole)
{
    addWarehouse(QStringLiteral("一号仓"));
    addBasicRow(db(), basicList(BasicList::Accounts), QStringLiteral("01"), QStringLiteral("现金柜"));
    db().execute(QStringLiteral("update 默认资料表 set POS仓库=? where 指针=?"), {QStringLiteral("二号仓"), QStringLiteral("进货管理")});
    Tfrm_Default d;
    d.warehouseList()->setCurrentIndex(d.warehouseList()->findText(QStringLiteral("一号仓")));
    d.accountList()->setCurrentIndex(d.accountList()->findText(QStringLiteral("现金柜")));
    d.save();
    EXPECT_EQ(messages().lastText(), QStringLiteral("保存设置成功！"));
    EXPECT_EQ(count(QStringLiteral("默认资料表")), 3);
    EXPECT_EQ(count(QStringLiteral("默认资料表"), QStringLiteral("指针=? and POS仓库=? and 收款去向=?"),
                    {QStringLiteral("商场POS"), QStringLiteral("一号仓"), QStringLiteral("现金柜")}), 1);
    EXPECT_EQ(count(QStringLiteral("默认资料表"), QStringLiteral("指针=? and POS仓库=?"), {QStringLiteral("进货管理"), QStringLiteral("二号仓")}), 1);

    Tfrm_reprot r;
    r.nameBox()->setText(QStringLiteral("塔沃米商贸"));
    r.confirm(); // no sales telephone: nothing written
    EXPECT_EQ(count(QStringLiteral("报表参数")), 0);
    Tfrm_reprot r2;
    r2.nameBox()->setText(QStringLiteral("塔沃米商贸"));
    r2.phoneBox()->setText(QStringLiteral("0571-1234"));
    r2.confirm();
    r2.confirm();
    EXPECT_EQ(count(QStringLiteral("报表参数")), 1);
    EXPECT_EQ(count(QStringLiteral("日志"), QStringLiteral("操作内容=?"), {QStringLiteral("修改了公司的基础资料信息")}), 2);
}
