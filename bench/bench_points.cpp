// The card lookup of the point windows (every statement of the panel, through
// TDM1) against the same statements straight through the C API, and a
// purchase posting of five lines with its commit, on the demo database.
#include "bench/benchdata.h"
#include "core/database.h"
#include "core/sqlquote.h"
#include "core/tdm1.h"
#include "points/memberlookup.h"
#include "points/posting.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

#include <sqlcipher/sqlite3.h>

namespace {

QString g_path;
std::vector<QString> g_cards;

const QString &cardAt(size_t i)
{
    return g_cards[i & (g_cards.size() - 1)];
}

// Runs one statement and reads every column of every row.
qint64 run(sqlite3 *db, const QString &sql, QString *firstText = nullptr, int textColumn = -1)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
        throw core::DbError(QString::fromUtf8(sqlite3_errmsg(db)));
    qint64 sum = 0;
    bool first = true;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const int n = sqlite3_column_count(st);
        for (int i = 0; i < n; ++i) {
            if (sqlite3_column_type(st, i) == SQLITE_TEXT) {
                const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
                if (first && i == textColumn && firstText)
                    *firstText = QString::fromUtf8(p, sqlite3_column_bytes(st, i));
                sum += sqlite3_column_bytes(st, i);
            } else {
                sum += qint64(sqlite3_column_double(st, i));
            }
        }
        first = false;
    }
    sqlite3_finalize(st);
    return sum;
}

qint64 lookUpDirect(sqlite3 *db, const QString &card)
{
    const QString c = core::q(card);
    qint64 sum = run(db, QStringLiteral("SELECT 旧卡号 FROM 挂失记录 WHERE 旧卡号=") + c);
    QString category;
    sum += run(db, QStringLiteral("SELECT * FROM 会员卡信息 WHERE 会员卡号=") + c, &category, 1);
    sum += run(db, QStringLiteral("SELECT count(*) FROM 流水记录 WHERE 会员卡号=") + c
                       + QStringLiteral(" AND 增减原因='购物消费'"));
    sum += run(db, QStringLiteral("SELECT sum(消费金额) AS zongjine FROM 消费记录 WHERE 会员卡号=") + c);
    sum += run(db, QStringLiteral("SELECT 折扣 FROM 卡类别 WHERE 卡类别=") + core::q(category));
    return sum;
}

void BM_CardLookupDirect(benchmark::State &state)
{
    core::Database db;
    db.open(g_path);
    for (size_t i = 0; i < g_cards.size(); ++i)
        lookUpDirect(db.handle(), cardAt(i));
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(lookUpDirect(db.handle(), cardAt(i++)));
}
BENCHMARK(BM_CardLookupDirect)->Unit(benchmark::kMicrosecond);

void BM_CardLookupTDM1(benchmark::State &state)
{
    core::TDM1 dm;
    dm.connectTo(g_path);
    const points::LookupSteps steps;
    for (size_t i = 0; i < g_cards.size(); ++i)
        points::lookUpCard(dm, cardAt(i), steps);
    size_t i = 0;
    for (auto _ : state) {
        const points::LookupResult r = points::lookUpCard(dm, cardAt(i++), steps);
        benchmark::DoNotOptimize(r.discount.constData());
    }
}
BENCHMARK(BM_CardLookupTDM1)->Unit(benchmark::kMicrosecond);

// Postings change the database: they run on a copy.
void BM_PurchasePostingFiveLines(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("posting.db"));
    if (!QFile::copy(g_path, copy)) {
        state.SkipWithError("cannot copy the database");
        return;
    }
    core::TDM1 dm;
    dm.connectTo(copy);
    points::PointPosting p;
    p.points = QStringLiteral("12.35");
    p.discount = QStringLiteral("90");
    p.operatorNumber = QStringLiteral("0001");
    for (int i = 0; i < 5; ++i)
        p.lines << points::SaleLine{QStringLiteral("洗发水"), QStringLiteral("瓶"), QStringLiteral("1"), QStringLiteral("45")};
    size_t i = 0;
    for (auto _ : state) {
        p.card = cardAt(i++);
        p.name = QStringLiteral("会员");
        p.when = QDateTime::currentDateTime();
        benchmark::DoNotOptimize(points::postPoints(dm, p).balance);
    }
}
BENCHMARK(BM_PurchasePostingFiveLines)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        g_path = bench::prepareDatabase();
        g_cards = bench::sampleCards(g_path, 1024);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_points: %s\n", e.what());
        return 1;
    }
    benchmark::AddCustomContext("database", g_path.toStdString());
    benchmark::AddCustomContext("database bytes", std::to_string(QFile(g_path).size()));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
