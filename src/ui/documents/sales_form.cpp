#include "ui/documents/sales_form.h"

#include "common/error.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "common/messages.h"
#include "common/session.h"
#include "documents/sales_rules.h"
#include "ini_file.h"
#include "ui/app/form_registry.h"
#include "ui/documents/bill_grid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tavomi {

SalesBillForm::SalesBillForm(const docs::BillDescriptor &descriptor, QWidget *parent)
    : DocumentForm(descriptor, parent)
{
    QGridLayout *header = headerLayout();
    // The summary and the extra note are not typed on customer bills.
    for (int c : {2, 3, 4, 5})
        if (QLayoutItem *item = header->itemAtPosition(1, c))
            if (item->widget())
                item->widget()->hide();
    extraEdit()->setObjectName(QStringLiteral("Edit_extra"));

    auto label = [this](const QString &text) { return new QLabel(text, this); };
    m_salesperson = new QComboBox(this);
    m_salesperson->setObjectName(QStringLiteral("ComboBox1"));
    m_salesperson->setEditable(true);
    m_salesperson->addItem(QString());
    header->addWidget(label(QStringLiteral("业务员")), 2, 0);
    header->addWidget(m_salesperson, 2, 1);
    header->addWidget(label(QStringLiteral("结账方式")), 2, 2);
    header->addWidget(accountBox(), 2, 3);
    accountBox()->show();
    remarkBox()->setEditable(true);
    header->addWidget(label(QStringLiteral("备注")), 2, 4);
    header->addWidget(remarkBox(), 2, 5);
    remarkBox()->show();

    auto *row = new QHBoxLayout;
    m_classShown = new QLineEdit(this);
    m_classShown->setObjectName(QStringLiteral("Edit13"));
    m_classShown->setReadOnly(true);
    m_classShown->setToolTip(QStringLiteral("客户售价性质"));
    m_classShown->setMaximumWidth(90);
    m_classShown->setFocusPolicy(Qt::NoFocus);
    row->addWidget(m_classShown);
    m_useMemory = new QCheckBox(QStringLiteral("使用客户历史售价"), this);
    m_useMemory->setObjectName(QStringLiteral("CheckBox4"));
    m_useMemory->setChecked(true);
    m_useMemory->setFocusPolicy(Qt::NoFocus);
    m_useMemory->setToolTip(isShipment() ? QStringLiteral("使用上次给客户开的价格或者\n你给客户另外定的价格,不使用则按统一价")
                                         : QStringLiteral("你上次卖给客户的价格"));
    row->addWidget(m_useMemory);
    m_noWarehouseWarning = new QCheckBox(QStringLiteral("仓库不存在,系统不警告"), this);
    m_noWarehouseWarning->setObjectName(QStringLiteral("CheckBox3"));
    m_noWarehouseWarning->setChecked(true);
    m_noWarehouseWarning->hide();
    // Cash settlement on save comes with the cash tender dialog; until then it stays off.
    m_cashSettle = new QCheckBox(QStringLiteral("本单现金收款"), this);
    m_cashSettle->setObjectName(QStringLiteral("CheckBox5"));
    m_cashSettle->setChecked(false);
    m_cashSettle->setEnabled(false);
    m_cashSettle->hide();
    if (isShipment()) {
        m_zeroStock = new QCheckBox(QStringLiteral("允许零库存销售"), this);
        m_zeroStock->setObjectName(QStringLiteral("lkcxs"));
        m_zeroStock->setChecked(true);
        m_zeroStock->setFocusPolicy(Qt::NoFocus);
        row->addWidget(m_zeroStock);
        row->addStretch(1);
        row->addWidget(label(QStringLiteral("合计欠款金额")));
        m_debt = new QLineEdit(QStringLiteral("0.00"), this);
        m_debt->setObjectName(QStringLiteral("Edit14"));
        m_debt->setReadOnly(true);
        m_debt->setFocusPolicy(Qt::NoFocus);
        m_debt->setMaximumWidth(110);
        m_debt->setAlignment(Qt::AlignRight);
        m_debt->setStyleSheet(QStringLiteral("color: rgb(200,0,0);"));
        row->addWidget(m_debt);
        m_collect = new QPushButton(QStringLiteral("我要收款"), this);
        m_collect->setObjectName(QStringLiteral("LbSpeedButton1"));
        m_collect->setAutoDefault(false);
        m_collect->setFocusPolicy(Qt::NoFocus);
        connect(m_collect, &QPushButton::clicked, this, [this] { collectFromCustomer(); });
        row->addWidget(m_collect);
    } else {
        row->addStretch(1);
    }
    header->addWidget(label(QStringLiteral("售价性质")), 3, 0);
    header->addLayout(row, 3, 1, 1, 5);

    priceChangeBox()->setText(QStringLiteral("售价更改"));

    Session &s = Session::current();
    try {
        QSqlQuery q = s.run(QStringLiteral("select 业务员姓名 from 业务员 order by 业务员姓名"));
        while (q.next())
            m_salesperson->addItem(q.value(0).toString());
    } catch (const Error &) {
        // The salesperson list is optional.
    }
    if (isShipment()) {
        const QString discount = IniFile::read(kBdchangeIni, QStringLiteral("销售出货默认折扣"), QStringLiteral("1")).trimmed();
        bool ok = false;
        const double value = discount.toDouble(&ok);
        if (ok && value > 0)
            m_defaultDiscount = discount;
    }
    memberEnabled(false);
}

