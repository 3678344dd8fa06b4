#include "ui/app/form_registry.h"

#include <QHash>

namespace tavomi {

namespace {
QHash<QString, FormOpener> &openers()
{
    static QHash<QString, FormOpener> map;
    return map;
}
} // namespace

void FormRegistry::add(const QString &formName, FormOpener opener)
{
    openers().insert(formName, std::move(opener));
}

bool FormRegistry::contains(const QString &formName)
{
    registerAll();
    return openers().contains(formName);
}

bool FormRegistry::open(const QString &formName, QWidget *parent)
{
    registerAll();
    const auto it = openers().constFind(formName);
    if (it == openers().constEnd())
        return false;
    (*it)(parent);
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
}

} // namespace tavomi
