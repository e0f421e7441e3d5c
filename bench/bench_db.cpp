// Database benchmarks on demo data of realistic size (by default 100,000
// members, 1,000,000 ledger rows, 2,000,000 consumption rows). The database
// is generated on the first run and kept, one file per scale, in
// BENCH_DATA_DIR (the build folder's bench-data unless the variable is set).
// BENCH_MEMBERS, BENCH_LEDGER, BENCH_CONSUMPTION choose a smaller scale.
#include "core/database.h"
#include "core/sqlquote.h"
#include "core/tdm1.h"
#include "bench/benchdata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>
#include <vector>

#include <sqlcipher/sqlite3.h>

namespace {

QString g_path;
std::vector<QString> g_cards; // existing card numbers, visited in this order

const QString &cardAt(size_t i)
{
    return g_cards[i & (g_cards.size() - 1)];
}

void BM_OpenKeyed(benchmark::State &state)
{
    for (auto _ : state) {
        core::Database db;
        db.open(g_path);
        db.close();
    }
}
BENCHMARK(BM_OpenKeyed)->Unit(benchmark::kMillisecond);

// One member by card number straight through the C API, every column read.
qint64 selectDirect(sqlite3 *db, const QString &card)
{
    const QByteArray sql = (QStringLiteral("SELECT * FROM 会员卡信息 WHERE 会员卡号=") + core::q(card)).toUtf8();
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK)
        throw core::DbError(QString::fromUtf8(sqlite3_errmsg(db)));
    qint64 sum = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const int n = sqlite3_column_count(st);
        for (int i = 0; i < n; ++i) {
            switch (sqlite3_column_type(st, i)) {
            case SQLITE_INTEGER:
            case SQLITE_FLOAT:
                sum += qint64(sqlite3_column_double(st, i));
                break;
            case SQLITE_TEXT:
                benchmark::DoNotOptimize(sqlite3_column_text(st, i));
                sum += sqlite3_column_bytes(st, i);
                break;
            default:
                break;
            }
        }
    }
    sqlite3_finalize(st);
    return sum;
}

double selectTDM1(core::TDM1 &dm, const QString &card)
{
    core::TDM1::select(dm.ADOall, QStringLiteral("select * from 会员卡信息 where 会员卡号=") + core::q(card));
    const QString name = dm.ADOall.asString(QStringLiteral("会员姓名"));
    benchmark::DoNotOptimize(name.constData());
    return dm.ADOall.asFloat(QStringLiteral("积分")) + name.size();
}

void BM_PointSelectDirect(benchmark::State &state)
{
    core::Database db;
    db.open(g_path);
    for (size_t i = 0; i < g_cards.size(); ++i) // same warm page cache as the other
        selectDirect(db.handle(), cardAt(i));
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(selectDirect(db.handle(), cardAt(i++)));
}
BENCHMARK(BM_PointSelectDirect)->Unit(benchmark::kMicrosecond);

void BM_PointSelectTDM1(benchmark::State &state)
{
    core::TDM1 dm;
    dm.connectTo(g_path);
    for (size_t i = 0; i < g_cards.size(); ++i)
        selectTDM1(dm, cardAt(i));
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(selectTDM1(dm, cardAt(i++)));
}
BENCHMARK(BM_PointSelectTDM1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        g_path = bench::prepareDatabase();
        g_cards = bench::sampleCards(g_path, 1024);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_db: %s\n", e.what());
        return 1;
    }
    benchmark::AddCustomContext("database", g_path.toStdString());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
