#include "framework/FormDescription.h"

#include <algorithm>
#include <map>

#include "framework/Collection.h"
#include "framework/StringList.h"
#include "framework/TypeInfo.h"

namespace framework {

// [SECTION] Lexer and parser
// [SECTION] Writer
// [SECTION] Reading into components
// [SECTION] Describing components

bool operator==(const TFormValue& a, const TFormValue& b)
{
  return a.Kind == b.Kind && a.Integer == b.Integer && a.Text == b.Text && a.Items == b.Items &&
         a.ItemsAreStrings == b.ItemsAreStrings && a.Collection == b.Collection;
}

const TFormProperty* TFormObject::FindProperty(std::string_view path) const
{
  for (const auto& p : Properties)
    if (SameText(p.Path, path))
      return &p;
  return nullptr;
}

const TFormObject* TFormObject::FindChild(std::string_view name) const
{
  for (const auto& c : Children) {
    if (SameText(c.Name, name))
      return &c;
    if (const TFormObject* found = c.FindChild(name))
      return found;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// [SECTION] Lexer and parser

namespace {

// Deep nesting cannot come from a real form; the limit keeps a hostile file
// from exhausting the stack.
constexpr int kMaxDepth = 64;

enum class TToken { tkEnd, tkIdent, tkInteger, tkString, tkEquals, tkDot, tkComma, tkAt, tkLBrace, tkRBrace, tkLBracket, tkRBracket };

class TLexer {
public:
  explicit TLexer(std::string_view text) : text_(text) { Next(); }

  TToken Kind() const { return kind_; }
  const std::string& Text() const { return value_; }
  int64_t Integer() const { return integer_; }
  int Line() const { return tokenLine_; }

  [[noreturn]] void Fail(const std::string& message) const { throw EFormDescriptionError(tokenLine_, message); }

  void Next()
  {
    SkipSpace();
    tokenLine_ = line_;
    value_.clear();
    if (pos_ >= text_.size()) {
      kind_ = TToken::tkEnd;
      return;
    }
    char c = text_[pos_];
    if (IsIdentStart(c)) {
      size_t start = pos_;
      while (pos_ < text_.size() && (IsIdentStart(text_[pos_]) || IsDigit(text_[pos_])))
        ++pos_;
      value_ = std::string(text_.substr(start, pos_ - start));
      kind_ = TToken::tkIdent;
      return;
    }
    if (IsDigit(c) || ((c == '-' || c == '+') && pos_ + 1 < text_.size() && IsDigit(text_[pos_ + 1]))) {
      size_t start = pos_++;
      while (pos_ < text_.size() && (IsIdentStart(text_[pos_]) || IsDigit(text_[pos_])))
        ++pos_;
      std::string literal(text_.substr(start, pos_ - start));
      auto v = ParseInteger(literal);
      if (!v)
        Fail("'" + literal + "' is not a valid number");
      integer_ = *v;
      value_ = literal;
      kind_ = TToken::tkInteger;
      return;
    }
    ++pos_;
    switch (c) {
    case '"':
      ReadString();
      kind_ = TToken::tkString;
      return;
    case '=': kind_ = TToken::tkEquals; return;
    case '.': kind_ = TToken::tkDot; return;
    case ',': kind_ = TToken::tkComma; return;
    case '@': kind_ = TToken::tkAt; return;
    case '{': kind_ = TToken::tkLBrace; return;
    case '}': kind_ = TToken::tkRBrace; return;
    case '[': kind_ = TToken::tkLBracket; return;
    case ']': kind_ = TToken::tkRBracket; return;
    default:
      break;
    }
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
      Fail("unexpected character (code " + std::to_string(static_cast<unsigned char>(c)) + ")");
    Fail(std::string("unexpected character '") + c + "'");
  }

private:
  static bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  void SkipSpace()
  {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '#') {
        while (pos_ < text_.size() && text_[pos_] != '\n')
          ++pos_;
      } else {
        break;
      }
    }
  }

  static void AppendUtf8(std::string& out, uint32_t cp)
  {
    if (cp < 0x80) {
      out += char(cp);
    } else if (cp < 0x800) {
      out += char(0xC0 | (cp >> 6));
      out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += char(0xE0 | (cp >> 12));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    } else {
      out += char(0xF0 | (cp >> 18));
      out += char(0x80 | ((cp >> 12) & 0x3F));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    }
  }

  void ReadString()
  {
    for (;;) {
      if (pos_ >= text_.size() || text_[pos_] == '\n')
        Fail("unterminated string");
      char c = text_[pos_++];
      if (c == '"')
        return;
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
        Fail("a control character inside a string; write it as an escape");
      if (c != '\\') {
        value_ += c;
        continue;
      }
      if (pos_ >= text_.size())
        Fail("unterminated string");
      char e = text_[pos_++];
      switch (e) {
      case '"': value_ += '"'; break;
      case '\\': value_ += '\\'; break;
      case 'n': value_ += '\n'; break;
      case 'r': value_ += '\r'; break;
      case 't': value_ += '\t'; break;
      case 'u': {
        if (pos_ >= text_.size() || text_[pos_] != '{')
          Fail("\\u must be followed by {hex digits}");
        size_t close = text_.find('}', pos_);
        if (close == std::string_view::npos || close - pos_ - 1 == 0 || close - pos_ - 1 > 6)
          Fail("bad \\u{...} escape");
        std::string hex(text_.substr(pos_ + 1, close - pos_ - 1));
        uint32_t cp = 0;
        for (char h : hex) {
          int d = (h >= '0' && h <= '9') ? h - '0' : (h >= 'a' && h <= 'f') ? h - 'a' + 10 : (h >= 'A' && h <= 'F') ? h - 'A' + 10 : -1;
          if (d < 0)
            Fail("bad \\u{...} escape");
          cp = cp * 16 + uint32_t(d);
        }
        if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
          Fail("\\u{" + hex + "} is not a character");
        AppendUtf8(value_, cp);
        pos_ = close + 1;
        break;
      }
      default:
        Fail(std::string("unknown escape \\") + e);
      }
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
  int tokenLine_ = 1;
  TToken kind_ = TToken::tkEnd;
  std::string value_;
  int64_t integer_ = 0;
};

class TParser {
public:
  explicit TParser(std::string_view text) : lex_(text) {}

  TFormObject ParseFile()
  {
    if (lex_.Kind() == TToken::tkEnd)
      lex_.Fail("the description is empty");
    TFormObject root = ParseObject(0);
    if (lex_.Kind() != TToken::tkEnd)
      lex_.Fail("text after the end of the outermost component");
    return root;
  }

private:
  std::string ExpectIdent(const std::string& what)
  {
    if (lex_.Kind() != TToken::tkIdent)
      lex_.Fail("expected " + what);
    std::string text = lex_.Text();
    lex_.Next();
    return text;
  }

  TFormObject ParseObject(int depth)
  {
    if (depth > kMaxDepth)
      lex_.Fail("components nested too deeply");
    TFormObject object;
    object.Line = lex_.Line();
    object.ClassName = ExpectIdent("a class name");
    object.Name = ExpectIdent("a component name after the class name " + object.ClassName);
    if (lex_.Kind() != TToken::tkLBrace)
      lex_.Fail("expected '{' after " + object.ClassName + " " + object.Name);
    lex_.Next();
    ParseBody(object, depth);
    return object;
  }

  void ParseBody(TFormObject& object, int depth)
  {
    if (depth > kMaxDepth)
      lex_.Fail("components nested too deeply");
    while (lex_.Kind() != TToken::tkRBrace) {
      if (lex_.Kind() == TToken::tkEnd)
        lex_.Fail("missing '}' to close " + object.Name + " (opened on line " + std::to_string(object.Line) + ")");
      if (lex_.Kind() != TToken::tkIdent)
        lex_.Fail("expected a property or a component");
      int line = lex_.Line();
      std::string first = lex_.Text();
      lex_.Next();
      if (lex_.Kind() == TToken::tkIdent) {
        TFormObject child;
        child.Line = line;
        child.ClassName = first;
        child.Name = lex_.Text();
        lex_.Next();
        if (lex_.Kind() != TToken::tkLBrace)
          lex_.Fail("expected '{' after " + child.ClassName + " " + child.Name);
        lex_.Next();
        ParseBody(child, depth + 1);
        object.Children.push_back(std::move(child));
        continue;
      }
      object.Properties.push_back(ParseProperty(first, line));
    }
    lex_.Next();
  }

  TFormProperty ParseProperty(std::string path, int line, bool inItem = false)
  {
    while (lex_.Kind() == TToken::tkDot) {
      lex_.Next();
      path += '.';
      path += ExpectIdent("a property name after '.'");
    }
    if (lex_.Kind() != TToken::tkEquals)
      lex_.Fail("expected '=' after " + path);
    lex_.Next();
    TFormProperty property;
    property.Path = std::move(path);
    property.Line = line;
    property.Value = ParseValue(property.Path, inItem);
    return property;
  }

  // "[ { props } { props } ]", the opening bracket already read.
  void ParseCollection(TFormValue& v, const std::string& path)
  {
    v.Kind = TFormValue::TKind::vkCollection;
    while (lex_.Kind() != TToken::tkRBracket) {
      if (lex_.Kind() == TToken::tkComma && !v.Collection.empty()) {
        lex_.Next();
        continue;
      }
      if (lex_.Kind() != TToken::tkLBrace)
        lex_.Fail("expected '{' or ']' in the items of " + path);
      lex_.Next();
      std::vector<TFormProperty> item;
      while (lex_.Kind() != TToken::tkRBrace) {
        if (lex_.Kind() != TToken::tkIdent)
          lex_.Fail("expected a property of an item of " + path);
        int line = lex_.Line();
        std::string name = lex_.Text();
        lex_.Next();
        item.push_back(ParseProperty(name, line, true));
      }
      lex_.Next();
      v.Collection.push_back(std::move(item));
    }
    lex_.Next();
  }

  // inItem: the value belongs to an item of a collection, where another
  // collection is refused at its first brace, before it is followed: a
  // hostile text nesting them deeply would otherwise exhaust the stack.
  TFormValue ParseValue(const std::string& path, bool inItem)
  {
    TFormValue v;
    switch (lex_.Kind()) {
    case TToken::tkInteger:
      v.Kind = TFormValue::TKind::vkInteger;
      v.Integer = lex_.Integer();
      lex_.Next();
      return v;
    case TToken::tkString:
      v.Kind = TFormValue::TKind::vkString;
      v.Text = lex_.Text();
      lex_.Next();
      return v;
    case TToken::tkAt:
      lex_.Next();
      v.Kind = TFormValue::TKind::vkHandler;
      v.Text = ExpectIdent("a handler name after '@'");
      return v;
    case TToken::tkIdent:
      if (lex_.Text() == "file") {
        lex_.Next();
        if (lex_.Kind() != TToken::tkString)
          lex_.Fail("expected a file name in quotes after file");
        v.Kind = TFormValue::TKind::vkFile;
        v.Text = lex_.Text();
        if (v.Text.empty())
          lex_.Fail("empty file name");
        lex_.Next();
        return v;
      }
      v.Kind = TFormValue::TKind::vkIdent;
      v.Text = lex_.Text();
      lex_.Next();
      return v;
    case TToken::tkLBracket: {
      v.Kind = TFormValue::TKind::vkList;
      lex_.Next();
      if (lex_.Kind() == TToken::tkLBrace) {
        if (inItem)
          lex_.Fail("collections cannot nest");
        ParseCollection(v, path);
        return v;
      }
      bool first = true;
      while (lex_.Kind() != TToken::tkRBracket) {
        if (!first) {
          if (lex_.Kind() != TToken::tkComma)
            lex_.Fail("expected ',' or ']' in the list of " + path);
          lex_.Next();
        }
        bool isString = lex_.Kind() == TToken::tkString;
        if (!isString && lex_.Kind() != TToken::tkIdent)
          lex_.Fail("a list holds identifiers or strings");
        if (!first && isString != v.ItemsAreStrings)
          lex_.Fail("a list cannot mix identifiers and strings");
        v.ItemsAreStrings = isString;
        v.Items.push_back(lex_.Text());
        lex_.Next();
        first = false;
      }
      lex_.Next();
      return v;
    }
    default:
      lex_.Fail("expected a value for " + path);
    }
  }

  TLexer lex_;
};

} // namespace

TFormObject ParseFormDescription(std::string_view text) { return TParser(text).ParseFile(); }

// ---------------------------------------------------------------------------
// [SECTION] Writer

namespace {

std::string Quoted(const std::string& text)
{
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
    case '"': out += "\\\""; break;
    case '\\': out += "\\\\"; break;
    case '\n': out += "\\n"; break;
    case '\r': out += "\\r"; break;
    case '\t': out += "\\t"; break;
    default:
      if (c < 0x20) {
        static const char* hex = "0123456789ABCDEF";
        out += "\\u{";
        if (c >= 16)
          out += hex[c >> 4];
        out += hex[c & 15];
        out += '}';
      } else {
        out += char(c);
      }
    }
  }
  return out + "\"";
}

std::string ValueText(const TFormValue& v);

std::string ValueText(const TFormValue& v)
{
  switch (v.Kind) {
  case TFormValue::TKind::vkInteger:
    return std::to_string(v.Integer);
  case TFormValue::TKind::vkIdent:
    return v.Text;
  case TFormValue::TKind::vkString:
    return Quoted(v.Text);
  case TFormValue::TKind::vkHandler:
    return "@" + v.Text;
  case TFormValue::TKind::vkFile:
    return "file " + Quoted(v.Text);
  case TFormValue::TKind::vkCollection: {
    std::string out = "[";
    for (const auto& item : v.Collection) {
      out += " {";
      for (const auto& p : item)
        out += " " + p.Path + " = " + ValueText(p.Value);
      out += " }";
    }
    return out + " ]";
  }
  case TFormValue::TKind::vkList: {
    std::string out = "[";
    for (size_t i = 0; i < v.Items.size(); ++i) {
      if (i)
        out += ", ";
      out += v.ItemsAreStrings ? Quoted(v.Items[i]) : v.Items[i];
    }
    return out + "]";
  }
  }
  return {};
}

void WriteObject(std::string& out, const TFormObject& object, int depth)
{
  std::string indent(size_t(depth) * 2, ' ');
  out += indent + object.ClassName + " " + object.Name + " {\n";
  for (const auto& p : object.Properties)
    out += indent + "  " + p.Path + " = " + ValueText(p.Value) + "\n";
  for (const auto& c : object.Children)
    WriteObject(out, c, depth + 1);
  out += indent + "}\n";
}

} // namespace

std::string WriteFormDescription(const TFormObject& object)
{
  std::string out;
  WriteObject(out, object, 0);
  return out;
}

// ---------------------------------------------------------------------------
// [SECTION] Reading into components

namespace {

struct TReference {
  TObject* Instance;
  std::string Property;
  std::string Target;
  int Line;
};

class TTreeReader {
public:
  TTreeReader(TComponent& root, const TBinaryLoader& loader) : root_(root), loader_(loader) {}

