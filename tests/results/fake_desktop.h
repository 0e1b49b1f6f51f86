// A desktop for tests of the hit actions: records what would have been opened, started, copied or asked,
// and answers as the test says. Nothing reaches the real desktop.
#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "results/hit_actions_qt.h"

class FakeDesktop : public HitDesktop {
 public:
  bool OpenUrl(const QUrl& url) override {
    opened.push_back(url);
    return openSucceeds;
  }
  bool StartDetached(const QString& program, const QStringList& arguments) override {
    started.emplace_back(program, arguments);
    return startSucceeds;
  }
  bool IsInstalled(const QString& program) override { return installed.count(program) > 0; }
  void SetClipboardText(const QString& text) override { clipboard.push_back(text); }
  QString ChooseSaveFile(QFileDialog& dialog) override {
    ++saveDialogs;
    if (inspectDialog) inspectDialog(dialog);
    return chosenFile;
  }

  // Answers.
  bool openSucceeds = true;
  bool startSucceeds = true;
  std::set<QString> installed;
  QString chosenFile;  // empty: the user cancels
  std::function<void(QFileDialog&)> inspectDialog;

  // What happened.
  std::vector<QUrl> opened;
  std::vector<std::pair<QString, QStringList>> started;
  std::vector<QString> clipboard;
  int saveDialogs = 0;
};

// Answers every message box that opens while it lives, and keeps their texts and icons.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts.push_back(box->text());
        icons.push_back(box->icon());
        box->accept();
      }
    });
    timer_.start();
  }

  std::vector<QString> texts;
  std::vector<QMessageBox::Icon> icons;

 private:
  QTimer timer_;
};
