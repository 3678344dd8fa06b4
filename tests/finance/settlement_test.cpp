#include "common/error.h"
#include "common/permissions.h"
#include "finance/cash_ledger.h"
#include "finance/settlement.h"
#include "support/test_db.h"

#include <QSqlQuery>

#include <latch>
#include <mutex>
#include <thread>

using namespace tavomi;
using namespace tavomi::finance;
using tavomi::test::DbTest;

namespace {

const QString kCustomer = QStringLiteral("华联超市");

class SettlementTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        addCustomer(QStringLiteral("HL"), kCustomer);
        addSupplier(QStringLiteral("GY"), QStringLiteral("永辉批发"));
        addAccount(QStringLiteral("工商银行"), 1000);
        addAccount(QStringLiteral("现金"), 0);
        loginAs(QStringLiteral("0001"));
    }

    void addAccount(const QString &name, double balance)
    {
        db().execute(QStringLiteral("insert into 银行帐户表(编号,账户名称,期初额,期未额) values(?,?,?,?)"), {name, name, balance, balance});
    }

    // A row as a bill audit writes it: owed = amount, open.
    void addItem(const SettlementDescriptor &d, const QString &partner, const QString &bill, double amount, double owed)
    {
        db().execute(QStringLiteral("insert into %1(订单号,处理单据,%2,%3,发生日期,%4,%5,去零头,%6,%7,录入日期,付清状态) "
                                    "values('',?,?,?,'2026-03-15','2026-03-15',?,0,?,?,'2026-03-15',?)")
                         .arg(d.itemTable, d.itemPartner, d.itemCode, d.itemDue, d.itemAmount, d.itemSettled, d.itemOwed),
                     {bill, partner, QStringLiteral("YS-") + bill, amount, amount - owed, owed, kStateOpen});
    }

    MoneyRequest request(const SettlementDescriptor &d, const QString &partner, const QString &bill, const QString &amount)
    {
        MoneyRequest r;
        r.partner = partner;
        r.bill = bill;
        r.code = QStringLiteral("YS-") + bill;
        r.amountText = amount;
        r.date = QStringLiteral("2026-03-15");
        r.invoice = QStringLiteral("0001");
        r.handler = QStringLiteral("系统操作员");
        r.method = QStringLiteral("现金");
        r.account = QStringLiteral("工商银行");
        Q_UNUSED(d);
        return r;
    }

    struct Item
    {
        double settled = 0;
        double owed = 0;
        QString state;
    };
    Item item(const SettlementDescriptor &d, const QString &bill)
    {
        QSqlQuery q = db().run(QStringLiteral("select %1,%2,付清状态 from %3 where 处理单据=?").arg(d.itemSettled, d.itemOwed, d.itemTable), {bill});
        Item it;
        if (q.next())
            it = {q.value(0).toDouble(), q.value(1).toDouble(), q.value(2).toString()};
        return it;
    }

    QString onlyMoneyCode(const SettlementDescriptor &d)
    {
        return db().scalar(QStringLiteral("select %1 from %2").arg(d.moneyCode, d.moneyTable)).toString();
    }
};

} // namespace

