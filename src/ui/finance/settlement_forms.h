#pragma once

#include "finance/settlement.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tavomi {

class DataGrid;

// What the receivable and payable forms show: names, captions, templates, permissions.
struct SettlementForms
{
    const finance::SettlementDescriptor *d;
    QString itemListForm;    // Tfrm_xsyskgl
    QString itemListCaption; // 销售应收款管理
    QString itemExportTitle; // 销售应收款
    QString itemTemplate;    // zcfrf/ysk_report.frf
    QString itemAddForm;     // Tfrm_yskgl_add
    QString itemAddCaption;
    QString moneyListForm;   // Tfrm_xsskgl
    QString moneyListCaption;
    QString moneyExportTitle;
    QString moneyTemplate;
    QString moneyRight;      // 销售收款管理
    QString deskForm;        // Tfrm_xsskgl_addsk
    QString deskCaption;
    QString pickerForm;      // Tfrm_check_khzl
    QString findPartnerText; // 查找客户
    QString choosePartnerText; // 选择客户>
    QString collectText;     // 收款
    QString newMoneyText;    // 新增收款数据
    QString deleteMoneyText; // 删除当前收款资料
    QString closeMoneyText;  // 退出收款管理
    QString deleteMoneyQuestion;
    QString deleteItemQuestion;
    QString startDeskText;   // 开始收款
    QString deskTitle;       // 收银台
    QString confirmText;     // 确定收银
    QString leaveText;       // 退出收银
    QString settledLabel;    // 已收款 / 已付款
    QString thisAmountLabel; // 本次收款
    QString owedLabel;       // 欠款 / 还欠进货款
    QString amountLabel;     // 应收款 / 应付款
    QString dueLabel;        // 收款日期 / 付款日期
};

const SettlementForms &receivableForms();
const SettlementForms &payableForms();

// Lets the user pick a partner: the partner browser when there is one, else a plain list.
QString choosePartner(QWidget *parent, const SettlementForms &f, QLineEdit *target);

// The list of receivables (payables): filters, totals, colours, manual entry, collection.
class ItemListForm : public QDialog
{
    Q_OBJECT
public:
    ItemListForm(const SettlementForms &forms, QWidget *parent = nullptr);
    void runQuery();
    DataGrid *grid() const { return m_grid; }
    void addItem();
    void modifyItem();
    void deleteItem();
    void collect();
    void exportList();
    void printList();

private:
    const SettlementForms &m_f;
    QLineEdit *m_order;
    QDateEdit *m_from;
    QDateEdit *m_to;
    QLineEdit *m_partner;
    QLineEdit *m_bill;
    QComboBox *m_state;
    QLabel *m_count;
    DataGrid *m_grid;
};

// The list of collections (payments): filters, audit, delete, new.
class MoneyListForm : public QDialog
{
    Q_OBJECT
public:
    MoneyListForm(const SettlementForms &forms, QWidget *parent = nullptr);
    void runQuery();
    // Shows the money rows of one item in a date range.
    void showItem(const QString &bill, const QDate &from, const QDate &to);
    DataGrid *grid() const { return m_grid; }
    void newMoney();
    void auditCurrent();
    void deleteCurrent();
    void exportList();
    void printList();

private:
    const SettlementForms &m_f;
    QLineEdit *m_partner;
    QDateEdit *m_from;
    QDateEdit *m_to;
    QComboBox *m_audited;
    QLineEdit *m_handler;
    QLineEdit *m_remark;
    QLineEdit *m_bill;
    QLabel *m_count;
    DataGrid *m_grid;
    bool m_loading = false;
};

// The cash desk: a partner's open items and the panel that posts one collection (payment).
class CashDeskDialog : public QDialog
{
    Q_OBJECT
public:
    CashDeskDialog(const SettlementForms &forms, QWidget *parent = nullptr);
    // Loads the partner's open items; false (with the message) when none is open.
    bool loadPartner(const QString &partner);
    void selectRow(int row);
    // Opens the panel for the selected row.
    void openDesk();
    // "确定收银": validates, posts, reloads.
    void confirm();

    QLineEdit *amountEdit() const { return m_amount; }
    QComboBox *methodCombo() const { return m_method; }
    QComboBox *accountCombo() const { return m_account; }
    QLineEdit *outstandingEdit() const { return m_outstanding; }
    QLineEdit *deductEdit() const { return m_deduct; }
    QGroupBox *panel() const { return m_panel; }
    QTableWidget *table() const { return m_table; }

private:
    void fillTable();
    const SettlementForms &m_f;
    finance::Settlement m_settlement;
    QString m_partnerName;
    QList<finance::OpenItem> m_items;
    double m_credit = 0;
    finance::Desk m_desk;
    int m_deskRow = -1;
    QDateEdit *m_date;
    QLineEdit *m_partner;
    QLineEdit *m_handler;
    QLineEdit *m_invoice;
    QLineEdit *m_remark;
    QComboBox *m_method;
    QComboBox *m_account;
    QTableWidget *m_table;
    QGroupBox *m_panel;
    QLineEdit *m_itemAmount;
    QLineEdit *m_writeOff;
    QLineEdit *m_settled;
    QLineEdit *m_itemDate;
    QLineEdit *m_outstanding;
    QLineEdit *m_deduct;
    QLineEdit *m_amount;
};

// New or modified hand-entered receivable (payable).
class ManualItemDialog : public QDialog
{
    Q_OBJECT
public:
    // code empty: new.
    ManualItemDialog(const SettlementForms &forms, const QString &code, QWidget *parent = nullptr);
    void save();
    QLineEdit *edit(const QString &name) const;

private:
    void recompute();
    const SettlementForms &m_f;
    QString m_code;
    QDateEdit *m_date;
    QDateEdit *m_due;
    QLineEdit *m_amount;
    QLineEdit *m_writeOff;
    QLineEdit *m_settled;
    QLineEdit *m_owed;
    QLineEdit *m_bill;
    QLineEdit *m_partner;
    QLineEdit *m_order;
    QLineEdit *m_remark;
};

} // namespace tavomi
