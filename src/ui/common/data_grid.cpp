#include "ui/common/data_grid.h"

#include "common/error.h"
#include "common/identity.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"
#include "common/text_utils.h"
#include "spreadsheet/xlsx_export.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QSqlError>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

namespace tavomi {

namespace {
std::function<QString(const QString &)> g_chooser;

bool isNumeric(GridFormat f)
{
    return f != GridFormat::Text;
}
} // namespace

QString formatGridValue(const QVariant &value, GridFormat format)
{
    if (value.isNull())
        return QString();
    if (format == GridFormat::Text)
        return value.toString();
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (!ok)
        return value.toString();
    const QLocale c = QLocale::c();
    switch (format) {
    case GridFormat::Money:
        return QStringLiteral("￥") + c.toString(roundMoney(v), 'f', 2);
    case GridFormat::Amount:
        return QString::number(roundMoney(v), 'f', 2);
    case GridFormat::Decimal1:
        return c.toString(roundHalfAway(v, 1), 'f', 1);
    case GridFormat::Number:
        return numberText(v);
    case GridFormat::Text:
        break;
    }
    return value.toString();
}

QVariant DataGridModel::data(const QModelIndex &index, int role) const
{
    const int c = index.column();
    const GridFormat format = c < m_columns.size() ? m_columns.at(c).format : GridFormat::Text;
    if (role == Qt::DisplayRole)
        return formatGridValue(QSqlQueryModel::data(index, Qt::DisplayRole), format);
    if (role == Qt::TextAlignmentRole && isNumeric(format))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::BackgroundRole && m_rowColor) {
        const QColor color = m_rowColor(record(index.row()));
        if (color.isValid())
            return color;
    }
    return QSqlQueryModel::data(index, role);
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_columns.size())
        return m_columns.at(section).title;
    return QSqlQueryModel::headerData(section, orientation, role);
}

DataGrid::DataGrid(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_view = new QTableView(this);
    m_model = new DataGridModel(this);
    m_view->setModel(m_model);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { emit currentRowChanged(current.isValid() ? current.row() : -1); });
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAlternatingRowColors(true);
    m_view->verticalHeader()->setDefaultSectionSize(22);
    m_view->horizontalHeader()->setSectionsClickable(true);
    m_view->horizontalHeader()->setSortIndicatorShown(true);
    layout->addWidget(m_view);
    m_footer = new QLabel(this);
    m_footer->setObjectName(QStringLiteral("footer"));
    m_footer->setContentsMargins(6, 3, 6, 3);
    layout->addWidget(m_footer);

    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (section < 0 || section >= m_columns.size())
            return;
        const QString field = m_columns.at(section).field;
        // Ascending first, then alternating.
        const Qt::SortOrder order = (m_sortField == field && m_sortOrder == Qt::AscendingOrder) ? Qt::DescendingOrder
                                                                                                : Qt::AscendingOrder;
        sortBy(field, order);
    });
    connect(m_view, &QTableView::doubleClicked, this, [this](const QModelIndex &i) { Q_EMIT activated(i.row()); });
    connect(m_view, &QTableView::activated, this, [this](const QModelIndex &i) { Q_EMIT activated(i.row()); });
}

void DataGrid::setColumns(const QList<GridColumn> &columns)
{
    m_columns = columns;
    m_model->setColumns(columns);
}

void DataGrid::setColumnVisible(const QString &field, bool visible)
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].field == field) {
            m_columns[i].visible = visible;
            m_view->setColumnHidden(i, !visible);
        }
    }
    m_model->setColumns(m_columns);
    updateFooter();
}

void DataGrid::setRowColor(std::function<QColor(const QSqlRecord &)> hook)
{
    m_model->setRowColor(std::move(hook));
}

void DataGrid::setQuery(const QString &sql, const QVariantList &values)
{
    m_sql = sql;
    m_values = values;
    refresh();
}

QString DataGrid::orderedSql() const
{
    QStringList fields;
    for (const GridColumn &c : m_columns)
        fields << c.field;
    QString sql = QStringLiteral("select %1 from (%2) g").arg(fields.join(QLatin1Char(',')), m_sql);
    if (!m_sortField.isEmpty())
        sql += QStringLiteral(" order by %1 %2").arg(m_sortField, m_sortOrder == Qt::AscendingOrder ? QStringLiteral("asc") : QStringLiteral("desc"));
    return sql;
}

