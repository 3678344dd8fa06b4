#include "documents/bill_descriptor.h"

#include "common/error.h"

namespace tavomi::docs {

namespace {

const QStringList kPurchaseTitles = {QStringLiteral("速记码"), QStringLiteral("单位"), QStringLiteral("件数"),
                                     QStringLiteral("存放仓库"), QStringLiteral("折扣"), QStringLiteral("进价"),
                                     QStringLiteral("实进金额"), QStringLiteral("品名规格")};

QList<BillDescriptor> build()
{
    QList<BillDescriptor> out;
    const QString supplierMissing = QStringLiteral("请正确输入供应商名称!");
    const QString customerMissing = QStringLiteral("请正确输入客户名称!");
    const QString defaultConfirm = QStringLiteral("单据审核后将不能修改数据,您确实要审核单据吗？");

    BillDescriptor d{};
    d.kind = BillKind::PurchaseReceipt;
    d.formName = QStringLiteral("Tfrm_input_modi");
    d.caption = QStringLiteral("商品进货管理");
    d.heading = QStringLiteral("商品进货入库");
    d.prefix = QStringLiteral("J");
    d.masterTable = QStringLiteral("进货主");
    d.lineTable = QStringLiteral("进货子");
    d.shape = Shape::Purchase;
    d.partner = PartnerKind::Supplier;
    d.partnerRequired = true;
    d.partnerMissingText = supplierMissing;
    d.lineWarehouseColumn = QStringLiteral("入库仓库");
    d.defaultWarehouseKey = QStringLiteral("采购入库");
    d.posting = Posting::Inbound;
    d.amount = AmountKind::LineAmount;
    d.totalsFollow = true;
    d.warningWord = QStringLiteral("存放仓库");
    d.money = MoneyStep::Payable;
    d.orderMasterTable = QStringLiteral("采购订单主");
    d.updatesCostPrice = true;
    d.logNoun = QStringLiteral("进货单据");
    d.auditConfirmText = defaultConfirm;
    d.closeQuestion = QStringLiteral("您现正在录入商品进货单,要退出吗？");
    d.summaryDefault = QStringLiteral("入库单");
    d.summaryItems = {QStringLiteral("入库单")};
    d.gridTitles = kPurchaseTitles;
    d.unitHintPrefix = QStringLiteral("单位转换:按1为 ");
    d.printTemplate = QStringLiteral("zcfrf/printreport_input_modi_new_1.frf");
    d.printTitle = QStringLiteral("商品进货信息报表");
    d.printColumns = QStringList{QStringLiteral("公司名"), QStringLiteral("电话一"), QStringLiteral("单号"), QStringLiteral("品名"),
                                 QStringLiteral("大单位"), QStringLiteral("件数量"), QStringLiteral("件进价"), QStringLiteral("金额"),
                                 QStringLiteral("金额合计"), QStringLiteral("操作员"), QStringLiteral("序号"), QStringLiteral("进率")};
    d.orderFieldCaption = QStringLiteral("订 单 号");
    d.summaryCaption = QStringLiteral("摘   要");
    d.lookupForm = QStringLiteral("Tfrm_locate_modi_input");
    d.lookupHint = QStringLiteral("进货单查询");
    d.permission = QStringLiteral("采购进货开票");
    out.append(d);

    BillDescriptor order = d;
    order.kind = BillKind::PurchaseOrder;
    order.formName = QStringLiteral("Tfrm_cggl_modi");
    order.caption = QStringLiteral("采购订单管理");
    order.heading = QStringLiteral("采购订单");
    order.prefix = QStringLiteral("G");
    order.masterTable = QStringLiteral("采购订单主");
    order.lineTable = QStringLiteral("采购订单子");
    order.defaultWarehouseKey.clear();
    order.posting = Posting::None;
    order.money = MoneyStep::None;
    order.orderMasterTable.clear();
    order.updatesCostPrice = false;
    order.logNoun = QStringLiteral("采购订单");
    order.closeQuestion = QStringLiteral("您现正在录入采购订单,要退出吗？");
    order.summaryDefault = QStringLiteral("采购订单");
    order.summaryItems = {QStringLiteral("采购订单")};
    order.printTemplate = QStringLiteral("zcfrf/printreport_cggl_modi.frf");
    order.printTitle = QStringLiteral("采购订单");
    order.orderFieldCaption.clear();
    order.lookupForm = QStringLiteral("Tfrm_locate_cggl_modi");
    order.lookupHint = QStringLiteral("采购订单查询");
    order.permission = QStringLiteral("进货订单开票");
    out.append(order);

    BillDescriptor ret = d;
    ret.kind = BillKind::PurchaseReturn;
    ret.formName = QStringLiteral("Tfrm_return_modi");
    ret.caption = QStringLiteral("采购退货管理");
    ret.heading = QStringLiteral("采购退货开票");
    ret.prefix = QStringLiteral("CH");
    ret.masterTable = QStringLiteral("退货主");
    ret.lineTable = QStringLiteral("退货子");
    ret.lineWarehouseColumn = QStringLiteral("退货仓库");
    ret.defaultWarehouseKey = QStringLiteral("采购退货");
    ret.posting = Posting::Outbound;
    ret.money = MoneyStep::NegativePayable;
    ret.orderMasterTable.clear();
    ret.updatesCostPrice = false;
    ret.logNoun = QStringLiteral("采购退货单据");
    ret.auditConfirmText = QStringLiteral("审核单据后不能再修改数据,您确实要审核单据吗？");
    ret.closeQuestion = QStringLiteral("您现正在录入采购退货单,要退出吗？");
    ret.summaryDefault = QStringLiteral("过期退货");
    ret.summaryItems = {QStringLiteral("过期退货"), QStringLiteral("质量问题退货"), QStringLiteral("运输破损"), QStringLiteral("其它")};
    ret.gridTitles = {QStringLiteral("速记码"), QStringLiteral("单位"), QStringLiteral("件数"), QStringLiteral("存放仓库"),
                      QStringLiteral("折扣"), QStringLiteral("进价"), QStringLiteral("实退金额"), QStringLiteral("品名规格")};
    ret.unitHintPrefix = QStringLiteral("输入显示:按1为 ");
    ret.printTemplate = QStringLiteral("zcfrf/printreport_return_modi_new_1.frf");
    ret.printTitle = QStringLiteral("采购退货信息报表");
    ret.printColumns.removeLast(); // no discount on the printed return
    ret.orderFieldCaption.clear();
    ret.summaryCaption = QStringLiteral("退货性质");
    ret.lookupForm = QStringLiteral("Tfrm_locate_retrn_modi");
    ret.lookupHint = QStringLiteral("采购退货单查询");
    ret.permission = QStringLiteral("采购退货开票");
    out.append(ret);

    BillDescriptor oin = d;
    oin.kind = BillKind::OtherInbound;
    oin.formName = QStringLiteral("Tfrm_other_input");
    oin.caption = QStringLiteral("其它入库管理");
    oin.heading = QStringLiteral("其它入库");
    oin.prefix = QStringLiteral("OJ");
    oin.masterTable = QStringLiteral("其它入库主");
    oin.lineTable = QStringLiteral("其它入库子");
    oin.partner = PartnerKind::None;
    oin.partnerRequired = false;
    oin.partnerMissingText.clear();
    oin.defaultWarehouseKey = QStringLiteral("其它入库");
    oin.money = MoneyStep::None;
    oin.orderMasterTable.clear();
    oin.updatesCostPrice = false;
    oin.logNoun = QStringLiteral("其它入库单据");
    oin.closeQuestion = QStringLiteral("您现正在录入其它入库单,要退出吗？");
    oin.summaryDefault = QStringLiteral("其它入库");
    oin.summaryItems = {QStringLiteral("其它入库")};
    oin.printTemplate = QStringLiteral("zcfrf/printreport_other_input.frf");
    oin.printTitle = QStringLiteral("其它入库单");
    oin.orderFieldCaption.clear();
    oin.lookupForm = QStringLiteral("Tfrm_locate_other_input");
    oin.lookupHint = QStringLiteral("其它入库单查询");
    oin.permission = QStringLiteral("其它入库开票");
    out.append(oin);

    // Sales side.
    BillDescriptor sell{};
    sell.kind = BillKind::SalesShipment;
    sell.formName = QStringLiteral("Tfrm_sell");
    sell.caption = QStringLiteral("商品销售出库");
    sell.heading = QStringLiteral("商品销售出库");
    sell.prefix = QStringLiteral("X");
    sell.masterTable = QStringLiteral("销售主");
    sell.lineTable = QStringLiteral("销售子");
    sell.shape = Shape::Sales;
    sell.partner = PartnerKind::Customer;
    sell.partnerRequired = true;
    sell.partnerMissingText = customerMissing;
    sell.lineWarehouseColumn = QStringLiteral("出货仓库");
    sell.defaultWarehouseKey = QStringLiteral("销售出货");
    sell.posting = Posting::Outbound;
    sell.amount = AmountKind::CostAmount;
    sell.totalsFollow = true;
    sell.warningWord = QStringLiteral("出货仓库");
    sell.money = MoneyStep::Receivable;
    sell.orderMasterTable = QStringLiteral("客户订单主");
    sell.updatesCostPrice = false;
    sell.logNoun = QStringLiteral("销售单据");
    sell.auditConfirmText = QStringLiteral("单据审核后将不能修改数据,您确实要审核单据吗？？");
    sell.closeQuestion = QStringLiteral("您现正在开销售单,要退出吗？");
    sell.summaryDefault = QStringLiteral("销售出货");
    sell.summaryItems = {QStringLiteral("销售出货")};
    sell.gridTitles = {QStringLiteral("速记码"), QStringLiteral("单位"), QStringLiteral("件数"), QStringLiteral("出货仓库"),
                       QStringLiteral("折扣"), QStringLiteral("售价"), QStringLiteral("实售金额"), QStringLiteral("品名规格")};
    // The shipment and the return show their own titles and a ninth column for a note or barcode.
    const QStringList shipmentTitles = {QStringLiteral("速记码"), QStringLiteral("单位"), QStringLiteral("数量"),
                                        QStringLiteral("出货仓库"), QStringLiteral("折扣"), QStringLiteral("售价"),
                                        QStringLiteral("实收金额"), QStringLiteral("品名规格"), QStringLiteral("备注/条形码")};
    sell.unitHintPrefix = QStringLiteral("单位转换:按1为 ");
    sell.printTemplate = QStringLiteral("zcfrf/printreport3_new.frf");
    sell.printTitle = QStringLiteral("商品销售出库单");
    sell.summaryCaption = QStringLiteral("摘   要");
    sell.lookupForm = QStringLiteral("Tfrm_locate_sell");
    sell.lookupHint = QStringLiteral("销售单查询");
    sell.permission = QStringLiteral("出货单开票");

    BillDescriptor oout = sell;
    oout.kind = BillKind::OtherOutbound;
    oout.formName = QStringLiteral("Tfrm_other_out_sell");
    oout.caption = QStringLiteral("其它出库管理");
    oout.heading = QStringLiteral("其它出库");
    oout.prefix = QStringLiteral("QT");
    oout.masterTable = QStringLiteral("其它出库主");
    oout.lineTable = QStringLiteral("其它出库子");
    oout.partnerRequired = false;
    oout.partnerMissingText.clear();
    oout.defaultWarehouseKey = QStringLiteral("其它出库");
    oout.money = MoneyStep::None;
    oout.orderMasterTable.clear();
    oout.logNoun = QStringLiteral("其它出库单据");
    oout.closeQuestion = QStringLiteral("您现正在录入其它出库单,要退出吗？");
    oout.summaryDefault = QStringLiteral("其它出库");
    oout.summaryItems = {QStringLiteral("其它出库")};
    oout.printTemplate = QStringLiteral("zcfrf/printreport_other_out_sell.frf");
    oout.printTitle = QStringLiteral("其它出库单");
    oout.lookupForm = QStringLiteral("Tfrm_locate_other_out");
    oout.lookupHint = QStringLiteral("其它出库单查询");
    oout.permission = QStringLiteral("其它出库开票");
    out.append(oout);

    BillDescriptor take{};
    take.kind = BillKind::StockTake;
    take.formName = QStringLiteral("Tfrm_kcpd_modi");
    take.caption = QStringLiteral("库存盘点管理");
    take.heading = QStringLiteral("库存盘点");
    take.prefix = QStringLiteral("PD");
    take.masterTable = QStringLiteral("盘点主");
    take.lineTable = QStringLiteral("盘点子");
    take.shape = Shape::StockTake;
    take.partner = PartnerKind::None;
    take.posting = Posting::StockTake;
    take.amount = AmountKind::CostAmount;
    take.totalsFollow = false;
    take.money = MoneyStep::None;
    take.logNoun = QStringLiteral("盘点单据");
    take.auditConfirmText = defaultConfirm;
    take.closeQuestion = QStringLiteral("您现正在录入库存盘点单,要退出吗？");
    take.printTemplate = QStringLiteral("zcfrf/printreport_kcpd.frf");
    take.printTitle = QStringLiteral("库存盘点单");
    take.summaryCaption = QStringLiteral("摘   要");
    take.lookupForm = QStringLiteral("Tfrm_locate_kcpd");
    take.lookupHint = QStringLiteral("盘点单查询");
    take.permission = QStringLiteral("库存盘点调整");
    out.append(take);

    BillDescriptor transfer = sell;
    transfer.kind = BillKind::StockTransfer;
    transfer.formName = QStringLiteral("Tfrm_kcdb");
    transfer.caption = QStringLiteral("库存调拨管理");
    transfer.heading = QStringLiteral("库存调拨");
    transfer.prefix = QStringLiteral("DBd");
    transfer.masterTable = QStringLiteral("库存调拨主");
    transfer.lineTable = QStringLiteral("库存调拨子");
    transfer.partnerRequired = false;
    transfer.partnerMissingText.clear();
    transfer.defaultWarehouseKey.clear();
    transfer.posting = Posting::Transfer;
    transfer.totalsFollow = false;
    transfer.money = MoneyStep::None;
    transfer.orderMasterTable.clear();
    transfer.logNoun = QStringLiteral("库存调拨单据");
    transfer.closeQuestion = QStringLiteral("您现正在录入库存调拨单,要退出吗？");
    transfer.summaryDefault = QStringLiteral("库存调拨");
    transfer.summaryItems = {QStringLiteral("库存调拨")};
    transfer.printTemplate = QStringLiteral("zcfrf/printreport_kcdb.frf");
    transfer.printTitle = QStringLiteral("库存调拨单");
    transfer.lookupForm = QStringLiteral("Tfrm_locate_kcdb");
    transfer.lookupHint = QStringLiteral("调拨单查询");
    transfer.permission = QStringLiteral("库存调拨");
    out.append(transfer);

    BillDescriptor lend = sell;
    lend.kind = BillKind::Lending;
    lend.formName = QStringLiteral("Tfrm_spjcgh_new");
    lend.caption = QStringLiteral("商品借出归还管理");
    lend.heading = QStringLiteral("商品借出归还");
    lend.prefix = QStringLiteral("JC");
    lend.masterTable = QStringLiteral("归还主");
    lend.lineTable = QStringLiteral("归还子");
    lend.partner = PartnerKind::Borrower;
    lend.partnerMissingText = QStringLiteral("请正确输入借货人!");
    lend.defaultWarehouseKey.clear();
    lend.posting = Posting::None;
    lend.totalsFollow = false;
    lend.money = MoneyStep::None;
    lend.orderMasterTable.clear();
    lend.logNoun = QStringLiteral("借出归还单据");
    lend.closeQuestion = QStringLiteral("您现正在录入借出归还单,要退出吗？");
    lend.summaryDefault = QStringLiteral("借出");
    lend.summaryItems = {QStringLiteral("借出"), QStringLiteral("归还")};
    lend.printTemplate = QStringLiteral("zcfrf/printreport_spjcgh.frf");
    lend.printTitle = QStringLiteral("借出归还单");
    lend.lookupForm = QStringLiteral("Tfrm_locate_spjcgh");
    lend.lookupHint = QStringLiteral("借出归还单查询");
    lend.permission = QStringLiteral("借还货管理");
    out.append(lend);

    BillDescriptor shipment = sell;
    shipment.gridTitles = shipmentTitles;
    shipment.printColumns = {QStringLiteral("公司名"), QStringLiteral("电话一"), QStringLiteral("单号"), QStringLiteral("品名"),
                         QStringLiteral("大单位"), QStringLiteral("件数量"), QStringLiteral("件售价"), QStringLiteral("金额"),
                         QStringLiteral("帐户"), QStringLiteral("金额合计"), QStringLiteral("操作员"), QStringLiteral("备注"),
                         QStringLiteral("序号"), QStringLiteral("进率"), QStringLiteral("主备注"), QStringLiteral("出货仓库")};
    out.append(shipment);

    BillDescriptor corder = sell;
    corder.kind = BillKind::CustomerOrder;
    corder.formName = QStringLiteral("Tfrm_xsdjgl_modi");
    corder.caption = QStringLiteral("客户订单管理");
    corder.heading = QStringLiteral("客户订单");
    corder.prefix = QStringLiteral("DD");
    corder.masterTable = QStringLiteral("客户订单主");
    corder.lineTable = QStringLiteral("客户订单子");
    corder.defaultWarehouseKey.clear();
    corder.posting = Posting::None;
    corder.money = MoneyStep::None;
    corder.orderMasterTable.clear();
    corder.logNoun = QStringLiteral("客户订单");
    corder.closeQuestion = QStringLiteral("您现正在录入客户订单,要退出吗？");
    corder.summaryDefault = QStringLiteral("客户订单");
    corder.summaryItems = {QStringLiteral("客户订单")};
    corder.printTemplate = QStringLiteral("zcfrf/printreport_xsdjgl.frf");
    corder.printTitle = QStringLiteral("客户订单");
    corder.lookupForm = QStringLiteral("Tfrm_locate_xsdjgl");
    corder.lookupHint = QStringLiteral("客户订单查询");
    corder.permission = QStringLiteral("出货订单开票");
    out.append(corder);

    BillDescriptor sret = sell;
    sret.kind = BillKind::SalesReturn;
    sret.formName = QStringLiteral("Tfrm_xsthgl_modi");
    sret.caption = QStringLiteral("客户退货管理");
    sret.heading = QStringLiteral("客户销售退货");
    sret.prefix = QStringLiteral("XT");
    sret.masterTable = QStringLiteral("销售退货主");
    sret.lineTable = QStringLiteral("销售退货子");
    sret.defaultWarehouseKey = QStringLiteral("销售退货");
    sret.posting = Posting::Inbound;
    sret.money = MoneyStep::NegativeReceivable;
    sret.orderMasterTable.clear();
    sret.logNoun = QStringLiteral("客户退货单据");
    sret.auditConfirmText.clear(); // a return is audited without a question
    sret.closeQuestion = QStringLiteral("您现正在录入客户退货单,要退出吗？");
    sret.summaryDefault = QStringLiteral("良品入库");
    sret.summaryItems = {QStringLiteral("良品入库"), QStringLiteral("废品处理")};
    sret.summaryCaption = QStringLiteral("入库类型");
    sret.gridTitles = {QStringLiteral("速记码"), QStringLiteral("单位"), QStringLiteral("数量"), QStringLiteral("存放仓库"),
                       QStringLiteral("折扣"), QStringLiteral("售价"), QStringLiteral("实退金额"), QStringLiteral("品名规格"),
                       QStringLiteral("备注/条形码")};
    sret.unitHintPrefix = QStringLiteral("输入显示:按1为 ");
    sret.printTemplate = QStringLiteral("zcfrf/khthgl_report_modi_new_1.frf");
    sret.printTitle = QStringLiteral("客户销售退货单");
    sret.printColumns = {QStringLiteral("公司名"), QStringLiteral("电话一"), QStringLiteral("单号"), QStringLiteral("品名"),
                         QStringLiteral("大单位"), QStringLiteral("件数量"), QStringLiteral("件售价"), QStringLiteral("金额"),
                         QStringLiteral("帐户"), QStringLiteral("金额合计"), QStringLiteral("操作员"), QStringLiteral("主备注"),
                         QStringLiteral("序号"), QStringLiteral("进率")};
    sret.lookupForm = QStringLiteral("Tfrm_xsthgl_modi_loc");
    sret.lookupHint = QStringLiteral("客户退货单查询");
    sret.permission = QStringLiteral("销售退货开票");
    out.append(sret);

    BillDescriptor pos = sell;
    pos.kind = BillKind::PosSale;
    pos.formName = QStringLiteral("Tfrm_sell_pos");
    pos.caption = QStringLiteral("商场POS销售");
    pos.heading = QStringLiteral("商场POS销售");
    pos.prefix = QStringLiteral("POS");
    pos.partner = PartnerKind::WalkIn;
    pos.partnerRequired = false;
    pos.defaultWarehouseKey.clear();
    pos.money = MoneyStep::SettledReceivable;
    pos.orderMasterTable.clear();
    pos.logNoun = QStringLiteral("POS销售单据");
    pos.closeQuestion.clear();
    pos.lookupForm.clear();
    pos.permission = QStringLiteral("POS前台销售");
    out.append(pos);
    return out;
}

} // namespace

const QList<BillDescriptor> &allBills()
{
    static const QList<BillDescriptor> bills = build();
    return bills;
}

const BillDescriptor &bill(BillKind kind)
{
    for (const BillDescriptor &d : allBills())
        if (d.kind == kind)
            return d;
    throw Error(QStringLiteral("未知的单据类型"));
}

const BillDescriptor *billByForm(const QString &formName)
{
    for (const BillDescriptor &d : allBills())
        if (d.formName == formName)
            return &d;
    return nullptr;
}

QString logText(const BillDescriptor &d, const QString &verb, const QString &number)
{
    return verb + d.logNoun + QStringLiteral(",单据号为:") + number;
}

} // namespace tavomi::docs
