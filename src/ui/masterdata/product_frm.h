#pragma once

#include "masterdata/goods_service.h"

#include <QDialog>
#include <QVariantMap>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTabWidget;

namespace tavomi {

// The goods editor, in two steps: "基础资料" (category, code, names, prices, limits, supplier)
// and "产品规格" (the unit scheme), with a panel for the twenty further prices.
class TFrm_product : public QDialog
{
    Q_OBJECT
public:
    enum class Mode { Add, Change };

    explicit TFrm_product(QWidget *parent = nullptr);

    // Add mode; a category code preselects that category and starts step 1.
    void startAdd(const QString &categoryCode = QString());
    // Change mode for a stored goods; the category list holds the given entries. False when
    // the goods cannot be read (the user has been told).
    bool startChange(const QString &code, const QStringList &categoryEntries = {});

    // The commands, as the buttons run them.
    bool startStep1();                 // "填写资料>>" / choosing a category
    void chooseCategory(const QString &entry);
    void save();
    void showPricePanel();
    void confirmPrices();

    Mode mode() const { return m_mode; }
    QString categoryPrefix() const { return m_prefix; }
    QString lastAddedCode() const { return m_lastAdded; }
    QString summaryText() const;
    bool unitStepVisible() const;
    bool pricePanelVisible() const;

    // The editor's boxes by the column (or field name) they hold, for callers and tests.
    QLineEdit *field(const QString &column) const;
    QComboBox *categoryList() const { return m_category; }
    QComboBox *unitList(int level) const;   // 1..3
    QLineEdit *ratioBox(int level) const;   // 1..2
    QLineEdit *priceLevelBox(int index) const { return m_levels.value(index); }
    QLineEdit *warehouseBox() const { return m_warehouse; }
    QCheckBox *retiredBox() const { return m_retired; }
    QLabel *noteLabel() const { return m_note; }
    QTabWidget *steps() const { return m_steps; }

signals:
    void goodsAdded(const QString &code);

private:
    void buildUi();
    QWidget *buildStep1();
    QWidget *buildStep2();
    QWidget *buildPricePanel();
    void fillUnitLists();
    void fillCategoryList(const QStringList &entries);
    void updateSummary();
    void updateUnitState();
    void checkBarcode();
    void focusField(const QString &column);
    void moveOn(QLineEdit *from);
    void pickCategory();
    void addCategory();
    void addUnit();
    void showWarehouse();
    GoodsInput input() const;

    Mode m_mode = Mode::Add;
    QString m_prefix;
    QString m_code;
    QString m_lastAdded;
    QVariantMap m_stored;
    bool m_seeCost = true;

    QStackedWidget *m_pages = nullptr;
    QTabWidget *m_steps = nullptr;
    QComboBox *m_category = nullptr;
    QLabel *m_prefixLabel = nullptr;
    QLineEdit *m_item = nullptr;
    QLineEdit *m_shorthand = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_barcode = nullptr;
    QLabel *m_costLabel = nullptr;
    QLineEdit *m_cost = nullptr;
    QLineEdit *m_wholesale = nullptr;
    QLineEdit *m_retail = nullptr;
    QLineEdit *m_upper = nullptr;
    QLineEdit *m_lower = nullptr;
    QLineEdit *m_supplierCode = nullptr;
    QLineEdit *m_supplierName = nullptr;
    QLineEdit *m_warehouse = nullptr;
    QCheckBox *m_retired = nullptr;
    QComboBox *m_unit1 = nullptr;
    QComboBox *m_unit2 = nullptr;
    QComboBox *m_unit3 = nullptr;
    QLineEdit *m_ratio1 = nullptr;
    QLineEdit *m_ratio2 = nullptr;
    QPlainTextEdit *m_summary = nullptr;
    QLabel *m_note = nullptr;
    QLabel *m_panelCode = nullptr;
    QLineEdit *m_panelRetail = nullptr;
    QList<QLineEdit *> m_levels;
    QList<QLineEdit *> m_step1Order;
};

} // namespace tavomi
