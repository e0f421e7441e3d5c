// Fills a member database with made-up data at a chosen scale:
// demodata <database file> [--members N] [--ledger N] [--consumption N] [--seed S] [--fresh]
#include "tools/demogen.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: demodata <database file> [--members N] [--ledger N] [--consumption N] "
                         "[--seed S] [--fresh]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString path;
    demo::Options options;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--fresh")) {
            options.fresh = true;
            continue;
        }
        if (!a.startsWith(QLatin1String("--"))) {
            if (!path.isEmpty())
                return usage();
            path = a;
            continue;
        }
        if (i + 1 >= args.size())
            return usage();
        bool ok = false;
        const QString v = args.at(++i);
        if (a == QLatin1String("--members"))
            options.members = v.toLongLong(&ok);
        else if (a == QLatin1String("--ledger"))
            options.ledger = v.toLongLong(&ok);
        else if (a == QLatin1String("--consumption"))
            options.consumption = v.toLongLong(&ok);
        else if (a == QLatin1String("--seed"))
            options.seed = v.toULongLong(&ok);
        if (!ok || (a != QLatin1String("--seed") && v.toLongLong() < 0))
            return usage();
    }
    if (path.isEmpty())
        return usage();
    try {
        const demo::Summary s = demo::generate(path, options);
        std::printf("%s\n", demo::describe(s, path).toUtf8().constData());
    } catch (const std::exception &e) {
        std::fprintf(stderr, "demodata: %s\n", e.what());
        return 1;
    }
    return 0;
}
