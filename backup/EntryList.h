#pragma once
// The writer's entries in archive order, with an index of their names that ignores letter
// case, so that finding the entry of a name costs one hash look-up.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "backup/DirItem.h"
#include "platform/Text.h"

namespace qvn {

class TEntryList {
 public:
  explicit TEntryList(const platform::ITextServices& text) : text_(text) {}

  std::size_t Size() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  TDirItem& operator[](std::size_t i) { return items_[i]; }
  const TDirItem& operator[](std::size_t i) const { return items_[i]; }
  const std::vector<TDirItem>& Items() const { return items_; }
  std::span<TDirItem> Span() { return items_; }

  // The position of the entry whose name equals name without regard to letter case (the
  // user's locale), or nothing.
  std::optional<std::size_t> Find(const std::u16string& name) const;

  void Append(TDirItem item);
  // Replaces the record at i by one of the same name (letter case aside).
  void Replace(std::size_t i, TDirItem item);
  // Removes the entry at i; the entries behind it move up by one.
  void Remove(std::size_t i);
  // Makes items the whole list.
  void Assign(std::vector<TDirItem> items);
  void Clear();

 private:
  std::u16string Key(const std::u16string& name) const { return text_.UpperWide(name); }
  void Reindex();

  const platform::ITextServices& text_;
  std::vector<TDirItem> items_;
  std::unordered_map<std::u16string, std::size_t> index_;
};

}  // namespace qvn
