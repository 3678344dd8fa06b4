#include "ui/finance/settlement_forms.h"

#include "common/clock.h"
#include "common/error.h"
#include "common/identity.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"
#include "common/text_utils.h"
#include "ui/app/form_registry.h"
#include "ui/common/data_grid.h"
#include "ui/common/form_helpers.h"
#include "ui/common/report_view.h"
#include "ui/finance/finance_common.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tavomi {

using namespace finance;

namespace {

SettlementForms makeReceivableForms()
{
    SettlementForms f;
    f.d = &receivables();
    f.itemListForm = QStringLiteral("Tfrm_xsyskgl");
    f.itemListCaption = QStringLiteral("销售应收款管理");
    f.itemExportTitle = QStringLiteral("销售应收款");
    f.itemTemplate = QStringLiteral("zcfrf/ysk_report.frf");
    f.itemAddForm = QStringLiteral("Tfrm_yskgl_add");
    f.itemAddCaption = QStringLiteral("新增/修改->应收款单据");
    f.moneyListForm = QStringLiteral("Tfrm_xsskgl");
    f.moneyListCaption = QStringLiteral("销售收款管理");
    f.moneyExportTitle = QStringLiteral("销售收款管理");
    f.moneyTemplate = QStringLiteral("zcfrf/ysk_report1.frf");
    f.moneyRight = QStringLiteral("销售收款管理");
    f.deskForm = QStringLiteral("Tfrm_xsskgl_addsk");
    f.deskCaption = QStringLiteral("销售收款操作");
    f.pickerForm = QStringLiteral("Tfrm_check_khzl");
    f.findPartnerText = QStringLiteral("查找客户");
    f.choosePartnerText = QStringLiteral("选择客户>");
    f.collectText = QStringLiteral("收款");
    f.newMoneyText = QStringLiteral("新增收款数据");
    f.deleteMoneyText = QStringLiteral("删除当前收款资料");
    f.closeMoneyText = QStringLiteral("退出收款管理");
    f.deleteMoneyQuestion = QStringLiteral("确实要删除当前选择的收款记录吗");
    f.deleteItemQuestion = QStringLiteral("确实要删除当前选择的应收款记录吗");
    f.startDeskText = QStringLiteral("开始收款");
    f.deskTitle = QStringLiteral("收银台");
    f.confirmText = QStringLiteral("确定收银");
    f.leaveText = QStringLiteral("退出收银");
    f.settledLabel = QStringLiteral("已收款");
    f.thisAmountLabel = QStringLiteral("本次收款");
    f.owedLabel = QStringLiteral("欠款");
    f.amountLabel = QStringLiteral("应收款");
    f.dueLabel = QStringLiteral("收款日期");
    return f;
}

SettlementForms makePayableForms()
{
    SettlementForms f;
    f.d = &payables();
    f.itemListForm = QStringLiteral("Tfrm_cgyfk");
    f.itemListCaption = QStringLiteral("进货应付款管理");
    f.itemExportTitle = QStringLiteral("进货应付款管理");
    f.itemTemplate = QStringLiteral("zcfrf/yfk_report.frf");
    f.itemAddForm = QStringLiteral("Tfrm_yfkgl_add");
    f.itemAddCaption = QStringLiteral("新增/修改->应付款单据");
    f.moneyListForm = QStringLiteral("Tfrm_skgl");
    f.moneyListCaption = QStringLiteral("采购付款管理");
    f.moneyExportTitle = QStringLiteral("采购付款管理");
    f.moneyTemplate = QStringLiteral("zcfrf/yfk_report1.frf");
    f.moneyRight = QStringLiteral("采购付款管理");
    f.deskForm = QStringLiteral("Tfrm_fkgl_add");
    f.deskCaption = QStringLiteral("采购付款操作");
    f.pickerForm = QStringLiteral("Tfrm_gyshz_check");
    f.findPartnerText = QStringLiteral("查找供应商");
    f.choosePartnerText = QStringLiteral("选择供商>");
    f.collectText = QStringLiteral("付款");
    f.newMoneyText = QStringLiteral("新增付款记录");
    f.deleteMoneyText = QStringLiteral("删除当前付款资料");
    f.closeMoneyText = QStringLiteral("退出付款管理");
    f.deleteMoneyQuestion = QStringLiteral("确实要删除当前选择的付款记录吗");
    f.deleteItemQuestion = QStringLiteral("确实要删除当前选择的应付款记录吗");
    f.startDeskText = QStringLiteral("开始付货款");
    f.deskTitle = QStringLiteral("付款台");
    f.confirmText = QStringLiteral("确定付款");
    f.leaveText = QStringLiteral("退出付款");
    f.settledLabel = QStringLiteral("已付款");
    f.thisAmountLabel = QStringLiteral("本次付款");
    f.owedLabel = QStringLiteral("还欠进货款");
    f.amountLabel = QStringLiteral("应付款");
    f.dueLabel = QStringLiteral("付款日期");
    return f;
}

const QColor kYellow(255, 255, 0);
const QColor kAqua(0, 255, 255);
const QColor kNegative(255, 200, 200);

QString money(double v)
{
    return QString::number(roundMoney(v), 'f', 2);
}

QLabel *caption(QWidget *parent, const QString &text)
{
    return new QLabel(text, parent);
}

void showError(const Error &e)
{
    Messages::warning(e.message());
}

} // namespace

