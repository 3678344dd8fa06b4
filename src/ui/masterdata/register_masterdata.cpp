#include "ui/app/form_registry.h"

#include "common/identity.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"
#include "ui/masterdata/Default_frm.h"
#include "ui/masterdata/hwxx_info_frm.h"
#include "ui/masterdata/hyxx_frm.h"
#include "ui/masterdata/jczlsz_frm.h"
#include "ui/masterdata/khzl_frm.h"
#include "ui/masterdata/partner_picker.h"
#include "ui/masterdata/prvice_frm.h"
#include "ui/masterdata/spzl_frm.h"

#include <QLineEdit>

namespace tavomi {

namespace {

bool allowed(const QString &right)
{
    if (right.isEmpty() || hasRight(Session::current(), right))
        return true;
    Messages::warning(kNoRightText);
    return false;
}

template<typename Form>
FormOpener plain(const QString &right = QString())
{
    return [right](QWidget *parent) {
        if (!allowed(right))
            return;
        Form f(parent);
        f.exec();
    };
}

} // namespace

void registerMasterdataForms()
{
    FormRegistry::add(QStringLiteral("Tfrm_hwxx_info"), plain<Tfrm_hwxx_info>(QStringLiteral("仓库货位增加")));
    FormRegistry::add(QStringLiteral("Tfrm_spzl"), plain<Tfrm_spzl>());
    FormRegistry::add(QStringLiteral("Tfrm_khzl"), plain<Tfrm_khzl>(QStringLiteral("客户资料查询")));
    FormRegistry::add(QStringLiteral("Tfrm_prvice"), plain<Tfrm_prvice>(QStringLiteral("供应商信息管理")));
    FormRegistry::add(QStringLiteral("Tfrm_ywy_info"), plain<Tfrm_ywy_info>());
    FormRegistry::add(QStringLiteral("Tfrm_jhrzlgl"), plain<Tfrm_jhrzlgl>());
    FormRegistry::add(QStringLiteral("Tfrm_Default"), plain<Tfrm_Default>());
    FormRegistry::add(QStringLiteral("Tfrm_reprot"), plain<Tfrm_reprot>(QStringLiteral("更改公司信息")));
    // The member form: from the main window after the permission check; with the mode "POS"
    // (the front counter) as the member browser, without one.
    FormRegistry::addWithArguments(QStringLiteral("Tfrm_hyxx"), [](QWidget *parent, const QStringList &arguments) {
        const QString mode = arguments.value(0);
        if (mode != QLatin1String("POS") && !allowed(QStringLiteral("会员资料管理")))
            return;
        Tfrm_hyxx f(mode, parent);
        if (mode == QLatin1String("POS") && parent)
            f.setCardTarget(parent->findChild<QLineEdit *>(arguments.value(1, QStringLiteral("Edit1"))));
        f.exec();
    });
    // Opened on a page named by the caller ("计量单位", "默认资料设置" …).
    FormRegistry::addWithArguments(QStringLiteral("Tfrm_jczlsz"), [](QWidget *parent, const QStringList &arguments) {
        const QString page = arguments.value(0);
        if (!allowed(Tfrm_jczlsz::rightFor(page)))
            return;
        Tfrm_jczlsz f(page, parent);
        f.exec();
    });
    // The pickers write the chosen code and name into the caller's boxes named by the arguments.
    FormRegistry::addWithArguments(QStringLiteral("Tfrm_check_khzl"), [](QWidget *parent, const QStringList &arguments) {
        Tfrm_check_khzl f(parent);
        openPartnerPicker(f, parent, arguments);
    });
    FormRegistry::addWithArguments(QStringLiteral("Tfrm_gyshz_check"), [](QWidget *parent, const QStringList &arguments) {
        Tfrm_gyshz_check f(parent);
        openPartnerPicker(f, parent, arguments);
    });
}

} // namespace tavomi
