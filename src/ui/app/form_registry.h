#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace tavomi {

// Every form the main window can open, by class name ("Tfrm_spzl"). The main window's entry
// table names its target form; an entry whose form is not registered is shown disabled.
// An opener shows its form modally and returns when it closes.
using FormOpener = std::function<void(QWidget *parent)>;

class FormRegistry
{
public:
    static void add(const QString &formName, FormOpener opener);
    static bool contains(const QString &formName);
    // Opens the form; false when no such form is registered.
    static bool open(const QString &formName, QWidget *parent);
    // Registers every form of the program (idempotent).
    static void registerAll();
};

// Each area registers its own forms.
void registerAdminForms();
void registerMasterdataForms();

} // namespace tavomi
