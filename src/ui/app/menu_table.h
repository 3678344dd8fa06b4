#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tavomi {

// Where an entry of the main window appears.
enum class EntryPlace {
    Menu,   // the main menu; menuPath names the menu and submenu
    Icon,   // a labelled icon on a function-area page
    Report, // a link in the page's report box
    Popup,  // the right-click menu of the window's background
};

// What an entry does once its permission is granted.
enum class EntryAction {
    OpenForm,         // opens the target form modally
    FrontCounterSale, // the POS route: checks the POS defaults, then opens the POS form
    VideoHelp,        // the help video with the desktop's player
    TextEditor,       // the desktop's text editor
    Calculator,       // the desktop's calculator
    LockSystem,       // the screen lock
    ExitSystem,       // closes the main window
};

struct MenuEntry
{
    EntryPlace place = EntryPlace::Menu;
    QString caption;
    QString menuPath;      // menu entries: "[财务管理]/账务处理"
    int page = -1;         // icons and report links: the function-area page
    EntryAction action = EntryAction::OpenForm;
    QString form;          // the target form's class name
    QStringList arguments; // handed to the form: its page or mode
    QString right;         // the permission column checked first; empty: no check
    QString logText;       // written before opening (or after, see logAfter)
    QString logCategory;
    bool logAfter = false; // the log row follows the form's closing
    bool hidden = false;   // exists, can be opened, is not shown
    bool passesIdentity = false; // the form receives the user's name and work number
};

// Every entry of the main window: the menu entries in menu order, then per page its icons and
// report links, then the pop-up menu. Icons, report links and pop-up entries open what the menu
// entry they are named after opens, so they carry that entry's form, permission and log text.
const QList<MenuEntry> &menuTable();
// The first entry with this caption (entries sharing a caption open the same thing), or nullptr.
const MenuEntry *findMenuEntry(const QString &caption);
// The captions of the five page buttons.
const QStringList &pageCaptions();

// The tooltip of an entry whose form is not part of this build.
inline const QString kNotYetAvailableText = QStringLiteral("此功能尚未开放");

} // namespace tavomi
