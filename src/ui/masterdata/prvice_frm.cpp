#include "ui/masterdata/prvice_frm.h"

#include "masterdata/partner_service.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace tavomi {

MasterRow keyWithSelectedName(const MasterTableDef &table, const QString &nameColumn, const MasterRow &typed,
                              const MasterRow &selected)
{
    if (selected.isEmpty())
        return typed;
    MasterRow key = typed;
    key[table.indexOf(nameColumn)] = table.value(selected, nameColumn);
    return key;
}

MasterFormDescriptor Tfrm_prvice::formDescriptor()
{
    MasterFormDescriptor s;
    s.objectName = QStringLiteral("Tfrm_prvice");
    s.caption = QStringLiteral("供应商信息管理");
    s.table = &supplierTable();
    s.fields = {
        {QStringLiteral("编码"), QStringLiteral("商号(拼音码)*："), QStringLiteral("编码")},
        {QStringLiteral("公司名"), QStringLiteral("供应商名称(公司名)*:"), QStringLiteral("公司名")},
        {QStringLiteral("联系人"), QStringLiteral("联系人："), QStringLiteral("联系人")},
        {QStringLiteral("电话一"), QStringLiteral("地 址："), QStringLiteral("地址")},
        {QStringLiteral("电话二"), QStringLiteral("传 真："), QStringLiteral("传真")},
        {QStringLiteral("电话"), QStringLiteral("电 话："), QStringLiteral("电话")},
        {QStringLiteral("手机"), QStringLiteral("手 机："), QStringLiteral("手机")},
        {QStringLiteral("邮箱"), QStringLiteral("邮 箱："), QStringLiteral("邮箱")},
        {QStringLiteral("银行账户"), QStringLiteral("银行账户："), QStringLiteral("银行账户")},
        {QStringLiteral("行业类别"), QStringLiteral("行业类别："), QStringLiteral("行业类别")},
        {QStringLiteral("期初应付"), QStringLiteral("期初应付："), QStringLiteral("期初应付")},
    };
    s.newHint = QStringLiteral("新增供商资料");
    s.deleteHint = QStringLiteral("删除当前供应商资料");
    s.saveHint = QStringLiteral("保存供应商资料");
    s.searchHint = QStringLiteral("开始查找供应商资料");
    s.exportText = QStringLiteral("导出EXCEL");
    s.exportName = QStringLiteral("供商信息");
    s.printText = QStringLiteral("打印");
    s.printTitle = QStringLiteral("供应商资料");
    s.printTemplate = QStringLiteral("zcfrf/gyszl_report.frf");
    s.printColumns = {QStringLiteral("公司名"), QStringLiteral("联系人"), QStringLiteral("电话一"), QStringLiteral("电话二")};
    s.printLog = QStringLiteral("打印供应商资料");
    s.requiredMissingText = QStringLiteral("请你确保:带[*]号的资料不为空!");
    s.insertCaption = QStringLiteral("系统提示");
    s.insertQuestion = QStringLiteral("是否保存此供应商资料？");
    s.insertedText = QStringLiteral("保存成功！");
    s.updatedText = QStringLiteral("修改成功！");
    s.saveFailedText = QStringLiteral("保存失败！");
    s.deleteCaption = QStringLiteral("删除提示");
    s.deleteQuestion = QStringLiteral("是否删除当前供应商？");
    s.deletedText = QStringLiteral("删除成功！");
    s.deleteFailedText = QStringLiteral("删除失败！");
    s.enterSavesColumn = QStringLiteral("期初应付");
    s.lookupKey = [](const MasterRow &typed, const MasterRow &selected) {
        return keyWithSelectedName(supplierTable(), QStringLiteral("公司名"), typed, selected);
    };
    return s;
}

Tfrm_prvice::Tfrm_prvice(QWidget *parent)
    : MasterDataForm(formDescriptor(), parent)
{}

