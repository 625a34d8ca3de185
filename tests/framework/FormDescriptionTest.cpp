#include <gtest/gtest.h>

#include <map>

#include "TestComponents.h"
#include "framework/FormDescription.h"

using namespace framework;
using namespace testcomponents;

namespace {

const char* kPanelForm = R"(# A form with every kind of value.
TPanelForm Panel {
  Caption = "Main \"window\"\n\u{e9}"
  Size = -3
  Colour = clRed
  Edges = [edLeft, edBottom]
  Pen.Width = 4
  OnPoke = @WidgetPoked
  TWidget First {
    Shape = shSquare
    Active = True
    Buddy = Second
    Items = ["order", "random", "fixed"]
    OnCount = @CountUp
    TWidget Nested { Colour = 0x80000010 }
  }
  TWidget Second {
    Panels = [ { Width = 150 Text = "a" }, { Text = "b" } ]
    Blob = file "second.bin"
    Buddy = Panel
  }
}
)";

struct TLoadedForm {
  TLoadedForm()
  {
    RegisterTestClasses();
    form = std::make_unique<TPanelForm>(nullptr);
  }
  std::unique_ptr<TPanelForm> form;
};

int ErrorLine(std::string_view text)
{
  try {
    (void)ParseFormDescription(text);
  } catch (const EFormDescriptionError& e) {
    EXPECT_NE(std::string(e.what()).find("line " + std::to_string(e.Line())), std::string::npos) << e.what();
    return e.Line();
  }
  ADD_FAILURE() << "no error for: " << text;
  return 0;
}

int ReadErrorLine(std::string_view text, std::string* message = nullptr)
{
  RegisterTestClasses();
  TPanelForm form(nullptr);
  try {
    ReadComponentTree(form, ParseFormDescription(text), [](const std::string& name) -> std::vector<uint8_t> {
      if (name == "missing.bin")
        throw EFOpenError("Cannot open file " + name);
      return {1};
    });
  } catch (const EFormDescriptionError& e) {
    if (message)
      *message = e.what();
    return e.Line();
  }
  ADD_FAILURE() << "no error for: " << text;
  return 0;
}

} // namespace

TEST(FormDescriptionParser, ReadsNestingValuesAndLines)
{
  TFormObject root = ParseFormDescription(kPanelForm);
  EXPECT_EQ(root.ClassName, "TPanelForm");
  EXPECT_EQ(root.Name, "Panel");
  EXPECT_EQ(root.Line, 2);
  ASSERT_EQ(root.Children.size(), 2u);
  EXPECT_EQ(root.FindProperty("caption")->Value.Text, "Main \"window\"\n\xC3\xA9");
  EXPECT_EQ(root.FindProperty("Size")->Value.Integer, -3);
  EXPECT_EQ(root.FindProperty("Pen.Width")->Line, 7);
  const TFormObject* nested = root.FindChild("Nested");
  ASSERT_NE(nested, nullptr);
  EXPECT_EQ(nested->FindProperty("Colour")->Value.Integer, int64_t(int32_t(0x80000010)));
  const TFormValue& items = root.Children[0].FindProperty("Items")->Value;
  EXPECT_TRUE(items.ItemsAreStrings);
  EXPECT_EQ(items.Items, (std::vector<std::string>{"order", "random", "fixed"}));
  EXPECT_EQ(root.Children[1].FindProperty("Blob")->Value.Kind, TFormValue::TKind::vkFile);
}

TEST(FormDescriptionParser, WriterOutputParsesBackToTheSameTree)
{
  TFormObject root = ParseFormDescription(kPanelForm);
  std::string text = WriteFormDescription(root);
  TFormObject again = ParseFormDescription(text);
  EXPECT_EQ(WriteFormDescription(again), text);
  EXPECT_EQ(again.FindProperty("Caption")->Value, root.FindProperty("Caption")->Value);
  // Control characters survive as escapes.
  TFormObject odd;
  odd.ClassName = "TWidget";
  odd.Name = "W";
  odd.Properties.push_back(TFormProperty{"Caption", TFormValue{TFormValue::TKind::vkString, 0, "a\x01\tb\\", {}, false, {}}, 0});
  EXPECT_EQ(ParseFormDescription(WriteFormDescription(odd)).FindProperty("Caption")->Value.Text, "a\x01\tb\\");
}

