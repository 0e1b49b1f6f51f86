// A history box without a toolkit: the items of an editable drop-down combo box (text and item-data word),
// its selected index, and the two operations by which histories grow. The GUI mirrors it into its combo
// boxes; the profile loads and saves it; serquin-cli uses it as the main window would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Which box a history serves; the kinds differ only in the comparison and the placeholder.
enum class HistoryKind {
  Location,   // compared without case; a lone empty item is the placeholder
  Pattern,    // compared with case; the placeholder is an empty item with item data 1
  Extension,  // compared without case; no placeholder
};

struct HistoryItem {
  std::string text;   // code page 932
  uint32_t data = 0;  // item-data word: 1 marks the pattern box's placeholder, else 0
  bool operator==(const HistoryItem&) const = default;
};

class HistoryList {
 public:
  // Item data of the pattern box's placeholder.
  static constexpr uint32_t kPlaceholderData = 1;

  explicit HistoryList(HistoryKind kind) : kind_(kind) {}

  // Puts a used value at the top (index 0) and selects it. Location and extension boxes ignore an
  // empty text and compare without case; the pattern box takes any text and compares with case.
  void PushFront(const std::string& text);
  // Appends a value loaded from the profile unless an equal item exists; never reorders and does not
  // change the selection. Location and extension boxes ignore an empty text.
  void AppendIfAbsent(const std::string& text);

  // Removes the placeholder when it stands alone (before saving, or before real entries arrive).
  // True when it removed one.
  bool RemoveLonePlaceholder();
  // Adds the placeholder when the list is empty, so the box is never without items (location and
  // pattern boxes only). Does not select it.
  void AddPlaceholderIfEmpty();
  // Removes every item; nothing is selected afterwards.
  void Clear();

  // Selects item i; any index outside the list selects nothing (-1).
  void Select(int i);
  // The selected index, or -1.
  int Selected() const { return selected_; }
  // The selected item's text; empty when nothing is selected.
  std::string SelectedText() const;

  HistoryKind Kind() const { return kind_; }
  const std::vector<HistoryItem>& Items() const { return items_; }
  size_t Count() const { return items_.size(); }
  // The texts in order (index 0 the most recent).
  std::vector<std::string> Texts() const;

 private:
  bool Equal(const std::string& a, const std::string& b) const;
  // Index of the first item equal to text, or -1.
  int Find(const std::string& text) const;
  bool IsLonePlaceholder() const;
  void RemoveAt(size_t i);
  void InsertFront(const std::string& text);

  HistoryKind kind_;
  std::vector<HistoryItem> items_;
  int selected_ = -1;
};
