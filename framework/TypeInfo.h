#pragma once
#include <algorithm>
#include <any>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "framework/Component.h"

// The property registry. Every class describes its published properties once,
// in a TClassInfo: name, kind, accessors, default and whether it is stored.
// Form descriptions are read and written through it, and code that does not
// know a control's class (the skin library) reads and changes its properties
// by name.
namespace framework {

enum class TTypeKind : uint8_t {
  tkInteger,     // signed integers; colours and cursors also read as identifiers
  tkEnumeration, // one of a list of identifiers (booleans are False/True)
  tkSet,         // a set of identifiers of an enumeration, as a bit mask
  tkString,      // UTF-8 text
  tkClass,       // an object owned by the holder (Font, Items) or a reference
  tkMethod,      // an event, bound to a handler of the form by name
  tkBinary,      // opaque bytes, kept in a separate file beside a description
};

// Brings a value read from text into the range of a property's type. A value
// outside it is clamped, never wrapped: 300 written to a byte is 255, not
// 44. Thirty-two-bit values may be written either way round, 0x80000010 for
// a signed colour and -1 for an unsigned mask, as their bits.
template <class T>
[[nodiscard]] T FitOrdinal(int64_t v)
{
  if constexpr (std::is_enum_v<T>) {
    // An enumeration takes the range of the integer it is stored in.
    return T(FitOrdinal<std::underlying_type_t<T>>(v));
  } else if constexpr (sizeof(T) >= sizeof(int64_t)) {
    return T(v);
  } else if constexpr (sizeof(T) == sizeof(uint32_t) && !std::is_same_v<T, bool>) {
    if (v > int64_t(UINT32_MAX))
      return std::numeric_limits<T>::max();
    if (v < int64_t(INT32_MIN))
      return std::numeric_limits<T>::min();
    return T(uint32_t(v));
  } else {
    return T(std::clamp<int64_t>(v, int64_t(std::numeric_limits<T>::min()), int64_t(std::numeric_limits<T>::max())));
  }
}

// Raised when a property is written with a value it cannot take, or when a
// handler does not fit an event.
class EPropertyError : public Exception {
public:
  using Exception::Exception;
};

// The identifiers of an enumeration, in the order of their values.
struct TEnumInfo {
  std::string TypeName;
  std::vector<std::string> Names;

  // Value of an identifier (case-insensitive), or -1.
  [[nodiscard]] int ValueOf(std::string_view name) const;
  [[nodiscard]] std::string NameOf(int64_t value) const;
};

// Named integer constants that an integer property also accepts (clBtnFace for
// a colour); written back by name when the value has one.
struct TIdentMap {
  std::vector<std::pair<std::string, int64_t>> Entries;
  [[nodiscard]] std::optional<int64_t> ValueOf(std::string_view name) const;
  [[nodiscard]] std::optional<std::string> NameOf(int64_t value) const;
};

const TEnumInfo& BooleanInfo();

struct TPropInfo {
  std::string Name;
  TTypeKind Kind = TTypeKind::tkInteger;
  const TEnumInfo* Enum = nullptr;    // enumerations; element type of sets
  const TIdentMap* Idents = nullptr;  // integers with named values
  const TClassInfo* PropClass = nullptr; // objects: the class the value must have

  std::function<int64_t(const TObject&)> GetOrd;
  std::function<void(TObject&, int64_t)> SetOrd;
  std::function<std::string(const TObject&)> GetStr;
  std::function<void(TObject&, const std::string&)> SetStr;
  std::function<TObject*(const TObject&)> GetObj;
  std::function<void(TObject&, TObject*)> SetObj;
  // Events: the bound handler's name, and binding a handler value (the
  // std::function of the event's signature, type-erased) under a name.
  std::function<std::string(const TObject&)> GetMethodName;
  std::function<void(TObject&, const std::string&, const std::any&)> SetMethod;
  std::function<std::vector<uint8_t>(const TObject&)> GetBytes;
  std::function<void(TObject&, const std::vector<uint8_t>&)> SetBytes;

  std::optional<int64_t> Default; // ordinals: the value not written
  std::string DefaultStr;         // strings: the value not written
  std::function<bool(const TObject&)> StoredFn; // absent: always stored
  bool Stored = true;

  [[nodiscard]] bool IsStored(const TObject& instance) const
  {
    return Stored && (!StoredFn || StoredFn(instance));
  }
  [[nodiscard]] bool IsOrdinal() const
  {
    return Kind == TTypeKind::tkInteger || Kind == TTypeKind::tkEnumeration || Kind == TTypeKind::tkSet;
  }
};

// A published method of a form class: given the instance, makes the handler
// (a std::function of the method's signature bound to the instance).
struct TMethodInfo {
  std::string Name;
  std::function<std::any(TObject&)> Bind;
};

// A published field of a form class: where the reader stores the component
// of that name once it exists.
struct TFieldInfo {
  std::string Name;
  std::function<bool(TObject&, TComponent*)> Set; // false: wrong class
};

class TClassInfo {
public:
  using TCreator = std::function<TComponent*(TComponent* owner)>;

