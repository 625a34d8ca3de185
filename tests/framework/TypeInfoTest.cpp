#include <gtest/gtest.h>

#include "TestComponents.h"

using namespace framework;
using namespace testcomponents;

TEST(PropertyRegistry, ReadsAndWritesEveryKindByName)
{
  TWidget w(nullptr);
  SetOrdProp(w, "size", 42);
  EXPECT_EQ(w.size, 42);
  EXPECT_EQ(GetOrdProp(w, "Size"), 42);

  SetEnumProp(w, "Shape", "shTriangle");
  EXPECT_EQ(w.shape, shTriangle);
  EXPECT_EQ(GetEnumProp(w, "shape"), "shTriangle");

  SetEnumProp(w, "Active", "true");
  EXPECT_TRUE(w.active);
  EXPECT_EQ(GetEnumProp(w, "Active"), "True");

  SetSetProp(w, "Edges", "[edTop, edBottom]");
  EXPECT_EQ(w.edges, (1 << edTop) | (1 << edBottom));
  EXPECT_EQ(GetSetProp(w, "Edges"), "[edTop,edBottom]");

  SetStrProp(w, "Caption", "Grüße");
  EXPECT_EQ(GetStrProp(w, "caption"), "Grüße");

  EXPECT_EQ(GetObjectProp(w, "Pen"), &w.pen);
  EXPECT_EQ(GetObjectProp(w, "Pen", &TStringList::ClassType()), nullptr);
}

TEST(PropertyRegistry, SetPropValueParsesTextPerKind)
{
  TWidget w(nullptr);
  SetPropValue(w, "Size", "$1F");
  EXPECT_EQ(w.size, 31);
  SetPropValue(w, "Size", "-7");
  EXPECT_EQ(w.size, -7);
  SetPropValue(w, "Colour", "clBtnFace");
  EXPECT_EQ(w.colour, int32_t(0x8000000F));
  EXPECT_EQ(GetPropValue(w, "Colour"), "clBtnFace");
  SetPropValue(w, "Colour", "0x80000010"); // system colours are negative
  EXPECT_EQ(w.colour, int32_t(0x80000010));
  SetPropValue(w, "Shape", "shSquare");
  EXPECT_EQ(w.shape, shSquare);
  SetPropValue(w, "Edges", "[]");
  EXPECT_EQ(w.edges, 0);
  EXPECT_THROW(SetPropValue(w, "Size", "twelve"), EPropertyError);
  EXPECT_THROW(SetPropValue(w, "Shape", "shHexagon"), EPropertyError);
  EXPECT_THROW(SetPropValue(w, "Edges", "[edLeft,,edTop]"), EPropertyError);
  EXPECT_THROW(SetPropValue(w, "Edges", "edLeft"), EPropertyError);
  EXPECT_EQ(w.size, -7); // failed writes change nothing
}

// Code that handles controls of any class asks without testing first: a
// missing property answers a neutral value and ignores writes.
TEST(PropertyRegistry, MissingPropertiesGiveNeutralAnswers)
{
  TWidget w(nullptr);
  EXPECT_EQ(GetOrdProp(w, "NoSuch"), -1);
  EXPECT_EQ(GetOrdProp(w, "Shape"), -1); // an enumeration is not an integer
  EXPECT_EQ(GetEnumProp(w, "NoSuch"), "");
  EXPECT_EQ(GetStrProp(w, "NoSuch"), "");
  EXPECT_EQ(GetStrProp(w, "Size"), "");
  EXPECT_EQ(GetObjectProp(w, "NoSuch"), nullptr);
  EXPECT_FALSE(IsPublishedProp(w, "NoSuch"));
  EXPECT_NO_THROW(SetPropValue(w, "NoSuch", "garbage"));
  EXPECT_NO_THROW(SetOrdProp(w, "NoSuch", 1));
  EXPECT_NO_THROW(SetStrProp(w, "NoSuch", "x"));
  EXPECT_EQ(w.size, 10);
}

TEST(PropertyRegistry, DerivedClassesInheritAndCanHideProperties)
{
  TClassInfo derived("TDerivedWidget", &TWidget::ClassType());
  derived.Hide("Caption");
  EXPECT_NE(derived.FindProp("Size"), nullptr);
  EXPECT_EQ(derived.FindProp("Caption"), nullptr);
  auto props = derived.Properties();
  ASSERT_FALSE(props.empty());
  EXPECT_EQ(props.front()->Name, "Name"); // base classes first
  for (const TPropInfo* p : props)
    EXPECT_NE(p->Name, "Caption");
  EXPECT_TRUE(derived.InheritsFrom(TComponent::ClassType()));
  EXPECT_FALSE(TComponent::ClassType().InheritsFrom(derived));
}

