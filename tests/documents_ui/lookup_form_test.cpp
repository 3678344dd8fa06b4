#include "documents_ui/form_fixture.h"

#include "ui/app/form_registry.h"
#include "ui/documents/input_modi_frm.h"
#include "ui/documents/locate_modi_input_frm.h"
#include "ui/documents/locate_retrn_modi_frm.h"

#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>

using namespace tavomi;
using tavomi::test::BillFormTest;

namespace {

class LookupFormTest : public BillFormTest
{
protected:
    void SetUp() override
    {
        BillFormTest::SetUp();
        unaudited = saveReceipt({{QStringLiteral("B01"), QStringLiteral("瓶"), 1, 2}});
        audited = saveReceipt({{QStringLiteral("B02"), QStringLiteral("支"), 4, 0.5}, {QStringLiteral("B01"), QStringLiteral("瓶"), 2, 2}});
        docs::BillStore(db(), docs::BillKind::PurchaseReceipt).audit(audited);
    }
    static QTableWidget *bills(QWidget &f) { return f.findChild<QTableWidget *>(QStringLiteral("DBGrid1")); }
    static QTableWidget *lines(QWidget &f) { return f.findChild<QTableWidget *>(QStringLiteral("DBGrid2")); }
    static QPushButton *pushButton(QWidget &f, const char *name) { return f.findChild<QPushButton *>(QString::fromLatin1(name)); }
    static int rowOf(QWidget &f, const QString &number)
    {
        for (int r = 0; r < bills(f)->rowCount(); ++r)
            if (bills(f)->item(r, 0)->text() == number)
                return r;
        return -1;
    }

    QString unaudited;
    QString audited;
};

TEST_F(LookupFormTest, TheCurrentRowDecidesTheAuditButton)
{
    auto f = open<Tfrm_locate_modi_input>();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("进货单据查询"));
    ASSERT_EQ(bills(*f)->rowCount(), 2); // the query ran on opening
    auto *audit = pushButton(*f, "BitBtn5");
    auto *modify = pushButton(*f, "BitBtn4");

    // Rows reached by the keyboard count as much as clicked ones.
    bills(*f)->setFocus();
    bills(*f)->setCurrentCell(rowOf(*f, unaudited), 0);
    EXPECT_EQ(audit->text(), QStringLiteral("审核"));
    EXPECT_TRUE(modify->isEnabled());
    QTest::keyClick(bills(*f), rowOf(*f, audited) > rowOf(*f, unaudited) ? Qt::Key_Down : Qt::Key_Up);
    EXPECT_EQ(f->currentNumber(), audited);
    EXPECT_EQ(audit->text(), QStringLiteral("反审核"));
    EXPECT_FALSE(modify->isEnabled());
    EXPECT_EQ(lines(*f)->rowCount(), 2);
    EXPECT_EQ(lines(*f)->item(0, 2)->text(), QStringLiteral("B02")); // lines in row order
}

TEST_F(LookupFormTest, HandOverFollowsTheStoredFlag)
{
    auto f = open<Tfrm_locate_modi_input>();
    QSignalSpy spy(f.get(), &BillLookupForm::handedOver);

    bills(*f)->setCurrentCell(rowOf(*f, unaudited), 0);
    // Someone else audits the bill after the list was read: the hand-over refuses.
    docs::BillStore(db(), docs::BillKind::PurchaseReceipt).audit(unaudited);
    QTest::mouseClick(pushButton(*f, "BitBtn5"), Qt::LeftButton);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(messages().lastText(), QStringLiteral("审核单据，不能修改！"));
    EXPECT_EQ(pushButton(*f, "BitBtn5")->text(), QStringLiteral("反审核")); // the list was read again

    bills(*f)->setCurrentCell(rowOf(*f, audited), 0);
    QTest::mouseClick(pushButton(*f, "BitBtn5"), Qt::LeftButton);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), audited);
    EXPECT_EQ(spy.at(0).at(1).toString(), QStringLiteral("反审核"));
    EXPECT_EQ(f->result(), int(QDialog::Accepted));
}

