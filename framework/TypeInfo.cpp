#include "framework/TypeInfo.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <mutex>

namespace framework {

int TEnumInfo::ValueOf(std::string_view name) const
{
  for (size_t i = 0; i < Names.size(); ++i)
    if (SameText(Names[i], name))
      return int(i);
  return -1;
}

std::string TEnumInfo::NameOf(int64_t value) const
{
  if (value < 0 || uint64_t(value) >= Names.size())
    return {};
  return Names[size_t(value)];
}

std::optional<int64_t> TIdentMap::ValueOf(std::string_view name) const
{
  for (const auto& [ident, value] : Entries)
    if (SameText(ident, name))
      return value;
  return std::nullopt;
}

std::optional<std::string> TIdentMap::NameOf(int64_t value) const
{
  for (const auto& [ident, v] : Entries)
    if (v == value)
      return ident;
  return std::nullopt;
}

const TEnumInfo& BooleanInfo()
{
  static const TEnumInfo info{"Boolean", {"False", "True"}};
  return info;
}

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent, TCreator creator)
  : name_(std::move(name)), parent_(parent), creator_(std::move(creator))
{
}

bool TClassInfo::InheritsFrom(const TClassInfo& base) const
{
  for (const TClassInfo* c = this; c; c = c->parent_)
    if (c == &base)
      return true;
  return false;
}

TComponent* TClassInfo::Create(TComponent* owner) const
{
  if (!creator_)
    throw EComponentError("The class " + name_ + " cannot be created by name");
  return creator_(owner);
}

const TPropInfo* TClassInfo::FindProp(std::string_view name) const
{
  for (const TClassInfo* c = this; c; c = c->parent_) {
    for (const auto& p : c->props_)
      if (SameText(p->Name, name))
        return p.get();
    for (const auto& h : c->hidden_)
      if (SameText(h, name))
        return nullptr;
  }
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const
{
  // Base classes first, so a description lists Left before a control's own.
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c; c = c->parent_)
    chain.push_back(c);
  std::vector<const TPropInfo*> result;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    for (const auto& p : (*it)->props_) {
      if (FindProp(p->Name) != p.get())
        continue; // hidden or overridden further down
      result.push_back(p.get());
    }
  return result;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const
{
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const auto& m : c->methods_)
      if (SameText(m.Name, name))
        return &m;
  return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const
{
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const auto& f : c->fields_)
      if (SameText(f.Name, name))
        return &f;
  return nullptr;
}

TPropInfo& TClassInfo::Add(TPropInfo info)
{
  for (auto& p : props_)
    if (SameText(p->Name, info.Name)) {
      *p = std::move(info);
      return *p;
    }
  hidden_.erase(std::remove_if(hidden_.begin(), hidden_.end(), [&](const std::string& h) { return SameText(h, info.Name); }),
                hidden_.end());
  props_.push_back(std::make_unique<TPropInfo>(std::move(info)));
  return *props_.back();
}

void TClassInfo::Hide(std::string name)
{
  props_.erase(std::remove_if(props_.begin(), props_.end(), [&](const auto& p) { return SameText(p->Name, name); }),
               props_.end());
  hidden_.push_back(std::move(name));
}

namespace {

struct TClassRegistry {
  std::mutex lock;
  std::vector<const TClassInfo*> classes;
};

TClassRegistry& Registry()
{
  static TClassRegistry registry;
  return registry;
}

std::string Trimmed(std::string_view text)
{
  size_t b = 0, e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b])))
    ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1])))
    --e;
  return std::string(text.substr(b, e - b));
}

} // namespace

void RegisterComponentClass(const TClassInfo& info)
{
  auto& r = Registry();
  std::lock_guard guard(r.lock);
  for (const TClassInfo*& c : r.classes)
    if (SameText(c->Name(), info.Name())) {
      c = &info;
      return;
    }
  r.classes.push_back(&info);
}

const TClassInfo* FindClass(std::string_view name)
{
  auto& r = Registry();
  std::lock_guard guard(r.lock);
  for (const TClassInfo* c : r.classes)
    if (SameText(c->Name(), name))
      return c;
  return nullptr;
}

std::optional<int64_t> ParseInteger(std::string_view text)
{
  std::string t = Trimmed(text);
  std::string_view s = t;
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && s[0] == '$') {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty())
    return std::nullopt;
  uint64_t value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
  if (ec != std::errc() || end != s.data() + s.size())
    return std::nullopt;
  // Hexadecimal values cover the whole 32-bit range (system colours are
  // written as $80000000 and above); decimal ones must fit a signed 64-bit.
  if (base == 10 && value > uint64_t(INT64_MAX))
    return std::nullopt;
  if (base == 16 && value > 0xFFFFFFFFull)
    return std::nullopt;
  int64_t result = base == 16 ? int64_t(int32_t(uint32_t(value))) : int64_t(value);
  return negative ? -result : result;
}

std::string SetToString(const TEnumInfo& element, int64_t bits)
{
  std::string text = "[";
  bool first = true;
  for (size_t i = 0; i < element.Names.size() && i < 64; ++i)
    if ((uint64_t(bits) >> i) & 1u) {
      if (!first)
        text += ',';
      text += element.Names[i];
      first = false;
    }
  return text + "]";
}

