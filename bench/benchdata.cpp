#include "bench/benchdata.h"

#include "core/database.h"
#include "tools/demogen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <random>

#include <sqlcipher/sqlite3.h>

namespace bench {

namespace {
qint64 envNumber(const char *name, qint64 fallback)
{
    bool ok = false;
    const qint64 v = qEnvironmentVariable(name).toLongLong(&ok);
    return ok && v >= 0 ? v : fallback;
}
} // namespace

QString prepareDatabase()
{
    demo::Options o;
    o.members = std::max<qint64>(1, envNumber("BENCH_MEMBERS", 100000));
    o.ledger = envNumber("BENCH_LEDGER", 10 * o.members);
    o.consumption = envNumber("BENCH_CONSUMPTION", 20 * o.members);
    o.seed = 1;
    o.fresh = true;
    const QString dir = qEnvironmentVariable("BENCH_DATA_DIR", QStringLiteral(BENCH_DATA_DIR));
    QDir().mkpath(dir);
    const QString path = QStringLiteral("%1/demo-m%2-l%3-c%4-s%5.db")
                             .arg(dir).arg(o.members).arg(o.ledger).arg(o.consumption).arg(o.seed);
    if (QFileInfo(path).isFile())
        return path;
    // Written aside first: an interrupted run must not leave a half file
    // that later runs would take for the real one.
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    std::fprintf(stderr, "generating %s ...\n", qPrintable(path));
    const demo::Summary s = demo::generate(part, o);
    if (!QFile::rename(part, path))
        throw core::DbError(QStringLiteral("cannot rename %1").arg(part));
    std::fprintf(stderr, "%s\n", demo::describe(s, path).toUtf8().constData());
    return path;
}

std::vector<QString> sampleCards(const QString &path, size_t count)
{
    core::Database db;
    db.open(path);
    std::vector<QString> all;
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db.handle(), "SELECT 会员卡号 FROM 会员卡信息 WHERE 口头挂失标志=0", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        all.push_back(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))));
    sqlite3_finalize(st);
    std::mt19937_64 rng(42);
    std::uniform_int_distribution<size_t> pick(0, all.size() - 1);
    std::vector<QString> out(count);
    for (QString &c : out)
        c = all[pick(rng)];
    return out;
}

} // namespace bench
