#pragma once

#include <QString>

class QComboBox;
class QWidget;

namespace tavomi {

class Session;

// Pick lists shared by many forms.
// FillListCombo: 0 handlers, 1 money accounts, 2 income items, 3 expense items, 4 payment methods.
// The combo is cleared first; a read error keeps what was added.
void FillListCombo(Session &session, int selector, QComboBox *combo);
// FillPlaceCombo: 0 and 3 warehouses, 1 staff names, 2 payment methods (unordered). Appends.
void FillPlaceCombo(Session &session, int selector, QComboBox *combo);
// Appends every sales site, then "所有站点".
void FillSiteCombo(Session &session, QComboBox *combo);

// Over every single-line edit of the form: 2 enable (white), 1 enable and empty (except names
// starting with "No" and "BEdit1"), 0 disable (light grey).
void SetEditsState(QWidget *form, int mode);

// Forms hold no open queries between commands; kept for forms that cache models.
void CloseFormQueries(QWidget *form);

} // namespace tavomi