int64_t StringToSet(const TEnumInfo& element, std::string_view text)
{
  std::string t = Trimmed(text);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']')
    throw EPropertyError("'" + t + "' is not a set of " + element.TypeName);
  std::string_view body(t);
  body = body.substr(1, body.size() - 2);
  int64_t bits = 0;
  while (!body.empty()) {
    size_t comma = body.find(',');
    std::string item = Trimmed(body.substr(0, comma));
    body = comma == std::string_view::npos ? std::string_view() : body.substr(comma + 1);
    if (item.empty()) {
      if (comma == std::string_view::npos && bits == 0)
        break; // "[]" or "[ ]"
      throw EPropertyError("An empty element in the set '" + t + "'");
    }
    int v = element.ValueOf(item);
    if (v < 0 || v >= 64)
      throw EPropertyError("'" + item + "' is not a member of " + element.TypeName);
    bits |= int64_t(1) << v;
  }
  return bits;
}

const TPropInfo* GetPropInfo(const TObject& instance, std::string_view name)
{
  return instance.ClassInfo().FindProp(name);
}

bool IsPublishedProp(const TObject& instance, std::string_view name) { return GetPropInfo(instance, name) != nullptr; }

int64_t GetOrdProp(const TObject& instance, std::string_view name)
{
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p || p->Kind != TTypeKind::tkInteger || !p->GetOrd)
    return -1;
  return p->GetOrd(instance);
}

std::string GetEnumProp(const TObject& instance, std::string_view name)
{
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p || p->Kind != TTypeKind::tkEnumeration || !p->GetOrd)
    return {};
  return p->Enum->NameOf(p->GetOrd(instance));
}

std::string GetSetProp(const TObject& instance, std::string_view name)
{
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p || p->Kind != TTypeKind::tkSet || !p->GetOrd)
    return {};
  return SetToString(*p->Enum, p->GetOrd(instance));
}

std::string GetStrProp(const TObject& instance, std::string_view name)
{
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p || p->Kind != TTypeKind::tkString || !p->GetStr)
    return {};
  return p->GetStr(instance);
}

TObject* GetObjectProp(const TObject& instance, std::string_view name, const TClassInfo* cls)
{
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p || p->Kind != TTypeKind::tkClass || !p->GetObj)
    return nullptr;
  TObject* value = p->GetObj(instance);
  if (value && cls && !value->InheritsFrom(*cls))
    return nullptr;
  return value;
}

std::string GetPropValue(const TObject& instance, std::string_view name)
{
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p)
    return {};
  switch (p->Kind) {
  case TTypeKind::tkInteger: {
    if (!p->GetOrd)
      return {};
    int64_t v = p->GetOrd(instance);
    if (p->Idents)
      if (auto ident = p->Idents->NameOf(v))
        return *ident;
    return std::to_string(v);
  }
  case TTypeKind::tkEnumeration:
    return GetEnumProp(instance, name);
  case TTypeKind::tkSet:
    return GetSetProp(instance, name);
  case TTypeKind::tkString:
    return GetStrProp(instance, name);
  case TTypeKind::tkMethod:
    return p->GetMethodName ? p->GetMethodName(instance) : std::string();
  case TTypeKind::tkClass: {
    TObject* o = p->GetObj ? p->GetObj(instance) : nullptr;
    if (auto* c = dynamic_cast<TComponent*>(o))
      return c->Name();
    return {};
  }
  case TTypeKind::tkBinary:
    return {};
  }
  return {};
}

void SetOrdProp(TObject& instance, std::string_view name, int64_t value)
{
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p || !p->IsOrdinal() || !p->SetOrd)
    return;
  if (p->Kind == TTypeKind::tkEnumeration && (value < 0 || uint64_t(value) >= p->Enum->Names.size()))
    throw EPropertyError(std::to_string(value) + " is out of the range of " + p->Enum->TypeName);
  p->SetOrd(instance, value);
}

void SetEnumProp(TObject& instance, std::string_view name, std::string_view ident)
{
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p || p->Kind != TTypeKind::tkEnumeration || !p->SetOrd)
    return;
  int v = p->Enum->ValueOf(Trimmed(ident));
  if (v < 0)
    throw EPropertyError("'" + std::string(ident) + "' is not a value of " + p->Enum->TypeName);
  p->SetOrd(instance, v);
}

void SetSetProp(TObject& instance, std::string_view name, std::string_view text)
{
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p || p->Kind != TTypeKind::tkSet || !p->SetOrd)
    return;
  p->SetOrd(instance, StringToSet(*p->Enum, text));
}

void SetStrProp(TObject& instance, std::string_view name, const std::string& value)
{
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p || p->Kind != TTypeKind::tkString || !p->SetStr)
    return;
  p->SetStr(instance, value);
}

void SetObjectProp(TObject& instance, std::string_view name, TObject* value)
{
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p || p->Kind != TTypeKind::tkClass || !p->SetObj)
    return;
  if (value && p->PropClass && !value->InheritsFrom(*p->PropClass))
    throw EPropertyError("A " + value->ClassName() + " cannot be stored in " + std::string(name));
  p->SetObj(instance, value);
}

void SetPropValue(TObject& instance, std::string_view name, const std::string& text)
{
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p)
    return;
  switch (p->Kind) {
  case TTypeKind::tkInteger: {
    if (!p->SetOrd)
      return;
    std::optional<int64_t> v = ParseInteger(text);
    if (!v && p->Idents)
      v = p->Idents->ValueOf(Trimmed(text));
    if (!v)
      throw EPropertyError("'" + text + "' is not a valid integer value");
    p->SetOrd(instance, *v);
    return;
  }
  case TTypeKind::tkEnumeration:
    SetEnumProp(instance, name, text);
    return;
  case TTypeKind::tkSet:
    SetSetProp(instance, name, text);
    return;
  case TTypeKind::tkString:
    SetStrProp(instance, name, text);
    return;
  case TTypeKind::tkClass:
  case TTypeKind::tkMethod:
  case TTypeKind::tkBinary:
    // Objects, events and binary data have no text form to write from.
    return;
  }
}

} // namespace framework
