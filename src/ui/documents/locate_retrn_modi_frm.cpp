#include "ui/documents/locate_retrn_modi_frm.h"

namespace tavomi {

Tfrm_locate_retrn_modi::Tfrm_locate_retrn_modi(QWidget *parent)
    : BillLookupForm(*lookupByForm(QStringLiteral("Tfrm_locate_retrn_modi")), parent)
{}

} // namespace tavomi
