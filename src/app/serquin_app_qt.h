// The application shell: whether this start may open a window at all, the hand-over to a running
// instance, the toolkit's set-up (Japanese standard dialogs, icon), the profile, and the main window's run.
#pragma once

#include <QApplication>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/handover_receiver.h"
#include "app/profile_store.h"

// The main window as the shell runs it: the widget, and its side of the single-instance hand-over.
struct AppWindow {
  std::unique_ptr<QWidget> widget;
  HandOverReceiver* receiver = nullptr;
};

// Builds the main window over the opened profile and the start's native arguments (program name
// excluded). The window writes the profile back when it closes.
using AppWindowFactory = std::function<AppWindow(ProfileStore& profile, std::vector<std::string> nativeArgs)>;

// The factory for a dialog class constructed as Dialog(profile, nativeArgs).
template <class Dialog>
AppWindow MakeAppWindow(ProfileStore& profile, std::vector<std::string> nativeArgs) {
  auto dialog = std::make_unique<Dialog>(profile, std::move(nativeArgs));
  HandOverReceiver* receiver = dialog.get();
  return AppWindow{std::move(dialog), receiver};
}

class CSerquinApp {
 public:
  // The process's arguments; `argc` and `argv` must outlive the object (the toolkit keeps them).
  CSerquinApp(int& argc, char** argv);

  // Runs the program and gives its exit status: 2 without a display, 0 when a running instance took the
  // command line over, else the status of the window's run.
  int Run(const AppWindowFactory& makeWindow);

  // Whether a window can be tried at all: a platform is named (QT_QPA_PLATFORM), or an X or Wayland
  // display is given.
  static bool DisplayGiven();
  // The one line said on stderr when no window can be opened.
  static const char kNoDisplayLine[];

  // Creates the application object. When the toolkit cannot open its display after all (its platform
  // plugin fails), says kNoDisplayLine and ends the process with status 2 instead of aborting.
  static std::unique_ptr<QApplication> CreateApplication(int& argc, char** argv);
  // Loads the toolkit's Japanese translations (standard dialogs and buttons) into `app`: the window is
  // Japanese whatever the locale is. False when they are not installed.
  static bool LoadJapaneseTranslations(QApplication& app);
  // Opens the program's profile. When it exists but cannot be read, shows why in a warning box and gives
  // a profile with every value at its default that is never written, so the unreadable file stays as it is.
  static void OpenProfileOrWarn(ProfileStore& profile);

 private:
  int& argc_;
  char** argv_;
};
