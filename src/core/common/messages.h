#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tavomi {

// Every message box and question of the program goes through Messages::current().
// The widget build installs a QMessageBox implementation; tests install ScriptedMessages.
enum class MessageKind { Plain, Information, Warning, Error };

class Messages
{
public:
    virtual ~Messages() = default;

    virtual void show(MessageKind kind, const QString &caption, const QString &text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask(const QString &caption, const QString &text) = 0;

    static Messages &current();
    // Installs an implementation (not owned); nullptr restores the silent default.
    static void install(Messages *messages);

    // Shorthands used by the forms.
    static void plain(const QString &text) { current().show(MessageKind::Plain, QString(), text); }
    static void info(const QString &text, const QString &caption = QStringLiteral("操作提示"))
    {
        current().show(MessageKind::Information, caption, text);
    }
    static void warning(const QString &text, const QString &caption = QStringLiteral("操作提示"))
    {
        current().show(MessageKind::Warning, caption, text);
    }
    static void error(const QString &text, const QString &caption = QStringLiteral("错误"))
    {
        current().show(MessageKind::Error, caption, text);
    }
    static bool question(const QString &caption, const QString &text) { return current().ask(caption, text); }
};

// Records what was shown and answers questions from a script (default answer when the script runs dry).
class ScriptedMessages : public Messages
{
public:
    struct Shown
    {
        MessageKind kind;
        QString caption;
        QString text;
    };

    void show(MessageKind kind, const QString &caption, const QString &text) override;
    bool ask(const QString &caption, const QString &text) override;

    void answer(bool yes) { m_answers.append(yes); }
    void setDefaultAnswer(bool yes) { m_defaultAnswer = yes; }

    QList<Shown> shown;
    QStringList asked;

    QStringList texts() const;
    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }
    void clear()
    {
        shown.clear();
        asked.clear();
        m_answers.clear();
    }

private:
    QList<bool> m_answers;
    bool m_defaultAnswer = true;
};

// Installs a ScriptedMessages for the lifetime of the object.
class ScopedScriptedMessages : public ScriptedMessages
{
public:
    ScopedScriptedMessages() { Messages::install(this); }
    ~ScopedScriptedMessages() override { Messages::install(nullptr); }
};

} // namespace tavomi
