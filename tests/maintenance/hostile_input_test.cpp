// Whatever a user types reaches the engine's commands intact or is refused with a message: no
// statement fails, nothing is half-written, searches take the text literally, and the database
// stays consistent.

#include "company_fixture.h"

#include "common/error.h"
#include "common/helpers.h"
#include "common/program_folder.h"
#include "common/text_utils.h"
#include "masterdata/category_service.h"
#include "masterdata/goods_service.h"
#include "masterdata/partner_service.h"
#include "masterdata/unit_scheme.h"
#include "masterdata/warehouse_service.h"
#include "platform/ini_file.h"
#include "ui/finance/finance_common.h"
#include "ui/masterdata/workstation_defaults.h"

#include <functional>

using namespace tavomi;
using namespace tavomi::test;

namespace {

const QStringList &hostileTexts()
{
    static const QStringList texts = {
        QStringLiteral("O'Brien \"双引号\""),
        QStringLiteral("'; drop table 商品; --"),
        QStringLiteral("100% 折_扣"),
        QString(1000, QChar(0x957F)), // 1,000 × 长
        QStringLiteral("甲\t乙\n丙") + QChar(0x01) + QStringLiteral("丁") + QChar(0x7F) + QStringLiteral("戊"),
        QStringLiteral("啤酒🍺😀"),
        QStringLiteral("𠀀鿏"), // outside GB2312
        QStringLiteral("C:\\路径\\"),
        QString(),
    };
    return texts;
}

// As a pattern it matches "100% 折_扣"; as a text it does not contain it.
const QString kDecoy = QStringLiteral("100元 折后扣");

const QStringList kNumberTexts = {QStringLiteral("1.2.3"), QStringLiteral("1e400"), QStringLiteral("NaN"), QStringLiteral("-0"),
                                  QString(),             QStringLiteral("999999999999999999999")};

enum class Outcome { Stored, Refused, Failed };

// Runs a command: it must either succeed or refuse with an Error meant for the user, never with a
// failed statement. On a refusal the given row counts must not have moved.
class Attempt
{
public:
    explicit Attempt(std::function<int()> rows)
        : m_rows(std::move(rows))
    {}
    Outcome run(const std::function<void()> &command)
    {
        const int before = m_rows();
        try {
            command();
            return Outcome::Stored;
        } catch (const DbError &e) {
            ADD_FAILURE() << "statement failed: " << e.message().toStdString();
            return Outcome::Failed;
        } catch (const Error &e) {
            EXPECT_FALSE(e.message().isEmpty());
            EXPECT_EQ(m_rows(), before) << "half-written after: " << e.message().toStdString();
            return Outcome::Refused;
        }
    }

private:
    std::function<int()> m_rows;
};

class HostileInputTest : public CompanyTest
{
protected:
    void TearDown() override
    {
        if (!HasFatalFailure()) {
            const maintenance::ConsistencyReport r = maintenance::checkConsistency(db());
            EXPECT_TRUE(r.ok()) << describe(r);
        }
        CompanyTest::TearDown();
    }
    std::function<int()> rowsOf(const QStringList &tables)
    {
        return [this, tables] {
            int n = 0;
            for (const QString &t : tables)
                n += count(t);
            return n;
        };
    }
};

QString trace(const QString &text)
{
    return text.size() > 40 ? text.left(20) + QStringLiteral("…(%1)").arg(text.size()) : text;
}

} // namespace

// Customers, suppliers, staff, members and borrowers: every column gets every text; the partner
// searches find a text literally (the decoy matches it only as a pattern).
TEST_F(HostileInputTest, PartnerTextsAreStoredIntactAndSearchedLiterally)
{
    const QList<const MasterTableDef *> defs = {&customerTable(), &supplierTable(), &staffTable(), &memberTable(),
                                                &borrowerTable()};
    for (const MasterTableDef *def : defs) {
        SCOPED_TRACE(def->table.toStdString());
        MasterTableStore store(db(), *def);
        auto rowOf = [def](const QString &key, const QString &text) {
            MasterRow row;
            for (const MasterColumn &c : def->columns)
                row << (def->keyColumns.contains(c.name) || c.name == QStringLiteral("卡号") ? key + text : text);
            return row;
        };
        store.insert(rowOf(QStringLiteral("DECOY"), kDecoy));
        Attempt attempt(rowsOf({def->table}));
        const int nameIndex = def->indexOf(def->nameColumn);
        for (int i = 0; i < hostileTexts().size(); ++i) {
            const QString text = hostileTexts().at(i);
            SCOPED_TRACE(trace(text).toStdString());
            const MasterRow row = rowOf(QStringLiteral("K%1_").arg(i), text);
            ASSERT_EQ(attempt.run([&] { store.insert(row); }), Outcome::Stored);
            MasterRow stored;
            ASSERT_TRUE(store.find(row, &stored));
            MasterRow expected;
            for (const QString &v : row)
                expected << v.trimmed();
            EXPECT_EQ(stored, expected);

            if (text.trimmed().isEmpty())
                continue;
            MasterRow texts(def->columns.size());
            texts[nameIndex] = text;
            const QList<MasterRow> found = store.search(texts);
            EXPECT_TRUE(found.contains(expected));
            for (const MasterRow &r : found)
                EXPECT_TRUE(r.at(nameIndex).contains(text.trimmed(), Qt::CaseInsensitive)) << r.at(nameIndex).toStdString();
        }
    }
}

