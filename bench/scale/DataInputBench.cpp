// dataInput on a stream of reading messages for four scales, fed in blocks of a fixed size,
// with a listener that does nothing. Reports reading messages per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "scale/ScaleController.h"

namespace {

// One reading per scale in each of the three formats the box sends, cycling.
std::string readingStream(std::size_t minSize, std::size_t* messages) {
    const char* readings[] = {"X+012.70:", "Y-01.2345:", "ZH0001F0:", "W+254.00:",
                              "X-000.05:", "Y+00.0005:", "ZHFFFF00:", "W-12.3456:"};
    std::string s;
    *messages = 0;
    for (std::size_t i = 0; s.size() < minSize; ++i, ++*messages) s += readings[i % 8];
    return s;
}

void dataInputInBlocks(benchmark::State& state) {
    const auto block = static_cast<std::size_t>(state.range(0));
    std::size_t messages = 0;
    const std::string stream = readingStream(std::max<std::size_t>(block, 1 << 20), &messages);

    gradel::ScaleListener ignoring;  // every event ignored
    gradel::ScaleController sc;
    sc.setListener(&ignoring);
    sc.dataInput("IX,2,Decimal,mm:IY,2,Decimal,Inch:IZ,2,Hex,Inch:IW,2,Decimal,mm:");

    const std::string_view all(stream);
    std::size_t pos = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        if (pos + block > all.size()) pos = 0;
        sc.dataInput(all.substr(pos, block));
        pos += block;
        bytes += block;
    }
    // Messages fed, counted by their share of the bytes (every message is 9 or 10 bytes).
    const double perByte = static_cast<double>(messages) / static_cast<double>(stream.size());
    state.SetItemsProcessed(static_cast<int64_t>(static_cast<double>(bytes) * perByte));
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    benchmark::DoNotOptimize(sc.scales().item("X")->absoluteInch());
}

BENCHMARK(dataInputInBlocks)
    ->Arg(1)
    ->Arg(64)
    ->Arg(4 << 10)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
