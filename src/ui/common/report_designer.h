#pragma once

#include "report/report_data.h"

#include <QDialog>

class QPlainTextEdit;
class QTextBrowser;
class QTimer;
class QPushButton;

namespace tavomi {

// The report designer: the template's text on the left, the filled report on the right,
// refreshed as the user types. Saving writes the template file in place.
class ReportDesigner : public QDialog
{
    Q_OBJECT
public:
    ReportDesigner(const QString &templatePath, const report::ReportData &data, QWidget *parent = nullptr);

    QPlainTextEdit *editor() const { return m_editor; }
    QTextBrowser *preview() const { return m_preview; }
    // Writes the template; false (with a message) when it cannot be written.
    bool save();
    void refreshPreview();

private:
    QString m_file;
    report::ReportData m_data;
    QPlainTextEdit *m_editor = nullptr;
    QTextBrowser *m_preview = nullptr;
    QTimer *m_timer = nullptr;
};

// "设计打印报表": the backup advice, then the designer on the given data.
void DesignReportFile(QWidget *parent, const QString &templatePath, const report::ReportData &data);

} // namespace tavomi
