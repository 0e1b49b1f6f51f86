#include "results/list_moji_widget.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>

namespace {

constexpr int kLineColumn = 2;  // the logical column of the line numbers

}  // namespace

CListMoji::CListMoji(QWidget* parent)
    : ResultListView(new RecordListModel<FOUND_M>(kTextColumns, SortTextRows, nullptr), parent),
      model_(static_cast<RecordListModel<FOUND_M>*>(model())) {
  model_->setParent(this);
  setObjectName(QStringLiteral("id1008"));
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected, const QItemSelection&) {
            if (selected.isEmpty()) return;
            if (const FOUND_M* hit = model_->At(selected.indexes().front().row())) emit RecordSelected(hit);
          });
}

void CListMoji::Setup(const bool& soutaiF, const bool& singleLocation, const std::string& editorFile,
                      const std::string& editorParam, const IniFile& profile, int screenWidth) {
  model_->SetDisplayPathFlags(&soutaiF, &singleLocation);
  editorFile_ = &editorFile;
  editorParam_ = &editorParam;
  ApplyColumns(LoadTextListColumns(profile, screenWidth, FontPercent()));
  setUp_ = true;
}

void CListMoji::SaveColumns(IniFile& profile) const {
  if (!setUp_) return;  // nothing was loaded, so nothing the profile holds is replaced
  SaveTextListColumns(profile, CurrentColumns(kTextColumnCount));
}

void CListMoji::Clear() {
  model_->Clear();
  ResetSort();
  lineDigitsFit_ = 0;
}

void CListMoji::Append(std::unique_ptr<FOUND_M> hit) {
  FitLineNumbers(hit->lineNumber);
  model_->Append(std::move(hit));
}

// A line number is never cut short: the line column grows (never shrinks) to hold the digits of the
// largest line number found so far; the user may narrow it again.
void CListMoji::FitLineNumbers(int line) {
  int digits = 1;
  for (int n = line; n >= 10; n /= 10) ++digits;
  if (digits <= lineDigitsFit_) return;
  lineDigitsFit_ = digits;
  QHeaderView* header = horizontalHeader();
  if (kLineColumn >= header->count()) return;
  // The cell's text margins on both sides, as the style draws them.
  const int needed = fontMetrics().horizontalAdvance(QString(digits, QChar('0'))) + 12;
  if (header->sectionSize(kLineColumn) < needed) header->resizeSection(kLineColumn, needed);
}

std::vector<const FOUND_M*> CListMoji::SelectedRecords() const {
  std::vector<const FOUND_M*> records;
  if (const FOUND_M* hit = model_->At(SelectedRow())) records.push_back(hit);
  return records;
}

void CListMoji::ImeSpace() {
  emit PageViewer(QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier));
}

void CListMoji::keyPressEvent(QKeyEvent* event) {
  // Space belongs to the viewer while the text list has the focus: it never selects or searches rows.
  if (event->key() == Qt::Key_Space) {
    event->accept();
    emit PageViewer(event->modifiers().testFlag(Qt::ShiftModifier));
    return;
  }
  ResultListView::keyPressEvent(event);
}
