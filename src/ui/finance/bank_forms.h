#pragma once

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavomi {

class DataGrid;

// "银行存取款管理": transfers between accounts with their audit.
class BankAccessForm : public QDialog
{
    Q_OBJECT
public:
    explicit BankAccessForm(QWidget *parent = nullptr);
    void runQuery();
    DataGrid *grid() const { return m_grid; }
    QPushButton *auditButton() const { return m_audit; }
    void addTransfer();
    void modifyTransfer();
    void deleteTransfer();
    void auditTransfer();

private:
    void updateAuditButton();
    QDateEdit *m_from;
    QDateEdit *m_to;
    QComboBox *m_account;
    QRadioButton *m_out;
    QComboBox *m_audited;
    QLineEdit *m_remark;
    DataGrid *m_grid;
    QPushButton *m_audit;
};

// "新增存取款": one transfer, new or modify.
class BankAddDialog : public QDialog
{
    Q_OBJECT
public:
    // number empty: new.
    explicit BankAddDialog(const QString &number, QWidget *parent = nullptr);
    void save();

private:
    void fillLists();
    QString m_number;
    QDateEdit *m_date;
    QLineEdit *m_amount;
    QComboBox *m_from;
    QComboBox *m_to;
    QComboBox *m_handler;
    QLineEdit *m_reference;
    QLineEdit *m_remark;
};

// "银行现金流查询": the ledger with its stored running balances, or the balance of every account.
class BankLedgerForm : public QDialog
{
    Q_OBJECT
public:
    explicit BankLedgerForm(QWidget *parent = nullptr);
    void runQuery();
    DataGrid *grid() const { return m_grid; }
    QComboBox *accountCombo() const { return m_account; }

private:
    QDateEdit *m_from;
    QDateEdit *m_to;
    QComboBox *m_account;
    QRadioButton *m_detail;
    DataGrid *m_grid;
    QPushButton *m_print;
    QPushButton *m_export;
};

} // namespace tavomi
