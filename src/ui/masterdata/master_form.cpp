#include "ui/masterdata/master_form.h"

#include "common/error.h"
#include "common/messages.h"
#include "common/permissions.h"
#include "common/session.h"
#include "masterdata/field_error.h"
#include "ui/common/form_helpers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStandardItemModel>
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

void MasterDataForm::buildUi()
{
    auto *layout = new QVBoxLayout(this);

    auto *buttons = new QHBoxLayout;
    auto addButton = [&](const QString &text, const QString &hint, const QKeySequence &key, auto slot) {
        auto *b = new QPushButton(text, this);
        b->setAutoDefault(false);
        b->setToolTip(hint.isEmpty() ? text : hint);
        if (!key.isEmpty()) {
            b->setShortcut(key);
            b->setToolTip(b->toolTip() + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) + QLatin1Char(')'));
        }
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        m_buttons << b;
        return b;
    };
    addButton(m_desc.exitText, QString(), QKeySequence(), [this] { reject(); });
    addButton(m_desc.newText, m_desc.newHint, QKeySequence(Qt::CTRL | Qt::Key_N), [this] { newRecord(); });
    addButton(m_desc.deleteText, m_desc.deleteHint, QKeySequence(Qt::CTRL | Qt::Key_D), [this] { removeCurrent(); });
    addButton(m_desc.saveText, m_desc.saveHint, QKeySequence(Qt::CTRL | Qt::Key_S), [this] { save(); });
    addButton(m_desc.searchText, m_desc.searchHint, QKeySequence(Qt::CTRL | Qt::Key_F), [this] { startSearch(); });
    if (!m_desc.sortText.isEmpty())
        addButton(m_desc.sortText, QString(), QKeySequence(), [this] { sortList(); });
    buttons->addStretch();
    layout->addLayout(buttons);

    auto *boxes = new QGridLayout;
    const int perRow = m_desc.fields.size() > 6 ? 3 : 2;
    for (int i = 0; i < m_desc.fields.size(); ++i) {
        const MasterFieldDescriptor &f = m_desc.fields.at(i);
        auto *label = new QLabel(f.caption, this);
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        label->setBuddy(edit);
        boxes->addWidget(label, i / perRow, (i % perRow) * 2);
        boxes->addWidget(edit, i / perRow, (i % perRow) * 2 + 1);
        m_boxes << edit;
        connect(edit, &QLineEdit::returnPressed, this, [this, i] { onReturn(i); });
        const bool live = m_desc.liveSearchColumns.isEmpty() || m_desc.liveSearchColumns.contains(f.column);
        if (live)
            connect(edit, &QLineEdit::textEdited, this, [this] {
                if (m_mode == Mode::Search)
                    runSearch();
            });
    }
    layout->addLayout(boxes);

    if (!m_desc.deleteToggleText.isEmpty()) {
        m_deleteToggle = new QCheckBox(m_desc.deleteToggleText, this);
        m_deleteToggle->setChecked(true);
        layout->addWidget(m_deleteToggle);
    }

    m_model = new QStandardItemModel(this);
    QStringList titles;
    for (const MasterFieldDescriptor &f : m_desc.fields)
        titles << (f.gridTitle.isEmpty() ? f.column : f.gridTitle);
    m_model->setHorizontalHeaderLabels(titles);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setSortingEnabled(true);
    m_grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    connect(m_grid, &QTableView::clicked, this, [this](const QModelIndex &index) { loadRow(index.row()); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &index) {
        if (m_grid->hasFocus() && index.isValid())
            loadRow(index.row());
    });
    layout->addWidget(m_grid, 1);
    resize(760, 520);
}

QLineEdit *MasterDataForm::box(const QString &column) const
{
    for (int i = 0; i < m_desc.fields.size(); ++i)
        if (m_desc.fields.at(i).column == column)
            return m_boxes.at(i);
    return nullptr;
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
    return m_model->rowCount();
}

QString MasterDataForm::cell(int row, const QString &column) const
{
    for (int i = 0; i < m_desc.fields.size(); ++i)
        if (m_desc.fields.at(i).column == column)
            return m_model->index(row, i).data().toString();
    return QString();
}

