#include "common/error.h"
#include "common/permissions.h"
#include "masterdata/partner_service.h"
#include "support/test_db.h"
#include "ui/app/form_registry.h"
#include "ui/common/data_grid.h"
#include "ui/masterdata/hyxx_frm.h"
#include "ui/masterdata/khzl_frm.h"
#include "ui/masterdata/partner_picker.h"
#include "ui/masterdata/prvice_frm.h"
#include "ui/masterdata/sort_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLayout>
#include <QMap>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <algorithm>

#include <functional>
#include <memory>

using namespace tavomi;
using tavomi::test::DbTest;
using S = QString;

namespace {

// One member of the master-data family: how to open it, what to type, and what it says.
struct FamilyCase
{
    const char *name;
    std::function<std::unique_ptr<MasterDataForm>()> open;
    QString table;
    QMap<QString, QString> typed;   // a complete new row
    QString missingColumn;          // a required column left empty for the refusal
    QString requiredText;
    QString insertQuestion;         // empty: saved without a question
    QString changeColumn;           // changed on the second save
    QString updateQuestion;
    QString updatedText;
    QString deleteQuestion;         // empty: deleted without a question
    QString deletedText;
};

QList<FamilyCase> familyCases()
{
    using S = QString;
    return {
        {"customers", [] { return std::make_unique<Tfrm_khzl>(); }, S("客户"),
         {{S("编码"), S("ZS")}, {S("公司名"), S("张三商行")}, {S("性质"), S("批价")}, {S("电话一"), S("北京路1号")}},
         S("性质"), S("请你确保带 [*] 的资料不为空!"), S("是否保存此客户？"), S("联系人"),
         S("此客户编码已经存在,你是否要修改此编码的客户资料呢?如果不要，请你重新输入其它的客户编码!"), S("修改成功！"), S(), S()},
        {"suppliers", [] { return std::make_unique<Tfrm_prvice>(); }, S("供应商"),
         {{S("编码"), S("HX")}, {S("公司名"), S("华鑫食品")}, {S("电话"), S("8123")}}, S("公司名"),
         S("请你确保:带[*]号的资料不为空!"), S("是否保存此供应商资料？"), S("联系人"), S(), S("修改成功！"),
         S("是否删除当前供应商？"), S("删除成功！")},
        {"staff", [] { return std::make_unique<Tfrm_ywy_info>(); }, S("业务员"),
         {{S("客服代号"), S("01")}, {S("业务员姓名"), S("李四")}, {S("备注"), S("新人")}}, S("业务员姓名"),
         S("请你确保:带[*]的资料不为空!"), S("是否保存此业务员？"), S("手机"), S(), S("修改成功！"),
         S("是否删除当前业务员？"), S("删除成功！")},
        {"members", [] { return std::make_unique<Tfrm_hyxx>(); }, S("会员"),
         {{S("快捷码"), S("WW")}, {S("持卡人姓名"), S("王五")}, {S("身份证号"), S("110")}, {S("卡号"), S("C001")},
          {S("会员售价"), S("黄金会员折扣")}, {S("性别"), S("女")}},
         S("性别"), S("请你确保带 [*] 的资料不为空!"), S("是否保存此会员？"), S("电话"), S(), S("修改成功！"), S(),
         S("删除成功！")},
        {"borrowers", [] { return std::make_unique<Tfrm_jhrzlgl>(); }, S("借货人表"),
         {{S("编码"), S("J1")}, {S("联系人"), S("赵六")}, {S("住址"), S("东街")}}, S("联系人"),
         S("对不起,请您先正确输入<编码>和<借货人>资料才能保存!"), S(), S("电话"), S(), S("修改成功！"),
         S("是否删除当前借货人？"), S("删除成功!")},
    };
}

void type(MasterDataForm &f, const QMap<QString, QString> &values, const QString &skip = QString())
{
    for (auto it = values.begin(); it != values.end(); ++it)
        if (it.key() != skip)
            f.setText(it.key(), it.value());
}

} // namespace

