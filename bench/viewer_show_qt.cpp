// Times the viewer offscreen as a user meets it: from the selection of a text hit to the pane showing the
// text (loaded, cut, converted, coloured, scrolled and painted), for the whole file, the lines around the
// hit and the "<HR>" range, on a hit near the end of each file named; then holds the arrow key down a list
// of text hits in the real window and counts the Shows and the worst stall of its event loop.
//
//   QT_QPA_PLATFORM=offscreen viewer_show_qt PATTERN CODE FILE [CODE FILE ...]
//   QT_QPA_PLATFORM=offscreen viewer_show_qt --arrow LOCATION PATTERN KEYPRESSES [ROWS_FROM_END]
//
// CODE is the file code the hit was read in (0 Shift-JIS, 1 EUC-JP, 2 JIS, 4 UTF-8, 5/6 UTF-16 LE/BE).
#include <time.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QInputDevice>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "app/profile_store.h"
#include "app/serquin_dlg.h"
#include "platform/cp932.h"
#include "results/list_moji_widget.h"
#include "results/viewer_widget.h"
#include "search/found.h"

namespace {

// Lines of the file as the viewer counts them (in 16-bit units for UTF-16).
int CountLines(const std::string& path, int code) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int lines = 1;
  if (code != 5 && code != 6) {
    for (char c : bytes) lines += c == '\n';
    return lines;
  }
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char low = code == 5 ? bytes[i] : bytes[i + 1];
    const char high = code == 5 ? bytes[i + 1] : bytes[i];
    lines += low == '\n' && high == '\0';
  }
  return lines;
}

double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// One timed Show: from Show to the painted pane, and the window's worst stall meanwhile (the lateness
// of a 10 ms timer), in milliseconds; `cpu` the processor time it took (the wall time grows with the
// machine's load, the processor time hardly).
struct ShowTime {
  double first = 0, ms = 0, cpu = 0, stall = 0;  // `first`: until the pane shows text (a first part or all)
};

ShowTime TimeShow(CViewer& viewer, const FOUND_M& hit, const std::string& pattern) {
  QElapsedTimer clock;
  clock.start();
  const double cpuStart = CpuMs();
  qint64 last = 0, worst = 0;
  QTimer meter;
  meter.setTimerType(Qt::PreciseTimer);
  QObject::connect(&meter, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    worst = std::max(worst, now - last - 10'000'000);
    last = now;
  });
  meter.start(10);
  QEventLoop untilShown;
  QObject::connect(&viewer, &CViewer::Shown, &untilShown, &QEventLoop::quit);
  ShowTime t;
  QMetaObject::Connection part = QObject::connect(&viewer, &CViewer::PartShown, [&] {
    viewer.viewport()->repaint();
    t.first = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  });
  viewer.Show(&hit, pattern);
  if (viewer.Pending()) untilShown.exec();
  QObject::disconnect(part);
  viewer.viewport()->repaint();
  QCoreApplication::processEvents();
  t.cpu = CpuMs() - cpuStart;
  t.ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  if (t.first == 0) t.first = t.ms;
  t.stall =
      std::max<double>(static_cast<double>(std::max(worst, clock.nsecsElapsed() - last - 10'000'000)), 0) /
      1e6;
  return t;
}

