#pragma once

#include "masterdata/master_table.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace tavomi {

// One box of a master-data form.
struct MasterFieldDescriptor
{
    QString column;      // a column of the table definition
    QString caption;     // the label before the box
    QString gridTitle;   // the grid's column title
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
    void save();
    void removeCurrent();
    void startSearch();
    void sortList();

    // For tests and callers.
    QLineEdit *box(const QString &column) const;
    QTableView *grid() const { return m_grid; }
    int rowCount() const;
    QString cell(int row, const QString &column) const;
    void selectRow(int row);
    QCheckBox *deleteToggle() const { return m_deleteToggle; }
    QPushButton *button(const QString &text) const;
    Mode mode() const { return m_mode; }

protected:
    const MasterFormDescriptor &descriptor() const { return m_desc; }
    MasterTableStore store() const;

private:
    void buildUi();
    void list(const QString &orderBy);
    void showRows(const QList<MasterRow> &rows);
    void runSearch();
    void loadRow(int row);
    void setBoxesEnabled(bool enabled, bool empty);
    MasterRow typedRow() const;
    MasterRow rowAt(int row) const;
    void onReturn(int index);

    MasterFormDescriptor m_desc;
    QList<QLineEdit *> m_boxes;
    QTableView *m_grid = nullptr;
    QStandardItemModel *m_model = nullptr;
    QCheckBox *m_deleteToggle = nullptr;
    QList<QPushButton *> m_buttons;
    Mode m_mode = Mode::Browse;
};

} // namespace tavomi
