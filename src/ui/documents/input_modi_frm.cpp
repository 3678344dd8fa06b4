#include "ui/documents/input_modi_frm.h"

namespace tavomi {

Tfrm_input_modi::Tfrm_input_modi(QWidget *parent)
    : DocumentForm(docs::bill(docs::BillKind::PurchaseReceipt), parent)
{}

} // namespace tavomi