using MasterFamilyTest = DbTest;

TEST_F(MasterFamilyTest, SaveNewSaveExistingRefuseMissingAndDelete)
{
    for (const FamilyCase &c : familyCases()) {
        SCOPED_TRACE(c.name);
        messages().clear();
        std::unique_ptr<MasterDataForm> f = c.open();

        f->newRecord();
        type(*f, c.typed, c.missingColumn);
        f->save();
        EXPECT_EQ(messages().lastText(), c.requiredText);
        EXPECT_EQ(count(c.table), 0);

        f->newRecord();
        type(*f, c.typed);
        f->save();
        EXPECT_EQ(messages().asked, c.insertQuestion.isEmpty() ? QStringList() : QStringList{c.insertQuestion});
        ASSERT_EQ(count(c.table), 1);
        ASSERT_EQ(f->rowCount(), 1);

        // Second save of the selected row changes it.
        messages().clear();
        f->selectRow(0);
        for (auto it = c.typed.begin(); it != c.typed.end(); ++it)
            EXPECT_EQ(f->text(it.key()), it.value()) << it.key().toStdString();
        if (!f->findChild<QLineEdit *>(QStringLiteral("Edit1"))->isEnabled()) { // locked after the save: the boxes are emptied first
            f->newRecord();
            type(*f, c.typed);
        }
        f->setText(c.changeColumn, QStringLiteral("1390000"));
        f->save();
        EXPECT_EQ(messages().asked, c.updateQuestion.isEmpty() ? QStringList() : QStringList{c.updateQuestion});
        EXPECT_TRUE(messages().texts().contains(c.updatedText));
        EXPECT_EQ(count(c.table), 1);
        EXPECT_EQ(count(c.table, c.changeColumn + QStringLiteral("=?"), {QStringLiteral("1390000")}), 1);

        if (c.deletedText.isEmpty())
            continue; // customers delete through their own dialog
        messages().clear();
        f->selectRow(0);
        if (!c.deleteQuestion.isEmpty()) {
            messages().answer(false);
            f->removeCurrent();
            EXPECT_EQ(count(c.table), 1);
        }
        f->removeCurrent();
        EXPECT_EQ(messages().asked, c.deleteQuestion.isEmpty() ? QStringList() : QStringList({c.deleteQuestion, c.deleteQuestion}));
        EXPECT_EQ(messages().lastText(), c.deletedText);
        EXPECT_EQ(count(c.table), 0);
        EXPECT_EQ(f->rowCount(), 0);
    }
}

using CustomerTest = DbTest;

TEST_F(CustomerTest, RenameCarriesReceivablesAndCollectionsAlong)
{
    addCustomer(QStringLiteral("ZS"), QStringLiteral("张三"));
    db().execute(QStringLiteral("insert into 销售应收款表(应收款编码,客户名称,应收款,欠款) values(?,?,?,?)"),
                 {QStringLiteral("YS1"), QStringLiteral("张三"), 100.0, 100.0});
    db().execute(QStringLiteral("insert into 销售收款表(收款单编码,客户名称,收款金额) values(?,?,?)"),
                 {QStringLiteral("SK1"), QStringLiteral("张三"), 40.0});
    db().execute(QStringLiteral("insert into 销售主(单号,客户编码,客户名称,审核标志) values(?,?,?,?)"),
                 {QStringLiteral("X1"), QStringLiteral("ZS"), QStringLiteral("张三"), 1});
    Tfrm_khzl f;
    f.startSearch(); // the boxes open for input; a row click then loads the customer to change
    ASSERT_EQ(f.rowCount(), 1);
    f.selectRow(0);
    f.box(QStringLiteral("公司名"))->setText(QStringLiteral("张三商行"));
    messages().answer(true);
    f.save();
    EXPECT_EQ(messages().lastText(), QStringLiteral("修改成功！"));
    EXPECT_EQ(count(QStringLiteral("客户")), 1);
    const QVariantList renamed = {QStringLiteral("张三商行")};
    EXPECT_EQ(count(QStringLiteral("销售应收款表"), QStringLiteral("客户名称=?"), renamed), 1);
    EXPECT_EQ(count(QStringLiteral("销售收款表"), QStringLiteral("客户名称=?"), renamed), 1);
    EXPECT_EQ(count(QStringLiteral("销售主"), QStringLiteral("客户名称=?"), renamed), 1);
    EXPECT_EQ(count(QStringLiteral("日志"), QStringLiteral("操作内容=?"), {QStringLiteral("修改客户信息资料,修改后的客户名是:张三商行")}), 1);
}

