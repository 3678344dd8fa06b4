#include "ui/masterdata/hwxx_info_frm.h"

#include "masterdata/warehouse_service.h"

namespace tavomi {

MasterFormDescriptor Tfrm_hwxx_info::formDescriptor()
{
    MasterFormDescriptor s;
    s.objectName = QStringLiteral("Tfrm_hwxx_info");
    s.caption = QStringLiteral("货位信息管理");
    s.table = &warehouseTable();
    s.fields = {
        {QStringLiteral("货位编码"), QStringLiteral("仓库编码："), QStringLiteral("货位编码")},
        {QStringLiteral("货位名称"), QStringLiteral("仓库名称:"), QStringLiteral("货位名称")},
        {QStringLiteral("货位性质"), QStringLiteral("仓库性质："), QStringLiteral("货位性质")},
        {QStringLiteral("管理人员"), QStringLiteral("管理人员："), QStringLiteral("管理人员")},
        {QStringLiteral("备注"), QStringLiteral("备注："), QStringLiteral("备注")},
    };
    s.newText = QStringLiteral("新增");
    s.newHint = QStringLiteral("新增货位资料");
    s.deleteText = QStringLiteral("删除");
    s.deleteHint = QStringLiteral("删除当前货位资料");
    s.saveText = QStringLiteral("保存");
    s.saveHint = QStringLiteral("保存货位资料");
    s.searchText = QStringLiteral("查找");
    s.searchHint = QStringLiteral("开始查找货位资料");
    s.sortText = QStringLiteral("排序资料");
    s.requiredMissingText = QStringLiteral("请你确保:货位编码,货位名称 这二个重要资料不为空!");
    s.insertCaption = QStringLiteral("操作提示");
    s.insertQuestion = QStringLiteral("是否保存此货位信息？");
    s.updatedText = QStringLiteral("修改成功！!");
    s.saveFailedText = kWarehouseNameRefused;
    s.deleteCaption = QStringLiteral("删除提示");
    s.deleteQuestion =
        QStringLiteral("如果您已经在这个仓库中录入了信息,请你不要随意删除本仓库,是否删除当前货位信息？");
    s.deleteToggleText = QStringLiteral("删除提示");
    s.deletedText = QStringLiteral("删除成功！");
    s.liveSearchColumns = {QStringLiteral("货位编码")};
    s.enterSavesColumn = QStringLiteral("备注");
    return s;
}

Tfrm_hwxx_info::Tfrm_hwxx_info(QWidget *parent)
    : MasterDataForm(formDescriptor(), parent)
{}

} // namespace tavomi
