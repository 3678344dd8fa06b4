#include "ui/documents/xsthgl_modi_frm.h"

namespace tavomi {

Tfrm_xsthgl_modi::Tfrm_xsthgl_modi(QWidget *parent)
    : SalesBillForm(docs::bill(docs::BillKind::SalesReturn), parent)
{}

} // namespace tavomi
