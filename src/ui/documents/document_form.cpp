#include "ui/documents/document_form.h"

#include "ui/common/report_designer.h"

#include "common/clock.h"
#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"
#include "common/text_utils.h"
#include "ini_file.h"
#include "ui/app/form_registry.h"
#include "ui/common/report_view.h"
#include "ui/documents/bill_forms.h"
#include "ui/documents/bill_grid.h"
#include "ui/documents/bill_print.h"
#include "ui/documents/lookup_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace tavomi {

using docs::Bill;
using docs::BillLine;

const QString DocumentForm::kModeNormal = QStringLiteral("审核1");
const QString DocumentForm::kModeAudit = QStringLiteral("审核");
const QString DocumentForm::kModeUnaudit = QStringLiteral("反审核");

namespace {

const QString kCloseCaption = QStringLiteral("进销存软件");
const QString kNoUnitText = QStringLiteral("此产品没有定义此单位！");
const QString kActiveGoods = QStringLiteral("(淘汰否 is null or 淘汰否<>'是')");

// Where the partner picker looks, by partner kind.
struct PartnerSource
{
    QString table;
    QString codeColumn;
    QString nameColumn;
    QString nameCaption;
    QString codeCaption;
    QStringList moreColumns;  // shown after code and name
    QStringList moreCaptions;
};

PartnerSource partnerSource(docs::PartnerKind kind)
{
    switch (kind) {
    case docs::PartnerKind::Supplier:
        return {QStringLiteral("供应商"), QStringLiteral("编码"), QStringLiteral("公司名"), QStringLiteral("供商名称"), QStringLiteral("供商编号"), {}, {}};
    case docs::PartnerKind::Customer:
    case docs::PartnerKind::WalkIn:
        return {QStringLiteral("客户"), QStringLiteral("编码"), QStringLiteral("公司名"), QStringLiteral("客户名称"), QStringLiteral("客户编码"),
                {QStringLiteral("联系人"), QStringLiteral("电话一")}, {QStringLiteral("联系人"), QStringLiteral("电话")}};
    case docs::PartnerKind::Borrower:
        return {QStringLiteral("借货人表"), QStringLiteral("编码"), QStringLiteral("联系人"), QStringLiteral("借货人"), QStringLiteral("借货人编号"), {}, {}};
    case docs::PartnerKind::None:
        break;
    }
    return {};
}

// A cell as a number: empty is 0; digits with at most one decimal point, nothing else.
bool parseNumber(const QString &text, double *value)
{
    static const QRegularExpression number(QStringLiteral("^[0-9]*\\.?[0-9]*$"));
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        *value = 0;
        return true;
    }
    if (t == QLatin1String(".") || !number.match(t).hasMatch())
        return false;
    bool ok = false;
    *value = t.toDouble(&ok);
    return ok && std::isfinite(*value);
}

QString moneyText(double value)
{
    return QString::number(roundMoney(value), 'f', 2);
}

qint64 cents(double value)
{
    return qint64(std::llround(roundMoney(value) * 100));
}

// The unit names of 换算数: one unit per two bytes of the double-byte encoding, at most three.
QStringList splitUnitNames(const QString &names)
{
    QStringList out;
    QString rest = names.trimmed();
    while (!rest.isEmpty() && out.size() < 3) {
        QString unit = gbkLeft(rest, 2);
        if (unit.isEmpty())
            unit = rest.left(1);
        out << unit;
        rest = rest.mid(unit.size());
    }
    return out;
}

QTableWidgetItem *readOnlyItem(const QString &text)
{
    auto *it = new QTableWidgetItem(text);
    it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return it;
}

} // namespace

const QStringList &DocumentForm::speedButtons()
{
    static const QStringList names = {
        QStringLiteral("TBO6B"),  QStringLiteral("TBO5B"),  QStringLiteral("TBO18C"), QStringLiteral("SBO1BC"),
        QStringLiteral("SBO2BC"), QStringLiteral("TBO19C"), QStringLiteral("TBO16C"), QStringLiteral("TBO1B"),
        QStringLiteral("TBO2B"),  QStringLiteral("TBO3B"),  QStringLiteral("TBO4B"),  QStringLiteral("TBO7B"),
        QStringLiteral("TBO17C"), QStringLiteral("TBO88C"), QStringLiteral("helpbutton"),
    };
    return names;
}

QStringList DocumentForm::enabledButtons(ToolbarEvent event)
{
    // Browsing buttons begin with T, editing buttons with S; a name ending in C needs a shown
    // unaudited bill, one ending in B is always usable.
    const QStringList always = {QStringLiteral("TBO6B"), QStringLiteral("TBO5B"), QStringLiteral("TBO1B"), QStringLiteral("TBO2B"),
                                QStringLiteral("TBO3B"), QStringLiteral("TBO4B"), QStringLiteral("TBO7B")};
    const QStringList editing = {QStringLiteral("SBO1BC"), QStringLiteral("SBO2BC")};
    const QStringList billButtons = {QStringLiteral("TBO18C"), QStringLiteral("TBO19C"), QStringLiteral("TBO16C"),
                                     QStringLiteral("TBO17C"), QStringLiteral("TBO88C")};
    const QString help = QStringLiteral("helpbutton");
    switch (event) {
    case ToolbarEvent::Opened:
    case ToolbarEvent::Closed:
        return always + QStringList{help};
    case ToolbarEvent::NewBill:
        return editing + QStringList{help};
    case ToolbarEvent::Modify:
        return editing;
    case ToolbarEvent::Saved:
    case ToolbarEvent::Loaded:
        return always + billButtons + QStringList{help};
    }
    return {};
}

DocumentForm::DocumentForm(const docs::BillDescriptor &descriptor, QWidget *parent)
    : QDialog(parent)
    , m_d(descriptor)
    , m_store(Session::current(), descriptor)
    , m_viewMode(kModeNormal)
{
    setObjectName(m_d.formName);
    setWindowTitle(m_d.caption);
    buildUi();
    readSettings();

    // Opening: no bill shown until the user starts one or navigates.
    m_grid->setTitles(m_d.gridTitles);
    m_grid->clearLines();
    m_grid->setEditing(false);
    setHeaderEnabled(false);
    applyToolbar(ToolbarEvent::Opened);
    button(QStringLiteral("TBO88C"))->hide();
    reopenList();
}

DocumentForm::~DocumentForm() = default;

bool DocumentForm::isEditing() const
{
    return button(QStringLiteral("SBO1BC"))->isEnabled();
}

QToolButton *DocumentForm::button(const QString &name) const
{
    return findChild<QToolButton *>(name);
}

