#include "ui/masterdata/khzl_frm.h"

#include "common/error.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"
#include "masterdata/partner_service.h"
#include "ui/masterdata/prvice_frm.h"
#include "ui/masterdata/sort_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavomi {


MasterFormDescriptor Tfrm_khzl::formDescriptor()
{
    MasterFormDescriptor s;
    s.objectName = QStringLiteral("Tfrm_khzl");
    s.caption = QStringLiteral("客户信息管理");
    s.table = &customerTable();
    s.fields = {
        {QStringLiteral("编码"), QStringLiteral("编码(拼音码)*："), QStringLiteral("编码")},
        {QStringLiteral("公司名"), QStringLiteral("客户名称(公司名)*："), QStringLiteral("客户名称")},
        {QStringLiteral("电话一"), QStringLiteral("地址*："), QStringLiteral("地址")},
        {QStringLiteral("性质"), QStringLiteral("性质/价格*："), QStringLiteral("售价性质"), customerPriceLevels()},
        {QStringLiteral("电话二"), QStringLiteral("传真："), QStringLiteral("传真")},
        {QStringLiteral("负责人"), QStringLiteral("电话："), QStringLiteral("电话")},
        {QStringLiteral("传真"), QStringLiteral("手机："), QStringLiteral("手机")},
        {QStringLiteral("联系人"), QStringLiteral("联系人："), QStringLiteral("联系人")},
        {QStringLiteral("银行账号"), QStringLiteral("银行账户："), QStringLiteral("银行账户")},
        {QStringLiteral("结账方式"), QStringLiteral("结账方式："), QStringLiteral("结账方式")},
        {QStringLiteral("结账日"), QStringLiteral("结账日："), QStringLiteral("结账日")},
        {QStringLiteral("行业类别"), QStringLiteral("行业类别："), QStringLiteral("行业类别")},
        {QStringLiteral("所处片区"), QStringLiteral("所处片区："), QStringLiteral("所处片区")},
        {QStringLiteral("邮件地址"), QStringLiteral("邮件："), QStringLiteral("邮件")},
        {QStringLiteral("所处街区"), QStringLiteral("期初应收："), QStringLiteral("期初应收")},
    };
    s.newHint = QStringLiteral("新增客户资料");
    s.deleteHint = QStringLiteral("删除当前客户资料");
    s.saveHint = QStringLiteral("保存客户资料");
    s.searchHint = QStringLiteral("查询客户资料");
    s.exportText = QStringLiteral("导出EXCEL");
    s.exportName = QStringLiteral("客户信息");
    s.printText = QStringLiteral("打印");
    s.printTitle = QStringLiteral("客户资料");
    s.printTemplate = QStringLiteral("zcfrf/khzl_report.frf");
    s.printColumns = {QStringLiteral("公司名"), QStringLiteral("联系人"), QStringLiteral("电话一"), QStringLiteral("电话二"),
                      QStringLiteral("所处片区"), QStringLiteral("性质"), QStringLiteral("邮件地址")};
    s.printRight = QStringLiteral("客户资料打印");
    s.printLog = QStringLiteral("打印客户资料");
    s.requiredMissingText = QStringLiteral("请你确保带 [*] 的资料不为空!");
    s.insertCaption = QStringLiteral("系统提示");
    s.insertQuestion = QStringLiteral("是否保存此客户？");
    s.insertedText = QStringLiteral("保存成功！");
    s.updateCaption = QStringLiteral("进销存软件");
    s.updateQuestion =
        QStringLiteral("此客户编码已经存在,你是否要修改此编码的客户资料呢?如果不要，请你重新输入其它的客户编码!");
    s.updatedText = QStringLiteral("修改成功！");
    s.saveFailedText = QStringLiteral("保存失败！");
    s.enterSavesColumn = QStringLiteral("所处街区");
    s.lockAfterSave = true;
    s.lookupKey = [](const MasterRow &typed, const MasterRow &selected) {
        return keyWithSelectedName(customerTable(), QStringLiteral("公司名"), typed, selected);
    };
    return s;
}

Tfrm_khzl::Tfrm_khzl(QWidget *parent)
    : MasterDataForm(formDescriptor(), parent)
{
    connect(addToolButton(QStringLiteral("排序"), QStringLiteral("客户资料排序")), &QPushButton::clicked, this,
            [this] { chooseSort(); });
}