const SettlementForms &receivableForms()
{
    static const SettlementForms f = makeReceivableForms();
    return f;
}

const SettlementForms &payableForms()
{
    static const SettlementForms f = makePayableForms();
    return f;
}

QString choosePartner(QWidget *parent, const SettlementForms &f, QLineEdit *target)
{
    const QString before = target->text();
    if (FormRegistry::contains(f.pickerForm)) {
        // The browser writes the partner it takes into the caller's name field.
        FormRegistry::open(f.pickerForm, parent);
        return target->text() != before ? target->text() : QString();
    }
    QStringList names;
    try {
        QSqlQuery q = Session::current().run(
            QStringLiteral("select 公司名 from %1 order by 公司名").arg(f.d->receivable ? QStringLiteral("客户") : QStringLiteral("供应商")));
        while (q.next())
            names << q.value(0).toString();
    } catch (const Error &e) {
        showError(e);
        return {};
    }
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, f.findPartnerText, f.d->partnerWord, names, 0, false, &ok);
    if (!ok || chosen.isEmpty())
        return {};
    target->setText(chosen);
    return chosen;
}

// ---------------------------------------------------------------- item list

ItemListForm::ItemListForm(const SettlementForms &forms, QWidget *parent)
    : QDialog(parent)
    , m_f(forms)
{
    const SettlementDescriptor &d = *m_f.d;
    setObjectName(m_f.itemListForm);
    setWindowTitle(m_f.itemListCaption);
    resize(1100, 640);
    m_order = makeEdit(this, QStringLiteral("Edit1"));
    m_from = makeDateEdit(this, QStringLiteral("dt1"));
    m_to = makeDateEdit(this, QStringLiteral("dt2"));
    m_partner = makeEdit(this, QStringLiteral("Edit2"));
    m_bill = makeEdit(this, QStringLiteral("Edit3"));
    m_state = new QComboBox(this);
    m_state->setObjectName(QStringLiteral("ComboBox1"));
    m_state->addItems({QStringLiteral("全部"), kStateSettled, kStateOpen, kStatePending});
    m_count = new QLabel(this);
    auto *find = makeButton(this, QStringLiteral("BitBtn1"), m_f.findPartnerText);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    const auto money = GridFormat::Amount;
    m_grid->setColumns({
        {QStringLiteral("订单号"), QStringLiteral("订单号")},
        {QStringLiteral("处理单据"), QStringLiteral("处理单据")},
        {d.itemPartner, d.itemPartner},
        {d.itemCode, d.itemCode},
        {QStringLiteral("发生日期"), QStringLiteral("发生日期")},
        {d.itemDue, d.itemDue},
        {d.itemAmount, d.itemAmount, money, true, true},
        {QStringLiteral("去零头"), QStringLiteral("去零头"), money, true, true},
        {d.itemSettled, d.itemSettled, money, true, true},
        {d.itemOwed, d.itemOwed, money, true, true},
        {QStringLiteral("录入日期"), QStringLiteral("录入日期")},
        {QStringLiteral("付清状态"), QStringLiteral("付清状态")},
        {QStringLiteral("备注"), QStringLiteral("备注")},
        {QStringLiteral("发票号"), QStringLiteral("发票号"), GridFormat::Text, !d.receivable},
    });
    const QString owed = d.itemOwed;
    m_grid->setRowColor([owed](const QSqlRecord &r) {
        if (r.value(QStringLiteral("付清状态")).toString() == kStatePending)
            return kAqua;
        const int sign = moneySign(r.value(owed).toDouble());
        if (sign == 0)
            return kYellow;
        return sign < 0 ? kNegative : QColor();
    });
    m_grid->sortBy(QStringLiteral("处理单据"), Qt::AscendingOrder);

    auto *close = makeButton(this, QStringLiteral("BitBtn2"), QStringLiteral("退出管理"));
    auto *add = makeButton(this, QStringLiteral("BitBtn3"), m_f.d->receivable ? QStringLiteral("新增应收款资料") : QStringLiteral("新增应付款资料"));
    auto *modify = makeButton(this, QStringLiteral("BitBtn4"), QStringLiteral("修改当前单据资料"));
    auto *remove = makeButton(this, QStringLiteral("BitBtn5"), QStringLiteral("删除当前选择的单据"));
    auto *exportButton = makeButton(this, QStringLiteral("BitBtn6"), QStringLiteral("导出EXCEL"));
    auto *print = makeButton(this, QStringLiteral("BitBtn7"), QStringLiteral("打印预览"));
    layOutList(this,
               {{{QStringLiteral("订单号"), m_order}, {QStringLiteral("发生日期"), m_from}, {QStringLiteral("至"), m_to}},
                {{d.partnerWord, m_partner}, {{}, find}, {QStringLiteral("处理单据"), m_bill}, {QStringLiteral("付清状态"), m_state}, {{}, m_count}}},
               m_grid, {add, modify, remove, exportButton, print}, close);

    connect(add, &QPushButton::clicked, this, &ItemListForm::addItem);
    connect(modify, &QPushButton::clicked, this, &ItemListForm::modifyItem);
    connect(remove, &QPushButton::clicked, this, &ItemListForm::deleteItem);
    connect(exportButton, &QPushButton::clicked, this, &ItemListForm::exportList);
    connect(print, &QPushButton::clicked, this, &ItemListForm::printList);
    connect(find, &QPushButton::clicked, this, [this] { choosePartner(this, m_f, m_partner); });
    refreshOnChange(this, {m_order, m_partner, m_bill, m_from, m_to, m_state}, [this] { runQuery(); });
    connect(m_grid, &DataGrid::activated, this, [this](int) { collect(); });
    m_grid->view()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid->view(), &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        QMenu menu(this);
        menu.addAction(m_f.collectText, this, &ItemListForm::collect);
        menu.exec(m_grid->view()->viewport()->mapToGlobal(at));
    });
    runQuery();
}

