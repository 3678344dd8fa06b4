#pragma once

#include "ui/app/menu_table.h"

#include <QHash>
#include <QMainWindow>

#include <functional>

class QDialog;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QUrl;

namespace tavomi {

// The main window. Every form of the program is opened from here, modally, after the
// permission check of its entry. Menus, function-area pages and the pop-up menu are built
// from the one entry table (menu_table.h).
class Tfrm_main : public QMainWindow
{
    Q_OBJECT
public:
    explicit Tfrm_main(QWidget *parent = nullptr);
    ~Tfrm_main() override;

    // The start-up steps: the welcome box, the login, the direct POS start for a cashier, the
    // status bar and the defaults page. Shows the window. False when the program must end
    // (no login, or the cashier's POS session is over).
    bool start();

    // Opens what the entry with this caption opens, after its permission check. False when
    // the entry is unknown or not available, the permission is refused, or nothing opened.
    bool openEntry(const QString &caption);
    // True when the entry can be used in this build (its form exists).
    static bool isEntryAvailable(const MenuEntry &entry);

    // "锁定计算机": asks, locks, and returns when the lock has been opened again.
    void lockSystem();
    // "OK" while unlocked, "NO" while the screen lock is active.
    QString lockState() const { return m_lockState; }
    bool isFirstShowing() const { return m_firstShowing; }

    // Remembered state of forms between their openings ("0" until a form sets it).
    QString formFlag(const QString &name) const { return m_formFlags.value(name, QStringLiteral("0")); }
    void setFormFlag(const QString &name, const QString &value) { m_formFlags.insert(name, value); }

    // Status bar panels: "  操作日期：", the date, "操作员：", a blank and the user name.
    QStringList statusTexts() const;
    void selectPage(int page);
    int currentPage() const;
    QPushButton *pageButton(int page) const { return m_pageButtons.value(page); }
    QMenu *popupMenu() const { return m_popup; }
    // Every widget or action built for an entry, by caption (for the keyboard and for checks).
    QList<QObject *> entryControls(const QString &caption) const { return m_controls.values(caption); }

    // Seams: how modal dialogs are run (default exec()), how external programs are started and
    // how a file is handed to the desktop. Tests replace them.
    using DialogRunner = std::function<int(QDialog &)>;
    using Launcher = std::function<bool(const QString &program, const QStringList &arguments)>;
    using UrlOpener = std::function<bool(const QUrl &url)>;
    void setDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }
    void setLauncher(Launcher launcher) { m_launch = std::move(launcher); }
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

    // The bdchange.ini keys that hold the start commands of "记事本" and "计算器".
    static const QString kTextEditorKey;
    static const QString kCalculatorKey;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildFunctionArea();
    void buildStatusBar();
    void buildPopup();
    void fillStatusBar();
    QWidget *buildPage(int page);
    void registerControl(const QString &caption, QObject *control, bool available);

    void frontCounterSale();
    void playHelpVideo();
    void startTool(const QString &key, const QStringList &candidates, const QString &toolName);

    QString m_lockState = QStringLiteral("OK");
    bool m_firstShowing = true;
    QHash<QString, QString> m_formFlags;

    QList<QPushButton *> m_pageButtons;
    QStackedWidget *m_pages = nullptr;
    QList<QLabel *> m_statusPanels;
    QMenu *m_popup = nullptr;
    QMultiHash<QString, QObject *> m_controls;

    DialogRunner m_runDialog;
    Launcher m_launch;
    UrlOpener m_openUrl;
};

} // namespace tavomi
