#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QLineEdit;
class QRadioButton;

namespace tavomi {

class DataGrid;

struct PickerSearchBox
{
    QString caption;
    QStringList columns; // the box's text must occur in one of these
};

// What makes one partner picker: its table, search boxes, grid and the form it adds partners with.
struct PartnerPickerDescriptor
{
    QString objectName;
    QString caption;
    QString table;
    QString codeColumn;
    QString nameColumn;
    QList<PickerSearchBox> searches;
    QStringList gridColumns;
    QStringList gridTitles;
    bool priceLevelChoice = false;    // the 售价 / 批价 / 全部 radio buttons
    QString addText;                  // "新增客户资料"
    QString addRight;
    QString addForm;
    QString chooseHint;
};

// The customer and supplier pickers the bill forms and the goods editor open: live search over
// code, name and more; a double click hands the chosen code and name to the caller's boxes.
class PartnerPicker : public QDialog
{
    Q_OBJECT
public:
    PartnerPicker(const PartnerPickerDescriptor &descriptor, QWidget *parent = nullptr);

    // The caller's boxes that receive the chosen code and name (either may be null).
    void setTargets(QLineEdit *codeBox, QLineEdit *nameBox);
    // Takes the grid's row: false when it has no code.
    bool choose(int row);
    void search();
    void addPartner();

    QString chosenCode() const { return m_code; }
    QString chosenName() const { return m_name; }
    QLineEdit *searchBox(int index) const { return m_boxes.value(index); }
    DataGrid *grid() const { return m_grid; }
    // "售价", "批价" or "" (all).
    void setPriceLevel(const QString &level);

private:
    PartnerPickerDescriptor m_d;
    QList<QLineEdit *> m_boxes;
    QList<QRadioButton *> m_levels;
    DataGrid *m_grid = nullptr;
    QString m_level;
    QLineEdit *m_codeTarget = nullptr;
    QLineEdit *m_nameTarget = nullptr;
    QString m_code;
    QString m_name;
};

class Tfrm_check_khzl : public PartnerPicker
{
    Q_OBJECT
public:
    explicit Tfrm_check_khzl(QWidget *parent = nullptr);
    static PartnerPickerDescriptor pickerDescriptor();
};

class Tfrm_gyshz_check : public PartnerPicker
{
    Q_OBJECT
public:
    explicit Tfrm_gyshz_check(QWidget *parent = nullptr);
    static PartnerPickerDescriptor pickerDescriptor();
};

// Opens a picker for the caller: `arguments` name the caller's code box and name box by object
// name (default "Edit4" and "Edit3", the bill forms' partner boxes).
void openPartnerPicker(PartnerPicker &picker, QWidget *caller, const QStringList &arguments);

} // namespace tavomi