void ItemListForm::runQuery()
{
    const SettlementDescriptor &d = *m_f.d;
    QString sql = QStringLiteral("select 订单号,处理单据,%1,%2,发生日期,%3,%4,去零头,%5,%6,录入日期,付清状态,备注,发票号 from %7 "
                                 "where 发生日期>=? and 发生日期<=?")
                      .arg(d.itemPartner, d.itemCode, d.itemDue, d.itemAmount, d.itemSettled, d.itemOwed, d.itemTable);
    QVariantList values = {dateText(m_from), dateText(m_to)};
    addContains(sql, values, QStringLiteral("订单号"), m_order->text());
    addContains(sql, values, d.itemPartner, m_partner->text());
    addContains(sql, values, QStringLiteral("处理单据"), m_bill->text());
    if (m_state->currentIndex() > 0) {
        sql += QStringLiteral(" and 付清状态=?");
        values << m_state->currentText();
    }
    try {
        m_grid->setQuery(sql, values);
    } catch (const Error &e) {
        showError(e);
    }
    m_count->setText(QStringLiteral("记录数：%1").arg(m_grid->totalRows()));
}

void ItemListForm::addItem()
{
    ManualItemDialog dialog(m_f, QString(), this);
    dialog.exec();
    runQuery();
}

void ItemListForm::modifyItem()
{
    if (m_grid->currentRow() < 0)
        return;
    if (moneySign(m_grid->currentValue(m_f.d->itemOwed).toDouble()) == 0) {
        Messages::info(kSettledItemText);
        return;
    }
    ManualItemDialog dialog(m_f, m_grid->currentValue(m_f.d->itemCode).toString(), this);
    dialog.exec();
    runQuery();
}

void ItemListForm::deleteItem()
{
    if (m_grid->currentRow() < 0)
        return;
    const QString code = m_grid->currentValue(m_f.d->itemCode).toString();
    Settlement s(Session::current(), *m_f.d);
    try {
        s.checkDeleteItem(code);
        if (!Messages::question(QStringLiteral("记录删除"), m_f.deleteItemQuestion))
            return;
        s.removeItem(code);
        Messages::info(QStringLiteral("删除成功！"));
    } catch (const Error &e) {
        showError(e);
    }
    runQuery();
}

void ItemListForm::collect()
{
    if (m_grid->currentRow() < 0)
        return;
    Session &session = Session::current();
    if (!hasRight(session, m_f.moneyRight)) {
        Messages::info(kNoRightText);
        return;
    }
    const QString state = m_grid->currentValue(QStringLiteral("付清状态")).toString();
    if (state == kStateOpen) {
        {
            CashDeskDialog desk(m_f, this);
            if (desk.loadPartner(m_grid->currentValue(m_f.d->itemPartner).toString()))
                desk.exec();
        }
        MoneyListForm list(m_f, this);
        list.exec();
    } else if (state == kStatePending) {
        MoneyListForm list(m_f, this);
        list.showItem(m_grid->currentValue(QStringLiteral("处理单据")).toString(), m_from->date(), m_to->date());
        list.exec();
    }
    runQuery();
}

