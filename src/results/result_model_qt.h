// The table model of a result list: the view's rows over records the list owns. A cell's text is taken
// from the record when the view asks for it and converted then, so a row costs the view nothing beyond
// its record. Records are taken as they arrive but announced to the view in batches, at most one
// insertion every kAnnounceInterval, so a flood of hits never stalls the window.
#pragma once

#include <QAbstractTableModel>
#include <QTimer>
#include <chrono>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "results/list_columns.h"

// The longest a taken record waits before the view hears of its row.
inline constexpr std::chrono::milliseconds kAnnounceInterval{50};

// Rows, columns, cell texts and batching common to both lists; the records live in RecordListModel.
class ResultModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // `columns`: the title, width and alignment of every logical column the list can have.
  ResultModel(std::span<const ColumnInfo> columns, QObject* parent);

  // The two settings the folder column depends on, read whenever a cell is asked for; until this is
  // called the folder column shows the records' folders.
  void SetDisplayPathFlags(const bool* soutaiF, const bool* singleLocation);
  // The number of logical columns shown (the first `count` of them); rows are dropped.
  void SetColumnCount(int count);

  // Announces every record taken since the last announcement as new rows at the end.
  void FlushAppends();
  // Records held, announced or not.
  virtual int HeldCount() const = 0;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 protected:
  // The code page 932 text of a cell of an announced row.
  virtual const std::string& Cell(int row, int column, bool showDisplayPath) const = 0;
  // Called after a record was taken: starts the wait for the next announcement.
  void NoteTaken();
  // Drops every row; `dropRecords` deletes the records while the view knows of no row.
  template <class Drop>
  void DropAll(Drop dropRecords) {
    announceTimer_.stop();
    beginResetModel();
    dropRecords();
    announced_ = 0;
    endResetModel();
  }
  // Reorders the rows by `sortRecords` with the view told of a layout change; persistent indexes (the
  // view's selection and current row) follow their records. `recordAt(row)` identifies a row's record.
  template <class Sort, class RecordAt>
  void Reorder(Sort sortRecords, RecordAt recordAt);

 private:
  std::span<const ColumnInfo> columns_;
  int columnCount_ = 0;
  int announced_ = 0;  // rows the view knows of; records beyond are held but not yet shown
  QTimer announceTimer_;
  const bool* soutaiF_ = nullptr;
  const bool* singleLocation_ = nullptr;
};

template <class Sort, class RecordAt>
void ResultModel::Reorder(Sort sortRecords, RecordAt recordAt) {
  FlushAppends();
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  std::vector<const void*> records;
  records.reserve(before.size());
  for (const QModelIndex& index : before) records.push_back(recordAt(index.row()));
  sortRecords();
  // Only the rows of persistent indexes need finding again, so one pass over the rows finds them all.
  std::unordered_map<const void*, int> newRow;
  if (!before.isEmpty()) {
    for (const void* record : records) newRow.emplace(record, -1);
    for (int row = 0; row < announced_; ++row) {
      auto it = newRow.find(recordAt(row));
      if (it != newRow.end()) it->second = row;
    }
  }
  QModelIndexList after;
  after.reserve(before.size());
  for (qsizetype i = 0; i < before.size(); ++i) {
    after.push_back(index(newRow[records[static_cast<size_t>(i)]], before[i].column()));
  }
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// A result model over owned records of one kind (FOUND_F or FOUND_M), in the order shown.
template <class Record>
class RecordListModel final : public ResultModel {
 public:
  using Rows = std::vector<std::unique_ptr<Record>>;
  using SortRows = void (*)(Rows&, int, bool);

  RecordListModel(std::span<const ColumnInfo> columns, SortRows sortRows, QObject* parent)
      : ResultModel(columns, parent), sortRows_(sortRows) {}

  // Takes the record; its row is announced with the next batch.
  void Append(std::unique_ptr<Record> record) {
    if (!record) return;
    rows_.push_back(std::move(record));
    NoteTaken();
  }
  // Deletes every record, last to first.
  void Clear() {
    DropAll([this] {
      while (!rows_.empty()) rows_.pop_back();
      Rows().swap(rows_);
    });
  }
  // Sorts every record (announcing any still waiting first) by the logical column.
  void Sort(int column, bool descending) {
    Reorder([&] { sortRows_(rows_, column, descending); },
            [this](int row) -> const void* { return rows_[static_cast<size_t>(row)].get(); });
  }
  // The record of an announced or waiting row; null outside.
  const Record* At(int row) const {
    return row >= 0 && row < HeldCount() ? rows_[static_cast<size_t>(row)].get() : nullptr;
  }
  const Rows& All() const { return rows_; }
  int HeldCount() const override { return static_cast<int>(rows_.size()); }

 private:
  const std::string& Cell(int row, int column, bool showDisplayPath) const override {
    return CellText(*rows_[static_cast<size_t>(row)], column, showDisplayPath);
  }

  Rows rows_;
  SortRows sortRows_;
};