TEST(FormDescriptionParser, MalformedTextNamesTheLine)
{
  EXPECT_EQ(ErrorLine(""), 1);
  EXPECT_EQ(ErrorLine("TForm F {\n  Caption = \"open\n}\n"), 2);      // unterminated string
  EXPECT_EQ(ErrorLine("TForm F {\n  Size = \n}\n"), 3);                 // value missing
  EXPECT_EQ(ErrorLine("TForm F {\n  Size 12\n}\n"), 2);                 // '=' missing
  EXPECT_EQ(ErrorLine("TForm F {\n  TButton B {\n  }\n"), 4);           // unclosed at end of text
  EXPECT_EQ(ErrorLine("TForm F {\n}\nTForm G {}\n"), 3);                // second root
  EXPECT_EQ(ErrorLine("TForm F {\n  X = [a, \"b\"]\n}"), 2);            // mixed list
  EXPECT_EQ(ErrorLine("TForm F {\n  X = [a b]\n}"), 2);
  EXPECT_EQ(ErrorLine("TForm F {\n\n  X = 12abc\n}"), 3);
  EXPECT_EQ(ErrorLine("TForm F {\n  X = 99999999999999999999\n}"), 2);
  EXPECT_EQ(ErrorLine("TForm F {\n  X = \"\\q\"\n}"), 2);
  EXPECT_EQ(ErrorLine("TForm F {\n  X = \"\\u{D800}\"\n}"), 2);
  EXPECT_EQ(ErrorLine("TForm F {\n  X = file 12\n}"), 2);
  EXPECT_EQ(ErrorLine("TForm F {\n  X = ;\n}"), 2);
  EXPECT_EQ(ErrorLine("TForm {\n}"), 1);
  EXPECT_EQ(ErrorLine("TForm F {\n  P = [ { W = 1 } x ]\n}"), 2);
  EXPECT_EQ(ErrorLine("TForm F {\n  P = [ { W = [ { X = 1 } ] } ]\n}"), 2);
  EXPECT_EQ(ErrorLine("TForm F {\n  P = [ { W = 1 }\n"), 3);
  EXPECT_EQ(ErrorLine(std::string("TForm F {\n  X = \"a\0b\"\n}", 23)), 2);
  EXPECT_EQ(ErrorLine(std::string("TForm F {\n}\0", 12)), 2);
}

TEST(FormDescriptionParser, DeepNestingIsRefusedNotFollowed)
{
  std::string text;
  for (int i = 0; i < 10000; ++i)
    text += "TW w" + std::to_string(i) + " {\n";
  EXPECT_THROW((void)ParseFormDescription(text), EFormDescriptionError);

  // Collections inside collections are refused at the first one, however
  // deep the text goes on nesting them.
  std::string items = "TW w {\n  P = ";
  for (int i = 0; i < 200000; ++i)
    items += "[ { W = ";
  EXPECT_EQ(ErrorLine(items), 2);
}

TEST(FormDescriptionReader, CreatesComponentsSetsPropertiesAndBindsHandlers)
{
  TLoadedForm f;
  std::vector<std::string> asked;
  ReadComponentTree(*f.form, ParseFormDescription(kPanelForm), [&](const std::string& name) {
    asked.push_back(name);
    return std::vector<uint8_t>{9, 8, 7};
  });
  TPanelForm& form = *f.form;
  EXPECT_EQ(form.Name(), "Panel");
  EXPECT_EQ(form.caption, "Main \"window\"\n\xC3\xA9");
  EXPECT_EQ(form.colour, 0x0000FF);
  EXPECT_EQ(form.edges, (1 << edLeft) | (1 << edBottom));
  EXPECT_EQ(form.pen.width, 4);

  ASSERT_EQ(form.ComponentCount(), 3); // First, Nested, Second: all owned by the form
  auto* first = dynamic_cast<TWidget*>(form.FindComponent("First"));
  auto* second = dynamic_cast<TWidget*>(form.FindComponent("Second"));
  auto* nested = dynamic_cast<TWidget*>(form.FindComponent("Nested"));
  ASSERT_TRUE(first && second && nested);
  EXPECT_EQ(form.First, first); // the published field was filled
  EXPECT_EQ(first->parent, &form);
  EXPECT_EQ(nested->parent, first);
  EXPECT_EQ(first->buddy, second); // a reference to a component written later
  EXPECT_EQ(second->buddy, &form);
  EXPECT_EQ(first->items.Count(), 3);
  EXPECT_EQ(second->blob, (std::vector<uint8_t>{9, 8, 7}));
  ASSERT_EQ(second->panels.Count(), 2);
  EXPECT_EQ(second->panels.ItemAs<TTestPanel>(0)->width, 150);
  EXPECT_EQ(second->panels.ItemAs<TTestPanel>(1)->width, 50);
  EXPECT_EQ(second->panels.ItemAs<TTestPanel>(1)->text, "b");
  EXPECT_EQ(asked, std::vector<std::string>{"second.bin"});

  form.OnPoke(&form);
  EXPECT_EQ(form.poked, std::vector<std::string>{"Panel"});
  int n = 0;
  first->OnCount(first, n);
  EXPECT_EQ(n, 5);

  // Loaded ran once for each, after reading, while still in the loading state.
  for (TWidget* w : {static_cast<TWidget*>(&form), first, second, nested}) {
    EXPECT_EQ(w->loadedCount, 1) << w->Name();
    EXPECT_TRUE(w->loadedWhileLoading);
    EXPECT_FALSE(w->HasState(csLoading));
  }
}

