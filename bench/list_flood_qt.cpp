// A flood of text hits into a shown text list, offscreen: 1,000,000 records appended as fast as the
// window thread can take them while a 10 ms timer measures how late the event loop lets it fire, then a
// sort by each column (twice, both directions). Prints the figures and the peak resident set. Run by hand:
//   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DSERQUIN_BENCH=ON
//   cmake --build build/release -j2 --target list_flood_qt
//   QT_QPA_PLATFORM=offscreen build/release/bin/list_flood_qt [records]
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "results/list_moji_widget.h"
#include "results/list_sort.h"
#include "search/found.h"

namespace {

// Records appended per turn of the event loop: about what the window takes between two other events.
constexpr int kPerTurn = 500;

long PeakRssKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

long CurrentRssKilobytes() {
  FILE* status = fopen("/proc/self/statm", "r");
  if (!status) return 0;
  long pages = 0, resident = 0;
  if (fscanf(status, "%ld %ld", &pages, &resident) != 2) resident = 0;
  fclose(status);
  return resident * 4;
}

// Hits of many files, each with lines of Japanese text and ASCII of varied lengths.
class HitMaker {
 public:
  HitMaker() {
    const char* words[] = {"検索", "文字列", "ファイル", "フォルダ", "設定",
                           "表示", "search", "list",     "行",       "内容"};
    for (const char* word : words) words_.push_back(platform::Cp932FromUtf8(word));
    for (int i = 0; i < 2000; ++i) {
      const std::string folder =
          "/home/user/docs/project" + std::to_string(i % 37) + "/sub" + std::to_string(i % 11);
      const std::string path =
          folder + "/" + words_[static_cast<size_t>(i) % words_.size()] + std::to_string(i) + ".txt";
      files_.push_back(MakeHitFile(path, path));
    }
  }
  std::unique_ptr<FOUND_M> Next() {
    std::string line;
    const int count = 3 + static_cast<int>(random_() % 12);
    for (int i = 0; i < count; ++i) line += words_[random_() % words_.size()] + " ";
    const auto& file = files_[random_() % files_.size()];
    return MakeTextHit(file, 1 + static_cast<int>(random_() % 5000), std::move(line), 0);
  }

 private:
  std::mt19937 random_{12345};
  std::vector<std::string> words_;
  std::vector<std::shared_ptr<const HitFile>> files_;
};

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::max(1, atoi(argv[1])) : 1000000;
  QApplication app(argc, argv);
  bool soutaiF = false, singleLocation = true;
  std::string editorFile, editorParam;
  CListMoji list;
  list.Setup(soutaiF, singleLocation, editorFile, editorParam, IniFile(), 1920);
  list.resize(900, 500);
  list.show();
  QCoreApplication::processEvents();

  HitMaker maker;
  int appended = 0;
  // How long the view takes to take in one batch of rows.
  QElapsedTimer announcing;
  qint64 worstAnnouncement = 0;
  int announcements = 0;
  QObject::connect(list.model(), &QAbstractItemModel::rowsAboutToBeInserted, [&] { announcing.start(); });
  QObject::connect(list.model(), &QAbstractItemModel::rowsInserted, [&] {
    worstAnnouncement = std::max(worstAnnouncement, announcing.elapsed());
    ++announcements;
  });
  const long rssBefore = CurrentRssKilobytes();
  QElapsedTimer sinceTick;
  qint64 worstLate = 0;
  long ticks = 0;
  QTimer probe;
  probe.setTimerType(Qt::PreciseTimer);
  probe.setInterval(10);
  std::vector<std::pair<int, qint64>>
      lateTicks;  // (records appended then, lateness) of ticks over 20 ms late
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const qint64 late = sinceTick.elapsed() - 10;
    if (late > 20) lateTicks.emplace_back(appended, late);
    worstLate = std::max(worstLate, late);
    sinceTick.restart();
    ++ticks;
  });

  QElapsedTimer flood;
  QTimer feeder;
  feeder.setInterval(0);
  QObject::connect(&feeder, &QTimer::timeout, [&] {
    for (int i = 0; i < kPerTurn && appended < records; ++i, ++appended) list.Append(maker.Next());
    if (appended == records) {
      feeder.stop();
      // Let the last batch be announced and painted before the clock stops.
      QTimer::singleShot(2 * kAnnounceInterval, &app, [&] { app.quit(); });
    }
  });
  flood.start();
  sinceTick.start();
  probe.start();
  feeder.start();
  app.exec();
  probe.stop();
  const long rssAfter = CurrentRssKilobytes();
  printf(
      "appended %d records in %lld ms; rows shown %d; worst lateness of a 10 ms timer %lld ms over %ld "
      "ticks\n",
      records, static_cast<long long>(flood.elapsed()), list.model()->rowCount(),
      static_cast<long long>(worstLate), ticks);
  printf("%d announcements, the slowest %lld ms; ticks over 20 ms late:", announcements,
         static_cast<long long>(worstAnnouncement));
  for (const auto& [at, late] : lateTicks) printf(" %lld ms at %d,", static_cast<long long>(late), at);
  printf("\n");
  // The line texts' own heap blocks (a short text lives inside the record), to tell them from the rest.
  double lineHeap = 0;
  for (const auto& hit : list.Rows()) {
    if (hit->lineText.capacity() > 15)
      lineHeap += static_cast<double>((hit->lineText.capacity() + 1 + 8 + 15) / 16 * 16);
  }
  const double perHit = 1024.0 * static_cast<double>(rssAfter - rssBefore) / records;
  printf(
      "memory grew by %ld KB: %.0f bytes per hit, of which %.0f the line text's heap block (sizeof FOUND_M "
      "%zu)\n",
      rssAfter - rssBefore, perHit, lineHeap / records, sizeof(FOUND_M));

  list.selectRow(records / 2);
  const char* names[] = {"file", "folder", "line", "content"};
  for (int column = 0; column < kTextColumnCount; ++column) {
    for (int click = 0; click < 2; ++click) {
      QElapsedTimer sort;
      sort.start();
      list.SortByColumn(column);
      QCoreApplication::processEvents();  // the repaint at the selected record's new place
      printf("sort by %-7s %-10s %lld ms\n", names[column], click == 0 ? "ascending" : "descending",
             static_cast<long long>(sort.elapsed()));
    }
  }
  // The same sort of the records alone, without the list around them.
  {
    HitMaker again;
    std::vector<std::unique_ptr<FOUND_M>> rows;
    for (int i = 0; i < records; ++i) rows.push_back(again.Next());
    QElapsedTimer sort;
    sort.start();
    SortTextRows(rows, 3, false);
    printf("SortTextRows by content alone: %lld ms\n", static_cast<long long>(sort.elapsed()));
  }
  printf("peak resident set %ld KB\n", PeakRssKilobytes());
  return 0;
}
