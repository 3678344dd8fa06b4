#include "ui/masterdata/product_frm.h"

#include "common/error.h"
#include "common/identity.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"
#include "masterdata/category_service.h"
#include "masterdata/field_error.h"
#include "masterdata/shorthand.h"
#include "masterdata/warehouse_service.h"
#include "ui/app/form_registry.h"
#include "ui/common/form_helpers.h"
#include "ui/masterdata/splebei_new_frm.h"
#include "ui/masterdata/tree_check_frm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tavomi {

namespace {

const QString kCostRight = QStringLiteral("可查看商品进价");
const QString kUnitRight = QStringLiteral("计量单位增加");
const QString kUnitForm = QStringLiteral("Tfrm_jczlsz");
const QString kUnitPage = QStringLiteral("计量单位");
const QString kSupplierPicker = QStringLiteral("Tfrm_gyshz_check");

// Numeric boxes take digits and the decimal point only (Backspace, Delete and Enter still work).
void numericBox(QLineEdit *e)
{
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), e));
}

QString chosenUnit(const QComboBox *c)
{
    const QString t = c->currentText().trimmed();
    return t == kNoUnit ? QString() : t;
}

QPushButton *plainButton(const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFrm_product::TFrm_product(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFrm_product"));
    setWindowTitle(QStringLiteral("商品资料"));
    buildUi();
    fillUnitLists();
}

void TFrm_product::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    m_pages = new QStackedWidget(this);
    m_steps = new QTabWidget(m_pages);
    m_steps->addTab(buildStep1(), QStringLiteral("基础资料"));
    m_steps->addTab(buildStep2(), QStringLiteral("产品规格"));
    m_pages->addWidget(m_steps);
    m_pages->addWidget(buildPricePanel());
    layout->addWidget(m_pages, 1);

    m_note = new QLabel(QStringLiteral("注：如果你要修改的商品已经开始作为销售数据了,请不要随意修改规格."), this);
    m_note->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_note->setVisible(false);
    layout->addWidget(m_note);

    auto *bottom = new QHBoxLayout;
    auto *help = plainButton(QStringLiteral("帮助"), this);
    connect(help, &QPushButton::clicked, this, [] {
        Messages::info(QStringLiteral("商品的进价、批价、售价都是规格中最小单位的价格;\n"
                                      "库存上限和库存下限按最大单位计算;\n"
                                      "只有一个单位的商品,换算数填1(例:1斤)。"));
    });
    bottom->addWidget(help);
    bottom->addStretch();
    auto *saveButton = plainButton(QStringLiteral("保存"), this);
    saveButton->setObjectName(QStringLiteral("SBO1BC"));
    saveButton->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    saveButton->setToolTip(QStringLiteral("保存 (Ctrl+S)"));
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    auto *exitButton = plainButton(QStringLiteral("退出"), this);
    connect(exitButton, &QPushButton::clicked, this, [this] { reject(); });
    bottom->addWidget(saveButton);
    bottom->addWidget(exitButton);
    layout->addLayout(bottom);
    resize(640, 470);
}

