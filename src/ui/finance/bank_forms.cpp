#include "ui/finance/bank_forms.h"

#include "common/clock.h"
#include "common/error.h"
#include "common/identity.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"
#include "finance/transfers.h"
#include "ui/app/form_registry.h"
#include "ui/common/data_grid.h"
#include "ui/common/form_helpers.h"
#include "ui/common/report_view.h"
#include "ui/finance/finance_common.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <tuple>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

namespace tavomi {

using namespace finance;

namespace {

const QString kAll = QStringLiteral("全部");
const QColor kYellow(255, 255, 0);
const QColor kTooltip(255, 255, 225);

void fillAccounts(QComboBox *combo, bool withAll)
{
    FillListCombo(Session::current(), 1, combo);
    if (withAll)
        combo->insertItem(0, kAll);
    combo->setCurrentIndex(0);
}

// The account filter of the two lists: every account, "全部" first.
QComboBox *accountFilter(QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("ComboBox1"));
    fillAccounts(combo, true);
    return combo;
}

// Two exclusive choices, the first one chosen.
std::pair<QRadioButton *, QRadioButton *> choicePair(QWidget *parent, const QString &first, const QString &second)
{
    auto *a = new QRadioButton(first, parent);
    auto *b = new QRadioButton(second, parent);
    a->setChecked(true);
    auto *group = new QButtonGroup(parent);
    group->addButton(a);
    group->addButton(b);
    return {a, b};
}

} // namespace

// ---------------------------------------------------------------- transfers list

BankAccessForm::BankAccessForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Tfrm_bank_access"));
    setWindowTitle(QStringLiteral("银行存取款管理"));
    resize(1000, 600);
    m_from = makeDateEdit(this, QStringLiteral("dt1"));
    m_to = makeDateEdit(this, QStringLiteral("dt2"));
    m_account = accountFilter(this);
    QRadioButton *in = nullptr;
    std::tie(m_out, in) = choicePair(this, QStringLiteral("转出"), QStringLiteral("转入"));
    m_audited = new QComboBox(this);
    m_audited->setObjectName(QStringLiteral("ComboBox2"));
    m_audited->addItems({kAll, QStringLiteral("未审核"), QStringLiteral("已审核")});
    m_remark = makeEdit(this, QStringLiteral("Edit1"));

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setColumns({{QStringLiteral("单据"), QStringLiteral("单据")},
                        {QStringLiteral("金额"), QStringLiteral("金额"), GridFormat::Amount, true, true},
                        {QStringLiteral("日期"), QStringLiteral("日期")},
                        {QStringLiteral("相关单据"), QStringLiteral("相关单据")},
                        {QStringLiteral("转出帐户"), QStringLiteral("转出帐户")},
                        {QStringLiteral("转入帐户"), QStringLiteral("转入帐户")},
                        {QStringLiteral("经手人"), QStringLiteral("经手人")},
                        {QStringLiteral("审核状态"), QStringLiteral("审核状态")},
                        {QStringLiteral("操作员"), QStringLiteral("操作员")},
                        {QStringLiteral("备注"), QStringLiteral("备注")}});
    m_grid->setRowColor([](const QSqlRecord &r) { return r.value(QStringLiteral("审核状态")).toString() == QStringLiteral("1") ? kYellow : QColor(); });
    m_grid->sortBy(QStringLiteral("单据"), Qt::AscendingOrder);

    auto *close = makeButton(this, QStringLiteral("BitBtn1"), QStringLiteral("退出管理"));
    auto *refresh = makeButton(this, QStringLiteral("BitBtn2"), QStringLiteral("刷新下面条件记录"));
    auto *add = makeButton(this, QStringLiteral("BitBtn3"), QStringLiteral("新增单据"));
    auto *modify = makeButton(this, QStringLiteral("BitBtn4"), QStringLiteral("修改单据"));
    auto *remove = makeButton(this, QStringLiteral("BitBtn5"), QStringLiteral("删除当前记录"));
    auto *print = makeButton(this, QStringLiteral("BitBtn6"), QStringLiteral("打印预览"));
    auto *exportButton = makeButton(this, QStringLiteral("BitBtn7"), QStringLiteral("导出EXCEL"));
    m_audit = makeButton(this, QStringLiteral("BitBtn8"), QStringLiteral("审核记录"));
    layOutList(this,
               {{{QStringLiteral("日期"), m_from}, {QStringLiteral("至"), m_to}, {QStringLiteral("账户"), m_account},
                 {QStringLiteral("转账类型"), m_out}, {{}, in}, {QStringLiteral("审核标志"), m_audited}, {QStringLiteral("备注"), m_remark}}},
               m_grid, {refresh, add, modify, remove, m_audit, print, exportButton}, close);

    connect(refresh, &QPushButton::clicked, this, &BankAccessForm::runQuery);
    connect(add, &QPushButton::clicked, this, &BankAccessForm::addTransfer);
    connect(modify, &QPushButton::clicked, this, &BankAccessForm::modifyTransfer);
    connect(m_grid, &DataGrid::activated, this, [this](int) { modifyTransfer(); });
    connect(remove, &QPushButton::clicked, this, &BankAccessForm::deleteTransfer);
    connect(m_audit, &QPushButton::clicked, this, &BankAccessForm::auditTransfer);
    // Clicking a row re-evaluates the audit button.
    connect(m_grid->view()->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { updateAuditButton(); });
    connect(print, &QPushButton::clicked, this, [this] {
        if (m_grid->totalRows() == 0) {
            Messages::info(QStringLiteral("当前没有记录可打印！"));
            return;
        }
        try {
            ShowReportFile(this, QStringLiteral("zcfrf/bank_report1.frf"),
                           gridReportData(m_grid, QStringLiteral("银行存取款管理"), dateText(m_from), dateText(m_to)));
        } catch (const Error &e) {
            Messages::warning(e.message());
        }
    });
    connect(exportButton, &QPushButton::clicked, this, [this] {
        if (m_grid->totalRows() == 0) {
            Messages::info(QStringLiteral("当前无数据可导出!"));
            return;
        }
        ExportGridToExcel(QStringLiteral("银行存取款"), m_grid);
    });
    // The radio buttons toggle together: one of them is enough.
    refreshOnChange(this, {m_from, m_to, m_account, m_out, m_audited, m_remark}, [this] { runQuery(); });
    runQuery();
}

