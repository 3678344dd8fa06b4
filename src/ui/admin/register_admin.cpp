#include "ui/app/form_registry.h"

#include "ui/admin/modify_password_frm.h"
#include "ui/admin/useradd_frm.h"

namespace tavomi {

void registerAdminForms()
{
    FormRegistry::add(QStringLiteral("TFrm_UserAdd"), [](QWidget *parent) {
        TFrm_UserAdd form(parent);
        form.exec();
    });
    // Opened with the logged-in user's name and work number.
    FormRegistry::addWithArguments(QStringLiteral("Tfrm_modify_password"), [](QWidget *parent, const QStringList &arguments) {
        Tfrm_modify_password form(arguments.value(0), arguments.value(1), parent);
        form.exec();
    });
}

} // namespace tavomi