// The cash desk: what it offers for the chosen row and what posting does to the rows.
TEST_F(SettlementTest, CashDeskCases)
{
    struct Case
    {
        const char *name;
        double debt;        // the bill row (its owed amount; the row's amount is 100)
        double credit;      // a return credit row, 0 for none
        bool takeCredit;    // the credit row is the one chosen
        const char *amount;
        double outstanding; // 尚欠款 shown
        PostingCase posted;
        double billSettled, billOwed;
        const char *billState;
        const char *creditState;
        int moneyRows;
        int auditedRows;
    };
    const Case cases[] = {
        {"normal", 100, -30, false, "70", 70, PostingCase::Normal, 70, 0, "正待审核", "已付清", 1, 0},
        {"partial", 100, -30, false, "50", 70, PostingCase::Normal, 50, 20, "未付清", "已付清", 1, 0},
        {"no credit", 100, 0, false, "100", 100, PostingCase::Normal, 100, 0, "正待审核", "", 1, 0},
        {"offset", 100, -130, false, "-30", -30, PostingCase::Offset, 100, 0, "已付清", "已付清", 0, 0},
        {"zero", 100, -100, false, "0", 0, PostingCase::Zero, 100, 0, "已付清", "已付清", 1, 1},
        {"credit row", 100, -30, true, "-30", -30, PostingCase::CreditRow, 0, 100, "未付清", "正待审核", 1, 0},
        {"nothing owed", 0, 0, false, "0", 0, PostingCase::Zero, 100, 0, "已付清", "", 1, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        db().execute(QStringLiteral("delete from 销售应收款表"));
        db().execute(QStringLiteral("delete from 销售收款表"));
        const SettlementDescriptor &d = receivables();
        addItem(d, kCustomer, QStringLiteral("X1"), 100, c.debt);
        if (c.credit != 0)
            addItem(d, kCustomer, QStringLiteral("T1"), c.credit, c.credit);
        Settlement s(db(), d);
        const QList<OpenItem> open = s.openItems(kCustomer);
        const QString chosen = c.takeCredit ? QStringLiteral("T1") : QStringLiteral("X1");
        OpenItem row;
        for (const OpenItem &it : open)
            if (it.bill == chosen)
                row = it;
        const Desk desk = Settlement::desk(row, s.creditTotal(kCustomer));
        EXPECT_DOUBLE_EQ(desk.outstanding, c.outstanding);
        const PostingResult r = s.post(request(d, kCustomer, chosen, QString::fromUtf8(c.amount)));
        EXPECT_EQ(r.postingCase, c.posted);
        const Item bill = item(d, QStringLiteral("X1"));
        if (!c.takeCredit) {
            EXPECT_DOUBLE_EQ(bill.settled, c.billSettled);
            EXPECT_DOUBLE_EQ(bill.owed, c.billOwed);
        }
        EXPECT_EQ(bill.state, QString::fromUtf8(c.billState));
        EXPECT_EQ(item(d, QStringLiteral("T1")).state, QString::fromUtf8(c.creditState));
        EXPECT_EQ(count(QStringLiteral("销售收款表")), c.moneyRows);
        EXPECT_EQ(count(QStringLiteral("销售收款表"), QStringLiteral("审核标志=1")), c.auditedRows);
        EXPECT_EQ(count(QStringLiteral("现金明细表")), 0);
        if (c.posted == PostingCase::Offset) {
            EXPECT_EQ(count(QStringLiteral("销售应收款表"), QStringLiteral("付清状态='未付清' and 欠款=-30 and 备注=? and 处理单据 like 'ysk%'"),
                            {kOffsetRemark}),
                      1);
        }
    }
}

// What an offset leaves open (a credit row "抵扣负数欠款所生成单据") is the partner's credit at
// the next cash desk, and stops counting as soon as a refund of it is posted, audited or not.
TEST_F(SettlementTest, OffsetRemainderIsTheNextCredit)
{
    for (const SettlementDescriptor *d : {&receivables(), &payables()}) {
        SCOPED_TRACE(d->itemTable.toStdString());
        const QString partner = d->receivable ? kCustomer : QStringLiteral("永辉批发");
        addItem(*d, partner, QStringLiteral("X1"), 100, 100);
        addItem(*d, partner, QStringLiteral("T1"), -130, -130);
        Settlement s(db(), *d);
        ASSERT_EQ(s.post(request(*d, partner, QStringLiteral("X1"), QStringLiteral("-30"))).postingCase, PostingCase::Offset);
        addItem(*d, partner, QStringLiteral("X2"), 50, 50);
        auto deskOf = [&](const QString &bill) {
            const double credit = s.creditTotal(partner);
            for (const OpenItem &it : s.openItems(partner))
                if (it.bill == bill || (bill.isEmpty() && it.bill.startsWith(d->manualPrefix)))
                    return Settlement::desk(it, credit);
            ADD_FAILURE() << "not open: " << bill.toStdString();
            return Desk();
        };
        auto expectDesk = [&](const QString &bill, double outstanding, double deduct) {
            const Desk desk = deskOf(bill);
            EXPECT_DOUBLE_EQ(desk.outstanding, outstanding) << bill.toStdString();
            EXPECT_DOUBLE_EQ(desk.deduct, deduct) << bill.toStdString();
        };
        expectDesk(QStringLiteral("X2"), 20, -30);
        expectDesk(QString(), -30, 0); // the remainder itself: paid back in full
        EXPECT_DOUBLE_EQ(s.balance(partner), 20);

        // The remainder is paid back; until the refund is audited it is no longer a credit.
        const QString remainder = db().scalar(QStringLiteral("select 处理单据 from %1 where 备注=?").arg(d->itemTable), {kOffsetRemark}).toString();
        MoneyRequest refund = request(*d, partner, remainder, QStringLiteral("-30"));
        refund.code = db().scalar(QStringLiteral("select %1 from %2 where 处理单据=?").arg(d->itemCode, d->itemTable), {remainder}).toString();
        const QString code = s.post(refund).moneyCode;
        expectDesk(QStringLiteral("X2"), 50, 0);
        EXPECT_DOUBLE_EQ(s.balance(partner), 50);
        // Deleting the refund gives the credit back.
        s.remove(code);
        expectDesk(QStringLiteral("X2"), 20, -30);
        s.post(refund);
        s.audit(onlyMoneyCode(*d));
        expectDesk(QStringLiteral("X2"), 50, 0);
        EXPECT_DOUBLE_EQ(s.balance(partner), 50);
    }
}

TEST_F(SettlementTest, RefusalsWriteNothing)
{
    const SettlementDescriptor &d = receivables();
    addItem(d, kCustomer, QStringLiteral("X1"), 100, 100);
    Settlement s(db(), d);
    struct Case
    {
        const char *amount;
        bool noAccount;
        const char *text;
    };
    const Case cases[] = {
        {"70", true, "请确保收款方式和收款去向不为空!"},
        {"100.01", false, "收款金额不能等于0或小于零或大于尚欠款!"},
        {"0", false, "收款金额不能等于0或小于零或大于尚欠款!"},
        {"-5", false, "如果本次收款为负数那么金额应为尚欠款"},
    };
    for (const Case &c : cases) {
        MoneyRequest r = request(d, kCustomer, QStringLiteral("X1"), QString::fromUtf8(c.amount));
        if (c.noAccount)
            r.account.clear();
        try {
            s.post(r);
            ADD_FAILURE() << c.amount;
        } catch (const Error &e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.text));
        }
    }
    EXPECT_EQ(count(QStringLiteral("销售收款表")), 0);
    EXPECT_DOUBLE_EQ(item(d, QStringLiteral("X1")).owed, 100);
    // 69.9 + 0.1 typed as texts still add up in cents.
    s.post(request(d, kCustomer, QStringLiteral("X1"), QStringLiteral("69.9")));
    s.post(request(d, kCustomer, QStringLiteral("X1"), QStringLiteral("30.1")));
    EXPECT_EQ(item(d, QStringLiteral("X1")).state, kStatePending);
    EXPECT_EQ(count(QStringLiteral("销售收款表")), 2); // two codes in one second, both kept apart
}

