#pragma once

#include "documents/bill_descriptor.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QStringList>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tavomi {

// What a bill type's lookup form lists, filters and prints.
struct LookupDescriptor
{
    struct Filter
    {
        QString objectName; // Edit3
        QString caption;    // 供商编码
        QString column;     // 供应商
    };

    QString formName;         // Tfrm_locate_modi_input
    QString caption;          // 进货单据查询
    docs::BillKind kind;
    QString dateCaption;      // 进货日期
    QString dateColumn;       // 日期
    QList<Filter> partnerFilters;
    QStringList sortColumns;  // the only columns the list may be sorted by
    QString defaultSort;
    QStringList masterColumns;
    QStringList lineColumns;
    QString statementTemplate; // empty: no statement
    QStringList statementColumns;
    QHash<QString, QString> titles; // column → title shown, where they differ
    QStringList hiddenColumns;      // read but not shown
};

const QList<LookupDescriptor> &allLookups();
const LookupDescriptor *lookupByForm(const QString &formName);

// The lookup of one bill type: bills by date range and text filters, the lines of the current
// bill, reprint and statement, and the hand-over of a bill to its form for audit or un-audit.
class BillLookupForm : public QDialog
{
    Q_OBJECT
public:
    BillLookupForm(const LookupDescriptor &descriptor, QWidget *parent = nullptr);

    const LookupDescriptor &descriptor() const { return m_l; }
    // Runs the query with the filters as they stand ("执行查询").
    void runQuery();
    // The number of the current bill, empty when none.
    QString currentNumber() const;
    bool currentAudited() const;

    void modifyClicked();   // "修改"
    void auditClicked();    // "审核" / "反审核"
    void printBill();       // "明细打印"
    void printStatement();  // "打印对账单"

signals:
    // The bill goes to its form in view mode "审核" or "反审核"; the lookup then closes.
    void handedOver(const QString &number, const QString &mode);
    void handOverFailed();

private:
    void buildUi();
    void currentChanged();
    void showLines(const QString &number);
    void handOver(const QString &mode);
    QString sortColumn() const;
    QString whereClause(QVariantList *values, const QString &qualifier = QString()) const;

    const LookupDescriptor &m_l;
    const docs::BillDescriptor &m_d;
    QLineEdit *m_number = nullptr;   // Edit1
    QLineEdit *m_remark = nullptr;   // Edit2
    QList<QLineEdit *> m_partnerEdits;
    QDateEdit *m_from = nullptr;     // dt1
    QDateEdit *m_to = nullptr;       // dt2
    QComboBox *m_sort = nullptr;     // ComboBox1
    QTableWidget *m_bills = nullptr; // DBGrid1
    QTableWidget *m_lines = nullptr; // DBGrid2
    QPushButton *m_modify = nullptr; // 修改
    QPushButton *m_audit = nullptr;  // 审核 / 反审核
    bool m_sortChosen = false;
};

} // namespace tavomi
