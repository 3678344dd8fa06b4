#include "ui/masterdata/master_form.h"

#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"
#include "masterdata/basic_lists.h"
#include "masterdata/field_error.h"
#include "ui/common/data_grid.h"
#include "ui/common/form_helpers.h"
#include "ui/common/report_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QVBoxLayout>

namespace tavomi {

MasterDataForm::MasterDataForm(const MasterFormDescriptor &descriptor, QWidget *parent)
    : QDialog(parent)
    , m_desc(descriptor)
{
    Q_ASSERT(m_desc.table);
    setObjectName(m_desc.objectName);
    setWindowTitle(m_desc.caption);
    buildUi();
    setBoxesEnabled(false, false);
    try {
        list(QString());
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
}

MasterTableStore MasterDataForm::store() const
{
    return MasterTableStore(Session::current(), *m_desc.table);
}

QPushButton *MasterDataForm::addToolButton(const QString &text, const QString &hint)
{
    auto *b = new QPushButton(text, this);
    b->setAutoDefault(false);
    b->setToolTip(hint.isEmpty() ? text : hint);
    m_buttonRow->insertWidget(m_buttonRow->count() - 1, b);
    m_buttons << b;
    return b;
}

void MasterDataForm::buildUi()
{
    m_layout = new QVBoxLayout(this);

    m_buttonRow = new QHBoxLayout;
    m_buttonRow->addStretch();
    auto addButton = [&](const QString &text, const QString &hint, const QKeySequence &key, auto slot) {
        QPushButton *b = addToolButton(text, hint);
        if (!key.isEmpty()) {
            b->setShortcut(key);
            b->setToolTip(b->toolTip() + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) + QLatin1Char(')'));
        }
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    addButton(m_desc.exitText, QString(), QKeySequence(), [this] { reject(); });
    addButton(m_desc.newText, m_desc.newHint, QKeySequence(Qt::CTRL | Qt::Key_N), [this] { newRecord(); });
    addButton(m_desc.deleteText, m_desc.deleteHint, QKeySequence(Qt::CTRL | Qt::Key_D), [this] { removeCurrent(); });
    addButton(m_desc.saveText, m_desc.saveHint, QKeySequence(Qt::CTRL | Qt::Key_S), [this] { save(); });
    if (!m_desc.searchText.isEmpty())
        addButton(m_desc.searchText, m_desc.searchHint, QKeySequence(Qt::CTRL | Qt::Key_F), [this] { startSearch(); });
    if (!m_desc.sortText.isEmpty())
        addButton(m_desc.sortText, QString(), QKeySequence(), [this] { sortList(); });
    if (!m_desc.exportText.isEmpty())
        addButton(m_desc.exportText, QString(), QKeySequence(), [this] { exportList(); });
    if (!m_desc.printText.isEmpty())
        addButton(m_desc.printText, QString(), QKeySequence(Qt::CTRL | Qt::Key_P), [this] { printList(); });
    m_layout->addLayout(m_buttonRow);

    auto *boxes = new QGridLayout;
    const int perRow = m_desc.fields.size() > 6 ? 3 : 2;
    for (int i = 0; i < m_desc.fields.size(); ++i) {
        const MasterFieldDescriptor &f = m_desc.fields.at(i);
        auto *label = new QLabel(f.caption, this);
        QWidget *widget = nullptr;
        if (!f.choices.isEmpty()) {
            auto *combo = new QComboBox(this);
            combo->setObjectName(QStringLiteral("ComboBox%1").arg(i + 1));
            combo->addItems(f.choices);
            combo->setCurrentIndex(-1);
            widget = combo;
        } else {
            auto *edit = new QLineEdit(this);
            edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
            connect(edit, &QLineEdit::returnPressed, this, [this, i] { onReturn(i); });
            const bool live = m_desc.liveSearch && (m_desc.liveSearchColumns.isEmpty() || m_desc.liveSearchColumns.contains(f.column));
            if (live)
                connect(edit, &QLineEdit::textEdited, this, [this] {
                    if (m_mode == Mode::Search)
                        runSearch();
                });
            widget = edit;
        }
        label->setBuddy(widget);
        boxes->addWidget(label, i / perRow, (i % perRow) * 2);
        boxes->addWidget(widget, i / perRow, (i % perRow) * 2 + 1);
        m_boxes << widget;
    }
    for (int c = 0; c < perRow; ++c)
        boxes->setColumnStretch(c * 2 + 1, 1);
    m_layout->addLayout(boxes);

    if (!m_desc.deleteToggleText.isEmpty()) {
        m_deleteToggle = new QCheckBox(m_desc.deleteToggleText, this);
        m_deleteToggle->setChecked(true);
        m_layout->addWidget(m_deleteToggle);
    }

    QList<GridColumn> columns;
    for (const MasterFieldDescriptor &f : m_desc.fields) {
        GridColumn c;
        c.field = f.column;
        c.title = f.gridTitle.isEmpty() ? f.column : f.gridTitle;
        c.visible = f.inGrid;
        columns << c;
    }
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setColumns(columns);
    QTableView *view = m_grid->view();
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->horizontalHeader()->setStretchLastSection(true);
    view->verticalHeader()->setDefaultSectionSize(22);
    connect(view, &QTableView::clicked, this, [this](const QModelIndex &index) { loadRow(index.row()); });
    connect(m_grid, &DataGrid::currentRowChanged, this, [this](int row) {
        if (m_grid->view()->hasFocus())
            loadRow(row);
    });
    connect(view, &QTableView::doubleClicked, this, [this](const QModelIndex &index) { rowActivated(index.row()); });
    m_layout->addWidget(m_grid, 1);
    resize(860, 560);
}

QTableView *MasterDataForm::grid() const
{
    return m_grid->view();
}

QWidget *MasterDataForm::editor(int index) const
{
    return index >= 0 && index < m_boxes.size() ? m_boxes.at(index) : nullptr;
}

QLineEdit *MasterDataForm::box(const QString &column) const
{
    for (int i = 0; i < m_desc.fields.size(); ++i)
        if (m_desc.fields.at(i).column == column)
            return qobject_cast<QLineEdit *>(m_boxes.at(i));
    return nullptr;
}

QComboBox *MasterDataForm::choice(const QString &column) const
{
    for (int i = 0; i < m_desc.fields.size(); ++i)
        if (m_desc.fields.at(i).column == column)
            return qobject_cast<QComboBox *>(m_boxes.at(i));
    return nullptr;
}

QString MasterDataForm::text(const QString &column) const
{
    if (QLineEdit *e = box(column))
        return e->text();
    if (QComboBox *c = choice(column))
        return c->currentIndex() >= 0 ? c->currentText() : QString();
    return QString();
}

void MasterDataForm::setText(const QString &column, const QString &value)
{
    if (QLineEdit *e = box(column))
        e->setText(value);
    else if (QComboBox *c = choice(column))
        c->setCurrentIndex(c->findText(value.trimmed()));
}

QPushButton *MasterDataForm::button(const QString &text) const
{
    for (QPushButton *b : m_buttons)
        if (b->text() == text)
            return b;
    return nullptr;
}

int MasterDataForm::rowCount() const
{
    return m_grid->totalRows();
}

QString MasterDataForm::cell(int row, const QString &column) const
{
    return m_grid->value(row, column).toString();
}

int MasterDataForm::currentRow() const
{
    return m_grid->currentRow();
}

void MasterDataForm::selectRow(int row)
{
    m_grid->view()->selectRow(row);
    loadRow(row);
}

void MasterDataForm::showQuery(const QString &sql, const QVariantList &values)
{
    m_grid->setQuery(sql, values);
}

void MasterDataForm::list(const QString &orderBy)
{
    showQuery(store().listSql(orderBy), {});
}

void MasterDataForm::relist()
{
    list(m_desc.table->listOrder);
}

void MasterDataForm::setBoxesEnabled(bool enabled, bool empty)
{
    SetEditsState(this, enabled ? (empty ? 1 : 2) : 0);
    if (m_desc.saveFollowsBoxes)
        if (QPushButton *saveButton = button(m_desc.saveText))
            saveButton->setEnabled(enabled);
    for (QWidget *w : m_boxes) {
        if (auto *c = qobject_cast<QComboBox *>(w)) {
            c->setEnabled(enabled);
            if (enabled && empty)
                c->setCurrentIndex(-1);
        }
    }
}

MasterRow MasterDataForm::typedRow() const
{
    MasterRow row;
    for (const MasterColumn &c : m_desc.table->columns)
        row << text(c.name).trimmed();
    return row;
}

MasterRow MasterDataForm::rowAt(int row) const
{
    MasterRow out;
    for (const MasterColumn &c : m_desc.table->columns)
        out << cell(row, c.name);
    return out;
}

void MasterDataForm::loadRow(int row)
{
    if (row < 0 || row >= m_grid->model()->rowCount())
        return;
    m_mode = Mode::Browse;
    for (int i = 0; i < m_desc.fields.size(); ++i)
        setText(m_desc.fields.at(i).column, cell(row, m_desc.fields.at(i).column).trimmed());
}

void MasterDataForm::newRecord()
{
    m_mode = Mode::Browse;
    setBoxesEnabled(true, true);
    if (!m_boxes.isEmpty())
        m_boxes.first()->setFocus();
}

void MasterDataForm::lockBoxes()
{
    m_mode = Mode::Browse;
    setBoxesEnabled(false, false);
}

void MasterDataForm::startSearch()
{
    const bool open = !m_boxes.isEmpty() && m_boxes.first()->isEnabled();
    m_mode = Mode::Search;
    if (!m_desc.liveSearch && open) {
        // Searched on the button only: search by what has been typed.
        runSearch();
        return;
    }
    setBoxesEnabled(true, true);
    runSearch();
    if (!m_boxes.isEmpty())
        m_boxes.first()->setFocus();
}

void MasterDataForm::runSearch()
{
    MasterRow texts;
    for (const MasterColumn &c : m_desc.table->columns)
        texts << text(c.name);
    try {
        QVariantList values;
        const QString sql = store().searchSql(texts, values);
        showQuery(sql, values);
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
}

void MasterDataForm::sortList()
{
    try {
        list(m_desc.table->listOrder);
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
}

bool MasterDataForm::sortBy(const QString &column, Qt::SortOrder order)
{
    if (m_desc.table->indexOf(column) < 0)
        return false;
    try {
        m_grid->sortBy(column, order);
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
    return m_grid->sortField() == column;
}

bool MasterDataForm::listSortedBy(const QString &column, Qt::SortOrder order)
{
    if (m_desc.table->indexOf(column) < 0)
        return false;
    try {
        list(QString());
    } catch (const Error &e) {
        Messages::warning(e.message());
        return false;
    }
    return sortBy(column, order);
}

void MasterDataForm::exportList()
{
    if (m_grid->totalRows() == 0) {
        Messages::info(QStringLiteral("当前无数据可导出!"));
        return;
    }
    ExportGridToExcel(m_desc.exportName, m_grid);
}

void MasterDataForm::printList()
{
    Session &s = Session::current();
    if (!m_desc.printRight.isEmpty() && !hasRight(s, m_desc.printRight)) {
        Messages::warning(kNoRightText);
        return;
    }
    try {
        if (!m_desc.printLog.isEmpty())
            logAction(s, kLogGeneral, m_desc.printLog);
        report::ReportData data;
        data.title = m_desc.printTitle;
        const CompanyData company = readCompanyData(s);
        data.sets.append({QStringLiteral("company"),
                          {QStringLiteral("公司名"), QStringLiteral("销售电话"), QStringLiteral("传真"), QStringLiteral("地址")},
                          {{company.name, company.phone, company.fax, company.address}}});
        // The listed rows (the current list or search, in the grid's order), printed columns only.
        QStringList columns = m_desc.printColumns;
        if (columns.isEmpty())
            for (const MasterFieldDescriptor &f : m_desc.fields)
                if (f.inGrid)
                    columns << f.column;
        report::DataSet rows{QStringLiteral("list"), {}, {}};
        for (const QString &column : columns) {
            QString title = column;
            for (const MasterFieldDescriptor &f : m_desc.fields)
                if (f.column == column && !f.gridTitle.isEmpty())
                    title = f.gridTitle;
            rows.columns << title;
        }
        QSqlQuery q = s.run(m_grid->orderedQuery(), m_grid->queryValues());
        while (q.next()) {
            QVariantList row;
            for (const QString &column : columns)
                row << q.value(column).toString().trimmed();
            rows.rows.append(row);
        }
        data.sets.append(rows);
        ShowReportFile(this, m_desc.printTemplate, data);
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
}

void MasterDataForm::onReturn(int index)
{
    if (m_desc.fields.at(index).column == m_desc.enterSavesColumn) {
        save();
        return;
    }
    for (int i = index + 1; i < m_boxes.size(); ++i) {
        if (m_boxes.at(i)->isEnabled()) {
            m_boxes.at(i)->setFocus();
            if (auto *e = qobject_cast<QLineEdit *>(m_boxes.at(i)))
                e->selectAll();
            return;
        }
    }
}

void MasterDataForm::save()
{
    if (!m_boxes.isEmpty() && !m_boxes.first()->isEnabled())
        newRecord();
    m_mode = Mode::Browse;
    const MasterRow row = typedRow();
    for (int i = 0; i < m_desc.table->columns.size(); ++i) {
        if (m_desc.table->columns.at(i).required && row.at(i).isEmpty()) {
            Messages::info(m_desc.requiredMissingText);
            if (!m_boxes.isEmpty())
                m_boxes.first()->setFocus();
            return;
        }
    }
    const int selected = currentRow();
    const MasterRow selectedRow = selected >= 0 ? rowAt(selected) : MasterRow();
    MasterTableStore s = store();
    auto failed = [this](const Error &e) {
        if (auto *fe = dynamic_cast<const FieldError *>(&e)) {
            Messages::warning(fe->message());
            for (int i = 0; i < m_desc.fields.size(); ++i)
                if (m_desc.fields.at(i).column == fe->column() && m_boxes.at(i)->isEnabled())
                    m_boxes.at(i)->setFocus();
        } else if (e.message() == kNoRightText || m_desc.saveFailedText.isEmpty()) {
            Messages::warning(e.message());
        } else {
            Messages::warning(m_desc.saveFailedText + QLatin1Char('\n') + e.message());
        }
    };
    try {
        MasterRow key = m_desc.lookupKey ? m_desc.lookupKey(row, selectedRow) : row;
        bool found = s.find(key);
        if (!found && key != row && s.find(row)) {
            // The typed pair itself is stored already: change that row rather than add a twin.
            key = row;
            found = true;
        }
        if (!found) {
            if (!m_desc.insertQuestion.isEmpty() && !Messages::question(m_desc.insertCaption, m_desc.insertQuestion))
                return;
            try {
                s.insert(row);
            } catch (const Error &e) {
                failed(e);
                return;
            }
            if (!m_desc.insertedText.isEmpty())
                Messages::info(m_desc.insertedText);
        } else {
            if (!m_desc.updateQuestion.isEmpty() && !Messages::question(m_desc.updateCaption, m_desc.updateQuestion))
                return;
            try {
                s.update(row, key);
            } catch (const Error &e) {
                failed(e);
                return;
            }
            if (!m_desc.updatedText.isEmpty())
                Messages::info(m_desc.updatedText);
        }
        relist();
        if (m_desc.lockAfterSave)
            setBoxesEnabled(false, false);
        else
            newRecord();
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
}

void MasterDataForm::removeCurrent()
{
    const int current = currentRow();
    if (current < 0) {
        if (!m_desc.nothingToDeleteText.isEmpty())
            Messages::info(m_desc.nothingToDeleteText);
        return;
    }
    const MasterRow row = rowAt(current);
    const bool ask = !m_deleteToggle || m_deleteToggle->isChecked();
    if (ask && !m_desc.deleteQuestion.isEmpty() && !Messages::question(m_desc.deleteCaption, m_desc.deleteQuestion))
        return;
    try {
        store().remove(row);
    } catch (const Error &e) {
        if (e.message() == kNoRightText || m_desc.deleteFailedText.isEmpty())
            Messages::warning(e.message());
        else
            Messages::warning(m_desc.deleteFailedText + QLatin1Char('\n') + e.message());
        return;
    }
    if (!m_desc.deletedText.isEmpty())
        Messages::info(m_desc.deletedText);
    try {
        relist();
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
    newRecord();
}

} // namespace tavomi
