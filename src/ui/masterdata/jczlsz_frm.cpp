#include "ui/masterdata/jczlsz_frm.h"

#include "common/error.h"
#include "common/messages.h"
#include "common/session.h"
#include "ui/common/form_helpers.h"
#include "ui/masterdata/workstation_defaults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tavomi {

BasicListPage::BasicListPage(const BasicListDef &def, QWidget *parent)
    : QWidget(parent)
    , m_def(def)
{
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QHBoxLayout;
    auto button = [this](const QString &text, auto slot) {
        auto *b = new QPushButton(text, this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    buttons->addWidget(button(QStringLiteral("增加"), [this] { add(); }));
    m_changeButton = button(QStringLiteral("修改"), [this] { change(); });
    m_deleteButton = button(QStringLiteral("删除"), [this] { remove(); });
    buttons->addWidget(m_changeButton);
    buttons->addWidget(m_deleteButton);
    buttons->addStretch();
    layout->addLayout(buttons);

    auto *body = new QHBoxLayout;
    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    QStringList titles = {QStringLiteral("编码"), m_def.nameTitle};
    if (m_def.amountShown)
        titles << m_def.amountColumn;
    m_grid->setColumnCount(int(titles.size()));
    m_grid->setHorizontalHeaderLabels(titles);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->setToolTip(QStringLiteral("双击可以修改记录哦"));
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this] { change(); });
    body->addWidget(m_grid, 1);

    m_panel = new QGroupBox(this);
    auto *form = new QFormLayout(m_panel);
    m_code = new QLineEdit(m_panel);
    m_code->setReadOnly(true);
    m_name = new QLineEdit(m_panel);
    m_amount = new QLineEdit(m_panel);
    form->addRow(m_def.codeLabel, m_code);
    form->addRow(m_def.nameLabel, m_name);
    form->addRow(m_def.amountLabel.isEmpty() ? QStringLiteral("期初金额") : m_def.amountLabel, m_amount);
    if (!m_def.amountShown) {
        m_amount->setVisible(false);
        form->labelForField(m_amount)->setVisible(false);
    }
    connect(m_name, &QLineEdit::returnPressed, this, [this] { save(); });
    auto *panelButtons = new QHBoxLayout;
    panelButtons->addWidget(button(QStringLiteral("保存"), [this] { save(); }));
    panelButtons->addWidget(button(QStringLiteral("取消"), [this] { cancel(); }));
    form->addRow(panelButtons);
    body->addWidget(m_panel);
    layout->addLayout(body, 1);
    showPanel(false);
    refresh();
}

bool BasicListPage::panelShown() const
{
    return !m_panel->isHidden();
}

void BasicListPage::showPanel(bool on)
{
    m_panel->setVisible(on);
    if (!on) {
        m_mode = Mode::Browse;
        m_changeButton->setEnabled(true);
        m_deleteButton->setEnabled(true);
    }
}

