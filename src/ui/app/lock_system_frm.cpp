#include "ui/app/lock_system_frm.h"

#include "admin/users.h"
#include "common/error.h"
#include "common/messages.h"
#include "common/session.h"
#include "ui/common/window_dragger.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavomi {

namespace {
const QString kUnlockCaption = QStringLiteral("系统解锁");

const char *kStyle = R"(
#lockFrame { background: #f4f7fb; border: 1px solid #7a2f2f; }
#lockBanner { background: qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 #7a2f2f, stop:1 #b5523f); }
#lockTitle { color: white; font-size: 18pt; font-weight: bold; }
#lockCaption { color: #f6dcd6; }
)";
} // namespace

Tfrm_lock_system::Tfrm_lock_system(const QString &workNumber, const QString &userName, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Tfrm_lock_system"));
    setWindowTitle(QStringLiteral("Corvane软件-系统锁定"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setStyleSheet(QString::fromUtf8(kStyle));

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("lockFrame"));
    outer->addWidget(frame);
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);

    m_picture = new QFrame(frame);
    m_picture->setObjectName(QStringLiteral("lockBanner"));
    WindowDragger::attach(m_picture);
    auto *bannerLayout = new QVBoxLayout(m_picture);
    bannerLayout->setContentsMargins(20, 10, 20, 10);
    auto *caption = new QLabel(windowTitle(), m_picture);
    caption->setObjectName(QStringLiteral("lockCaption"));
    auto *title = new QLabel(QStringLiteral("[系统已锁定]"), m_picture);
    title->setObjectName(QStringLiteral("lockTitle"));
    bannerLayout->addWidget(caption);
    bannerLayout->addWidget(title);
    layout->addWidget(m_picture);

    auto *body = new QWidget(frame);
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(30, 16, 30, 16);
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    Edit1 = new QLineEdit(workNumber, body);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEnabled(false);
    Edit2 = new QLineEdit(userName, body);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setEnabled(false);
    Edit3 = new QLineEdit(body);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setEchoMode(QLineEdit::Password);
    Edit3->installEventFilter(this);
    form->addRow(QStringLiteral("工  号："), Edit1);
    form->addRow(QStringLiteral("锁定人:"), Edit2);
    form->addRow(QStringLiteral("密  码："), Edit3);
    bodyLayout->addLayout(form);

    auto *row = new QHBoxLayout;
    CheckBox1 = new QCheckBox(QStringLiteral("系统管理员解锁"), body);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    btnLogin = new QPushButton(QStringLiteral("登入系统"), body);
    btnLogin->setObjectName(QStringLiteral("btnLogin"));
    btnLogin->setToolTip(QStringLiteral("登入系统"));
    btnLogin->setAutoDefault(false);
    row->addWidget(CheckBox1);
    row->addStretch();
    row->addWidget(btnLogin);
    bodyLayout->addLayout(row);
    layout->addWidget(body);
    setFixedWidth(380);

    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            return;
        Messages::info(QStringLiteral("请输入系统管理员的密码解锁!"), kUnlockCaption);
        Edit3->setFocus();
    });
    connect(btnLogin, &QPushButton::clicked, this, [this] { attemptUnlock(); });
    Edit3->setFocus();
}

bool Tfrm_lock_system::attemptUnlock()
{
    const bool administrator = CheckBox1->isChecked();
    bool opened = false;
    try {
        opened = UserService(Session::current()).unlock(Edit1->text(), Edit2->text(), Edit3->text(), administrator);
    } catch (const Error &e) {
        Messages::error(e.message());
        return false;
    }
    if (opened) {
        m_unlocked = true;
        accept();
        return true;
    }
    Messages::warning(administrator ? QStringLiteral("对不起,系统管理员密码错误!不能解锁!")
                                    : QStringLiteral("对不起,密码错误,不能解锁!"),
                      kUnlockCaption);
    Edit3->clear();
    Edit3->setFocus();
    return false;
}

void Tfrm_lock_system::reject()
{
    // Esc must not open the lock.
    if (m_unlocked)
        QDialog::reject();
}

void Tfrm_lock_system::closeEvent(QCloseEvent *event)
{
    if (!m_unlocked)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

bool Tfrm_lock_system::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit3 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            attemptUnlock();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tavomi
