// serquin-cli's --format=csv and the window's saved result file come from the same rows.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "cli/hit_printer.h"
#include "results/display_path.h"
#include "results/result_file.h"
#include "search/found.h"

namespace {

const std::string kBase = "/work";

// What the console prints in code page 932 for these hits.
template <typename Hit>
std::string Printed(const std::vector<std::unique_ptr<Hit>>& hits, bool textList, bool folderDetail,
                    bool showDisplayPath) {
  char* buffer = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&buffer, &size);
  {
    HitPrinter printer(out, OutputFormat::Csv, OutputEncoding::Sjis, textList, folderDetail, showDisplayPath,
                       kBase);
    printer.Begin();
    for (const auto& hit : hits) printer.Print(*hit);
    EXPECT_TRUE(printer.Flush());
  }
  fclose(out);
  std::string bytes(buffer, size);
  free(buffer);
  return bytes;
}

// What the window saves for the same hits, whose display paths it fills as they arrive.
template <typename Hit>
std::string Saved(const std::vector<std::unique_ptr<Hit>>& hits, const std::vector<int>& order,
                  bool showDisplayPath) {
  std::string bytes;
  EXPECT_TRUE(WriteCsv(hits, order, showDisplayPath, [&](std::string_view row) {
    bytes.append(row);
    return true;
  }));
  return bytes;
}

TEST(CsvOutput, TheConsoleWritesTheRowsTheWindowSaves) {
  std::vector<std::unique_ptr<FOUND_M>> text;
  for (const char* path : {"/work/a.txt", "/work/sub/b \"q\".txt", "/other/c.txt"}) {
    auto hit = MakeTextHit(MakeHitFile(path, path), 9, "say \"x\", then \x93\xfa", 0);
    hit->displayPath = DisplayPathOf(hit->Folder(), kBase);
    text.push_back(std::move(hit));
  }
  std::vector<std::unique_ptr<FOUND_F>> names;
  for (int kind : {2, 4}) {
    auto hit = std::make_unique<FOUND_F>();
    hit->kind = kind;
    hit->name = kind == 2 ? "x.txt" : "dir";
    hit->folder = "/work/sub";
    hit->sizeText = kind == 2 ? "1KB" : "";
    hit->dateText = "2026/12/10 09:00";
    hit->folderCountText = kind == 4 ? "2" : "";
    hit->fileCountText = kind == 4 ? "5" : "";
    hit->displayPath = DisplayPathOf(hit->folder, kBase);
    names.push_back(std::move(hit));
  }
  for (bool relative : {false, true}) {
    SCOPED_TRACE(relative ? "relative folders" : "full folders");
    EXPECT_EQ(Printed(text, true, false, relative), Saved(text, {0, 1, 2, 3}, relative));
    EXPECT_EQ(Printed(names, false, false, relative), Saved(names, {0, 1, 2, 3, 4, 5}, relative));
    EXPECT_EQ(Printed(names, false, true, relative), Saved(names, {0, 1, 2, 3, 4, 5, 6, 7}, relative));
  }
}

}  // namespace
