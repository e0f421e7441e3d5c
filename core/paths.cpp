#include "core/paths.h"

#include <QCoreApplication>
#include <QDir>

namespace core {

namespace {
QString g_folder;
}

QString programFolder()
{
    if (g_folder.isEmpty())
        setProgramFolder(QCoreApplication::applicationDirPath());
    return g_folder;
}

void setProgramFolder(const QString &folder)
{
    g_folder = QDir::cleanPath(folder);
    if (!g_folder.endsWith(u'/'))
        g_folder += u'/';
}

QString settingsPath()
{
    return programFolder() + QStringLiteral("myini.ini");
}

QString databasePath()
{
    return programFolder() + QStringLiteral("database/database.mdb");
}

QString exitBackupPath(const QDate &day)
{
    return programFolder() + QStringLiteral("backup/") + day.toString(QStringLiteral("yyyy-MM-dd"))
        + QStringLiteral(".bak");
}

QString defaultBackgroundPath()
{
    return programFolder() + QStringLiteral("image/001.bmp");
}

QString helpPath()
{
    return programFolder() + QStringLiteral("help.chm");
}

} // namespace core