void MasterDataForm::selectRow(int row)
{
    m_grid->selectRow(row);
    loadRow(row);
}

void MasterDataForm::showRows(const QList<MasterRow> &rows)
{
    m_model->removeRows(0, m_model->rowCount());
    m_grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    for (const MasterRow &r : rows) {
        QList<QStandardItem *> items;
        for (int i = 0; i < m_desc.fields.size(); ++i) {
            const int c = m_desc.table->indexOf(m_desc.fields.at(i).column);
            items << new QStandardItem(c >= 0 && c < r.size() ? r.at(c) : QString());
        }
        m_model->appendRow(items);
    }
}

void MasterDataForm::list(const QString &orderBy)
{
    showRows(store().list(orderBy));
}

void MasterDataForm::setBoxesEnabled(bool enabled, bool empty)
{
    SetEditsState(this, enabled ? (empty ? 1 : 2) : 0);
}

MasterRow MasterDataForm::typedRow() const
{
    MasterRow row;
    for (const MasterColumn &c : m_desc.table->columns) {
        QLineEdit *e = box(c.name);
        row << (e ? e->text().trimmed() : QString());
    }
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
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_mode = Mode::Browse;
    for (int i = 0; i < m_desc.fields.size(); ++i)
        m_boxes.at(i)->setText(m_model->index(row, i).data().toString());
}

void MasterDataForm::newRecord()
{
    m_mode = Mode::Browse;
    setBoxesEnabled(true, true);
    if (!m_boxes.isEmpty())
        m_boxes.first()->setFocus();
}

void MasterDataForm::startSearch()
{
    m_mode = Mode::Search;
    setBoxesEnabled(true, true);
    runSearch();
    if (!m_boxes.isEmpty())
        m_boxes.first()->setFocus();
}

void MasterDataForm::runSearch()
{
    MasterRow texts;
    for (const MasterColumn &c : m_desc.table->columns) {
        QLineEdit *e = box(c.name);
        texts << (e ? e->text() : QString());
    }
    try {
        showRows(store().search(texts));
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

void MasterDataForm::onReturn(int index)
{
    if (m_desc.fields.at(index).column == m_desc.enterSavesColumn) {
        save();
        return;
    }
    for (int i = index + 1; i < m_boxes.size(); ++i) {
        if (m_boxes.at(i)->isEnabled()) {
            m_boxes.at(i)->setFocus();
            m_boxes.at(i)->selectAll();
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
    MasterTableStore s = store();
    try {
        if (!s.find(row)) {
            if (!m_desc.insertQuestion.isEmpty() && !Messages::question(m_desc.insertCaption, m_desc.insertQuestion))
                return;
            try {
                s.insert(row);
            } catch (const Error &e) {
                if (e.message() == kNoRightText || m_desc.saveFailedText.isEmpty())
                    Messages::warning(e.message());
                else
                    Messages::warning(m_desc.saveFailedText);
                return;
            }
            if (!m_desc.insertedText.isEmpty())
                Messages::info(m_desc.insertedText);
        } else {
            if (!m_desc.updateQuestion.isEmpty() && !Messages::question(m_desc.updateCaption, m_desc.updateQuestion))
                return;
            s.update(row, row);
            if (!m_desc.updatedText.isEmpty())
                Messages::info(m_desc.updatedText);
        }
        list(m_desc.table->listOrder);
        newRecord();
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
}

void MasterDataForm::removeCurrent()
{
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    const MasterRow row = rowAt(current.row());
    const bool ask = !m_deleteToggle || m_deleteToggle->isChecked();
    if (ask && !m_desc.deleteQuestion.isEmpty() && !Messages::question(m_desc.deleteCaption, m_desc.deleteQuestion))
        return;
    try {
        store().remove(row);
    } catch (const Error &e) {
        Messages::warning(e.message());
        return;
    }
    if (!m_desc.deletedText.isEmpty())
        Messages::info(m_desc.deletedText);
    try {
        list(m_desc.table->listOrder);
    } catch (const Error &e) {
        Messages::warning(e.message());
    }
    newRecord();
}

} // namespace tavomi