  void Read(const TFormObject& description)
  {
    if (!SameText(description.ClassName, root_.ClassName()))
      throw EFormDescriptionError(description.Line, "the description is for a " + description.ClassName +
                                                        ", not for a " + root_.ClassName());
    Guard(description.Line, [&] {
      if (!SameText(root_.Name(), description.Name))
        root_.SetName(description.Name);
    });
    root_.BeginLoading();
    ApplyObject(root_, description, 0);
    for (const TReference& ref : references_)
      Guard(ref.Line, [&] {
        TComponent* target = SameText(ref.Target, root_.Name()) ? &root_ : root_.FindComponent(ref.Target);
        if (!target)
          throw Exception("no component named " + ref.Target);
        const TPropInfo* p = GetPropInfo(*ref.Instance, ref.Property);
        if (target && p->PropClass && !target->InheritsFrom(*p->PropClass))
          throw Exception(ref.Target + " is a " + target->ClassName() + ", which " + ref.Property + " cannot hold");
        p->SetObj(*ref.Instance, target);
      });
    for (TComponent* c : created_)
      c->EndReading();
    root_.EndReading();
    for (TComponent* c : created_)
      c->Loaded();
    root_.Loaded();
  }

private:
  template <class F>
  void Guard(int line, F&& action)
  {
    try {
      action();
    } catch (const EFormDescriptionError&) {
      throw;
    } catch (const std::exception& e) {
      throw EFormDescriptionError(line, e.what());
    }
  }

