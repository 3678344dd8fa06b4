#include "ui/masterdata/partner_picker.h"

#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"
#include "ui/app/form_registry.h"
#include "ui/common/data_grid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace tavomi {

PartnerPicker::PartnerPicker(const PartnerPickerDescriptor &descriptor, QWidget *parent)
    : QDialog(parent)
    , m_d(descriptor)
{
    setObjectName(m_d.objectName);
    setWindowTitle(m_d.caption);
    auto *layout = new QVBoxLayout(this);
    auto *boxes = new QGridLayout;
    for (int i = 0; i < m_d.searches.size(); ++i) {
        auto *label = new QLabel(m_d.searches.at(i).caption, this);
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        edit->setToolTip(QStringLiteral("支持模糊查找"));
        label->setBuddy(edit);
        boxes->addWidget(label, 0, i * 2);
        boxes->addWidget(edit, 0, i * 2 + 1);
        connect(edit, &QLineEdit::textChanged, this, [this] { search(); });
        m_boxes << edit;
    }
    layout->addLayout(boxes);

    auto *row = new QHBoxLayout;
    if (m_d.priceLevelChoice) {
        const QList<QPair<QString, QString>> levels = {{QStringLiteral("售价"), QStringLiteral("售价")},
                                                       {QStringLiteral("批价"), QStringLiteral("批价")},
                                                       {QStringLiteral("全部"), QString()}};
        for (const auto &l : levels) {
            auto *r = new QRadioButton(l.first, this);
            const QString level = l.second;
            connect(r, &QRadioButton::toggled, this, [this, level](bool on) {
                if (on)
                    setPriceLevel(level);
            });
            row->addWidget(r);
            m_levels << r;
        }
        m_levels.last()->setChecked(true);
    }
    row->addStretch();
    auto *add = new QPushButton(m_d.addText, this);
    add->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, [this] { addPartner(); });
    row->addWidget(add);
    auto *exit = new QPushButton(QStringLiteral("退出"), this);
    exit->setAutoDefault(false);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(exit);
    layout->addLayout(row);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    QList<GridColumn> columns;
    for (int i = 0; i < m_d.gridColumns.size(); ++i)
        columns.append({m_d.gridColumns.at(i), m_d.gridTitles.value(i, m_d.gridColumns.at(i))});
    m_grid->setColumns(columns);
    m_grid->view()->setToolTip(m_d.chooseHint);
    m_grid->view()->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->view()->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_grid, &DataGrid::activated, this, [this](int r) {
        if (choose(r))
            accept();
    });
    layout->addWidget(m_grid, 1);
    resize(640, 440);
    search();
}

void PartnerPicker::setTargets(QLineEdit *codeBox, QLineEdit *nameBox)
{
    m_codeTarget = codeBox;
    m_nameTarget = nameBox;
}

void PartnerPicker::setPriceLevel(const QString &level)
{
    m_level = level;
    search();
}

