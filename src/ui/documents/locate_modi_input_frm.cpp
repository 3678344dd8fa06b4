#include "ui/documents/locate_modi_input_frm.h"

namespace tavomi {

Tfrm_locate_modi_input::Tfrm_locate_modi_input(QWidget *parent)
    : BillLookupForm(*lookupByForm(QStringLiteral("Tfrm_locate_modi_input")), parent)
{}

} // namespace tavomi
