#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "framework/Component.h"

namespace framework {

class TCollection;

// One item of a collection (a status bar panel). Its published properties
// are stored in form descriptions inside the collection's list.
class TCollectionItem : public TPersistent {
public:
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] TCollection* Collection() const { return collection_; }
  [[nodiscard]] int Index() const;

protected:
  // Items call this after a change of a property, so the owner redraws.
  void Changed();

private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
};

// An ordered list of items of one class, owned by the collection.
class TCollection : public TPersistent {
public:
  using TItemFactory = std::function<std::unique_ptr<TCollectionItem>()>;
  explicit TCollection(TItemFactory factory) : factory_(std::move(factory)) {}

  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] int Count() const { return int(items_.size()); }
  [[nodiscard]] TCollectionItem* Item(int index) const;
  template <class T>
  [[nodiscard]] T* ItemAs(int index) const
  {
    return static_cast<T*>(Item(index));
  }
  TCollectionItem* Add();
  void Delete(int index);
  void Clear();
  [[nodiscard]] int IndexOf(const TCollectionItem* item) const;

  void BeginUpdate() { ++updating_; }
  void EndUpdate();
  // Copies the items' published properties from another collection.
  void Assign(const TPersistent& source) override;

  // Raised after items are added, removed or changed.
  TNotifyEvent OnChange;

private:
  friend class TCollectionItem;
  void Changed();

  TItemFactory factory_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
  int updating_ = 0;
  bool pending_ = false;
};

} // namespace framework
