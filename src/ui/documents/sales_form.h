#pragma once

#include "ui/documents/document_form.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tavomi {

// The bill form of the customer-side bills: the customer with its price class, settlement account
// and debt, the salesperson, the price of a line chosen by the customer's last price or price
// class, the default discount, and for shipments the stock check before goods leave.
class SalesBillForm : public DocumentForm
{
    Q_OBJECT
public:
    SalesBillForm(const docs::BillDescriptor &descriptor, QWidget *parent = nullptr);

    QString priceClass() const { return m_priceClass; }

protected:
    std::optional<double> startingPrice(const Goods &goods) const override;
    QString defaultDiscount() const override;
    void partnerTaken() override;
    void partnerNotFound() override;
    bool checkLine(int row) override;
    bool checkBeforeSave(const docs::Bill &bill) override;
    void memberCleared() override;
    void memberEnabled(bool on) override;
    void memberToBill(docs::BillHeader &header) const override;
    void memberFromBill(const docs::BillHeader &header) override;

private:
    bool isShipment() const;
    bool stockChecked() const;
    void readCustomer(const QString &code, bool setAccount);
    // "我要收款": collect from the customer on the bill.
    void collectFromCustomer();
    void refreshDebt();
    void refuseShortage(int gridRow, const QString &message);

    QString m_priceClass;
    QString m_defaultDiscount = QStringLiteral("1.00");
    QComboBox *m_salesperson = nullptr;  // ComboBox1
    QLineEdit *m_classShown = nullptr;   // Edit13
    QLineEdit *m_debt = nullptr;         // Edit14 (shipments)
    QCheckBox *m_useMemory = nullptr;    // CheckBox4
    QCheckBox *m_zeroStock = nullptr;    // lkcxs (shipments)
    QCheckBox *m_noWarehouseWarning = nullptr; // CheckBox3 (hidden)
    QCheckBox *m_cashSettle = nullptr;   // CheckBox5 (hidden)
    QPushButton *m_collect = nullptr;    // LbSpeedButton1 (shipments)
};

} // namespace tavomi
