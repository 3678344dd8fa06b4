#include "ui/documents/lookup_form.h"

#include "common/clock.h"
#include "common/error.h"
#include "common/helpers.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/text_utils.h"
#include "ui/common/report_view.h"
#include "ui/documents/bill_print.h"
#include "ui/documents/document_form.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tavomi {

namespace {

const QStringList kPurchaseSort = {QStringLiteral("单号"), QStringLiteral("备注"), QStringLiteral("供应商"), QStringLiteral("公司名"),
                                   QStringLiteral("金额合计"), QStringLiteral("审核标志"), QStringLiteral("日期"), QStringLiteral("时间"),
                                   QStringLiteral("操作员")};
const QStringList kPurchaseMasterColumns = {
    QStringLiteral("单号"),     QStringLiteral("发票号"),   QStringLiteral("备注"),     QStringLiteral("货位"),
    QStringLiteral("供应商"),   QStringLiteral("公司名"),   QStringLiteral("数量合计"), QStringLiteral("金额合计"),
    QStringLiteral("审核标志"), QStringLiteral("日期"),     QStringLiteral("时间"),     QStringLiteral("操作员"),
    QStringLiteral("账户"),     QStringLiteral("本次付款"), QStringLiteral("预发生款"), QStringLiteral("发票号码"),
    QStringLiteral("附加说明"), QStringLiteral("摘要")};

QStringList purchaseLineColumns(const QString &warehouseColumn)
{
    return {QStringLiteral("序号"), QStringLiteral("单号"), QStringLiteral("编码"),   QStringLiteral("条码"), QStringLiteral("品名"),
            QStringLiteral("单位"), QStringLiteral("进价"), warehouseColumn,          QStringLiteral("数量"), QStringLiteral("金额"),
            QStringLiteral("新进"), QStringLiteral("大单位"), QStringLiteral("件数量"), QStringLiteral("进率"), QStringLiteral("件进价"),
            QStringLiteral("原进价"), QStringLiteral("颜色")};
}

QList<LookupDescriptor> buildLookups()
{
    QList<LookupDescriptor> out;
    const QList<LookupDescriptor::Filter> supplierFilters = {
        {QStringLiteral("Edit3"), QStringLiteral("供商编码"), QStringLiteral("供应商")},
        {QStringLiteral("Edit4"), QStringLiteral("供商名称"), QStringLiteral("公司名")},
    };
    const QStringList statement = {QStringLiteral("单号"), QStringLiteral("备注"), QStringLiteral("公司名"), QStringLiteral("数量合计"),
                                   QStringLiteral("金额合计")};

    LookupDescriptor receipt;
    receipt.formName = QStringLiteral("Tfrm_locate_modi_input");
    receipt.caption = QStringLiteral("进货单据查询");
    receipt.kind = docs::BillKind::PurchaseReceipt;
    receipt.dateCaption = QStringLiteral("进货日期");
    receipt.dateColumn = QStringLiteral("日期");
    receipt.partnerFilters = supplierFilters;
    receipt.sortColumns = kPurchaseSort;
    receipt.defaultSort = QStringLiteral("日期");
    receipt.masterColumns = kPurchaseMasterColumns;
    receipt.lineColumns = purchaseLineColumns(QStringLiteral("入库仓库"));
    receipt.statementTemplate = QStringLiteral("zcfrf/printreport_sub_input.frf");
    receipt.statementColumns = statement;
    out.append(receipt);

    LookupDescriptor ret = receipt;
    ret.formName = QStringLiteral("Tfrm_locate_retrn_modi");
    ret.caption = QStringLiteral("采购退货单查询");
    ret.kind = docs::BillKind::PurchaseReturn;
    ret.dateCaption = QStringLiteral("退货日期");
    ret.lineColumns = purchaseLineColumns(QStringLiteral("退货仓库"));
    ret.statementTemplate = QStringLiteral("zcfrf/printreport_sub_input2.frf");
    out.append(ret);

    // Sales side.
    LookupDescriptor sell;
    sell.formName = QStringLiteral("Tfrm_locate_sell");
    sell.caption = QStringLiteral("销售单据查询");
    sell.kind = docs::BillKind::SalesShipment;
    sell.dateCaption = QStringLiteral("日期范围");
    sell.dateColumn = QStringLiteral("日期");
    sell.partnerFilters = {{QStringLiteral("Edit3"), QStringLiteral("客户编码"), QStringLiteral("客户编码")},
                           {QStringLiteral("Edit4"), QStringLiteral("客户名称"), QStringLiteral("客户名称")}};
    sell.sortColumns = {QStringLiteral("单号"),     QStringLiteral("客户编码"), QStringLiteral("客户名称"),
                        QStringLiteral("金额合计"), QStringLiteral("审核标志"), QStringLiteral("日期"),
                        QStringLiteral("时间"),     QStringLiteral("操作员"),   QStringLiteral("业务员")};
    sell.defaultSort = QStringLiteral("客户名称");
    sell.masterColumns = {QStringLiteral("单号"),     QStringLiteral("发票号"),   QStringLiteral("客户编码"), QStringLiteral("客户名称"),
                          QStringLiteral("金额合计"), QStringLiteral("审核标志"), QStringLiteral("日期"),     QStringLiteral("时间"),
                          QStringLiteral("操作员"),   QStringLiteral("业务员"),   QStringLiteral("帐户"),     QStringLiteral("本次收款"),
                          QStringLiteral("摘要"),     QStringLiteral("备注"),     QStringLiteral("发票号码"), QStringLiteral("货位"),
                          QStringLiteral("数量合计"), QStringLiteral("预发生款"), QStringLiteral("附加说明")};
    sell.lineColumns = {QStringLiteral("序号"),   QStringLiteral("单号"),   QStringLiteral("品名"),   QStringLiteral("编码"),
                        QStringLiteral("单位"),   QStringLiteral("金额"),   QStringLiteral("大单位"), QStringLiteral("件数量"),
                        QStringLiteral("进率"),   QStringLiteral("件售价"), QStringLiteral("出货仓库"), QStringLiteral("备注"),
                        QStringLiteral("售价"),   QStringLiteral("数量"),   QStringLiteral("原售价"), QStringLiteral("成本价"),
                        QStringLiteral("客户编码"), QStringLiteral("颜色")};
    sell.statementTemplate = QStringLiteral("zcfrf/printreport_main.frf");
    sell.statementColumns = {QStringLiteral("单号"), QStringLiteral("发票号"), QStringLiteral("客户名称"), QStringLiteral("数量合计"),
                             QStringLiteral("金额合计")};
    sell.titles = {{QStringLiteral("发票号"), QStringLiteral("订单号")},
                   {QStringLiteral("本次收款"), QStringLiteral("去零头")},
                   {QStringLiteral("摘要"), QStringLiteral("销售类型")},
                   {QStringLiteral("进率"), QStringLiteral("折扣")}};
    sell.hiddenColumns = {QStringLiteral("货位"), QStringLiteral("数量合计"), QStringLiteral("预发生款"), QStringLiteral("附加说明"),
                          QStringLiteral("售价"), QStringLiteral("数量"),     QStringLiteral("原售价"),   QStringLiteral("成本价"),
                          QStringLiteral("客户编码"), QStringLiteral("颜色")};
    out.append(sell);

    LookupDescriptor sret = sell;
    sret.formName = QStringLiteral("Tfrm_xsthgl_modi_loc");
    sret.caption = QStringLiteral("退货单据查询");
    sret.kind = docs::BillKind::SalesReturn;
    sret.statementTemplate = QStringLiteral("zcfrf/printreport_th_main.frf");
    sret.titles.insert(QStringLiteral("出货仓库"), QStringLiteral("存放仓库"));
    out.append(sret);
    return out;
}

QTableWidget *makeList(const QString &name, QWidget *parent)
{
    auto *t = new QTableWidget(parent);
    t->setObjectName(name);
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(22);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return t;
}

void fill(QTableWidget *table, const QStringList &columns, QSqlQuery &q, const LookupDescriptor &l)
{
    table->setRowCount(0);
    table->setColumnCount(int(columns.size()));
    QStringList titles;
    for (const QString &c : columns)
        titles << l.titles.value(c, c);
    table->setHorizontalHeaderLabels(titles);
    for (int c = 0; c < columns.size(); ++c)
        table->setColumnHidden(c, l.hiddenColumns.contains(columns.at(c)));
    while (q.next()) {
        const int r = table->rowCount();
        table->insertRow(r);
        for (int c = 0; c < columns.size(); ++c) {
            const QVariant v = q.value(c);
            QString text = v.toString();
            if (v.typeId() == QMetaType::Double)
                text = numberText(v.toDouble());
            table->setItem(r, c, new QTableWidgetItem(text));
        }
    }
}

} // namespace

