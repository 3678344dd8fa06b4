#include "ui/app/startup.h"

#include "common/connection_settings.h"
#include "common/error.h"
#include "common/messages.h"
#include "common/program_folder.h"
#include "common/schema.h"
#include "common/session.h"
#include "platform/single_instance.h"
#include "ui/app/main_frm.h"
#include "ui/common/widget_messages.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFont>
#include <QMessageBox>

namespace tavomi {

void installDefaultTemplates()
{
    const QString source = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("resources/zcfrf"));
    const QString target = ProgramFolder::filePath(QStringLiteral("zcfrf"));
    if (!QDir(source).exists() || QDir(source) == QDir(target))
        return;
    QDir().mkpath(target);
    QDirIterator it(source, QDir::Files);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString dest = QDir(target).filePath(it.fileName());
        if (!QFile::exists(dest))
            QFile::copy(file, dest);
    }
}

void openDatabase(Session &session)
{
    session.open(ConnectionSettings::load());
    schema::ensure(session);
}

int runApplication(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Tavomi"));
    app.setApplicationDisplayName(QStringLiteral("Tavomi"));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(10);
    app.setFont(font);

    WidgetMessages messages;
    Messages::install(&messages);

    SingleInstance guard(SingleInstance::defaultKey());
    if (!guard.tryAcquire()) {
        guard.signalRunning();
        QMessageBox::warning(nullptr, QStringLiteral("Tavomi"), kAlreadyRunningText, QMessageBox::Ok);
        return 1;
    }

    installDefaultTemplates();

    Session session;
    try {
        openDatabase(session);
    } catch (const Error &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Tavomi"), e.message());
        return 2;
    }
    Session::setCurrent(&session);

    Tfrm_main window;
    QObject::connect(&guard, &SingleInstance::raiseRequested, &window, [&window] {
        if (window.isMinimized())
            window.showNormal();
        window.raise();
        window.activateWindow();
    });
    // The welcome box, the login and the other start-up steps run before the window shows;
    // without a login (or after a cashier's POS session) the program ends here.
    int rc = 0;
    if (window.start())
        rc = app.exec();
    Session::setCurrent(nullptr);
    Messages::install(nullptr);
    return rc;
}

} // namespace tavomi
