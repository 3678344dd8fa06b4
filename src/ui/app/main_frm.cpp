#include "ui/app/main_frm.h"

#include "admin/users.h"
#include "common/clock.h"
#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/program_folder.h"
#include "common/session.h"
#include "common/transaction.h"
#include "platform/ini_file.h"
#include "ui/app/form_registry.h"
#include "ui/app/lock_system_frm.h"
#include "ui/app/user_login_frm.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace tavomi {

const QString Tfrm_main::kTextEditorKey = QStringLiteral("记事本命令");
const QString Tfrm_main::kCalculatorKey = QStringLiteral("计算器命令");

namespace {

const QString kOk = QStringLiteral("OK");
const QString kLocked = QStringLiteral("NO");
const QString kPageMark = QStringLiteral(">>");
const char *kEntryProperty = "entryCaption";
const int kTileColumns = 6;

const char *kStyle = R"(
#sideColumn { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #24548a, stop:1 #2f6aa8); }
#sideColumn QPushButton { color: white; background: transparent; border: none; border-bottom: 1px solid #5a88bd;
                          padding: 14px 10px; text-align: left; font-size: 12pt; }
#sideColumn QPushButton:hover { background: #3b78b8; }
#sideColumn QPushButton:focus { background: #3b78b8; }
#sideColumn QPushButton:checked { background: #f3f6fa; color: #1d4a7a; font-weight: bold; }
#sideTitle { color: white; font-size: 16pt; font-weight: bold; padding: 18px 10px 4px 12px; }
#sideSubtitle { color: #cfe0f3; padding: 0px 10px 18px 12px; }
#functionArea { background: #f3f6fa; }
#pageTitle { color: #1d4a7a; font-size: 15pt; font-weight: bold; }
#reportBox { background: white; border: 1px solid #c7d3e2; border-radius: 4px; margin-top: 14px; padding: 10px; }
#reportBox::title { subcontrol-origin: margin; left: 12px; padding: 0 4px; color: #1d4a7a; font-weight: bold; }
QToolButton#tile { border: none; border-radius: 8px; padding: 4px; }
QToolButton#tile:hover, QToolButton#tile:focus { background: #dbe6f3; }
)";

// A picture for a function-area icon: a rounded tile in a colour of its own with the
// caption's first character.
QIcon tileIcon(const QString &caption)
{
    static const QList<QColor> colours = {QColor(0x2f6aa8), QColor(0x2e8b57), QColor(0xc0712c), QColor(0x8e44ad),
                                          QColor(0x16a085), QColor(0xb03a48), QColor(0x5d6d7e), QColor(0xd4a017)};
    const QColor base = colours.at(static_cast<int>(qHash(caption) % colours.size()));
    QPixmap pixmap(96, 96);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 96);
    fill.setColorAt(0, base.lighter(125));
    fill.setColorAt(1, base.darker(115));
    QPainterPath tile;
    tile.addRoundedRect(QRectF(6, 6, 84, 84), 18, 18);
    p.fillPath(tile, fill);
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(44);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(6, 4, 84, 84), Qt::AlignCenter, caption.left(1));
    p.end();
    return QIcon(pixmap);
}

void setHovered(QLabel *label, bool hovered)
{
    QFont font = label->font();
    font.setUnderline(hovered);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, hovered ? QColor(Qt::blue) : QColor(Qt::black));
    label->setPalette(palette);
}

QString firstExecutable(const QStringList &candidates)
{
    for (const QString &name : candidates) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

} // namespace

Tfrm_main::Tfrm_main(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Tfrm_main"));
    setWindowTitle(QStringLiteral("Tavomi---进销存专家"));
    resize(1280, 800);
    setStyleSheet(QString::fromUtf8(kStyle));

    m_runDialog = [](QDialog &dialog) { return dialog.exec(); };
    m_launch = [](const QString &program, const QStringList &arguments) {
        return QProcess::startDetached(program, arguments);
    };
    m_openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };

    buildMenus();
    buildFunctionArea();
    buildStatusBar();
    buildPopup();
    selectPage(0);
}

Tfrm_main::~Tfrm_main() = default;

bool Tfrm_main::isEntryAvailable(const MenuEntry &entry)
{
    switch (entry.action) {
    case EntryAction::OpenForm:
        return FormRegistry::contains(entry.form);
    case EntryAction::FrontCounterSale:
        return FormRegistry::contains(QStringLiteral("Tfrm_sell_pos"));
    default:
        return true;
    }
}