MasterFormDescriptor Tfrm_ywy_info::formDescriptor()
{
    MasterFormDescriptor s;
    s.objectName = QStringLiteral("Tfrm_ywy_info");
    s.caption = QStringLiteral("业务员信息管理");
    s.table = &staffTable();
    s.fields = {
        {QStringLiteral("客服代号"), QStringLiteral("客服代号*："), QStringLiteral("客服代号")},
        {QStringLiteral("业务员姓名"), QStringLiteral("业务员姓名*:"), QStringLiteral("业务员姓名")},
        {QStringLiteral("身份证号"), QStringLiteral("身份证号："), QStringLiteral("身份证号")},
        {QStringLiteral("家庭地址"), QStringLiteral("家庭地址："), QStringLiteral("家庭地址")},
        {QStringLiteral("电话"), QStringLiteral("家庭电话："), QStringLiteral("家庭电话")},
        {QStringLiteral("手机"), QStringLiteral("手机："), QStringLiteral("手机")},
        {QStringLiteral("备注"), QStringLiteral("备注："), QStringLiteral("备注")},
        {QStringLiteral("工资卡号"), QStringLiteral("工资卡号："), QStringLiteral("工资卡号")},
        {QStringLiteral("所属片区"), QStringLiteral("所属片区："), QStringLiteral("所属片区")},
        {QStringLiteral("邮箱"), QStringLiteral("邮箱："), QStringLiteral("邮箱")},
        {QStringLiteral("学历"), QStringLiteral("学历："), QStringLiteral("学历")},
    };
    s.exitText = QStringLiteral("退出管理");
    s.newHint = QStringLiteral("新增供商资料");
    s.deleteHint = QStringLiteral("删除当前业务员资料");
    s.saveHint = QStringLiteral("保存业务员资料");
    s.searchHint = QStringLiteral("开始查找业务员资料");
    s.exportText = QStringLiteral("导出EXCEL");
    s.exportName = QStringLiteral("业务员信息");
    s.requiredMissingText = QStringLiteral("请你确保:带[*]的资料不为空!");
    s.insertCaption = QStringLiteral("系统提示");
    s.insertQuestion = QStringLiteral("是否保存此业务员？");
    s.insertedText = QStringLiteral("保存成功！");
    s.updatedText = QStringLiteral("修改成功！");
    s.saveFailedText = QStringLiteral("保存失败！");
    s.deleteCaption = QStringLiteral("删除提示");
    s.deleteQuestion = QStringLiteral("是否删除当前业务员？");
    s.deletedText = QStringLiteral("删除成功！");
    s.deleteFailedText = QStringLiteral("删除失败！");
    s.enterSavesColumn = QStringLiteral("备注");
    s.lookupKey = [](const MasterRow &typed, const MasterRow &selected) {
        return keyWithSelectedName(staffTable(), QStringLiteral("业务员姓名"), typed, selected);
    };
    return s;
}

Tfrm_ywy_info::Tfrm_ywy_info(QWidget *parent)
    : MasterDataForm(formDescriptor(), parent)
{}

MasterFormDescriptor Tfrm_jhrzlgl::formDescriptor()
{
    MasterFormDescriptor s;
    s.objectName = QStringLiteral("Tfrm_jhrzlgl");
    s.caption = QStringLiteral("借货人资料管理");
    s.table = &borrowerTable();
    s.fields = {
        {QStringLiteral("编码"), QStringLiteral("编  码:"), QStringLiteral("编码")},
        {QStringLiteral("联系人"), QStringLiteral("借货人:"), QStringLiteral("借货人")},
        {QStringLiteral("电话"), QStringLiteral("电  话:"), QStringLiteral("电话")},
        {QStringLiteral("住址"), QStringLiteral("住  址:"), QStringLiteral("住址")},
    };
    s.exitText = QStringLiteral("关  闭");
    s.newText = QStringLiteral("开  始");
    s.deleteText = QStringLiteral("删  除");
    s.saveText = QStringLiteral("保  存");
    s.searchText.clear();
    s.liveSearch = false;
    s.requiredMissingText = QStringLiteral("对不起,请您先正确输入<编码>和<借货人>资料才能保存!");
    s.insertedText = QStringLiteral("保存成功！");
    s.updatedText = QStringLiteral("修改成功！");
    s.saveFailedText = QStringLiteral("操作失败!");
    s.deleteCaption = QStringLiteral("删除提示");
    s.deleteQuestion = QStringLiteral("是否删除当前借货人？");
    s.deletedText = QStringLiteral("删除成功!");
    s.deleteFailedText = QStringLiteral("操作失败!");
    s.nothingToDeleteText = QStringLiteral("对不起当前无记录可删除!");
    s.enterSavesColumn = QStringLiteral("住址");
    s.saveFollowsBoxes = true;
    return s;
}

Tfrm_jhrzlgl::Tfrm_jhrzlgl(QWidget *parent)
    : MasterDataForm(formDescriptor(), parent)
{
    // The buttons read 开始, 完成, 删除, 保存, 关闭 from left to right.
    QHBoxLayout *row = buttonRow();
    QPushButton *done = addToolButton(QStringLiteral("完  成"), QString());
    connect(done, &QPushButton::clicked, this, [this] { lockBoxes(); });
    row->removeWidget(done);
    row->insertWidget(row->indexOf(button(descriptor().newText)) + 1, done);
    QPushButton *close = button(descriptor().exitText);
    row->removeWidget(close);
    row->insertWidget(row->count() - 1, close);
}

} // namespace tavomi
