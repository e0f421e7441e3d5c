#include "core/inifile.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using core::IniFile;

namespace {
const QString S = QStringLiteral("程序参数");

QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("myini.ini"));
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
    return path;
}
} // namespace

TEST(IniFile, BooleansReadAsIntegersWithTheReadersDefault)
{
    QTemporaryDir dir;
    const struct { const char *line; bool def; bool expected; } cases[] = {
        {"提醒=1", false, true},   {"提醒=0", true, false},   {"提醒=2", false, true},
        {"提醒=-1", false, true},  {"提醒=abc", true, true},  {"提醒=abc", false, false},
        {"提醒=", true, true},     {"提醒= 0 ", true, false}, {"其他=0", true, true},
        {"提醒=1.5", false, false},
    };
    for (const auto &c : cases) {
        const QString path = writeFile(dir, QByteArray("[程序参数]\r\n") + c.line + "\r\n");
        EXPECT_EQ(IniFile(path).readBool(S, QStringLiteral("提醒"), c.def), c.expected) << c.line << " def " << c.def;
    }
    EXPECT_TRUE(IniFile(dir.filePath(QStringLiteral("missing.ini"))).readBool(S, QStringLiteral("提醒"), true));
}

TEST(IniFile, WritesUtf8WithChineseNamesAndKeepsOtherEntries)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("myini.ini"));
    IniFile ini(path);
    ini.writeString(S, QStringLiteral("店铺名称"), QStringLiteral("第一家"));
    ini.writeBool(S, QStringLiteral("打印小票"), true);
    ini.writeString(QStringLiteral("其他"), QStringLiteral("k"), QStringLiteral("v"));
    ini.writeString(S, QStringLiteral("店铺名称"), QStringLiteral("王记'店"));
    ini.writeString(S, QStringLiteral("小票尾"), QStringLiteral("第一行\r\n第二行"));

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("[程序参数]\r\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("店铺名称=王记'店\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("打印小票=1\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("小票尾=第一行第二行\r\n")));
    EXPECT_EQ(text.count(QStringLiteral("店铺名称")), 1);

    EXPECT_EQ(ini.readString(S, QStringLiteral("店铺名称"), {}), QStringLiteral("王记'店"));
    EXPECT_EQ(ini.readString(QStringLiteral("其他"), QStringLiteral("k"), {}), QStringLiteral("v"));
    EXPECT_EQ(ini.readString(S, QStringLiteral("广告语"), QStringLiteral("默认")), QStringLiteral("默认"));
}

TEST(IniFile, ReadsAnOlderGbkFile)
{
    QTemporaryDir dir;
    QStringEncoder gbk("GBK");
    const QByteArray bytes = gbk.encode(QStringLiteral("[程序参数]\r\n店铺名称=老店\r\n"));
    const QString path = writeFile(dir, bytes);
    EXPECT_EQ(IniFile(path).readString(S, QStringLiteral("店铺名称"), {}), QStringLiteral("老店"));
}

TEST(IniFile, WriteIntoMissingFolderThrows)
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("no/such/folder/myini.ini")));
    EXPECT_THROW(ini.writeString(S, QStringLiteral("a"), QStringLiteral("b")), core::IniWriteError);
}