void BankAccessForm::runQuery()
{
    QString sql = QStringLiteral("select 单据,金额,日期,相关单据,转出帐户,转入帐户,经手人,审核状态,操作员,备注 from 存取款表 where 日期>=? and 日期<=?");
    QVariantList values = {dateText(m_from), dateText(m_to)};
    addContains(sql, values, QStringLiteral("备注"), m_remark->text());
    const QString account = m_account->currentText();
    if (!account.isEmpty() && account != kAll) {
        sql += m_out->isChecked() ? QStringLiteral(" and 转出帐户=?") : QStringLiteral(" and 转入帐户=?");
        values << account;
    }
    if (m_audited->currentIndex() == 1)
        sql += QStringLiteral(" and 审核状态<>'1'");
    else if (m_audited->currentIndex() == 2)
        sql += QStringLiteral(" and 审核状态='1'");
    try {
        m_grid->setQuery(sql, values);
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
    updateAuditButton();
}

void BankAccessForm::updateAuditButton()
{
    m_audit->setVisible(m_grid->currentRow() >= 0 && m_grid->currentValue(QStringLiteral("审核状态")).toString() != QStringLiteral("1"));
}

void BankAccessForm::addTransfer()
{
    BankAddDialog dialog(QString(), this);
    dialog.exec();
    runQuery();
}

void BankAccessForm::modifyTransfer()
{
    if (m_grid->currentRow() < 0)
        return;
    if (m_grid->currentValue(QStringLiteral("审核状态")).toString() == QStringLiteral("1")) {
        Messages::info(QStringLiteral("审核记录，不能修改!"));
        return;
    }
    BankAddDialog dialog(m_grid->currentValue(QStringLiteral("单据")).toString(), this);
    dialog.exec();
    runQuery();
}

void BankAccessForm::deleteTransfer()
{
    if (m_grid->currentRow() < 0)
        return;
    const QString number = m_grid->currentValue(QStringLiteral("单据")).toString();
    if (m_grid->currentValue(QStringLiteral("审核状态")).toString() == QStringLiteral("1")) {
        Messages::info(QStringLiteral("审核单据，不能删除!"));
        return;
    }
    if (!Messages::question(QStringLiteral("记录删除"), QStringLiteral("确实要删除当前选择的记录吗")))
        return;
    try {
        Transfers(Session::current()).remove(number);
        Messages::info(QStringLiteral("删除成功!"));
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
    runQuery();
}

void BankAccessForm::auditTransfer()
{
    if (!hasRight(Session::current(), QStringLiteral("审核单据"))) {
        Messages::info(kNoRightText);
        return;
    }
    if (m_grid->currentRow() < 0) {
        Messages::info(QStringLiteral("当前无记录可审核"));
        return;
    }
    try {
        Transfers(Session::current()).audit(m_grid->currentValue(QStringLiteral("单据")).toString());
    } catch (const Error &e) {
        Messages::info(e.message());
    }
    runQuery();
}

// ---------------------------------------------------------------- one transfer

BankAddDialog::BankAddDialog(const QString &number, QWidget *parent)
    : QDialog(parent)
    , m_number(number)
{
    setObjectName(QStringLiteral("Tfrm_bank_add"));
    setWindowTitle(QStringLiteral("新增存取款"));
    m_date = makeDateEdit(this, QStringLiteral("dt1"));
    m_amount = makeEdit(this, QStringLiteral("Edit3"));
    setAmountInput(m_amount);
    m_from = new QComboBox(this);
    m_from->setObjectName(QStringLiteral("ComboBox1"));
    m_to = new QComboBox(this);
    m_to->setObjectName(QStringLiteral("ComboBox2"));
    m_handler = new QComboBox(this);
    m_handler->setObjectName(QStringLiteral("ComboBox3"));
    m_reference = makeEdit(this, QStringLiteral("Edit1"));
    m_remark = makeEdit(this, QStringLiteral("Edit2"));
    fillLists();
    auto *addAccount = makeButton(this, QStringLiteral("BitBtn3"), QStringLiteral("增加账户>>"));
    auto *addHandler = makeButton(this, QStringLiteral("BitBtn4"), QStringLiteral("增加经手人>"));
    auto *saveButton = makeButton(this, QStringLiteral("BitBtn1"), QStringLiteral("保存单据"));
    auto *close = makeButton(this, QStringLiteral("BitBtn2"), QStringLiteral("退出管理"));

    auto *grid = new QGridLayout(this);
    const QList<QPair<QString, QWidget *>> fields = {{QStringLiteral("业务日期"), m_date},  {QStringLiteral("金额"), m_amount},
                                                     {QStringLiteral("转出账户"), m_from},  {QStringLiteral("转入账户"), m_to},
                                                     {QStringLiteral("经手人"), m_handler}, {QStringLiteral("相关单据号"), m_reference},
                                                     {QStringLiteral("备注"), m_remark}};
    for (int i = 0; i < fields.size(); ++i) {
        grid->addWidget(new QLabel(fields.at(i).first, this), i, 0);
        grid->addWidget(fields.at(i).second, i, 1);
    }
    grid->addWidget(addAccount, 2, 2);
    grid->addWidget(addHandler, 4, 2);
    grid->addWidget(saveButton, fields.size(), 0);
    grid->addWidget(close, fields.size(), 1);

    auto openLists = [this](const QString &page) {
        if (!hasRight(Session::current(), QStringLiteral("银行账户信息增加"))) {
            Messages::info(kNoRightText);
            return;
        }
        FormRegistry::open(QStringLiteral("Tfrm_jczlsz"), this, {page});
        fillLists();
    };
    addAccount->setEnabled(FormRegistry::contains(QStringLiteral("Tfrm_jczlsz")));
    addHandler->setEnabled(addAccount->isEnabled());
    connect(addAccount, &QPushButton::clicked, this, [openLists] { openLists(QStringLiteral("银行账户资料")); });
    connect(addHandler, &QPushButton::clicked, this, [openLists] { openLists(QStringLiteral("经手人")); });
    connect(saveButton, &QPushButton::clicked, this, &BankAddDialog::save);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    if (!number.isEmpty()) {
        try {
            QSqlQuery q = Session::current().run(QStringLiteral("select 日期,金额,转出帐户,转入帐户,经手人,相关单据,备注 from 存取款表 where 单据=?"), {number});
            if (q.next()) {
                m_date->setDate(QDate::fromString(q.value(0).toString(), QString::fromLatin1(kDateFormat)));
                m_amount->setText(q.value(1).toString());
                m_from->setCurrentText(q.value(2).toString());
                m_to->setCurrentText(q.value(3).toString());
                m_handler->setCurrentText(q.value(4).toString());
                m_reference->setText(q.value(5).toString());
                m_remark->setText(q.value(6).toString());
            }
        } catch (const Error &e) {
            Messages::warning(e.message());
        }
    }
}

void BankAddDialog::fillLists()
{
    const QString from = m_from->currentText();
    const QString to = m_to->currentText();
    const QString handler = m_handler->currentText();
    FillListCombo(Session::current(), 1, m_from);
    FillListCombo(Session::current(), 1, m_to);
    FillListCombo(Session::current(), 0, m_handler);
    m_from->setCurrentIndex(m_from->findText(from));
    m_to->setCurrentIndex(m_to->findText(to));
    m_handler->setCurrentIndex(m_handler->findText(handler));
}

void BankAddDialog::save()
{
    Transfer t;
    t.number = m_number;
    t.date = dateText(m_date);
    t.amountText = m_amount->text();
    t.from = m_from->currentText();
    t.to = m_to->currentText();
    t.handler = m_handler->currentText();
    t.reference = m_reference->text();
    t.remark = m_remark->text();
    try {
        Transfers(Session::current()).save(t);
    } catch (const Error &e) {
        Messages::info(e.message());
        return;
    }
    Messages::info(m_number.isEmpty() ? QStringLiteral("增加成功!") : QStringLiteral("修改成功!"));
    accept();
}

// ---------------------------------------------------------------- ledger

BankLedgerForm::BankLedgerForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Tfrm_bank_xjl"));
    setWindowTitle(QStringLiteral("银行现金流查询"));
    resize(1000, 600);
    m_from = makeDateEdit(this, QStringLiteral("dt1"));
    m_to = makeDateEdit(this, QStringLiteral("dt2"));
    m_account = accountFilter(this);
    QRadioButton *balances = nullptr;
    std::tie(m_detail, balances) = choicePair(this, QStringLiteral("明细账"), QStringLiteral("余额账"));

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_print = makeButton(this, QStringLiteral("BitBtn1"), QStringLiteral("打印预览"));
    m_export = makeButton(this, QStringLiteral("BitBtn2"), QStringLiteral("导出EXCEL"));
    auto *close = makeButton(this, QStringLiteral("BitBtn3"), QStringLiteral("退出"));
    layOutList(this,
               {{{QStringLiteral("日期"), m_from}, {QStringLiteral("至"), m_to}, {QStringLiteral("账户"), m_account},
                 {QStringLiteral("查询类型"), m_detail}, {{}, balances}}},
               m_grid, {m_print, m_export}, close);
    connect(m_print, &QPushButton::clicked, this, [this] {
        if (m_grid->totalRows() == 0) {
            Messages::info(QStringLiteral("当前没有记录可打印！"));
            return;
        }
        try {
            ShowReportFile(this, QStringLiteral("zcfrf/bank_report2.frf"),
                           gridReportData(m_grid, QStringLiteral("银行现金流查询"), dateText(m_from), dateText(m_to)));
        } catch (const Error &e) {
            Messages::warning(e.message());
        }
    });
    connect(m_export, &QPushButton::clicked, this, [this] {
        if (m_grid->totalRows() == 0) {
            Messages::info(QStringLiteral("当前无数据可导出!"));
            return;
        }
        ExportGridToExcel(QStringLiteral("银行现金流"), m_grid);
    });
    refreshOnChange(this, {m_from, m_to, m_account, m_detail}, [this] { runQuery(); });
    runQuery();
}

void BankLedgerForm::runQuery()
{
    const bool detail = m_detail->isChecked();
    m_print->setEnabled(detail);
    m_export->setEnabled(detail);
    try {
        if (detail) {
            m_grid->setColumns({{QStringLiteral("编码"), QStringLiteral("编码")},
                                {QStringLiteral("日期"), QStringLiteral("日期")},
                                {QStringLiteral("业务类型"), QStringLiteral("业务类型")},
                                {QStringLiteral("借方发生"), QStringLiteral("借方发生"), GridFormat::Amount, true, true},
                                {QStringLiteral("贷方发生"), QStringLiteral("贷方发生"), GridFormat::Amount, true, true},
                                {QStringLiteral("余额"), QStringLiteral("余额"), GridFormat::Amount, true, true},
                                {QStringLiteral("票据号码"), QStringLiteral("票据号码")},
                                {QStringLiteral("备注"), QStringLiteral("备注")},
                                {QStringLiteral("流水号"), QStringLiteral("流水号"), GridFormat::Text, false}});
            m_grid->setRowColor([](const QSqlRecord &r) { return r.value(QStringLiteral("余额")).toDouble() < -0.004 ? kTooltip : QColor(); });
            // Newest first; the serial orders movements within one second exactly.
            m_grid->sortBy(QStringLiteral("流水号"), Qt::DescendingOrder);
            QVariantList values;
            const QString sql = ledgerQuery(m_account->currentText(), dateText(m_from), dateText(m_to), &values);
            m_grid->setQuery(sql, values);
        } else {
            m_grid->setColumns({{QStringLiteral("账户名称"), QStringLiteral("账户名称")},
                                {QStringLiteral("期初额"), QStringLiteral("帐户初始金额"), GridFormat::Amount, true, true},
                                {QStringLiteral("期未额"), QStringLiteral("帐户余额"), GridFormat::Amount, true, true}});
            m_grid->setRowColor({});
            m_grid->sortBy(QStringLiteral("账户名称"), Qt::AscendingOrder);
            m_grid->setQuery(QStringLiteral("select 账户名称,期初额,期未额 from 银行帐户表"));
        }
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
}

} // namespace tavomi
