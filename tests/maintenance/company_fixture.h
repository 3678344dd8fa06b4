#pragma once

#include "documents/bill_store.h"
#include "finance/settlement.h"
#include "finance/transfers.h"
#include "maintenance/consistency.h"
#include "masterdata/basic_lists.h"
#include "support/test_db.h"

namespace tavomi::test {

// The bill numbers of the small company below.
struct SmallCompany
{
    QString receipt;         // purchase receipt, audited, partly paid
    QString purchaseReturn;  // audited: a negative payable
    QString sale;            // sales shipment, audited, collected
    QString salesReturn;     // audited: a negative receivable
    QString unaudited;       // sales shipment saved only
    QString reversed;        // sales shipment audited and un-audited again
    QString ledgerRow;       // 自动编码 of the first audited ledger row
};

// A small company made through the engine's own commands: two warehouses, two goods, purchase
// receipt and return, sales shipment and return, a transfer between warehouses, a stock take,
// a collection, a payment, a manual receivable and a transfer between accounts.
class CompanyTest : public DbTest
{
protected:
    static docs::BillLine line(const QString &code, double quantity, double price, const QString &warehouse)
    {
        docs::BillLine l;
        l.code = code;
        l.unit = QStringLiteral("个");
        l.quantity = quantity;
        l.price = price;
        l.warehouse = warehouse;
        return l;
    }

    QString saveAndAudit(docs::BillKind kind, docs::Bill b, bool audit = true)
    {
        docs::BillStore store(db(), kind);
        for (int i = 0; i < b.lines.size(); ++i)
            b.lines[i].row = i + 1;
        const QString number = store.save(b, false).number;
        if (audit)
            store.audit(number);
        return number;
    }

    docs::Bill supplierBill(const QList<docs::BillLine> &lines)
    {
        docs::Bill b;
        b.header.partnerCode = QStringLiteral("GYS");
        b.header.partnerName = QStringLiteral("供应商甲");
        b.lines = lines;
        return b;
    }

    docs::Bill customerBill(const QList<docs::BillLine> &lines)
    {
        docs::Bill b;
        b.header.partnerCode = QStringLiteral("KH1");
        b.header.partnerName = QStringLiteral("客户甲");
        b.lines = lines;
        return b;
    }

    // Collects (or pays) `amount` of the partner's first open item from the account, audited.
    void settle(const finance::SettlementDescriptor &d, const QString &partner, const QString &bill, const QString &amount)
    {
        finance::Settlement money(db(), d);
        for (const finance::OpenItem &item : money.openItems(partner)) {
            if (item.bill != bill)
                continue;
            finance::MoneyRequest r;
            r.partner = partner;
            r.bill = item.bill;
            r.code = item.code;
            r.amountText = amount;
            r.date = QStringLiteral("2026-03-15");
            r.handler = QStringLiteral("张三");
            r.method = QStringLiteral("现金");
            r.account = QStringLiteral("现金");
            money.audit(money.post(r).moneyCode);
            return;
        }
        ADD_FAILURE() << "no open item for " << bill.toStdString();
    }

    SmallCompany buildCompany()
    {
        using docs::BillKind;
        const QString one = QStringLiteral("一号仓"), two = QStringLiteral("二号仓");
        addWarehouse(one);
        addWarehouse(two);
        addGoods(QStringLiteral("B01"), QStringLiteral("啤酒"), 1.5, 3);
        addGoods(QStringLiteral("B02"), QStringLiteral("铅笔"), 0.5, 1);
        addSupplier(QStringLiteral("GYS"), QStringLiteral("供应商甲"));
        addCustomer(QStringLiteral("KH1"), QStringLiteral("客户甲"));
        const BasicListDef &accounts = basicList(BasicList::Accounts);
        addBasicRow(db(), accounts, QStringLiteral("01"), QStringLiteral("现金"), QStringLiteral("100"));
        addBasicRow(db(), accounts, QStringLiteral("02"), QStringLiteral("银行"), QStringLiteral("1000.50"));

        SmallCompany c;
        c.receipt = saveAndAudit(BillKind::PurchaseReceipt,
                                 supplierBill({line(QStringLiteral("B01"), 20, 1.5, one), line(QStringLiteral("B02"), 10, 0.5, two)}));
        c.purchaseReturn = saveAndAudit(BillKind::PurchaseReturn, supplierBill({line(QStringLiteral("B02"), 2, 0.5, two)}));
        c.sale = saveAndAudit(BillKind::SalesShipment, customerBill({line(QStringLiteral("B01"), 4, 3, one)}));
        c.salesReturn = saveAndAudit(BillKind::SalesReturn, customerBill({line(QStringLiteral("B01"), 1, 3, one)}));
        c.unaudited = saveAndAudit(BillKind::SalesShipment, customerBill({line(QStringLiteral("B02"), 1, 1, two)}), false);
        c.reversed = saveAndAudit(BillKind::SalesShipment, customerBill({line(QStringLiteral("B01"), 2, 3, one)}));
        docs::BillStore(db(), BillKind::SalesShipment).unaudit(c.reversed);

        docs::BillLine moved = line(QStringLiteral("B01"), 3, 0, one);
        moved.warehouseIn = two;
        saveAndAudit(BillKind::StockTransfer, docs::Bill{{}, {moved}});
        docs::Bill take;
        take.header.place = two;
        take.lines = {line(QStringLiteral("B02"), 7, 0, two)};
        saveAndAudit(BillKind::StockTake, take);

        settle(finance::receivables(), QStringLiteral("客户甲"), c.sale, QStringLiteral("5"));
        settle(finance::payables(), QStringLiteral("供应商甲"), c.receipt, QStringLiteral("20"));

        finance::ManualItem manual;
        manual.partner = QStringLiteral("客户甲");
        manual.date = manual.due = QStringLiteral("2026-03-15");
        manual.amount = 8;
        finance::Settlement(db(), finance::receivables()).saveManual(manual);

        finance::Transfers transfers(db());
        finance::Transfer t;
        t.date = QStringLiteral("2026-03-15");
        t.amountText = QStringLiteral("50.25");
        t.from = QStringLiteral("银行");
        t.to = QStringLiteral("现金");
        t.handler = QStringLiteral("张三");
        transfers.audit(transfers.save(t));
        t.amountText = QStringLiteral("7");
        transfers.save(t); // left unaudited: its provisional rows are no movement yet

        c.ledgerRow = db().scalar(QStringLiteral("select 自动编码 from 现金明细表 where 审核状态='1' order by 流水号")).toString();
        return c;
    }

    // The differences as one readable text, for failure messages.
    static std::string describe(const maintenance::ConsistencyReport &r)
    {
        QString out;
        for (const maintenance::Difference &d : r.differences)
            out += QStringLiteral("[%1] %2\n").arg(d.area, d.text);
        return out.toStdString();
    }
};

} // namespace tavomi::test