// A warehouse name becomes a table name: every hostile name is refused without a trace, a name
// outside GB2312 made of allowed characters works, and a bill line naming a table that is no
// warehouse is refused at the audit.
TEST_F(HostileInputTest, WarehouseNamesAreRefusedOrWorkAsStockTables)
{
    buildCompany();
    MasterTableStore store(db(), warehouseTable());
    const int tables = int(db().tables().size());
    Attempt attempt(rowsOf({QStringLiteral("货位")}));
    QStringList names = hostileTexts();
    names << QStringLiteral("商品") << QStringLiteral("一号仓") << QStringLiteral("库存");
    for (int i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(trace(names.at(i)).toStdString());
        EXPECT_EQ(attempt.run([&] { store.insert({QStringLiteral("H%1").arg(i), names.at(i), {}, {}, {}}); }), Outcome::Refused);
        EXPECT_EQ(db().tables().size(), tables);
    }
    EXPECT_EQ(count(QStringLiteral("商品")), 2);

    store.insert({QStringLiteral("09"), QStringLiteral("鿏仓_1"), {}, {}, {}});
    ASSERT_TRUE(db().hasTable(QStringLiteral("鿏仓_1")));
    EXPECT_EQ(count(db().quoteName(QStringLiteral("鿏仓_1"))), 2);
    saveAndAudit(docs::BillKind::PurchaseReceipt, supplierBill({line(QStringLiteral("B02"), 3, 0.5, QStringLiteral("鿏仓_1"))}));
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("select 数量 from %1 where 编码='B02'").arg(db().quoteName(QStringLiteral("鿏仓_1"))))
                         .toDouble(),
                     3);

    docs::BillStore sales(db(), docs::BillKind::SalesShipment);
    QStringList cells = hostileTexts();
    cells << QStringLiteral("商品") << QStringLiteral("库存") << QStringLiteral("权限密码");
    Attempt audit(rowsOf({QStringLiteral("销售应收款表"), QStringLiteral("日志")}));
    for (const QString &cell : cells) {
        SCOPED_TRACE(trace(cell).toStdString());
        docs::Bill b = customerBill({line(QStringLiteral("B01"), 1, 3, cell)});
        b.lines[0].row = 1;
        const QString number = sales.save(b, false).number;
        QString message;
        EXPECT_EQ(sales.stockShortage(sales.load(number), -1, &message), 0);
        EXPECT_EQ(audit.run([&] { sales.audit(number); }), Outcome::Refused);
        EXPECT_EQ(db().scalar(QStringLiteral("select 审核标志 from 销售主 where 单号=?"), {number}).toInt(), 0);
        sales.remove(number);
    }
}