void BasicListPage::refresh()
{
    try {
        const QList<BasicListRow> rows = readBasicList(Session::current(), m_def);
        m_grid->setRowCount(int(rows.size()));
        for (int i = 0; i < rows.size(); ++i) {
            m_grid->setItem(i, 0, new QTableWidgetItem(rows.at(i).code));
            m_grid->setItem(i, 1, new QTableWidgetItem(rows.at(i).name));
            if (m_def.amountShown)
                m_grid->setItem(i, 2, new QTableWidgetItem(QString::number(rows.at(i).amount, 'f', 2)));
        }
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
}

void BasicListPage::add()
{
    try {
        m_code->setText(nextBasicCode(Session::current(), m_def));
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }
    m_mode = Mode::Add;
    m_name->clear();
    m_amount->setText(m_def.kind == BasicList::Accounts ? QStringLiteral("0") : QString());
    m_amount->setEnabled(true);
    showPanel(true);
    m_mode = Mode::Add;
    m_name->setFocus();
}

void BasicListPage::change()
{
    const int row = m_grid->currentRow();
    if (row < 0 || !m_grid->item(row, 0)) {
        Messages::info(QStringLiteral("当前没有记录可修改!"));
        return;
    }
    m_code->setText(m_grid->item(row, 0)->text());
    m_name->setText(m_grid->item(row, 1)->text());
    m_amount->setText(m_def.amountShown && m_grid->item(row, 2) ? m_grid->item(row, 2)->text() : QString());
    showPanel(true);
    m_mode = Mode::Change;
    if (m_def.kind == BasicList::Accounts) {
        // An account's opening amount stays as it was added.
        m_amount->setEnabled(false);
        m_changeButton->setEnabled(false);
        m_deleteButton->setEnabled(false);
    }
    m_name->setFocus();
}

void BasicListPage::save()
{
    if (m_mode == Mode::Browse || m_name->text().trimmed().isEmpty())
        return;
    try {
        Session &s = Session::current();
        if (m_mode == Mode::Add)
            addBasicRow(s, m_def, m_code->text(), m_name->text(), m_amount->text());
        else
            changeBasicRow(s, m_def, m_code->text(), m_name->text(), m_amount->text());
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }
    showPanel(false);
    refresh();
}

void BasicListPage::cancel()
{
    showPanel(false);
}

void BasicListPage::remove()
{
    showPanel(false);
    const int row = m_grid->currentRow();
    if (row < 0 || !m_grid->item(row, 0)) {
        Messages::info(QStringLiteral("当前没有记录可删除!"));
        return;
    }
    if (!Messages::question(QStringLiteral("删除提示"), m_def.deleteQuestion))
        return;
    try {
        deleteBasicRow(Session::current(), m_def, m_grid->item(row, 0)->text(), m_grid->item(row, 1)->text());
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }
    refresh();
}

DefaultsPage::DefaultsPage(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    auto *stores = new QGroupBox(QStringLiteral("各模块默认仓库设置"), this);
    auto *grid = new QGridLayout(stores);
    const QStringList &keys = defaultWarehouseKeys();
    for (int i = 0; i < keys.size(); ++i) {
        auto *combo = new QComboBox(stores);
        combo->setObjectName(QStringLiteral("ComboBox%1").arg(i + 1));
        grid->addWidget(new QLabel(keys.at(i), stores), i / 2, (i % 2) * 2);
        grid->addWidget(combo, i / 2, (i % 2) * 2 + 1);
        connect(combo, &QComboBox::currentIndexChanged, this, &DefaultsPage::changed);
        m_warehouses << combo;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addWidget(stores);

    auto *other = new QGroupBox(QStringLiteral("其它辅助设置"), this);
    auto *form = new QGridLayout(other);
    m_decimals = new QSpinBox(other);
    m_decimals->setRange(0, 4);
    form->addWidget(new QLabel(QStringLiteral("单价小数位数："), other), 0, 0);
    form->addWidget(m_decimals, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("位"), other), 0, 2);
    m_discount = new QLineEdit(other);
    form->addWidget(new QLabel(QStringLiteral("销售出货默认折扣："), other), 1, 0);
    form->addWidget(m_discount, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("折"), other), 1, 2);
    m_noDiscount = new QCheckBox(QStringLiteral("不打折"), other);
    form->addWidget(m_noDiscount, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("说明:输入0为不打折,1为1折,8.8为8.8折,..."), other), 2, 0, 1, 4);
    form->setColumnStretch(1, 1);
    layout->addWidget(other);
    auto *saveRow = new QHBoxLayout;
    saveRow->addStretch();
    auto *save = new QPushButton(QStringLiteral("保存设置"), this);
    save->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, [this] {
        if (apply())
            Messages::info(QStringLiteral("设置成功!"));
    });
    saveRow->addWidget(save);
    layout->addLayout(saveRow);
    layout->addStretch();

    connect(m_decimals, &QSpinBox::valueChanged, this, &DefaultsPage::changed);
    connect(m_discount, &QLineEdit::textChanged, this, &DefaultsPage::changed);
    connect(m_noDiscount, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_discount->setText(QStringLiteral("0"));
        m_discount->setEnabled(!on);
    });
    load();
}

