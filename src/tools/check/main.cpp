// tavomi-check: checks that a company database is consistent and prints what it checked and
// every difference. Exit status: 0 consistent, 1 differences found, 2 the database could not be
// opened or read.
//
//   tavomi-check [--home DIR] [--database FILE]
//
// Without options it opens the database the program opens: connection.ini of the program folder
// (TAVOMI_HOME, else the folder of the executable). --home names the program folder;
// --database opens a SQLite file directly.

#include "common/connection_settings.h"
#include "common/error.h"
#include "common/program_folder.h"
#include "common/session.h"
#include "maintenance/consistency.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

using namespace tavomi;

namespace {

constexpr int kConsistent = 0;
constexpr int kDifferent = 1;
constexpr int kUnreadable = 2;

void print(FILE *to, const QString &line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
    std::fflush(to);
}

QString describe(const ConnectionSettings &s)
{
    if (s.isSqlite())
        return s.sqliteFile;
    if (s.isPostgres())
        return QStringLiteral("PostgreSQL %1@%2:%3").arg(s.database, s.host).arg(s.port);
    return s.dsn.isEmpty() ? s.database : s.dsn;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavomi-check"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("核对数据库: 库存与各仓库合计、单据的应收应付款、账户余额与现金明细。"
                                                    "一致时退出码为0, 有差异时为1, 无法打开或读取数据库时为2。"));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption homeOption(QStringLiteral("home"), QStringLiteral("程序文件夹 (默认: TAVOMI_HOME 或程序所在文件夹)"),
                                        QStringLiteral("DIR"));
    const QCommandLineOption databaseOption(QStringLiteral("database"), QStringLiteral("直接核对这个 SQLite 数据库文件"),
                                            QStringLiteral("FILE"));
    parser.addOption(homeOption);
    parser.addOption(databaseOption);
    // Not process(): it would end a wrong command line with status 1, which means "differences".
    if (!parser.parse(QCoreApplication::arguments())) {
        print(stderr, parser.errorText());
        return kUnreadable;
    }
    if (parser.isSet(helpOption))
        parser.showHelp(kConsistent);

    if (parser.isSet(homeOption)) {
        const QString home = parser.value(homeOption);
        if (!QFileInfo(home).isDir()) {
            print(stderr, QStringLiteral("程序文件夹不存在: %1").arg(home));
            return kUnreadable;
        }
        ProgramFolder::setOverride(QDir(home).absolutePath());
    }

    ConnectionSettings settings;
    if (parser.isSet(databaseOption)) {
        settings.driver = QStringLiteral("QSQLITE");
        settings.sqliteFile = QFileInfo(parser.value(databaseOption)).absoluteFilePath();
    } else {
        settings = ConnectionSettings::load();
    }
    // Opening a missing SQLite file would create an empty one.
    if (settings.isSqlite() && !QFileInfo(settings.sqliteFile).isFile()) {
        print(stderr, QStringLiteral("数据库文件不存在: %1").arg(settings.sqliteFile));
        return kUnreadable;
    }

    Session session(QStringLiteral("tavomi-check"));
    try {
        session.open(settings);
    } catch (const Error &e) {
        print(stderr, QStringLiteral("无法打开数据库 %1: %2").arg(describe(settings), e.message()));
        return kUnreadable;
    }
    for (const char *table : {"库存", "货位", "银行帐户表", "现金明细表", "销售应收款表", "采购应付款表"}) {
        bool present = false;
        try {
            present = session.hasTable(QString::fromUtf8(table));
        } catch (const Error &) {
        }
        if (!present) {
            print(stderr, QStringLiteral("%1 不是本程序的数据库 (没有表 %2)").arg(describe(settings), QString::fromUtf8(table)));
            return kUnreadable;
        }
    }

    print(stdout, QStringLiteral("数据库: %1").arg(describe(settings)));
    QElapsedTimer clock;
    clock.start();
    maintenance::ConsistencyReport report;
    try {
        report = maintenance::checkConsistency(session, [&clock](const QString &step) {
            print(stderr, QStringLiteral("[%1 s] %2").arg(clock.elapsed() / 1000.0, 0, 'f', 1).arg(step));
        });
    } catch (const Error &e) {
        print(stderr, QStringLiteral("无法读取数据库: %1").arg(e.message()));
        return kUnreadable;
    }

    print(stdout, QStringLiteral("已核对:"));
    for (const QString &line : report.checked)
        print(stdout, QStringLiteral("  ") + line);
    if (report.ok()) {
        print(stdout, QStringLiteral("结果: 一致, 没有差异 (用时 %1 秒)").arg(clock.elapsed() / 1000.0, 0, 'f', 1));
        return kConsistent;
    }
    print(stdout, QStringLiteral("差异:"));
    for (const maintenance::Difference &d : report.differences)
        print(stdout, QStringLiteral("  [%1] %2").arg(d.area, d.text));
    print(stdout, QStringLiteral("结果: 不一致 (用时 %1 秒)").arg(clock.elapsed() / 1000.0, 0, 'f', 1));
    return kDifferent;
}