QWidget *TFrm_product::buildStep1()
{
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);

    auto *catRow = new QHBoxLayout;
    auto *catLabel = new QLabel(QStringLiteral("商品类别："), page);
    m_category = new QComboBox(page);
    m_category->setObjectName(QStringLiteral("ComboBox1"));
    m_category->setMinimumWidth(200);
    catLabel->setBuddy(m_category);
    connect(m_category, &QComboBox::activated, this, [this] { startStep1(); });
    auto *treeButton = plainButton(QStringLiteral("树状选择>"), page);
    connect(treeButton, &QPushButton::clicked, this, [this] { pickCategory(); });
    auto *addCat = plainButton(QStringLiteral("增加品类>"), page);
    connect(addCat, &QPushButton::clicked, this, [this] { addCategory(); });
    auto *fill = plainButton(QStringLiteral("填写资料>>"), page);
    connect(fill, &QPushButton::clicked, this, [this] { startStep1(); });
    catRow->addWidget(catLabel);
    catRow->addWidget(m_category, 1);
    catRow->addWidget(treeButton);
    catRow->addWidget(addCat);
    catRow->addWidget(fill);
    v->addLayout(catRow);

    auto *grid = new QGridLayout;
    int row = 0;
    auto addBox = [&](const QString &caption, const QString &objectName, int col, QLabel **labelOut = nullptr) {
        auto *label = new QLabel(caption, page);
        auto *edit = new QLineEdit(page);
        edit->setObjectName(objectName);
        label->setBuddy(edit);
        grid->addWidget(label, row, col * 2);
        grid->addWidget(edit, row, col * 2 + 1);
        if (labelOut)
            *labelOut = label;
        return edit;
    };

    // 商品编码*: the category prefix in front of the typed item number.
    auto *codeLabel = new QLabel(QStringLiteral("商品编码*："), page);
    m_prefixLabel = new QLabel(page);
    m_prefixLabel->setObjectName(QStringLiteral("NoPrefix"));
    m_item = new QLineEdit(page);
    m_item->setObjectName(QStringLiteral("Edit1"));
    m_item->setPlaceholderText(QStringLiteral("商品编码,可以从001开始..."));
    m_item->setToolTip(QStringLiteral("商品编码,可以从001开始..."));
    codeLabel->setBuddy(m_item);
    auto *codeBox = new QHBoxLayout;
    codeBox->setSpacing(2);
    codeBox->addWidget(m_prefixLabel);
    codeBox->addWidget(m_item, 1);
    grid->addWidget(codeLabel, row, 0);
    grid->addLayout(codeBox, row, 1);
    m_shorthand = addBox(QStringLiteral("速记码(拼音码)*："), QStringLiteral("Edit2"), 1);
    ++row;
    m_name = addBox(QStringLiteral("商品名称+规格*："), QStringLiteral("Edit3"), 0);
    m_barcode = addBox(QStringLiteral("条形码："), QStringLiteral("Edit4"), 1);
    ++row;
    m_cost = addBox(QStringLiteral("进 价："), QStringLiteral("Edit5"), 0, &m_costLabel);
    m_wholesale = addBox(QStringLiteral("批 价："), QStringLiteral("Edit6"), 1);
    ++row;
    m_retail = addBox(QStringLiteral("售 价："), QStringLiteral("Edit7"), 0);
    m_upper = addBox(QStringLiteral("库存上限："), QStringLiteral("Edit8"), 1);
    ++row;
    m_lower = addBox(QStringLiteral("库存下限："), QStringLiteral("Edit9"), 0);
    m_warehouse = addBox(QStringLiteral("仓库："), QStringLiteral("NoWarehouse"), 1);
    m_warehouse->setReadOnly(true);
    m_warehouse->setFocusPolicy(Qt::NoFocus);
    ++row;
    m_supplierCode = addBox(QStringLiteral("供应商："), QStringLiteral("Edit10"), 0);
    auto *supplierLabel = new QLabel(QStringLiteral("供应商名称："), page);
    m_supplierName = new QLineEdit(page);
    m_supplierName->setObjectName(QStringLiteral("Edit11"));
    supplierLabel->setBuddy(m_supplierName);
    auto *supplierSearch = plainButton(QStringLiteral("..."), page);
    supplierSearch->setEnabled(FormRegistry::contains(kSupplierPicker));
    supplierSearch->setToolTip(QStringLiteral("供应商档案浏览"));
    // The picker fills both boxes, so the goods never carry a code that does not match the name.
    connect(supplierSearch, &QPushButton::clicked, this,
            [this] { FormRegistry::open(kSupplierPicker, this, {QStringLiteral("Edit10"), QStringLiteral("Edit11")}); });
    auto *supplierBox = new QHBoxLayout;
    supplierBox->addWidget(m_supplierName, 1);
    supplierBox->addWidget(supplierSearch);
    grid->addWidget(supplierLabel, row, 2);
    grid->addLayout(supplierBox, row, 3);
    ++row;
    m_retired = new QCheckBox(QStringLiteral("淘汰"), page);
    m_retired->setToolTip(QStringLiteral("淘汰的商品在单据中不再能查到"));
    m_retired->setVisible(false);
    grid->addWidget(m_retired, row, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    v->addLayout(grid);

    for (QLineEdit *e : {m_cost, m_wholesale, m_retail, m_upper, m_lower})
        numericBox(e);

    auto *buttons = new QHBoxLayout;
    auto *more = plainButton(QStringLiteral("更多价格"), page);
    connect(more, &QPushButton::clicked, this, [this] { showPricePanel(); });
    auto *next = plainButton(QStringLiteral("下一步>>"), page);
    connect(next, &QPushButton::clicked, this, [this] {
        m_steps->setCurrentIndex(1);
        m_unit1->setFocus();
    });
    buttons->addWidget(more);
    buttons->addStretch();
    buttons->addWidget(next);
    v->addLayout(buttons);
    v->addStretch();

    m_step1Order = {m_item, m_shorthand, m_name, m_barcode, m_cost, m_wholesale, m_retail, m_upper, m_lower,
                    m_supplierCode, m_supplierName};
    for (QLineEdit *e : m_step1Order)
        connect(e, &QLineEdit::returnPressed, this, [this, e] { moveOn(e); });
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString &t) { m_shorthand->setText(ShorthandCode(t)); });
    connect(m_barcode, &QLineEdit::editingFinished, this, [this] { checkBarcode(); });
    for (QLineEdit *e : {m_cost, m_wholesale, m_retail, m_upper, m_lower})
        connect(e, &QLineEdit::textChanged, this, [this] { updateSummary(); });
    return page;
}

