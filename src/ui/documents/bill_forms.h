#pragma once

#include <QString>

class QWidget;

namespace tavomi {

class BillLookupForm;
class DocumentForm;

// The bill forms and bill lookups built so far, by class name; nullptr for one not built yet.
DocumentForm *createDocumentForm(const QString &formName, QWidget *parent);
BillLookupForm *createBillLookup(const QString &formName, QWidget *parent);
bool hasBillLookup(const QString &formName);

} // namespace tavomi
