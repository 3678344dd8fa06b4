#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

namespace tavomi {

class DataGrid;

// A list printed straight from its rows, page by page: nothing but the current page is held in
// memory, so a list of any length previews and prints. Each page repeats the title and the column
// titles and ends with its page number.
struct ListReport
{
    QString title;
    QString subtitle;               // company name, date range …
    QStringList columns;
    QList<bool> rightAligned;       // numbers
    QList<int> widths;              // relative column widths (optional)
    // Starts the rows again from the first; called before every rendering.
    std::function<void()> restart;
    // Hands out the next row's cells; false when there are no more.
    std::function<bool(QStringList &cells)> next;
    QString footer;                 // printed under the last row (totals)
};

// Paints the whole list on the printer; returns the number of pages.
int paintListReport(QPrinter *printer, const ListReport &report);
void ShowListReport(QWidget *parent, const ListReport &report);
bool writeListReportPdf(const QString &pdfPath, const ListReport &report, int *pages = nullptr);

// A grid's whole result, visible columns as shown (re-queried while printing, not the fetched rows).
ListReport gridListReport(const DataGrid *grid, const QString &title);

} // namespace tavomi
