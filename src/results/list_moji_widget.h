// CListMoji: the list of text hits (control 1008), one row per matching line, four columns. Its column
// widths and order live in "SearchListMoji Section". Selecting a row offers the hit to the viewer, and
// Space pages the viewer instead of acting on the list.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "results/result_list_widget.h"
#include "results/result_model_qt.h"
#include "search/found.h"

class CListMoji : public ResultListView {
  Q_OBJECT

 public:
  explicit CListMoji(QWidget* parent = nullptr);

  // As CListFile::Setup, over the four text columns.
  void Setup(const bool& soutaiF, const bool& singleLocation, const std::string& editorFile,
             const std::string& editorParam, const IniFile& profile, int screenWidth);
  void SaveColumns(IniFile& profile) const;   // widths by logical column and the display order
  void Clear();                               // every search start: rows and records gone, not sorted
  void Append(std::unique_ptr<FOUND_M> hit);  // takes the record; shown with the next batch
  std::vector<const FOUND_M*> SelectedRecords() const;
  // Every record held, in the order shown (rows not yet announced at the end).
  const std::vector<std::unique_ptr<FOUND_M>>& Rows() const { return model_->All(); }

 signals:
  // A row became selected; the dialog decides whether the viewer shows its record.
  void RecordSelected(const FOUND_M* hit);
  // Space (up false) or Shift+Space (up true) was pressed in the list; the list itself does nothing else.
  void PageViewer(bool up);

 protected:
  void SortRows(int column, bool descending) override { model_->Sort(column, descending); }
  int DefaultMenuCommand() const override { return kMenuOpenEditor; }
  bool EditorCommandEnabled() const override { return true; }
  int DoubleClickCommand() const override { return kMenuOpenEditor; }
  void ImeSpace() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FitLineNumbers(int line);

  RecordListModel<FOUND_M>* model_;
  bool setUp_ = false;
  int lineDigitsFit_ = 0;  // the line column fits numbers of this many digits (0: not looked at yet)
  const std::string* editorFile_ = nullptr;  // for the editor command, carried out by the dialog
  const std::string* editorParam_ = nullptr;
};