const QList<LookupDescriptor> &allLookups()
{
    static const QList<LookupDescriptor> lookups = buildLookups();
    return lookups;
}

const LookupDescriptor *lookupByForm(const QString &formName)
{
    for (const LookupDescriptor &l : allLookups())
        if (l.formName == formName)
            return &l;
    return nullptr;
}

BillLookupForm::BillLookupForm(const LookupDescriptor &descriptor, QWidget *parent)
    : QDialog(parent)
    , m_l(descriptor)
    , m_d(docs::bill(descriptor.kind))
{
    setObjectName(m_l.formName);
    setWindowTitle(m_l.caption);
    buildUi();
    runQuery();
}

void BillLookupForm::buildUi()
{
    resize(980, 620);
    auto *outer = new QVBoxLayout(this);
    auto *filters = new QGridLayout;
    auto edit = [this](const QString &name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        connect(e, &QLineEdit::returnPressed, this, &BillLookupForm::runQuery);
        return e;
    };
    m_number = edit(QStringLiteral("Edit1"));
    m_remark = edit(QStringLiteral("Edit2"));
    filters->addWidget(new QLabel(QStringLiteral("单据号"), this), 0, 0);
    filters->addWidget(m_number, 0, 1);
    filters->addWidget(new QLabel(QStringLiteral("备注"), this), 0, 2);
    filters->addWidget(m_remark, 0, 3);
    int column = 4;
    for (const LookupDescriptor::Filter &f : m_l.partnerFilters) {
        auto *e = edit(f.objectName);
        m_partnerEdits << e;
        filters->addWidget(new QLabel(f.caption, this), 0, column++);
        filters->addWidget(e, 0, column++);
    }
    const QDate today = Clock::now().date();
    m_from = new QDateEdit(today.addDays(-30), this);
    m_from->setObjectName(QStringLiteral("dt1"));
    m_to = new QDateEdit(today, this);
    m_to->setObjectName(QStringLiteral("dt2"));
    for (QDateEdit *d : {m_from, m_to}) {
        d->setDisplayFormat(QString::fromLatin1(kDateFormat));
        d->setCalendarPopup(true);
    }
    filters->addWidget(new QLabel(m_l.dateCaption, this), 1, 0);
    filters->addWidget(m_from, 1, 1);
    filters->addWidget(new QLabel(QStringLiteral("至"), this), 1, 2);
    filters->addWidget(m_to, 1, 3);
    m_sort = new QComboBox(this);
    m_sort->setObjectName(QStringLiteral("ComboBox1"));
    m_sort->addItem(QString());
    m_sort->addItems(m_l.sortColumns);
    connect(m_sort, &QComboBox::currentIndexChanged, this, [this] { m_sortChosen = true; });
    filters->addWidget(new QLabel(QStringLiteral("排序"), this), 1, 4);
    filters->addWidget(m_sort, 1, 5);
    outer->addLayout(filters);

    auto *buttons = new QHBoxLayout;
    auto button = [this, buttons](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    connect(button("BitBtn1", QStringLiteral("执行查询")), &QPushButton::clicked, this, &BillLookupForm::runQuery);
    connect(button("BitBtn2", QStringLiteral("明细打印")), &QPushButton::clicked, this, &BillLookupForm::printBill);
    auto *statement = button("BitBtn3", QStringLiteral("打印对账单"));
    statement->setVisible(!m_l.statementTemplate.isEmpty());
    connect(statement, &QPushButton::clicked, this, &BillLookupForm::printStatement);
    m_modify = button("BitBtn4", QStringLiteral("修改"));
    connect(m_modify, &QPushButton::clicked, this, &BillLookupForm::modifyClicked);
    m_audit = button("BitBtn5", QStringLiteral("审核"));
    connect(m_audit, &QPushButton::clicked, this, &BillLookupForm::auditClicked);
    connect(button("BitBtn6", QStringLiteral("退出")), &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch(1);
    outer->addLayout(buttons);

    auto *split = new QSplitter(Qt::Vertical, this);
    m_bills = makeList(QStringLiteral("DBGrid1"), split);
    m_lines = makeList(QStringLiteral("DBGrid2"), split);
    split->addWidget(m_bills);
    split->addWidget(m_lines);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    outer->addWidget(split, 1);
    // The current row, however it was reached, decides the lines shown and the audit caption.
    connect(m_bills, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (row != previous)
            currentChanged();
    });
    // Enter or a double click on a bill hands it over as its own state allows: audit or un-audit.
    connect(m_bills, &QTableWidget::activated, this, [this] {
        if (m_audit->isEnabled())
            auditClicked();
    });
}

QString BillLookupForm::sortColumn() const
{
    const QString chosen = m_sort->currentText().trimmed();
    return m_l.sortColumns.contains(chosen) ? chosen : m_l.defaultSort;
}

QString BillLookupForm::whereClause(QVariantList *values, const QString &qualifier) const
{
    Session &s = Session::current();
    const QString like = likeOperator(s);
    auto pattern = [](const QLineEdit *e) { return QLatin1Char('%') + e->text().trimmed() + QLatin1Char('%'); };
    QString where = QStringLiteral(" where %1%2>=? and %1%2<=?").arg(qualifier, m_l.dateColumn);
    *values << m_from->date().toString(QString::fromLatin1(kDateFormat)) << m_to->date().toString(QString::fromLatin1(kDateFormat));
    for (int i = 0; i < m_l.partnerFilters.size(); ++i) {
        where += QStringLiteral(" and coalesce(%1%2,'') %3 ?").arg(qualifier, m_l.partnerFilters.at(i).column, like);
        *values << pattern(m_partnerEdits.at(i));
    }
    where += QStringLiteral(" and coalesce(%1备注,'') %2 ? and %1单号 %2 ?").arg(qualifier, like);
    *values << pattern(m_remark) << pattern(m_number);
    return where;
}

void BillLookupForm::runQuery()
{
    QVariantList values;
    const QString sql = QStringLiteral("select %1 from %2").arg(m_l.masterColumns.join(QLatin1Char(',')), m_d.masterTable)
        + whereClause(&values) + QStringLiteral(" order by %1,单号").arg(sortColumn());
    m_bills->blockSignals(true);
    try {
        QSqlQuery q = Session::current().run(sql, values);
        fill(m_bills, m_l.masterColumns, q, m_l);
    } catch (const Error &e) {
        m_bills->setRowCount(0);
        Messages::warning(e.message());
    }
    const int flag = int(m_l.masterColumns.indexOf(QStringLiteral("审核标志")));
    for (int r = 0; r < m_bills->rowCount(); ++r) {
        if (m_bills->item(r, flag)->text() != QLatin1String("1"))
            continue;
        for (int c = 0; c < m_bills->columnCount(); ++c) {
            m_bills->item(r, c)->setBackground(QColor(Qt::yellow));
            m_bills->item(r, c)->setForeground(QColor(128, 0, 128));
        }
    }
    if (m_bills->rowCount() > 0)
        m_bills->setCurrentCell(0, 0);
    m_bills->blockSignals(false);
    currentChanged();
}

QString BillLookupForm::currentNumber() const
{
    const int row = m_bills->currentRow();
    if (row < 0 || row >= m_bills->rowCount())
        return {};
    return m_bills->item(row, int(m_l.masterColumns.indexOf(QStringLiteral("单号"))))->text();
}

bool BillLookupForm::currentAudited() const
{
    const int row = m_bills->currentRow();
    if (row < 0 || row >= m_bills->rowCount())
        return false;
    return m_bills->item(row, int(m_l.masterColumns.indexOf(QStringLiteral("审核标志"))))->text() == QLatin1String("1");
}

void BillLookupForm::currentChanged()
{
    const QString number = currentNumber();
    showLines(number);
    const bool audited = currentAudited();
    m_audit->setText(audited ? DocumentForm::kModeUnaudit : DocumentForm::kModeAudit);
    m_audit->setEnabled(!number.isEmpty());
    m_modify->setEnabled(!number.isEmpty() && !audited);
}

void BillLookupForm::showLines(const QString &number)
{
    if (number.isEmpty()) {
        m_lines->setRowCount(0);
        return;
    }
    try {
        QSqlQuery q = Session::current().run(QStringLiteral("select %1 from %2 where 单号=? order by cast(序号 as integer)")
                                                 .arg(m_l.lineColumns.join(QLatin1Char(',')), m_d.lineTable),
                                             {number});
        fill(m_lines, m_l.lineColumns, q, m_l);
    } catch (const Error &e) {
        m_lines->setRowCount(0);
        Messages::warning(e.message());
    }
}

void BillLookupForm::modifyClicked()
{
    if (!m_number->text().trimmed().isEmpty())
        runQuery();
    if (currentAudited()) {
        Messages::info(QStringLiteral("审核单据，不能修改！"));
        return;
    }
    handOver(DocumentForm::kModeAudit);
}

void BillLookupForm::auditClicked()
{
    handOver(currentAudited() ? DocumentForm::kModeUnaudit : DocumentForm::kModeAudit);
}

void BillLookupForm::handOver(const QString &mode)
{
    const QString number = currentNumber();
    QVariant flag;
    try {
        if (!number.isEmpty())
            flag = Session::current().scalar(QStringLiteral("select 审核标志 from %1 where 单号=?").arg(m_d.masterTable), {number});
    } catch (const Error &) {
        flag.clear();
    }
    if (number.isEmpty() || !flag.isValid()) {
        Messages::info(QStringLiteral("当前无单据可修改或审核"));
        emit handOverFailed();
        return;
    }
    // The list may be stale: the stored flag decides.
    const bool audited = flag.toInt() == 1;
    if (mode == DocumentForm::kModeUnaudit && !audited) {
        Messages::info(QStringLiteral("单据[%1]还没有审核，不能反审核!").arg(number));
        runQuery();
        return;
    }
    if (mode == DocumentForm::kModeAudit && audited) {
        Messages::info(QStringLiteral("审核单据，不能修改！"));
        runQuery();
        return;
    }
    emit handedOver(number, mode);
    accept();
}

void BillLookupForm::printBill()
{
    const QString number = currentNumber();
    if (number.isEmpty())
        return;
    report::ReportData data;
    try {
        data = billPrintData(m_d, number);
    } catch (const Error &) {
        return; // printing is best effort
    }
    ShowReportFile(this, m_d.printTemplate, data);
}

void BillLookupForm::printStatement()
{
    if (m_bills->rowCount() == 0 || m_l.statementTemplate.isEmpty())
        return;
    QVariantList values;
    const QString sort = m_sortChosen ? sortColumn() : QStringLiteral("单号");
    const QString sql = QStringLiteral("select %1 from %2").arg(m_l.statementColumns.join(QLatin1Char(',')), m_d.masterTable)
        + whereClause(&values) + QStringLiteral(" order by %1").arg(sort);
    report::ReportData data;
    data.title = m_l.caption;
    report::DataSet rows{QStringLiteral("lines"), m_l.statementColumns, {}};
    try {
        QSqlQuery q = Session::current().run(sql, values);
        while (q.next()) {
            QVariantList row;
            for (int i = 0; i < m_l.statementColumns.size(); ++i)
                row << q.value(i);
            rows.rows.append(row);
        }
    } catch (const Error &) {
        return;
    }
    data.sets.append(rows);
    // The totals of the listed bills.
    report::DataSet totals{QStringLiteral("totals"), {QStringLiteral("金额合计"), QStringLiteral("数量合计")}, {}};
    try {
        QVariantList totalValues;
        QSqlQuery t = Session::current().run(QStringLiteral("select coalesce(sum(金额合计),0),coalesce(sum(数量合计),0) from %1").arg(m_d.masterTable)
                                                 + whereClause(&totalValues),
                                             totalValues);
        if (t.next())
            totals.rows.append({t.value(0).toDouble(), t.value(1).toDouble()});
    } catch (const Error &) {
        return;
    }
    data.sets.append(totals);
    const QString from = m_from->date().toString(QString::fromLatin1(kDateFormat));
    const QString to = m_to->date().toString(QString::fromLatin1(kDateFormat));
    data.values.insert(QStringLiteral("getqsrq"), from);
    data.values.insert(QStringLiteral("getzzrq"), to);
    data.functions.insert(QStringLiteral("getqsrq"), [from](const QStringList &) { return from; });
    data.functions.insert(QStringLiteral("getzzrq"), [to](const QStringList &) { return to; });
    ShowReportFile(this, m_l.statementTemplate, data);
}

} // namespace tavomi
