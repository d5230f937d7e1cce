// Codec costs per image. The editor decodes after every read and open and runs the three
// export steps before every save and write; both should stay far below the 500 ms pause
// the editor adds after a file operation.
#include <benchmark/benchmark.h>

#include "pause_bound.h"

#include <chrono>

#include "model/codec.h"
#include "model/fresh_image.h"

using namespace qm47;

namespace {

using qm47::bench::Clock;
using qm47::bench::ReportAgainstPause;

void BM_DecodeImage(benchmark::State& state) {
  SettingsRecord rec;
  MemoryImage img;
  NewImageData(rec, img, 1);
  const auto start = Clock::now();
  for (auto _ : state) {
    DecodeImage(img, rec);
    benchmark::DoNotOptimize(rec);
  }
  ReportAgainstPause(state, start);
}
BENCHMARK(BM_DecodeImage);

void BM_EncodeNormaliseChecksum(benchmark::State& state) {
  SettingsRecord rec;
  MemoryImage img;
  NewImageData(rec, img, 1);
  const auto start = Clock::now();
  for (auto _ : state) {
    PrepareImageForExport(rec, img, 1);
    benchmark::DoNotOptimize(img);
  }
  ReportAgainstPause(state, start);
}
BENCHMARK(BM_EncodeNormaliseChecksum);

void BM_NewImageSetup(benchmark::State& state) {
  SettingsRecord rec;
  MemoryImage img;
  const auto start = Clock::now();
  for (auto _ : state) {
    NewImageData(rec, img, 2);
    benchmark::DoNotOptimize(img);
  }
  ReportAgainstPause(state, start);
}
BENCHMARK(BM_NewImageSetup);

}  // namespace