bool SalesBillForm::isShipment() const
{
    return descriptor().kind == docs::BillKind::SalesShipment;
}

bool SalesBillForm::stockChecked() const
{
    return m_zeroStock && !m_zeroStock->isChecked();
}

std::optional<double> SalesBillForm::startingPrice(const Goods &goods) const
{
    try {
        return docs::salesPrice(Session::current(), goods.code, partnerCodeEdit()->text(), m_priceClass, m_useMemory->isChecked());
    } catch (const Error &e) {
        Messages::warning(e.message());
        return std::nullopt;
    }
}

QString SalesBillForm::defaultDiscount() const
{
    return m_defaultDiscount;
}

void SalesBillForm::readCustomer(const QString &code, bool setAccount)
{
    m_priceClass.clear();
    try {
        QSqlQuery q = Session::current().run(QStringLiteral("select 性质,结账方式 from 客户 where 编码=?"), {code.trimmed()});
        if (q.next()) {
            m_priceClass = q.value(0).toString().trimmed();
            if (setAccount) {
                QString account = q.value(1).toString().trimmed();
                if (account.isEmpty())
                    account = QStringLiteral("现金");
                if (accountBox()->findText(account) < 0)
                    accountBox()->addItem(account);
                accountBox()->setCurrentText(account);
            }
        }
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
    m_classShown->setText(m_priceClass);
}

void SalesBillForm::refreshDebt()
{
    if (!m_debt)
        return;
    double debt = 0;
    try {
        if (!partnerNameEdit()->text().trimmed().isEmpty())
            debt = docs::customerDebt(Session::current(), partnerNameEdit()->text());
    } catch (const Error &) {
        debt = 0;
    }
    m_debt->setText(QString::number(debt, 'f', 2));
}

void SalesBillForm::collectFromCustomer()
{
    refreshDebt();
    if (qRound64(m_debt->text().toDouble() * 100) == 0) {
        Messages::info(QStringLiteral("此客户没有欠款!"));
        return;
    }
    if (!hasRight(Session::current(), QStringLiteral("销售收款管理"))) {
        Messages::warning(kNoRightText);
        return;
    }
    // The new-collection dialog for this customer, then the collections list.
    FormRegistry::open(QStringLiteral("Tfrm_xsskgl_addsk"), this, {partnerNameEdit()->text().trimmed()});
    FormRegistry::open(QStringLiteral("Tfrm_xsskgl"), this);
    refreshDebt();
}

void SalesBillForm::partnerTaken()
{
    readCustomer(partnerCodeEdit()->text(), true);
    refreshDebt();
}

void SalesBillForm::partnerNotFound()
{
    Messages::info(QStringLiteral("没有此客户资料!"));
    partnerNameEdit()->clear();
    partnerCodeEdit()->clear();
    m_priceClass.clear();
    m_classShown->clear();
    if (m_debt)
        m_debt->setText(QStringLiteral("0.00"));
    partnerNameEdit()->setFocus();
}

void SalesBillForm::refuseShortage(int gridRow, const QString &message)
{
    Messages::warning(message);
    grid()->setText(gridRow, BillGrid::Quantity, QStringLiteral("0"));
}

bool SalesBillForm::checkLine(int row)
{
    if (!stockChecked() || grid()->text(row, BillGrid::Code).trimmed().isEmpty())
        return true;
    bool ok = false;
    const docs::Bill b = billFromForm(&ok);
    if (!ok)
        return false;
    for (int i = 0; i < b.lines.size(); ++i) {
        if (b.lines.at(i).row != row + 1)
            continue;
        QString message;
        try {
            if (store().stockShortage(b, i, &message) < 0)
                return true;
        } catch (const Error &e) {
            Messages::warning(e.message());
            return false;
        }
        refuseShortage(row, message);
        return false;
    }
    return true;
}

bool SalesBillForm::checkBeforeSave(const docs::Bill &bill)
{
    if (!stockChecked())
        return true;
    QString message;
    int index = -1;
    try {
        index = store().stockShortage(bill, -1, &message);
    } catch (const Error &e) {
        Messages::warning(e.message());
        return false;
    }
    if (index < 0)
        return true;
    refuseShortage(bill.lines.at(index).row - 1, message);
    return false;
}

void SalesBillForm::memberCleared()
{
    m_priceClass.clear();
    m_classShown->clear();
    m_salesperson->setCurrentIndex(0);
    m_salesperson->setEditText(QString());
    if (m_debt)
        m_debt->setText(QStringLiteral("0.00"));
    remarkBox()->setEditText(QString());
}

void SalesBillForm::memberEnabled(bool on)
{
    for (QWidget *w : {static_cast<QWidget *>(m_salesperson), static_cast<QWidget *>(accountBox()),
                       static_cast<QWidget *>(remarkBox()), static_cast<QWidget *>(m_useMemory)})
        w->setEnabled(on);
    if (m_zeroStock)
        m_zeroStock->setEnabled(on);
}

void SalesBillForm::memberToBill(docs::BillHeader &header) const
{
    header.salesperson = m_salesperson->currentText();
}

void SalesBillForm::memberFromBill(const docs::BillHeader &header)
{
    m_salesperson->setEditText(header.salesperson);
    readCustomer(header.partnerCode, false);
    refreshDebt();
}

} // namespace tavomi