TEST_F(LookupFormTest, FiltersAreBoundAndSortColumnsListed)
{
    auto f = open<Tfrm_locate_modi_input>();
    auto *number = f->findChild<QLineEdit *>(QStringLiteral("Edit1"));
    const struct
    {
        QString text;
        int rows;
    } cases[] = {
        {unaudited, 1},
        {QStringLiteral("' or '1'='1"), 0},
        {QStringLiteral("%"), 2},
        {QString(), 2},
    };
    for (const auto &c : cases) {
        number->setText(c.text);
        QTest::mouseClick(pushButton(*f, "BitBtn1"), Qt::LeftButton);
        EXPECT_EQ(bills(*f)->rowCount(), c.rows) << c.text.toStdString();
    }
    auto *sort = f->findChild<QComboBox *>(QStringLiteral("ComboBox1"));
    EXPECT_EQ(sort->isEditable(), false);
    sort->setCurrentText(QStringLiteral("金额合计"));
    f->runQuery();
    EXPECT_EQ(bills(*f)->item(0, 0)->text(), unaudited); // 2.00 before 6.00

    // A bill dated outside the default thirty days shows only after widening the range.
    db().execute(QStringLiteral("update 进货主 set 日期='2026-01-01' where 单号=?"), {unaudited});
    f->runQuery();
    EXPECT_EQ(bills(*f)->rowCount(), 1);
    f->findChild<QDateEdit *>(QStringLiteral("dt1"))->setDate(QDate(2025, 12, 1));
    f->runQuery();
    EXPECT_EQ(bills(*f)->rowCount(), 2);
}

TEST_F(LookupFormTest, TheReceiptFormLocatesTheHandedOverBill)
{
    auto form = open<Tfrm_input_modi>();
    click(*form, "TBO7B");
    auto *lookup = form->findChild<BillLookupForm *>();
    ASSERT_NE(lookup, nullptr);
    EXPECT_TRUE(lookup->isVisible());
    bills(*lookup)->setCurrentCell(rowOf(*lookup, audited), 0);
    QTest::mouseClick(pushButton(*lookup, "BitBtn5"), Qt::LeftButton);

    EXPECT_EQ(form->number(), audited);
    EXPECT_EQ(form->viewMode(), QStringLiteral("反审核"));
    EXPECT_EQ(field(*form, "Edit8"), QStringLiteral("已审核"));
    EXPECT_TRUE(form->findChild<QToolButton *>(QStringLiteral("TBO88C"))->isEnabled());
    EXPECT_FALSE(form->findChild<QToolButton *>(QStringLiteral("TBO17C"))->isVisible());
    EXPECT_EQ(form->billList(), QStringList{audited});
}

TEST_F(LookupFormTest, TheReturnLookupListsReturns)
{
    docs::BillStore store(db(), docs::BillKind::PurchaseReturn);
    docs::Bill b;
    b.header.partnerCode = QStringLiteral("GYS");
    b.header.partnerName = QStringLiteral("供应商甲");
    docs::BillLine l;
    l.row = 1;
    l.code = QStringLiteral("B01");
    l.unit = QStringLiteral("瓶");
    l.quantity = 1;
    l.warehouse = QStringLiteral("二号仓");
    b.lines = {l};
    const QString number = store.save(b, false).number;

    auto f = open<Tfrm_locate_retrn_modi>();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("采购退货单查询"));
    ASSERT_EQ(bills(*f)->rowCount(), 1);
    EXPECT_EQ(f->currentNumber(), number);
    ASSERT_EQ(lines(*f)->rowCount(), 1);
    EXPECT_EQ(lines(*f)->horizontalHeaderItem(7)->text(), QStringLiteral("退货仓库"));
    EXPECT_EQ(lines(*f)->item(0, 7)->text(), QStringLiteral("二号仓"));
}

TEST_F(LookupFormTest, TheMainWindowOpensTheFormsByName)
{
    for (const char *name : {"Tfrm_input_modi", "Tfrm_return_modi", "Tfrm_locate_modi_input", "Tfrm_locate_retrn_modi"})
        EXPECT_TRUE(FormRegistry::contains(QString::fromLatin1(name))) << name;
}

} // namespace