int ShowFiles(int argc, char** argv) {
  const std::string pattern = platform::Cp932FromUtf8(argv[1]);
  CViewer viewer;
  viewer.resize(1000, 300);
  viewer.show();
  QCoreApplication::processEvents();
  // range0: the whole file at a hit near its end ("first": until the lines around the hit show, "all":
  // until the whole is in the pane); "again": another hit of it, further up; "stall": the window's worst
  // stall during the range-0 Show; range2 the same first and all.
  std::printf("%-44s %4s %7s %9s %9s %9s %8s %8s %9s %9s %9s %7s\n", "file", "code", "line", "r0 first",
              "r0 all", "(cpu ms)", "stall ms", "again ms", "range1 ms", "r2 first", "r2 all", "colored");
  for (int k = 2; k + 1 < argc; k += 2) {
    const int code = std::atoi(argv[k]);
    const std::string path = argv[k + 1];
    const int line = std::max(1, CountLines(path, code) - 3);
    auto file = MakeHitFile(platform::Cp932FromUtf8(path), path);
    auto hit = MakeTextHit(file, line, "", code);
    auto earlier = MakeTextHit(file, line / 2, "", code);
    viewer.Settings().ViewerRange = 0;
    const ShowTime whole = TimeShow(viewer, *hit, pattern);
    const size_t coloured = viewer.Highlights().size();
    const ShowTime again = TimeShow(viewer, *earlier, pattern);
    viewer.Settings().ViewerRange = 1;
    const ShowTime lines = TimeShow(viewer, *hit, pattern);
    viewer.Settings().ViewerRange = 2;
    const ShowTime hr = TimeShow(viewer, *hit, pattern);
    std::printf("%-44s %4d %7d %9.1f %9.1f %9.1f %8.1f %8.1f %9.1f %9.1f %9.1f %7zu\n", path.c_str(), code,
                line, whole.first, whole.ms, whole.cpu, whole.stall, again.ms, lines.ms, hr.first, hr.ms,
                coloured);
  }
  return 0;
}

// Holds the down arrow in the text list of the real window (a key every 33 ms, as auto-repeat sends them)
// and reports how many Shows ran and the worst lateness of a 10 ms timer meanwhile.
int ArrowDown(char** argv, int fromEnd) {
  ProfileStore profile;  // no profile: defaults, nothing written
  const std::string location = std::string("-b") + argv[1];
  const std::string pattern = std::string("-m") + argv[2];
  const int presses = std::atoi(argv[3]);
  CSerquinDlg dialog(profile, {"-t", "-sb", "-e*", location, pattern, "-g"});
  dialog.resize(1000, 700);
  dialog.show();
  QEventLoop untilEnd;
  QObject::connect(&dialog, &CSerquinDlg::SearchEnded, &untilEnd, &QEventLoop::quit);
  untilEnd.exec();
  CListMoji* list = dialog.TextList();
  std::printf("hits %d\n", list->Count());
  list->setFocus();
  // The keys start this many rows above the last (0: from the first row).
  list->selectRow(fromEnd > 0 ? std::max(0, list->Count() - fromEnd) : 0);
  QCoreApplication::processEvents();
  // The Shows that reached the pane.
  long long shows = 0;
  QObject::connect(dialog.Viewer(), &CViewer::Shown, [&] { ++shows; });
  QElapsedTimer clock;
  clock.start();
  qint64 last = 0, worst = 0;
  QTimer meter;
  meter.setTimerType(Qt::PreciseTimer);
  QObject::connect(&meter, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    if (last != 0) worst = std::max(worst, now - last - 10'000'000);
    last = now;
  });
  meter.start(10);
  // The keys come as auto-repeat sends them, every 33 ms whatever the window is doing: posted from a
  // thread of their own, so they queue up while the window is busy.
  std::atomic<int> sent{0};
  const QInputDevice* keyboard = QInputDevice::primaryKeyboard();  // made on the window's thread
  std::thread repeat([&] {
    for (int k = 0; k < presses; ++k) {
      QCoreApplication::postEvent(list, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, 0, 0, 0,
                                                      QString(), true, 1, keyboard));
      ++sent;
      std::this_thread::sleep_for(std::chrono::milliseconds(33));
    }
  });
  while (sent < presses) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  repeat.join();
  for (int k = 0; k < 10; ++k) QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  std::printf("presses %d, row %d, shows %lld, worst stall %.1f ms, %.1f s\n", presses,
              list->currentIndex().row(), shows, static_cast<double>(worst) / 1e6,
              static_cast<double>(clock.elapsed()) / 1e3);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if ((argc == 5 || argc == 6) && std::string(argv[1]) == "--arrow") {
    return ArrowDown(argv + 1, argc == 6 ? std::atoi(argv[5]) : 0);
  }
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: viewer_show_qt PATTERN CODE FILE [CODE FILE ...]\n"
                 "       viewer_show_qt --arrow LOCATION PATTERN KEYPRESSES [ROWS_FROM_END]\n");
    return 2;
  }
  return ShowFiles(argc, argv);
}
