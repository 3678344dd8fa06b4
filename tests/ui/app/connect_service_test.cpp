#include "common/connection_settings.h"
#include "common/program_folder.h"
#include "ui/app/connect_service_frm.h"
#include "support/test_db.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace tavomi;
using tavomi::test::DbTest;

using ConnectServiceTest = DbTest;

TEST_F(ConnectServiceTest, LocalServerBoxFillsTheAddressAndSaveKeepsIt)
{
    Tfrm_connect_service form;
    QTest::mouseClick(form.CheckBox1, Qt::LeftButton, {}, QPoint(5, form.CheckBox1->height() / 2));
    EXPECT_EQ(form.IPaddress->text(), QStringLiteral("127.0.0.1"));
    EXPECT_FALSE(form.IPaddress->isEnabled());
    form.CheckBox1->click();
    EXPECT_TRUE(form.IPaddress->isEnabled());
    EXPECT_TRUE(form.IPaddress->text().isEmpty());

    QTest::keyClicks(form.IPaddress, QStringLiteral("db-1.local!#"));
    EXPECT_EQ(form.IPaddress->text(), QStringLiteral("db-1.local"));
    form.saveHost();
    EXPECT_EQ(ConnectionSettings::load().host, QStringLiteral("db-1.local"));
}

TEST_F(ConnectServiceTest, TestConnectionReportsFailure)
{
    Tfrm_connect_service form;
    form.IPaddress->setText(QStringLiteral("127.0.0.1"));
    ConnectionSettings s = ConnectionSettings::load();
    s.port = 1; // nothing listens there
    s.save();
    Tfrm_connect_service again;
    again.IPaddress->setText(QStringLiteral("127.0.0.1"));
    EXPECT_FALSE(again.testConnection());
    ASSERT_FALSE(messages().shown.isEmpty());
    EXPECT_TRUE(messages().lastText().startsWith(QStringLiteral("连接服务器失败")));
}
