#pragma once

#include <QDate>
#include <QString>

namespace core {

// The program folder: the folder of the executable, with a trailing
// separator. Every file the program uses hangs off it. Tests point it at a
// temporary folder.
QString programFolder();
void setProgramFolder(const QString &folder);

QString settingsPath();      // myini.ini
QString databasePath();      // database/database.mdb
QString exitBackupPath(const QDate &day); // backup/yyyy-mm-dd.bak
QString defaultBackgroundPath();          // image/001.bmp
QString helpPath();          // help.chm

} // namespace core