void DocumentForm::buildUi()
{
    resize(960, 620);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(4);

    auto *bar = new QWidget(this);
    buildToolbar(bar);
    outer->addWidget(bar);

    auto *title = new QHBoxLayout;
    m_heading = new QLabel(m_d.heading, this);
    m_heading->setObjectName(QStringLiteral("Label_heading"));
    QFont headingFont = m_heading->font();
    headingFont.setPointSize(headingFont.pointSize() + 6);
    headingFont.setBold(true);
    m_heading->setFont(headingFont);
    m_numberLabel = new QLabel(QStringLiteral("NO："), this);
    m_numberLabel->setObjectName(QStringLiteral("Label_no"));
    QFont numberFont = m_numberLabel->font();
    numberFont.setBold(true);
    m_numberLabel->setFont(numberFont);
    m_numberLabel->setStyleSheet(QStringLiteral("color: rgb(200,0,0);"));
    title->addStretch(1);
    title->addWidget(m_heading);
    title->addStretch(1);
    title->addWidget(m_numberLabel);
    outer->addLayout(title);

    auto edit = [this](const char *name, bool readOnly = false) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setReadOnly(readOnly);
        return e;
    };
    const PartnerSource partner = partnerSource(m_d.partner);
    m_partnerName = edit("Edit3");
    m_partnerCode = edit("Edit4", true);
    m_orderNumber = edit("Edit1");
    m_invoice = edit("Edit5");
    m_extra = edit("Edit14");
    m_total = edit("Edit7", true);
    m_auditState = edit("Edit8", true);
    m_date = edit("Edit9", true);
    m_time = edit("Edit10", true);
    m_operator = edit("Edit11", true);
    m_writeOff = edit("Edit2");
    m_quantityTotal = edit("Edit6", true);
    m_summary = new QComboBox(this);
    m_summary->setObjectName(QStringLiteral("ComboBox4"));
    m_summary->setEditable(true);
    m_summary->addItems(m_d.summaryItems);
    m_place = new QComboBox(this);
    m_place->setObjectName(QStringLiteral("ComboBox3"));
    m_remark = new QComboBox(this);
    m_remark->setObjectName(QStringLiteral("ComboBox5"));
    m_account = new QComboBox(this);
    m_account->setObjectName(QStringLiteral("ComboBox2"));
    for (QWidget *hidden : {static_cast<QWidget *>(m_place), static_cast<QWidget *>(m_remark), static_cast<QWidget *>(m_account),
                            static_cast<QWidget *>(m_writeOff), static_cast<QWidget *>(m_quantityTotal)})
        hidden->hide();
    m_findPartner = new QPushButton(m_d.partner == docs::PartnerKind::Customer ? QStringLiteral("查找客户") : QStringLiteral("查找供应商"), this);
    m_findPartner->setObjectName(QStringLiteral("BitBtn1"));
    m_findPartner->setAutoDefault(false);
    m_findPartner->setFocusPolicy(Qt::NoFocus);
    connect(m_findPartner, &QPushButton::clicked, this, [this] {
        // The browser writes the partner it takes into the name and code fields.
        const QString before = m_partnerCode->text();
        FormRegistry::open(partnerPickerForm(), this);
        if (!m_partnerCode->text().trimmed().isEmpty() && m_partnerCode->text() != before)
            partnerTaken();
    });

    auto *header = new QGridLayout;
    m_header = header;
    header->setHorizontalSpacing(6);
    header->setVerticalSpacing(4);
    auto label = [this](const QString &text) { return new QLabel(text, this); };
    header->addWidget(label(partner.nameCaption), 0, 0);
    auto *partnerBox = new QHBoxLayout;
    partnerBox->addWidget(m_partnerName, 1);
    partnerBox->addWidget(m_findPartner);
    header->addLayout(partnerBox, 0, 1);
    header->addWidget(label(partner.codeCaption), 0, 2);
    header->addWidget(m_partnerCode, 0, 3);
    auto *orderLabel = label(m_d.orderFieldCaption);
    header->addWidget(orderLabel, 0, 4);
    header->addWidget(m_orderNumber, 0, 5);
    header->addWidget(label(QStringLiteral("发票号码")), 1, 0);
    header->addWidget(m_invoice, 1, 1);
    header->addWidget(label(m_d.summaryCaption.isEmpty() ? QStringLiteral("摘   要") : m_d.summaryCaption), 1, 2);
    header->addWidget(m_summary, 1, 3);
    header->addWidget(label(QStringLiteral("附加说明")), 1, 4);
    header->addWidget(m_extra, 1, 5);
    header->setColumnStretch(1, 3);
    header->setColumnStretch(3, 2);
    header->setColumnStretch(5, 2);
    outer->addLayout(header);
    if (m_d.orderFieldCaption.isEmpty()) {
        orderLabel->hide();
        m_orderNumber->hide();
    }
    if (m_d.partner == docs::PartnerKind::None) {
        for (int c = 0; c < 4; ++c)
            if (QLayoutItem *item = header->itemAtPosition(0, c)) {
                if (item->widget())
                    item->widget()->hide();
            }
        m_partnerName->hide();
        m_partnerCode->hide();
        m_findPartner->hide();
    }

    m_grid = new BillGrid(this);
    m_grid->setKeyHandler([this](QKeyEvent *e, bool inEditor) { return gridKey(e, inEditor); });
    connect(m_grid, &QTableWidget::currentCellChanged, this, &DocumentForm::cellEntered);
    connect(m_grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (m_updating || !m_grid->editing())
            return;
        const int c = item->column();
        if (c == BillGrid::Quantity || c == BillGrid::Discount || c == BillGrid::Price)
            recompute();
    });
    connect(m_grid, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (!m_grid->editing())
            return;
        if (column == BillGrid::Warehouse)
            showWarehousePicker(row);
    });
    outer->addWidget(m_grid, 1);

    auto *footer = new QHBoxLayout;
    footer->addWidget(label(QStringLiteral("总额")));
    m_total->setMaximumWidth(120);
    m_total->setAlignment(Qt::AlignRight);
    m_total->setStyleSheet(QStringLiteral("color: rgb(200,0,0); font-weight: bold;"));
    footer->addWidget(m_total);
    footer->addWidget(label(QStringLiteral("审核")));
    m_auditState->setMaximumWidth(70);
    footer->addWidget(m_auditState);
    footer->addWidget(label(QStringLiteral("日期")));
    m_date->setMaximumWidth(100);
    footer->addWidget(m_date);
    footer->addWidget(label(QStringLiteral("时间")));
    m_time->setMaximumWidth(80);
    footer->addWidget(m_time);
    footer->addWidget(label(QStringLiteral("操作")));
    m_operator->setMaximumWidth(100);
    footer->addWidget(m_operator);
    footer->addStretch(1);
    m_inputHelp = new QCheckBox(QStringLiteral("输入帮助"), this);
    m_inputHelp->setObjectName(QStringLiteral("CheckBox1"));
    m_inputHelp->setFocusPolicy(Qt::NoFocus);
    footer->addWidget(m_inputHelp);
    m_priceChange = new QCheckBox(QStringLiteral("进价更改"), this);
    m_priceChange->setObjectName(QStringLiteral("CheckBox2"));
    m_priceChange->setChecked(true);
    m_priceChange->hide();
    connect(m_priceChange, &QCheckBox::toggled, this, [this](bool on) { m_grid->setPriceEditable(on); });
    outer->addLayout(footer);

    m_inputHelpPanel = new QLabel(QStringLiteral("点击[新增]开始输入"), m_grid->viewport());
    m_inputHelpPanel->setObjectName(QStringLiteral("Panel_help"));
    m_inputHelpPanel->setStyleSheet(QStringLiteral("background: rgb(255,255,225); border: 1px solid gray; padding: 6px;"));
    m_inputHelpPanel->adjustSize();
    m_inputHelpPanel->move(40, 40);
    m_inputHelpPanel->hide();
    connect(m_inputHelp, &QCheckBox::toggled, m_inputHelpPanel, &QWidget::setVisible);

    // Pickers and helpers that float over the grid, level with the current row.
    m_findGoods = new QPushButton(QStringLiteral("查找产品"), m_grid->viewport());
    m_findGoods->setObjectName(QStringLiteral("BitBtn2"));
    m_findGoods->setAutoDefault(false);
    m_findGoods->setFocusPolicy(Qt::NoFocus);
    m_findGoods->hide();
    connect(m_findGoods, &QPushButton::clicked, this, [this] {
        openGoodsPicker(m_grid->text(m_grid->currentRow(), BillGrid::Code).trimmed());
    });

    m_unitHint = new QLabel(m_grid->viewport());
    m_unitHint->setObjectName(QStringLiteral("Panel6"));
    m_unitHint->setStyleSheet(QStringLiteral("background: rgb(255,255,192); border: 1px solid rgb(128,128,0); padding: 1px 4px;"));
    m_unitHint->hide();
    m_unitHint->installEventFilter(this);

    m_warehouses = new QListWidget(m_grid->viewport());
    m_warehouses->setObjectName(QStringLiteral("Panel10"));
    m_warehouses->hide();
    m_warehouses->installEventFilter(this);
    connect(m_warehouses, &QListWidget::itemClicked, this, [this] { takeWarehouse(false); });

    m_partnerPanel = new QFrame(this);
    m_partnerPanel->setObjectName(QStringLiteral("Panel2"));
    m_partnerPanel->setFrameShape(QFrame::Box);
    auto *partnerLayout = new QVBoxLayout(m_partnerPanel);
    partnerLayout->setContentsMargins(1, 1, 1, 1);
    m_partnerList = new QTableWidget(0, 2 + int(partner.moreColumns.size()), m_partnerPanel);
    m_partnerList->setObjectName(QStringLiteral("DBGrid1"));
    m_partnerList->setHorizontalHeaderLabels(QStringList{QStringLiteral("编码"), partner.nameColumn} + partner.moreCaptions);
    m_partnerList->verticalHeader()->hide();
    m_partnerList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_partnerList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_partnerList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_partnerList->horizontalHeader()->setStretchLastSection(true);
    m_partnerList->installEventFilter(this);
    connect(m_partnerList, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { takePartner(row); });
    partnerLayout->addWidget(m_partnerList);
    m_partnerPanel->hide();
    m_partnerName->installEventFilter(this);
    connect(m_partnerName, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (isEditing())
            searchPartners(text);
    });

    buildGoodsPicker();

    for (QWidget *w : {static_cast<QWidget *>(m_orderNumber), static_cast<QWidget *>(m_invoice),
                       static_cast<QWidget *>(m_summary), static_cast<QWidget *>(m_extra)})
        w->installEventFilter(this);
    setTabOrder(m_partnerName, m_orderNumber);
    setTabOrder(m_orderNumber, m_invoice);
    setTabOrder(m_invoice, m_summary);
    setTabOrder(m_summary, m_extra);
    setTabOrder(m_extra, m_grid);
}

