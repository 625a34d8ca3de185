#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "framework/Component.h"

namespace framework {

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class EStringListError : public Exception {
public:
  using Exception::Exception;
};

// A list of UTF-8 strings, each with an optional object reference, kept in
// insertion order or sorted. Controls that show a list (combo boxes, radio
// groups) hold one and follow its OnChange.
class TStringList : public TPersistent {
public:
  TStringList() = default;

  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] int Count() const { return int(items_.size()); }
  [[nodiscard]] const std::string& Strings(int index) const;
  [[nodiscard]] const std::string& operator[](int index) const { return Strings(index); }
  void Put(int index, const std::string& value);
  [[nodiscard]] TObject* Objects(int index) const;
  void PutObject(int index, TObject* object);

  // Appends, or in a sorted list inserts at its place; answers the index. In a
  // sorted list the duplicate rule applies: dupIgnore answers the index of the
  // existing entry, dupError raises.
  int Add(const std::string& value, TObject* object = nullptr);
  void Insert(int index, const std::string& value);
  void Delete(int index);
  void Clear();
  void Exchange(int a, int b);
  [[nodiscard]] int IndexOf(std::string_view value) const;
  // In a sorted list: the index where value is or would go, and whether it is there.
  bool Find(std::string_view value, int& index) const;
  void Sort();

  [[nodiscard]] bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  [[nodiscard]] bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);
  [[nodiscard]] TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates value) { duplicates_ = value; }

  // All strings joined with CR LF after each; setting splits at CR LF, LF or CR.
  [[nodiscard]] std::string Text() const;
  void SetText(std::string_view text);

  // Changes made between BeginUpdate and EndUpdate are announced once.
  void BeginUpdate() { ++updating_; }
  void EndUpdate();

  void Assign(const TPersistent& source) override;
  [[nodiscard]] bool Equals(const TStringList& other) const;

  TNotifyEvent OnChange;

private:
  struct TItem {
    std::string Text;
    TObject* Object = nullptr;
  };
  [[nodiscard]] int Compare(std::string_view a, std::string_view b) const;
  void CheckIndex(int index) const;
  void Changed();

  std::vector<TItem> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = TDuplicates::dupIgnore;
  int updating_ = 0;
  bool changedWhileUpdating_ = false;
};

} // namespace framework