  TClassInfo(std::string name, const TClassInfo* parent, TCreator creator = {});
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  [[nodiscard]] const std::string& Name() const { return name_; }
  [[nodiscard]] const TClassInfo* Parent() const { return parent_; }
  [[nodiscard]] bool InheritsFrom(const TClassInfo& base) const;
  [[nodiscard]] bool CanCreate() const { return static_cast<bool>(creator_); }
  [[nodiscard]] TComponent* Create(TComponent* owner) const;

  // Own and inherited properties; a derived class's property of the same name
  // hides the inherited one.
  [[nodiscard]] const TPropInfo* FindProp(std::string_view name) const;
  [[nodiscard]] std::vector<const TPropInfo*> Properties() const;
  [[nodiscard]] const TMethodInfo* FindMethod(std::string_view name) const;
  [[nodiscard]] const TFieldInfo* FindField(std::string_view name) const;

  TPropInfo& Add(TPropInfo info);
  // Removes an inherited property from this class's published surface.
  void Hide(std::string name);
  void AddMethod(TMethodInfo info) { methods_.push_back(std::move(info)); }
  void AddField(TFieldInfo info) { fields_.push_back(std::move(info)); }

  // Builders over member functions, so that a class lists its properties in
  // one line each.
  // Getter and setter may come from different classes of one hierarchy
  // (a form's ClientWidth getter with the control's setter).
  template <class T, class U, class V, class W>
  TPropInfo& Int(std::string name, V (T::*get)() const, void (U::*set)(W), std::optional<int64_t> def = std::nullopt,
                 const TIdentMap* idents = nullptr)
  {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkInteger;
    p.Idents = idents;
    p.Default = def;
    p.GetOrd = [get](const TObject& o) { return int64_t((static_cast<const T&>(o).*get)()); };
    if (set)
      p.SetOrd = [set](TObject& o, int64_t v) { (static_cast<U&>(o).*set)(FitOrdinal<std::remove_cvref_t<W>>(v)); };
    return Add(std::move(p));
  }
  template <class T, class U, class V, class W>
  TPropInfo& Enum(std::string name, const TEnumInfo& info, V (T::*get)() const, void (U::*set)(W),
                  std::optional<int64_t> def = std::nullopt)
  {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkEnumeration;
    p.Enum = &info;
    p.Default = def;
    p.GetOrd = [get](const TObject& o) { return int64_t((static_cast<const T&>(o).*get)()); };
    if (set)
      p.SetOrd = [set](TObject& o, int64_t v) { (static_cast<U&>(o).*set)(static_cast<W>(v)); };
    return Add(std::move(p));
  }
  template <class T, class U>
  TPropInfo& Bool(std::string name, bool (T::*get)() const, void (U::*set)(bool), std::optional<bool> def = std::nullopt)
  {
    std::optional<int64_t> d;
    if (def)
      d = *def ? 1 : 0;
    return Enum(std::move(name), BooleanInfo(), get, set, d);
  }
  template <class T, class U, class V, class W>
  TPropInfo& Set(std::string name, const TEnumInfo& element, V (T::*get)() const, void (U::*set)(W),
                 std::optional<int64_t> def = std::nullopt)
  {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkSet;
    p.Enum = &element;
    p.Default = def;
    p.GetOrd = [get](const TObject& o) { return int64_t((static_cast<const T&>(o).*get)()); };
    if (set)
      p.SetOrd = [set](TObject& o, int64_t v) { (static_cast<U&>(o).*set)(W(v)); };
    return Add(std::move(p));
  }
  template <class T, class U, class R, class A>
  TPropInfo& Str(std::string name, R (T::*get)() const, void (U::*set)(A), std::string def = {})
  {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkString;
    p.DefaultStr = std::move(def);
    p.GetStr = [get](const TObject& o) { return std::string((static_cast<const T&>(o).*get)()); };
    if (set)
      p.SetStr = [set](TObject& o, const std::string& v) { (static_cast<U&>(o).*set)(v); };
    return Add(std::move(p));
  }
  // An object owned by the holder: its own properties are reached through it
  // (Font.Name); a write copies into it with Assign.
  template <class T, class O>
  TPropInfo& Object(std::string name, const TClassInfo& cls, O* (T::*get)() const)
  {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkClass;
    p.PropClass = &cls;
    p.GetObj = [get](const TObject& o) -> TObject* { return (static_cast<const T&>(o).*get)(); };
    p.SetObj = [get](TObject& o, TObject* v) {
      auto* target = (static_cast<const T&>(o).*get)();
      auto* source = dynamic_cast<TPersistent*>(v);
      if (target && source)
        target->Assign(*source);
    };
    return Add(std::move(p));
  }
  // A reference to another component (a form's Menu, a control's
  // PopupMenu): written by name, read back once every component exists.
  template <class T, class U, class O, class A>
  TPropInfo& Reference(std::string name, const TClassInfo& cls, O* (T::*get)() const, void (U::*set)(A*))
  {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkClass;
    p.PropClass = &cls;
    p.GetObj = [get](const TObject& o) -> TObject* { return (static_cast<const T&>(o).*get)(); };
    p.SetObj = [set](TObject& o, TObject* v) { (static_cast<U&>(o).*set)(dynamic_cast<A*>(v)); };
    return Add(std::move(p));
  }
  // An event held in a TEvent member.
  template <class T, class Sig>
  TPropInfo& Event(std::string name, TEvent<Sig> T::*member)
  {
    TPropInfo p;
    p.Name = name;
    p.Kind = TTypeKind::tkMethod;
    p.GetMethodName = [member](const TObject& o) { return (static_cast<const T&>(o).*member).HandlerName(); };
    p.SetMethod = [member, name](TObject& o, const std::string& handler, const std::any& value) {
      if (!value.has_value()) {
        static_cast<T&>(o).*member = TEvent<Sig>{};
        return;
      }
      const auto* fn = std::any_cast<std::function<Sig>>(&value);
      if (!fn)
        throw EPropertyError("The handler " + handler + " does not fit the event " + name);
      static_cast<T&>(o).*member = TEvent<Sig>(*fn, handler);
    };
    return Add(std::move(p));
  }
  template <class T, class Sig>
  void Method(std::string name, Sig T::*method)
  {
    AddMethod(TMethodInfo{std::move(name), [method](TObject& o) -> std::any {
      return MakeBound(static_cast<T*>(&o), method);
    }});
  }
  template <class T, class C>
  void Field(std::string name, C* T::*member)
  {
    AddField(TFieldInfo{std::move(name), [member](TObject& o, TComponent* c) {
      auto* typed = dynamic_cast<C*>(c);
      if (c && !typed)
        return false;
      static_cast<T&>(o).*member = typed;
      return true;
    }});
  }

private:
  template <class T, class R, class... A>
  static std::any MakeBound(T* self, R (T::*method)(A...))
  {
    return std::function<R(A...)>([self, method](A... args) { return (self->*method)(std::forward<A>(args)...); });
  }

