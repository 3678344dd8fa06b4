#include "ui/app/startup.h"

#include "common/connection_settings.h"
#include "common/error.h"
#include "common/messages.h"
#include "common/program_folder.h"
#include "common/schema.h"
#include "common/session.h"
#include "platform/single_instance.h"
#include "common/permissions.h"
#include "ui/app/form_registry.h"
#include "ui/app/main_frm.h"
#include "ui/app/user_login_frm.h"
#include "ui/common/widget_messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFont>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace tavomi {

namespace {

// Hidden options for the start-up benchmark (bench/bench_large.cpp), not shown anywhere:
//   --bench-exit=login  end as soon as the login dialog shows
//   --bench-exit=goods  log in as 0001 with the empty password, open the goods list, end once it shows
//   --bench-splash=MS   how long the start-up panel shows
// Message boxes are not shown then. When the program ends it writes "shown <ns>" to stdout, the
// CLOCK_MONOTONIC moment the awaited window showed, and "hwm <n> kB", its peak resident memory.
class BenchExit : public QObject
{
public:
    enum class Mode { None, Login, Goods };

    static Mode parse(int argc, char **argv, int *splashMs)
    {
        Mode mode = Mode::None;
        for (int i = 1; i < argc; ++i) {
            const QByteArray a(argv[i]);
            if (a == "--bench-exit=login")
                mode = Mode::Login;
            else if (a == "--bench-exit=goods")
                mode = Mode::Goods;
            else if (a.startsWith("--bench-splash="))
                *splashMs = a.mid(int(qstrlen("--bench-splash="))).toInt();
        }
        return mode;
    }

    explicit BenchExit(Mode mode)
        : m_mode(mode)
    {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show || !watched->isWidgetType() || !static_cast<QWidget *>(watched)->isWindow())
            return false;
        QWidget *w = static_cast<QWidget *>(watched);
        if (auto *login = qobject_cast<TFrmUserLogin *>(w)) {
            if (m_mode == Mode::Login) {
                finishSoon();
            } else {
                QTimer::singleShot(0, login, [login] {
                    login->ComboBox1->setCurrentText(kAdminWorkNumber);
                    login->Edit3->clear();
                    login->attemptLogin();
                });
            }
        } else if (m_mode == Mode::Goods && qobject_cast<Tfrm_main *>(w) && !m_goodsOpened) {
            m_goodsOpened = true;
            QTimer::singleShot(0, w, [w] { FormRegistry::open(QStringLiteral("Tfrm_spzl"), w); });
        } else if (m_mode == Mode::Goods && w->objectName() == QLatin1String("Tfrm_spzl")) {
            finishSoon();
        }
        return false;
    }

private:
    void finishSoon()
    {
        // After the pending paint of the window that just showed.
        QTimer::singleShot(0, qApp, [] {
            timespec t{};
            clock_gettime(CLOCK_MONOTONIC, &t);
            // The peak resident memory of this program image (the parent's pages before exec are not in it).
            QByteArray hwm;
            QFile status(QStringLiteral("/proc/self/status"));
            if (status.open(QIODevice::ReadOnly))
                for (const QByteArray &line : status.readAll().split('\n'))
                    if (line.startsWith("VmHWM:"))
                        hwm = line.mid(6).trimmed();
            std::printf("shown %lld\nhwm %s\n", static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec, hwm.constData());
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    }

    Mode m_mode;
    bool m_goodsOpened = false;
};

} // namespace

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
    int splashMs = -1;
    const BenchExit::Mode benchMode = BenchExit::parse(argc, argv, &splashMs);
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Tavomi"));
    app.setApplicationDisplayName(QStringLiteral("Tavomi"));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(10);
    app.setFont(font);

    WidgetMessages messages;
    BenchExit benchExit(benchMode);
    if (benchMode == BenchExit::Mode::None) {
        Messages::install(&messages);
    } else {
        app.installEventFilter(&benchExit);
    }
    if (splashMs >= 0)
        TFrmUserLogin::setSplashDuration(splashMs);

    SingleInstance guard(SingleInstance::defaultKey());
    if (!guard.tryAcquire()) {
        guard.signalRunning();
        if (benchMode != BenchExit::Mode::None)
            std::fprintf(stderr, "%s\n", kAlreadyRunningText.toLocal8Bit().constData());
        else
            QMessageBox::warning(nullptr, QStringLiteral("Tavomi"), kAlreadyRunningText, QMessageBox::Ok);
        return 1;
    }

    installDefaultTemplates();

    Session session;
    try {
        openDatabase(session);
    } catch (const Error &e) {
        if (benchMode != BenchExit::Mode::None)
            std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
        else
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
