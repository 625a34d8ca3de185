#pragma once
// Small component classes with every kind of published property, shared by
// the registry and form description suites.
#include <string>
#include <vector>

#include "framework/Collection.h"
#include "framework/Component.h"
#include "framework/StringList.h"
#include "framework/TypeInfo.h"

namespace testcomponents {

using namespace framework;

enum TShape : uint8_t { shCircle, shSquare, shTriangle };
enum TEdge : uint8_t { edLeft, edTop, edRight, edBottom };
using TEdges = uint8_t;

inline const TEnumInfo& ShapeInfo()
{
  static const TEnumInfo info{"TShape", {"shCircle", "shSquare", "shTriangle"}};
  return info;
}
inline const TEnumInfo& EdgeInfo()
{
  static const TEnumInfo info{"TEdge", {"edLeft", "edTop", "edRight", "edBottom"}};
  return info;
}
inline const TIdentMap& ColourIdents()
{
  static const TIdentMap map{{{"clRed", 0x0000FF}, {"clBtnFace", int64_t(int32_t(0x8000000F))}}};
  return map;
}

// A persistent sub-object reached through a dotted path (Pen.Width).
class TPen : public TPersistent {
public:
  static const TClassInfo& ClassType()
  {
    static TClassInfo info("TPen", &TPersistent::ClassType());
    static const bool described = [] {
      info.Int("Width", &TPen::Width, &TPen::SetWidth, int64_t(1));
      info.Str("Style", &TPen::Style, &TPen::SetStyle, "solid");
      return true;
    }();
    (void)described;
    return info;
  }
  const TClassInfo& ClassInfo() const override { return ClassType(); }
  int Width() const { return width; }
  void SetWidth(int w) { width = w; }
  std::string Style() const { return style; }
  void SetStyle(const std::string& s) { style = s; }
  void Assign(const TPersistent& source) override
  {
    const auto& other = dynamic_cast<const TPen&>(source);
    width = other.width;
    style = other.style;
  }
  int width = 1;
  std::string style = "solid";
};

class TTestPanel : public TCollectionItem {
public:
  static const TClassInfo& ClassType()
  {
    static TClassInfo info("TTestPanel", &TCollectionItem::ClassType());
    static const bool described = [] {
      info.Int("Width", &TTestPanel::Width, &TTestPanel::SetWidth, int64_t(50));
      info.Str("Text", &TTestPanel::Text, &TTestPanel::SetText);
      return true;
    }();
    (void)described;
    return info;
  }
  const TClassInfo& ClassInfo() const override { return ClassType(); }
  int Width() const { return width; }
  void SetWidth(int w)
  {
    width = w;
    Changed();
  }
  std::string Text() const { return text; }
  void SetText(const std::string& t) { text = t; }
  int width = 50;
  std::string text;
};

class TWidget : public TComponent {
public:
  explicit TWidget(TComponent* owner) : TComponent(owner) { pen.SetWidth(1); }
  static const TClassInfo& ClassType()
  {
    static TClassInfo info("TWidget", &TComponent::ClassType(), [](TComponent* o) { return new TWidget(o); });
    static const bool described = [] {
      info.Int("Size", &TWidget::Size, &TWidget::SetSize, int64_t(10));
      info.Int("Colour", &TWidget::Colour, &TWidget::SetColour, int64_t(0), &ColourIdents());
      info.Enum("Shape", ShapeInfo(), &TWidget::Shape, &TWidget::SetShape, int64_t(shCircle));
      info.Bool("Active", &TWidget::Active, &TWidget::SetActive, false);
      info.Set("Edges", EdgeInfo(), &TWidget::Edges, &TWidget::SetEdges, int64_t(0));
      info.Str("Caption", &TWidget::Caption, &TWidget::SetCaption);
      info.Object("Pen", TPen::ClassType(), &TWidget::Pen);
      info.Object("Items", TStringList::ClassType(), &TWidget::Items);
      info.Object("Panels", TCollection::ClassType(), &TWidget::Panels);
      TPropInfo& buddy = info.Add(TPropInfo{});
      buddy.Name = "Buddy";
      buddy.Kind = TTypeKind::tkClass;
      buddy.PropClass = &info;
      buddy.GetObj = [](const TObject& o) -> TObject* { return static_cast<const TWidget&>(o).buddy; };
      buddy.SetObj = [](TObject& o, TObject* v) { static_cast<TWidget&>(o).buddy = dynamic_cast<TWidget*>(v); };
      TPropInfo& blob = info.Add(TPropInfo{});
      blob.Name = "Blob";
      blob.Kind = TTypeKind::tkBinary;
      blob.GetBytes = [](const TObject& o) { return static_cast<const TWidget&>(o).blob; };
      blob.SetBytes = [](TObject& o, const std::vector<uint8_t>& b) { static_cast<TWidget&>(o).blob = b; };
      info.Int("Transient", &TWidget::Size, &TWidget::SetSize).Stored = false;
      info.Event("OnPoke", &TWidget::OnPoke);
      info.Event("OnCount", &TWidget::OnCount);
      return true;
    }();
    (void)described;
    return info;
  }
  const TClassInfo& ClassInfo() const override { return ClassType(); }

