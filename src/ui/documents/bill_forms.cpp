#include "ui/documents/bill_forms.h"

#include "ui/documents/input_modi_frm.h"
#include "ui/documents/locate_modi_input_frm.h"
#include "ui/documents/locate_retrn_modi_frm.h"
#include "ui/documents/locate_sell_frm.h"
#include "ui/documents/return_modi_frm.h"
#include "ui/documents/sell_frm.h"
#include "ui/documents/xsthgl_modi_frm.h"
#include "ui/documents/xsthgl_modi_loc_frm.h"

#include <QHash>

#include <functional>

namespace tavomi {

namespace {

template <typename T>
using Maker = std::function<T *(QWidget *)>;

const QHash<QString, Maker<DocumentForm>> &documentForms()
{
    static const QHash<QString, Maker<DocumentForm>> forms = {
        {QStringLiteral("Tfrm_input_modi"), [](QWidget *p) -> DocumentForm * { return new Tfrm_input_modi(p); }},
        {QStringLiteral("Tfrm_return_modi"), [](QWidget *p) -> DocumentForm * { return new Tfrm_return_modi(p); }},
        {QStringLiteral("Tfrm_sell"), [](QWidget *p) -> DocumentForm * { return new Tfrm_sell(p); }},
        {QStringLiteral("Tfrm_xsthgl_modi"), [](QWidget *p) -> DocumentForm * { return new Tfrm_xsthgl_modi(p); }},
    };
    return forms;
}

const QHash<QString, Maker<BillLookupForm>> &lookupForms()
{
    static const QHash<QString, Maker<BillLookupForm>> forms = {
        {QStringLiteral("Tfrm_locate_modi_input"), [](QWidget *p) -> BillLookupForm * { return new Tfrm_locate_modi_input(p); }},
        {QStringLiteral("Tfrm_locate_retrn_modi"), [](QWidget *p) -> BillLookupForm * { return new Tfrm_locate_retrn_modi(p); }},
        {QStringLiteral("Tfrm_locate_sell"), [](QWidget *p) -> BillLookupForm * { return new Tfrm_locate_sell(p); }},
        {QStringLiteral("Tfrm_xsthgl_modi_loc"), [](QWidget *p) -> BillLookupForm * { return new Tfrm_xsthgl_modi_loc(p); }},
    };
    return forms;
}

} // namespace

DocumentForm *createDocumentForm(const QString &formName, QWidget *parent)
{
    const auto it = documentForms().constFind(formName);
    return it == documentForms().constEnd() ? nullptr : (*it)(parent);
}

BillLookupForm *createBillLookup(const QString &formName, QWidget *parent)
{
    const auto it = lookupForms().constFind(formName);
    return it == lookupForms().constEnd() ? nullptr : (*it)(parent);
}

bool hasBillLookup(const QString &formName)
{
    return lookupForms().contains(formName);
}

} // namespace tavomi
