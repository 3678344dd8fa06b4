#include "ui/common/report_view.h"

#include "common/messages.h"
#include "common/program_folder.h"
#include "report/template_engine.h"

#include <QAction>
#include <QFileDialog>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QToolBar>

namespace tavomi {

namespace {
ReportPreviewHook g_hook;

QString templateFile(const QString &templatePath)
{
    QString relative = templatePath;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return ProgramFolder::filePath(relative);
}
} // namespace

void setReportPreviewHook(ReportPreviewHook hook)
{
    g_hook = std::move(hook);
}

QString renderReportHtml(const QString &templatePath, const report::ReportData &data, QString *note)
{
    QString error;
    const QString text = report::TemplateEngine::readTemplate(templateFile(templatePath), &error);
    if (text.isEmpty()) {
        const QString notice = QStringLiteral("报表文件[%1]不存在，已按默认格式打印。").arg(templatePath);
        if (note)
            *note = notice;
        return report::TemplateEngine::fallback(data, notice);
    }
    return report::TemplateEngine::fill(text, data);
}

void setupReportDocument(QTextDocument &doc, const QString &html)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSizeF(10);
    doc.setDefaultFont(font);
    doc.setHtml(html);
}

namespace {

void setupPrinter(QPrinter &printer)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
}

int countPdfPages(const QString &pdfPath)
{
    QFile f(pdfPath);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = f.readAll();
    int n = 0;
    qsizetype at = 0;
    while ((at = bytes.indexOf("/Type /Page", at)) >= 0) {
        at += 11;
        if (at < bytes.size() && bytes.at(at) != 's')
            ++n;
    }
    return n;
}

} // namespace

bool writeReportPdf(const QString &templatePath, const report::ReportData &data, const QString &pdfPath, QString *error,
                    int *pages)
{
    QTextDocument doc;
    setupReportDocument(doc, renderReportHtml(templatePath, data));
    QPrinter printer(QPrinter::HighResolution);
    setupPrinter(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printer.setDocName(data.title);
    doc.print(&printer);
    if (!QFileInfo::exists(pdfPath)) {
        if (error)
            *error = QStringLiteral("无法写入文件 %1").arg(pdfPath);
        return false;
    }
    if (pages)
        *pages = countPdfPages(pdfPath);
    return true;
}

void ShowReportFile(QWidget *parent, const QString &templatePath, const report::ReportData &data)
{
    QString note;
    const QString html = renderReportHtml(templatePath, data, &note);
    if (!note.isEmpty())
        Messages::warning(note);
    if (g_hook) {
        g_hook(templatePath, html);
        return;
    }
    QTextDocument doc;
    setupReportDocument(doc, html);
    QPrinter printer(QPrinter::HighResolution);
    setupPrinter(printer);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(data.title.isEmpty() ? QStringLiteral("打印预览") : data.title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&doc](QPrinter *p) { doc.print(p); });
    if (QToolBar *bar = dialog.findChild<QToolBar *>()) {
        QAction *pdf = bar->addAction(QStringLiteral("保存PDF"));
        QObject::connect(pdf, &QAction::triggered, &dialog, [&] {
            QString file = QFileDialog::getSaveFileName(&dialog, QStringLiteral("保存PDF"), data.title, QStringLiteral("*.pdf"));
            if (file.isEmpty())
                return;
            if (!file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
                file += QStringLiteral(".pdf");
            QString error;
            if (writeReportPdf(templatePath, data, file, &error))
                Messages::info(QStringLiteral("PDF已保存：") + file);
            else
                Messages::warning(error);
        });
    }
    dialog.exec();
}

} // namespace tavomi
