#include "framework/Collection.h"

#include <algorithm>

#include "framework/TypeInfo.h"

namespace framework {

const TClassInfo& TCollectionItem::ClassType()
{
  static const TClassInfo info("TCollectionItem", &TPersistent::ClassType());
  return info;
}

int TCollectionItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void TCollectionItem::Changed()
{
  if (collection_)
    collection_->Changed();
}

const TClassInfo& TCollection::ClassType()
{
  static const TClassInfo info("TCollection", &TPersistent::ClassType());
  return info;
}

TCollectionItem* TCollection::Item(int index) const
{
  if (index < 0 || index >= Count())
    throw EConvertError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[size_t(index)].get();
}

TCollectionItem* TCollection::Add()
{
  items_.push_back(factory_());
  items_.back()->collection_ = this;
  Changed();
  return items_.back().get();
}

void TCollection::Delete(int index)
{
  (void)Item(index);
  items_.erase(items_.begin() + index);
  Changed();
}

void TCollection::Clear()
{
  if (items_.empty())
    return;
  items_.clear();
  Changed();
}

int TCollection::IndexOf(const TCollectionItem* item) const
{
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item)
      return int(i);
  return -1;
}

void TCollection::EndUpdate()
{
  if (updating_ > 0 && --updating_ == 0 && pending_) {
    pending_ = false;
    OnChange(this);
  }
}

void TCollection::Changed()
{
  if (updating_ > 0) {
    pending_ = true;
    return;
  }
  OnChange(this);
}

void TCollection::Assign(const TPersistent& source)
{
  const auto* other = dynamic_cast<const TCollection*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this)
    return;
  BeginUpdate();
  try {
    Clear();
    for (const auto& item : other->items_) {
      TCollectionItem* copy = Add();
      for (const TPropInfo* p : item->ClassInfo().Properties()) {
        if (p->IsOrdinal() && p->GetOrd && p->SetOrd && copy->ClassInfo().FindProp(p->Name) == p)
          p->SetOrd(*copy, p->GetOrd(*item));
        else if (p->Kind == TTypeKind::tkString && p->GetStr && p->SetStr && copy->ClassInfo().FindProp(p->Name) == p)
          p->SetStr(*copy, p->GetStr(*item));
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  Changed();
  EndUpdate();
}

} // namespace framework