void DocumentForm::buildToolbar(QWidget *bar)
{
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    struct ButtonDef
    {
        const char *name;
        QString text;
        QString hint;
        QKeySequence key;
        void (DocumentForm::*command)();
    };
    const QList<ButtonDef> buttons = {
        {"TBO6B", QStringLiteral("退出"), QStringLiteral("退出管理"), QKeySequence(), nullptr},
        {"TBO5B", QStringLiteral("新增"), QStringLiteral("新增单据"), QKeySequence(Qt::Key_F2), &DocumentForm::newBill},
        {"TBO18C", QStringLiteral("修改"), QStringLiteral("修改单据"), QKeySequence(Qt::Key_F4), &DocumentForm::modifyBill},
        {"SBO1BC", QStringLiteral("保存"), QStringLiteral("保存单据"), QKeySequence(Qt::Key_F6), nullptr},
        {"SBO2BC", QStringLiteral("放弃"), QStringLiteral("放弃此单据"), QKeySequence(Qt::Key_F7), &DocumentForm::discardBill},
        {"TBO19C", QStringLiteral("删除"), QStringLiteral("删除当前单据"), QKeySequence(Qt::CTRL | Qt::Key_Delete), &DocumentForm::deleteBill},
        {"TBO16C", QStringLiteral("打印"), QStringLiteral("打印预览单据"), QKeySequence(Qt::CTRL | Qt::Key_P), &DocumentForm::printBill},
        {"TBO1B", QStringLiteral("首张"), QStringLiteral("首张未审核单"), QKeySequence(Qt::CTRL | Qt::Key_Home), &DocumentForm::firstBill},
        {"TBO2B", QStringLiteral("上张"), QStringLiteral("上一张未审核单"), QKeySequence(Qt::CTRL | Qt::Key_PageUp), &DocumentForm::priorBill},
        {"TBO3B", QStringLiteral("下张"), QStringLiteral("下一张未审核单"), QKeySequence(Qt::CTRL | Qt::Key_PageDown), &DocumentForm::nextBill},
        {"TBO4B", QStringLiteral("末张"), QStringLiteral("最后一张未审核单"), QKeySequence(Qt::CTRL | Qt::Key_End), &DocumentForm::lastBill},
        {"TBO7B", QStringLiteral("查找"), m_d.lookupHint, QKeySequence(Qt::Key_F5), &DocumentForm::openLookup},
        {"TBO17C", QStringLiteral("审核"), QStringLiteral("审核单据"), QKeySequence(Qt::Key_F9), &DocumentForm::auditBill},
        {"TBO88C", QStringLiteral("反审核"), QStringLiteral("反审核单据"), QKeySequence(Qt::Key_F11), &DocumentForm::unauditBill},
        {"helpbutton", QStringLiteral("帮助"), QStringLiteral("帮助"), QKeySequence(Qt::Key_F1), &DocumentForm::showHelp},
    };
    for (const ButtonDef &s : buttons) {
        auto *b = new QToolButton(bar);
        b->setObjectName(QString::fromLatin1(s.name));
        b->setText(s.text);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumWidth(52);
        QString tip = s.hint;
        if (!s.key.isEmpty()) {
            b->setShortcut(s.key);
            tip += QStringLiteral(" (") + s.key.toString(QKeySequence::NativeText) + QLatin1Char(')');
        }
        b->setToolTip(tip);
        if (s.command) {
            const auto command = s.command;
            connect(b, &QToolButton::clicked, this, [this, command] { (this->*command)(); });
        }
        row->addWidget(b);
    }
    connect(button(QStringLiteral("TBO6B")), &QToolButton::clicked, this, &DocumentForm::reject);
    auto *save = button(QStringLiteral("SBO1BC"));
    connect(save, &QToolButton::clicked, this, [this] { saveBill(); });
    auto *saveKey = new QAction(this);
    saveKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(saveKey, &QAction::triggered, this, [this] {
        if (isEditing())
            saveBill();
    });
    addAction(saveKey);

    // Report design entry.
    auto *design = new QToolButton(bar);
    design->setObjectName(QStringLiteral("Label_design"));
    design->setText(QStringLiteral("▲"));
    design->setAutoRaise(true);
    design->setFocusPolicy(Qt::NoFocus);
    design->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(design);
    menu->addAction(QStringLiteral("设计打印报表"), this, [this] {
        // The designer previews on the bill on screen when it is saved, else on an empty bill.
        report::ReportData data;
        if (!m_number.isEmpty() && docs::BillStore(Session::current(), m_d).exists(m_number))
            data = printData(m_number);
        DesignReportFile(this, m_d.printTemplate, data);
    });
    design->setMenu(menu);
    row->addStretch(1);
    row->addWidget(design);
}

void DocumentForm::buildGoodsPicker()
{
    m_goodsPanel = new QFrame(this);
    m_goodsPanel->setObjectName(QStringLiteral("Panel4"));
    m_goodsPanel->setFrameShape(QFrame::Panel);
    m_goodsPanel->setFrameShadow(QFrame::Raised);
    m_goodsPanel->setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(m_goodsPanel);
    layout->setContentsMargins(4, 4, 4, 4);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("查找商品"), m_goodsPanel));
    m_goodsSearch = new QLineEdit(m_goodsPanel);
    m_goodsSearch->setObjectName(QStringLiteral("Edit12"));
    m_goodsSearch->installEventFilter(this);
    connect(m_goodsSearch, &QLineEdit::textEdited, this, &DocumentForm::searchPickerGoods);
    top->addWidget(m_goodsSearch, 1);
    auto *find = new QPushButton(QStringLiteral("开始查找"), m_goodsPanel);
    find->setObjectName(QStringLiteral("BitBtn3"));
    find->setAutoDefault(false);
    connect(find, &QPushButton::clicked, this, [this] {
        searchPickerGoods(m_goodsSearch->text());
        m_goodsList->setFocus();
    });
    top->addWidget(find);
    auto *import = new QPushButton(QStringLiteral("<<导入商品"), m_goodsPanel);
    import->setObjectName(QStringLiteral("LbSpeedButton2"));
    import->setAutoDefault(false);
    import->setToolTip(QStringLiteral("按住Ctrl点选(或按空格勾选)多个商品后导入 (Insert)"));
    connect(import, &QPushButton::clicked, this, &DocumentForm::importPickedGoods);
    top->addWidget(import);
    layout->addLayout(top);
    m_goodsMore = new QLabel(QStringLiteral("只列出前%1种商品,请输入更多字符缩小查找范围").arg(kPickerRows), m_goodsPanel);
    m_goodsMore->setObjectName(QStringLiteral("goodsMore"));
    m_goodsMore->hide();
    layout->addWidget(m_goodsMore);
    m_goodsList = new QTableWidget(0, 8, m_goodsPanel);
    m_goodsList->setObjectName(QStringLiteral("DBGrid2"));
    m_goodsList->setHorizontalHeaderLabels({QStringLiteral("选"), QStringLiteral("编码"), QStringLiteral("条码"), QStringLiteral("品名"),
                                            QStringLiteral("批价"), QStringLiteral("售价"), QStringLiteral("单位"), QStringLiteral("进价")});
    m_goodsList->verticalHeader()->hide();
    m_goodsList->setColumnWidth(0, 26);
    m_goodsList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_goodsList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_goodsList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_goodsList->horizontalHeader()->setStretchLastSection(true);
    m_goodsList->installEventFilter(this);
    m_goodsList->viewport()->installEventFilter(this);
    connect(m_goodsList, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { takePickedGoods(row); });
    layout->addWidget(m_goodsList, 1);
    m_goodsPanel->hide();
}

