#pragma once

#include "common/helpers.h"
#include "documents/bill.h"
#include "documents/bill_descriptor.h"
#include "documents/bill_store.h"
#include "documents/stock_ledger.h"
#include "report/report_data.h"

#include <QDialog>
#include <QHash>
#include <QStringList>

#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGridLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace tavomi {

class BillGrid;

// The bill form every bill type shares: a header with the partner, dates and totals, the item
// grid and the toolbar of speed buttons. A descriptor names the tables, texts and rules of the
// bill type; what a member does differently is a small override.
class DocumentForm : public QDialog
{
    Q_OBJECT
public:
    // How many goods the goods picker lists for one search at most.
    static constexpr int kPickerRows = kGoodsPickerRows;

    // What just happened, for the toolbar: each event has its fixed set of enabled speed buttons.
    enum class ToolbarEvent { Opened, NewBill, Modify, Saved, Loaded, Closed };
    // Every speed button of the toolbar, left to right, and the help button.
    static const QStringList &speedButtons();
    static QStringList enabledButtons(ToolbarEvent event);

    // View modes set by the lookup form.
    static const QString kModeNormal;   // 审核1
    static const QString kModeAudit;    // 审核
    static const QString kModeUnaudit;  // 反审核

    DocumentForm(const docs::BillDescriptor &descriptor, QWidget *parent = nullptr);
    ~DocumentForm() override;

    const docs::BillDescriptor &descriptor() const { return m_d; }
    QString number() const { return m_number; }
    QString viewMode() const { return m_viewMode; }
    bool isEditing() const;
    bool isModifying() const { return m_modify; }
    BillGrid *grid() const { return m_grid; }
    // The unaudited bills the navigation buttons walk, and the one shown.
    const QStringList &billList() const { return m_list; }
    int listPosition() const { return m_listPos; }

    // Toolbar commands.
    void newBill();
    void modifyBill();
    bool saveBill();
    void discardBill();
    void deleteBill();
    void printBill();
    void firstBill();
    void priorBill();
    void nextBill();
    void lastBill();
    void openLookup();
    void auditBill();
    void unauditBill();
    void showHelp();
    // Closing: asks first while a bill is being entered.
    void reject() override;

    // Shows one bill handed over by the lookup form, in view mode "审核" or "反审核".
    void locate(const QString &number, const QString &mode);

    // Data handed to the print template: the lines joined with the bill and its partner, the company.
    virtual report::ReportData printData(const QString &number) const;

protected:
    // The goods as a line needs them.
    struct Goods
    {
        bool found = false;
        QString code;
        QString barcode;
        QString name;
        docs::GoodsUnits units;
        QStringList unitNames; // up to three, from 换算数
        double wholesale = 0;  // 批价
        double retail = 0;     // 售价
    };
    // The price a new line of this goods starts with, per base unit (purchase bills: 进价); empty:
    // the line keeps the price it has.
    virtual std::optional<double> startingPrice(const Goods &goods) const;
    // The discount a line without one takes.
    virtual QString defaultDiscount() const;
    // The partner picker took a partner (its code and name are in the header), or found none.
    virtual void partnerTaken() {}
    virtual void partnerNotFound() {}
    // Checks run when the cursor enters a line's warehouse column, and on the whole bill before it
    // is saved; false stops there.
    virtual bool checkLine(int row);
    virtual bool checkBeforeSave(const docs::Bill &bill);
    // Header fields a member adds: cleared by New, enabled with the header, written to and shown
    // from the bill.
    virtual void memberCleared() {}
    virtual void memberEnabled(bool on);
    virtual void memberToBill(docs::BillHeader &header) const;
    virtual void memberFromBill(const docs::BillHeader &header);

    // What members build on.
    QGridLayout *headerLayout() const { return m_header; }
    QLineEdit *partnerNameEdit() const { return m_partnerName; }
    QLineEdit *partnerCodeEdit() const { return m_partnerCode; }
    QLineEdit *extraEdit() const { return m_extra; }
    QComboBox *accountBox() const { return m_account; }
    QComboBox *remarkBox() const { return m_remark; }
    QCheckBox *priceChangeBox() const { return m_priceChange; }
    docs::BillStore &store() { return m_store; }
    QToolButton *button(const QString &name) const;
    QString priceText(double value) const;
    // The bill as the form shows it; false (after a message) when a number cell is malformed.
    docs::Bill billFromForm(bool *ok);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct RowState
    {
        QString code;
        Goods goods;
        QString unit;         // the unit the line had before the last unit key
        double basePrice = 0; // price per base unit the unit keys convert from
    };