TEST_F(SettlementTest, AuditPostsOnceAndSettlesTheReceivable)
{
    const SettlementDescriptor &d = receivables();
    addItem(d, kCustomer, QStringLiteral("X1"), 100, 100);
    addItem(d, kCustomer, QStringLiteral("T1"), -30, -30);
    Settlement s(db(), d);
    s.post(request(d, kCustomer, QStringLiteral("X1"), QStringLiteral("70")));
    const QString code = onlyMoneyCode(d);

    // Another workstation audits first; this one still shows the row unaudited.
    auto second = database().openSecond();
    Settlement(*second, d).audit(code);
    try {
        s.audit(code);
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), kAlreadyAuditedText);
    }
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("工商银行")), 1070);
    EXPECT_EQ(item(d, QStringLiteral("X1")).state, kStateSettled);
    QSqlQuery q = db().run(QStringLiteral("select 业务类型,借方发生,贷方发生,余额,备注,编码,票据号码 from 现金明细表"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("销售收款出入"));
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 70);
    EXPECT_DOUBLE_EQ(q.value(2).toDouble(), 0);
    EXPECT_DOUBLE_EQ(q.value(3).toDouble(), 1070);
    EXPECT_EQ(q.value(4).toString(), QStringLiteral("工商银行"));
    EXPECT_EQ(q.value(5).toString(), code);
    EXPECT_EQ(q.value(6).toString(), QStringLiteral("0001"));
    EXPECT_FALSE(q.next());
    EXPECT_EQ(count(QStringLiteral("日志"), QStringLiteral("操作内容=?"), {QStringLiteral("审核销售收款记录,收款单编码为:") + code}), 1);

    // Deleting the audited collection reverses it; the earlier ledger row stays.
    s.remove(code);
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("工商银行")), 1000);
    EXPECT_EQ(count(QStringLiteral("现金明细表"), QStringLiteral("业务类型=? and 贷方发生=70 and 余额=1000"), {QStringLiteral("销售收款收入反冲流")}), 1);
    EXPECT_EQ(count(QStringLiteral("现金明细表")), 2);
    const Item bill = item(d, QStringLiteral("X1"));
    EXPECT_EQ(bill.state, kStateOpen);
    EXPECT_DOUBLE_EQ(bill.settled, 0);
    EXPECT_DOUBLE_EQ(bill.owed, 70);
    EXPECT_EQ(count(QStringLiteral("销售收款表")), 0);
}