void Tfrm_main::registerControl(const QString &caption, QObject *control, bool available)
{
    m_controls.insert(caption, control);
    if (auto *action = qobject_cast<QAction *>(control)) {
        action->setEnabled(available);
        if (!available)
            action->setToolTip(kNotYetAvailableText);
    } else if (auto *widget = qobject_cast<QWidget *>(control)) {
        widget->setEnabled(available);
        if (!available)
            widget->setToolTip(kNotYetAvailableText);
    }
}

void Tfrm_main::buildMenus()
{
    QHash<QString, QMenu *> menus;
    for (const MenuEntry &e : menuTable()) {
        if (e.place != EntryPlace::Menu)
            continue;
        const QStringList path = e.menuPath.split(QLatin1Char('/'));
        QMenu *menu = menus.value(path.first());
        if (!menu) {
            menu = menuBar()->addMenu(path.first());
            menu->setToolTipsVisible(true);
            menus.insert(path.first(), menu);
        }
        if (path.size() > 1) {
            QMenu *sub = menus.value(e.menuPath);
            if (!sub) {
                sub = menu->addMenu(path.at(1));
                sub->setToolTipsVisible(true);
                menus.insert(e.menuPath, sub);
            }
            menu = sub;
        }
        if (e.action == EntryAction::ExitSystem)
            menu->addSeparator();
        QAction *action = menu->addAction(e.caption);
        action->setVisible(!e.hidden);
        registerControl(e.caption, action, isEntryAvailable(e));
        const QString caption = e.caption;
        connect(action, &QAction::triggered, this, [this, caption] { openEntry(caption); });
    }
    // F10 reaches the menu from the keyboard.
    auto *menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        const QList<QAction *> top = menuBar()->actions();
        if (!top.isEmpty()) {
            menuBar()->setFocus(Qt::ShortcutFocusReason);
            menuBar()->setActiveAction(top.first());
        }
    });
}

void Tfrm_main::buildFunctionArea()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralArea"));
    central->installEventFilter(this);
    auto *layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *side = new QWidget(central);
    side->setObjectName(QStringLiteral("sideColumn"));
    side->setAttribute(Qt::WA_StyledBackground);
    side->setFixedWidth(170);
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->setSpacing(0);
    auto *title = new QLabel(QStringLiteral("Tavomi"), side);
    title->setObjectName(QStringLiteral("sideTitle"));
    auto *subtitle = new QLabel(QStringLiteral("进销存专家"), side);
    subtitle->setObjectName(QStringLiteral("sideSubtitle"));
    sideLayout->addWidget(title);
    sideLayout->addWidget(subtitle);
    const QStringList captions = pageCaptions();
    for (int i = 0; i < captions.size(); ++i) {
        auto *button = new QPushButton(captions.at(i), side);
        button->setObjectName(QStringLiteral("pageButton%1").arg(i));
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setCursor(Qt::PointingHandCursor);
        button->setToolTip(QStringLiteral("Alt+%1").arg(i + 1));
        connect(button, &QPushButton::clicked, this, [this, i] { selectPage(i); });
        auto *key = new QShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_1 + i)), this);
        connect(key, &QShortcut::activated, this, [this, i] {
            selectPage(i);
            m_pageButtons.at(i)->setFocus(Qt::ShortcutFocusReason);
        });
        sideLayout->addWidget(button);
        m_pageButtons << button;
    }
    sideLayout->addStretch();
    layout->addWidget(side);

    m_pages = new QStackedWidget(central);
    m_pages->setObjectName(QStringLiteral("functionArea"));
    m_pages->setAttribute(Qt::WA_StyledBackground);
    for (int i = 0; i < captions.size(); ++i)
        m_pages->addWidget(buildPage(i));
    layout->addWidget(m_pages, 1);
    setCentralWidget(central);
}

