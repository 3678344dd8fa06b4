#pragma once

#include <QString>

namespace tavomi {

// The folder that holds data/, zcfrf/, the INI files and output.txt.
// TAVOMI_HOME wins; otherwise the executable's folder when it is writable,
// otherwise a per-user data folder.
class ProgramFolder
{
public:
    static QString path();
    static QString filePath(const QString &relative);
    static QString dataDir();
    // Test hook: an explicit folder instead of the rules above (empty restores them).
    static void setOverride(const QString &folder);
};

} // namespace tavomi
