#include "ui/app/form_registry.h"

#include "common/identity.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"
#include "ui/masterdata/hwxx_info_frm.h"
#include "ui/masterdata/spzl_frm.h"

namespace tavomi {

void registerMasterdataForms()
{
    FormRegistry::add(QStringLiteral("Tfrm_hwxx_info"), [](QWidget *parent) {
        if (!hasRight(Session::current(), QStringLiteral("仓库货位增加"))) {
            Messages::warning(kNoRightText);
            return;
        }
        Tfrm_hwxx_info f(parent);
        f.exec();
    });
    FormRegistry::add(QStringLiteral("Tfrm_spzl"), [](QWidget *parent) {
        Tfrm_spzl f(parent);
        f.exec();
    });
}

} // namespace tavomi