QWidget *Tfrm_main::buildPage(int page)
{
    auto *widget = new QWidget(m_pages);
    auto *layout = new QVBoxLayout(widget);
    layout->setContentsMargins(36, 24, 36, 24);
    auto *title = new QLabel(pageCaptions().at(page), widget);
    title->setObjectName(QStringLiteral("pageTitle"));
    layout->addWidget(title);
    layout->addSpacing(12);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(28);
    grid->setVerticalSpacing(18);
    int n = 0;
    bool hasReports = false;
    for (const MenuEntry &e : menuTable()) {
        if (e.page != page)
            continue;
        if (e.place == EntryPlace::Report) {
            hasReports = true;
            continue;
        }
        if (e.place != EntryPlace::Icon)
            continue;
        const bool available = isEntryAvailable(e);
        auto *tile = new QWidget(widget);
        auto *tileLayout = new QVBoxLayout(tile);
        tileLayout->setContentsMargins(0, 0, 0, 0);
        tileLayout->setSpacing(4);
        auto *button = new QToolButton(tile);
        button->setObjectName(QStringLiteral("tile"));
        button->setIcon(tileIcon(e.caption));
        button->setIconSize(QSize(52, 52));
        button->setCursor(Qt::PointingHandCursor);
        button->setProperty(kEntryProperty, e.caption);
        button->installEventFilter(this);
        auto *label = new QLabel(e.caption, tile);
        label->setAlignment(Qt::AlignCenter);
        label->setProperty(kEntryProperty, e.caption);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        tileLayout->addWidget(button, 0, Qt::AlignHCenter);
        tileLayout->addWidget(label, 0, Qt::AlignHCenter);
        registerControl(e.caption, button, available);
        registerControl(e.caption, label, available);
        const QString caption = e.caption;
        connect(button, &QToolButton::clicked, this, [this, caption] { openEntry(caption); });
        grid->addWidget(tile, n / kTileColumns, n % kTileColumns, Qt::AlignLeft | Qt::AlignTop);
        ++n;
    }
    grid->setColumnStretch(kTileColumns, 1);
    layout->addLayout(grid);
    layout->addSpacing(24);

    if (hasReports) {
        auto *box = new QGroupBox(QStringLiteral("<<报表汇总区>>"), widget);
        box->setObjectName(QStringLiteral("reportBox"));
        auto *links = new QGridLayout(box);
        links->setHorizontalSpacing(40);
        links->setVerticalSpacing(10);
        int r = 0;
        for (const MenuEntry &e : menuTable()) {
            if (e.page != page || e.place != EntryPlace::Report)
                continue;
            auto *label = new QLabel(QStringLiteral("▸ ") + e.caption, box);
            label->setProperty(kEntryProperty, e.caption);
            label->setCursor(Qt::PointingHandCursor);
            label->installEventFilter(this);
            registerControl(e.caption, label, isEntryAvailable(e));
            links->addWidget(label, r / 3, r % 3);
            ++r;
        }
        links->setColumnStretch(3, 1);
        layout->addWidget(box);
    }
    layout->addStretch(1);
    return widget;
}

void Tfrm_main::buildStatusBar()
{
    const QStringList names = {QStringLiteral("statusDateCaption"), QStringLiteral("statusDate"),
                               QStringLiteral("statusUserCaption"), QStringLiteral("statusUser")};
    const QStringList texts = {QStringLiteral("  操作日期："), QString(), QStringLiteral("操作员："), QString()};
    for (int i = 0; i < names.size(); ++i) {
        auto *panel = new QLabel(texts.at(i), this);
        panel->setObjectName(names.at(i));
        panel->setMinimumWidth(i % 2 == 0 ? 90 : 140);
        statusBar()->addWidget(panel);
        m_statusPanels << panel;
    }
}

void Tfrm_main::buildPopup()
{
    m_popup = new QMenu(this);
    m_popup->setToolTipsVisible(true);
    for (const MenuEntry &e : menuTable()) {
        if (e.place != EntryPlace::Popup)
            continue;
        QAction *action = m_popup->addAction(e.caption);
        registerControl(e.caption, action, isEntryAvailable(e));
        const QString caption = e.caption;
        connect(action, &QAction::triggered, this, [this, caption] { openEntry(caption); });
    }
}

void Tfrm_main::fillStatusBar()
{
    m_statusPanels.at(1)->setText(Clock::today());
    m_statusPanels.at(3)->setText(QStringLiteral(" ") + LoginIdentity::current().userName);
}

QStringList Tfrm_main::statusTexts() const
{
    QStringList out;
    for (QLabel *panel : m_statusPanels)
        out << panel->text();
    return out;
}

void Tfrm_main::selectPage(int page)
{
    for (int i = 0; i < m_pageButtons.size(); ++i) {
        QPushButton *button = m_pageButtons.at(i);
        QString text = button->text();
        if (text.endsWith(kPageMark))
            text.chop(kPageMark.size());
        if (i == page)
            text += kPageMark;
        button->setText(text);
        button->setChecked(i == page);
    }
    m_pages->setCurrentIndex(page);
}

int Tfrm_main::currentPage() const
{
    return m_pages->currentIndex();
}

