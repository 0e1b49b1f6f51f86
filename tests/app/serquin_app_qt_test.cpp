// The start of the window program on a machine without a display: one line and status 2, never the
// toolkit's abort. Each start runs in a child process (death tests), so this program makes no
// application object of its own.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/serquin_app_qt.h"

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

}  // namespace