  int Size() const { return size; }
  void SetSize(int v) { size = v; }
  int32_t Colour() const { return colour; }
  void SetColour(int32_t v) { colour = v; }
  TShape Shape() const { return shape; }
  void SetShape(TShape v) { shape = v; }
  bool Active() const { return active; }
  void SetActive(bool v) { active = v; }
  TEdges Edges() const { return edges; }
  void SetEdges(TEdges v) { edges = v; }
  std::string Caption() const { return caption; }
  void SetCaption(const std::string& v) { caption = v; }
  TPen* Pen() const { return const_cast<TPen*>(&pen); }
  TStringList* Items() const { return const_cast<TStringList*>(&items); }
  TCollection* Panels() const { return const_cast<TCollection*>(&panels); }

  TComponent* GetParentComponent() const override { return parent; }
  bool HasParent() const override { return true; }
  void SetParentComponent(TComponent* p) override { parent = p; }
  void Loaded() override
  {
    loadedWhileLoading = HasState(csLoading);
    TComponent::Loaded();
    ++loadedCount;
  }

  int size = 10;
  int32_t colour = 0;
  TShape shape = shCircle;
  bool active = false;
  TEdges edges = 0;
  std::string caption;
  TPen pen;
  TStringList items;
  TCollection panels{[] { return std::make_unique<TTestPanel>(); }};
  TWidget* buddy = nullptr;
  std::vector<uint8_t> blob;
  TComponent* parent = nullptr;
  int loadedCount = 0;
  bool loadedWhileLoading = false;
  TNotifyEvent OnPoke;
  TEvent<void(TObject*, int&)> OnCount;
};

// A form-like root with published handlers and fields.
class TPanelForm : public TWidget {
public:
  explicit TPanelForm(TComponent* owner) : TWidget(owner) {}
  static const TClassInfo& ClassType()
  {
    static TClassInfo info("TPanelForm", &TWidget::ClassType(), [](TComponent* o) { return new TPanelForm(o); });
    static const bool described = [] {
      info.Method("WidgetPoked", &TPanelForm::WidgetPoked);
      info.Method("CountUp", &TPanelForm::CountUp);
      info.Field("First", &TPanelForm::First);
      return true;
    }();
    (void)described;
    return info;
  }
  const TClassInfo& ClassInfo() const override { return ClassType(); }

  void WidgetPoked(TObject* sender) { poked.push_back(dynamic_cast<TComponent*>(sender)->Name()); }
  void CountUp(TObject*, int& n) { n += 5; }

  TWidget* First = nullptr;
  std::vector<std::string> poked;
};

inline void RegisterTestClasses()
{
  RegisterComponentClass(TWidget::ClassType());
  RegisterComponentClass(TPanelForm::ClassType());
}

} // namespace testcomponents
