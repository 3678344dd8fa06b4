#include "platform/ini_file.h"

#include "common/error.h"
#include "common/program_folder.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace tavomi {

IniFile::IniFile(const QString &path)
    : m_path(path)
{
    load();
}

void IniFile::load()
{
    m_sections.clear();
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    // Files written by older tools may be in the Chinese code page rather than UTF-8.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        QStringDecoder gbk("GB18030");
        if (gbk.isValid())
            text = gbk.decode(bytes);
    }
    Section *current = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            current = find(name);
            if (!current) {
                m_sections.append({name, {}});
                current = &m_sections.last();
            }
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        if (!current) {
            m_sections.append({QString(), {}});
            current = &m_sections.last();
        }
        current->entries.append({line.left(eq).trimmed(), line.mid(eq + 1).trimmed()});
    }
}

void IniFile::save() const
{
    QString out;
    for (const Section &s : m_sections) {
        if (!s.name.isEmpty())
            out += QLatin1Char('[') + s.name + QStringLiteral("]\n");
        for (const auto &e : s.entries)
            out += e.first + QLatin1Char('=') + e.second + QLatin1Char('\n');
        out += QLatin1Char('\n');
    }
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly) || f.write(out.toUtf8()) < 0 || !f.commit())
        throw Error(QStringLiteral("无法写入设置文件 %1").arg(m_path));
}

IniFile::Section *IniFile::find(const QString &name)
{
    for (Section &s : m_sections)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

const IniFile::Section *IniFile::find(const QString &name) const
{
    for (const Section &s : m_sections)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

QString IniFile::value(const QString &section, const QString &key, const QString &fallback) const
{
    if (const Section *s = find(section))
        for (const auto &e : s->entries)
            if (e.first == key)
                return e.second;
    return fallback;
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    if (const Section *s = find(section))
        for (const auto &e : s->entries)
            if (e.first == key)
                return true;
    return false;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    // One entry is one line: a line break would cut the value and could forge further entries.
    if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')) || key.contains(QLatin1Char('\n'))
        || key.contains(QLatin1Char('\r')))
        throw Error(QStringLiteral("设置值不能包含换行符!"));
    Section *s = find(section);
    if (!s) {
        m_sections.append({section, {}});
        s = &m_sections.last();
    }
    for (auto &e : s->entries) {
        if (e.first == key) {
            e.second = value;
            return;
        }
    }
    s->entries.append({key, value});
}

void IniFile::remove(const QString &section, const QString &key)
{
    if (Section *s = find(section))
        s->entries.removeIf([&key](const auto &e) { return e.first == key; });
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList out;
    if (const Section *s = find(section))
        for (const auto &e : s->entries)
            out << e.first;
    return out;
}

QString IniFile::read(const QString &fileName, const QString &key, const QString &fallback)
{
    return IniFile(ProgramFolder::filePath(fileName)).value(kIniSection, key, fallback);
}

void IniFile::write(const QString &fileName, const QString &key, const QString &value)
{
    IniFile ini(ProgramFolder::filePath(fileName));
    ini.setValue(kIniSection, key, value);
    ini.save();
}

} // namespace tavomi