void DefaultsPage::load()
{
    const WorkstationDefaults d = readWorkstationDefaults();
    for (int i = 0; i < m_warehouses.size(); ++i) {
        QComboBox *c = m_warehouses.at(i);
        c->clear();
        try {
            FillPlaceCombo(Session::current(), 0, c);
        } catch (const Error &) {
        }
        c->setCurrentIndex(c->findText(d.warehouses.value(i)));
    }
    m_decimals->setValue(d.decimals);
    m_discount->setText(d.discountText);
}

bool DefaultsPage::apply()
{
    WorkstationDefaults d;
    for (QComboBox *c : m_warehouses)
        d.warehouses << (c->currentIndex() >= 0 ? c->currentText() : QString());
    d.decimals = m_decimals->value();
    d.discountText = m_discount->text();
    try {
        writeWorkstationDefaults(d);
    } catch (const Error &e) {
        Messages::warning(e.message());
        m_discount->setFocus();
        return false;
    }
    return true;
}

QString Tfrm_jczlsz::rightFor(const QString &page)
{
    if (page == QStringLiteral("默认资料设置"))
        return QStringLiteral("默认资料设置");
    if (page.isEmpty() || page == QStringLiteral("计量单位"))
        return QStringLiteral("计量单位增加");
    return QStringLiteral("银行账户信息增加");
}

Tfrm_jczlsz::Tfrm_jczlsz(const QString &page, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Tfrm_jczlsz"));
    setWindowTitle(QStringLiteral("基础资料设置"));
    auto *layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    for (const BasicListDef &def : basicLists()) {
        auto *p = new BasicListPage(def, m_tabs);
        m_pages << p;
        m_tabs->addTab(p, def.page);
    }
    m_defaults = new DefaultsPage(m_tabs);
    m_tabs->addTab(m_defaults, QStringLiteral("默认资料设置"));
    layout->addWidget(m_tabs, 1);

    auto *bottom = new QHBoxLayout;
    m_startup = new QCheckBox(QStringLiteral("下次启动时不再显示本窗口"), this);
    bottom->addWidget(m_startup);
    bottom->addStretch();
    m_apply = new QPushButton(QStringLiteral("应用"), this);
    m_apply->setAutoDefault(false);
    connect(m_apply, &QPushButton::clicked, this, [this] { apply(); });
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    bottom->addWidget(m_apply);
    bottom->addWidget(close);
    layout->addLayout(bottom);

    if (readWorkstationDefaults().noStartupPage) {
        m_startup->setChecked(true);
        try {
            writeStartupSetting(true); // ticking it here counts as a click of the box
        } catch (const Error &e) {
            Messages::warning(e.message());
        }
    }
    connect(m_startup, &QCheckBox::clicked, this, [this](bool on) {
        try {
            writeStartupSetting(on);
        } catch (const Error &e) {
            Messages::warning(e.message());
        }
    });
    connect(m_defaults, &DefaultsPage::changed, this, [this] { m_apply->setEnabled(true); });
    m_apply->setEnabled(false);
    showPage(page.isEmpty() ? basicLists().first().page : page);
    resize(720, 480);
}

bool Tfrm_jczlsz::showPage(const QString &caption)
{
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (m_tabs->tabText(i) == caption) {
            m_tabs->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

BasicListPage *Tfrm_jczlsz::listPage(BasicList kind) const
{
    for (BasicListPage *p : m_pages)
        if (p->definition().kind == kind)
            return p;
    return nullptr;
}

void Tfrm_jczlsz::apply()
{
    if (m_defaults->apply())
        m_apply->setEnabled(false);
}

} // namespace tavomi