QWidget *TFrm_product::buildStep2()
{
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    auto *grid = new QGridLayout;
    auto unitRow = [&](int row, const QString &caption, const QString &objectName) {
        auto *label = new QLabel(caption, page);
        auto *combo = new QComboBox(page);
        combo->setObjectName(objectName);
        label->setBuddy(combo);
        grid->addWidget(label, row, 0);
        grid->addWidget(combo, row, 1);
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            updateUnitState();
            updateSummary();
        });
        return combo;
    };
    m_unit1 = unitRow(0, QStringLiteral("大单位*："), QStringLiteral("ComboBox2"));
    m_unit2 = unitRow(1, QStringLiteral("第二单位："), QStringLiteral("ComboBox3"));
    m_unit3 = unitRow(2, QStringLiteral("第三单位："), QStringLiteral("ComboBox4"));
    auto ratioBox = [&](int row, const QString &caption, const QString &objectName) {
        auto *label = new QLabel(caption, page);
        auto *edit = new QLineEdit(QStringLiteral("1"), page);
        edit->setObjectName(objectName);
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        edit->setMaximumWidth(90);
        label->setBuddy(edit);
        grid->addWidget(label, row, 2);
        grid->addWidget(edit, row, 3);
        connect(edit, &QLineEdit::textChanged, this, [this] { updateSummary(); });
        return edit;
    };
    m_ratio1 = ratioBox(1, QStringLiteral("1个大单位 = 几个第二单位："), QStringLiteral("NoRatio1"));
    m_ratio2 = ratioBox(2, QStringLiteral("1个第二单位 = 几个第三单位："), QStringLiteral("NoRatio2"));
    grid->setColumnStretch(1, 1);
    v->addLayout(grid);
    v->addWidget(new QLabel(QStringLiteral("例：1件=12袋 1袋=24包  或者 1件=24包 或者 1件=1"), page));

    auto *addUnitButton = plainButton(QStringLiteral("增加计量单位>>"), page);
    addUnitButton->setFlat(true);
    addUnitButton->setStyleSheet(QStringLiteral("color: #0033cc; text-decoration: underline;"));
    const bool unitFormReady = FormRegistry::contains(kUnitForm);
    addUnitButton->setEnabled(unitFormReady);
    if (!unitFormReady)
        addUnitButton->setToolTip(QStringLiteral("计量单位设置:基础资料设置功能完成后即可使用"));
    connect(addUnitButton, &QPushButton::clicked, this, [this] { addUnit(); });
    auto *row = new QHBoxLayout;
    row->addWidget(addUnitButton);
    row->addStretch();
    auto *back = plainButton(QStringLiteral("<<上一步"), page);
    connect(back, &QPushButton::clicked, this, [this] {
        m_steps->setCurrentIndex(0);
        m_name->setFocus();
    });
    row->addWidget(back);
    v->addLayout(row);

    m_summary = new QPlainTextEdit(page);
    m_summary->setObjectName(QStringLiteral("Memo1"));
    m_summary->setReadOnly(true);
    m_summary->setTabChangesFocus(true);
    v->addWidget(m_summary, 1);

    connect(m_ratio1, &QLineEdit::returnPressed, this, [this] {
        if (m_unit3->isEnabled())
            m_unit3->setFocus();
    });
    connect(m_ratio2, &QLineEdit::returnPressed, this, [this] { save(); });
    return page;
}

