// How fast a pasted ID column is split into its lines: 10,000 and 100,000 lines of
// eleven-digit IDs joined by CR LF. The rates should stay close to each other (linear
// splitting) and well above 200 MB/s.
#include <benchmark/benchmark.h>

#include <string>

#include "core/TextOperations.h"

namespace {

korvel::Text IdColumn(int lines) {
    std::string column;
    column.reserve(static_cast<std::size_t>(lines) * 13);
    for (int i = 0; i < lines; ++i) {
        if (i > 0) column += "\r\n";
        column += std::to_string(35020180001LL + i);
    }
    return korvel::Text(std::move(column));
}

void SplitIdColumn(benchmark::State& state) {
    const korvel::Text column = IdColumn(static_cast<int>(state.range(0)));
    const korvel::Text lineEnd("\r\n");
    for (auto _ : state) {
        korvel::TextList lines = korvel::SplitText(column, lineEnd);
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * column.size());
    state.counters["lines"] = static_cast<double>(state.range(0));
}

BENCHMARK(SplitIdColumn)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
