#include "framework/StringList.h"

#include <algorithm>

#include "framework/TypeInfo.h"

namespace framework {

const TClassInfo& TStringList::ClassType()
{
  static const TClassInfo info("TStringList", &TPersistent::ClassType());
  return info;
}

namespace {
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
} // namespace

int TStringList::Compare(std::string_view a, std::string_view b) const
{
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = caseSensitive_ ? a[i] : Lower(a[i]);
    unsigned char y = caseSensitive_ ? b[i] : Lower(b[i]);
    if (x != y)
      return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void TStringList::CheckIndex(int index) const
{
  if (index < 0 || index >= Count())
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TStringList::Changed()
{
  if (updating_ > 0) {
    changedWhileUpdating_ = true;
    return;
  }
  OnChange(this);
}

void TStringList::EndUpdate()
{
  if (updating_ > 0 && --updating_ == 0 && changedWhileUpdating_) {
    changedWhileUpdating_ = false;
    OnChange(this);
  }
}

const std::string& TStringList::Strings(int index) const
{
  CheckIndex(index);
  return items_[size_t(index)].Text;
}

void TStringList::Put(int index, const std::string& value)
{
  if (sorted_)
    throw EStringListError("Operation not allowed on sorted list");
  CheckIndex(index);
  items_[size_t(index)].Text = value;
  Changed();
}

TObject* TStringList::Objects(int index) const
{
  CheckIndex(index);
  return items_[size_t(index)].Object;
}

void TStringList::PutObject(int index, TObject* object)
{
  CheckIndex(index);
  items_[size_t(index)].Object = object;
}

bool TStringList::Find(std::string_view value, int& index) const
{
  // The first entry not less than value: where value is, or would go.
  int lo = 0, hi = Count();
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (Compare(items_[size_t(mid)].Text, value) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  index = lo;
  return lo < Count() && Compare(items_[size_t(lo)].Text, value) == 0;
}

int TStringList::Add(const std::string& value, TObject* object)
{
  int index = Count();
  if (sorted_) {
    if (Find(value, index)) {
      if (duplicates_ == TDuplicates::dupIgnore)
        return index;
      if (duplicates_ == TDuplicates::dupError)
        throw EStringListError("String list does not allow duplicates");
    }
  }
  items_.insert(items_.begin() + index, TItem{value, object});
  Changed();
  return index;
}

void TStringList::Insert(int index, const std::string& value)
{
  if (sorted_)
    throw EStringListError("Operation not allowed on sorted list");
  if (index < 0 || index > Count())
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
  items_.insert(items_.begin() + index, TItem{value, nullptr});
  Changed();
}

void TStringList::Delete(int index)
{
  CheckIndex(index);
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear()
{
  if (items_.empty())
    return;
  items_.clear();
  Changed();
}

void TStringList::Exchange(int a, int b)
{
  CheckIndex(a);
  CheckIndex(b);
  std::swap(items_[size_t(a)], items_[size_t(b)]);
  Changed();
}

int TStringList::IndexOf(std::string_view value) const
{
  if (sorted_) {
    int index = 0;
    return Find(value, index) ? index : -1;
  }
  for (size_t i = 0; i < items_.size(); ++i)
    if (Compare(items_[i].Text, value) == 0)
      return int(i);
  return -1;
}

void TStringList::Sort()
{
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const TItem& a, const TItem& b) { return Compare(a.Text, b.Text) < 0; });
  Changed();
}

void TStringList::SetSorted(bool value)
{
  if (value == sorted_)
    return;
  if (value)
    Sort();
  sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value)
{
  if (value == caseSensitive_)
    return;
  caseSensitive_ = value;
  if (sorted_)
    Sort();
}

std::string TStringList::Text() const
{
  std::string text;
  for (const auto& item : items_) {
    text += item.Text;
    text += "\r\n";
  }
  return text;
}

void TStringList::SetText(std::string_view text)
{
  BeginUpdate();
  try {
    Clear();
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find_first_of("\r\n", start);
      if (end == std::string_view::npos) {
        Add(std::string(text.substr(start)));
        break;
      }
      Add(std::string(text.substr(start, end - start)));
      start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStringList::Assign(const TPersistent& source)
{
  const auto* other = dynamic_cast<const TStringList*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this)
    return;
  BeginUpdate();
  items_.clear();
  if (sorted_) {
    // Keeps this list's order and duplicate rule.
    for (const auto& item : other->items_)
      Add(item.Text, item.Object);
  } else {
    items_ = other->items_;
  }
  Changed();
  EndUpdate();
}

bool TStringList::Equals(const TStringList& other) const
{
  if (Count() != other.Count())
    return false;
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].Text != other.items_[i].Text)
      return false;
  return true;
}

} // namespace framework
