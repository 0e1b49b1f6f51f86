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