void DocumentForm::readSettings()
{
    const QString format = IniFile::read(kBdchangeIni, QStringLiteral("小数点位数"), QStringLiteral("0.00")).trimmed();
    const int dot = format.indexOf(QLatin1Char('.'));
    m_priceDecimals = dot < 0 ? 0 : int(format.size() - dot - 1);
    m_priceDecimals = std::clamp(m_priceDecimals, 0, 6);

    Session &s = Session::current();
    try {
        QSqlQuery q = s.run(QStringLiteral("select 货位名称 from 货位 order by 货位名称"));
        while (q.next())
            m_warehouses->addItem(q.value(0).toString());
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
    if (!m_d.defaultWarehouseKey.isEmpty()) {
        const QString name = IniFile::read(kBdchangeIni, m_d.defaultWarehouseKey, QStringLiteral("0")).trimmed();
        const QList<QListWidgetItem *> found = m_warehouses->findItems(name, Qt::MatchExactly);
        if (!found.isEmpty())
            m_warehouses->setCurrentItem(found.first());
    }
    if (m_warehouses->currentRow() < 0)
        m_warehouses->setCurrentRow(-1);
    try {
        QSqlQuery q = s.run(QStringLiteral("select 科目名称 from 银行账户 order by 科目名称"));
        m_account->addItem(QString());
        while (q.next())
            m_account->addItem(q.value(0).toString());
    } catch (const Error &) {
        // The account list is optional.
    }
}

void DocumentForm::applyToolbar(ToolbarEvent event)
{
    const QStringList on = enabledButtons(event);
    for (const QString &name : speedButtons())
        if (QToolButton *b = button(name))
            b->setEnabled(on.contains(name));
    if (!hasBillLookup(m_d.lookupForm))
        button(QStringLiteral("TBO7B"))->setEnabled(false);
    // Un-audit exists only for a bill the lookup handed over for it.
    if (m_viewMode != kModeUnaudit)
        button(QStringLiteral("TBO88C"))->setEnabled(false);
}

void DocumentForm::setHeaderEnabled(bool on)
{
    for (QWidget *w : {static_cast<QWidget *>(m_partnerName), static_cast<QWidget *>(m_orderNumber), static_cast<QWidget *>(m_invoice),
                       static_cast<QWidget *>(m_summary), static_cast<QWidget *>(m_extra)})
        w->setEnabled(on);
    m_findPartner->setEnabled(on && FormRegistry::contains(partnerPickerForm()));
    memberEnabled(on);
}

QString DocumentForm::partnerPickerForm() const
{
    return m_d.partner == docs::PartnerKind::Customer ? QStringLiteral("Tfrm_check_khzl") : QStringLiteral("Tfrm_gyshz_check");
}

void DocumentForm::memberEnabled(bool)
{
}

void DocumentForm::memberToBill(docs::BillHeader &) const
{
}

void DocumentForm::memberFromBill(const docs::BillHeader &)
{
}

QString DocumentForm::defaultDiscount() const
{
    return QStringLiteral("1.00");
}

bool DocumentForm::checkLine(int)
{
    return true;
}

bool DocumentForm::checkBeforeSave(const docs::Bill &)
{
    return true;
}

void DocumentForm::clearHeader()
{
    m_orderNumber->clear();
    m_invoice->clear();
    m_partnerName->clear();
    m_partnerCode->clear();
    m_extra->clear();
    m_summary->setCurrentIndex(m_d.summaryItems.isEmpty() ? -1 : 0);
    if (m_d.summaryItems.isEmpty())
        m_summary->setEditText(QString());
    m_total->setText(QStringLiteral("0"));
    m_quantityTotal->setText(QStringLiteral("0"));
    m_writeOff->setText(QStringLiteral("0"));
    memberCleared();
}

// ---------------------------------------------------------------- commands

void DocumentForm::newBill()
{
    hidePickers();
    clearHeader();
    m_auditState->setText(QStringLiteral("未审核"));
    m_operator->setText(LoginIdentity::current().userName);
    m_date->setText(Clock::today());
    m_time->setText(Clock::timeText());
    try {
        m_number = m_store.newNumber();
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }
    m_numberLabel->setText(QStringLiteral("NO：") + m_number);
    m_modify = false;
    applyToolbar(ToolbarEvent::NewBill);
    setHeaderEnabled(true);
    m_rows.clear();
    m_grid->clearLines();
    m_grid->setEditing(true);
    button(QStringLiteral("TBO17C"))->show();
    button(QStringLiteral("TBO88C"))->hide();
    reopenList();
    if (m_partnerName->isVisible() || m_d.partner != docs::PartnerKind::None)
        m_partnerName->setFocus();
    else
        m_grid->setFocus();
}

void DocumentForm::modifyBill()
{
    if (m_number.isEmpty())
        return;
    m_modify = true;
    applyToolbar(ToolbarEvent::Modify);
    m_inputHelp->setChecked(false);
    m_inputHelpPanel->hide();
    if (!loadBill(m_number)) {
        discardBill();
        return;
    }
    applyToolbar(ToolbarEvent::Modify);
    setHeaderEnabled(true);
    m_grid->setEditing(true);
    if (m_total->text().isEmpty())
        m_total->setText(QStringLiteral("0"));
    if (m_quantityTotal->text().isEmpty())
        m_quantityTotal->setText(QStringLiteral("0"));
    const int last = m_grid->rowCount() - 1;
    const QString lastCode = m_grid->text(last, BillGrid::Code).trimmed();
    if (!lastCode.isEmpty() && lastCode != QLatin1String("0")) {
        if (m_grid->rowCount() <= 12)
            moveTo(m_grid->appendLine(), BillGrid::Code);
        else
            moveTo(last, BillGrid::Code);
    }
    m_date->setText(Clock::today());
    m_time->setText(Clock::timeText());
    m_grid->setFocus();
}

Bill DocumentForm::billFromForm(bool *ok)
{
    *ok = false;
    Bill b;
    docs::BillHeader &h = b.header;
    double writeOff = 0;
    if (!parseNumber(m_writeOff->text(), &writeOff)) {
        Messages::warning(QStringLiteral("去零头金额不正确!"));
        return b;
    }
    h.number = m_number;
    h.orderNumber = m_orderNumber->text();
    h.place = m_place->currentText();
    h.remark = m_remark->currentText();
    h.partnerCode = m_partnerCode->text();
    h.partnerName = m_partnerName->text();
    h.summary = m_summary->currentText();
    h.account = m_account->currentText();
    h.writeOff = writeOff;
    h.invoiceNumber = m_invoice->text();
    h.extra = m_extra->text();
    h.date = m_date->text();
    h.time = m_time->text();
    h.operatorName = m_operator->text();
    memberToBill(h);
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        const QString code = m_grid->text(r, BillGrid::Code).trimmed();
        if (code.isEmpty() || code == QLatin1String("0"))
            continue;
        BillLine line;
        QString bad;
        if (!lineNumbers(r, &line.quantity, &line.discount, &line.price, &bad)) {
            Messages::warning(QStringLiteral("第%1行的[%2]不是正确的数字!").arg(r + 1).arg(bad));
            moveTo(r, m_d.gridTitles.indexOf(bad) + 1);
            return b;
        }
        line.row = r + 1;
        line.code = code;
        line.unit = m_grid->text(r, BillGrid::Unit).trimmed();
        line.warehouse = m_grid->text(r, BillGrid::Warehouse).trimmed();
        line.name = m_grid->text(r, BillGrid::Name);
        if (m_grid->hasNoteColumn())
            line.note = m_grid->text(r, BillGrid::Note);
        b.lines.append(line);
    }
    *ok = true;
    return b;
}

bool DocumentForm::lineNumbers(int row, double *quantity, double *discount, double *price, QString *badColumn) const
{
    const struct
    {
        int column;
        double *value;
    } cells[] = {{BillGrid::Quantity, quantity}, {BillGrid::Discount, discount}, {BillGrid::Price, price}};
    for (const auto &c : cells) {
        if (!parseNumber(m_grid->text(row, c.column), c.value)) {
            *badColumn = m_d.gridTitles.value(c.column - 1);
            return false;
        }
    }
    return true;
}

bool DocumentForm::saveBill()
{
    m_grid->commitOpenEditor();
    if (!isEditing())
        return false;
    if (m_writeOff->text().trimmed().isEmpty())
        m_writeOff->setText(QStringLiteral("0"));
    if (m_d.partnerRequired && (m_partnerName->text().trimmed().isEmpty() || m_partnerCode->text().trimmed().isEmpty())) {
        Messages::info(m_d.partnerMissingText);
        m_partnerName->setFocus();
        return false;
    }
    bool ok = false;
    Bill b = billFromForm(&ok);
    if (!ok)
        return false;
    recompute();
    if (!checkBeforeSave(b))
        return false;
    docs::BillStore::SaveResult result;
    try {
        result = m_store.save(b, m_modify);
    } catch (const Error &e) {
        Messages::warning(e.message());
        return false;
    }
    // Lines that were not saved (no such active goods) show as dropped.
    QSet<int> kept;
    for (const BillLine &line : b.lines)
        kept.insert(line.row);
    m_updating = true;
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        const QString code = m_grid->text(r, BillGrid::Code).trimmed();
        if (code.isEmpty() || code == QLatin1String("0") || kept.contains(r + 1))
            continue;
        for (int c = BillGrid::Code; c < BillGrid::kColumns; ++c)
            m_grid->setText(r, c, QStringLiteral("0"));
        m_rows.remove(r);
    }
    m_updating = false;
    recompute();
    m_number = result.number;
    m_numberLabel->setText(QStringLiteral("NO：") + m_number);
    m_modify = false;
    hidePickers();
    m_grid->setEditing(false);
    applyToolbar(ToolbarEvent::Saved);
    setHeaderEnabled(false);
    reopenList();
    m_listPos = m_list.indexOf(m_number);
    if (m_listPos < 0)
        m_listPos = int(m_list.size()) - 1;
    if (result.discarded)
        discardBill();
    return true;
}

void DocumentForm::discardBill()
{
    hidePickers();
    m_grid->setEditing(false);
    m_numberLabel->setText(QStringLiteral("NO："));
    m_number.clear();
    m_modify = false;
    setHeaderEnabled(false);
    applyToolbar(ToolbarEvent::Closed);
}

void DocumentForm::deleteBill()
{
    if (m_number.isEmpty())
        return;
    if (!Messages::question(kCloseCaption, QStringLiteral("确定要删除本单据吗？")))
        return;
    try {
        m_store.remove(m_number);
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }
    Messages::info(QStringLiteral("删除成功!"));
    reopenList();
    lastBill();
}

void DocumentForm::reopenList()
{
    if (m_viewMode == kModeAudit || m_viewMode == kModeUnaudit)
        m_viewMode = kModeNormal;
    try {
        m_list = m_store.unauditedNumbers();
    } catch (const Error &e) {
        m_list.clear();
        Messages::warning(e.message());
    }
    m_listPos = m_list.isEmpty() ? -1 : 0;
}