// Goods texts and codes, the goods searches (as a user types, and the goods list's boxes) and
// categories.
TEST_F(HostileInputTest, GoodsTextsAreStoredIntactAndSearchedLiterally)
{
    addWarehouse(QStringLiteral("一号仓"));
    addGoods(QStringLiteral("B01DECOY"), kDecoy, 1, 2, kDecoy);
    Attempt attempt(rowsOf({QStringLiteral("商品"), QStringLiteral("库存"), QStringLiteral("库存2"), QStringLiteral("一号仓"),
                                  QStringLiteral("类别")}));
    for (int i = 0; i < hostileTexts().size(); ++i) {
        const QString text = hostileTexts().at(i);
        SCOPED_TRACE(trace(text).toStdString());
        GoodsInput in;
        in.categoryPrefix = QStringLiteral("01");
        in.itemNumber = QString::number(i) + text;
        in.shorthand = text;
        in.name = text;
        in.barcode = QStringLiteral("条") + QString::number(i) + text;
        in.supplierName = text;
        in.units.largest = QStringLiteral("个");
        QString code;
        const Outcome outcome = attempt.run([&] { code = tavomi::addGoods(db(), in); });
        ASSERT_NE(outcome, Outcome::Failed);
        if (outcome == Outcome::Refused)
            continue;
        EXPECT_EQ(code, goodsCode(in.categoryPrefix, in.itemNumber).trimmed());
        const QVariantMap stored = loadGoods(db(), code);
        EXPECT_EQ(stored.value(QStringLiteral("条码")).toString(), text.trimmed());
        EXPECT_EQ(stored.value(QStringLiteral("品名")).toString(), text.trimmed());
        EXPECT_EQ(stored.value(QStringLiteral("公司名")).toString(), text.trimmed());
        EXPECT_EQ(stored.value(QStringLiteral("备注")).toString(), in.barcode.trimmed());
        EXPECT_EQ(count(QStringLiteral("一号仓"), QStringLiteral("编码=?"), {code}), 1);

        QStringList found;
        QSqlQuery q = SearchGoods(db(), text);
        while (q.next()) {
            found << q.value(0).toString();
            EXPECT_TRUE(q.value(2).toString().contains(text.trimmed(), Qt::CaseInsensitive)
                        || q.value(0).toString().contains(text.trimmed(), Qt::CaseInsensitive));
        }
        EXPECT_TRUE(found.contains(code));
        GoodsSearch boxes;
        boxes.name = text;
        const GoodsListQuery list = goodsSearch(db(), boxes);
        EXPECT_EQ(db().scalar(list.countSql(), list.values).toInt(), 1);

        EXPECT_NE(attempt.run([&] { addCategory(db(), QStringLiteral("0"), QStringLiteral("C%1").arg(i) + text, text); }),
                  Outcome::Failed);
    }
    // A category code with a wildcard lists only its own goods.
    addCategory(db(), QStringLiteral("0"), QStringLiteral("9_"), QStringLiteral("杂项"));
    addGoods(QStringLiteral("B9X001"), QStringLiteral("别类"), 1, 2);
    addGoods(QStringLiteral("B9_00001"), QStringLiteral("本类"), 1, 2);
    const GoodsListQuery ofCategory = goodsOfCategory(db(), QStringLiteral("9_"));
    EXPECT_EQ(db().scalar(ofCategory.countSql(), ofCategory.values).toInt(), 1);
    // A 1,000-character item number is refused, whatever the database's column width.
    EXPECT_EQ(count(QStringLiteral("商品"), QStringLiteral("品名=?"), {hostileTexts().at(3)}), 0);
}

// Bill header texts, line notes and partner names go through save, load and audit into the
// receivable or payable; the settlement filters find them literally.
TEST_F(HostileInputTest, BillTextsSurviveSaveAuditAndTheMoneyRows)
{
    buildCompany();
    docs::BillStore sales(db(), docs::BillKind::SalesShipment);
    docs::BillStore receipts(db(), docs::BillKind::PurchaseReceipt);
    Attempt attempt(rowsOf({QStringLiteral("销售主"), QStringLiteral("销售子"), QStringLiteral("进货主")}));
    for (const QString &text : hostileTexts()) {
        SCOPED_TRACE(trace(text).toStdString());
        docs::Bill b = customerBill({line(QStringLiteral("B01"), 1, 3, QStringLiteral("一号仓"))});
        b.header.partnerName = text;
        b.header.remark = text;
        b.header.summary = text;
        b.header.invoiceNumber = text;
        b.header.salesperson = text;
        b.header.account = text;
        b.header.orderNumber = text;
        b.lines[0].row = 1;
        b.lines[0].note = text;
        QString number;
        const Outcome outcome = attempt.run([&] { number = sales.save(b, false).number; });
        if (text.trimmed().isEmpty()) {
            EXPECT_EQ(outcome, Outcome::Refused); // no customer
            continue;
        }
        ASSERT_EQ(outcome, Outcome::Stored);
        const docs::Bill loaded = sales.load(number);
        for (const QString &field : {loaded.header.partnerName, loaded.header.remark, loaded.header.summary,
                                     loaded.header.invoiceNumber, loaded.header.salesperson, loaded.header.account,
                                     loaded.header.orderNumber})
            EXPECT_EQ(field, text.trimmed());
        ASSERT_EQ(loaded.lines.size(), 1);
        EXPECT_EQ(loaded.lines.first().note, text);
        sales.audit(number);
        EXPECT_EQ(db().scalar(QStringLiteral("select 客户名称 from 销售应收款表 where 处理单据=?"), {number}).toString(), text.trimmed());

        docs::Bill p = supplierBill({line(QStringLiteral("B02"), 2, 0.5, QStringLiteral("二号仓"))});
        p.header.partnerName = text;
        p.header.extra = text;
        p.header.remark = text;
        p.lines[0].row = 1;
        const QString receipt = receipts.save(p, false).number;
        EXPECT_EQ(receipts.load(receipt).header.extra, text.trimmed());
        receipts.audit(receipt);
        EXPECT_EQ(db().scalar(QStringLiteral("select 供应商 from 采购应付款表 where 处理单据=?"), {receipt}).toString(), text.trimmed());
    }

    // The settlement forms' filters take the text literally.
    for (const QString &name : {kDecoy, hostileTexts().at(2)}) {
        docs::Bill b = customerBill({line(QStringLiteral("B01"), 1, 3, QStringLiteral("一号仓"))});
        b.header.partnerName = name + QStringLiteral("X");
        b.lines[0].row = 1;
        sales.audit(sales.save(b, false).number);
    }
    for (const QString &text : hostileTexts()) {
        if (text.trimmed().isEmpty())
            continue;
        SCOPED_TRACE(trace(text).toStdString());
        QString sql = QStringLiteral("select 客户名称 from 销售应收款表 where 1=1");
        QVariantList values;
        addContains(sql, values, QStringLiteral("客户名称"), text);
        QSqlQuery q = db().run(sql, values);
        int n = 0;
        while (q.next()) {
            ++n;
            EXPECT_TRUE(q.value(0).toString().contains(text.trimmed(), Qt::CaseInsensitive)) << q.value(0).toString().toStdString();
        }
        EXPECT_GE(n, 1);
    }
}

