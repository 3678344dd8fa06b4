#pragma once

#include <QString>

namespace tavomi {

// Which database the session opens. Kept in "connection.ini" in the program folder:
//   [database]
//   driver=QSQLITE | QPSQL | QODBC
//   file=data/REZE.db          (SQLite, relative to the program folder)
//   host=, port=, database=, user=, password=   (PostgreSQL)
//   dsn=                        (ODBC data source name)
// A password is taken from the file only when the file is readable by its owner alone;
// otherwise PostgreSQL's own ~/.pgpass applies.
struct ConnectionSettings
{
    QString driver = QStringLiteral("QSQLITE");
    QString sqliteFile;   // absolute path; defaults to <program folder>/data/REZE.db
    QString host = QStringLiteral("127.0.0.1");
    int port = 5432;
    QString database = QStringLiteral("tavomi");
    QString user;
    QString password;
    QString dsn;
    QString options;      // driver connect options, passed through

    // PostgreSQL from "host=..;port=..;user=..;dbname=..;password=..;options=.." (tools and tests).
    static ConnectionSettings postgres(const QString &conninfo);
    static QString fileName();                       // <program folder>/connection.ini
    static ConnectionSettings load();                // defaults when the file is missing
    static ConnectionSettings loadFrom(const QString &file);
    void saveTo(const QString &file) const;          // never writes the password
    void save() const { saveTo(fileName()); }

    bool isSqlite() const { return driver == QLatin1String("QSQLITE"); }
    bool isPostgres() const { return driver == QLatin1String("QPSQL"); }
};

} // namespace tavomi