TEST_F(CustomerTest, DeleteDialogRemovesWhatIsTickedAndKeepsAuditedSales)
{
    addCustomer(QStringLiteral("ZS"), QStringLiteral("张三"));
    db().execute(QStringLiteral("insert into 客户售价(商品编码,客户编码,最近售价) values(?,?,?)"),
                 {QStringLiteral("B1"), QStringLiteral("ZS"), 3.0});
    db().execute(QStringLiteral("insert into 销售主(单号,客户编码,客户名称,审核标志) values(?,?,?,?)"),
                 {QStringLiteral("X1"), QStringLiteral("ZS"), QStringLiteral("张三"), 1});
    db().execute(QStringLiteral("insert into 销售主(单号,客户编码,客户名称,审核标志) values(?,?,?,?)"),
                 {QStringLiteral("X2"), QStringLiteral("ZS"), QStringLiteral("张三"), 0});
    db().execute(QStringLiteral("insert into 销售子(序号,单号,编码,客户编码) values(?,?,?,?)"),
                 {QStringLiteral("1"), QStringLiteral("X2"), QStringLiteral("B1"), QStringLiteral("ZS")});

    TFrm_delete_cous d(TFrm_delete_cous::Panel::Delete, QStringLiteral("ZS"), QStringLiteral("张三"));
    EXPECT_FALSE(d.deleteChosen());
    EXPECT_EQ(messages().lastText(), QStringLiteral("请选择要删除的项目!"));

    // Audited sales: nothing at all is deleted.
    d.customerBox()->setChecked(true);
    d.salesBox()->setChecked(true);
    EXPECT_FALSE(d.deleteChosen());
    EXPECT_EQ(messages().asked.last(), QStringLiteral("确定删除此客户？"));
    EXPECT_EQ(messages().lastText(), kCustomerSalesBlocked);
    EXPECT_EQ(count(QStringLiteral("客户")), 1);
    EXPECT_EQ(count(QStringLiteral("销售主")), 2);

    db().execute(QStringLiteral("update 销售主 set 审核标志=0 where 单号='X1'"));
    d.salesBox()->setChecked(true);
    d.pricesBox()->setChecked(false);
    EXPECT_TRUE(d.deleteChosen());
    EXPECT_EQ(messages().lastText(), QStringLiteral("删除成功！"));
    EXPECT_EQ(count(QStringLiteral("客户")), 0);
    EXPECT_EQ(count(QStringLiteral("销售主")), 0);
    EXPECT_EQ(count(QStringLiteral("销售子")), 0);
    EXPECT_EQ(count(QStringLiteral("客户售价")), 1); // not ticked
}

TEST_F(CustomerTest, SortAcceptsOnlyTheListedColumns)
{
    EXPECT_EQ(customerSortColumn(QStringLiteral("电话和送货地址")), QStringLiteral("电话一"));
    EXPECT_EQ(customerSortColumn(QStringLiteral("手机")), QStringLiteral("传真"));
    EXPECT_EQ(customerSortColumn(QString()), QStringLiteral("公司名"));
    EXPECT_EQ(customerSortColumn(QStringLiteral("公司名; drop table 客户")), QString());
    addCustomer(QStringLiteral("B"), QStringLiteral("乙"));
    addCustomer(QStringLiteral("A"), QStringLiteral("甲"));
    Tfrm_khzl f;
    EXPECT_TRUE(f.sortBy(QStringLiteral("编码"), Qt::AscendingOrder));
    EXPECT_EQ(f.cell(0, QStringLiteral("编码")), QStringLiteral("A"));
    EXPECT_FALSE(f.sortBy(QStringLiteral("应收款"), Qt::AscendingOrder));
}

