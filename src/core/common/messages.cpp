#include "common/messages.h"

#include <QDebug>

namespace tavomi {

namespace {

// Used before the widget layer installs its own: writes to the log, answers No.
class SilentMessages : public Messages
{
public:
    void show(MessageKind, const QString &caption, const QString &text) override
    {
        qWarning().noquote() << caption << text;
    }
    bool ask(const QString &caption, const QString &text) override
    {
        qWarning().noquote() << "question:" << caption << text;
        return false;
    }
};

SilentMessages g_silent;
Messages *g_current = nullptr;

} // namespace

Messages &Messages::current()
{
    return g_current ? *g_current : g_silent;
}

void Messages::install(Messages *messages)
{
    g_current = messages;
}

void ScriptedMessages::show(MessageKind kind, const QString &caption, const QString &text)
{
    shown.append({kind, caption, text});
}

bool ScriptedMessages::ask(const QString &caption, const QString &text)
{
    asked.append(text);
    Q_UNUSED(caption);
    if (m_answers.isEmpty())
        return m_defaultAnswer;
    return m_answers.takeFirst();
}

QStringList ScriptedMessages::texts() const
{
    QStringList out;
    for (const auto &s : shown)
        out.append(s.text);
    return out;
}

} // namespace tavomi