bool Tfrm_main::start()
{
    Messages::info(QStringLiteral("当前工作日期:") + Clock::today() + QStringLiteral("日   祝您使用愉快!"));
    if (!m_firstShowing) {
        showMaximized();
        return true;
    }
    m_formFlags.clear();
    LoginIdentity::current() = LoginIdentity();
    {
        TFrmUserLogin login;
        if (QScreen *screen = QGuiApplication::primaryScreen()) {
            login.adjustSize();
            login.move(screen->availableGeometry().center() - login.rect().center());
        }
        m_runDialog(login);
    }
    const LoginIdentity &who = LoginIdentity::current();
    if (!who.loggedIn)
        return false;

    // A cashier goes straight to the counter and never sees the menus; when the sale closes,
    // the program ends. The administrator always gets the main window.
    const MenuEntry *pos = findMenuEntry(QStringLiteral("前台POS销售"));
    bool cashier = false;
    try {
        cashier = who.workNumber != kAdminWorkNumber && pos && isEntryAvailable(*pos)
            && hasRight(Session::current(), QStringLiteral("POS前台销售"));
    } catch (const Error &) {
        cashier = false;
    }
    if (cashier) {
        try {
            frontCounterSale();
        } catch (const Error &e) {
            Messages::error(e.message());
        }
        return false;
    }

    showMaximized();
    fillStatusBar();
    if (IniFile::read(kBdchangeIni, QStringLiteral("启动提示设置"), QStringLiteral("0")) != QLatin1String("1")) {
        const MenuEntry *defaults = findMenuEntry(QStringLiteral("默认资料设置"));
        if (defaults && isEntryAvailable(*defaults))
            openEntry(defaults->caption);
    }
    return true;
}

bool Tfrm_main::openEntry(const QString &caption)
{
    const MenuEntry *found = findMenuEntry(caption);
    if (!found || !isEntryAvailable(*found))
        return false;
    const MenuEntry &e = *found;
    try {
        Session &session = Session::current();
        if (!e.right.isEmpty() && !hasRight(session, e.right)) {
            Messages::warning(kNoRightText, QStringLiteral("操作提示"));
            return false;
        }
        auto writeLog = [&] {
            TransactionGuard tx(session);
            logAction(session, e.logCategory, e.logText);
            tx.commit();
        };
        if (!e.logText.isEmpty() && !e.logAfter)
            writeLog();
        switch (e.action) {
        case EntryAction::OpenForm: {
            QStringList arguments = e.arguments;
            if (e.passesIdentity)
                arguments = {LoginIdentity::current().userName, LoginIdentity::current().workNumber};
            if (!FormRegistry::open(e.form, this, arguments))
                return false;
            break;
        }
        case EntryAction::FrontCounterSale:
            frontCounterSale();
            break;
        case EntryAction::VideoHelp:
            playHelpVideo();
            break;
        case EntryAction::TextEditor:
            startTool(kTextEditorKey,
                      {QStringLiteral("gnome-text-editor"), QStringLiteral("gedit"), QStringLiteral("kwrite"),
                       QStringLiteral("kate"), QStringLiteral("mousepad"), QStringLiteral("pluma"), QStringLiteral("xed"),
                       QStringLiteral("featherpad"), QStringLiteral("leafpad"), QStringLiteral("notepad.exe")},
                      QStringLiteral("记事本"));
            break;
        case EntryAction::Calculator:
            startTool(kCalculatorKey,
                      {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("galculator"),
                       QStringLiteral("mate-calc"), QStringLiteral("qalculate-gtk"), QStringLiteral("xcalc"),
                       QStringLiteral("calc.exe")},
                      QStringLiteral("计算器"));
            break;
        case EntryAction::LockSystem:
            lockSystem();
            break;
        case EntryAction::ExitSystem:
            close();
            break;
        }
        if (!e.logText.isEmpty() && e.logAfter)
            writeLog();
        return true;
    } catch (const Error &error) {
        Messages::error(error.message());
        return false;
    }
}

void Tfrm_main::frontCounterSale()
{
    Session &session = Session::current();
    QString warehouse;
    QString account;
    QSqlQuery q = session.run(QStringLiteral("select 收款去向,POS仓库,指针 from 默认资料表 where 指针=?"), {QStringLiteral("商场POS")});
    if (q.next()) {
        account = q.value(0).toString();
        warehouse = q.value(1).toString();
    }
    const bool ready = session.exists(QStringLiteral("select 货位名称 from 货位 where 货位名称=?"), {warehouse})
        && session.exists(QStringLiteral("select 账户名称 from 银行帐户表 where 账户名称=?"), {account});
    if (!ready) {
        Messages::warning(QStringLiteral("请先设置POS前台销售的初始资料!"));
        FormRegistry::open(QStringLiteral("Tfrm_Default"), this);
        return;
    }
    FormRegistry::open(QStringLiteral("Tfrm_sell_pos"), this, {warehouse, account});
}