using PickerTest = DbTest;

TEST_F(PickerTest, PickersHandBackCodeAndName)
{
    addCustomer(QStringLiteral("ZS"), QStringLiteral("张三"), QStringLiteral("批价"));
    addCustomer(QStringLiteral("LS"), QStringLiteral("李四"), QStringLiteral("售价"));
    addSupplier(QStringLiteral("HX"), QStringLiteral("华鑫"));
    FormRegistry::registerAll();

    Tfrm_check_khzl k;
    EXPECT_EQ(k.grid()->totalRows(), 2);
    k.setPriceLevel(QStringLiteral("批价"));
    ASSERT_EQ(k.grid()->totalRows(), 1);
    QLineEdit code, name;
    k.setTargets(&code, &name);
    ASSERT_TRUE(k.choose(0));
    EXPECT_EQ(code.text(), QStringLiteral("ZS"));
    EXPECT_EQ(name.text(), QStringLiteral("张三"));

    // Opened for the goods editor's boxes: both are filled.
    QWidget caller;
    auto *supplierCode = new QLineEdit(&caller);
    supplierCode->setObjectName(QStringLiteral("Edit10"));
    supplierCode->setText(QStringLiteral("OLD"));
    auto *supplierName = new QLineEdit(&caller);
    supplierName->setObjectName(QStringLiteral("Edit11"));
    Tfrm_gyshz_check g;
    g.searchBox(1)->setText(QStringLiteral("华"));
    ASSERT_EQ(g.grid()->totalRows(), 1);
    g.setTargets(caller.findChild<QLineEdit *>(QStringLiteral("Edit10")), caller.findChild<QLineEdit *>(QStringLiteral("Edit11")));
    ASSERT_TRUE(g.choose(0));
    EXPECT_EQ(supplierCode->text(), QStringLiteral("HX"));
    EXPECT_EQ(supplierName->text(), QStringLiteral("华鑫"));
    EXPECT_TRUE(FormRegistry::contains(QStringLiteral("Tfrm_gyshz_check")));
    EXPECT_TRUE(FormRegistry::contains(QStringLiteral("Tfrm_check_khzl")));
}

using MemberTest = DbTest;

TEST_F(MemberTest, DuplicateCardRefusedAndGenderLoadedOnClick)
{
    Tfrm_hyxx f;
    auto fill = [&](const QString &key, const QString &card) {
        f.newRecord();
        f.setText(QStringLiteral("快捷码"), key);
        f.setText(QStringLiteral("持卡人姓名"), QStringLiteral("王五"));
        f.setText(QStringLiteral("身份证号"), QStringLiteral("110"));
        f.setText(QStringLiteral("卡号"), card);
        f.setText(QStringLiteral("会员售价"), QStringLiteral("普通会员折扣"));
        f.setText(QStringLiteral("性别"), QStringLiteral("男"));
        f.save();
    };
    fill(QStringLiteral("A"), QStringLiteral("C1"));
    fill(QStringLiteral("B"), QStringLiteral("C1"));
    EXPECT_EQ(messages().lastText(), kCardTaken);
    EXPECT_EQ(count(QStringLiteral("会员")), 1);

    f.selectRow(0);
    EXPECT_EQ(f.text(QStringLiteral("性别")), QStringLiteral("男"));
}

