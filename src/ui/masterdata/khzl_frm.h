#pragma once

#include "ui/masterdata/master_form.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QStackedWidget;

namespace tavomi {

class MasterSortPanel;

// Customers (客户信息管理).
class Tfrm_khzl : public MasterDataForm
{
    Q_OBJECT
public:
    explicit Tfrm_khzl(QWidget *parent = nullptr);
    static MasterFormDescriptor formDescriptor();

    // Opens the delete dialog for the selected customer.
    void removeCurrent() override;
    // Opens the sort panel.
    void chooseSort();
};

// The customer delete dialog (删除客户资料条件), with its second panel, the sort choice.
class TFrm_delete_cous : public QDialog
{
    Q_OBJECT
public:
    enum class Panel { Delete, Sort };
    TFrm_delete_cous(Panel panel, const QString &code, const QString &name, QWidget *parent = nullptr);

    // "删  除": false when nothing was deleted.
    bool deleteChosen();
    // "排序": false when the field is not one of the listed ones.
    bool sortChosen();

    QCheckBox *customerBox() const { return m_customer; }
    QCheckBox *pricesBox() const { return m_prices; }
    QCheckBox *salesBox() const { return m_sales; }
    MasterSortPanel *sortPanel() const { return m_sort; }
    QComboBox *sortField() const;
    QComboBox *sortDirection() const;
    QString sortColumn() const;
    Qt::SortOrder sortOrder() const;

private:
    QString m_code;
    QString m_name;
    QCheckBox *m_customer = nullptr;
    QCheckBox *m_prices = nullptr;
    QCheckBox *m_sales = nullptr;
    MasterSortPanel *m_sort = nullptr;
};

} // namespace tavomi