namespace {

// "导出EXCEL" and "打印预览" of both lists.
void exportListGrid(DataGrid *grid, const QString &title)
{
    if (grid->totalRows() == 0) {
        Messages::info(QStringLiteral("当前无数据可导出!"));
        return;
    }
    ExportGridToExcel(title, grid);
}

void printListGrid(QWidget *parent, DataGrid *grid, const QString &templ, const QString &caption, const QString &from,
                   const QString &to)
{
    if (grid->totalRows() == 0) {
        Messages::info(QStringLiteral("当前没有资料可以打印!"));
        return;
    }
    try {
        ShowReportFile(parent, templ, gridReportData(grid, caption, from, to));
    } catch (const Error &e) {
        showError(e);
    }
}

} // namespace

void ItemListForm::exportList()
{
    exportListGrid(m_grid, m_f.itemExportTitle);
}

void ItemListForm::printList()
{
    runQuery();
    printListGrid(this, m_grid, m_f.itemTemplate, m_f.itemListCaption, dateText(m_from), dateText(m_to));
}

// ---------------------------------------------------------------- money list

MoneyListForm::MoneyListForm(const SettlementForms &forms, QWidget *parent)
    : QDialog(parent)
    , m_f(forms)
{
    const SettlementDescriptor &d = *m_f.d;
    setObjectName(m_f.moneyListForm);
    setWindowTitle(m_f.moneyListCaption);
    resize(1100, 640);
    m_partner = makeEdit(this, QStringLiteral("Edit1"));
    m_from = makeDateEdit(this, QStringLiteral("dt1"));
    m_to = makeDateEdit(this, QStringLiteral("dt2"));
    m_audited = new QComboBox(this);
    m_audited->setObjectName(QStringLiteral("ComboBox1"));
    m_audited->addItems({QStringLiteral("全部"), QStringLiteral("已审核"), QStringLiteral("未审核")});
    m_handler = makeEdit(this, QStringLiteral("Edit2"));
    m_remark = makeEdit(this, QStringLiteral("Edit3"));
    m_bill = makeEdit(this, QStringLiteral("Edit4"));
    m_count = new QLabel(this);
    auto *find = makeButton(this, QStringLiteral("BitBtn1"), m_f.findPartnerText);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setColumns({
        {d.moneyPartner, d.moneyPartner},
        {d.moneyCode, d.moneyCode},
        {d.moneyDate, d.moneyDate},
        {d.moneyAmount, d.moneyAmount, GridFormat::Amount, true, true},
        {QStringLiteral("发票号"), QStringLiteral("发票号")},
        {QStringLiteral("经手人"), QStringLiteral("经手人")},
        {d.moneyMethod, d.moneyMethod},
        {d.moneyAccount, d.moneyAccount},
        {QStringLiteral("审核标志"), QStringLiteral("审核标志")},
        {QStringLiteral("备注"), QStringLiteral("备注")},
        {d.moneyItemRef, d.moneyItemRef},
    });
    m_grid->setRowColor([](const QSqlRecord &r) { return r.value(QStringLiteral("审核标志")).toInt() == 1 ? kYellow : QColor(); });
    m_grid->sortBy(d.moneyCode, Qt::AscendingOrder);

    auto *close = makeButton(this, QStringLiteral("BitBtn2"), m_f.closeMoneyText);
    auto *add = makeButton(this, QStringLiteral("BitBtn3"), m_f.newMoneyText);
    auto *remove = makeButton(this, QStringLiteral("BitBtn4"), m_f.deleteMoneyText);
    auto *exportButton = makeButton(this, QStringLiteral("BitBtn5"), QStringLiteral("导出EXCEL"));
    auto *print = makeButton(this, QStringLiteral("BitBtn6"), QStringLiteral("打印预览"));
    auto *audit = makeButton(this, QStringLiteral("BitBtn7"), QStringLiteral("审核单据"));
    layOutList(this,
               {{{d.partnerWord, m_partner}, {{}, find}, {d.moneyDate, m_from}, {QStringLiteral("至"), m_to}},
                {{QStringLiteral("审核状态"), m_audited}, {QStringLiteral("经手人"), m_handler}, {QStringLiteral("备注"), m_remark},
                 {d.moneyItemRef, m_bill}, {{}, m_count}}},
               m_grid, {add, remove, audit, exportButton, print}, close);

    connect(add, &QPushButton::clicked, this, &MoneyListForm::newMoney);
    connect(remove, &QPushButton::clicked, this, &MoneyListForm::deleteCurrent);
    connect(audit, &QPushButton::clicked, this, &MoneyListForm::auditCurrent);
    connect(exportButton, &QPushButton::clicked, this, &MoneyListForm::exportList);
    connect(print, &QPushButton::clicked, this, &MoneyListForm::printList);
    connect(find, &QPushButton::clicked, this, [this] { choosePartner(this, m_f, m_partner); });
    refreshOnChange(this, {m_partner, m_handler, m_remark, m_bill, m_from, m_to, m_audited}, [this] { runQuery(); });
    runQuery();
}

