#include "ui/app/form_registry.h"

#include <QHash>

namespace tavomi {

namespace {
QHash<QString, FormOpenerWithArguments> &openers()
{
    static QHash<QString, FormOpenerWithArguments> map;
    return map;
}
} // namespace

void FormRegistry::add(const QString &formName, FormOpener opener)
{
    openers().insert(formName, [opener = std::move(opener)](QWidget *parent, const QStringList &) { opener(parent); });
}

void FormRegistry::addWithArguments(const QString &formName, FormOpenerWithArguments opener)
{
    openers().insert(formName, std::move(opener));
}

bool FormRegistry::contains(const QString &formName)
{
    registerAll();
    return openers().contains(formName);
}

bool FormRegistry::open(const QString &formName, QWidget *parent, const QStringList &arguments)
{
    registerAll();
    const auto it = openers().constFind(formName);
    if (it == openers().constEnd())
        return false;
    const FormOpenerWithArguments opener = *it; // the form may register or override others while open
    opener(parent, arguments);
    return true;
}

void FormRegistry::registerAll()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    registerAdminForms();
    registerMasterdataForms();
    registerDocumentForms();
    registerFinanceForms();
}

FormRegistry::Override::Override(const QString &formName, FormOpenerWithArguments opener)
    : m_name(formName)
{
    registerAll();
    m_previous = openers().value(formName);
    openers().insert(formName, std::move(opener));
}

FormRegistry::Override::~Override()
{
    if (m_previous)
        openers().insert(m_name, m_previous);
    else
        openers().remove(m_name);
}

} // namespace tavomi
