#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/Exceptions.h"

// The root of the component model: objects that know their class description
// (so their published properties can be read and written by name), persistent
// objects that can copy each other, and components that own other components
// and are found by name on their owner.
namespace framework {

class TClassInfo;

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  // The description of the object's most derived registered class.
  [[nodiscard]] virtual const TClassInfo& ClassInfo() const;
  static const TClassInfo& ClassType();

  [[nodiscard]] const std::string& ClassName() const;
  [[nodiscard]] bool InheritsFrom(const TClassInfo& base) const;
};

// Raised for a bad component name or a clash of names on one owner.
class EComponentError : public Exception {
public:
  using Exception::Exception;
};

// A value that cannot be converted or copied into another.
class EConvertError : public Exception {
public:
  using Exception::Exception;
};

class TPersistent : public TObject {
public:
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  // Copies the value of another object; the base knows no conversion and
  // raises an error naming both classes.
  virtual void Assign(const TPersistent& source);
};

// An event: a handler callable plus the name it was bound under, so that a form
// description can be written back with its handler names.
template <class Signature>
class TEvent {
public:
  using THandler = std::function<Signature>;

  TEvent() = default;
  TEvent(THandler handler, std::string name = {}) : handler_(std::move(handler)), name_(std::move(name)) {}

  explicit operator bool() const { return static_cast<bool>(handler_); }
  template <class... Args>
  void operator()(Args&&... args) const
  {
    if (handler_)
      handler_(std::forward<Args>(args)...);
  }
  [[nodiscard]] const std::string& HandlerName() const { return name_; }
  [[nodiscard]] const THandler& Handler() const { return handler_; }

private:
  THandler handler_;
  std::string name_;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;

enum TComponentStateItem : uint32_t {
  csLoading = 1u << 0,
  csReading = 1u << 1,
  csWriting = 1u << 2,
  csDestroying = 1u << 3,
  csDesigning = 1u << 4,
};
using TComponentState = uint32_t;

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
  explicit TComponent(TComponent* owner);
  // Frees every owned component (last created first), then leaves the owner.
  ~TComponent() override;

  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] const std::string& Name() const { return name_; }
  // A name is empty or an identifier (letter or underscore, then letters,
  // digits, underscores) that no other component of the same owner carries,
  // compared without regard to case.
  virtual void SetName(const std::string& name);

  [[nodiscard]] TComponent* Owner() const { return owner_; }
  [[nodiscard]] int ComponentCount() const { return int(components_.size()); }
  [[nodiscard]] TComponent* Components(int index) const { return components_.at(size_t(index)); }
  [[nodiscard]] TComponent* FindComponent(std::string_view name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees what this component owns. Derived destructors call it first so that
  // owned components go while the owner is still whole.
  void DestroyComponents();

  [[nodiscard]] intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }

  [[nodiscard]] TComponentState ComponentState() const { return state_; }
  [[nodiscard]] bool HasState(TComponentStateItem item) const { return (state_ & item) != 0; }
  void SetDesigning(bool designing);
  // Marks the component as being read from a form description; Loaded ends it.
  void BeginLoading() { state_ |= csLoading | csReading; }
  void EndReading() { state_ &= ~uint32_t(csReading); }

  // Called once all components of a form description are read, with every
  // property in place. The base clears the loading state.
  virtual void Loaded();

  // The component that holds this one visually (a control's parent); the form
  // description reader uses it to place children where the description nests them.
  [[nodiscard]] virtual TComponent* GetParentComponent() const { return nullptr; }
  [[nodiscard]] virtual bool HasParent() const { return false; }
  virtual void SetParentComponent(TComponent* /*parent*/) {}

  // Told when a component is added to or removed from an owner, and when a
  // component that asked for it (FreeNotification) goes away.
  virtual void Notification(TComponent* component, TOperation operation);
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

protected:
  // Called when the component is about to be destroyed, before any part of it is.
  void Destroying() { state_ |= csDestroying; }

private:
  void SetOwnerOnly(TComponent* owner) { owner_ = owner; }

  std::string name_;
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  intptr_t tag_ = 0;
  TComponentState state_ = 0;
};

// Case-insensitive comparison of ASCII identifiers, as names are compared.
[[nodiscard]] bool SameText(std::string_view a, std::string_view b);
[[nodiscard]] bool IsValidIdent(std::string_view name);

} // namespace framework
