#include "results/result_model_qt.h"

#include <algorithm>

#include "app/qt_text_qt.h"
#include "results/display_path.h"

namespace {

// Numbers are right-aligned, texts left-aligned; as an int, the form every view reads.
QVariant AlignmentOf(const ColumnInfo& info) {
  return static_cast<int>((info.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

}  // namespace

ResultModel::ResultModel(std::span<const ColumnInfo> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns) {
  announceTimer_.setSingleShot(true);
  announceTimer_.setInterval(kAnnounceInterval);
  connect(&announceTimer_, &QTimer::timeout, this, &ResultModel::FlushAppends);
}

void ResultModel::SetDisplayPathFlags(const bool* soutaiF, const bool* singleLocation) {
  soutaiF_ = soutaiF;
  singleLocation_ = singleLocation;
}

void ResultModel::SetColumnCount(int count) {
  beginResetModel();
  columnCount_ = std::clamp(count, 0, static_cast<int>(columns_.size()));
  endResetModel();
}

void ResultModel::FlushAppends() {
  announceTimer_.stop();
  const int held = HeldCount();
  if (held <= announced_) return;
  beginInsertRows(QModelIndex(), announced_, held - 1);
  announced_ = held;
  endInsertRows();
}

void ResultModel::NoteTaken() {
  if (!announceTimer_.isActive()) announceTimer_.start();
}

int ResultModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : announced_;
}

int ResultModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : columnCount_;
}

QVariant ResultModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  const ColumnInfo& info = columns_[static_cast<size_t>(index.column())];
  switch (role) {
    case Qt::DisplayRole: {
      const bool showDisplayPath =
          soutaiF_ && singleLocation_ && ShowsDisplayPath(*soutaiF_, *singleLocation_);
      return QtFromCp932(Cell(index.row(), index.column(), showDisplayPath));
    }
    case Qt::TextAlignmentRole:
      return AlignmentOf(info);
    default:
      return {};
  }
}

QVariant ResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount_) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  const ColumnInfo& info = columns_[static_cast<size_t>(section)];
  switch (role) {
    case Qt::DisplayRole:
      return QtString(info.titleId);
    case Qt::TextAlignmentRole:
      // A numeric column's title sits over its right-aligned numbers.
      return AlignmentOf(info);
    default:
      return {};
  }
}
