#include "common/connection_settings.h"

#include "common/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace tavomi {

QString ConnectionSettings::fileName()
{
    return ProgramFolder::filePath(QStringLiteral("connection.ini"));
}

ConnectionSettings ConnectionSettings::load()
{
    return loadFrom(fileName());
}

ConnectionSettings ConnectionSettings::postgres(const QString &conninfo)
{
    ConnectionSettings s;
    s.driver = QStringLiteral("QPSQL");
    for (const QString &p : conninfo.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString key = p.section(QLatin1Char('='), 0, 0).trimmed();
        const QString value = p.section(QLatin1Char('='), 1).trimmed();
        if (key == QLatin1String("host"))
            s.host = value;
        else if (key == QLatin1String("port"))
            s.port = value.toInt();
        else if (key == QLatin1String("user"))
            s.user = value;
        else if (key == QLatin1String("dbname"))
            s.database = value;
        else if (key == QLatin1String("password"))
            s.password = value;
        else if (key == QLatin1String("options"))
            s.options = value;
    }
    return s;
}

ConnectionSettings ConnectionSettings::loadFrom(const QString &file)
{
    ConnectionSettings s;
    s.sqliteFile = QDir(ProgramFolder::dataDir()).filePath(QStringLiteral("REZE.db"));
    if (!QFileInfo::exists(file))
        return s;

    QSettings ini(file, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("database"));
    s.driver = ini.value(QStringLiteral("driver"), s.driver).toString().trimmed().toUpper();
    const QString sqlite = ini.value(QStringLiteral("file")).toString().trimmed();
    if (!sqlite.isEmpty())
        s.sqliteFile = QDir::isAbsolutePath(sqlite) ? sqlite : ProgramFolder::filePath(sqlite);
    s.host = ini.value(QStringLiteral("host"), s.host).toString().trimmed();
    s.port = ini.value(QStringLiteral("port"), s.port).toInt();
    s.database = ini.value(QStringLiteral("database"), s.database).toString().trimmed();
    s.user = ini.value(QStringLiteral("user")).toString().trimmed();
    s.dsn = ini.value(QStringLiteral("dsn")).toString().trimmed();
    s.options = ini.value(QStringLiteral("options")).toString().trimmed();

    // A password in a file others can read is ignored.
    const QFile::Permissions p = QFileInfo(file).permissions();
    const bool privateFile = !(p & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther));
    if (privateFile)
        s.password = ini.value(QStringLiteral("password")).toString();
    ini.endGroup();
    return s;
}

void ConnectionSettings::saveTo(const QString &file) const
{
    QSettings ini(file, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("database"));
    ini.setValue(QStringLiteral("driver"), driver);
    if (isSqlite() && !sqliteFile.isEmpty()) {
        // Inside the program folder the file is kept relative, so the folder can move.
        const QString relative = QDir(ProgramFolder::path()).relativeFilePath(sqliteFile);
        ini.setValue(QStringLiteral("file"), relative.startsWith(QLatin1String("..")) ? sqliteFile : relative);
    }
    ini.setValue(QStringLiteral("host"), host);
    ini.setValue(QStringLiteral("port"), port);
    ini.setValue(QStringLiteral("database"), database);
    ini.setValue(QStringLiteral("user"), user);
    if (!dsn.isEmpty())
        ini.setValue(QStringLiteral("dsn"), dsn);
    if (!options.isEmpty())
        ini.setValue(QStringLiteral("options"), options);
    ini.endGroup();
    ini.sync();
}

} // namespace tavomi
