// Saving a million text hits as the result file, as the window's save does: WriteCsv of the text list
// (display paths on) through SaveResultFile into a file in TMPDIR (default /tmp). Lines are Japanese
// code page 932 text of 20 to 120 bytes, some with double quotes; 10,000 files of 100 hits each. Run by hand:
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DSERQUIN_BENCH=ON -DSERQUIN_GUI=OFF
//   -DSERQUIN_TESTS=OFF cmake --build build/rel -j2 --target result_file_bench &&
//   build/rel/bin/result_file_bench
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "results/result_file.h"
#include "search/found.h"

namespace {

constexpr int kFiles = 10000;
constexpr int kLinesPerFile = 100;

std::vector<std::unique_ptr<FOUND_M>> MakeHits() {
  // 日本語, テキスト, 検索, 結果 and ASCII pieces.
  const char* words[] = {"\x93\xfa\x96\x7b\x8c\xea",
                         "\x83\x65\x83\x4c\x83\x58\x83\x67",
                         "\x8c\x9f\x8d\xf5",
                         "\x8c\x8b\x89\xca",
                         "int x = 0;",
                         "say \"hi\", ",
                         "return value; ",
                         "    "};
  std::vector<std::unique_ptr<FOUND_M>> hits;
  hits.reserve(static_cast<size_t>(kFiles) * kLinesPerFile);
  unsigned seed = 12345;
  for (int f = 0; f < kFiles; ++f) {
    // The location searched is /home/user/projects; the display path is the folder relative to it.
    char relative[64];
    snprintf(relative, sizeof relative, "src/module%03d/part%02d", f % 500, f % 37);
    const std::string folder = std::string("/home/user/projects/") + relative;
    const std::string displayPath = std::string("./") + relative;
    const std::string path = folder + "/file" + std::to_string(f) + ".txt";
    auto file = MakeHitFile(path, path);
    for (int l = 1; l <= kLinesPerFile; ++l) {
      std::string line;
      const size_t length = 20 + (seed = seed * 1103515245u + 12345u) % 100;
      while (line.size() < length) line += words[(seed = seed * 1103515245u + 12345u) % 8];
      auto hit = MakeTextHit(file, l * 7, std::move(line), 0);
      hit->displayPath = displayPath;
      hits.push_back(std::move(hit));
    }
  }
  return hits;
}

void SaveMillionTextHits(benchmark::State& state) {
  const std::vector<std::unique_ptr<FOUND_M>> hits = MakeHits();
  const char* tmp = getenv("TMPDIR");
  const std::string path = std::string(tmp ? tmp : "/tmp") + "/serquin_result_file_bench.txt";
  for (auto _ : state) {
    int error = 0;
    const bool saved = SaveResultFile(
        path,
        [&](const CsvOut& out) {
          return WriteCsv(hits, {0, 1, 2, 3}, true, out);
        },
        error);
    if (!saved) state.SkipWithError("the save failed");
  }
  state.counters["hits"] = static_cast<double>(hits.size());
  FILE* file = fopen(path.c_str(), "rb");
  if (file) {
    fseek(file, 0, SEEK_END);
    state.counters["MB"] = static_cast<double>(ftell(file)) / 1e6;
    fclose(file);
  }
  unlink(path.c_str());
}
BENCHMARK(SaveMillionTextHits)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
