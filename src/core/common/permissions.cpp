#include "common/permissions.h"

#include "common/error.h"
#include "common/session.h"

namespace tavomi {

const QStringList &permissionColumns()
{
    static const QStringList columns = {
        QStringLiteral("进货订单开票"), QStringLiteral("采购进货开票"), QStringLiteral("采购退货开票"),
        QStringLiteral("采购付款管理"), QStringLiteral("采购应付款管理"), QStringLiteral("出货订单开票"),
        QStringLiteral("出货单开票"), QStringLiteral("销售收款管理"), QStringLiteral("销售应收款管理"),
        QStringLiteral("销售退货开票"), QStringLiteral("库存盘点调整"), QStringLiteral("转结当月库存"),
        QStringLiteral("其它入库开票"), QStringLiteral("其它出库开票"), QStringLiteral("借还货管理"),
        QStringLiteral("库存报警查询"), QStringLiteral("库存查询"), QStringLiteral("银行存取款管理"),
        QStringLiteral("银行现金流查询"), QStringLiteral("其它费用收入管理"), QStringLiteral("其它费用支出管理"),
        QStringLiteral("其它费用收入查询"), QStringLiteral("其它费用支出查询"), QStringLiteral("定制客户售价"),
        QStringLiteral("数据恢复"), QStringLiteral("数据备份"), QStringLiteral("增加操作员"),
        QStringLiteral("系统初始化"), QStringLiteral("客户历史售价"), QStringLiteral("销售价格审核"),
        QStringLiteral("增加管理商品"), QStringLiteral("经营统计"), QStringLiteral("仓库货位增加"),
        QStringLiteral("银行账户信息增加"), QStringLiteral("增加借货人信息"), QStringLiteral("打印商品资料"),
        QStringLiteral("导出数据到excel"), QStringLiteral("计量单位增加"), QStringLiteral("更改公司信息"),
        QStringLiteral("审核单据"), QStringLiteral("客户资料打印"), QStringLiteral("客户资料查询"),
        QStringLiteral("反审单据"), QStringLiteral("经理客户查询"), QStringLiteral("经理供应商查询"),
        QStringLiteral("经理商品查询"), QStringLiteral("经理经营统计"), QStringLiteral("供应商信息管理"),
        QStringLiteral("查看系统日志"), QStringLiteral("库存调拨"), QStringLiteral("POS前台销售"),
        QStringLiteral("会员资料管理"), QStringLiteral("会员折扣设置"), QStringLiteral("默认资料设置"),
        QStringLiteral("库存调整"), QStringLiteral("可查看商品进价"), QStringLiteral("采购报表汇总"),
        QStringLiteral("销售报表汇总"), QStringLiteral("其它入库汇总"), QStringLiteral("其它出库汇总"),
        QStringLiteral("客户退货汇总"), QStringLiteral("商品销售汇总"), QStringLiteral("销售订单汇总"),
        QStringLiteral("业务员销售明细"), QStringLiteral("毛利核算"), QStringLiteral("促销查询"),
        QStringLiteral("供商进货汇总"), QStringLiteral("供商促销汇总"),
        // only the form's update writes these four
        QStringLiteral("连锁站点增设"), QStringLiteral("查看所有站点数据"), QStringLiteral("允许远程登陆"),
        QStringLiteral("允许跨站点登陆"),
    };
    return columns;
}

QStringList templatePermissionColumns()
{
    return permissionColumns().mid(0, permissionColumns().size() - 4);
}

bool isPermissionColumn(const QString &column)
{
    return permissionColumns().contains(column);
}

bool CheckRight(Session &session, const QString &workNumber, const QString &column)
{
    if (!isPermissionColumn(column))
        throw Error(QStringLiteral("未知的权限：%1").arg(column));
    // The column name comes from the fixed catalogue above, never from input.
    return session.exists(QStringLiteral("select 1 from 权限密码 where 工号=? and %1='1'").arg(column), {workNumber});
}

} // namespace tavomi
