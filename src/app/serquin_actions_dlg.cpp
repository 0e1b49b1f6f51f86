// The main window's handling of the result lists' context-menu commands, and the save of the visible
// result list to a file.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "app/qt_text_qt.h"
#include "app/serquin_dlg.h"
#include "resources/strings.h"
#include "results/display_path.h"
#include "results/hit_actions_qt.h"
#include "results/list_file_widget.h"
#include "results/list_moji_widget.h"
#include "results/result_file.h"

namespace {

template <typename Hit>
std::vector<HitTarget> TargetsOf(const std::vector<const Hit*>& hits) {
  std::vector<HitTarget> targets;
  for (const Hit* hit : hits) targets.push_back(TargetOf(*hit));
  return targets;
}

}  // namespace

void CSerquinDlg::ConnectHitActions() {
  hitActions_ = new HitActions(this);
  connect(textList_, &ResultListView::MenuCommand, this,
          [this](int command) { RunListCommand(command, true); });
  connect(fileList_, &ResultListView::MenuCommand, this,
          [this](int command) { RunListCommand(command, false); });
  // Until the settings page offers its save button, the save lives in the window's context menu, with a
  // key of its own beside Ctrl+S (the settings).
  auto* save = new QAction("検索結果を保存(&F)...", this);
  save->setObjectName("saveResults");
  save->setShortcut(QKeySequence("Ctrl+Shift+S"));
  save->setShortcutContext(Qt::WindowShortcut);
  connect(save, &QAction::triggered, this, [this] { SaveResults(); });
  addAction(save);
}

void CSerquinDlg::RunListCommand(int command, bool textList) {
  const std::vector<HitTarget> hits =
      textList ? TargetsOf(textList_->SelectedRecords()) : TargetsOf(fileList_->SelectedRecords());
  hitActions_->Run(command, hits, settings_.EditorFile, settings_.EditorParam);
}

void CSerquinDlg::SaveResults() {
  // Over the window that asked (the settings dialog when its button did), so that it is not hidden.
  QWidget* owner = QApplication::activeWindow() ? QApplication::activeWindow() : this;
  const std::unique_ptr<QFileDialog> dialog = MakeResultFileDialog(settings_.CsvFile, owner);
  const QString chosen = hitActions_->Desktop().ChooseSaveFile(*dialog);
  if (chosen.isEmpty()) return;
  settings_.CsvFile = Cp932FromQt(chosen);
  const bool showDisplayPath = ShowsDisplayPath(settings_.SoutaiF, singleLocation_);
  int error = 0;
  const bool saved = SaveResultFile(
      NativeFromQt(chosen),
      [&](const CsvOut& out) {
        // Only one of the two lists is visible: the text list during text searches, the file list otherwise.
        if (textList_->isVisibleTo(this)) {
          return WriteCsv(textList_->Rows(), textList_->ColumnDisplayOrder(), showDisplayPath, out);
        }
        if (fileList_->isVisibleTo(this)) {
          return WriteCsv(fileList_->Rows(), fileList_->ColumnDisplayOrder(), showDisplayPath, out);
        }
        return true;
      },
      error);
  if (!saved) QMessageBox::critical(owner, "Serquin", QtString(IDS_SAVE_FAILED));
}