  void ApplyObject(TComponent& component, const TFormObject& description, int depth)
  {
    for (const auto& p : description.Properties)
      Guard(p.Line, [&] { ApplyProperty(component, p); });
    for (const auto& child : description.Children) {
      TComponent* created = nullptr;
      Guard(child.Line, [&] { created = CreateChild(component, child); });
      ApplyObject(*created, child, depth + 1);
    }
  }

  TComponent* CreateChild(TComponent& parent, const TFormObject& description)
  {
    const TClassInfo* cls = FindClass(description.ClassName);
    if (!cls)
      throw Exception("the class " + description.ClassName + " is not registered");
    if (!IsValidIdent(description.Name))
      throw Exception("'" + description.Name + "' is not a valid component name");
    TComponent* component = root_.FindComponent(description.Name);
    if (component) {
      // A component the form made itself: the description sets its properties.
      if (!component->InheritsFrom(*cls) || std::find(created_.begin(), created_.end(), component) != created_.end())
        throw Exception("a component named " + description.Name + " already exists");
    } else {
      component = cls->Create(&root_);
      component->BeginLoading();
      component->SetName(description.Name);
    }
    created_.push_back(component);
    component->SetParentComponent(&parent);
    if (const TFieldInfo* field = root_.ClassInfo().FindField(description.Name))
      if (!field->Set(root_, component))
        throw Exception("the field " + description.Name + " of " + root_.ClassName() + " cannot hold a " +
                        description.ClassName);
    return component;
  }

