#pragma once

#include "common/connection_settings.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tavomi {

// "服务器IP设置": the address of the PostgreSQL server in the connection settings.
class Tfrm_connect_service : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_connect_service(QWidget *parent = nullptr);

    QLineEdit *IPaddress = nullptr;
    QCheckBox *CheckBox1 = nullptr;   // 服务器安装在本机
    QPushButton *btnTest = nullptr;   // 测试连接
    QPushButton *btnSave = nullptr;   // 保存
    QPushButton *btnCancel = nullptr; // 取消

    // Opens a throwaway connection to the typed server; true when it worked. Shows the outcome.
    bool testConnection();
    // Writes the typed host into the connection settings file.
    void saveHost();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CheckBox1Click();
    ConnectionSettings m_settings;
};

} // namespace tavomi
