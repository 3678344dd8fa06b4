#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace tavomi {

// Every form the main window can open, by class name ("Tfrm_spzl"). The main window's entry
// table names its target form; an entry whose form is not registered is shown disabled.
// An opener shows its form modally and returns when it closes.
using FormOpener = std::function<void(QWidget *parent)>;
// An opener that takes what the calling entry hands over: the page of a many-page form
// ("计量单位"), a mode ("restore"), or values such as the POS warehouse and account.
using FormOpenerWithArguments = std::function<void(QWidget *parent, const QStringList &arguments)>;

class FormRegistry
{
public:
    static void add(const QString &formName, FormOpener opener);
    static void addWithArguments(const QString &formName, FormOpenerWithArguments opener);
    static bool contains(const QString &formName);
    // Opens the form; false when no such form is registered. A plain opener ignores the arguments.
    static bool open(const QString &formName, QWidget *parent, const QStringList &arguments = {});
    // Registers every form of the program (idempotent).
    static void registerAll();

    // Replaces (or adds) a form's opener while the object lives, then restores what was there.
    class Override
    {
    public:
        Override(const QString &formName, FormOpenerWithArguments opener);
        ~Override();
        Override(const Override &) = delete;
        Override &operator=(const Override &) = delete;

    private:
        QString m_name;
        FormOpenerWithArguments m_previous;
    };
};

// Each area registers its own forms.
void registerAdminForms();
void registerMasterdataForms();
void registerDocumentForms();
void registerFinanceForms();

} // namespace tavomi
