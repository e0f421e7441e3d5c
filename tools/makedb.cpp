// Writes the delivered empty member database: makedb <path>
#include "core/database.h"
#include "core/schema.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: makedb <database file>\n");
        return 2;
    }
    try {
        core::createDeliveredDatabase(args.at(1));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "makedb: %s\n", e.what());
        return 1;
    }
    return 0;
}
