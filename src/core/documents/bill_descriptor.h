#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tavomi::docs {

// Every bill type of the program. One store and one form serve them all through a descriptor.
enum class BillKind {
    PurchaseReceipt,
    PurchaseOrder,
    PurchaseReturn,
    OtherInbound,
    OtherOutbound,
    StockTake,
    StockTransfer,
    Lending,
    SalesShipment,
    CustomerOrder,
    SalesReturn,
    PosSale,
};

// Which column layout the master and line tables have.
enum class Shape { Purchase, Sales, StockTake };
enum class PartnerKind { None, Supplier, Customer, Borrower, WalkIn };
// What the audit does to stock.
enum class Posting { None, Inbound, Outbound, StockTake, Transfer };
// Which amount a posted line carries: the bill's own line amount, or base quantity × cost price.
enum class AmountKind { LineAmount, CostAmount };
// What the audit writes besides stock.
enum class MoneyStep { None, Payable, NegativePayable, Receivable, NegativeReceivable, SettledReceivable };

struct BillDescriptor
{
    BillKind kind;
    QString formName;          // Tfrm_input_modi
    QString caption;           // 商品进货管理
    QString heading;           // 商品进货入库
    QString prefix;            // J
    QString masterTable;       // 进货主
    QString lineTable;         // 进货子
    Shape shape;
    PartnerKind partner;
    bool partnerRequired;
    QString partnerMissingText;  // 请正确输入供应商名称!
    QString lineWarehouseColumn; // 入库仓库 / 退货仓库 / 出货仓库 (empty: the header's)
    QString defaultWarehouseKey; // bdchange.ini key, empty when none
    Posting posting;
    AmountKind amount;
    bool totalsFollow;          // 库存 and 库存2 follow the warehouse row
    QString warningWord;        // 存放仓库 / 出货仓库, in the missing-warehouse warning
    MoneyStep money;
    QString orderMasterTable;   // the order an audited bill closes (采购订单主 / 客户订单主)
    bool updatesCostPrice;      // saving sets 商品.进价 to the line's base price
    QString logNoun;            // 进货单据: "新增进货单据,单据号为:" …
    QString auditConfirmText;
    QString closeQuestion;      // asked when closing while editing
    QString summaryDefault;     // 摘要 list
    QStringList summaryItems;
    QStringList gridTitles;     // columns 1..8; a ninth title adds the note column (备注)
    QString unitHintPrefix;     // 单位转换:按1为  / 输入显示:按1为
    QString printTemplate;      // zcfrf/…frf
    QString printTitle;
    QStringList printColumns;   // the printed data set: bill, partner and line columns, one row per line
    QString orderFieldCaption;  // caption of the header's order-number field; empty: the field is hidden
    QString summaryCaption;     // caption of the 摘要 field
    QString lookupForm;         // Tfrm_locate_modi_input
    QString lookupHint;         // TBO7B hint
    QString permission;         // main-window permission column
};

const QList<BillDescriptor> &allBills();
const BillDescriptor &bill(BillKind kind);
const BillDescriptor *billByForm(const QString &formName);

// Log texts built from the descriptor's noun.
QString logText(const BillDescriptor &d, const QString &verb, const QString &number);

} // namespace tavomi::docs