void DataGrid::refresh()
{
    if (m_sql.isEmpty() || m_columns.isEmpty())
        return;
    Session &s = Session::current();
    QSqlQuery q(s.database());
    q.prepare(orderedSql());
    for (int i = 0; i < m_values.size(); ++i)
        q.bindValue(i, m_values.at(i));
    if (!q.exec())
        throw DbError(q.lastError().text());
    m_model->setQuery(std::move(q));
    for (int i = 0; i < m_columns.size(); ++i) {
        m_view->setColumnHidden(i, !m_columns.at(i).visible);
        if (m_columns.at(i).width > 0)
            m_view->setColumnWidth(i, m_columns.at(i).width);
    }

    // Totals over the whole result, not only the rows fetched so far.
    QStringList parts = {QStringLiteral("count(*)")};
    QStringList summed;
    for (const GridColumn &c : m_columns)
        if (c.sum) {
            parts << QStringLiteral("sum(%1)").arg(c.field);
            summed << c.field;
        }
    QSqlQuery t = s.run(QStringLiteral("select %1 from (%2) g").arg(parts.join(QLatin1Char(',')), m_sql), m_values);
    m_totals.clear();
    m_totalRows = 0;
    if (t.next()) {
        m_totalRows = t.value(0).toInt();
        for (int i = 0; i < summed.size(); ++i)
            m_totals.insert(summed.at(i), t.value(i + 1).toDouble());
    }
    updateFooter();
}

void DataGrid::updateFooter()
{
    QStringList parts = {m_footerLabel + QStringLiteral("共 %1 条").arg(m_totalRows)};
    for (const GridColumn &c : m_columns)
        if (c.sum && c.visible)
            parts << c.title + QStringLiteral("：") + formatGridValue(m_totals.value(c.field), c.format == GridFormat::Text ? GridFormat::Number : c.format);
    m_footer->setText(parts.join(QStringLiteral("　　")));
}

void DataGrid::sortBy(const QString &field, Qt::SortOrder order)
{
    int section = -1;
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).field == field)
            section = i;
    if (section < 0)
        return;
    m_sortField = field;
    m_sortOrder = order;
    m_view->horizontalHeader()->setSortIndicator(section, order);
    refresh();
}

int DataGrid::currentRow() const
{
    return m_view->currentIndex().isValid() ? m_view->currentIndex().row() : -1;
}

QVariant DataGrid::value(int row, const QString &field) const
{
    if (row < 0 || row >= m_model->rowCount())
        return QVariant();
    return m_model->record(row).value(field);
}

QVariant DataGrid::currentValue(const QString &field) const
{
    return value(currentRow(), field);
}

QString DataGrid::exportTo(const QString &path, const QString &sheetName) const
{
    if (m_sql.isEmpty())
        return QStringLiteral("当前无数据可导出!");
    QStringList titles;
    QList<int> visible;
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).visible) {
            titles << m_columns.at(i).title;
            visible << i;
        }
    try {
        QSqlQuery q = Session::current().run(orderedSql(), m_values);
        return spreadsheet::writeXlsx(path, sheetName, titles, [&](QVariantList &row) {
            if (!q.next())
                return false;
            for (int i : visible) {
                QVariant v = q.value(i);
                if (m_columns.at(i).format != GridFormat::Text && !v.isNull()) {
                    bool ok = false;
                    const double d = v.toDouble(&ok);
                    if (ok)
                        v = d;
                }
                row << v;
            }
            return true;
        });
    } catch (const Error &e) {
        return e.message();
    }
}

void setExportFileChooser(std::function<QString(const QString &)> chooser)
{
    g_chooser = std::move(chooser);
}

QString chooseExportFile(QWidget *parent, const QString &defaultName)
{
    const QString file = g_chooser ? g_chooser(defaultName)
                                   : QFileDialog::getSaveFileName(parent, QStringLiteral("导出EXCEL"), defaultName, QStringLiteral("*.xlsx"));
    return file.isEmpty() ? file : spreadsheet::withXlsxExtension(file);
}

void ExportGridToExcel(const QString &defaultName, DataGrid *grid)
{
    Session &s = Session::current();
    if (!hasRight(s, QStringLiteral("导出数据到excel"))) {
        Messages::warning(kNoRightText);
        return;
    }
    const QString file = chooseExportFile(grid, defaultName);
    if (file.isEmpty())
        return;
    const QString error = grid->exportTo(file, defaultName);
    if (error.isEmpty())
        Messages::info(QStringLiteral("导出成功"));
    else
        Messages::warning(error);
}

} // namespace tavomi