void Tfrm_main::playHelpVideo()
{
    Messages::info(QStringLiteral("说明：如果您的电脑没有安装任何播放器，您可以先安装视频播放器,再自行打开文件播放，视频文件放在本软件安装目录下面,文件名为myhelp.wmv 文件"));
    m_openUrl(QUrl::fromLocalFile(ProgramFolder::filePath(QStringLiteral("help/myhelp.wmv"))));
}

void Tfrm_main::startTool(const QString &key, const QStringList &candidates, const QString &toolName)
{
    QString command = IniFile::read(kBdchangeIni, key).trimmed();
    if (command.isEmpty()) {
        command = firstExecutable(candidates);
        if (!command.isEmpty()) {
            try {
                IniFile::write(kBdchangeIni, key, command); // kept so the user can change it
            } catch (const Error &) {
            }
        }
    }
    if (command.isEmpty()) {
        Messages::warning(QStringLiteral("本机没有找到%1程序。请先安装一个，或在 bdchange.ini 的 [currensys] 节中用“%2”写明它的启动命令。")
                              .arg(toolName, key));
        return;
    }
    const QStringList parts = QProcess::splitCommand(command);
    if (parts.isEmpty() || !m_launch(parts.first(), parts.mid(1)))
        Messages::warning(QStringLiteral("无法启动%1：%2\n请检查 bdchange.ini 的 [currensys] 节中的“%3”。").arg(toolName, command, key));
}

void Tfrm_main::lockSystem()
{
    if (!Messages::question(QStringLiteral("进销存软件"), QStringLiteral("确定锁定系统吗")))
        return;
    m_lockState = kLocked;
    m_firstShowing = false;
    try {
        UserService(Session::current()).lock();
    } catch (const Error &e) {
        Messages::error(e.message());
    }
    const LoginIdentity &who = LoginIdentity::current();
    Tfrm_lock_system dialog(who.workNumber, who.userName);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        dialog.adjustSize();
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    }
    // While the main window is hidden, no closing message box may end the program.
    const bool quitOnLastWindow = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);
    hide();
    m_runDialog(dialog);
    m_lockState = kOk;
    showMaximized();
    QGuiApplication::setQuitOnLastWindowClosed(quitOnLastWindow);
}

void Tfrm_main::showEvent(QShowEvent *event)
{
    m_lockState = kOk;
    setWindowTitle(QString());
    QMainWindow::showEvent(event);
}

void Tfrm_main::closeEvent(QCloseEvent *event)
{
    if (m_lockState != kOk) {
        Messages::warning(QStringLiteral("系统已经锁定，暂不能关闭系统,请解锁后再关闭系统!"), QStringLiteral("操作提示"));
        event->ignore();
        return;
    }
    if (!Messages::question(QStringLiteral("进销存软件"), QStringLiteral("是否退出管理系统？"))) {
        event->ignore();
        return;
    }
    Messages::info(QStringLiteral("请您养成良好的数据备份习惯!每天请及时备份您的数据库!"));
    const LoginIdentity &who = LoginIdentity::current();
    try {
        Session &session = Session::current();
        TransactionGuard tx(session);
        logAction(session, kLogImportant,
                  QStringLiteral("销售站点为：") + QStringLiteral(" 姓名为：") + who.userName + QStringLiteral(" 工号为：")
                      + who.workNumber + QStringLiteral(" 成功退出进销存管理软件"));
        tx.commit();
    } catch (const Error &) {
        // The program ends all the same.
    }
    event->accept();
}

bool Tfrm_main::eventFilter(QObject *watched, QEvent *event)
{
    const QVariant entry = watched->property(kEntryProperty);
    if (entry.isValid()) {
        auto *widget = static_cast<QWidget *>(watched);
        auto *label = qobject_cast<QLabel *>(watched);
        switch (event->type()) {
        case QEvent::Enter:
            if (label && label->isEnabled())
                setHovered(label, true);
            break;
        case QEvent::Leave:
            if (label)
                setHovered(label, false);
            break;
        case QEvent::MouseButtonRelease:
            if (label && widget->isEnabled() && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton
                && widget->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
                openEntry(entry.toString());
                return true;
            }
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (!label && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
                openEntry(entry.toString());
                return true;
            }
            break;
        }
        default:
            break;
        }
    } else if (watched == centralWidget() && event->type() == QEvent::ContextMenu) {
        auto *menuEvent = static_cast<QContextMenuEvent *>(event);
        m_popup->popup(menuEvent->globalPos() + QPoint(0, 50));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tavomi
