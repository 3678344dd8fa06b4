#include "ui/documents/xsthgl_modi_loc_frm.h"

namespace tavomi {

Tfrm_xsthgl_modi_loc::Tfrm_xsthgl_modi_loc(QWidget *parent)
    : BillLookupForm(*lookupByForm(QStringLiteral("Tfrm_xsthgl_modi_loc")), parent)
{}

} // namespace tavomi