  void ApplyProperty(TObject& component, const TFormProperty& property)
  {
    TObject* instance = &component;
    std::string_view path = property.Path;
    for (size_t dot = path.find('.'); dot != std::string_view::npos; dot = path.find('.')) {
      std::string_view head = path.substr(0, dot);
      const TPropInfo* p = GetPropInfo(*instance, head);
      if (!p)
        throw Exception(instance->ClassName() + " has no property " + std::string(head));
      if (p->Kind != TTypeKind::tkClass || !p->GetObj)
        throw Exception(std::string(head) + " has no properties of its own");
      instance = p->GetObj(*instance);
      if (!instance)
        throw Exception(std::string(head) + " holds no object");
      path.remove_prefix(dot + 1);
    }
    const TPropInfo* p = GetPropInfo(*instance, path);
    if (!p)
      throw Exception(instance->ClassName() + " has no property " + std::string(path));
    if (SameText(p->Name, "Name") && instance == &component && dynamic_cast<TComponent*>(instance))
      throw Exception("the name is given after the class name, not as a property");
    const TFormValue& v = property.Value;
    using K = TFormValue::TKind;
    auto mismatch = [&]() -> Exception {
      return Exception("the value " + ValueText(v) + " does not fit the property " + p->Name);
    };
    switch (p->Kind) {
    case TTypeKind::tkInteger:
      if (!p->SetOrd)
        throw Exception(p->Name + " is read-only");
      if (v.Kind == K::vkInteger) {
        p->SetOrd(*instance, v.Integer);
      } else if (v.Kind == K::vkIdent && p->Idents) {
        auto value = p->Idents->ValueOf(v.Text);
        if (!value)
          throw Exception("'" + v.Text + "' is not a value of " + p->Name);
        p->SetOrd(*instance, *value);
      } else {
        throw mismatch();
      }
      return;
    case TTypeKind::tkEnumeration: {
      if (v.Kind != K::vkIdent)
        throw mismatch();
      if (!p->SetOrd)
        throw Exception(p->Name + " is read-only");
      int value = p->Enum->ValueOf(v.Text);
      if (value < 0)
        throw Exception("'" + v.Text + "' is not a value of " + p->Enum->TypeName);
      p->SetOrd(*instance, value);
      return;
    }
    case TTypeKind::tkSet: {
      if (v.Kind != K::vkList || (v.ItemsAreStrings && !v.Items.empty()))
        throw mismatch();
      if (!p->SetOrd)
        throw Exception(p->Name + " is read-only");
      int64_t bits = 0;
      for (const auto& item : v.Items) {
        int value = p->Enum->ValueOf(item);
        if (value < 0 || value >= 64)
          throw Exception("'" + item + "' is not a member of " + p->Enum->TypeName);
        bits |= int64_t(1) << value;
      }
      p->SetOrd(*instance, bits);
      return;
    }
    case TTypeKind::tkString:
      if (v.Kind != K::vkString)
        throw mismatch();
      if (!p->SetStr)
        throw Exception(p->Name + " is read-only");
      p->SetStr(*instance, v.Text);
      return;
    case TTypeKind::tkClass: {
      if (v.Kind == K::vkIdent) {
        if (v.Text == "nil") {
          if (p->SetObj)
            p->SetObj(*instance, nullptr);
          return;
        }
        if (!p->SetObj)
          throw Exception(p->Name + " is read-only");
        references_.push_back(TReference{instance, p->Name, v.Text, property.Line});
        return;
      }
      if (v.Kind == K::vkCollection || (v.Kind == K::vkList && v.Items.empty())) {
        auto* collection = dynamic_cast<TCollection*>(p->GetObj ? p->GetObj(*instance) : nullptr);
        if (collection) {
          collection->BeginUpdate();
          try {
            collection->Clear();
            for (const auto& item : v.Collection) {
              TCollectionItem* target = collection->Add();
              for (const auto& itemProperty : item)
                Guard(itemProperty.Line, [&] { ApplyProperty(*target, itemProperty); });
            }
          } catch (...) {
            collection->EndUpdate();
            throw;
          }
          collection->EndUpdate();
          return;
        }
        if (v.Kind == K::vkCollection)
          throw mismatch();
      }
      if (v.Kind == K::vkList && (v.ItemsAreStrings || v.Items.empty())) {
        auto* list = dynamic_cast<TStringList*>(p->GetObj ? p->GetObj(*instance) : nullptr);
        if (!list)
          throw mismatch();
        TStringList items;
        for (const auto& item : v.Items)
          items.Add(item);
        list->Assign(items);
        return;
      }
      throw mismatch();
    }
    case TTypeKind::tkMethod: {
      if (v.Kind != K::vkHandler)
        throw mismatch();
      const TMethodInfo* method = root_.ClassInfo().FindMethod(v.Text);
      if (!method)
        throw Exception(root_.ClassName() + " has no handler " + v.Text);
      p->SetMethod(*instance, method->Name, method->Bind(root_));
      return;
    }
    case TTypeKind::tkBinary:
      if (v.Kind != K::vkFile)
        throw mismatch();
      if (!loader_)
        throw Exception("no files are available for " + p->Name);
      p->SetBytes(*instance, loader_(v.Text));
      return;
    }
  }