TEST(FormDescriptionReader, BadContentNamesTheLineAndTheProblem)
{
  std::string message;
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n  Size = \"big\"\n}", &message), 2);
  EXPECT_NE(message.find("Size"), std::string::npos) << message;
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n\n  Nope = 1\n}", &message), 3);
  EXPECT_NE(message.find("no property Nope"), std::string::npos) << message;
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n  TMissing M {}\n}", &message), 2);
  EXPECT_NE(message.find("TMissing"), std::string::npos) << message;
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n  Shape = shOval\n}"), 2);
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n  Edges = [edLeft, edMiddle]\n}"), 2);
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n  Colour = clPlaid\n}"), 2);
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n  OnPoke = @NoSuchHandler\n}"), 2);
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n  OnPoke = @CountUp\n}"), 2); // wrong signature
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n  Buddy = Nobody\n}"), 2);
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n  Pen.Colour = 3\n}"), 2);
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n  Size.Width = 3\n}"), 2);
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n  TWidget A {}\n  TWidget a {}\n}"), 3);
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n  TWidget A {\n    Blob = file \"missing.bin\"\n  }\n}", &message), 3);
  EXPECT_NE(message.find("missing.bin"), std::string::npos) << message;
  EXPECT_EQ(ReadErrorLine("TWidget P {\n}", &message), 1); // description of another class
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n  First = Second\n}"), 2);
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n  Panels = [ {\n    Depth = 2 } ]\n}", &message), 3);
  EXPECT_NE(message.find("TTestPanel has no property Depth"), std::string::npos) << message;
  EXPECT_EQ(ReadErrorLine("TPanelForm P {\n  Items = [ { Width = 2 } ]\n}"), 2);
}

TEST(FormDescriptionWriter, DescribesLiveComponentsAndReadsBackEqual)
{
  TLoadedForm f;
  std::map<std::string, std::vector<uint8_t>> files;
  ReadComponentTree(*f.form, ParseFormDescription(kPanelForm),
                    [](const std::string&) { return std::vector<uint8_t>{1, 2, 3}; });
  f.form->size = 77; // Transient is not stored, though it reads the same field
  TFormObject described = DescribeComponentTree(*f.form, [&](const std::string& name, const std::vector<uint8_t>& data) {
    files[name] = data;
    return name;
  });
  EXPECT_EQ(described.FindProperty("Transient"), nullptr);
  EXPECT_EQ(described.FindProperty("Shape"), nullptr); // default not written
  EXPECT_EQ(described.FindProperty("Colour")->Value.Text, "clRed");
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files.begin()->first, "Panel.Second.Blob.bin");
  const TFormObject* nested = described.FindChild("Nested");
  ASSERT_NE(nested, nullptr);
  EXPECT_NE(described.Children[0].FindChild("Nested"), nullptr); // kept under its parent

  TPanelForm copy(nullptr);
  ReadComponentTree(copy, ParseFormDescription(WriteFormDescription(described)),
                    [&](const std::string& name) { return files.at(name); });
  EXPECT_EQ(copy.size, 77);
  EXPECT_EQ(copy.caption, f.form->caption);
  EXPECT_EQ(copy.pen.width, 4);
  auto* first = dynamic_cast<TWidget*>(copy.FindComponent("First"));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->buddy, copy.FindComponent("Second"));
  EXPECT_EQ(first->OnCount.HandlerName(), "CountUp");
  auto* second = dynamic_cast<TWidget*>(copy.FindComponent("Second"));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->blob, (std::vector<uint8_t>{1, 2, 3}));
  const auto* panel = second->panels.ItemAs<TTestPanel>(0);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->text, "a");
  EXPECT_EQ(WriteFormDescription(DescribeComponentTree(copy, [](const std::string& n, const std::vector<uint8_t>&) {
              return n;
            })),
            WriteFormDescription(described));
}
