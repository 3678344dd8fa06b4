#pragma once

#include "masterdata/basic_lists.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace tavomi {

// Front-counter defaults (默认资料设置): the POS warehouse and the account the takings go to.
// The sales and purchase rows are carried through a save as they were loaded.
class Tfrm_Default : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_Default(QWidget *parent = nullptr);

    // "保  存": rewrites the three rows and closes.
    void save();
    QComboBox *warehouseList() const { return m_warehouse; }
    QComboBox *accountList() const { return m_account; }

private:
    PosDefaults m_loaded;
    QComboBox *m_warehouse = nullptr;
    QComboBox *m_account = nullptr;
};

// Company data (公司信息设置).
class Tfrm_reprot : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_reprot(QWidget *parent = nullptr);

    // "确定": saves when name and sales telephone are given; closes in every case.
    void confirm();
    QLineEdit *nameBox() const { return m_name; }
    QLineEdit *phoneBox() const { return m_phone; }
    QLineEdit *faxBox() const { return m_fax; }
    QLineEdit *addressBox() const { return m_address; }

private:
    QLineEdit *m_name = nullptr;
    QLineEdit *m_phone = nullptr;
    QLineEdit *m_fax = nullptr;
    QLineEdit *m_address = nullptr;
};

} // namespace tavomi