void Tfrm_khzl::removeCurrent()
{
    const int row = currentRow();
    if (row < 0)
        return;
    TFrm_delete_cous d(TFrm_delete_cous::Panel::Delete, cell(row, QStringLiteral("编码")), cell(row, QStringLiteral("公司名")), this);
    d.exec();
    relist();
}

void Tfrm_khzl::chooseSort()
{
    TFrm_delete_cous d(TFrm_delete_cous::Panel::Sort, QString(), QString(), this);
    if (d.exec() == QDialog::Accepted)
        listSortedBy(d.sortColumn(), d.sortOrder());
}

TFrm_delete_cous::TFrm_delete_cous(Panel panel, const QString &code, const QString &name, QWidget *parent)
    : QDialog(parent)
    , m_code(code)
    , m_name(name)
{
    setObjectName(QStringLiteral("TFrm_delete_cous"));
    auto *layout = new QVBoxLayout(this);
    auto *cancel = new QPushButton(QStringLiteral("放  弃"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (panel == Panel::Delete) {
        setWindowTitle(QStringLiteral("删除客户资料条件"));
        auto *form = new QFormLayout;
        auto readOnly = [this](const QString &text) {
            auto *e = new QLineEdit(text, this);
            e->setReadOnly(true);
            return e;
        };
        form->addRow(QStringLiteral("客户名称："), readOnly(name));
        form->addRow(QStringLiteral("客户编码："), readOnly(code));
        layout->addLayout(form);
        auto check = [this, layout](const QString &text, const QString &hint) {
            auto *c = new QCheckBox(text, this);
            c->setToolTip(hint);
            layout->addWidget(c);
            return c;
        };
        m_customer = check(QStringLiteral("删除客户资料"), QStringLiteral("只删除客户资料"));
        m_prices = check(QStringLiteral("删除客户最近售价"), QStringLiteral("重新建立客户售价"));
        m_sales = check(QStringLiteral("删除客户销售记录"), QStringLiteral("删除客户所有销售记录"));
        auto *remove = new QPushButton(QStringLiteral("删  除"), this);
        connect(remove, &QPushButton::clicked, this, [this] {
            if (deleteChosen())
                accept();
        });
        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(remove);
        buttons->addWidget(cancel);
        layout->addLayout(buttons);
    } else {
        setWindowTitle(QStringLiteral("客户资料排序条件选择"));
        m_sort = new MasterSortPanel(customerSortFields(), customerSortColumn, this);
        m_sort->field()->setCurrentIndex(1);
        connect(m_sort, &MasterSortPanel::chosen, this, &QDialog::accept);
        m_sort->buttonRow()->addWidget(cancel);
        layout->addWidget(m_sort);
    }
}

bool TFrm_delete_cous::deleteChosen()
{
    CustomerDeletion what;
    what.customer = m_customer->isChecked();
    what.recentPrices = m_prices->isChecked();
    what.salesRecords = m_sales->isChecked();
    if (!what.customer && !what.recentPrices && !what.salesRecords) {
        Messages::info(QStringLiteral("请选择要删除的项目!"));
        return false;
    }
    if (!Messages::question(QStringLiteral("删除提示"), QStringLiteral("确定删除此客户？")))
        return false;
    try {
        deleteCustomer(Session::current(), m_code, m_name, what);
    } catch (const Error &e) {
        Messages::warning(e.message() == kNoRightText || e.message() == kCustomerSalesBlocked
                              ? e.message()
                              : QStringLiteral("删除失败！") + QLatin1Char('\n') + e.message());
        return false;
    }
    Messages::info(QStringLiteral("删除成功！"));
    return true;
}

bool TFrm_delete_cous::sortChosen()
{
    return m_sort && m_sort->choose();
}

QComboBox *TFrm_delete_cous::sortField() const
{
    return m_sort ? m_sort->field() : nullptr;
}

QComboBox *TFrm_delete_cous::sortDirection() const
{
    return m_sort ? m_sort->direction() : nullptr;
}

QString TFrm_delete_cous::sortColumn() const
{
    return m_sort ? m_sort->column() : QString();
}

Qt::SortOrder TFrm_delete_cous::sortOrder() const
{
    return m_sort ? m_sort->order() : Qt::AscendingOrder;
}

} // namespace tavomi
