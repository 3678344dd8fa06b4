#include "ui/documents/sell_frm.h"

namespace tavomi {

Tfrm_sell::Tfrm_sell(QWidget *parent)
    : SalesBillForm(docs::bill(docs::BillKind::SalesShipment), parent)
{}

} // namespace tavomi
