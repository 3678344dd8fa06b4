#include "ui/common/list_report.h"

#include "common/session.h"
#include "ui/common/data_grid.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSqlQuery>

#include <memory>

namespace tavomi {

int paintListReport(QPrinter *printer, const ListReport &report)
{
    if (report.restart)
        report.restart();
    QPainter p(printer);
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSizeF(9);
    QFont bold = font;
    bold.setBold(true);
    QFont titleFont = font;
    titleFont.setPointSizeF(14);
    titleFont.setBold(true);
    p.setFont(font);

    const QRectF page = printer->pageLayout().paintRectPixels(printer->resolution()).translated(
        -printer->pageLayout().paintRectPixels(printer->resolution()).topLeft());
    const qreal rowH = QFontMetricsF(font, printer).height() * 1.5;
    const int n = int(report.columns.size());
    QList<qreal> weights;
    qreal sum = 0;
    for (int i = 0; i < n; ++i) {
        const qreal w = i < report.widths.size() && report.widths.at(i) > 0 ? report.widths.at(i) : 1;
        weights << w;
        sum += w;
    }
    QList<qreal> x = {page.left()};
    for (int i = 0; i < n; ++i)
        x << x.last() + page.width() * weights.at(i) / sum;

    int pageNo = 0;
    qreal y = 0;
    auto startPage = [&] {
        if (pageNo > 0)
            printer->newPage();
        ++pageNo;
        y = page.top();
        p.setFont(titleFont);
        const qreal th = QFontMetricsF(titleFont, printer).height() * 1.4;
        p.drawText(QRectF(page.left(), y, page.width(), th), Qt::AlignCenter, report.title);
        y += th;
        p.setFont(font);
        if (!report.subtitle.isEmpty()) {
            p.drawText(QRectF(page.left(), y, page.width(), rowH), Qt::AlignCenter, report.subtitle);
            y += rowH;
        }
        p.setFont(bold);
        p.fillRect(QRectF(page.left(), y, page.width(), rowH), QColor(235, 235, 235));
        for (int i = 0; i < n; ++i)
            p.drawText(QRectF(x[i] + 4, y, x[i + 1] - x[i] - 8, rowH), Qt::AlignCenter | Qt::AlignVCenter, report.columns.at(i));
        p.drawLine(QPointF(page.left(), y + rowH), QPointF(page.right(), y + rowH));
        y += rowH;
        p.setFont(font);
    };
    auto finishPage = [&] {
        p.drawText(QRectF(page.left(), page.bottom() - rowH, page.width(), rowH), Qt::AlignCenter,
                   QStringLiteral("第 %1 页").arg(pageNo));
    };

    startPage();
    QStringList cells;
    while (report.next && report.next(cells)) {
        if (y + rowH > page.bottom() - rowH * 1.5) {
            finishPage();
            startPage();
        }
        for (int i = 0; i < n && i < cells.size(); ++i) {
            const bool right = i < report.rightAligned.size() && report.rightAligned.at(i);
            p.drawText(QRectF(x[i] + 4, y, x[i + 1] - x[i] - 8, rowH), (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                       cells.at(i));
        }
        y += rowH;
        cells.clear();
    }
    if (!report.footer.isEmpty()) {
        if (y + rowH > page.bottom() - rowH * 1.5) {
            finishPage();
            startPage();
        }
        p.drawLine(QPointF(page.left(), y), QPointF(page.right(), y));
        p.setFont(bold);
        p.drawText(QRectF(page.left() + 4, y, page.width() - 8, rowH), Qt::AlignLeft | Qt::AlignVCenter, report.footer);
    }
    finishPage();
    return pageNo;
}

namespace {
void setup(QPrinter &printer)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
}
} // namespace

bool writeListReportPdf(const QString &pdfPath, const ListReport &report, int *pages)
{
    QPrinter printer(QPrinter::ScreenResolution);
    setup(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printer.setDocName(report.title);
    const int n = paintListReport(&printer, report);
    if (pages)
        *pages = n;
    return QFileInfo::exists(pdfPath);
}

void ShowListReport(QWidget *parent, const ListReport &report)
{
    QPrinter printer(QPrinter::HighResolution);
    setup(printer);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(report.title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&report](QPrinter *p) { paintListReport(p, report); });
    dialog.exec();
}

ListReport gridListReport(const DataGrid *grid, const QString &title)
{
    ListReport r;
    r.title = title;
    QList<int> visible;
    const QList<GridColumn> &cols = grid->columns();
    for (int i = 0; i < cols.size(); ++i) {
        if (!cols.at(i).visible)
            continue;
        visible << i;
        r.columns << cols.at(i).title;
        r.rightAligned << (cols.at(i).format != GridFormat::Text);
        r.widths << qMax(1, cols.at(i).width);
    }
    auto query = std::make_shared<QSqlQuery>();
    const QString sql = grid->orderedQuery();
    const QVariantList values = grid->queryValues();
    r.restart = [query, sql, values] { *query = Session::current().run(sql, values); };
    r.next = [query, visible, cols](QStringList &cells) {
        if (!query->isActive() || !query->next())
            return false;
        for (int i : visible)
            cells << formatGridValue(query->value(i), cols.at(i).format);
        return true;
    };
    QStringList totals = {QStringLiteral("合计：共 %1 条").arg(grid->totalRows())};
    for (const GridColumn &c : cols)
        if (c.sum && c.visible)
            totals << c.title + QStringLiteral("：") + formatGridValue(grid->total(c.field), c.format == GridFormat::Text ? GridFormat::Number : c.format);
    r.footer = totals.join(QStringLiteral("　　"));
    return r;
}

} // namespace tavomi