  std::string name_;
  const TClassInfo* parent_;
  TCreator creator_;
  std::vector<std::unique_ptr<TPropInfo>> props_;
  std::vector<std::string> hidden_;
  std::vector<TMethodInfo> methods_;
  std::vector<TFieldInfo> fields_;
};

// Component classes that form descriptions may create, by class name.
void RegisterComponentClass(const TClassInfo& info);
[[nodiscard]] const TClassInfo* FindClass(std::string_view name);

// Access by name. Lookups are case-insensitive. A missing property gives the
// neutral answer shown and a write to it does nothing, so that code handling
// controls of any class can ask without testing first.
[[nodiscard]] const TPropInfo* GetPropInfo(const TObject& instance, std::string_view name);
[[nodiscard]] bool IsPublishedProp(const TObject& instance, std::string_view name);
[[nodiscard]] int64_t GetOrdProp(const TObject& instance, std::string_view name);       // missing or not integer: -1
[[nodiscard]] std::string GetEnumProp(const TObject& instance, std::string_view name);  // missing: ""
[[nodiscard]] std::string GetSetProp(const TObject& instance, std::string_view name);   // "[a,b]"; missing: ""
[[nodiscard]] std::string GetStrProp(const TObject& instance, std::string_view name);   // missing: ""
[[nodiscard]] TObject* GetObjectProp(const TObject& instance, std::string_view name, const TClassInfo* cls = nullptr);
// Any property as the text a form description would hold (strings unquoted).
[[nodiscard]] std::string GetPropValue(const TObject& instance, std::string_view name);
void SetOrdProp(TObject& instance, std::string_view name, int64_t value);
void SetEnumProp(TObject& instance, std::string_view name, std::string_view ident);
void SetSetProp(TObject& instance, std::string_view name, std::string_view text);
void SetStrProp(TObject& instance, std::string_view name, const std::string& value);
void SetObjectProp(TObject& instance, std::string_view name, TObject* value);
// Writes from text: integers as decimal or hexadecimal ("$FF", "0xFF") or a
// named value, enumerations by identifier, sets as "[a,b]", strings as they are.
// A missing property is ignored; text the property cannot take raises
// EPropertyError.
void SetPropValue(TObject& instance, std::string_view name, const std::string& text);

// Text conversions shared with the form description reader and writer.
[[nodiscard]] std::string SetToString(const TEnumInfo& element, int64_t bits);
[[nodiscard]] int64_t StringToSet(const TEnumInfo& element, std::string_view text); // raises EPropertyError
[[nodiscard]] std::optional<int64_t> ParseInteger(std::string_view text);

} // namespace framework