void DocumentForm::showListBill(int position)
{
    hidePickers();
    if (m_list.isEmpty()) {
        m_listPos = -1;
        applyToolbar(ToolbarEvent::Closed);
        button(QStringLiteral("TBO16C"))->setEnabled(false);
        return;
    }
    m_listPos = std::clamp(position, 0, int(m_list.size()) - 1);
    loadBill(m_list.at(m_listPos));
}

void DocumentForm::firstBill()
{
    showListBill(0);
}

void DocumentForm::priorBill()
{
    showListBill(m_listPos - 1);
}

void DocumentForm::nextBill()
{
    showListBill(m_listPos + 1);
}

void DocumentForm::lastBill()
{
    showListBill(int(m_list.size()) - 1);
}

void DocumentForm::showBill(const Bill &b)
{
    const docs::BillHeader &h = b.header;
    m_updating = true;
    m_number = h.number;
    m_numberLabel->setText(QStringLiteral("NO：") + m_number);
    m_orderNumber->setText(h.orderNumber);
    m_place->setEditText(h.place);
    m_remark->setEditText(h.remark);
    m_partnerCode->setText(h.partnerCode);
    m_partnerName->setText(h.partnerName);
    m_summary->setEditText(h.summary);
    m_account->setCurrentText(h.account);
    m_writeOff->setText(numberText(h.writeOff));
    m_invoice->setText(h.invoiceNumber);
    m_extra->setText(h.extra);
    m_quantityTotal->setText(QStringLiteral("0"));
    m_total->setText(moneyText(h.total));
    m_auditState->setText(h.audited == 1 ? QStringLiteral("已审核") : QStringLiteral("未审核"));
    m_date->setText(h.date);
    m_time->setText(h.time.left(8));
    m_operator->setText(h.operatorName);
    memberFromBill(h);

    m_rows.clear();
    m_grid->clearLines();
    for (int i = 0; i < b.lines.size(); ++i) {
        const BillLine &line = b.lines.at(i);
        const int r = i == 0 ? 0 : m_grid->appendLine();
        m_grid->setText(r, BillGrid::Code, line.code);
        m_grid->setText(r, BillGrid::Unit, line.unit);
        m_grid->setText(r, BillGrid::Quantity, numberText(line.quantity));
        m_grid->setText(r, BillGrid::Warehouse, line.warehouse);
        m_grid->setText(r, BillGrid::Discount, moneyText(line.discount));
        m_grid->setText(r, BillGrid::Price, priceText(line.price));
        m_grid->setText(r, BillGrid::Amount, moneyText(line.amount));
        m_grid->setText(r, BillGrid::Name, line.name);
        if (m_grid->hasNoteColumn())
            m_grid->setText(r, BillGrid::Note, line.note);
    }
    m_updating = false;
    recompute();
}

bool DocumentForm::loadBill(const QString &number)
{
    hidePickers();
    m_grid->setEditing(false);
    Bill b;
    try {
        b = m_store.load(number);
    } catch (const Error &e) {
        // Nothing of a bill that did not load may be modified or audited.
        Messages::warning(e.message());
        m_total->clear();
        m_quantityTotal->clear();
        applyToolbar(ToolbarEvent::Loaded);
        for (const char *name : {"TBO18C", "TBO17C", "TBO19C", "TBO16C", "TBO88C"})
            button(QString::fromLatin1(name))->setEnabled(false);
        return false;
    }
    showBill(b);
    setHeaderEnabled(false);
    applyToolbar(ToolbarEvent::Loaded);
    if (b.header.audited == 1) {
        // An audited bill is only shown; the lookup form reprints it.
        for (const char *name : {"TBO18C", "TBO19C", "TBO17C", "TBO16C"})
            button(QString::fromLatin1(name))->setEnabled(false);
    }
    m_grid->setCurrentCell(0, BillGrid::Code);
    return true;
}

void DocumentForm::locate(const QString &number, const QString &mode)
{
    if (isEditing()) {
        Messages::info(QStringLiteral("请先保存或放弃正在录入的单据!"));
        return;
    }
    m_viewMode = mode;
    m_list = {number};
    m_listPos = 0;
    const bool unaudit = mode == kModeUnaudit;
    button(QStringLiteral("TBO17C"))->setVisible(!unaudit);
    button(QStringLiteral("TBO88C"))->setVisible(unaudit);
    if (!loadBill(number))
        return;
    checkLocatedFlag();
}

void DocumentForm::checkLocatedFlag()
{
    // The handed-over mode must agree with the stored flag: only an audited bill is un-audited
    // and only an unaudited one audited.
    const bool audited = m_auditState->text() == QStringLiteral("已审核");
    if (m_viewMode == kModeUnaudit) {
        for (const char *name : {"TBO18C", "TBO19C", "TBO16C", "TBO17C"})
            button(QString::fromLatin1(name))->setEnabled(false);
        button(QStringLiteral("TBO88C"))->setEnabled(audited);
        if (!audited)
            Messages::warning(QStringLiteral("单据[%1]还没有审核，不能反审核!").arg(m_number));
    } else if (audited) {
        Messages::warning(QStringLiteral("审核单据，不能修改！"));
    }
}

void DocumentForm::auditBill()
{
    if (m_number.isEmpty())
        return;
    if (!hasRight(Session::current(), QStringLiteral("审核单据"))) {
        Messages::warning(kNoRightText);
        return;
    }
    if (m_writeOff->text().trimmed().isEmpty())
        m_writeOff->setText(QStringLiteral("0"));
    const QString first = m_grid->text(0, BillGrid::Code).trimmed();
    if ((m_grid->rowCount() == 1 && first.isEmpty()) || first == QLatin1String("0")) {
        Messages::info(QStringLiteral("没有记录可审核!"));
        return;
    }
    if (!m_d.auditConfirmText.isEmpty() && !Messages::question(QStringLiteral("单据审核"), m_d.auditConfirmText))
        return;
    QString message;
    try {
        message = m_store.audit(m_number);
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }
    Messages::info(message);
    m_auditState->setText(QStringLiteral("已审核"));
    m_date->setText(Clock::today());
    applyToolbar(ToolbarEvent::Closed);
    button(QStringLiteral("TBO16C"))->setEnabled(false);
    reopenList();
}

void DocumentForm::unauditBill()
{
    if (m_viewMode != kModeUnaudit || m_number.isEmpty())
        return;
    try {
        m_store.checkUnaudit(m_number);
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }
    const bool receivable = m_d.money == docs::MoneyStep::Receivable || m_d.money == docs::MoneyStep::NegativeReceivable
        || m_d.money == docs::MoneyStep::SettledReceivable;
    const QString question = receivable ? QStringLiteral("真的要反审单据吗？(如果存在相应的应收款也会被同时删除)")
                                        : QStringLiteral("真的要反审单据吗？(如果存在相应的应付款也会被同时删除)");
    if (!Messages::question(QStringLiteral("单据反审"), question))
        return;
    try {
        m_store.unaudit(m_number);
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }
    Messages::info(QStringLiteral("反审核成功!"));
    done(QDialog::Accepted);
}

void DocumentForm::openLookup()
{
    BillLookupForm *lookup = createBillLookup(m_d.lookupForm, this);
    if (!lookup)
        return;
    lookup->setAttribute(Qt::WA_DeleteOnClose);
    connect(lookup, &BillLookupForm::handedOver, this, &DocumentForm::locate);
    connect(lookup, &BillLookupForm::handOverFailed, this, [this] { button(QStringLiteral("TBO18C"))->setEnabled(false); });
    lookup->open();
}

report::ReportData DocumentForm::printData(const QString &number) const
{
    return billPrintData(m_d, number);
}

void DocumentForm::printBill()
{
    if (m_number.isEmpty())
        return;
    report::ReportData data;
    try {
        data = printData(m_number);
    } catch (const Error &) {
        return; // printing is best effort
    }
    ShowReportFile(this, m_d.printTemplate, data);
}

void DocumentForm::showHelp()
{
    Messages::plain(QStringLiteral("新增单据：点击［新增］按钮开始输入销售单.\n")
                    + QStringLiteral("删除行：清空表格中的［速记码］内容,点［保存］按钮后即可完成删除.\n")
                    + QStringLiteral("增加行：键盘一直按回车(Enter)换行.\n") + QStringLiteral("查找单据：点［查找］按钮可以打开查询窗口.\n"));
}

void DocumentForm::reject()
{
    if (isEditing() && !m_d.closeQuestion.isEmpty() && !Messages::question(kCloseCaption, m_d.closeQuestion))
        return;
    hidePickers();
    m_picked.clear();
    QDialog::reject();
}

// ---------------------------------------------------------------- grid

QString DocumentForm::priceText(double value) const
{
    return QString::number(value, 'f', m_priceDecimals);
}

