// Drives the real main window offscreen through one search and reports what a user would feel: the time
// from the start to the end notification, the hits shown, the longest stall of the window's event loop
// (the worst lateness of a 10 ms timer), the time to sort the result list by each column with the
// selection following its record, and the peak memory.
//
//   QT_QPA_PLATFORM=offscreen window_search_qt -t -sb -e* -b/tmp/jcorpus/utf8/ -m人 -g
//
// The arguments are the program's own command line; it must start the search (-g).
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/profile_store.h"
#include "app/serquin_dlg.h"
#include "results/list_file_widget.h"
#include "results/list_moji_widget.h"

namespace {

// The worst lateness of a 10 ms timer: how long the window could not answer.
class StallMeter : public QObject {
 public:
  StallMeter() {
    timer_.setInterval(10);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    clock_.start();
    timer_.start();
  }
  double WorstMs() const { return worst_ / 1e6; }
  void Reset() { worst_ = 0; last_ = clock_.nsecsElapsed(); }

 private:
  void Tick() {
    const qint64 now = clock_.nsecsElapsed();
    if (last_ != 0) worst_ = std::max(worst_, now - last_ - 10'000'000);
    last_ = now;
  }
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0;
  qint64 worst_ = 0;
};

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

template <typename List>
void SortEveryColumn(List* list, int columns, StallMeter& meter) {
  list->setFocus();
  list->SelectTopIfNone();
  const auto before = list->SelectedRecords();
  for (int column = 0; column < columns; ++column) {
    QElapsedTimer clock;
    clock.start();
    list->SortByColumn(column);
    QApplication::processEvents();
    const auto after = list->SelectedRecords();
    printf("sort column %d: %.0f ms, selection %s\n", column, clock.nsecsElapsed() / 1e6,
           after == before ? "follows its record" : "LOST");
  }
  (void)meter;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  ProfileStore profile;  // defaults, never written
  long rssBefore = PeakRssKb();
  StallMeter meter;
  CSerquinDlg dialog(profile, args);
  dialog.resize(1000, 700);
  dialog.show();
  QElapsedTimer clock;
  clock.start();
  meter.Reset();
  QObject::connect(&dialog, &CSerquinDlg::SearchEnded, &app, [&] {
    const double endMs = clock.nsecsElapsed() / 1e6;
    const double stall = meter.WorstMs();
    QApplication::processEvents();
    const int texts = dialog.TextList()->Count();
    const int names = dialog.FileList()->Count();
    const long rss = PeakRssKb();
    printf("end after %.0f ms; hits shown: %d text, %d name; worst event-loop stall %.1f ms\n", endMs, texts, names,
           stall);
    // The memory a hit costs is the difference to the same search finding nothing (the engine's own file
    // buffers and the window's set-up are in both), less the lines' own text.
    double lineBytes = 0;
    for (const auto& hit : dialog.TextList()->Rows()) lineBytes += hit->lineText.size();
    printf("peak RSS %ld KB (%ld KB before the window); the lines' text %.0f KB\n", rss, rssBefore,
           lineBytes / 1024);
    if (texts > 0) SortEveryColumn(dialog.TextList(), 4, meter);
    if (names > 0) SortEveryColumn(dialog.FileList(), 8, meter);
    app.quit();
  });
  QTimer::singleShot(600000, &app, [&] {
    printf("no end after 10 minutes\n");
    app.exit(1);
  });
  return app.exec();
}