// Two workstations press "审核单据" on the same collection at the same moment: the money reaches
// the account once, the other one is refused cleanly.
TEST_F(SettlementTest, ConcurrentAuditsPostOnce)
{
    const SettlementDescriptor &d = receivables();
    std::mutex opening; // connections are opened one at a time, each in its own thread
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        const QString bill = QStringLiteral("X%1").arg(round);
        addItem(d, kCustomer, bill, 100, 100);
        Settlement(db(), d).post(request(d, kCustomer, bill, QStringLiteral("100")));
        const QString code = db().scalar(QStringLiteral("select 收款单编码 from 销售收款表 where 处理单号=?"), {bill}).toString();

        std::latch ready(2);
        QString outcome[2];
        auto workstation = [&](int i) {
            std::unique_ptr<Session> s;
            {
                std::lock_guard<std::mutex> lock(opening);
                s = database().openSecond();
            }
            ready.arrive_and_wait();
            try {
                Settlement(*s, d).audit(code);
                outcome[i] = QStringLiteral("posted");
            } catch (const Error &e) {
                outcome[i] = e.message();
            }
        };
        std::thread a(workstation, 0);
        std::thread b(workstation, 1);
        a.join();
        b.join();

        QStringList outcomes = {outcome[0], outcome[1]};
        outcomes.sort();
        EXPECT_EQ(outcomes, QStringList({QStringLiteral("posted"), kAlreadyAuditedText}));
        EXPECT_EQ(count(QStringLiteral("现金明细表"), QStringLiteral("编码=?"), {code}), 1);
        EXPECT_EQ(count(QStringLiteral("现金明细表")), round);
        EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("工商银行")), 1000 + 100 * round);
        EXPECT_EQ(count(QStringLiteral("日志"), QStringLiteral("操作内容=?"), {d.auditLog + code}), 1);
        EXPECT_EQ(item(d, bill).state, kStateSettled);
    }
}

TEST_F(SettlementTest, NegativeCollectionPaysOutAndAuditNeedsAnAccount)
{
    const SettlementDescriptor &d = receivables();
    addItem(d, kCustomer, QStringLiteral("T1"), -30, -30);
    Settlement s(db(), d);
    MoneyRequest r = request(d, kCustomer, QStringLiteral("T1"), QStringLiteral("-30"));
    r.account = QStringLiteral("现金");
    s.post(r);
    const QString code = onlyMoneyCode(d);
    db().execute(QStringLiteral("update 银行帐户表 set 账户名称='现金箱' where 账户名称='现金'"));
    try {
        s.audit(code);
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), QStringLiteral("收款去向账户不存在!"));
    }
    EXPECT_EQ(count(QStringLiteral("销售收款表"), QStringLiteral("审核标志=0")), 1);
    EXPECT_EQ(count(QStringLiteral("日志"), QStringLiteral("操作内容 like '审核%'")), 0);
    db().execute(QStringLiteral("update 银行帐户表 set 账户名称='现金' where 账户名称='现金箱'"));
    s.audit(code);
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("现金")), -30);
    EXPECT_EQ(count(QStringLiteral("现金明细表"), QStringLiteral("业务类型=? and 贷方发生=30 and 借方发生=0 and 余额=-30"), {QStringLiteral("客户退货支出")}), 1);
    EXPECT_EQ(item(d, QStringLiteral("T1")).state, kStateSettled);
}

TEST_F(SettlementTest, AuditNeedsTheRight)
{
    const SettlementDescriptor &d = receivables();
    addItem(d, kCustomer, QStringLiteral("X1"), 100, 100);
    Settlement s(db(), d);
    s.post(request(d, kCustomer, QStringLiteral("X1"), QStringLiteral("100")));
    addUser(QStringLiteral("0102"), QStringLiteral("出纳"), {QStringLiteral("销售收款管理")});
    loginAs(QStringLiteral("0102"));
    try {
        s.audit(onlyMoneyCode(d));
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), kNoRightText);
    }
    EXPECT_EQ(count(QStringLiteral("销售收款表"), QStringLiteral("审核标志=0")), 1);
}

