#include "ui/app/connect_service_frm.h"

#include "common/error.h"
#include "common/messages.h"
#include "common/session.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUuid>
#include <QVBoxLayout>

namespace tavomi {

Tfrm_connect_service::Tfrm_connect_service(QWidget *parent)
    : QDialog(parent)
    , m_settings(ConnectionSettings::load())
{
    setObjectName(QStringLiteral("Tfrm_connect_service"));
    setWindowTitle(QStringLiteral("服务器IP设置"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("远程服务器网络IP地址(或主机名称)"), this));
    IPaddress = new QLineEdit(this);
    IPaddress->setObjectName(QStringLiteral("IPaddress"));
    IPaddress->setText(m_settings.host);
    IPaddress->installEventFilter(this);
    layout->addWidget(IPaddress);
    CheckBox1 = new QCheckBox(QStringLiteral("服务器安装在本机"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    layout->addWidget(CheckBox1);
    auto *buttons = new QHBoxLayout;
    btnTest = new QPushButton(QStringLiteral("测试连接"), this);
    btnSave = new QPushButton(QStringLiteral("保存"), this);
    btnCancel = new QPushButton(QStringLiteral("取消"), this);
    buttons->addWidget(btnTest);
    buttons->addWidget(btnSave);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

    connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
    connect(btnTest, &QPushButton::clicked, this, [this] { testConnection(); });
    connect(btnSave, &QPushButton::clicked, this, [this] {
        saveHost();
        accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool Tfrm_connect_service::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == IPaddress && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString t = key->text();
        const int k = key->key();
        const bool control = k == Qt::Key_Backspace || k == Qt::Key_Delete || k == Qt::Key_Return || k == Qt::Key_Enter
            || k == Qt::Key_Left || k == Qt::Key_Right || k == Qt::Key_Home || k == Qt::Key_End || k == Qt::Key_Tab;
        // Host names are allowed too, so letters and '-' pass besides digits and '.'.
        const bool allowed = control
            || (t.size() == 1 && (t.at(0).isLetterOrNumber() || t.at(0) == QLatin1Char('.') || t.at(0) == QLatin1Char('-')));
        if (!allowed)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrm_connect_service::CheckBox1Click()
{
    if (CheckBox1->isChecked()) {
        IPaddress->setText(QStringLiteral("127.0.0.1"));
        IPaddress->setEnabled(false);
    } else {
        IPaddress->setEnabled(true);
        IPaddress->clear();
        IPaddress->setFocus();
    }
}

bool Tfrm_connect_service::testConnection()
{
    ConnectionSettings s = m_settings;
    s.driver = QStringLiteral("QPSQL");
    s.host = IPaddress->text().trimmed();
    Session probe(QStringLiteral("probe-") + QUuid::createUuid().toString(QUuid::WithoutBraces));
    try {
        probe.open(s);
        probe.close();
        Messages::info(QStringLiteral("连接服务器成功!"), QStringLiteral("服务器IP设置"));
        return true;
    } catch (const Error &e) {
        Messages::warning(QStringLiteral("连接服务器失败：\n") + e.message(), QStringLiteral("服务器IP设置"));
        return false;
    }
}

void Tfrm_connect_service::saveHost()
{
    m_settings.host = IPaddress->text().trimmed();
    m_settings.save();
}

} // namespace tavomi
