// DataInput on a stream of reading messages for four scales, fed in blocks of a fixed size,
// with handlers that do nothing. Reports reading messages per second.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "scale/clsScaleControl.h"

namespace {

// One reading per scale in each of the three formats the box sends, cycling.
std::string Stream(std::size_t minSize, std::size_t* messages) {
    const char* readings[] = {"X+012.70:", "Y-01.2345:", "ZH0001F0:", "W+254.00:",
                              "X-000.05:", "Y+00.0005:", "ZHFFFF00:", "W-12.3456:"};
    std::string s;
    *messages = 0;
    for (std::size_t i = 0; s.size() < minSize; ++i, ++*messages) s += readings[i % 8];
    return s;
}

void BM_DataInput(benchmark::State& state) {
    const auto block = static_cast<std::size_t>(state.range(0));
    std::size_t messages = 0;
    const std::string stream = Stream(std::max<std::size_t>(block, 1 << 20), &messages);

    gradel::clsScaleControl sc;
    sc.PositionUpdate = [](gradel::clsGradel&) {};
    sc.ScaleAdded = [](gradel::clsGradel&) {};
    sc.ScaleRemoved = [](const std::string&) {};
    sc.ScaleComms = [](const std::string&) {};
    sc.DataInput("IX,2,Decimal,mm:IY,2,Decimal,Inch:IZ,2,Hex,Inch:IW,2,Decimal,mm:");

    const std::string_view all(stream);
    std::size_t pos = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        if (pos + block > all.size()) pos = 0;
        sc.DataInput(all.substr(pos, block));
        pos += block;
        bytes += block;
    }
    // Messages fed, counted by their share of the bytes (every message is 9 or 10 bytes).
    const double perByte = static_cast<double>(messages) / static_cast<double>(stream.size());
    state.SetItemsProcessed(static_cast<int64_t>(static_cast<double>(bytes) * perByte));
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    benchmark::DoNotOptimize(sc.Scales().Item("X")->AbsValueInch());
}

BENCHMARK(BM_DataInput)->Arg(1)->Arg(64)->Arg(4 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
