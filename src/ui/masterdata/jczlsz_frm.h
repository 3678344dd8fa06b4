#pragma once

#include "masterdata/basic_lists.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTabWidget;

namespace tavomi {

// One code-and-name list page of the basic-lists form. Each page keeps its own add/change mode.
class BasicListPage : public QWidget
{
    Q_OBJECT
public:
    enum class Mode { Browse, Add, Change };
    BasicListPage(const BasicListDef &def, QWidget *parent = nullptr);

    void refresh();
    void add();      // "增加"
    void change();   // "修改" or a double click
    void save();     // "保存"
    void cancel();   // "取消"
    void remove();   // "删除"

    const BasicListDef &definition() const { return m_def; }
    Mode mode() const { return m_mode; }
    QTableWidget *grid() const { return m_grid; }
    QLineEdit *codeBox() const { return m_code; }
    QLineEdit *nameBox() const { return m_name; }
    QLineEdit *amountBox() const { return m_amount; }
    bool panelShown() const;
    QPushButton *changeButton() const { return m_changeButton; }
    QPushButton *deleteButton() const { return m_deleteButton; }

private:
    void showPanel(bool on);

    BasicListDef m_def;
    Mode m_mode = Mode::Browse;
    QTableWidget *m_grid = nullptr;
    QWidget *m_panel = nullptr;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_amount = nullptr;
    QPushButton *m_changeButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
};

// The workstation defaults page (bdchange.ini).
class DefaultsPage : public QWidget
{
    Q_OBJECT
public:
    explicit DefaultsPage(QWidget *parent = nullptr);

    void load();
    // Writes every key; false (with the message shown) when a value is refused.
    bool apply();

    QComboBox *warehouseList(int index) const { return m_warehouses.value(index); }
    QSpinBox *decimalsBox() const { return m_decimals; }
    QLineEdit *discountBox() const { return m_discount; }
    QCheckBox *noDiscountBox() const { return m_noDiscount; }

Q_SIGNALS:
    void changed();

private:
    QList<QComboBox *> m_warehouses;
    QSpinBox *m_decimals = nullptr;
    QLineEdit *m_discount = nullptr;
    QCheckBox *m_noDiscount = nullptr;
};

// The basic-lists form (基础资料设置): six list pages and the defaults page.
class Tfrm_jczlsz : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_jczlsz(const QString &page = QString(), QWidget *parent = nullptr);

    // Shows the page with this tab caption; false when there is none.
    bool showPage(const QString &caption);
    BasicListPage *listPage(BasicList kind) const;
    DefaultsPage *defaultsPage() const { return m_defaults; }
    QTabWidget *tabs() const { return m_tabs; }
    QPushButton *applyButton() const { return m_apply; }
    QCheckBox *startupBox() const { return m_startup; }
    void apply();

    // The permission an opener checks for a page.
    static QString rightFor(const QString &page);

private:
    QTabWidget *m_tabs = nullptr;
    QList<BasicListPage *> m_pages;
    DefaultsPage *m_defaults = nullptr;
    QPushButton *m_apply = nullptr;
    QCheckBox *m_startup = nullptr;
};

} // namespace tavomi
