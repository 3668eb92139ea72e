// The window-free part of handling history records, with Google Benchmark: frame assembly of
// a 4 KB delivery of record frames (what a pseudo-terminal hands over at once when the
// recorder sends unpaced) and the rendering of one record as its text line.
#include "operations/HistoryRendering.h"
#include "protocol/Commands.h"
#include "protocol/Frame.h"
#include "protocol/FrameAssembler.h"

#include <benchmark/benchmark.h>

namespace {

QByteArray Record(int index) {
    const char bytes[] = {26,
                          static_cast<char>(1 + index % 12),
                          static_cast<char>(1 + index % 28),
                          static_cast<char>(index % 24),
                          static_cast<char>(index % 60),
                          0,
                          static_cast<char>(20 + index % 5),
                          static_cast<char>(index % 10),
                          static_cast<char>(0x80 | (index % 3)),
                          static_cast<char>(index % 10)};
    return QByteArray(bytes, sizeof bytes);
}

constexpr int FramesPerDelivery = 4096 / 14;

void FrameAssembly(benchmark::State& state) {
    QByteArray delivery;
    for (int i = 0; i < FramesPerDelivery; ++i)
        delivery += BuildResponseFrame(Cmd::HistoryRecord, Record(i));
    FrameAssembler assembler;
    for (auto _ : state) {
        std::vector<ResponseFrame> frames = assembler.Feed(delivery);
        benchmark::DoNotOptimize(frames);
    }
    state.SetItemsProcessed(state.iterations() * FramesPerDelivery);
}
BENCHMARK(FrameAssembly);

void HistoryLineRendering(benchmark::State& state) {
    const QByteArray record = Record(7);
    for (auto _ : state) {
        std::optional<QString> line = HistoryLine(record);
        benchmark::DoNotOptimize(line);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(HistoryLineRendering);

} // namespace

BENCHMARK_MAIN();