void MoneyListForm::runQuery()
{
    if (m_loading)
        return;
    const SettlementDescriptor &d = *m_f.d;
    QString sql = QStringLiteral("select %1,%2,%3,%4,发票号,经手人,%5,%6,审核标志,备注,%7 from %8 where %3>=? and %3<=?")
                      .arg(d.moneyPartner, d.moneyCode, d.moneyDate, d.moneyAmount, d.moneyMethod, d.moneyAccount, d.moneyItemRef,
                           d.moneyTable);
    QVariantList values = {dateText(m_from), dateText(m_to)};
    addContains(sql, values, d.moneyPartner, m_partner->text());
    addContains(sql, values, QStringLiteral("经手人"), m_handler->text());
    addContains(sql, values, QStringLiteral("备注"), m_remark->text());
    addContains(sql, values, d.moneyItemRef, m_bill->text());
    if (m_audited->currentIndex() == 1)
        sql += QStringLiteral(" and 审核标志=1");
    else if (m_audited->currentIndex() == 2)
        sql += QStringLiteral(" and 审核标志=0");
    try {
        m_grid->setQuery(sql, values);
    } catch (const Error &e) {
        showError(e);
    }
    m_count->setText(QStringLiteral("记录数：%1").arg(m_grid->totalRows()));
}

void MoneyListForm::showItem(const QString &bill, const QDate &from, const QDate &to)
{
    m_loading = true;
    m_bill->setText(bill);
    m_from->setDate(from);
    m_to->setDate(to);
    m_loading = false;
    runQuery();
}

void MoneyListForm::newMoney()
{
    CashDeskDialog desk(m_f, this);
    desk.exec();
    runQuery();
}

void MoneyListForm::auditCurrent()
{
    Session &session = Session::current();
    if (!hasRight(session, QStringLiteral("审核单据"))) {
        Messages::info(kNoRightText);
        return;
    }
    if (m_grid->currentRow() < 0) {
        runQuery();
        return;
    }
    if (m_grid->currentValue(QStringLiteral("审核标志")).toInt() == 1) {
        Messages::info(kAlreadyAuditedText);
        runQuery();
        return;
    }
    if (!Messages::question(QStringLiteral("审核单据"), QStringLiteral("单据审核后将不能修改只能删除,你确定审核此单据吗?")))
        return;
    try {
        Settlement(session, *m_f.d).audit(m_grid->currentValue(m_f.d->moneyCode).toString());
    } catch (const Error &e) {
        Messages::info(e.message());
    }
    runQuery();
}

void MoneyListForm::deleteCurrent()
{
    if (m_grid->currentRow() < 0)
        return;
    const QString code = m_grid->currentValue(m_f.d->moneyCode).toString();
    Settlement s(Session::current(), *m_f.d);
    try {
        s.checkDelete(code);
    } catch (const Error &e) {
        Messages::info(e.message(), QStringLiteral("审核单据"));
        return;
    }
    if (!Messages::question(QStringLiteral("记录删除"), m_f.deleteMoneyQuestion))
        return;
    try {
        s.remove(code);
        Messages::info(QStringLiteral("删除成功！"));
    } catch (const Error &e) {
        showError(e);
    }
    runQuery();
}

void MoneyListForm::exportList()
{
    exportListGrid(m_grid, m_f.moneyExportTitle);
}

void MoneyListForm::printList()
{
    runQuery();
    printListGrid(this, m_grid, m_f.moneyTemplate, m_f.moneyListCaption, dateText(m_from), dateText(m_to));
}

// ---------------------------------------------------------------- cash desk