QWidget *TFrm_product::buildPricePanel()
{
    auto *panel = new QGroupBox(QStringLiteral("更多价格"));
    auto *v = new QVBoxLayout(panel);
    auto *head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("商品编码："), panel));
    m_panelCode = new QLabel(panel);
    head->addWidget(m_panelCode, 1);
    head->addWidget(new QLabel(QStringLiteral("售 价："), panel));
    m_panelRetail = new QLineEdit(panel);
    m_panelRetail->setObjectName(QStringLiteral("NoPanelRetail"));
    m_panelRetail->setReadOnly(true);
    head->addWidget(m_panelRetail);
    v->addLayout(head);
    auto *grid = new QGridLayout;
    const QStringList &columns = priceLevelColumns();
    for (int i = 0; i < columns.size(); ++i) {
        auto *label = new QLabel(columns.at(i) + QStringLiteral("："), panel);
        auto *edit = new QLineEdit(panel);
        edit->setObjectName(QStringLiteral("Price%1").arg(i + 1));
        numericBox(edit);
        label->setBuddy(edit);
        grid->addWidget(label, i % 10, (i / 10) * 2);
        grid->addWidget(edit, i % 10, (i / 10) * 2 + 1);
        m_levels << edit;
        connect(edit, &QLineEdit::returnPressed, this, [this, i] {
            if (i + 1 < m_levels.size())
                m_levels.at(i + 1)->setFocus();
            else
                confirmPrices();
        });
    }
    v->addLayout(grid);
    auto *row = new QHBoxLayout;
    row->addStretch();
    auto *ok = plainButton(QStringLiteral("确定"), panel);
    connect(ok, &QPushButton::clicked, this, [this] { confirmPrices(); });
    row->addWidget(ok);
    v->addLayout(row);
    return panel;
}

void TFrm_product::fillUnitLists()
{
    QStringList units;
    if (Session::hasCurrent()) {
        try {
            QSqlQuery q = Session::current().run(QStringLiteral("select 单位名 from 单位 order by 编号"));
            while (q.next())
                units << q.value(0).toString();
        } catch (const Error &) {
        }
    }
    for (QComboBox *c : {m_unit1, m_unit2, m_unit3}) {
        const QString keep = c->currentText();
        c->blockSignals(true);
        c->clear();
        c->addItem(kNoUnit);
        c->addItems(units);
        const int at = c->findText(keep);
        c->setCurrentIndex(at >= 0 ? at : 0);
        c->blockSignals(false);
    }
    updateUnitState();
    updateSummary();
}

void TFrm_product::fillCategoryList(const QStringList &entries)
{
    const QString keep = m_category->currentText();
    m_category->clear();
    m_category->addItems(entries);
    m_category->setCurrentIndex(m_category->findText(keep));
}

QComboBox *TFrm_product::unitList(int level) const
{
    return level == 1 ? m_unit1 : level == 2 ? m_unit2 : level == 3 ? m_unit3 : nullptr;
}

QLineEdit *TFrm_product::ratioBox(int level) const
{
    return level == 1 ? m_ratio1 : level == 2 ? m_ratio2 : nullptr;
}

QLineEdit *TFrm_product::field(const QString &column) const
{
    static const QStringList names = {kItemNumberField, QStringLiteral("条码"), QStringLiteral("品名"),
                                      QStringLiteral("备注"), QStringLiteral("进价"), QStringLiteral("批价"),
                                      QStringLiteral("售价"), QStringLiteral("上限"), QStringLiteral("下限"),
                                      QStringLiteral("供应商"), QStringLiteral("公司名")};
    const int i = int(names.indexOf(column));
    if (i >= 0)
        return m_step1Order.at(i);
    const int level = int(priceLevelColumns().indexOf(column));
    return level >= 0 ? m_levels.at(level) : nullptr;
}

bool TFrm_product::unitStepVisible() const
{
    return m_steps->isTabVisible(1);
}

bool TFrm_product::pricePanelVisible() const
{
    return m_pages->currentIndex() == 1;
}

void TFrm_product::showWarehouse()
{
    QStringList names;
    if (Session::hasCurrent()) {
        try {
            names = warehouseNames(Session::current());
        } catch (const Error &) {
        }
    }
    m_warehouse->setText(names.value(0));
}