bool DocumentForm::gridKey(QKeyEvent *e, bool inEditor)
{
    const int row = m_grid->currentRow();
    const int col = m_grid->currentColumn();
    const int key = e->key();
    const QString text = e->text();
    const bool printable = !text.isEmpty() && text.at(0).isPrint();
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    if (!m_grid->editing()) {
        if (key == Qt::Key_Delete || (printable && !ctrl))
            return true;
        if (key == Qt::Key_Home && !ctrl) {
            moveTo(row, BillGrid::Code);
            return true;
        }
        return false;
    }
    if (row < 0 || col < 0)
        return false;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (inEditor)
            m_grid->commitOpenEditor();
        enterKey(row, col);
        return true;
    case Qt::Key_Home:
        if (inEditor || ctrl)
            return false;
        moveTo(row, BillGrid::Code);
        return true;
    case Qt::Key_Left:
        if (inEditor)
            return false;
        moveTo(row, std::max(int(BillGrid::Code), col - 1));
        return true;
    case Qt::Key_Right:
        if (inEditor)
            return false;
        moveTo(row, std::min(m_grid->lastColumn(), col + 1));
        return true;
    case Qt::Key_End:
        if (inEditor || ctrl || !m_grid->hasNoteColumn())
            return false;
        moveTo(row, BillGrid::Note);
        return true;
    case Qt::Key_F3:
        if (inEditor)
            m_grid->commitOpenEditor();
        openGoodsPicker(m_grid->text(row, BillGrid::Code).trimmed());
        return true;
    case Qt::Key_Escape:
        return false;
    case Qt::Key_Delete:
        if (col == BillGrid::Code) {
            m_grid->cancelOpenEditor();
            blankLine(row);
            return true;
        }
        if (col == BillGrid::Quantity || col == BillGrid::Discount || (col == BillGrid::Price && m_grid->priceEditable())
            || (col == BillGrid::Note && m_grid->hasNoteColumn())) {
            if (inEditor)
                return false;
            m_grid->setText(row, col, QString());
            return true;
        }
        return true;
    case Qt::Key_Backspace:
        return !(inEditor || m_grid->typingColumn(col));
    case Qt::Key_Space:
        if (col == BillGrid::Code) {
            if (row > 0) {
                const QString above = m_grid->text(row - 1, BillGrid::Code);
                if (auto *editor = qobject_cast<QLineEdit *>(m_grid->openEditor()))
                    editor->setText(above);
                else
                    m_grid->setText(row, BillGrid::Code, above);
            }
            return true;
        }
        return true;
    default:
        break;
    }
    if (!printable || ctrl)
        return false;
    const QChar ch = text.at(0);
    switch (col) {
    case BillGrid::Code:
        return false;
    case BillGrid::Unit:
        if (ch >= QLatin1Char('1') && ch <= QLatin1Char('9')) {
            m_grid->setText(row, BillGrid::Unit, QString(ch));
            m_unitTypedRow = row;
            moveTo(row, BillGrid::Quantity);
        }
        return true;
    case BillGrid::Quantity:
    case BillGrid::Discount:
        return !(ch.isDigit() || ch == QLatin1Char('.'));
    case BillGrid::Price:
        return !(m_grid->priceEditable() && (ch.isDigit() || ch == QLatin1Char('.')));
    case BillGrid::Note:
        return false; // the note takes any text
    default:
        return true;
    }
}

void DocumentForm::enterKey(int row, int column)
{
    if (column == BillGrid::Code) {
        const QString text = m_grid->text(row, BillGrid::Code).trimmed();
        const RowState *known = m_rows.contains(row) ? &m_rows[row] : nullptr;
        if (!text.isEmpty() && !(known && known->code == text)) {
            if (!lookupGoods(row, text))
                return;
            moveTo(row, BillGrid::Unit);
            return;
        }
    }
    if (column == BillGrid::Discount || column == BillGrid::Price)
        recompute();
    if (column == BillGrid::Warehouse && m_grid->text(row, BillGrid::Warehouse).trimmed().isEmpty() && m_warehouses->currentItem())
        m_grid->setText(row, BillGrid::Warehouse, m_warehouses->currentItem()->text());
    const int next = column + 1;
    if (next == BillGrid::Amount || next > m_grid->lastColumn()) {
        if (row == m_grid->rowCount() - 1)
            m_grid->appendLine();
        moveTo(row + 1, BillGrid::Code);
        return;
    }
    moveTo(row, next);
}

void DocumentForm::moveTo(int row, int column)
{
    if (row < 0 || row >= m_grid->rowCount())
        return;
    m_grid->setCurrentCell(row, column);
    m_grid->scrollToItem(m_grid->item(row, column));
}

void DocumentForm::cellEntered(int row, int column, int previousRow, int previousColumn)
{
    if (m_moving || row < 0)
        return;
    m_moving = true;
    m_grid->viewport()->update();
    if (previousRow != row)
        m_unitHint->hide();
    if (column != BillGrid::Warehouse)
        m_warehouses->hide();
    if (m_grid->editing()) {
        if (column == BillGrid::Unit) {
            const QString w = m_grid->text(row, BillGrid::Warehouse).trimmed();
            if ((w.isEmpty() || w == QLatin1String("0")) && m_warehouses->currentItem())
                m_grid->setText(row, BillGrid::Warehouse, m_warehouses->currentItem()->text());
        }
        if (column == BillGrid::Quantity && previousRow == row && previousColumn == BillGrid::Unit && m_unitTypedRow == row) {
            if (!applyUnitKey(row))
                m_grid->setCurrentCell(row, BillGrid::Unit);
        }
        m_unitTypedRow = -1;
        if (column == BillGrid::Warehouse) {
            recomputeRow(row);
            if (!checkLine(row)) {
                recompute();
                placeRowWidgets();
                m_moving = false;
                return;
            }
            showWarehousePicker(row);
        }
    }
    placeRowWidgets();
    m_moving = false;
}


bool DocumentForm::applyUnitKey(int row)
{
    RowState *st = rowState(row);
    QString unit = m_grid->text(row, BillGrid::Unit).trimmed();
    const QString previous = st ? st->unit : QString();
    if (unit.size() == 1 && unit.at(0) >= QLatin1Char('1') && unit.at(0) <= QLatin1Char('3') && st) {
        const int index = unit.at(0).digitValue() - 1;
        if (index < st->goods.unitNames.size())
            unit = st->goods.unitNames.at(index);
    }
    if (!st || (unit.size() == 1 && unit.at(0).isDigit())) {
        Messages::info(kNoUnitText);
        m_grid->setText(row, BillGrid::Unit, previous);
        return false;
    }
    if (!st->goods.units.packing.contains(unit)) {
        Messages::info(kNoUnitText);
        m_grid->setText(row, BillGrid::Unit, previous);
        return true;
    }
    m_grid->setText(row, BillGrid::Unit, unit);
    m_grid->setText(row, BillGrid::Price, priceText(st->basePrice * st->goods.units.factor(unit)));
    st->unit = unit;
    recomputeRow(row);
    return true;
}

void DocumentForm::blankLine(int row)
{
    m_updating = true;
    for (int c : {BillGrid::Quantity, BillGrid::Discount, BillGrid::Price, BillGrid::Amount})
        m_grid->setText(row, c, QStringLiteral("0.00"));
    for (int c : {BillGrid::Code, BillGrid::Unit, BillGrid::Warehouse, BillGrid::Name, BillGrid::Note})
        m_grid->setText(row, c, QString());
    m_updating = false;
    m_rows.remove(row);
    m_unitHint->hide();
    recompute();
}

void DocumentForm::recomputeRow(int row)
{
    if (m_grid->text(row, BillGrid::Code).trimmed().isEmpty())
        return;
    double quantity = 0;
    double discount = 0;
    double price = 0;
    QString bad;
    if (!lineNumbers(row, &quantity, &discount, &price, &bad))
        return; // a malformed cell is reported when the bill is saved
    const bool was = m_updating;
    m_updating = true;
    m_grid->setText(row, BillGrid::Discount, moneyText(discount));
    m_grid->setText(row, BillGrid::Price, priceText(price));
    if (quantity == 0)
        m_grid->setText(row, BillGrid::Quantity, QStringLiteral("0"));
    m_grid->setText(row, BillGrid::Amount, moneyText(discount * (price * quantity)));
    m_updating = was;
}

void DocumentForm::recompute()
{
    qint64 total = 0;
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        recomputeRow(r);
        if (m_grid->text(r, BillGrid::Code).trimmed().isEmpty())
            continue;
        double amount = 0;
        if (parseNumber(m_grid->text(r, BillGrid::Amount), &amount))
            total += cents(amount);
    }
    m_total->setText(QString::number(double(total) / 100.0, 'f', 2));
    m_quantityTotal->setText(QStringLiteral("0"));
}