CashDeskDialog::CashDeskDialog(const SettlementForms &forms, QWidget *parent)
    : QDialog(parent)
    , m_f(forms)
    , m_settlement(Session::current(), *forms.d)
{
    const SettlementDescriptor &d = *m_f.d;
    setObjectName(m_f.deskForm);
    setWindowTitle(m_f.deskCaption);
    resize(980, 560);
    m_date = makeDateEdit(this, QStringLiteral("dt2"));
    m_partner = makeEdit(this, QStringLiteral("Edit4"));
    m_partner->setReadOnly(true);
    m_handler = makeEdit(this, QStringLiteral("Edit3"), QStringLiteral("系统操作员"));
    m_invoice = makeEdit(this, QStringLiteral("Edit9"), QStringLiteral("0001"));
    m_remark = makeEdit(this, QStringLiteral("Edit8"));
    m_method = new QComboBox(this);
    m_method->setObjectName(QStringLiteral("edit10"));
    m_account = new QComboBox(this);
    m_account->setObjectName(QStringLiteral("edit1"));
    FillListCombo(Session::current(), 4, m_method);
    FillListCombo(Session::current(), 1, m_account);
    m_method->setCurrentIndex(-1);
    m_account->setCurrentIndex(-1);
    auto *find = makeButton(this, QStringLiteral("BitBtn1"), m_f.findPartnerText);
    auto *start = makeButton(this, QStringLiteral("ToolButton1"), m_f.startDeskText);

    auto *header = new QGridLayout;
    header->addWidget(caption(this, d.moneyDate), 0, 0);
    header->addWidget(m_date, 0, 1);
    header->addWidget(caption(this, d.partnerWord), 0, 2);
    header->addWidget(m_partner, 0, 3);
    header->addWidget(find, 0, 4);
    header->addWidget(caption(this, QStringLiteral("经手人")), 1, 0);
    header->addWidget(m_handler, 1, 1);
    header->addWidget(caption(this, QStringLiteral("发票号")), 1, 2);
    header->addWidget(m_invoice, 1, 3);
    header->addWidget(caption(this, QStringLiteral("备注")), 1, 4);
    header->addWidget(m_remark, 1, 5);
    header->addWidget(caption(this, d.moneyMethod), 2, 0);
    header->addWidget(m_method, 2, 1);
    header->addWidget(caption(this, d.moneyAccount), 2, 2);
    header->addWidget(m_account, 2, 3);
    header->addWidget(start, 2, 5);

    m_table = new QTableWidget(0, 9, this);
    m_table->setObjectName(QStringLiteral("grid1"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("发生日期"), d.itemDue, d.itemAmount, QStringLiteral("去零头"), d.itemSettled,
                                        d.itemOwed, QStringLiteral("处理单据"), QStringLiteral("订单号"), d.itemCode});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);

    m_panel = new QGroupBox(m_f.deskTitle, this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    auto readOnly = [this](const QString &name) {
        QLineEdit *e = makeEdit(m_panel, name);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        return e;
    };
    m_itemAmount = readOnly(QStringLiteral("Edit5"));
    m_writeOff = readOnly(QStringLiteral("Edit6"));
    m_settled = readOnly(QStringLiteral("Edit7"));
    m_itemDate = readOnly(QStringLiteral("Edit10"));
    m_outstanding = readOnly(QStringLiteral("Edit1"));
    m_deduct = readOnly(QStringLiteral("Edit11"));
    m_amount = makeEdit(m_panel, QStringLiteral("Edit2"));
    setAmountInput(m_amount);
    auto *confirmButton = makeButton(m_panel, QStringLiteral("BitBtn3"), m_f.confirmText);
    auto *leave = makeButton(m_panel, QStringLiteral("BitBtn4"), m_f.leaveText);
    auto *panelLayout = new QGridLayout(m_panel);
    const QList<QPair<QString, QLineEdit *>> fields = {
        {m_f.amountLabel, m_itemAmount}, {QStringLiteral("去零头"), m_writeOff}, {m_f.settledLabel, m_settled},
        {QStringLiteral("发生日期"), m_itemDate}, {QStringLiteral("尚欠款"), m_outstanding}, {QStringLiteral("应扣款"), m_deduct},
        {m_f.thisAmountLabel, m_amount}};
    for (int i = 0; i < fields.size(); ++i) {
        panelLayout->addWidget(caption(m_panel, fields.at(i).first), i / 2, (i % 2) * 2);
        panelLayout->addWidget(fields.at(i).second, i / 2, (i % 2) * 2 + 1);
    }
    panelLayout->addWidget(confirmButton, 4, 1);
    panelLayout->addWidget(leave, 4, 3);
    m_panel->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_panel);

    connect(find, &QPushButton::clicked, this, [this] {
        const QString chosen = choosePartner(this, m_f, m_partner);
        if (!chosen.isEmpty())
            loadPartner(chosen);
    });
    connect(start, &QPushButton::clicked, this, &CashDeskDialog::openDesk);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        selectRow(row);
        openDesk();
    });
    connect(confirmButton, &QPushButton::clicked, this, &CashDeskDialog::confirm);
    connect(leave, &QPushButton::clicked, m_panel, &QWidget::hide);
    connect(m_amount, &QLineEdit::returnPressed, this, &CashDeskDialog::confirm);
}

