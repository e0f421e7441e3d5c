#pragma once

#include <QString>

namespace core {

// Who logged in, kept from the login to the end of the run.
QString &loggedInOperator(); // operator number, written into every 经手人
QString &loginPassword();    // the password as typed, for the temporary lock

// The application title, also the caption of error boxes.
inline const QString kAppTitle = QStringLiteral("voduradodazoza");

} // namespace core