// Every number the engine takes as text: each is refused with a message or stored as a finite
// number equal to what was typed; nothing is half-written.
TEST_F(HostileInputTest, NumberTextsAreRefusedOrStoredAsFiniteNumbers)
{
    const SmallCompany c = buildCompany();
    finance::Settlement receivable(db(), finance::receivables());
    finance::Settlement payable(db(), finance::payables());
    finance::Transfers transfers(db());
    auto request = [](const QString &partner, const finance::OpenItem &item, const QString &amount) {
        finance::MoneyRequest r;
        r.partner = partner;
        r.bill = item.bill;
        r.code = item.code;
        r.amountText = amount;
        r.date = QStringLiteral("2026-03-15");
        r.method = QStringLiteral("现金");
        r.account = QStringLiteral("现金");
        return r;
    };
    const finance::OpenItem owed = receivable.openItems(QStringLiteral("客户甲")).first();
    const finance::OpenItem due = payable.openItems(QStringLiteral("供应商甲")).first();
    IniFile::write(kBdchangeIni, QStringLiteral("销售出货默认折扣"), QStringLiteral("0.9"));

    struct Field
    {
        const char *what;
        QStringList tables;                             // rows that a refusal must leave alone
        std::function<void(const QString &)> command;   // throws Error on a refusal
        std::function<QVariant(const QString &)> stored; // the stored number after a success (invalid: none)
    };
    int n = 0;
    const QList<Field> fields = {
        {"collection amount", {QStringLiteral("销售收款表"), QStringLiteral("销售应收款表")},
         [&](const QString &t) { receivable.post(request(QStringLiteral("客户甲"), owed, t)); }, {}},
        {"payment amount", {QStringLiteral("采购付款表"), QStringLiteral("采购应付款表")},
         [&](const QString &t) { payable.post(request(QStringLiteral("供应商甲"), due, t)); }, {}},
        {"transfer amount", {QStringLiteral("存取款表"), QStringLiteral("现金明细表")},
         [&](const QString &t) {
             finance::Transfer tr;
             tr.amountText = t;
             tr.from = QStringLiteral("银行");
             tr.to = QStringLiteral("现金");
             tr.handler = QStringLiteral("张三");
             transfers.save(tr);
         },
         {}},
        {"account opening amount", {QStringLiteral("银行帐户表")},
         [&](const QString &t) {
             const int k = ++n;
             addBasicRow(db(), basicList(BasicList::Accounts), QStringLiteral("9%1").arg(k), QStringLiteral("账户%1").arg(k), t);
         },
         [&](const QString &) {
             return db().scalar(QStringLiteral("select 期初额 from 银行帐户表 where 账户名称=?"), {QStringLiteral("账户%1").arg(n)});
         }},
        {"payment method amount", {QStringLiteral("银行账户")},
         [&](const QString &t) {
             const int k = ++n;
             addBasicRow(db(), basicList(BasicList::PaymentMethods), QStringLiteral("9%1").arg(k), QStringLiteral("方式%1").arg(k), t);
         },
         [&](const QString &) {
             return db().scalar(QStringLiteral("select 期初额 from 银行账户 where 科目名称=?"), {QStringLiteral("方式%1").arg(n)});
         }},
        {"member discount", {QStringLiteral("会员活动")}, [&](const QString &t) { setMemberDiscounts(db(), t, QStringLiteral("9")); },
         [&](const QString &) { return QVariant(readMemberDiscounts(db()).gold); }},
        {"goods cost price", {QStringLiteral("商品"), QStringLiteral("库存")},
         [&](const QString &t) {
             GoodsInput in;
             in.categoryPrefix = QStringLiteral("01");
             in.itemNumber = QStringLiteral("N%1").arg(++n);
             in.shorthand = in.name = in.itemNumber;
             in.units.largest = QStringLiteral("个");
             in.cost = t;
             in.priceLevels = {t};
             tavomi::addGoods(db(), in);
         },
         [&](const QString &) {
             return loadGoods(db(), QStringLiteral("B01N%1").arg(n)).value(QStringLiteral("进价"));
         }},
        {"unit ratio", {},
         [&](const QString &t) {
             UnitChoice u;
             u.largest = QStringLiteral("件");
             u.second = QStringLiteral("个");
             u.ratio1 = t;
             computeUnitFields(u);
         },
         {}},
        {"default sales discount", {},
         [&](const QString &t) {
             WorkstationDefaults d = readWorkstationDefaults();
             d.discountText = t;
             writeWorkstationDefaults(d);
         },
         [&](const QString &) { return QVariant(readWorkstationDefaults().discountText.toDouble()); }},
    };
    for (const Field &f : fields) {
        SCOPED_TRACE(f.what);
        for (const QString &text : kNumberTexts) {
            SCOPED_TRACE(text.toStdString());
            const QString iniBefore = IniFile::read(kBdchangeIni, QStringLiteral("销售出货默认折扣"));
            Attempt attempt(rowsOf(f.tables));
            const Outcome outcome = attempt.run([&] { f.command(text); });
            ASSERT_NE(outcome, Outcome::Failed);
            if (outcome == Outcome::Refused) {
                EXPECT_EQ(IniFile::read(kBdchangeIni, QStringLiteral("销售出货默认折扣")), iniBefore);
                continue;
            }
            // Only the texts that are numbers (or empty, meaning 0) may pass.
            EXPECT_TRUE(text == QStringLiteral("-0") || text.isEmpty());
            if (f.stored) {
                const QVariant v = f.stored(text);
                EXPECT_TRUE(std::isfinite(v.toDouble()));
                EXPECT_EQ(v.toDouble(), 0) << v.toString().toStdString();
            }
        }
    }
    for (const QString &text : kNumberTexts) {
        double v = 1;
        EXPECT_EQ(IsNumberText(text), text == QStringLiteral("-0")) << text.toStdString();
        EXPECT_EQ(amountFromText(text, &v), text == QStringLiteral("-0")) << text.toStdString();
    }
    EXPECT_EQ(count(QStringLiteral("销售收款表"), QStringLiteral("处理单号=?"), {c.sale}), 1);
}

