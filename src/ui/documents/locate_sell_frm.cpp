#include "ui/documents/locate_sell_frm.h"

namespace tavomi {

Tfrm_locate_sell::Tfrm_locate_sell(QWidget *parent)
    : BillLookupForm(*lookupByForm(QStringLiteral("Tfrm_locate_sell")), parent)
{}

} // namespace tavomi