TEST_F(MemberTest, DiscountsValidatedBeforeTheRowsAreReplaced)
{
    MemberDiscountDialog d;
    EXPECT_EQ(d.goldBox()->text(), QStringLiteral("0.0"));
    d.goldBox()->setText(QStringLiteral("9.5"));
    d.ordinaryBox()->setText(QString());
    EXPECT_FALSE(d.apply());
    EXPECT_EQ(messages().lastText(), kDiscountInvalid);
    setMemberDiscounts(db(), QStringLiteral("9"), QStringLiteral("9.8"));
    EXPECT_THROW(setMemberDiscounts(db(), QStringLiteral("11"), QStringLiteral("9")), Error);
    EXPECT_THROW(setMemberDiscounts(db(), QStringLiteral("0"), QStringLiteral("9")), Error);
    const MemberDiscounts kept = readMemberDiscounts(db());
    EXPECT_DOUBLE_EQ(kept.gold, 9);
    EXPECT_DOUBLE_EQ(kept.ordinary, 9.8);
    EXPECT_EQ(count(QStringLiteral("会员活动")), 2);

    d.ordinaryBox()->setText(QStringLiteral("8.8"));
    EXPECT_TRUE(d.apply());
    EXPECT_DOUBLE_EQ(readMemberDiscounts(db()).ordinary, 8.8);
}

namespace {

void addMember(tavomi::Session &s, const QString &key, const QString &holder, const QString &card)
{
    s.execute(QStringLiteral("insert into 会员(快捷码,持卡人姓名,身份证号,电话,手提电话,卡号,持卡人通信地址,邮编,会员等级,购物目的,"
                             "会员售价,性别) values(?,?,?,'','',?,'','','','',?,?)"),
              {key, holder, QStringLiteral("110"), card, QStringLiteral("普通会员折扣"), QStringLiteral("男")});
}

} // namespace

using SortPanelTest = DbTest;

