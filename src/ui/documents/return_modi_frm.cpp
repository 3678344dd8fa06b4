#include "ui/documents/return_modi_frm.h"

namespace tavomi {

Tfrm_return_modi::Tfrm_return_modi(QWidget *parent)
    : DocumentForm(docs::bill(docs::BillKind::PurchaseReturn), parent)
{}

} // namespace tavomi
