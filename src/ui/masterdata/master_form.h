#pragma once

#include "masterdata/master_table.h"

#include <QDialog>
#include <QList>

#include <functional>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QVBoxLayout;

namespace tavomi {

class DataGrid;

// One box of a master-data form.
struct MasterFieldDescriptor
{
    MasterFieldDescriptor(const QString &column, const QString &caption, const QString &gridTitle = QString(),
                          const QStringList &choices = {}, bool inGrid = true)
        : column(column), caption(caption), gridTitle(gridTitle), choices(choices), inGrid(inGrid)
    {}

    QString column;      // a column of the table definition
    QString caption;     // the label before the box
    QString gridTitle;   // the grid's column title
    QStringList choices; // a drop-down list of these instead of a text box
    bool inGrid = true;  // false: carried by the grid but not shown
};

// Everything that makes one master-data form (warehouses, customers, suppliers, staff,
// members, borrowers) out of the shared list-and-editor pattern.
struct MasterFormDescriptor
{
    QString objectName;                 // the form's class name, e.g. Tfrm_hwxx_info
    QString caption;                    // window title
    const MasterTableDef *table = nullptr;
    QList<MasterFieldDescriptor> fields;      // in the order of table->columns

    // Buttons (caption and hint).
    QString newText = QStringLiteral("新增");
    QString newHint;
    QString deleteText = QStringLiteral("删除");
    QString deleteHint;
    QString saveText = QStringLiteral("保存");
    QString saveHint;
    QString searchText = QStringLiteral("查找");
    QString searchHint;
    QString sortText;                   // empty: no sort button
    QString exitText = QStringLiteral("退出");
    QString exportText;                 // empty: no export button
    QString exportName;                 // default file name of the export
    QString printText;                  // empty: no print button
    QString printTitle;
    QString printTemplate;              // report template of the print, e.g. "zcfrf/khzl_report.frf"
    QStringList printColumns;           // the columns printed from the listed rows; empty: the grid's
    QString printRight;                 // permission the print needs; empty: none
    QString printLog;                   // log text ("一般") of a print

    // Messages. An empty question means "go ahead without asking"; an empty text shows nothing.
    QString requiredMissingText;
    QString insertCaption;
    QString insertQuestion;
    QString updateCaption;
    QString updateQuestion;
    QString insertedText;
    QString updatedText;
    QString saveFailedText;             // any failed insert; empty: the error's own text
    QString deleteCaption;
    QString deleteQuestion;
    QString deleteToggleText;           // a check box that switches the delete question; empty: always ask
    QString deletedText;
    QString deleteFailedText;           // put before the reason a delete failed
    QString nothingToDeleteText;        // delete with no current row

    // The key the save looks the row up by, from the typed row and the grid's selected row
    // (empty when none is selected). Default: the typed row.
    std::function<MasterRow(const MasterRow &typed, const MasterRow &selected)> lookupKey;
    bool lockAfterSave = false;         // after a save the boxes are locked rather than emptied
    bool saveFollowsBoxes = false;      // the save button is enabled only while the boxes are

    bool liveSearch = true;             // edits re-run the search in search mode; false: the search
                                        // button searches by the typed texts (boxes already open)
    QStringList liveSearchColumns;      // boxes whose edits re-run the search in search mode; empty: all
    QString enterSavesColumn;           // Enter in this box saves; Enter elsewhere moves on
};

// The shared list-and-editor form: entry boxes above a grid of the table's rows, a row of
// command buttons, browse and search modes. Clicking a row loads it into the boxes, clicking a
// column title sorts the loaded rows.
class MasterDataForm : public QDialog
{
    Q_OBJECT
public:
    MasterDataForm(const MasterFormDescriptor &descriptor, QWidget *parent = nullptr);

    enum class Mode { Browse, Search };

    // The commands, as the buttons run them.
    void newRecord();
    // Locks the boxes (and the save button when it follows them) until the next newRecord().
    void lockBoxes();
    void save();
    virtual void removeCurrent();
    void startSearch();
    void sortList();
    void exportList();
    void printList();
    // Sorts the grid by one of its columns; false when the column is not one of them.
    bool sortBy(const QString &column, Qt::SortOrder order);
    // Lists every row of the table again, sorted by one of the grid's columns (the sort panels).
    bool listSortedBy(const QString &column, Qt::SortOrder order);

    // For tests and callers.
    QLineEdit *box(const QString &column) const;
    QComboBox *choice(const QString &column) const;
    // The text of a box or the chosen entry of a list.
    QString text(const QString &column) const;
    void setText(const QString &column, const QString &value);
    QTableView *grid() const;
    DataGrid *dataGrid() const { return m_grid; }
    int rowCount() const;
    QString cell(int row, const QString &column) const;
    // The grid's row with the values of every table column, in the table's order.
    MasterRow rowAt(int row) const;
    int currentRow() const;
    void selectRow(int row);
    QCheckBox *deleteToggle() const { return m_deleteToggle; }
    QPushButton *button(const QString &text) const;
    Mode mode() const { return m_mode; }

    // Lists the table again (the re-list after a save or delete).
    void relist();

protected:
    const MasterFormDescriptor &descriptor() const { return m_desc; }
    MasterTableStore store() const;
    // Member forms add their own buttons and panels here.
    QHBoxLayout *buttonRow() const { return m_buttonRow; }
    QVBoxLayout *mainLayout() const { return m_layout; }
    QPushButton *addToolButton(const QString &text, const QString &hint);
    // A double click on a grid row.
    virtual void rowActivated(int) {}

private:
    void buildUi();
    void list(const QString &orderBy);
    void showQuery(const QString &sql, const QVariantList &values);
    void runSearch();
    void loadRow(int row);
    void setBoxesEnabled(bool enabled, bool empty);
    MasterRow typedRow() const;
    void onReturn(int index);
    QWidget *editor(int index) const;

    MasterFormDescriptor m_desc;
    QList<QWidget *> m_boxes;
    DataGrid *m_grid = nullptr;
    QHBoxLayout *m_buttonRow = nullptr;
    QVBoxLayout *m_layout = nullptr;
    QCheckBox *m_deleteToggle = nullptr;
    QList<QPushButton *> m_buttons;
    Mode m_mode = Mode::Browse;
};

} // namespace tavomi
