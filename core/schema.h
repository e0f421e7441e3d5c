#pragma once

#include <QString>
#include <QStringList>

namespace core {

// The thirteen tables of the member database, their indexes and the rows a
// fresh database starts with. SQLite dialect.
QStringList schemaStatements();
QStringList startingContentStatements();
QStringList tableNames();

// Writes the delivered empty database (a keyed file) at `path`.
void createDeliveredDatabase(const QString &path);

} // namespace core