bool CashDeskDialog::loadPartner(const QString &partner)
{
    m_partnerName = partner;
    m_partner->setText(partner);
    m_panel->hide();
    try {
        m_items = m_settlement.openItems(partner);
        m_credit = m_settlement.creditTotal(partner);
    } catch (const Error &e) {
        showError(e);
        m_items.clear();
    }
    fillTable();
    if (m_items.isEmpty()) {
        Messages::info(m_f.d->noOpenItemsText);
        return false;
    }
    return true;
}

void CashDeskDialog::fillTable()
{
    m_table->setRowCount(m_items.size());
    for (int r = 0; r < m_items.size(); ++r) {
        const OpenItem &it = m_items.at(r);
        const QStringList cells = {it.date, it.due, money(it.amount), money(it.writeOff), money(it.settled), money(it.owed), it.bill, it.order,
                                   it.code};
        for (int c = 0; c < cells.size(); ++c) {
            auto *cell = new QTableWidgetItem(cells.at(c));
            if (moneySign(it.settled) == 0) {
                cell->setBackground(kYellow);
                cell->setForeground(QColor(128, 0, 128));
            }
            m_table->setItem(r, c, cell);
        }
    }
    if (!m_items.isEmpty())
        m_table->selectRow(0);
}

void CashDeskDialog::selectRow(int row)
{
    m_table->selectRow(row);
}

void CashDeskDialog::openDesk()
{
    if (m_partnerName.isEmpty()) {
        Messages::warning(m_f.d->choosePartnerText);
        return;
    }
    const int row = m_table->currentRow();
    if (row < 0 || row >= m_items.size())
        return;
    const OpenItem &it = m_items.at(row);
    m_deskRow = row;
    m_desk = Settlement::desk(it, m_credit);
    m_itemAmount->setText(money(it.amount));
    m_writeOff->setText(money(m_f.d->receivable ? it.writeOff : qAbs(it.writeOff)));
    m_settled->setText(money(it.settled));
    m_itemDate->setText(it.date);
    m_outstanding->setText(money(m_desk.outstanding));
    m_deduct->setText(money(m_desk.deduct));
    m_amount->setText(money(m_desk.outstanding));
    m_panel->show();
    m_amount->setFocus();
    m_amount->selectAll();
}

void CashDeskDialog::confirm()
{
    if (m_deskRow < 0 || m_deskRow >= m_items.size())
        return;
    const OpenItem &it = m_items.at(m_deskRow);
    MoneyRequest r;
    r.partner = m_partnerName;
    r.bill = it.bill;
    r.code = it.code;
    r.amountText = m_amount->text();
    r.date = dateText(m_date);
    r.invoice = m_invoice->text();
    r.handler = m_handler->text();
    r.method = m_method->currentText();
    r.account = m_account->currentText();
    r.remark = m_remark->text();
    try {
        m_settlement.validate(r.method, r.account, r.amountText, m_desk.outstanding);
        m_settlement.post(r);
    } catch (const Error &e) {
        Messages::info(e.message());
        return;
    }
    m_deskRow = -1;
    m_panel->hide();
    m_items = m_settlement.openItems(m_partnerName);
    m_credit = m_settlement.creditTotal(m_partnerName);
    fillTable();
    if (m_items.isEmpty())
        accept();
}

// ---------------------------------------------------------------- manual item

