#include "results/hit_actions_qt.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "app/qt_text_qt.h"
#include "resources/strings.h"
#include "results/result_list_widget.h"

namespace {

class SystemDesktop : public HitDesktop {
 public:
  bool OpenUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
  bool StartDetached(const QString& program, const QStringList& arguments) override {
    return QProcess::startDetached(program, arguments);
  }
  bool IsInstalled(const QString& program) override {
    if (program.contains('/')) {
      const QFileInfo file(program);
      return file.isFile() && file.isExecutable();
    }
    return !QStandardPaths::findExecutable(program).isEmpty();
  }
  void SetClipboardText(const QString& text) override { QGuiApplication::clipboard()->setText(text); }
  QString ChooseSaveFile(QFileDialog& dialog) override {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
  }
};

// The native path as a URL; the native form opens also a name code page 932 cannot spell.
QUrl LocalUrl(const std::string& nativePath) {
  return QUrl::fromLocalFile(QtFromNative(nativePath));
}

}  // namespace

std::unique_ptr<HitDesktop> MakeSystemDesktop() {
  return std::make_unique<SystemDesktop>();
}

HitActions::HitActions(QWidget* owner) : QObject(owner), owner_(owner), desktop_(MakeSystemDesktop()) {}

HitActions::~HitActions() = default;

void HitActions::Run(int command, const std::vector<HitTarget>& hits, const std::string& editorFile,
                     const std::string& editorParam) {
  if (hits.empty()) return;
  switch (command) {
    case kMenuOpenAssociated:
      for (const HitTarget& hit : hits) desktop_->OpenUrl(LocalUrl(hit.path));
      break;
    case kMenuOpenFolder:
      for (const HitTarget& hit : hits) desktop_->OpenUrl(LocalUrl(hit.folder));
      break;
    case kMenuCopyPath:
      desktop_->SetClipboardText(QtFromNative(hits.front().path));
      break;
    case kMenuOpenEditor: {
      const EditorChoice editor = ChooseEditor(editorFile, editorParam, [this](const std::string& program) {
        return desktop_->IsInstalled(QtFromCp932(program));
      });
      // One message for the command, not one per hit.
      for (const HitTarget& hit : hits) {
        if (!OpenInEditor(hit, editor)) break;
      }
      break;
    }
    default:
      break;
  }
}

bool HitActions::OpenInEditor(const HitTarget& hit, const EditorChoice& editor) {
  QString failed;
  if (editor.byAssociation) {
    if (!desktop_->OpenUrl(LocalUrl(hit.path))) failed = QtFromNative(hit.path);
  } else {
    // The template is expanded in the native form of the paths it receives.
    const std::string templ = NativeFromQt(QtFromCp932(editor.param));
    QStringList arguments;
    for (const std::string& argument : SplitParameters(ExpandEditorParam(templ, hit))) {
      arguments << QtFromNative(argument);
    }
    const QString program = QtFromCp932(editor.program);
    if (!desktop_->StartDetached(program, arguments)) failed = program.isEmpty() ? QString("\"\"") : program;
  }
  if (failed.isEmpty()) return true;
  QMessageBox::warning(owner_, "Serquin", QtString(IDS_EDITOR_NOT_STARTED).arg(failed));
  return false;
}

std::unique_ptr<QFileDialog> MakeResultFileDialog(const std::string& csvFile, QWidget* owner) {
  auto dialog = std::make_unique<QFileDialog>(owner);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setDefaultSuffix("txt");
  // "*" rather than "*.*": on this system a file name needs no dot, and "*.*" would hide those without one.
  dialog->setNameFilters({"txt(*.txt)", "全て(*)"});
  if (csvFile.empty()) {
    // A desktop without a documents folder starts in the home folder rather than wherever the program
    // happened to be started.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    dialog->setDirectory(QDir(documents).exists() ? documents : QDir::homePath());
  } else {
    dialog->selectFile(QtFromCp932(csvFile));
  }
  return dialog;
}