void PartnerPicker::search()
{
    if (!m_grid)
        return; // still being built
    Session &s = Session::current();
    const QString like = likeOperator(s);
    QStringList conditions = {m_d.nameColumn + QStringLiteral("<>''")};
    QVariantList values;
    for (int i = 0; i < m_d.searches.size() && i < m_boxes.size(); ++i) {
        const QString t = m_boxes.at(i)->text().trimmed();
        if (t.isEmpty())
            continue;
        QStringList any;
        for (const QString &c : m_d.searches.at(i).columns) {
            any << QStringLiteral("%1 %2 ?").arg(c, like) + kLikeEscape;
            values << containsPattern(t);
        }
        conditions << QLatin1Char('(') + any.join(QStringLiteral(" or ")) + QLatin1Char(')');
    }
    if (m_d.priceLevelChoice && !m_level.isEmpty()) {
        conditions << QStringLiteral("性质 %1 ?").arg(like) + kLikeEscape;
        values << containsPattern(m_level);
    }
    try {
        m_grid->setQuery(QStringLiteral("select %1 from %2 where %3")
                             .arg(m_d.gridColumns.join(QLatin1Char(',')), m_d.table, conditions.join(QStringLiteral(" and "))),
                         values);
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
}

bool PartnerPicker::choose(int row)
{
    const QString code = m_grid->value(row, m_d.codeColumn).toString().trimmed();
    if (code.isEmpty())
        return false;
    m_code = code;
    m_name = m_grid->value(row, m_d.nameColumn).toString().trimmed();
    // Code and name always go together, so a partner never carries another's code.
    if (m_nameTarget)
        m_nameTarget->setText(m_name);
    if (m_codeTarget)
        m_codeTarget->setText(m_code);
    return true;
}

void PartnerPicker::addPartner()
{
    if (!hasRight(Session::current(), m_d.addRight)) {
        Messages::warning(kNoRightText);
        return;
    }
    FormRegistry::open(m_d.addForm, this);
    search();
}

PartnerPickerDescriptor Tfrm_check_khzl::pickerDescriptor()
{
    PartnerPickerDescriptor d;
    d.objectName = QStringLiteral("Tfrm_check_khzl");
    d.caption = QStringLiteral("客户档案浏览");
    d.table = QStringLiteral("客户");
    d.codeColumn = QStringLiteral("编码");
    d.nameColumn = QStringLiteral("公司名");
    d.searches = {{QStringLiteral("客户编码"), {QStringLiteral("编码")}},
                  {QStringLiteral("客户名称"), {QStringLiteral("公司名")}},
                  {QStringLiteral("电话号码或地址"), {QStringLiteral("电话一"), QStringLiteral("负责人"), QStringLiteral("传真")}}};
    d.gridColumns = {QStringLiteral("编码"), QStringLiteral("公司名"), QStringLiteral("性质"), QStringLiteral("电话一")};
    d.gridTitles = {QStringLiteral("编码"), QStringLiteral("客户名称"), QStringLiteral("性质"), QStringLiteral("电话与地址")};
    d.priceLevelChoice = true;
    d.addText = QStringLiteral("新增客户资料");
    d.addRight = QStringLiteral("客户资料查询");
    d.addForm = QStringLiteral("Tfrm_khzl");
    d.chooseHint = QStringLiteral("双击选择客户");
    return d;
}

Tfrm_check_khzl::Tfrm_check_khzl(QWidget *parent)
    : PartnerPicker(pickerDescriptor(), parent)
{}

PartnerPickerDescriptor Tfrm_gyshz_check::pickerDescriptor()
{
    PartnerPickerDescriptor d;
    d.objectName = QStringLiteral("Tfrm_gyshz_check");
    d.caption = QStringLiteral("供应商档案浏览");
    d.table = QStringLiteral("供应商");
    d.codeColumn = QStringLiteral("编码");
    d.nameColumn = QStringLiteral("公司名");
    d.searches = {{QStringLiteral("供应商编码"), {QStringLiteral("编码")}},
                  {QStringLiteral("供应商名称"), {QStringLiteral("公司名")}},
                  {QStringLiteral("电话"), {QStringLiteral("电话"), QStringLiteral("手机"), QStringLiteral("电话一")}},
                  {QStringLiteral("联系人"), {QStringLiteral("联系人")}}};
    d.gridColumns = {QStringLiteral("编码"), QStringLiteral("公司名"), QStringLiteral("联系人"), QStringLiteral("电话一"),
                     QStringLiteral("电话二")};
    d.gridTitles = {QStringLiteral("编码"), QStringLiteral("公司名"), QStringLiteral("联系人"), QStringLiteral("地址"),
                    QStringLiteral("传真")};
    d.addText = QStringLiteral("新增供应商资料");
    d.addRight = QStringLiteral("供应商信息管理");
    d.addForm = QStringLiteral("Tfrm_prvice");
    d.chooseHint = QStringLiteral("双击选择供应商");
    return d;
}

Tfrm_gyshz_check::Tfrm_gyshz_check(QWidget *parent)
    : PartnerPicker(pickerDescriptor(), parent)
{}

void openPartnerPicker(PartnerPicker &picker, QWidget *caller, const QStringList &arguments)
{
    const QString codeName = arguments.value(0, QStringLiteral("Edit4"));
    const QString nameName = arguments.value(1, QStringLiteral("Edit3"));
    if (caller)
        picker.setTargets(caller->findChild<QLineEdit *>(codeName), caller->findChild<QLineEdit *>(nameName));
    picker.exec();
}

} // namespace tavomi
