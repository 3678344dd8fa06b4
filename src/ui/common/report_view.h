#pragma once

#include "report/report_data.h"

#include <QString>

#include <functional>

class QWidget;
class QTextDocument;

namespace tavomi {

// Loads the template (relative to the program folder, e.g. "zcfrf/printreport_input_modi_new_1.frf"),
// fills it with the data and shows the print preview (print, PDF). A missing template falls back
// to a plain table layout and says so.
void ShowReportFile(QWidget *parent, const QString &templatePath, const report::ReportData &data);

// The filled HTML of a report; note receives the fallback notice when the template is missing.
QString renderReportHtml(const QString &templatePath, const report::ReportData &data, QString *note = nullptr);
// Lays the HTML out for A4 paper with the program's Chinese font.
void setupReportDocument(QTextDocument &doc, const QString &html);
// Writes the report as PDF; false with the reason in error.
bool writeReportPdf(const QString &templatePath, const report::ReportData &data, const QString &pdfPath,
                    QString *error = nullptr, int *pages = nullptr);

// Test seam: when set, ShowReportFile hands the filled HTML here instead of opening the preview.
using ReportPreviewHook = std::function<void(const QString &templatePath, const QString &html)>;
void setReportPreviewHook(ReportPreviewHook hook);

} // namespace tavomi
