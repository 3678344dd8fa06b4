#include "common/program_folder.h"
#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

using namespace tavomi;

TEST(IniFile, RoundTripKeepsChineseKeysReadable)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("bdchange.ini"));
    {
        IniFile ini(path);
        ini.setValue(kIniSection, QStringLiteral("采购入库"), QStringLiteral("一号仓"));
        ini.setValue(kIniSection, QStringLiteral("销售出货默认折扣"), QStringLiteral("0.88"));
        ini.setValue(QStringLiteral("other"), QStringLiteral("k"), QStringLiteral("v"));
        ini.save();
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("[currensys]\n采购入库=一号仓\n"))) << text.toStdString();

    IniFile again(path);
    EXPECT_EQ(again.value(kIniSection, QStringLiteral("采购入库")), QStringLiteral("一号仓"));
    EXPECT_EQ(again.value(kIniSection, QStringLiteral("销售出货默认折扣")), QStringLiteral("0.88"));
    EXPECT_EQ(again.value(kIniSection, QStringLiteral("小数点位数1"), QStringLiteral("2")), QStringLiteral("2"));
    EXPECT_EQ(again.value(QStringLiteral("other"), QStringLiteral("k")), QStringLiteral("v"));

    again.setValue(kIniSection, QStringLiteral("采购入库"), QStringLiteral("二号仓"));
    again.save();
    EXPECT_EQ(IniFile(path).keys(kIniSection).size(), 2);
    EXPECT_EQ(IniFile(path).value(kIniSection, QStringLiteral("采购入库")), QStringLiteral("二号仓"));
}

TEST(IniFile, ReadsOldCodePageFilesAndProgramFolderShorthands)
{
    QTemporaryDir dir;
    ProgramFolder::setOverride(dir.path());
    {
        QFile f(ProgramFolder::filePath(kPossetIni));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringEncoder("GB18030").encode(QStringLiteral("[currensys]\r\n打印端口=LPT1\r\n")));
    }
    EXPECT_EQ(IniFile::read(kPossetIni, QStringLiteral("打印端口")), QStringLiteral("LPT1"));
    IniFile::write(kBdchangeIni, QStringLiteral("启动提示设置"), QStringLiteral("0"));
    EXPECT_EQ(IniFile::read(kBdchangeIni, QStringLiteral("启动提示设置"), QStringLiteral("1")), QStringLiteral("0"));
    ProgramFolder::setOverride(QString());
}
