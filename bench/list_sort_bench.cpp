// Sorting a million result-list rows by each kind of column, as a header click does. The rows are made
// from the Japanese corpus: file hits from its paths (each name repeated in many folders), text hits from
// the lines of its UTF-8 files in code page 932, many per file. Run by hand:
//   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DSERQUIN_BENCH=ON
//   cmake --build build/release -j2 --target list_sort_bench && build/release/bin/list_sort_bench
// CORPUS (default /tmp/jcorpus) names the corpus.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "results/list_sort.h"
#include "search/found.h"

namespace {

constexpr size_t kRows = 1000000;

std::string Corpus() {
  const char* corpus = getenv("CORPUS");
  return std::string(corpus ? corpus : "/tmp/jcorpus") + "/utf8";
}

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(Corpus())) {
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Rows in a fixed random order, with that order kept so that every run sorts the same input.
template <typename Record>
struct Rows {
  std::vector<std::unique_ptr<Record>> rows;
  std::vector<Record*> original;

  void Keep() {
    for (const auto& row : rows) original.push_back(row.get());
  }
  void Restore() {
    for (size_t i = 0; i < rows.size(); ++i) {
      (void)rows[i].release();
      rows[i].reset(original[i]);
    }
  }
};

Rows<FOUND_F>& FileRows() {
  static Rows<FOUND_F> rows = [] {
    Rows<FOUND_F> r;
    std::vector<std::string> files = CorpusFiles();
    std::mt19937_64 random(1);
    for (size_t i = 0; i < kRows; ++i) {
      const std::string& path = files[random() % files.size()];
      auto hit = std::make_unique<FOUND_F>();
      hit->kind = random() % 10 == 0 ? 4 : 2;
      hit->name = platform::Cp932FromUtf8(path.substr(path.rfind('/') + 1));
      hit->folder = platform::Cp932FromUtf8(path.substr(0, path.rfind('/'))) + "/" + std::to_string(i % 997);
      hit->size = random() % 1000000;
      hit->written = 1600000000 + static_cast<int64_t>(random() % 100000000);
      hit->typeName = hit->kind == 4 ? "folder" : "TXT file";
      hit->attributesText = random() % 3 == 0 ? "RA" : "A";
      r.rows.push_back(std::move(hit));
    }
    r.Keep();
    return r;
  }();
  return rows;
}

Rows<FOUND_M>& TextRows() {
  static Rows<FOUND_M> rows = [] {
    Rows<FOUND_M> r;
    for (const std::string& path : CorpusFiles()) {
      auto file = MakeHitFile(platform::Cp932FromUtf8(path), path);
      std::ifstream in(path);
      std::string line;
      for (int number = 1; r.rows.size() < kRows && number <= 400 && std::getline(in, line); ++number) {
        r.rows.push_back(MakeTextHit(file, number, platform::Cp932FromUtf8(line), 4));
      }
      if (r.rows.size() == kRows) break;
    }
    std::shuffle(r.rows.begin(), r.rows.end(), std::mt19937_64(2));
    r.Keep();
    return r;
  }();
  return rows;
}

void SortFiles(benchmark::State& state) {
  Rows<FOUND_F>& rows = FileRows();
  for (auto _ : state) {
    state.PauseTiming();
    rows.Restore();
    state.ResumeTiming();
    SortFileRows(rows.rows, static_cast<int>(state.range(0)), false);
  }
  state.SetItemsProcessed(state.iterations() * rows.rows.size());
}

void SortTexts(benchmark::State& state) {
  Rows<FOUND_M>& rows = TextRows();
  for (auto _ : state) {
    state.PauseTiming();
    rows.Restore();
    state.ResumeTiming();
    SortTextRows(rows.rows, static_cast<int>(state.range(0)), false);
  }
  state.SetItemsProcessed(state.iterations() * rows.rows.size());
}

// Columns: file list 0 name, 1 folder, 2 size, 3 date, 5 attributes; text list 0 file, 2 line, 3 content.
BENCHMARK(SortFiles)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(SortTexts)->Arg(0)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