  TComponent& root_;
  const TBinaryLoader& loader_;
  std::vector<TComponent*> created_;
  std::vector<TReference> references_;
};

} // namespace

void ReadComponentTree(TComponent& root, const TFormObject& description, const TBinaryLoader& loader)
{
  TTreeReader(root, loader).Read(description);
}

// ---------------------------------------------------------------------------
// [SECTION] Describing components

namespace {

class TTreeDescriber {
public:
  TTreeDescriber(const TComponent& root, const TBinarySaver& saver) : root_(root), saver_(saver) {}

  TFormObject Describe()
  {
    TFormObject top = Header(root_);
    DescribeProperties(root_, "", root_.Name(), top.Properties, 0);
    // Every owned component goes under the component it is placed on, or
    // under the form when it has no parent within the form.
    std::map<const TComponent*, std::vector<const TComponent*>> childrenOf;
    for (int i = 0; i < root_.ComponentCount(); ++i) {
      const TComponent* c = root_.Components(i);
      const TComponent* parent = c->GetParentComponent();
      if (!parent || (parent != &root_ && parent->Owner() != &root_))
        parent = &root_;
      childrenOf[parent].push_back(c);
    }
    AddChildren(top, &root_, childrenOf, 0);
    return top;
  }

private:
  static TFormObject Header(const TComponent& c)
  {
    TFormObject o;
    o.ClassName = c.ClassName();
    o.Name = c.Name();
    return o;
  }

