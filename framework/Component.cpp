#include "framework/Component.h"

#include <algorithm>

#include "framework/TypeInfo.h"

namespace framework {

bool SameText(std::string_view a, std::string_view b)
{
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i]))
      return false;
  }
  return true;
}

bool IsValidIdent(std::string_view name)
{
  if (name.empty())
    return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(name[0]))
    return false;
  return std::all_of(name.begin() + 1, name.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

const TClassInfo& TObject::ClassType()
{
  static const TClassInfo info("TObject", nullptr);
  return info;
}

const TClassInfo& TObject::ClassInfo() const { return ClassType(); }

const std::string& TObject::ClassName() const { return ClassInfo().Name(); }

bool TObject::InheritsFrom(const TClassInfo& base) const { return ClassInfo().InheritsFrom(base); }

const TClassInfo& TPersistent::ClassType()
{
  static const TClassInfo info("TPersistent", &TObject::ClassType());
  return info;
}

void TPersistent::Assign(const TPersistent& source)
{
  throw EConvertError("Cannot assign a " + source.ClassName() + " to a " + ClassName());
}

const TClassInfo& TComponent::ClassType()
{
  static TClassInfo info("TComponent", &TPersistent::ClassType());
  static const bool described = [] {
    info.Str("Name", &TComponent::Name, &TComponent::SetName);
    info.Int("Tag", &TComponent::Tag, &TComponent::SetTag, int64_t(0));
    return true;
  }();
  (void)described;
  return info;
}

TComponent::TComponent(TComponent* owner)
{
  if (owner)
    owner->InsertComponent(this);
}

TComponent::~TComponent()
{
  Destroying();
  // Tell everyone who asked that this component is going, so no one keeps a
  // dangling reference to it.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& back = other->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, TOperation::opRemove);
  }
  DestroyComponents();
  if (owner_)
    owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents()
{
  while (!components_.empty()) {
    TComponent* last = components_.back();
    // The child leaves the list in its own destructor; take it out first so
    // a child that throws or forgets cannot make this loop spin.
    components_.pop_back();
    last->owner_ = nullptr;
    Notification(last, TOperation::opRemove);
    delete last;
  }
}

void TComponent::SetName(const std::string& name)
{
  if (name == name_)
    return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("'" + name + "' is not a valid component name");
  if (!name.empty() && owner_) {
    TComponent* other = owner_->FindComponent(name);
    if (other && other != this)
      throw EComponentError("A component named " + name + " already exists");
  }
  name_ = name;
}

TComponent* TComponent::FindComponent(std::string_view name) const
{
  if (name.empty())
    return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->name_, name))
      return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component)
{
  if (!component || component->owner_ == this)
    return;
  if (!component->name_.empty() && FindComponent(component->name_))
    throw EComponentError("A component named " + component->name_ + " already exists");
  if (component->owner_)
    component->owner_->RemoveComponent(component);
  components_.push_back(component);
  component->owner_ = this;
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it == components_.end())
    return;
  components_.erase(it);
  component->owner_ = nullptr;
  Notification(component, TOperation::opRemove);
}

void TComponent::SetDesigning(bool designing)
{
  if (designing)
    state_ |= csDesigning;
  else
    state_ &= ~uint32_t(csDesigning);
  for (TComponent* c : components_)
    c->SetDesigning(designing);
}

void TComponent::Loaded() { state_ &= ~uint32_t(csLoading | csReading); }

void TComponent::Notification(TComponent* /*component*/, TOperation /*operation*/) {}

void TComponent::FreeNotification(TComponent* component)
{
  if (!component || component == this)
    return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
    freeNotifies_.push_back(component);
    component->freeNotifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
  if (!component)
    return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
  auto& back = component->freeNotifies_;
  back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

} // namespace framework