ManualItemDialog::ManualItemDialog(const SettlementForms &forms, const QString &code, QWidget *parent)
    : QDialog(parent)
    , m_f(forms)
    , m_code(code)
{
    const SettlementDescriptor &d = *m_f.d;
    setObjectName(m_f.itemAddForm);
    setWindowTitle(m_f.itemAddCaption);
    m_date = makeDateEdit(this, QStringLiteral("dt1"));
    m_due = makeDateEdit(this, QStringLiteral("dt2"));
    m_amount = makeEdit(this, QStringLiteral("Edit1"), QStringLiteral("0.0"));
    m_writeOff = makeEdit(this, QStringLiteral("Edit5"), QStringLiteral("0.0"));
    m_settled = makeEdit(this, QStringLiteral("Edit6"), QStringLiteral("0.0"));
    m_settled->setReadOnly(true);
    m_owed = makeEdit(this, QStringLiteral("Edit2"), QStringLiteral("0.0"));
    m_owed->setReadOnly(true);
    m_bill = makeEdit(this, QStringLiteral("Edit3"));
    m_partner = makeEdit(this, QStringLiteral("Edit4"));
    m_partner->setReadOnly(true);
    m_order = makeEdit(this, QStringLiteral("Edit7"));
    m_remark = makeEdit(this, QStringLiteral("Edit8"));
    setAmountInput(m_amount);
    setAmountInput(m_writeOff);
    auto *no = new QLabel(QStringLiteral("No:") + code, this);
    no->setObjectName(QStringLiteral("Label_No"));
    auto *choose = makeButton(this, QStringLiteral("BitBtn1"), m_f.choosePartnerText);
    auto *saveButton = makeButton(this, QStringLiteral("BitBtn2"), QStringLiteral("保存单据"));
    auto *close = makeButton(this, QStringLiteral("BitBtn3"), QStringLiteral("退出管理"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(no, 0, 0, 1, 2);
    const QList<QPair<QString, QWidget *>> fields = {
        {QStringLiteral("发生日期"), m_date}, {m_f.dueLabel, m_due},        {m_f.amountLabel, m_amount},
        {QStringLiteral("去零头"), m_writeOff}, {m_f.settledLabel, m_settled}, {m_f.owedLabel, m_owed},
        {QStringLiteral("单号"), m_bill},      {d.partnerWord, m_partner},   {QStringLiteral("订单号"), m_order},
        {QStringLiteral("备注"), m_remark}};
    for (int i = 0; i < fields.size(); ++i) {
        grid->addWidget(caption(this, fields.at(i).first), 1 + i / 2, (i % 2) * 2);
        grid->addWidget(fields.at(i).second, 1 + i / 2, (i % 2) * 2 + 1);
    }
    grid->addWidget(choose, 4, 4);
    grid->addWidget(saveButton, 7, 1);
    grid->addWidget(close, 7, 3);

    connect(choose, &QPushButton::clicked, this, [this] { choosePartner(this, m_f, m_partner); });
    connect(saveButton, &QPushButton::clicked, this, &ManualItemDialog::save);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_amount, &QLineEdit::editingFinished, this, [this] {
        if (m_amount->text().trimmed().isEmpty())
            m_amount->setText(QStringLiteral("0.0"));
        recompute();
    });
    connect(m_writeOff, &QLineEdit::editingFinished, this, [this] {
        if (m_writeOff->text().trimmed().isEmpty())
            m_writeOff->setText(QStringLiteral("0.0"));
        if (m_amount->text().toDouble() > 0)
            recompute();
    });

    m_bill->setReadOnly(true);
    if (!code.isEmpty()) {
        try {
            QSqlQuery q = Session::current().run(QStringLiteral("select 处理单据,%1,发生日期,%2,%3,去零头,%4,%5,订单号,备注 from %6 where %7=?")
                                                     .arg(d.itemPartner, d.itemDue, d.itemAmount, d.itemSettled, d.itemOwed, d.itemTable,
                                                          d.itemCode),
                                                 {code});
            if (q.next()) {
                const QString bill = q.value(0).toString();
                m_bill->setText(bill);
                m_partner->setText(q.value(1).toString());
                m_date->setDate(QDate::fromString(q.value(2).toString(), QString::fromLatin1(kDateFormat)));
                m_due->setDate(QDate::fromString(q.value(3).toString(), QString::fromLatin1(kDateFormat)));
                m_amount->setText(numberText(q.value(4).toDouble()));
                m_writeOff->setText(numberText(q.value(5).toDouble()));
                m_settled->setText(numberText(q.value(6).toDouble()));
                m_owed->setText(numberText(q.value(7).toDouble()));
                m_order->setText(q.value(8).toString());
                m_remark->setText(q.value(9).toString());
                // Rows written by bills keep their number and amount: the bill refers to them.
                const bool manual = bill.startsWith(d.manualPrefix);
                m_bill->setReadOnly(!manual);
                if (!manual) {
                    m_amount->setEnabled(false);
                    m_amount->setStyleSheet(QStringLiteral("background-color: #ffffe1;"));
                }
            }
        } catch (const Error &e) {
            showError(e);
        }
    }
}

QLineEdit *ManualItemDialog::edit(const QString &name) const
{
    return findChild<QLineEdit *>(name);
}

void ManualItemDialog::recompute()
{
    m_owed->setText(numberText(roundMoney(m_amount->text().toDouble() - m_writeOff->text().toDouble() - m_settled->text().toDouble())));
}

void ManualItemDialog::save()
{
    recompute();
    ManualItem item;
    item.code = m_code;
    item.bill = m_bill->text();
    item.partner = m_partner->text();
    item.date = dateText(m_date);
    item.due = dateText(m_due);
    item.amount = m_amount->text().toDouble();
    item.writeOff = m_writeOff->text().toDouble();
    item.settled = m_settled->text().toDouble();
    item.order = m_order->text();
    item.remark = m_remark->text();
    try {
        Settlement(Session::current(), *m_f.d).saveManual(item);
    } catch (const Error &e) {
        Messages::info(e.message());
        return;
    }
    Messages::info(m_code.isEmpty() ? QStringLiteral("保存成功！") : QStringLiteral("修改成功！"));
    accept();
}

} // namespace tavomi
