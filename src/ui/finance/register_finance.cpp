#include "common/identity.h"
#include "common/session.h"
#include "ui/app/form_registry.h"
#include "ui/finance/bank_forms.h"
#include "ui/finance/settlement_forms.h"

namespace tavomi {

void registerFinanceForms()
{
    for (const SettlementForms *f : {&receivableForms(), &payableForms()}) {
        FormRegistry::add(f->itemListForm, [f](QWidget *parent) {
            ItemListForm form(*f, parent);
            form.exec();
        });
        FormRegistry::add(f->moneyListForm, [f](QWidget *parent) {
            MoneyListForm form(*f, parent);
            form.exec();
        });
        // The cash desk may be handed the partner to load (from a bill form or a list).
        FormRegistry::addWithArguments(f->deskForm, [f](QWidget *parent, const QStringList &arguments) {
            CashDeskDialog desk(*f, parent);
            if (!arguments.isEmpty() && !arguments.first().isEmpty() && !desk.loadPartner(arguments.first()))
                return;
            desk.exec();
        });
        FormRegistry::addWithArguments(f->itemAddForm, [f](QWidget *parent, const QStringList &arguments) {
            ManualItemDialog dialog(*f, arguments.value(0), parent);
            dialog.exec();
        });
    }
    FormRegistry::add(QStringLiteral("Tfrm_bank_access"), [](QWidget *parent) {
        BankAccessForm form(parent);
        form.exec();
    });
    FormRegistry::addWithArguments(QStringLiteral("Tfrm_bank_add"), [](QWidget *parent, const QStringList &arguments) {
        BankAddDialog dialog(arguments.value(0), parent);
        dialog.exec();
    });
    FormRegistry::add(QStringLiteral("Tfrm_bank_xjl"), [](QWidget *parent) {
        BankLedgerForm form(parent);
        form.exec();
    });
}

} // namespace tavomi