void TFrm_product::startAdd(const QString &categoryCode)
{
    m_mode = Mode::Add;
    setWindowTitle(QStringLiteral("商品资料 - 增加"));
    QStringList entries;
    try {
        entries = categoryEntries(Session::current());
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
    fillCategoryList(entries);
    m_category->setCurrentIndex(-1);
    m_seeCost = hasRight(Session::current(), kCostRight);
    m_cost->setVisible(m_seeCost);
    m_costLabel->setVisible(m_seeCost);
    SetEditsState(this, 0);
    showWarehouse();
    if (!categoryCode.isEmpty()) {
        for (int i = 0; i < m_category->count(); ++i) {
            if (categoryCodeOfEntry(m_category->itemText(i)) == categoryCode) {
                m_category->setCurrentIndex(i);
                startStep1();
                break;
            }
        }
    }
}

bool TFrm_product::startChange(const QString &code, const QStringList &entries)
{
    m_mode = Mode::Change;
    setWindowTitle(QStringLiteral("商品资料 - 修改"));
    Session &s = Session::current();
    bool used = false;
    try {
        m_stored = loadGoods(s, code);
        used = goodsUsedInBills(s, code);
    } catch (const Error &) {
        m_stored.clear();
    }
    if (m_stored.isEmpty()) {
        Messages::info(QStringLiteral("当前无资料可修改!"));
        return false;
    }
    m_code = code;
    auto text = [this](const QString &c) { return m_stored.value(c).toString(); };
    auto number = [this](const QString &c) { return QString::number(m_stored.value(c).toDouble(), 'g', 15); };

    // The category the code was made from: the longest "B" + prefix the code starts with.
    fillCategoryList(entries);
    int best = -1;
    qsizetype bestLength = 0;
    for (int i = 0; i < m_category->count(); ++i) {
        const QString p = goodsCode(tavomi::categoryPrefix(categoryCodeOfEntry(m_category->itemText(i))), QString());
        if (code.startsWith(p) && p.size() > bestLength) {
            best = i;
            bestLength = p.size();
        }
    }
    m_category->setCurrentIndex(best);
    m_category->setEnabled(false);

    SetEditsState(this, 2);
    m_prefixLabel->clear();
    m_item->setText(code);
    m_item->setReadOnly(true);
    m_shorthand->setText(text(QStringLiteral("条码")));
    m_name->setText(text(QStringLiteral("品名")));
    m_barcode->setText(text(QStringLiteral("备注")));
    m_cost->setText(number(QStringLiteral("进价")));
    m_wholesale->setText(number(QStringLiteral("批价")));
    m_retail->setText(number(QStringLiteral("售价")));
    m_upper->setText(number(QStringLiteral("上限")));
    m_lower->setText(number(QStringLiteral("下限")));
    m_supplierCode->setText(text(QStringLiteral("供应商")));
    m_supplierName->setText(text(QStringLiteral("公司名")));
    for (int i = 0; i < m_levels.size(); ++i)
        m_levels.at(i)->setText(number(priceLevelColumns().at(i)));
    m_seeCost = hasRight(s, kCostRight);
    m_cost->setVisible(m_seeCost);
    m_costLabel->setVisible(m_seeCost);
    m_retired->setVisible(true);
    m_retired->setChecked(text(QStringLiteral("淘汰否")) == QStringLiteral("是"));
    showWarehouse();

    // The unit scheme as stored: 1件*12袋*24包.
    const QStringList parts = text(QStringLiteral("柜组")).split(QLatin1Char('*'));
    QList<QComboBox *> combos = {m_unit1, m_unit2, m_unit3};
    QList<QLineEdit *> ratios = {m_ratio1, m_ratio2};
    for (int i = 0; i < parts.size() && i < 3; ++i) {
        QString part = parts.at(i);
        qsizetype digits = 0;
        while (digits < part.size() && part.at(digits).isDigit())
            ++digits;
        const QString unit = part.mid(digits);
        if (i > 0)
            ratios.at(i - 1)->setText(part.left(digits));
        QComboBox *c = combos.at(i);
        if (c->findText(unit) < 0)
            c->addItem(unit);
        c->setCurrentIndex(c->findText(unit));
    }
    m_steps->setTabVisible(1, !used);
    m_note->setVisible(true);
    updateUnitState();
    updateSummary();
    m_name->setFocus();
    return true;
}

bool TFrm_product::startStep1()
{
    if (m_mode != Mode::Add)
        return true;
    const QString code = categoryCodeOfEntry(m_category->currentText());
    if (m_category->currentIndex() < 0 || code.isEmpty()) {
        Messages::info(QStringLiteral("请先选择品类!"));
        return false;
    }
    m_prefix = tavomi::categoryPrefix(code);
    m_prefixLabel->setText(QStringLiteral("B") + m_prefix);
    SetEditsState(this, 1);
    showWarehouse();
    m_steps->setCurrentIndex(0);
    m_pages->setCurrentIndex(0);
    updateUnitState();
    updateSummary();
    m_item->setFocus();
    return true;
}

void TFrm_product::chooseCategory(const QString &entry)
{
    int at = m_category->findText(entry);
    if (at < 0) {
        fillCategoryList(categoryEntries(Session::current()));
        at = m_category->findText(entry);
    }
    if (at < 0)
        return;
    m_category->setCurrentIndex(at);
    startStep1();
}

void TFrm_product::pickCategory()
{
    if (m_mode != Mode::Add)
        return;
    Tfrm_tree_check picker(this);
    if (picker.exec() == QDialog::Accepted)
        chooseCategory(picker.chosenEntry());
}

void TFrm_product::addCategory()
{
    if (m_mode != Mode::Add)
        return;
    Tfrm_splebei_new editor(this);
    editor.exec();
    try {
        fillCategoryList(categoryEntries(Session::current()));
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
}

void TFrm_product::addUnit()
{
    if (!hasRight(Session::current(), kUnitRight)) {
        Messages::warning(kNoRightText);
        return;
    }
    FormRegistry::open(kUnitForm, this, {kUnitPage});
    fillUnitLists();
}

void TFrm_product::moveOn(QLineEdit *from)
{
    const int i = int(m_step1Order.indexOf(from));
    for (int j = i + 1; j < m_step1Order.size(); ++j) {
        QLineEdit *e = m_step1Order.at(j);
        if (e->isVisible() && e->isEnabled() && !e->isReadOnly()) {
            e->setFocus();
            e->selectAll();
            return;
        }
    }
    if (unitStepVisible()) {
        m_steps->setCurrentIndex(1);
        m_unit1->setFocus();
    }
}

void TFrm_product::updateUnitState()
{
    const bool second = !chosenUnit(m_unit2).isEmpty();
    m_ratio1->setEnabled(second);
    m_unit3->setEnabled(second);
    if (!second && m_unit3->currentIndex() != 0)
        m_unit3->setCurrentIndex(0);
    m_ratio2->setEnabled(second && !chosenUnit(m_unit3).isEmpty());
}

QString TFrm_product::summaryText() const
{
    return m_summary->toPlainText();
}

void TFrm_product::updateSummary()
{
    if (!m_summary)
        return;
    const QString u1 = chosenUnit(m_unit1);
    const QString u2 = chosenUnit(m_unit2);
    const QString u3 = chosenUnit(m_unit3);
    QString packing;
    if (!u1.isEmpty()) {
        packing = QStringLiteral("1") + u1;
        if (!u2.isEmpty()) {
            packing += QLatin1Char('*') + m_ratio1->text().trimmed() + u2;
            if (!u3.isEmpty() && !m_ratio2->text().trimmed().isEmpty())
                packing += QLatin1Char('*') + m_ratio2->text().trimmed() + u3;
        }
    }
    const QString smallest = !u3.isEmpty() && !u2.isEmpty() ? u3 : !u2.isEmpty() ? u2 : u1;
    auto orZero = [](const QLineEdit *e) {
        const QString t = e->text().trimmed();
        return t.isEmpty() ? QStringLiteral("0") : t;
    };
    QStringList lines;
    lines << QStringLiteral("规格：") + packing;
    lines << QStringLiteral("库存上限：") + orZero(m_upper) + u1 + QStringLiteral("    库存下限：") + orZero(m_lower) + u1;
    QString prices;
    if (m_seeCost)
        prices += QStringLiteral("进价：") + orZero(m_cost) + QStringLiteral("元/") + smallest + QStringLiteral("    ");
    prices += QStringLiteral("批价：") + orZero(m_wholesale) + QStringLiteral("元/") + smallest;
    prices += QStringLiteral("    售价：") + orZero(m_retail) + QStringLiteral("元/") + smallest;
    lines << prices;
    m_summary->setPlainText(lines.join(QLatin1Char('\n')));
}

void TFrm_product::checkBarcode()
{
    const QString barcode = m_barcode->text().trimmed();
    if (barcode.isEmpty() || !Session::hasCurrent())
        return;
    try {
        if (barcodeTaken(Session::current(), barcode, m_mode == Mode::Change ? m_code : QString())) {
            Messages::warning(kBarcodeDuplicateText);
            m_barcode->setFocus();
            m_barcode->selectAll();
        }
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
}

void TFrm_product::showPricePanel()
{
    m_panelCode->setText(m_mode == Mode::Change ? m_code : goodsCode(m_prefix, m_item->text()));
    m_panelRetail->setText(m_retail->text());
    m_pages->setCurrentIndex(1);
    if (!m_levels.isEmpty())
        m_levels.first()->setFocus();
}

void TFrm_product::confirmPrices()
{
    for (QLineEdit *e : m_levels)
        if (e->text().trimmed().isEmpty())
            e->setText(QStringLiteral("0"));
    m_pages->setCurrentIndex(0);
}

GoodsInput TFrm_product::input() const
{
    GoodsInput in;
    in.categoryPrefix = m_prefix;
    in.itemNumber = m_mode == Mode::Add ? m_item->text() : QString();
    in.code = m_code;
    in.shorthand = m_shorthand->text();
    in.name = m_name->text();
    in.barcode = m_barcode->text();
    in.supplierCode = m_supplierCode->text();
    in.supplierName = m_supplierName->text();
    in.cost = m_cost->text();
    in.wholesale = m_wholesale->text();
    in.retail = m_retail->text();
    in.upperLimit = m_upper->text();
    in.lowerLimit = m_lower->text();
    in.units.largest = chosenUnit(m_unit1);
    in.units.second = chosenUnit(m_unit2);
    in.units.third = chosenUnit(m_unit3);
    in.units.ratio1 = m_ratio1->text();
    in.units.ratio2 = m_ratio2->text();
    in.retired = m_retired->isChecked();
    for (QLineEdit *e : m_levels)
        in.priceLevels << e->text();
    return in;
}

void TFrm_product::focusField(const QString &column)
{
    if (column == kUnitsField) {
        m_pages->setCurrentIndex(0);
        if (unitStepVisible()) {
            m_steps->setCurrentIndex(1);
            m_unit1->setFocus();
        }
        return;
    }
    QLineEdit *e = field(column);
    if (!e)
        return;
    if (m_levels.contains(e)) {
        m_pages->setCurrentIndex(1);
    } else {
        m_pages->setCurrentIndex(0);
        m_steps->setCurrentIndex(0);
    }
    e->setFocus();
    e->selectAll();
}

void TFrm_product::save()
{
    Session &s = Session::current();
    if (m_mode == Mode::Add && m_prefix.isEmpty()) {
        Messages::info(QStringLiteral("请先选择品类!"));
        return;
    }
    const GoodsInput in = input();
    try {
        if (m_mode == Mode::Add)
            validateNewGoods(s, in);
        else
            validateGoodsChange(s, in);
    } catch (const FieldError &e) {
        Messages::info(e.message());
        if (e.column() == kWarehouseField) {
            FormRegistry::open(QStringLiteral("Tfrm_hwxx_info"), this);
            showWarehouse();
            return;
        }
        focusField(e.column());
        return;
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }

    if (m_mode == Mode::Add) {
        if (!Messages::question(QStringLiteral("商品增加"), QStringLiteral("确实要增加商品吗？")))
            return;
        QString code;
        try {
            code = addGoods(s, in);
        } catch (const Error &e) {
            Messages::warning(e.message());
            return;
        }
        m_lastAdded = code;
        Messages::info(QStringLiteral("增加新商品成功！"));
        emit goodsAdded(code);
        // Ready for the next goods of the same category and units.
        SetEditsState(this, 1);
        m_pages->setCurrentIndex(0);
        m_steps->setCurrentIndex(0);
        updateSummary();
        m_item->setFocus();
        return;
    }

    if (!Messages::question(QStringLiteral("记录修改"), QStringLiteral("确实要修改吗？")))
        return;
    try {
        changeGoods(s, in);
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }
    accept();
}

} // namespace tavomi
