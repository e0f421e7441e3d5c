#pragma once

#include <QString>
#include <QtGlobal>

namespace demo {

struct Options {
    qint64 members = 1000;
    qint64 ledger = -1;      // -1: ten rows per member
    qint64 consumption = -1; // -1: twenty rows per member
    quint64 seed = 1;
    bool fresh = false; // rewrite the file even when it exists
};

struct Summary {
    qint64 members = 0;
    qint64 ledger = 0;
    qint64 consumption = 0;
    double seconds = 0;
    qint64 fileBytes = 0;
};

// Fills the keyed database at `path` with made-up members, points ledger and
// consumption rows, writing a fresh delivered database first when asked or
// when there is none. Adds to an existing one otherwise: card and ledger
// numbers continue after the largest ones there. Throws core::DbError.
Summary generate(const QString &path, const Options &options);

QString describe(const Summary &summary, const QString &path);

} // namespace demo
