#include "backup/EntryList.h"

namespace qvn {

std::optional<std::size_t> TEntryList::Find(const std::u16string& name) const {
  const auto found = index_.find(Key(name));
  if (found == index_.end()) return std::nullopt;
  return found->second;
}

void TEntryList::Append(TDirItem item) {
  index_[Key(item.name)] = items_.size();
  items_.push_back(std::move(item));
}

void TEntryList::Replace(std::size_t i, TDirItem item) {
  index_.erase(Key(items_[i].name));
  index_[Key(item.name)] = i;
  items_[i] = std::move(item);
}

void TEntryList::Remove(std::size_t i) {
  index_.erase(Key(items_[i].name));
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
  for (auto& [key, position] : index_)
    if (position > i) --position;
}

void TEntryList::Assign(std::vector<TDirItem> items) {
  items_ = std::move(items);
  Reindex();
}

void TEntryList::Clear() {
  items_.clear();
  index_.clear();
}

void TEntryList::Reindex() {
  index_.clear();
  index_.reserve(items_.size());
  for (std::size_t i = 0; i < items_.size(); ++i) index_[Key(items_[i].name)] = i;
}

}  // namespace qvn