// The payables mirror: 500 owed, a return credit of −200, 300 paid from the bank.
TEST_F(SettlementTest, PayablesMirror)
{
    const SettlementDescriptor &d = payables();
    const QString supplier = QStringLiteral("永辉批发");
    addItem(d, supplier, QStringLiteral("J1"), 500, 500);
    addItem(d, supplier, QStringLiteral("R1"), -200, -200);
    Settlement s(db(), d);
    EXPECT_DOUBLE_EQ(s.balance(supplier), 300);
    OpenItem bill;
    for (const OpenItem &it : s.openItems(supplier))
        if (it.bill == QStringLiteral("J1"))
            bill = it;
    EXPECT_DOUBLE_EQ(Settlement::desk(bill, s.creditTotal(supplier)).outstanding, 300);
    s.post(request(d, supplier, QStringLiteral("J1"), QStringLiteral("300")));
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("工商银行")), 1000);
    const QString code = onlyMoneyCode(d);
    EXPECT_TRUE(code.startsWith(QStringLiteral("FK")));
    s.audit(code);
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("工商银行")), 700);
    EXPECT_EQ(count(QStringLiteral("现金明细表"), QStringLiteral("业务类型=? and 贷方发生=300 and 余额=700"), {QStringLiteral("采购付款支出")}), 1);
    EXPECT_EQ(item(d, QStringLiteral("J1")).state, kStateSettled);
    EXPECT_EQ(item(d, QStringLiteral("R1")).state, kStateSettled);
    s.remove(code);
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("工商银行")), 1000);
    EXPECT_EQ(count(QStringLiteral("现金明细表"), QStringLiteral("业务类型=? and 借方发生=300 and 余额=1000"), {QStringLiteral("采购付款支出反冲流")}), 1);
}

TEST_F(SettlementTest, ManualItems)
{
    const SettlementDescriptor &d = receivables();
    Settlement s(db(), d);
    ManualItem m;
    m.partner = kCustomer;
    m.date = QStringLiteral("2026-03-15");
    m.due = QStringLiteral("2026-03-20");
    struct Case
    {
        double amount, writeOff;
        const char *due;
        const char *partner;
        const char *text;
    };
    const Case refusals[] = {
        {100, 100, "2026-03-20", "华联超市", "去零头不能大于等于应收款或等于零!如果你要收款请你在收款窗口操作!"},
        {100, 0, "2026-03-14", "华联超市", "发生日期不能大于收款日期!"},
        {100, 0, "2026-03-20", "", "客户不能为空!"},
        {qQNaN(), 0, "2026-03-20", "华联超市", "金额不正确!"},
        {1e300, 0, "2026-03-20", "华联超市", "金额不正确!"},
    };
    for (const Case &c : refusals) {
        ManualItem bad = m;
        bad.amount = c.amount;
        bad.writeOff = c.writeOff;
        bad.due = QString::fromUtf8(c.due);
        bad.partner = QString::fromUtf8(c.partner);
        try {
            s.saveManual(bad);
            ADD_FAILURE() << c.text;
        } catch (const Error &e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.text));
        }
    }
    EXPECT_EQ(count(d.itemTable), 0);

    m.amount = 80;
    m.writeOff = 5;
    const QString code = s.saveManual(m);
    EXPECT_EQ(count(d.itemTable, QStringLiteral("应收款编码=? and 欠款=75 and 付清状态='未付清' and 处理单据 like 'ysk%'"), {code}), 1);

    // A row that came from a bill keeps its number and amount when modified.
    addItem(d, kCustomer, QStringLiteral("X1"), 100, 100);
    ManualItem fromBill = m;
    fromBill.code = QStringLiteral("YS-X1");
    fromBill.bill = QStringLiteral("改掉的单号");
    fromBill.amount = 999;
    fromBill.writeOff = 10;
    s.saveManual(fromBill);
    EXPECT_EQ(count(d.itemTable, QStringLiteral("处理单据='X1' and 应收款=100 and 欠款=90")), 1);

    // Once a collection names it, the row can be neither modified nor deleted.
    s.post(request(d, kCustomer, QStringLiteral("X1"), QStringLiteral("40")));
    try {
        s.saveManual(fromBill);
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), QStringLiteral("应收款单据: YS-X1 已经发生了收款操作,请你在销售收款窗口中操作!"));
    }
    EXPECT_THROW(s.removeItem(QStringLiteral("YS-X1")), Error);
    s.removeItem(code);
    EXPECT_EQ(count(d.itemTable), 1);
}