DocumentForm::Goods DocumentForm::readGoods(const QString &code) const
{
    Goods g;
    QSqlQuery q = Session::current().run(QStringLiteral("select 编码,条码,品名,单位,大包装,小包装,柜组,换算数,进价,批价,售价 from 商品 "
                                                        "where 编码=? and ")
                                             + kActiveGoods,
                                         {code});
    if (!q.next())
        return g;
    g.found = true;
    g.code = q.value(0).toString();
    g.barcode = q.value(1).toString();
    g.name = q.value(2).toString();
    g.units.exists = true;
    g.units.baseUnitText = q.value(3).toString();
    g.units.bigUnit = q.value(4).toString();
    g.units.perBig = q.value(5).toDouble();
    g.units.packing = q.value(6).toString();
    g.units.names = q.value(7).toString();
    g.units.cost = q.value(8).toDouble();
    g.wholesale = q.value(9).toDouble();
    g.retail = q.value(10).toDouble();
    g.unitNames = splitUnitNames(g.units.names);
    return g;
}

std::optional<double> DocumentForm::startingPrice(const Goods &goods) const
{
    return goods.units.cost;
}

DocumentForm::RowState *DocumentForm::rowState(int row)
{
    const QString code = m_grid->text(row, BillGrid::Code).trimmed();
    if (code.isEmpty())
        return nullptr;
    auto it = m_rows.find(row);
    if (it != m_rows.end() && it->code == code)
        return &*it;
    // A line that was loaded or typed over: read its goods now.
    Goods g;
    try {
        g = readGoods(code);
    } catch (const Error &) {
    }
    if (!g.found)
        return nullptr;
    RowState st;
    st.code = code;
    st.goods = g;
    st.unit = m_grid->text(row, BillGrid::Unit).trimmed();
    double price = 0;
    const double factor = g.units.factor(st.unit);
    st.basePrice = parseNumber(m_grid->text(row, BillGrid::Price), &price) && price > 0 && factor > 0 ? price / factor
                                                                                                      : startingPrice(g).value_or(0);
    return &*m_rows.insert(row, st);
}

bool DocumentForm::lookupGoods(int row, const QString &text)
{
    QStringList codes;
    try {
        Session &s = Session::current();
        QSqlQuery exact = s.run(QStringLiteral("select 编码 from 商品 where 编码=? and ") + kActiveGoods, {text});
        while (exact.next())
            codes << exact.value(0).toString();
        if (codes.isEmpty()) {
            QSqlQuery found = SearchGoods(s, text, 2); // one goods or a choice
            while (found.next())
                codes << found.value(0).toString();
            codes.removeDuplicates();
        }
    } catch (const Error &e) {
        Messages::warning(e.message());
        return false;
    }
    if (codes.size() == 1) {
        fillRow(row, codes.first());
        return true;
    }
    openGoodsPicker(text);
    return false;
}

void DocumentForm::fillRow(int row, const QString &code)
{
    Goods g;
    try {
        g = readGoods(code);
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }
    if (!g.found)
        return;
    RowState st;
    st.code = g.code;
    st.goods = g;
    st.unit = gbkLeft(g.units.baseUnitText.trimmed(), 2);
    const std::optional<double> price = startingPrice(g);
    double shown = 0;
    if (price)
        st.basePrice = *price;
    else if (parseNumber(m_grid->text(row, BillGrid::Price), &shown))
        st.basePrice = shown; // the line keeps its price
    m_updating = true;
    m_grid->setText(row, BillGrid::Code, g.code);
    m_grid->setText(row, BillGrid::Name, g.name);
    m_grid->setText(row, BillGrid::Unit, st.unit);
    if (price)
        m_grid->setText(row, BillGrid::Price, priceText(st.basePrice));
    double discount = 0;
    if (!parseNumber(m_grid->text(row, BillGrid::Discount), &discount) || discount <= 0)
        m_grid->setText(row, BillGrid::Discount, defaultDiscount());
    m_updating = false;
    m_rows.insert(row, st);
    showUnitHint(row);
}

void DocumentForm::showUnitHint(int row)
{
    const RowState *st = m_rows.contains(row) ? &m_rows[row] : nullptr;
    if (!st || st->goods.unitNames.isEmpty()) {
        m_unitHint->hide();
        return;
    }
    const QStringList &names = st->goods.unitNames;
    QString hint = m_d.unitHintPrefix + names.at(0);
    if (names.size() > 1)
        hint += QStringLiteral("/  按2为 ") + names.at(1);
    if (names.size() > 2)
        hint += QStringLiteral("/  按3为 ") + names.at(2);
    m_unitHint->setText(hint);
    m_unitHint->adjustSize();
    m_unitHint->show();
    m_unitHint->raise();
    placeRowWidgets();
}

void DocumentForm::placeRowWidgets()
{
    const int row = m_grid->currentRow();
    const int col = m_grid->currentColumn();
    if (row < 0)
        return;
    // The find button sits at the right end of the row, the unit hint over the name column.
    const QRect name = m_grid->visualItemRect(m_grid->item(row, BillGrid::Name));
    const bool showFind = m_grid->editing() && col == BillGrid::Code;
    m_findGoods->setVisible(showFind);
    if (showFind) {
        m_findGoods->resize(m_findGoods->sizeHint().width(), name.height());
        m_findGoods->move(std::max(name.left(), m_grid->viewport()->width() - m_findGoods->width()), name.top());
        m_findGoods->raise();
    }
    if (m_unitHint->isVisible()) {
        m_unitHint->move(name.left() + 2, name.top() + (name.height() - m_unitHint->height()) / 2);
        m_unitHint->raise();
    }
    if (m_warehouses->isVisible()) {
        const QRect cell = m_grid->visualItemRect(m_grid->item(row, BillGrid::Warehouse));
        const int height = std::min(160, 6 + int(m_warehouses->count()) * 20);
        int top = cell.bottom() + 1;
        if (top + height > m_grid->viewport()->height())
            top = std::max(0, cell.top() - height);
        m_warehouses->setGeometry(cell.left(), top, std::max(cell.width(), 120), height);
        m_warehouses->raise();
    }
}

void DocumentForm::showWarehousePicker(int row)
{
    if (!m_grid->editing())
        return;
    if (m_grid->text(row, BillGrid::Warehouse).trimmed().isEmpty() && m_warehouses->currentItem())
        m_grid->setText(row, BillGrid::Warehouse, m_warehouses->currentItem()->text());
    const QList<QListWidgetItem *> found = m_warehouses->findItems(m_grid->text(row, BillGrid::Warehouse).trimmed(), Qt::MatchExactly);
    if (!found.isEmpty())
        m_warehouses->setCurrentItem(found.first());
    m_warehouses->show();
    placeRowWidgets();
    m_warehouses->setFocus();
}

void DocumentForm::takeWarehouse(bool moveOn)
{
    const int row = m_grid->currentRow();
    if (row < 0 || !m_warehouses->currentItem())
        return;
    m_grid->setText(row, BillGrid::Warehouse, m_warehouses->currentItem()->text());
    if (moveOn) {
        m_warehouses->hide();
        m_grid->setFocus();
        moveTo(row, BillGrid::Discount);
    }
}

void DocumentForm::hidePickers()
{
    m_warehouses->hide();
    m_partnerPanel->hide();
    m_goodsPanel->hide();
    m_unitHint->hide();
    m_findGoods->hide();
}

// ---------------------------------------------------------------- partner picker

void DocumentForm::searchPartners(const QString &text)
{
    const PartnerSource partner = partnerSource(m_d.partner);
    m_partnerList->setRowCount(0);
    if (text.trimmed().isEmpty() || partner.table.isEmpty()) {
        m_partnerPanel->hide();
        return;
    }
    Session &s = Session::current();
    const QString pattern = containsPattern(text.trimmed());
    try {
        const QString more = partner.moreColumns.isEmpty() ? QString() : QLatin1Char(',') + partner.moreColumns.join(QLatin1Char(','));
        QSqlQuery q = s.run(QStringLiteral("select %1,%2%5 from %3 where %1 %4 or %2 %4 order by %1")
                                .arg(partner.codeColumn, partner.nameColumn, partner.table,
                                     likeOperator(s) + QStringLiteral(" ?") + kLikeEscape, more),
                            {pattern, pattern});
        const int columns = m_partnerList->columnCount();
        while (q.next()) {
            const int r = m_partnerList->rowCount();
            m_partnerList->insertRow(r);
            for (int c = 0; c < columns; ++c)
                m_partnerList->setItem(r, c, readOnlyItem(q.value(c).toString()));
        }
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }
    const QPoint below = m_partnerName->mapTo(this, QPoint(0, m_partnerName->height()));
    m_partnerPanel->setGeometry(below.x(), below.y(), std::max(m_partnerName->width(), 320), 180);
    m_partnerPanel->show();
    m_partnerPanel->raise();
    if (m_partnerList->rowCount() > 0)
        m_partnerList->setCurrentCell(0, 0);
}

void DocumentForm::takePartner(int row)
{
    if (row < 0 || row >= m_partnerList->rowCount())
        return;
    m_partnerCode->setText(m_partnerList->item(row, 0)->text());
    m_partnerName->setText(m_partnerList->item(row, 1)->text());
    m_partnerPanel->hide();
    partnerTaken();
    m_grid->setFocus();
    moveTo(std::max(0, m_grid->currentRow()), BillGrid::Code);
}

