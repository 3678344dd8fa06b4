// A workstation that never stops working: saves, audits, un-audits and deletes random purchase and
// sales bills of the company the tests set up, through the engine's own commands. The crash test
// kills it at random moments; the concurrency test runs several at once.
//
//   tavomi_stress_worker <connection.ini> <seed> <commands, 0 = until killed>
//
// Every refusal and error it meets goes to stdout, one line each ("refused: …", "retried: …",
// "error: …"), and a last line "done <commands>" when it ends by itself.

#include "common/connection_settings.h"
#include "common/error.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "common/session.h"
#include "documents/bill_store.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTextStream>

#include <cstdio>

using namespace tavomi;
using namespace tavomi::docs;

namespace {

QStringList column(Session &s, const QString &sql)
{
    QStringList out;
    QSqlQuery q = s.run(sql);
    while (q.next())
        out << q.value(0).toString();
    return out;
}

struct Company
{
    QStringList goods;
    QStringList warehouses;
    QString customerCode, customerName, supplierCode, supplierName;
};

Bill randomBill(const BillDescriptor &d, const Company &c, QRandomGenerator &rng)
{
    Bill b;
    const bool sales = d.partner == PartnerKind::Customer;
    b.header.partnerCode = sales ? c.customerCode : c.supplierCode;
    b.header.partnerName = sales ? c.customerName : c.supplierName;
    b.header.remark = QStringLiteral("stress");
    const int lines = 1 + int(rng.bounded(12));
    for (int i = 0; i < lines; ++i) {
        BillLine l;
        l.row = i + 1;
        l.code = c.goods.at(int(rng.bounded(c.goods.size())));
        l.unit = QStringLiteral("个");
        l.quantity = 1 + int(rng.bounded(20));
        l.price = 1 + int(rng.bounded(50));
        l.warehouse = c.warehouses.at(int(rng.bounded(c.warehouses.size())));
        b.lines << l;
    }
    return b;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: tavomi_stress_worker <connection.ini> <seed> <commands>\n");
        return 2;
    }
    QTextStream out(stdout);
    QRandomGenerator rng(args.at(2).toUInt());
    const int commands = args.at(3).toInt();

    Session s(QStringLiteral("stress"));
    try {
        s.open(ConnectionSettings::loadFrom(args.at(1)));
    } catch (const Error &e) {
        out << "error: " << e.message() << Qt::endl;
        return 2;
    }
    Session::setCurrent(&s);
    LoginIdentity &who = LoginIdentity::current();
    who.loggedIn = true;
    who.workNumber = kAdminWorkNumber;
    who.userName = s.scalar(QStringLiteral("select 姓名 from 权限密码 where 工号=?"), {kAdminWorkNumber}).toString();

    Company c;
    c.goods = column(s, QStringLiteral("select 编码 from 商品 order by 编码"));
    c.warehouses = column(s, QStringLiteral("select 货位名称 from 货位 order by 货位编码"));
    c.customerCode = s.scalar(QStringLiteral("select 编码 from 客户")).toString();
    c.customerName = s.scalar(QStringLiteral("select 公司名 from 客户")).toString();
    c.supplierCode = s.scalar(QStringLiteral("select 编码 from 供应商")).toString();
    c.supplierName = s.scalar(QStringLiteral("select 公司名 from 供应商")).toString();

    const QList<BillKind> kinds = {BillKind::PurchaseReceipt, BillKind::PurchaseReturn, BillKind::SalesShipment,
                                   BillKind::SalesReturn};
    int done = 0;
    while (commands == 0 || done < commands) {
        BillStore store(s, kinds.at(int(rng.bounded(kinds.size()))));
        const BillDescriptor &d = store.descriptor();
        const int action = int(rng.bounded(100));
        try {
            if (action < 45) {
                Bill b = randomBill(d, c, rng);
                const QString number = store.save(b, false).number;
                out << "did: save " << d.masterTable << ' ' << number << Qt::endl;
                if (rng.bounded(100) < 70) {
                    store.audit(number);
                    out << "did: audit " << d.masterTable << ' ' << number << Qt::endl;
                }
            } else {
                // Work on somebody's bill: any workstation may have written it.
                const QStringList open = column(s, QStringLiteral("select 单号 from %1 where 审核标志=0").arg(d.masterTable));
                const QStringList audited = column(s, QStringLiteral("select 单号 from %1 where 审核标志=1").arg(d.masterTable));
                QString verb, number;
                if (action < 65 && !open.isEmpty()) {
                    verb = QStringLiteral("audit");
                    number = open.at(int(rng.bounded(open.size())));
                    store.audit(number);
                } else if (action < 85 && !audited.isEmpty()) {
                    verb = QStringLiteral("unaudit");
                    number = audited.at(int(rng.bounded(audited.size())));
                    store.unaudit(number);
                } else if (action < 92 && !open.isEmpty()) {
                    verb = QStringLiteral("modify");
                    number = open.at(int(rng.bounded(open.size())));
                    Bill b = store.load(number);
                    b.lines = randomBill(d, c, rng).lines;
                    store.save(b, true);
                } else if (!open.isEmpty()) {
                    verb = QStringLiteral("delete");
                    number = open.at(int(rng.bounded(open.size())));
                    store.remove(number);
                }
                if (!verb.isEmpty())
                    out << "did: " << verb << ' ' << d.masterTable << ' ' << number << Qt::endl;
            }
        } catch (const DbError &e) {
            out << (e.transient() ? "retried: " : "error: ") << QString(e.message()).replace(QLatin1Char('\n'), QLatin1Char(' '))
                << Qt::endl;
        } catch (const Error &e) {
            out << "refused: " << e.message() << Qt::endl;
        }
        ++done;
    }
    out << "done " << done << Qt::endl;
    return 0;
}
