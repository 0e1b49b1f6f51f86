#include "app/history_list.h"

#include "matching/mbcs.h"

bool HistoryList::Equal(const std::string& a, const std::string& b) const {
  if (kind_ == HistoryKind::Pattern) return a == b;
  // The folding comparison stops at a NUL; a text holding one is only equal to the very same bytes.
  if (a.find('\0') != std::string::npos || b.find('\0') != std::string::npos) return a == b;
  return matching::MbsICmp(a.c_str(), b.c_str()) == 0;
}

int HistoryList::Find(const std::string& text) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (Equal(items_[i].text, text)) return static_cast<int>(i);
  }
  return -1;
}

bool HistoryList::IsLonePlaceholder() const {
  if (items_.size() != 1 || !items_[0].text.empty()) return false;
  switch (kind_) {
    case HistoryKind::Location:
      return true;
    case HistoryKind::Pattern:
      return items_[0].data == kPlaceholderData;
    case HistoryKind::Extension:
      return false;
  }
  return false;
}

void HistoryList::RemoveAt(size_t i) {
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
  int index = static_cast<int>(i);
  if (selected_ == index) {
    selected_ = -1;
  } else if (selected_ > index) {
    --selected_;
  }
}

void HistoryList::InsertFront(const std::string& text) {
  items_.insert(items_.begin(), HistoryItem{text, 0});
  selected_ = 0;
}

void HistoryList::PushFront(const std::string& text) {
  if (kind_ != HistoryKind::Pattern && text.empty()) return;
  RemoveLonePlaceholder();
  int found = Find(text);
  if (found >= 0) RemoveAt(static_cast<size_t>(found));
  InsertFront(text);
}

void HistoryList::AppendIfAbsent(const std::string& text) {
  if (kind_ != HistoryKind::Pattern && text.empty()) return;
  RemoveLonePlaceholder();
  if (Find(text) < 0) items_.push_back(HistoryItem{text, 0});
}

bool HistoryList::RemoveLonePlaceholder() {
  if (!IsLonePlaceholder()) return false;
  RemoveAt(0);
  return true;
}

void HistoryList::AddPlaceholderIfEmpty() {
  if (!items_.empty()) return;
  if (kind_ == HistoryKind::Location) items_.push_back(HistoryItem{"", 0});
  if (kind_ == HistoryKind::Pattern) items_.push_back(HistoryItem{"", kPlaceholderData});
}

void HistoryList::Clear() {
  items_.clear();
  selected_ = -1;
}

void HistoryList::Select(int i) {
  selected_ = (i >= 0 && static_cast<size_t>(i) < items_.size()) ? i : -1;
}

std::string HistoryList::SelectedText() const {
  return selected_ >= 0 ? items_[static_cast<size_t>(selected_)].text : std::string();
}

std::vector<std::string> HistoryList::Texts() const {
  std::vector<std::string> texts;
  texts.reserve(items_.size());
  for (const HistoryItem& item : items_) texts.push_back(item.text);
  return texts;
}