// INI values: stored intact (as trimmed) or refused; a line break can never cut a value or forge
// another entry.
TEST_F(HostileInputTest, IniValuesAreStoredIntactOrRefused)
{
    const QString key = QStringLiteral("测试项");
    IniFile::write(kBdchangeIni, key, QStringLiteral("原值"));
    IniFile::write(kBdchangeIni, QStringLiteral("小数点位数"), QStringLiteral("0.00"));
    QStringList values = hostileTexts();
    values << QStringLiteral("x\n[database]\ndriver=QPSQL") << QStringLiteral("a=b;c#d[e]");
    for (const QString &value : values) {
        SCOPED_TRACE(trace(value).toStdString());
        const QString before = IniFile::read(kBdchangeIni, key);
        try {
            IniFile::write(kBdchangeIni, key, value);
            EXPECT_EQ(IniFile::read(kBdchangeIni, key), value.trimmed());
        } catch (const Error &e) {
            EXPECT_TRUE(value.contains(QLatin1Char('\n')));
            EXPECT_FALSE(e.message().isEmpty());
            EXPECT_EQ(IniFile::read(kBdchangeIni, key), before);
        }
        IniFile ini(ProgramFolder::filePath(kBdchangeIni));
        EXPECT_EQ(ini.keys(kIniSection).size(), 2);
        EXPECT_FALSE(ini.contains(QStringLiteral("database"), QStringLiteral("driver")));
        EXPECT_EQ(ini.value(kIniSection, QStringLiteral("小数点位数")), QStringLiteral("0.00"));
    }
}
