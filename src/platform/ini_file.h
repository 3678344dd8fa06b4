#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace tavomi {

// A small INI reader/writer in UTF-8 that keeps Chinese keys readable (QSettings escapes them).
// Keeps the order of sections and keys and any line it does not understand.
class IniFile
{
public:
    explicit IniFile(const QString &path);

    // Reads the file again (missing file: empty).
    void load();
    // Writes the file; throws Error when it cannot be written.
    void save() const;

    QString value(const QString &section, const QString &key, const QString &fallback = QString()) const;
    bool contains(const QString &section, const QString &key) const;
    void setValue(const QString &section, const QString &key, const QString &value);
    void remove(const QString &section, const QString &key);
    QStringList keys(const QString &section) const;
    QString path() const { return m_path; }

    // One-shot helpers for the program folder's settings files (section "currensys").
    static QString read(const QString &fileName, const QString &key, const QString &fallback = QString());
    static void write(const QString &fileName, const QString &key, const QString &value);

private:
    struct Section
    {
        QString name;
        QList<QPair<QString, QString>> entries;
    };
    Section *find(const QString &name);
    const Section *find(const QString &name) const;

    QString m_path;
    QList<Section> m_sections;
};

inline const QString kIniSection = QStringLiteral("currensys");
inline const QString kBdchangeIni = QStringLiteral("bdchange.ini");
inline const QString kPossetIni = QStringLiteral("posset.ini");

} // namespace tavomi
