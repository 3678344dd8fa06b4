#pragma once

#include <QColor>
#include <QList>
#include <QSqlQueryModel>
#include <QString>
#include <QVariantList>
#include <QWidget>

#include <functional>

class QLabel;
class QTableView;

namespace tavomi {

enum class GridFormat {
    Text,
    Money,    // ￥#,##0.00
    Amount,   // 0.00
    Decimal1, // #,##0.0
    Number,   // the general number form
};

struct GridColumn
{
    QString field;   // the column of the query
    QString title;   // the header text
    GridFormat format = GridFormat::Text;
    bool visible = true;
    bool sum = false; // footer total
    int width = 0;
};

// The rows of a grid: fetched from the database as the user scrolls, formatted per column.
class DataGridModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    using QSqlQueryModel::QSqlQueryModel;
    void setColumns(const QList<GridColumn> &columns) { m_columns = columns; }
    void setRowColor(std::function<QColor(const QSqlRecord &)> hook) { m_rowColor = std::move(hook); }
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<GridColumn> m_columns;
    std::function<QColor(const QSqlRecord &)> m_rowColor;
};

// One grid for every list and report: lazy rows, title-click sort over its own columns,
// a footer with totals the database computes over the whole result, and export.
class DataGrid : public QWidget
{
    Q_OBJECT
public:
    explicit DataGrid(QWidget *parent = nullptr);

    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_columns; }
    void setColumnVisible(const QString &field, bool visible);
    // A select whose result carries the columns' fields; values are bound by position.
    void setQuery(const QString &sql, const QVariantList &values = {});
    // Runs the query again (same filters and sort).
    void refresh();
    // Sorts by one of the grid's own columns; anything else is ignored.
    void sortBy(const QString &field, Qt::SortOrder order);
    QString sortField() const { return m_sortField; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    void setFooterLabel(const QString &text) { m_footerLabel = text; }
    void setRowColor(std::function<QColor(const QSqlRecord &)> hook);

    QTableView *view() const { return m_view; }
    DataGridModel *model() const { return m_model; }
    int totalRows() const { return m_totalRows; }
    double total(const QString &field) const { return m_totals.value(field); }
    int currentRow() const;
    QVariant value(int row, const QString &field) const;
    QVariant currentValue(const QString &field) const;

    // The grid's statement with its sort, and the bound values (for printing and export).
    QString orderedQuery() const { return orderedSql(); }
    QVariantList queryValues() const { return m_values; }

    // Every row of the result (not only the fetched ones) with the visible columns; empty on success.
    QString exportTo(const QString &path, const QString &sheetName) const;

Q_SIGNALS:
    void currentRowChanged(int row);
    void activated(int row);

private:
    QString orderedSql() const;
    void updateFooter();

    QList<GridColumn> m_columns;
    QString m_sql;
    QVariantList m_values;
    QString m_sortField;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QString m_footerLabel = QStringLiteral("合计：");
    int m_totalRows = 0;
    QHash<QString, double> m_totals;
    QTableView *m_view = nullptr;
    DataGridModel *m_model = nullptr;
    QLabel *m_footer = nullptr;
};

// Exports a grid: the permission 导出数据到excel, the save dialog (*.xlsx), all rows and visible
// columns with their titles, then "导出成功" or the reason it failed.
void ExportGridToExcel(const QString &defaultName, DataGrid *grid);
// The export dialog every list uses: *.xlsx, the extension appended when missing; empty for cancel.
QString chooseExportFile(QWidget *parent, const QString &defaultName);
// Test seam: replaces the save dialog (returns the chosen name, empty for cancel).
void setExportFileChooser(std::function<QString(const QString &defaultName)> chooser);

QString formatGridValue(const QVariant &value, GridFormat format);

} // namespace tavomi
