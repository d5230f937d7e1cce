// File and report costs. The editor pauses 500 ms after every file operation; writing or
// reading a complete .dat and building the report should cost a small fraction of that.
#include <benchmark/benchmark.h>

#include "pause_bound.h"

#include <chrono>
#include <filesystem>
#include <unistd.h>

#include "files/dat_reader.h"
#include "files/dat_writer.h"
#include "model/fresh_image.h"
#include "report/printed_report.h"
#include "report/settings_report.h"

using namespace qm47;

namespace {

using qm47::bench::Clock;
using qm47::bench::ReportAgainstPause;

struct Fresh {
  Fresh() { NewImageData(rec, img, 1); }
  SettingsRecord rec;
  MemoryImage img;
  ModelDescriptor model = MakeDescriptor(1, true, true);
};

std::string ScratchPath() {
  return (std::filesystem::temp_directory_path() / ("qm47-bench-" + std::to_string(::getpid()) + ".dat")).string();
}

void BM_WriteDatFile(benchmark::State& state) {
  Fresh f;
  const std::string path = ScratchPath();
  const auto start = Clock::now();
  for (auto _ : state) {
    if (WriteDatFile(path, f.rec, f.model)) state.SkipWithError("write failed");
  }
  ReportAgainstPause(state, start);
  std::filesystem::remove(path);
}
BENCHMARK(BM_WriteDatFile)->Unit(benchmark::kMillisecond);

void BM_ReadDatFile(benchmark::State& state) {
  Fresh f;
  const std::string path = ScratchPath();
  if (WriteDatFile(path, f.rec, f.model)) state.SkipWithError("write failed");
  const auto start = Clock::now();
  for (auto _ : state) {
    DatReadResult file = ReadDatFile(path);
    if (!file.table || !DatModelMatches(*file.table, 1)) {
      state.SkipWithError("read failed");
      break;
    }
    ApplyDatSettings(*file.table, f.rec, f.model);
    benchmark::DoNotOptimize(f.rec);
  }
  ReportAgainstPause(state, start);
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadDatFile)->Unit(benchmark::kMillisecond);

void BM_BuildReport(benchmark::State& state) {
  Fresh f;
  const auto start = Clock::now();
  for (auto _ : state) {
    std::string text = ReportTextImage(f.rec, f.img);
    benchmark::DoNotOptimize(text);
  }
  ReportAgainstPause(state, start);
}
BENCHMARK(BM_BuildReport)->Unit(benchmark::kMillisecond);

void BM_BuildPrintedLayout(benchmark::State& state) {
  Fresh f;
  const auto start = Clock::now();
  for (auto _ : state) {
    auto sheets = LayOutSheets(PrintedReportPages(f.rec, f.img, f.model));
    benchmark::DoNotOptimize(sheets);
  }
  ReportAgainstPause(state, start);
}
BENCHMARK(BM_BuildPrintedLayout)->Unit(benchmark::kMillisecond);

}  // namespace
