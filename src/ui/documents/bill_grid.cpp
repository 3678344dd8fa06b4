#include "ui/documents/bill_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>

namespace tavomi {

const QColor BillGridDelegate::kAlternateRow = QColor(254, 237, 222);
const QColor BillGridDelegate::kCurrentCell = QColor(111, 111, 255);
const QColor BillGridDelegate::kQuantityText = QColor(0, 0, 255);

BillGrid::BillGrid(QWidget *parent)
    : QTableWidget(0, kColumns, parent)
{
    setObjectName(QStringLiteral("grid1"));
    setItemDelegate(new BillGridDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(24);
    horizontalHeader()->setHighlightSections(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setColumnWidth(RowNo, 36);
    setColumnWidth(Code, 110);
    setColumnWidth(Unit, 48);
    setColumnWidth(Quantity, 70);
    setColumnWidth(Warehouse, 100);
    setColumnWidth(Discount, 60);
    setColumnWidth(Price, 80);
    setColumnWidth(Amount, 96);
    horizontalHeader()->setStretchLastSection(true);
    clearLines();
}

void BillGrid::setTitles(const QStringList &titles)
{
    QStringList labels{QString()};
    labels << titles;
    while (labels.size() < kColumns)
        labels << QString();
    setHorizontalHeaderLabels(labels);
    setColumnHidden(Note, titles.size() < Note);
    if (!isColumnHidden(Note))
        setColumnWidth(Name, 180);
}

QString BillGrid::text(int row, int column) const
{
    const QTableWidgetItem *it = item(row, column);
    return it ? it->text() : QString();
}

void BillGrid::setText(int row, int column, const QString &text)
{
    QTableWidgetItem *it = item(row, column);
    if (!it) {
        it = new QTableWidgetItem;
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (column == Code || column == Quantity || column == Discount || column == Price || column == Note)
            flags |= Qt::ItemIsEditable;
        it->setFlags(flags);
        if (column == Quantity || column == Discount || column == Price || column == Amount)
            it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        else if (column == RowNo || column == Unit)
            it->setTextAlignment(Qt::AlignCenter);
        setItem(row, column, it);
    }
    it->setText(text);
}

int BillGrid::appendLine()
{
    const int row = rowCount();
    insertRow(row);
    setText(row, RowNo, QString::number(row + 1));
    for (int c = Code; c < kColumns; ++c)
        setText(row, c, QString());
    return row;
}

void BillGrid::clearLines()
{
    cancelOpenEditor();
    setRowCount(0);
    appendLine();
    setCurrentCell(0, Code);
}

void BillGrid::setEditing(bool on)
{
    if (!on)
        cancelOpenEditor();
    m_editing = on;
    setEditTriggers(on ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                       : QAbstractItemView::NoEditTriggers);
}

bool BillGrid::typingColumn(int column) const
{
    return column == Code || column == Quantity || column == Discount || (column == Price && m_priceEditable)
        || (column == Note && hasNoteColumn());
}

void BillGrid::commitOpenEditor()
{
    if (QWidget *editor = m_editor) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void BillGrid::cancelOpenEditor()
{
    if (QWidget *editor = m_editor)
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

QRect BillGrid::cellRect(int row, int column) const
{
    const QRect r = visualRect(model()->index(row, column));
    return QRect(viewport()->mapTo(this, r.topLeft()), r.size());
}

void BillGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == m_editor)
        m_editor = nullptr;
    QTableWidget::closeEditor(editor, hint);
}

void BillGrid::keyPressEvent(QKeyEvent *event)
{
    if (offerKey(event, false))
        return;
    QTableWidget::keyPressEvent(event);
}

BillGridDelegate::BillGridDelegate(BillGrid *grid)
    : QStyledItemDelegate(grid)
    , m_grid(grid)
{}

void BillGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const bool current = index == m_grid->currentIndex() && index.column() != BillGrid::RowNo;
    QColor background = index.row() % 2 == 0 ? QColor(Qt::white) : kAlternateRow;
    if (index.column() == BillGrid::RowNo)
        background = opt.palette.color(QPalette::Button);
    if (current)
        background = kCurrentCell;
    painter->save();
    painter->fillRect(opt.rect, background);
    QColor textColor = index.column() == BillGrid::Quantity ? kQuantityText : QColor(Qt::black);
    if (current)
        textColor = Qt::white;
    painter->setPen(textColor);
    painter->setFont(opt.font);
    const QRect textRect = opt.rect.adjusted(3, 0, -3, 0);
    painter->drawText(textRect, int(opt.displayAlignment), opt.text);
    painter->setPen(QColor(210, 210, 210));
    painter->drawLine(opt.rect.bottomLeft(), opt.rect.bottomRight());
    painter->drawLine(opt.rect.topRight(), opt.rect.bottomRight());
    painter->restore();
}

bool BillGridDelegate::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && object == m_grid->openEditor()
        && m_grid->offerKey(static_cast<QKeyEvent *>(event), true))
        return true;
    return QStyledItemDelegate::eventFilter(object, event);
}

QWidget *BillGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!m_grid->editing() || !m_grid->typingColumn(index.column()))
        return nullptr;
    auto *edit = qobject_cast<QLineEdit *>(QStyledItemDelegate::createEditor(parent, option, index));
    if (!edit)
        edit = new QLineEdit(parent);
    edit->setFrame(false);
    if (index.column() != BillGrid::Code && index.column() != BillGrid::Note) {
        // Digits and at most one decimal point.
        static const QRegularExpression number(QStringLiteral("^[0-9]*\\.?[0-9]*$"));
        edit->setValidator(new QRegularExpressionValidator(number, edit));
        edit->setAlignment(Qt::AlignRight);
    }
    m_grid->noteEditor(edit);
    return edit;
}

} // namespace tavomi
