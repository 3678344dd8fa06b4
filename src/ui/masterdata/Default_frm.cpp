#include "ui/masterdata/Default_frm.h"

#include "common/error.h"
#include "common/messages.h"
#include "common/session.h"
#include "ui/common/form_helpers.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavomi {

Tfrm_Default::Tfrm_Default(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Tfrm_Default"));
    setWindowTitle(QStringLiteral("默认资料设置"));
    auto *layout = new QVBoxLayout(this);
    auto *panel = new QGroupBox(QStringLiteral("前台POS 销售默认设置"), this);
    auto *form = new QFormLayout(panel);
    m_warehouse = new QComboBox(panel);
    m_account = new QComboBox(panel);
    form->addRow(QStringLiteral("默认出货仓库："), m_warehouse);
    form->addRow(QStringLiteral("默认收款去向："), m_account);
    layout->addWidget(panel);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *save = new QPushButton(QStringLiteral("保  存"), this);
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    auto *cancel = new QPushButton(QStringLiteral("放  弃"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    Session &s = Session::current();
    try {
        FillPlaceCombo(s, 0, m_warehouse);
        FillListCombo(s, 1, m_account);
        m_loaded = readPosDefaults(s);
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
    m_warehouse->setCurrentIndex(m_warehouse->findText(m_loaded.posWarehouse));
    m_account->setCurrentIndex(m_account->findText(m_loaded.posAccount));
    resize(380, 160);
}

void Tfrm_Default::save()
{
    PosDefaults d = m_loaded;
    d.posWarehouse = m_warehouse->currentIndex() >= 0 ? m_warehouse->currentText() : QString();
    d.posAccount = m_account->currentIndex() >= 0 ? m_account->currentText() : QString();
    try {
        savePosDefaults(Session::current(), d);
    } catch (const Error &e) {
        Messages::warning(QStringLiteral("保存失败！") + QLatin1Char('\n') + e.message());
        return;
    }
    Messages::info(QStringLiteral("保存设置成功！"));
    accept();
}

Tfrm_reprot::Tfrm_reprot(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Tfrm_reprot"));
    setWindowTitle(QStringLiteral("公司信息设置"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    m_name = new QLineEdit(this);
    m_phone = new QLineEdit(this);
    m_fax = new QLineEdit(this);
    m_address = new QLineEdit(this);
    form->addRow(QStringLiteral("公司名称："), m_name);
    form->addRow(QStringLiteral("销售电话："), m_phone);
    form->addRow(QStringLiteral("传    真："), m_fax);
    form->addRow(QStringLiteral("联系地址："), m_address);
    layout->addLayout(form);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *ok = new QPushButton(QStringLiteral("确定"), this);
    connect(ok, &QPushButton::clicked, this, [this] { confirm(); });
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    try {
        const CompanyData d = readCompanyData(Session::current());
        m_name->setText(d.name);
        m_phone->setText(d.phone);
        m_fax->setText(d.fax);
        m_address->setText(d.address);
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
    resize(420, 180);
}

void Tfrm_reprot::confirm()
{
    try {
        saveCompanyData(Session::current(), {m_name->text(), m_phone->text(), m_fax->text(), m_address->text()});
    } catch (const Error &e) {
        Messages::warning(QStringLiteral("保存失败！") + QLatin1Char('\n') + e.message());
        return;
    }
    accept();
}

} // namespace tavomi
