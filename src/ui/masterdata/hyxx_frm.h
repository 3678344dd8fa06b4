#pragma once

#include "ui/masterdata/master_form.h"

class QFrame;
class QLineEdit;

namespace tavomi {

class MasterSortPanel;

// Members (会员信息管理). Opened with the mode "POS" it is the front counter's member browser:
// a double click hands over the member's card number and closes the form.
class Tfrm_hyxx : public MasterDataForm
{
    Q_OBJECT
public:
    explicit Tfrm_hyxx(const QString &mode = QString(), QWidget *parent = nullptr);
    static MasterFormDescriptor formDescriptor();

    // "会员打折设置": the discount panel (permission 会员折扣设置).
    void editDiscounts();
    // "排序" (排序资料): shows the sort panel; a valid choice lists every member in that order and
    // hides the panel again, as does leaving it.
    void chooseSort();
    MasterSortPanel *sortPanel() const { return m_sortPanel; }
    bool sortPanelShown() const;
    // The grid's column titles, the fields the sort panel offers.
    static QStringList sortFields();
    QString chosenCard() const { return m_card; }
    // The box the browser writes the chosen card number into (the front counter's).
    void setCardTarget(QLineEdit *box) { m_cardTarget = box; }

protected:
    void rowActivated(int row) override;

private:
    QString m_mode;
    QString m_card;
    QLineEdit *m_cardTarget = nullptr;
    QFrame *m_sortFrame = nullptr;
    MasterSortPanel *m_sortPanel = nullptr;
};

// The member discount panel.
class MemberDiscountDialog : public QDialog
{
    Q_OBJECT
public:
    explicit MemberDiscountDialog(QWidget *parent = nullptr);
    QLineEdit *goldBox() const { return m_gold; }
    QLineEdit *ordinaryBox() const { return m_ordinary; }
    // "设 置": false when refused.
    bool apply();

private:
    QLineEdit *m_gold = nullptr;
    QLineEdit *m_ordinary = nullptr;
};

} // namespace tavomi
