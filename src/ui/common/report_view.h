#pragma once

#include "report/report_data.h"

#include <QString>

class QWidget;

namespace tavomi {

// Loads the template (relative to the program folder, e.g. "zcfrf/printreport_input_modi_new_1.frf"),
// fills it with the data and shows the print preview (print, PDF). A missing template falls back
// to a plain table layout and says so.
void ShowReportFile(QWidget *parent, const QString &templatePath, const report::ReportData &data);

} // namespace tavomi
