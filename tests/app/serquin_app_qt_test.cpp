// The start of the window program: on a machine without a display one line and status 2, never the
// toolkit's abort; a second start hands its command line over and ends, or opens a window of its own.
// Each start runs in a child process (death tests, or this program started again), so this program
// makes no application object of its own outside single tests.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>

#include "app/handover.h"
#include "app/qt_text_qt.h"
#include "app/serquin_app_qt.h"
#include "app/single_instance_qt.h"

namespace {

struct Environment {
  const char* qpa;
  const char* display;
  const char* wayland;
};

void Set(const char* name, const char* value) {
  if (value) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
}

void Apply(const Environment& env) {
  Set("QT_QPA_PLATFORM", env.qpa);
  Set("DISPLAY", env.display);
  Set("WAYLAND_DISPLAY", env.wayland);
}

// Runs the program's start with `env`; a window would fail the test.
[[noreturn]] void StartWith(const Environment& env) {
  Apply(env);
  static int argc = 1;
  static char name[] = "serquin";
  static char* argv[] = {name, nullptr};
  CSerquinApp app(argc, argv);
  std::exit(app.Run([](ProfileStore&, std::vector<std::string>) -> AppWindow {
    std::fputs("a window was made\n", stderr);
    std::_Exit(99);
  }));
}

const char kLine[] = "^serquin: no display[^\n]*serquin-cli[^\n]*xvfb-run[^\n]*\n$";

TEST(SerquinAppDeathTest, WithoutDisplaySaysSoAndEndsWithStatus2) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(StartWith({nullptr, nullptr, nullptr}), ::testing::ExitedWithCode(2), kLine);
  EXPECT_EXIT(StartWith({"", "", ""}), ::testing::ExitedWithCode(2), kLine);
}

TEST(SerquinAppDeathTest, DisplayThatCannotBeOpenedSaysSoInsteadOfAborting) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // Nothing listens on display 97 (no socket file); the X platform plugin fails to connect.
  EXPECT_EXIT(StartWith({nullptr, ":97", nullptr}), ::testing::ExitedWithCode(2), kLine);
}

TEST(SerquinApp, DisplayGivenByAnyOfTheThreeVariables) {
  struct Case {
    const char* name;
    Environment env;
    bool given;
  };
  const Case cases[] = {
      {"none set", {nullptr, nullptr, nullptr}, false},
      {"all empty", {"", "", ""}, false},
      {"platform named", {"offscreen", nullptr, nullptr}, true},
      {"X display", {nullptr, ":0", nullptr}, true},
      {"Wayland display", {nullptr, nullptr, "wayland-0"}, true},
  };
  for (const Case& c : cases) {
    Apply(c.env);
    EXPECT_EQ(CSerquinApp::DisplayGiven(), c.given) << c.name;
  }
}

// The status a start gets when it goes on to make its window.
constexpr int kWindowMade = 99;

// A second start, as this program is started again by the test below: its arguments come in
// SERQUIN_TEST_START_ARGS, one per line. It ends with Run's status, or kWindowMade.
TEST(SerquinAppChild, SecondStart) {
  const char* argsText = std::getenv("SERQUIN_TEST_START_ARGS");
  if (!argsText) GTEST_SKIP() << "only run as the child of SecondStartHandsOverOrOpensItsOwnWindow";
  static std::vector<std::string> args{"serquin"};
  for (const char* at = argsText; *at;) {
    const char* end = std::strchr(at, '\n');
    args.emplace_back(at, end ? end - at : std::strlen(at));
    at = end ? end + 1 : at + std::strlen(at);
  }
  static std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  static int argc = static_cast<int>(args.size());
  CSerquinApp app(argc, argv.data());
  std::_Exit(app.Run([](ProfileStore&, std::vector<std::string>) -> AppWindow { std::_Exit(kWindowMade); }));
}

class RunningWindow : public HandOverReceiver {
 public:
  bool mutexF = true;
  std::vector<HandOver> applied;
  bool WantsSingleInstance() const override { return mutexF; }
  bool SettingsOpen() const override { return false; }
  bool Searching() const override { return false; }
  void RaiseWindow() override {}
  void ApplyHandOver(const HandOver& handOver) override { applied.push_back(handOver); }
};

TEST(SerquinApp, SecondStartHandsOverOrOpensItsOwnWindow) {
  int argc = 1;
  char name[] = "serquin_app_test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  QTemporaryDir runtimeDir;  // stands in for $XDG_RUNTIME_DIR, so the socket is this test's own
  ASSERT_TRUE(runtimeDir.isValid());
  const std::string runtime = NativeFromQt(runtimeDir.path());
  for (const bool mutexF : {true, false}) {
    SCOPED_TRACE(mutexF ? "single instance wanted" : "not wanted");
    RunningWindow window;
    window.mutexF = mutexF;
    SingleInstanceServer server(window);
    ASSERT_TRUE(server.Listen(QtFromNative(HandOverSocketName(getuid(), runtime))));

    QProcess start;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtimeDir.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("SERQUIN_TEST_START_ARGS", "-m検索\n-t\n-g");
    start.setProcessEnvironment(env);
    start.setProcessChannelMode(QProcess::ForwardedChannels);
    start.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=SerquinAppChild.SecondStart"});
    ASSERT_TRUE(start.waitForStarted());
    // The running window answers from this event loop; the child's own bounded waits end the loop.
    while (!start.waitForFinished(10)) QCoreApplication::processEvents();
    EXPECT_EQ(start.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(start.exitCode(), mutexF ? 0 : kWindowMade);
    ASSERT_EQ(window.applied.size(), mutexF ? 1u : 0u);
    if (mutexF) {
      EXPECT_EQ(QtFromCp932(window.applied[0].text), QString::fromUtf8("-m検索 -t -g"));
    }
  }
}

}  // namespace