// ---------------------------------------------------------------- goods picker

void DocumentForm::openGoodsPicker(const QString &text)
{
    if (!m_grid->editing())
        return;
    m_warehouses->hide();
    const QRect area = m_grid->geometry();
    const int height = std::max(200, area.height() * 2 / 3);
    m_goodsPanel->setGeometry(area.left() + 30, area.bottom() - height, std::min(area.width() - 40, 720), height);
    m_goodsPanel->show();
    m_goodsPanel->raise();
    m_goodsSearch->setText(text);
    searchPickerGoods(text);
    m_goodsSearch->setFocus();
}

void DocumentForm::searchPickerGoods(const QString &text)
{
    m_goodsList->setRowCount(0);
    m_goodsMore->hide();
    Session &s = Session::current();
    const QString t = text.trimmed();
    const QString select = QStringLiteral("select 编码,条码,品名,批价,售价,进价,单位 from 商品 where ");
    // Columns of the rows read: 编码,条码,品名,批价,售价,进价,单位 (the order SearchGoods gives).
    // A first letter can match tens of thousands of goods: the list holds the first kPickerRows
    // and says so, and typing on narrows it.
    auto add = [this](QSqlQuery &q) {
        QList<QStringList> rows;
        while (q.next()) {
            if (m_goodsList->rowCount() + rows.size() >= kPickerRows) {
                m_goodsMore->show();
                break;
            }
            rows.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), priceText(q.value(3).toDouble()),
                         priceText(q.value(4).toDouble()), q.value(6).toString(), priceText(q.value(5).toDouble())});
        }
        int r = m_goodsList->rowCount();
        m_goodsList->setRowCount(r + int(rows.size()));
        for (const QStringList &row : std::as_const(rows)) {
            m_goodsList->setItem(r, 0, readOnlyItem(QString()));
            for (int c = 0; c < row.size(); ++c)
                m_goodsList->setItem(r, c + 1, readOnlyItem(row.at(c)));
            for (int c : {4, 5, 7})
                m_goodsList->item(r, c)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            ++r;
        }
    };
    try {
        if (t.isEmpty()) {
            QSqlQuery q = s.run(select + kActiveGoods + QStringLiteral(" order by 编码 limit %1").arg(kPickerRows + 1));
            add(q);
        } else {
            QSqlQuery q = s.run(select + QStringLiteral("编码=? and ") + kActiveGoods, {t});
            add(q);
            if (m_goodsList->rowCount() == 0) {
                QSqlQuery found = SearchGoods(s, t, kPickerRows + 1);
                add(found);
            }
        }
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }
    markTicks();
    if (m_goodsList->rowCount() > 0)
        m_goodsList->setCurrentCell(0, 1);
}

void DocumentForm::takePickedGoods(int pickerRow)
{
    if (pickerRow < 0 || pickerRow >= m_goodsList->rowCount())
        return;
    const QString code = m_goodsList->item(pickerRow, 1)->text();
    int row = m_grid->currentRow();
    if (row < 0)
        row = 0;
    m_goodsPanel->hide();
    m_grid->setFocus();
    fillRow(row, code);
    moveTo(row, BillGrid::Code);
    enterKey(row, BillGrid::Code);
}

void DocumentForm::tickPickerRow(int pickerRow, bool add)
{
    if (pickerRow < 0 || pickerRow >= m_goodsList->rowCount())
        return;
    Picked p;
    p.code = m_goodsList->item(pickerRow, 1)->text();
    p.name = m_goodsList->item(pickerRow, 3)->text();
    p.baseUnit = gbkLeft(m_goodsList->item(pickerRow, 6)->text().trimmed(), 2);
    parseNumber(m_goodsList->item(pickerRow, 7)->text(), &p.price);
    if (!add) {
        m_picked = {p};
    } else {
        const auto it = std::find_if(m_picked.begin(), m_picked.end(), [&](const Picked &x) { return x.code == p.code; });
        if (it != m_picked.end())
            m_picked.erase(it);
        else
            m_picked.append(p);
    }
    markTicks();
}

void DocumentForm::markTicks()
{
    for (int r = 0; r < m_goodsList->rowCount(); ++r) {
        const QString code = m_goodsList->item(r, 1)->text();
        const bool ticked = std::any_of(m_picked.cbegin(), m_picked.cend(), [&](const Picked &p) { return p.code == code; });
        m_goodsList->item(r, 0)->setText(ticked ? QStringLiteral("√") : QString());
    }
}

void DocumentForm::importPickedGoods()
{
    if (m_picked.isEmpty() || !m_grid->editing())
        return;
    m_grid->commitOpenEditor();
    const QString warehouse = m_warehouses->currentItem() ? m_warehouses->currentItem()->text() : QString();
    int first = -1;
    for (const Picked &p : m_picked) {
        int row = m_grid->rowCount() - 1;
        if (!m_grid->text(row, BillGrid::Code).trimmed().isEmpty())
            row = m_grid->appendLine();
        if (first < 0)
            first = row;
        m_updating = true;
        m_grid->setText(row, BillGrid::Code, p.code);
        m_grid->setText(row, BillGrid::Unit, p.baseUnit);
        m_grid->setText(row, BillGrid::Quantity, QStringLiteral("1"));
        m_grid->setText(row, BillGrid::Warehouse, warehouse);
        m_grid->setText(row, BillGrid::Discount, defaultDiscount());
        m_grid->setText(row, BillGrid::Price, priceText(p.price));
        m_grid->setText(row, BillGrid::Name, p.name);
        m_updating = false;
        fillRow(row, p.code);
        m_grid->appendLine();
    }
    m_picked.clear();
    markTicks();
    recompute();
    m_goodsPanel->hide();
    m_unitHint->hide();
    m_grid->setFocus();
    moveTo(first, BillGrid::Quantity);
}

// ---------------------------------------------------------------- events

bool DocumentForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == m_unitHint) {
            m_unitHint->hide();
            return true;
        }
        if (watched == m_goodsList->viewport()) {
            const auto *me = static_cast<QMouseEvent *>(event);
            const int row = m_goodsList->rowAt(me->position().toPoint().y());
            if (row >= 0)
                tickPickerRow(row, me->modifiers() & Qt::ControlModifier);
        }
        return false;
    }
    if (event->type() == QEvent::FocusOut && watched == m_partnerList) {
        if (!m_partnerName->hasFocus())
            m_partnerPanel->hide();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *ke = static_cast<QKeyEvent *>(event);
    const int key = ke->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;

    if (watched == m_partnerName) {
        if (enter && isEditing()) {
            searchPartners(m_partnerName->text());
            if (m_partnerList->rowCount() == 1)
                takePartner(0);
            else if (m_partnerList->rowCount() > 1)
                m_partnerList->setFocus();
            else
                partnerNotFound();
            return true;
        }
        if (key == Qt::Key_Down && m_partnerPanel->isVisible()) {
            m_partnerList->setFocus();
            return true;
        }
        if (key == Qt::Key_Escape && m_partnerPanel->isVisible()) {
            m_partnerPanel->hide();
            return true;
        }
        return false;
    }
    if (watched == m_partnerList) {
        if (enter) {
            takePartner(m_partnerList->currentRow());
            return true;
        }
        if (key == Qt::Key_Escape) {
            m_partnerPanel->hide();
            m_partnerName->setFocus();
            return true;
        }
        return false;
    }
    if (watched == m_goodsSearch) {
        if (enter || ke->text() == QLatin1String("@")) {
            searchPickerGoods(m_goodsSearch->text());
            m_goodsList->setFocus();
            return true;
        }
        if (key == Qt::Key_Down) {
            m_goodsList->setFocus();
            return true;
        }
        if (key == Qt::Key_Escape) {
            m_goodsPanel->hide();
            m_grid->setFocus();
            return true;
        }
        return false;
    }
    if (watched == m_goodsList) {
        if (enter) {
            takePickedGoods(m_goodsList->currentRow());
            return true;
        }
        if (key == Qt::Key_Space) {
            tickPickerRow(m_goodsList->currentRow(), true);
            return true;
        }
        if (key == Qt::Key_Insert) {
            importPickedGoods();
            return true;
        }
        if (key == Qt::Key_Escape) {
            m_goodsPanel->hide();
            m_grid->setFocus();
            return true;
        }
        return false;
    }
    if (watched == m_warehouses) {
        if (enter) {
            takeWarehouse(true);
            return true;
        }
        if (key == Qt::Key_Escape) {
            m_warehouses->hide();
            m_grid->setFocus();
            return true;
        }
        return false;
    }
    // Enter walks the header fields and then into the grid.
    if (enter && (watched == m_orderNumber || watched == m_invoice || watched == m_summary || watched == m_extra)) {
        if (watched == m_extra) {
            m_grid->setFocus();
            moveTo(std::max(0, m_grid->currentRow()), BillGrid::Code);
        } else {
            focusNextChild();
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void DocumentForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeRowWidgets();
}

} // namespace tavomi