TEST(PropertyRegistry, EventsBindOnlyHandlersOfTheirSignature)
{
  TPanelForm form(nullptr);
  TWidget w(&form);
  w.SetName("W");
  const TPropInfo* poke = GetPropInfo(w, "OnPoke");
  ASSERT_NE(poke, nullptr);
  const TMethodInfo* handler = TPanelForm::ClassType().FindMethod("widgetpoked");
  ASSERT_NE(handler, nullptr);
  poke->SetMethod(w, handler->Name, handler->Bind(form));
  w.OnPoke(&w);
  EXPECT_EQ(form.poked, std::vector<std::string>{"W"});
  EXPECT_EQ(GetPropValue(w, "OnPoke"), "WidgetPoked");

  const TMethodInfo* counter = TPanelForm::ClassType().FindMethod("CountUp");
  EXPECT_THROW(poke->SetMethod(w, counter->Name, counter->Bind(form)), EPropertyError);
  const TPropInfo* count = GetPropInfo(w, "OnCount");
  count->SetMethod(w, counter->Name, counter->Bind(form));
  int n = 1;
  w.OnCount(&w, n);
  EXPECT_EQ(n, 6);
}

TEST(IntegerText, AcceptsDecimalAndHexRejectsJunkAndOverflow)
{
  EXPECT_EQ(ParseInteger("12"), 12);
  EXPECT_EQ(ParseInteger(" -12 "), -12);
  EXPECT_EQ(ParseInteger("0xff"), 255);
  EXPECT_EQ(ParseInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseInteger("0x100000000"), std::nullopt);
  EXPECT_EQ(ParseInteger("99999999999999999999"), std::nullopt);
  EXPECT_EQ(ParseInteger("12a"), std::nullopt);
  EXPECT_EQ(ParseInteger("-"), std::nullopt);
  EXPECT_EQ(ParseInteger(""), std::nullopt);
}

namespace {

// Integer properties of narrow and unsigned types.
class TGauge : public TComponent {
public:
  explicit TGauge(TComponent* owner) : TComponent(owner) {}
  static const TClassInfo& ClassType()
  {
    static TClassInfo info("TGauge", &TComponent::ClassType(), [](TComponent* o) { return new TGauge(o); });
    static const bool described = [] {
      info.Int("Percent", &TGauge::Percent, &TGauge::SetPercent);
      info.Int("Colour", &TGauge::Colour, &TGauge::SetColour);
      info.Int("Mask", &TGauge::Mask, &TGauge::SetMask);
      return true;
    }();
    (void)described;
    return info;
  }
  const TClassInfo& ClassInfo() const override { return ClassType(); }
  uint8_t Percent() const { return percent; }
  void SetPercent(uint8_t v) { percent = v; }
  int32_t Colour() const { return colour; }
  void SetColour(int32_t v) { colour = v; }
  uint32_t Mask() const { return mask; }
  void SetMask(uint32_t v) { mask = v; }
  uint8_t percent = 0;
  int32_t colour = 0;
  uint32_t mask = 0;
};

} // namespace

TEST(PropertyRegistry, IntegersOutsideTheirTypeAreClampedNotWrapped)
{
  TGauge gauge(nullptr);
  SetOrdProp(gauge, "Percent", 300);
  EXPECT_EQ(gauge.percent, 255); // wrapping would give 44
  SetOrdProp(gauge, "Percent", -5);
  EXPECT_EQ(gauge.percent, 0);
  SetOrdProp(gauge, "Percent", 100);
  EXPECT_EQ(gauge.percent, 100);
  // Thirty-two bits are taken as bits either way round.
  SetOrdProp(gauge, "Colour", int64_t(0x80000010));
  EXPECT_EQ(gauge.colour, int32_t(0x80000010));
  SetOrdProp(gauge, "Mask", -1);
  EXPECT_EQ(gauge.mask, 0xFFFFFFFFu);
  SetOrdProp(gauge, "Colour", int64_t(1) << 40);
  EXPECT_EQ(gauge.colour, INT32_MAX);
  SetOrdProp(gauge, "Mask", -(int64_t(1) << 40));
  EXPECT_EQ(gauge.mask, 0u);
}