    void buildUi();
    void buildToolbar(QWidget *bar);
    void buildGoodsPicker();
    void readSettings();
    void applyToolbar(ToolbarEvent event);
    void setHeaderEnabled(bool on);
    void clearHeader();
    void showBill(const docs::Bill &bill);
    bool loadBill(const QString &number);
    void reopenList();
    void showListBill(int position);
    void checkLocatedFlag();

    // Grid.
    bool gridKey(QKeyEvent *event, bool inEditor);
    void enterKey(int row, int column);
    void moveTo(int row, int column);
    void cellEntered(int row, int column, int previousRow, int previousColumn);
    bool applyUnitKey(int row);
    void blankLine(int row);
    void recompute();
    void recomputeRow(int row);
    RowState *rowState(int row);
    Goods readGoods(const QString &code) const;
    bool lookupGoods(int row, const QString &text);
    void fillRow(int row, const QString &code);
    void showUnitHint(int row);
    void placeRowWidgets();
    void showWarehousePicker(int row);
    void takeWarehouse(bool moveOn);
    void hidePickers();
    bool lineNumbers(int row, double *quantity, double *discount, double *price, QString *badColumn) const;

    // Partner picker.
    void searchPartners(const QString &text);
    void takePartner(int row);
    // Goods picker.
    void openGoodsPicker(const QString &text);
    void searchPickerGoods(const QString &text);
    void takePickedGoods(int pickerRow);
    void tickPickerRow(int pickerRow, bool add);
    void importPickedGoods();
    void markTicks();

    QString partnerPickerForm() const;

    const docs::BillDescriptor &m_d;
    docs::BillStore m_store;

    QString m_number;
    QString m_viewMode;
    bool m_modify = false;
    QStringList m_list;
    int m_listPos = -1;
    int m_priceDecimals = 2;
    QHash<int, RowState> m_rows;
    int m_unitTypedRow = -1;
    bool m_moving = false;
    bool m_updating = false;

    struct Picked
    {
        QString code;
        QString baseUnit;
        double price = 0;
        QString name;
    };
    QList<Picked> m_picked;

    // Header.
    QGridLayout *m_header = nullptr;
    QLabel *m_heading = nullptr;
    QLabel *m_numberLabel = nullptr;
    QLineEdit *m_partnerName = nullptr;  // Edit3
    QLineEdit *m_partnerCode = nullptr;  // Edit4
    QLineEdit *m_orderNumber = nullptr;  // Edit1
    QLineEdit *m_invoice = nullptr;      // Edit5
    QComboBox *m_summary = nullptr;      // ComboBox4
    QLineEdit *m_extra = nullptr;        // Edit14
    QLineEdit *m_total = nullptr;        // Edit7
    QLineEdit *m_auditState = nullptr;   // Edit8
    QLineEdit *m_date = nullptr;         // Edit9
    QLineEdit *m_time = nullptr;         // Edit10
    QLineEdit *m_operator = nullptr;     // Edit11
    QComboBox *m_place = nullptr;        // ComboBox3 (hidden)
    QComboBox *m_remark = nullptr;       // ComboBox5 (hidden)
    QComboBox *m_account = nullptr;      // ComboBox2 (hidden)
    QLineEdit *m_writeOff = nullptr;     // Edit2 (hidden)
    QLineEdit *m_quantityTotal = nullptr; // Edit6 (hidden)
    QPushButton *m_findPartner = nullptr; // BitBtn1
    QCheckBox *m_inputHelp = nullptr;    // CheckBox1
    QCheckBox *m_priceChange = nullptr;  // CheckBox2 (hidden)
    QLabel *m_inputHelpPanel = nullptr;

    BillGrid *m_grid = nullptr;
    QPushButton *m_findGoods = nullptr;  // BitBtn2
    QLabel *m_unitHint = nullptr;        // Panel6
    QListWidget *m_warehouses = nullptr; // Panel10
    QFrame *m_partnerPanel = nullptr;    // Panel2
    QTableWidget *m_partnerList = nullptr; // DBGrid1
    QFrame *m_goodsPanel = nullptr;      // Panel4
    QLineEdit *m_goodsSearch = nullptr;  // Edit12
    QTableWidget *m_goodsList = nullptr; // DBGrid2
    QLabel *m_goodsMore = nullptr;       // shown when a search found more goods than the list holds
};

} // namespace tavomi
