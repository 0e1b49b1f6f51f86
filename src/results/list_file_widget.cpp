#include "results/list_file_widget.h"

CListFile::CListFile(QWidget* parent)
    : ResultListView(new RecordListModel<FOUND_F>(kFileColumns, SortFileRows, nullptr), parent),
      model_(static_cast<RecordListModel<FOUND_F>*>(model())) {
  model_->setParent(this);
  setObjectName(QStringLiteral("id1009"));
}

void CListFile::Setup(const bool& soutaiF, const bool& singleLocation, const std::string& editorFile,
                      const std::string& editorParam, const IniFile& profile, int screenWidth) {
  model_->SetDisplayPathFlags(&soutaiF, &singleLocation);
  editorFile_ = &editorFile;
  editorParam_ = &editorParam;
  const ListColumns columns = LoadFileListColumns(profile, screenWidth, FontPercent());
  folderDetail_ = columns.folderDetail;
  ApplyColumns(columns);
  setUp_ = true;
}

void CListFile::SaveColumns(IniFile& profile) const {
  if (!setUp_) return;  // nothing was loaded, so nothing the profile holds is replaced
  ListColumns columns = CurrentColumns(kFileColumnCount);
  columns.folderDetail = folderDetail_;
  SaveFileListColumns(profile, columns);
}

void CListFile::Clear() {
  model_->Clear();
  ResetSort();
}

void CListFile::Append(std::unique_ptr<FOUND_F> hit) {
  model_->Append(std::move(hit));
}

std::vector<const FOUND_F*> CListFile::SelectedRecords() const {
  std::vector<const FOUND_F*> records;
  if (const FOUND_F* hit = model_->At(SelectedRow())) records.push_back(hit);
  return records;
}

bool CListFile::EditorCommandEnabled() const {
  for (const FOUND_F* hit : SelectedRecords()) {
    if (hit->kind != 4) return true;
  }
  return false;
}