TEST_F(SortPanelTest, BothPanelsAcceptOnlyTheListedFields)
{
    addCustomer(QStringLiteral("B"), QStringLiteral("乙"));
    addCustomer(QStringLiteral("A"), QStringLiteral("甲"));
    TFrm_delete_cous customers(TFrm_delete_cous::Panel::Sort, QString(), QString());
    Tfrm_hyxx members;
    struct Case
    {
        const char *name;
        MasterSortPanel *panel;
        QString presetField;
        QString presetDirection;
        QList<QPair<QString, QString>> choices; // typed field text → column sorted by (empty: refused)
    } cases[] = {
        {"customers", customers.sortPanel(), S("客户名称"), S("升序"),
         {{S("电话和送货地址"), S("电话一")}, {S("手机"), S("传真")}, {S(""), S("公司名")}, {S("编码"), S("编码")},
          {S("应收款"), S()}, {S("公司名 desc; drop table 客户"), S()}}},
        {"members", members.sortPanel(), S("持卡人姓名"), S("降序"),
         {{S("卡号"), S("卡号")}, {S(" 快捷码 "), S("快捷码")}, {S(""), S()}, {S("性别"), S()}, {S("卡号 desc"), S()}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.panel);
        EXPECT_EQ(c.panel->field()->currentText(), c.presetField);
        EXPECT_EQ(c.panel->direction()->currentText(), c.presetDirection);
        for (const auto &[typed, column] : c.choices) {
            SCOPED_TRACE(typed.toStdString());
            messages().clear();
            c.panel->field()->setEditText(typed);
            EXPECT_EQ(c.panel->choose(), !column.isEmpty());
            if (column.isEmpty()) {
                EXPECT_EQ(messages().lastText(), QStringLiteral("请从列表中选择排序字段!"));
            } else {
                EXPECT_EQ(c.panel->column(), column);
            }
        }
    }
    customers.sortField()->setEditText(QStringLiteral("编码"));
    customers.sortDirection()->setCurrentText(QStringLiteral("降序"));
    EXPECT_TRUE(customers.sortChosen());
    EXPECT_EQ(customers.result(), QDialog::Accepted);
    EXPECT_EQ(customers.sortOrder(), Qt::DescendingOrder);
}

TEST_F(SortPanelTest, MemberPanelListsEveryMemberInTheChosenOrder)
{
    addMember(db(), QStringLiteral("A"), QStringLiteral("乙"), QStringLiteral("C2"));
    addMember(db(), QStringLiteral("B"), QStringLiteral("甲"), QStringLiteral("C1"));
    Tfrm_hyxx f;
    ASSERT_TRUE(f.button(QStringLiteral("排序")));
    EXPECT_EQ(f.button(QStringLiteral("排序"))->toolTip(), QStringLiteral("排序资料"));

    // A search narrowed to one member; the sort lists them all again.
    f.newRecord();
    f.setText(QStringLiteral("快捷码"), QStringLiteral("A"));
    f.startSearch();
    ASSERT_EQ(f.rowCount(), 1);

    EXPECT_FALSE(f.sortPanelShown());
    f.button(QStringLiteral("排序"))->click();
    EXPECT_TRUE(f.sortPanelShown());
    f.sortPanel()->field()->setEditText(QStringLiteral("会员; drop table 会员"));
    f.sortPanel()->sortButton()->click();
    EXPECT_EQ(messages().lastText(), QStringLiteral("请从列表中选择排序字段!"));
    EXPECT_TRUE(f.sortPanelShown());
    EXPECT_EQ(f.rowCount(), 1);

    const struct
    {
        QString field;
        QString direction;
        QString firstKey;
    } sorts[] = {{S("卡号"), S("升序"), S("B")}, {S("卡号"), S("降序"), S("A")}, {S("快捷码"), S("升序"), S("A")}};
    for (const auto &s : sorts) {
        f.chooseSort();
        f.sortPanel()->field()->setEditText(s.field);
        f.sortPanel()->direction()->setCurrentText(s.direction);
        f.sortPanel()->sortButton()->click();
        EXPECT_FALSE(f.sortPanelShown());
        ASSERT_EQ(f.rowCount(), 2);
        EXPECT_EQ(f.cell(0, QStringLiteral("快捷码")), s.firstKey) << s.field.toStdString() << s.direction.toStdString();
    }
}

TEST_F(MemberTest, SearchRunsOnTheButtonByTheTypedTexts)
{
    addMember(db(), QStringLiteral("A"), QStringLiteral("王五"), QStringLiteral("C1"));
    addMember(db(), QStringLiteral("B"), QStringLiteral("王六"), QStringLiteral("C2"));
    addMember(db(), QStringLiteral("C"), QStringLiteral("李四"), QStringLiteral("C3"));
    Tfrm_hyxx f;
    f.startSearch(); // boxes closed: they open and every member is listed
    EXPECT_EQ(f.rowCount(), 3);
    f.box(QStringLiteral("持卡人姓名"))->setText(QStringLiteral("王"));
    EXPECT_EQ(f.rowCount(), 3); // typing alone does not search
    f.startSearch();
    EXPECT_EQ(f.rowCount(), 2);
    f.box(QStringLiteral("卡号"))->setText(QStringLiteral("2"));
    f.button(QStringLiteral("查找"))->click();
    ASSERT_EQ(f.rowCount(), 1);
    EXPECT_EQ(f.cell(0, QStringLiteral("快捷码")), QStringLiteral("B"));
}

TEST_F(MemberTest, BrowserModeHandsTheCardOverOnlyForTheFrontCounter)
{
    addMember(db(), QStringLiteral("A"), QStringLiteral("甲"), QStringLiteral("C1"));
    addMember(db(), QStringLiteral("B"), QStringLiteral("乙"), QStringLiteral("C2"));
    FormRegistry::registerAll();
    addUser(QStringLiteral("0002"), QStringLiteral("收银员")); // no rights at all

    const struct
    {
        const char *name;
        QStringList arguments;
        QString user;
        bool closesWithCard;
    } cases[] = {
        {"front counter, no permission needed", {S("POS"), S("Edit1")}, S("0002"), true},
        {"main window", {}, S(kAdminWorkNumber), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        loginAs(c.user);
        QWidget counter;
        auto *card = new QLineEdit(&counter);
        card->setObjectName(QStringLiteral("Edit1"));
        bool openAfterDoubleClick = false;
        QString clickedCard;
        QTimer::singleShot(0, [&] {
            Tfrm_hyxx *f = nullptr;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *m = qobject_cast<Tfrm_hyxx *>(w); m && m->isVisible())
                    f = m;
            if (!f) {
                ADD_FAILURE() << "the member form is not open";
                if (auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                    modal->reject();
                return;
            }
            EXPECT_EQ(f->rowCount(), 2);
            clickedCard = f->cell(1, QStringLiteral("卡号"));
            emit f->grid()->doubleClicked(f->grid()->model()->index(1, 0));
            openAfterDoubleClick = f->isVisible();
            if (openAfterDoubleClick)
                f->reject();
        });
        ASSERT_TRUE(FormRegistry::open(QStringLiteral("Tfrm_hyxx"), &counter, c.arguments));
        EXPECT_TRUE(messages().shown.isEmpty());
        EXPECT_EQ(openAfterDoubleClick, !c.closesWithCard);
        EXPECT_EQ(card->text(), c.closesWithCard ? clickedCard : QString());
        if (c.closesWithCard) {
            EXPECT_EQ(clickedCard, QStringLiteral("C2")); // listed by holder name: 乙 after 甲
        }
    }
}

using BorrowerTest = DbTest;

TEST_F(BorrowerTest, StartOpensAndDoneClosesTheBoxesAndTheSaveButton)
{
    db().execute(QStringLiteral("insert into 借货人表(编码,联系人,电话,住址) values(?,?,?,?)"),
                 {QStringLiteral("J1"), QStringLiteral("赵六"), QStringLiteral("8123"), QStringLiteral("东街")});
    Tfrm_jhrzlgl f;
    f.layout()->activate();
    QList<QPushButton *> row;
    const int y = f.button(QStringLiteral("开  始"))->geometry().y();
    for (QPushButton *b : f.findChildren<QPushButton *>(Qt::FindDirectChildrenOnly))
        if (b->geometry().y() == y)
            row << b;
    std::sort(row.begin(), row.end(), [](QPushButton *a, QPushButton *b) { return a->geometry().x() < b->geometry().x(); });
    QStringList captions;
    for (QPushButton *b : row)
        captions << b->text();
    EXPECT_EQ(captions, QStringList({S("开  始"), S("完  成"), S("删  除"), S("保  存"), S("关  闭")}));

    QPushButton *save = f.button(QStringLiteral("保  存"));
    QLineEdit *code = f.box(QStringLiteral("编码"));
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(code->isEnabled());
    f.button(QStringLiteral("开  始"))->click();
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(code->isEnabled());
    f.selectRow(0);
    EXPECT_EQ(f.text(QStringLiteral("住址")), QStringLiteral("东街"));

    f.button(QStringLiteral("完  成"))->click();
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(code->isEnabled());
    EXPECT_FALSE(f.box(QStringLiteral("住址"))->isEnabled());
    f.selectRow(0); // a click still shows the row
    EXPECT_EQ(f.text(QStringLiteral("联系人")), QStringLiteral("赵六"));

    // Saving reopens the boxes for the next borrower, as "开  始" does.
    f.button(QStringLiteral("开  始"))->click();
    f.setText(QStringLiteral("编码"), QStringLiteral("J2"));
    f.setText(QStringLiteral("联系人"), QStringLiteral("钱七"));
    save->click();
    EXPECT_EQ(messages().lastText(), QStringLiteral("保存成功！"));
    EXPECT_EQ(count(QStringLiteral("借货人表")), 2);
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(code->text().isEmpty());
}
