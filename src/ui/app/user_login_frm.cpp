#include "ui/app/user_login_frm.h"

#include "admin/users.h"
#include "common/error.h"
#include "common/identity.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"
#include "ui/app/connect_service_frm.h"
#include "ui/common/window_dragger.h"

#include <QComboBox>
#include <QEventLoop>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavomi {

namespace {
int g_splashMs = 1500;

const char *kStyle = R"(
#loginFrame { background: #f4f7fb; border: 1px solid #3a6ea5; }
#loginBanner { background: qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 #2d5f9a, stop:1 #4f8fd6); }
#loginProduct { color: white; font-size: 26pt; font-weight: bold; }
#loginSubtitle { color: #dce9f8; font-size: 12pt; }
#imgClose { color: white; background: transparent; border: none; font-size: 14pt; }
#imgClose:hover { background: #c0392b; }
#lblHint { color: #555555; }
)";
} // namespace

void TFrmUserLogin::setSplashDuration(int milliseconds)
{
    g_splashMs = milliseconds;
}

TFrmUserLogin::TFrmUserLogin(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TFrmUserLogin"));
    setWindowTitle(QStringLiteral("用户登陆"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setStyleSheet(QString::fromUtf8(kStyle));
    showSplash();

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("loginFrame"));
    outer->addWidget(frame);
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);

    // The banner is the dialog's picture: dragging it moves the borderless dialog.
    m_banner = new QFrame(frame);
    m_banner->setObjectName(QStringLiteral("loginBanner"));
    m_banner->setFixedHeight(96);
    WindowDragger::attach(m_banner);
    auto *bannerLayout = new QHBoxLayout(m_banner);
    bannerLayout->setContentsMargins(24, 8, 6, 8);
    auto *titles = new QVBoxLayout;
    auto *product = new QLabel(QStringLiteral("Tavomi"), m_banner);
    product->setObjectName(QStringLiteral("loginProduct"));
    auto *subtitle = new QLabel(QStringLiteral("----进销存专家"), m_banner);
    subtitle->setObjectName(QStringLiteral("loginSubtitle"));
    titles->addWidget(product);
    titles->addWidget(subtitle);
    bannerLayout->addLayout(titles);
    bannerLayout->addStretch();
    imgClose = new QToolButton(m_banner);
    imgClose->setObjectName(QStringLiteral("imgClose"));
    imgClose->setText(QStringLiteral("✕"));
    imgClose->setToolTip(QStringLiteral("关闭系统"));
    imgClose->setFocusPolicy(Qt::NoFocus);
    bannerLayout->addWidget(imgClose, 0, Qt::AlignTop);
    layout->addWidget(m_banner);

    auto *body = new QWidget(frame);
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(36, 20, 36, 16);
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(10);
    ComboBox1 = new QComboBox(body);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->installEventFilter(this);
    ComboBox1->lineEdit()->installEventFilter(this);
    Edit2 = new QLineEdit(body);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setReadOnly(true);
    Edit2->setFocusPolicy(Qt::NoFocus);
    Edit3 = new QLineEdit(body);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setEchoMode(QLineEdit::Password);
    Edit3->setToolTip(QStringLiteral("输入密码"));
    Edit3->setPlaceholderText(QStringLiteral("输入密码"));
    Edit3->installEventFilter(this);
    form->addRow(QStringLiteral("工  号："), ComboBox1);
    form->addRow(QStringLiteral("姓  名："), Edit2);
    form->addRow(QStringLiteral("密  码："), Edit3);

    lblSalesSite = new QLabel(QStringLiteral("销售站点："), body);
    ComboBox2 = new QComboBox(body);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox3 = new QComboBox(body);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    for (QWidget *w : {static_cast<QWidget *>(lblSalesSite), static_cast<QWidget *>(ComboBox2), static_cast<QWidget *>(ComboBox3)})
        w->hide();
    bodyLayout->addLayout(form);

    lblHint = new QLabel(QStringLiteral("提示：系统默认工号为 %1，没有密码，选择后直接登入。").arg(kAdminWorkNumber), body);
    lblHint->setObjectName(QStringLiteral("lblHint"));
    lblHint->setWordWrap(true);
    bodyLayout->addSpacing(6);
    bodyLayout->addWidget(lblHint);
    bodyLayout->addSpacing(10);

    auto *buttons = new QHBoxLayout;
    btnServer = new QPushButton(QStringLiteral("服务器选择"), body);
    btnServer->setObjectName(QStringLiteral("btnServer"));
    btnServer->hide();
    btnLogin = new QPushButton(QStringLiteral("登 入"), body);
    btnLogin->setObjectName(QStringLiteral("btnLogin"));
    btnLogin->setAutoDefault(false);
    btnCancel = new QPushButton(QStringLiteral("取 消"), body);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    buttons->addWidget(btnServer);
    buttons->addStretch();
    buttons->addWidget(btnLogin);
    buttons->addWidget(btnCancel);
    bodyLayout->addLayout(buttons);
    layout->addWidget(body);

    setTabOrder(ComboBox1, Edit3);
    setTabOrder(Edit3, btnLogin);
    setTabOrder(btnLogin, btnCancel);
    setFixedWidth(440);

    connect(btnLogin, &QPushButton::clicked, this, [this] { attemptLogin(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(imgClose, &QToolButton::clicked, this, &QDialog::reject);
    connect(ComboBox1, &QComboBox::activated, this, [this](int) { Edit3->setFocus(); });
    connect(btnServer, &QPushButton::clicked, this, [this] {
        Tfrm_connect_service dialog(this);
        dialog.exec();
    });

    fillLists();
}

void TFrmUserLogin::showSplash()
{
    if (g_splashMs <= 0)
        return;
    QLabel splash(QStringLiteral("系统正在启动，请稍后......"), nullptr,
                  Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    splash.setAttribute(Qt::WA_QuitOnClose, false);
    splash.setAlignment(Qt::AlignCenter);
    splash.setFixedSize(360, 90);
    splash.setStyleSheet(QStringLiteral("QLabel { background: #2d5f9a; color: white; font-size: 13pt; border: 1px solid #1d3f6a; }"));
    splash.show();
    QEventLoop wait;
    QTimer::singleShot(g_splashMs, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
    splash.close();
}

void TFrmUserLogin::fillLists()
{
    try {
        UserService users(Session::current());
        ComboBox1->addItems(users.workNumbers());
        ComboBox2->addItems(users.warehouseNames());
    } catch (const Error &) {
        // An unreadable list leaves the box to be typed into.
    }
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QString());
    ComboBox2->setCurrentIndex(ComboBox2->count() > 0 ? 0 : -1);
}

void TFrmUserLogin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ComboBox1->setFocus();
}

bool TFrmUserLogin::lookupName()
{
    const QString number = ComboBox1->currentText().trimmed();
    if (number.isEmpty())
        return false;
    std::optional<QString> name;
    try {
        name = UserService(Session::current()).nameOf(number);
    } catch (const Error &e) {
        Messages::error(e.message());
        return false;
    }
    if (name) {
        Edit2->setText(name->trimmed());
        return true;
    }
    Edit2->clear();
    Edit3->clear();
    Messages::plain(QStringLiteral("对不起，此工号不存在!"));
    ComboBox1->setFocus();
    return false;
}

bool TFrmUserLogin::attemptLogin()
{
    LoginOutcome outcome = LoginOutcome::NoPassword;
    try {
        outcome = UserService(Session::current()).login(ComboBox1->currentText(), Edit3->text(), ComboBox2->currentText());
    } catch (const Error &) {
        return false; // the user stays in the dialog
    }
    switch (outcome) {
    case LoginOutcome::NoWorkNumber:
        Messages::plain(QStringLiteral("请选择一个工号"));
        ComboBox1->setFocus();
        return false;
    case LoginOutcome::UnknownWorkNumber:
        Edit2->clear();
        Edit3->clear();
        Messages::plain(QStringLiteral("对不起，此工号不存在!"));
        ComboBox1->setFocus();
        return false;
    case LoginOutcome::WrongPassword:
        Messages::plain(QStringLiteral("对不起密码错误!不能登入"));
        Edit3->selectAll();
        Edit3->setFocus();
        return false;
    case LoginOutcome::NoPassword:
        return false;
    case LoginOutcome::Ok:
        break;
    }
    Edit2->setText(LoginIdentity::current().userName);
    accept();
    return true;
}

bool TFrmUserLogin::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit3 && event->type() == QEvent::FocusIn && !m_inLookup
        && static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason) {
        m_inLookup = true;
        lookupName();
        m_inLookup = false;
    } else if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (watched == ComboBox1 || watched == ComboBox1->lineEdit())) {
            Edit3->setFocus();
            return true;
        }
        if (enter && watched == Edit3) {
            attemptLogin();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tavomi