  void AddChildren(TFormObject& node, const TComponent* parent,
                   std::map<const TComponent*, std::vector<const TComponent*>>& childrenOf, int depth)
  {
    if (depth > kMaxDepth)
      return;
    auto it = childrenOf.find(parent);
    if (it == childrenOf.end())
      return;
    for (const TComponent* c : it->second) {
      TFormObject child = Header(*c);
      DescribeProperties(*c, "", root_.Name() + "." + c->Name(), child.Properties, 0);
      AddChildren(child, c, childrenOf, depth + 1);
      node.Children.push_back(std::move(child));
    }
  }

  void DescribeProperties(const TObject& instance, const std::string& prefix, const std::string& fileStem,
                          std::vector<TFormProperty>& out, int depth)
  {
    if (depth > 8)
      return; // sub-objects do not nest deeply; this stops a cycle
    for (const TPropInfo* p : instance.ClassInfo().Properties()) {
      if (prefix.empty() && SameText(p->Name, "Name"))
        continue;
      if (!p->IsStored(instance))
        continue;
      TFormValue v;
      using K = TFormValue::TKind;
      switch (p->Kind) {
      case TTypeKind::tkInteger: {
        if (!p->GetOrd || !p->SetOrd)
          continue;
        int64_t value = p->GetOrd(instance);
        if (p->Default && *p->Default == value)
          continue;
        auto ident = p->Idents ? p->Idents->NameOf(value) : std::nullopt;
        if (ident) {
          v.Kind = K::vkIdent;
          v.Text = *ident;
        } else {
          v.Kind = K::vkInteger;
          v.Integer = value;
        }
        break;
      }
      case TTypeKind::tkEnumeration: {
        if (!p->GetOrd || !p->SetOrd)
          continue;
        int64_t value = p->GetOrd(instance);
        if (p->Default && *p->Default == value)
          continue;
        v.Kind = K::vkIdent;
        v.Text = p->Enum->NameOf(value);
        break;
      }
      case TTypeKind::tkSet: {
        if (!p->GetOrd || !p->SetOrd)
          continue;
        int64_t value = p->GetOrd(instance);
        if (p->Default && *p->Default == value)
          continue;
        v.Kind = K::vkList;
        for (size_t i = 0; i < p->Enum->Names.size() && i < 64; ++i)
          if ((uint64_t(value) >> i) & 1u)
            v.Items.push_back(p->Enum->Names[i]);
        break;
      }
      case TTypeKind::tkString: {
        if (!p->GetStr || !p->SetStr)
          continue;
        std::string value = p->GetStr(instance);
        if (value == p->DefaultStr)
          continue;
        v.Kind = K::vkString;
        v.Text = std::move(value);
        break;
      }
      case TTypeKind::tkMethod: {
        std::string name = p->GetMethodName ? p->GetMethodName(instance) : std::string();
        if (name.empty())
          continue;
        v.Kind = K::vkHandler;
        v.Text = std::move(name);
        break;
      }
      case TTypeKind::tkBinary: {
        if (!p->GetBytes || !saver_)
          continue;
        std::vector<uint8_t> bytes = p->GetBytes(instance);
        if (bytes.empty())
          continue;
        v.Kind = K::vkFile;
        v.Text = saver_(fileStem + "." + prefix + p->Name + ".bin", bytes);
        break;
      }
      case TTypeKind::tkClass: {
        TObject* value = p->GetObj ? p->GetObj(instance) : nullptr;
        if (!value)
          continue;
        if (auto* list = dynamic_cast<const TStringList*>(value)) {
          if (list->Count() == 0)
            continue;
          v.Kind = K::vkList;
          v.ItemsAreStrings = true;
          for (int i = 0; i < list->Count(); ++i)
            v.Items.push_back(list->Strings(i));
          break;
        }
        if (auto* collection = dynamic_cast<const TCollection*>(value)) {
          if (collection->Count() == 0)
            continue;
          v.Kind = K::vkCollection;
          for (int i = 0; i < collection->Count(); ++i) {
            std::vector<TFormProperty> item;
            DescribeProperties(*collection->Item(i), "", fileStem + "." + p->Name + std::to_string(i), item, depth + 1);
            v.Collection.push_back(std::move(item));
          }
          break;
        }
        auto* component = dynamic_cast<const TComponent*>(value);
        if (component && (component == &root_ || component->Owner() == &root_)) {
          v.Kind = K::vkIdent;
          v.Text = component->Name();
          break;
        }
        if (!component)
          DescribeProperties(*value, prefix + p->Name + ".", fileStem, out, depth + 1);
        continue;
      }
      }
      out.push_back(TFormProperty{prefix + p->Name, std::move(v), 0});
    }
  }

  const TComponent& root_;
  const TBinarySaver& saver_;
};

} // namespace

TFormObject DescribeComponentTree(const TComponent& root, const TBinarySaver& saver)
{
  return TTreeDescriber(root, saver).Describe();
}

} // namespace framework
