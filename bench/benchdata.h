#pragma once

#include <QString>
#include <vector>

namespace bench {

// The demo database of the benchmarks: 100,000 members, 1,000,000 ledger
// rows and 2,000,000 consumption rows unless BENCH_MEMBERS, BENCH_LEDGER or
// BENCH_CONSUMPTION say otherwise. Generated on the first run and kept in
// BENCH_DATA_DIR (the build folder's bench-data), one file per scale.
QString prepareDatabase();

// `count` (a power of two) existing card numbers, drawn with a fixed seed.
std::vector<QString> sampleCards(const QString &path, size_t count);

} // namespace bench
