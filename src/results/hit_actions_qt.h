// The actions of the result lists' context menu on the selected hits (open by association, open in the
// editor at the hit's line, open the folder, copy the full path) and the save dialog of the result file.
// Everything that reaches the desktop goes through HitDesktop, which tests replace.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "results/editor_command.h"

class QFileDialog;
class QUrl;
class QWidget;

// The desktop services the actions use.
class HitDesktop {
 public:
  virtual ~HitDesktop() = default;
  // Opens a file or folder with the program the desktop associates with it; false when that failed.
  virtual bool OpenUrl(const QUrl& url) = 0;
  // Starts a program that outlives this one; false when it could not be started.
  virtual bool StartDetached(const QString& program, const QStringList& arguments) = 0;
  // Whether a program name (looked up on PATH) or path names an executable file.
  virtual bool IsInstalled(const QString& program) = 0;
  // Replaces the clipboard's content with plain text.
  virtual void SetClipboardText(const QString& text) = 0;
  // Runs the configured save dialog; the chosen full path, or empty when the user cancelled.
  virtual QString ChooseSaveFile(QFileDialog& dialog) = 0;
};

// The real desktop: QDesktopServices, QProcess, QStandardPaths, QClipboard and the dialog itself.
std::unique_ptr<HitDesktop> MakeSystemDesktop();

// Carries out the list commands 32771..32774 (see results/result_list_widget.h) on hits.
class HitActions : public QObject {
 public:
  // `owner`: the window a failure message belongs to, which also owns this object.
  explicit HitActions(QWidget* owner);
  ~HitActions() override;

  // Applies `command` to each hit in order; the copy takes the first hit only, and nothing happens
  // without hits. `editorFile` and `editorParam` are the settings as stored (code page 932).
  void Run(int command, const std::vector<HitTarget>& hits, const std::string& editorFile,
           const std::string& editorParam);

  HitDesktop& Desktop() { return *desktop_; }
  void SetDesktop(std::unique_ptr<HitDesktop> desktop) { desktop_ = std::move(desktop); }

 private:
  // False after the failure has been shown.
  bool OpenInEditor(const HitTarget& hit, const EditorChoice& editor);

  QWidget* owner_;
  std::unique_ptr<HitDesktop> desktop_;
};

// The save dialog of the result file: a file to save, "txt" added to a name without an extension, the
// overwrite question, the filters "txt(*.txt)" and "全て(*)". It starts at `csvFile` (the last result file,
// code page 932), or when that is empty in the user's documents folder (the home folder when there is none).
std::unique_ptr<QFileDialog> MakeResultFileDialog(const std::string& csvFile, QWidget* owner);
