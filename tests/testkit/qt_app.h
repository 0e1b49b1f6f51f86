// One application object for a window test program, made before the first test and kept to the end.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>

class QtAppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "serquin_test";
    static char* argv[] = {name, nullptr};
    // The tests run without a display unless one is chosen; the test registration's environment list
    // does not reach every test runner, so the program sees to it itself.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!QApplication::instance()) app_ = new QApplication(argc, argv);
  }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
  }

 private:
  QApplication* app_ = nullptr;
};

// Registers the environment once per test program (include from one test file of the program).
inline ::testing::Environment* const kQtAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

// LeakSanitizer: fontconfig keeps its font cache for the life of the process and the toolkit never
// frees it, so it shows up as a leak at exit in every window test. Only that library is excused; the
// sanitizer asks the program for these rules (a test registration's environment does not reach it).
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
