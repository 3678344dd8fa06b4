#pragma once

#include <QDialog>
#include <QPoint>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tavomi {

// "用户登陆": who works at this workstation. Accepted after a successful login, rejected when
// the user gives up (cancel, close picture, Esc); the main window then ends the program.
class TFrmUserLogin : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmUserLogin(QWidget *parent = nullptr);

    QComboBox *ComboBox1 = nullptr;   // work number, pick or type
    QLineEdit *Edit2 = nullptr;       // name, filled by the lookup
    QLineEdit *Edit3 = nullptr;       // password
    QPushButton *btnLogin = nullptr;  // 登 入
    QPushButton *btnCancel = nullptr; // 取 消
    QToolButton *imgClose = nullptr;  // 关闭系统
    QLabel *lblHint = nullptr;        // names the default work number
    // Kept hidden: the site lists, their label and the server button.
    QComboBox *ComboBox2 = nullptr;   // warehouses; the first becomes the current site
    QComboBox *ComboBox3 = nullptr;   // sales sites, never filled
    QLabel *lblSalesSite = nullptr;
    QPushButton *btnServer = nullptr; // 服务器选择

    // Shows the name of the typed work number; false (with the message) when it is unknown.
    bool lookupName();
    // "登 入": true when the user is logged in (the dialog is then accepted).
    bool attemptLogin();

    // How long the start-up panel shows before the dialog (0: not at all).
    static void setSplashDuration(int milliseconds);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void showSplash();
    void fillLists();

    QWidget *m_banner = nullptr;
    bool m_inLookup = false;
};

} // namespace tavomi
