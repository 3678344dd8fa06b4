#pragma once

#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <functional>

class QKeyEvent;

namespace tavomi {

// The item grid of a bill form (grid1). Column 0 holds the row numbers, columns 1 to 8 the line:
// code, unit, quantity, warehouse, discount, price, amount, name; sales bills add column 9, a free
// note (备注/条形码), hidden on the others. The form decides what a key
// does; the grid only draws, opens editors on the typing columns and reports the editors it opens.
class BillGrid : public QTableWidget
{
    Q_OBJECT
public:
    enum Column { RowNo = 0, Code = 1, Unit = 2, Quantity = 3, Warehouse = 4, Discount = 5, Price = 6, Amount = 7, Name = 8, Note = 9 };
    static constexpr int kColumns = 10;

    explicit BillGrid(QWidget *parent = nullptr);

    // Titles of columns 1 onwards; the note column shows only when it has a title.
    void setTitles(const QStringList &titles);
    bool hasNoteColumn() const { return !isColumnHidden(Note); }
    int lastColumn() const { return hasNoteColumn() ? int(Note) : int(Name); }
    QString text(int row, int column) const;
    void setText(int row, int column, const QString &text);
    // Appends an empty line numbered in column 0; returns its row.
    int appendLine();
    // One empty line.
    void clearLines();
    // Whether the user may type (the form's editing state).
    void setEditing(bool on);
    bool editing() const { return m_editing; }
    // Whether the price column takes typing (the form's price-change option).
    void setPriceEditable(bool on) { m_priceEditable = on; }
    bool priceEditable() const { return m_priceEditable; }
    // Columns whose cells open a text editor.
    bool typingColumn(int column) const;

    QWidget *openEditor() const { return m_editor; }
    void commitOpenEditor();
    void cancelOpenEditor();

    // Every key pressed in the grid or in its open editor goes to the handler first; true: handled.
    using KeyHandler = std::function<bool(QKeyEvent *event, bool inEditor)>;
    void setKeyHandler(KeyHandler handler) { m_keyHandler = std::move(handler); }

    // The rectangle of a cell in the grid's own coordinates (for the pickers placed over it).
    QRect cellRect(int row, int column) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class BillGridDelegate;
    void noteEditor(QWidget *editor) { m_editor = editor; }
    bool offerKey(QKeyEvent *event, bool inEditor) { return m_keyHandler && m_keyHandler(event, inEditor); }

    bool m_editing = false;
    bool m_priceEditable = true;
    QPointer<QWidget> m_editor;
    KeyHandler m_keyHandler;
};

// Draws the grid's cells (alternating rows, the current cell, blue quantities) and makes the editors:
// numeric columns accept digits and one decimal point only.
class BillGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit BillGridDelegate(BillGrid *grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    static const QColor kAlternateRow;
    static const QColor kCurrentCell;
    static const QColor kQuantityText;

protected:
    // Keys typed in an open editor go to the grid's key handler first.
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    BillGrid *m_grid;
};

} // namespace tavomi
