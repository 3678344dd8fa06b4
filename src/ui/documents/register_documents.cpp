#include "ui/app/form_registry.h"

#include "ui/documents/bill_forms.h"
#include "ui/documents/document_form.h"
#include "ui/documents/lookup_form.h"

#include <memory>

namespace tavomi {

namespace {

void openDocumentForm(const QString &formName, QWidget *parent)
{
    std::unique_ptr<DocumentForm> f(createDocumentForm(formName, parent));
    if (f)
        f->exec();
}

// A lookup opened on its own hands its bill to a fresh document form of its type.
void openLookup(const QString &formName, QWidget *parent)
{
    std::unique_ptr<BillLookupForm> lookup(createBillLookup(formName, parent));
    if (!lookup)
        return;
    QString number;
    QString mode;
    QObject::connect(lookup.get(), &BillLookupForm::handedOver, lookup.get(), [&](const QString &n, const QString &m) {
        number = n;
        mode = m;
    });
    lookup->exec();
    const QString documentForm = docs::bill(lookup->descriptor().kind).formName;
    lookup.reset();
    if (number.isEmpty())
        return;
    std::unique_ptr<DocumentForm> f(createDocumentForm(documentForm, parent));
    if (!f)
        return;
    f->locate(number, mode);
    f->exec();
}

} // namespace

void registerDocumentForms()
{
    for (const QString &name : {QStringLiteral("Tfrm_input_modi"), QStringLiteral("Tfrm_return_modi"), QStringLiteral("Tfrm_sell"),
                                QStringLiteral("Tfrm_xsthgl_modi")})
        FormRegistry::add(name, [name](QWidget *parent) { openDocumentForm(name, parent); });
    for (const LookupDescriptor &l : allLookups()) {
        const QString name = l.formName;
        FormRegistry::add(name, [name](QWidget *parent) { openLookup(name, parent); });
    }
}

} // namespace tavomi
