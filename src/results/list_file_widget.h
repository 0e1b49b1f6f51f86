// CListFile: the list of file and folder hits (control 1009), eight columns, the last two only with
// folder detail ("FolderExF"). Its column widths and order live in "SearchListFile Section".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "results/result_list_widget.h"
#include "results/result_model_qt.h"
#include "search/found.h"

class CListFile : public ResultListView {
  Q_OBJECT

 public:
  explicit CListFile(QWidget* parent = nullptr);

  // Keeps the references (read whenever a cell is painted, so a change of "SoutaiF" shows after a
  // repaint), then loads the columns from the profile with `screenWidth` as the widest a column may be,
  // inserts the shown ones and puts them in their stored order. Called once.
  void Setup(const bool& soutaiF, const bool& singleLocation, const std::string& editorFile,
             const std::string& editorParam, const IniFile& profile, int screenWidth);
  // Writes the widths by logical column (-1 for one not shown) and the display order.
  void SaveColumns(IniFile& profile) const;
  // Every search start: rows and records gone, not sorted.
  void Clear();
  // Takes the record (its display path already filled); its row is shown with the next batch.
  void Append(std::unique_ptr<FOUND_F> hit);
  bool FolderDetail() const { return folderDetail_; }  // "FolderExF", which the conditions copy
  std::vector<const FOUND_F*> SelectedRecords() const;
  // Every record held, in the order shown (rows not yet announced at the end).
  const std::vector<std::unique_ptr<FOUND_F>>& Rows() const { return model_->All(); }

 protected:
  void SortRows(int column, bool descending) override { model_->Sort(column, descending); }
  int DefaultMenuCommand() const override { return kMenuOpenAssociated; }
  // A folder cannot be opened in an editor.
  bool EditorCommandEnabled() const override;
  int DoubleClickCommand() const override { return kMenuOpenAssociated; }

 private:
  RecordListModel<FOUND_F>* model_;
  bool setUp_ = false;
  bool folderDetail_ = false;
  const std::string* editorFile_ = nullptr;  // for the editor command, carried out by the dialog
  const std::string* editorParam_ = nullptr;
};
