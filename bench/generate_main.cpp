// tavomi-generate: builds a large company for the benchmarks through the engine's own commands.
//   tavomi-generate --database big.db                   (the large company, SQLite)
//   tavomi-generate --database small.db --scale 0.001   (a smoke-sized one)
//   tavomi-generate --pg "host=127.0.0.1;port=5432;user=tavomi;dbname=bench" --scale 0.01
#include "data/generator.h"

#include "common/clock.h"
#include "common/error.h"
#include "common/session.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

using namespace tavomi;

namespace {

void say(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Builds a large company (goods, partners, two years of bills and money) "
                                               "through the engine's own save and audit commands."));
    p.addHelpOption();
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("SQLite file to create."), QStringLiteral("file"));
    const QCommandLineOption pg(QStringLiteral("pg"), QStringLiteral("PostgreSQL: \"host=..;port=..;user=..;dbname=..\" (an empty database)."),
                                QStringLiteral("conninfo"));
    const QCommandLineOption replace(QStringLiteral("replace"), QStringLiteral("Delete an existing SQLite file first."));
    const QCommandLineOption scale(QStringLiteral("scale"), QStringLiteral("Size factor; 1.0 is the large company (default)."),
                                   QStringLiteral("factor"), QStringLiteral("1.0"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Random seed."), QStringLiteral("n"), QStringLiteral("20260315"));
    const QCommandLineOption commitEvery(QStringLiteral("commit-every"), QStringLiteral("Commands per transaction."), QStringLiteral("n"),
                                         QStringLiteral("200"));
    const QCommandLineOption goods(QStringLiteral("goods"), QStringLiteral("Number of goods."), QStringLiteral("n"));
    const QCommandLineOption warehouses(QStringLiteral("warehouses"), QStringLiteral("Number of warehouses."), QStringLiteral("n"));
    const QCommandLineOption customers(QStringLiteral("customers"), QStringLiteral("Number of customers."), QStringLiteral("n"));
    const QCommandLineOption suppliers(QStringLiteral("suppliers"), QStringLiteral("Number of suppliers."), QStringLiteral("n"));
    const QCommandLineOption days(QStringLiteral("days"), QStringLiteral("Business days of bills."), QStringLiteral("n"));
    const QCommandLineOption salesLines(QStringLiteral("sales-lines"), QStringLiteral("Sales lines in all."), QStringLiteral("n"));
    const QCommandLineOption purchaseLines(QStringLiteral("purchase-lines"), QStringLiteral("Purchase lines in all."), QStringLiteral("n"));
    p.addOptions({database, pg, replace, scale, seed, commitEvery, goods, warehouses, customers, suppliers, days, salesLines, purchaseLines});
    p.process(app);

    if (p.isSet(database) == p.isSet(pg)) {
        say(QStringLiteral("give either --database FILE or --pg CONNINFO"));
        return 2;
    }
    bench::GenerateOptions o;
    bool ok = true;
    const double factor = p.value(scale).toDouble(&ok);
    if (!ok || factor <= 0) {
        say(QStringLiteral("--scale needs a positive number"));
        return 2;
    }
    o.sizes = bench::Sizes::scaled(factor);
    auto number = [&](const QCommandLineOption &opt, auto &field) {
        if (!p.isSet(opt))
            return;
        bool good = false;
        const qint64 v = p.value(opt).toLongLong(&good);
        if (!good || v <= 0) {
            say(QStringLiteral("--%1 needs a positive number").arg(opt.names().first()));
            std::exit(2);
        }
        field = decltype(field + 0)(v);
    };
    number(goods, o.sizes.goods);
    number(warehouses, o.sizes.warehouses);
    number(customers, o.sizes.customers);
    number(suppliers, o.sizes.suppliers);
    number(days, o.sizes.days);
    number(salesLines, o.sizes.salesLines);
    number(purchaseLines, o.sizes.purchaseLines);
    number(commitEvery, o.commitEvery);
    o.seed = p.value(seed).toUInt();

    ConnectionSettings settings;
    if (p.isSet(database)) {
        const QString file = p.value(database);
        if (QFileInfo::exists(file)) {
            if (!p.isSet(replace)) {
                say(QStringLiteral("%1 exists; give --replace to build it again").arg(file));
                return 2;
            }
            for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
                QFile::remove(file + suffix);
        }
        settings = bench::sqliteSettings(file);
    } else {
        settings = ConnectionSettings::postgres(p.value(pg));
    }

    say(QStringLiteral("generating: %1 goods, %2 warehouses, %3 customers, %4 suppliers, %5 days, %6 sales lines, %7 purchase lines, seed %8")
            .arg(o.sizes.goods)
            .arg(o.sizes.warehouses)
            .arg(o.sizes.customers)
            .arg(o.sizes.suppliers)
            .arg(o.sizes.days)
            .arg(o.sizes.salesLines)
            .arg(o.sizes.purchaseLines)
            .arg(o.seed));
    QElapsedTimer total;
    total.start();
    try {
        {
            Session session(QStringLiteral("generate"));
            bench::openCompany(session, settings);
            bench::generate(session, o, [&](const QString &phase, double done, double rate, const QString &unit) {
                const double seconds = double(total.elapsed()) / 1000.0;
                QString eta;
                if (done > 0.01 && done < 1.0)
                    eta = QStringLiteral(", about %1 s left").arg(qint64(seconds * (1.0 - done) / done));
                say(QStringLiteral("[%1] %2% %3 %4/s, %5 s%6")
                        .arg(phase)
                        .arg(done * 100.0, 0, 'f', 1)
                        .arg(rate, 0, 'f', 0)
                        .arg(unit)
                        .arg(seconds, 0, 'f', 0)
                        .arg(eta));
            });
            const bench::CompanyCounts counts = bench::countCompany(session);
            say(QStringLiteral("done in %1 s: %2").arg(double(total.elapsed()) / 1000.0, 0, 'f', 1).arg(counts.text()));
            Session::setCurrent(nullptr);
        }
        // Closing the last connection folds the write-ahead log into the file.
        if (settings.isSqlite())
            say(QStringLiteral("database %1: %2 MB").arg(settings.sqliteFile).arg(double(QFileInfo(settings.sqliteFile).size()) / 1048576.0, 0, 'f', 1));
    } catch (const Error &e) {
        say(QStringLiteral("failed: ") + e.message());
        return 1;
    }
    return 0;
}
