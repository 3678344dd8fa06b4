#include "common/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tavomi {

namespace {
QString g_override;

QString resolve()
{
    if (!g_override.isEmpty())
        return g_override;
    const QString env = qEnvironmentVariable("TAVOMI_HOME");
    if (!env.isEmpty())
        return QDir(env).absolutePath();
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        if (QFileInfo(exeDir).isWritable())
            return exeDir;
    }
    const QString fallback = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return fallback.isEmpty() ? QDir::currentPath() : fallback;
}
} // namespace

QString ProgramFolder::path()
{
    const QString p = resolve();
    QDir().mkpath(p);
    return p;
}

QString ProgramFolder::filePath(const QString &relative)
{
    return QDir(path()).filePath(relative);
}

QString ProgramFolder::dataDir()
{
    const QString d = filePath(QStringLiteral("data"));
    QDir().mkpath(d);
    return d;
}

void ProgramFolder::setOverride(const QString &folder)
{
    g_override = folder;
}

} // namespace tavomi
