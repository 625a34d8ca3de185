// Reads arbitrary text as a form description, the way a form is loaded: parse,
// stream into components, describe them again. Malformed text must end in a
// description error that names a line of the text; anything else (another
// exception, a crash, a hang) is a fault. What parses must also survive the
// writer: its output parses back to the same tree.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "framework/FormDescription.h"
#include "tests/framework/TestComponents.h"

using namespace framework;

namespace {

[[noreturn]] void Fault(const char* what, const std::string& detail)
{
  std::fprintf(stderr, "form description fuzz: %s: %s\n", what, detail.c_str());
  std::abort();
}

// An error must point into the text: lines count from 1 and the last one is
// the line after the final newline.
void CheckErrorLine(const EFormDescriptionError& e, std::string_view text)
{
  int lines = 1;
  for (char c : text)
    lines += c == '\n';
  if (e.Line() < 1 || e.Line() > lines)
    Fault("error names a line outside the text", e.what());
  if (std::string(e.what()).find("line " + std::to_string(e.Line())) == std::string::npos)
    Fault("error message does not name its line", e.what());
}

void ReadIntoComponents(const TFormObject& tree, std::string_view text)
{
  testcomponents::TPanelForm form(nullptr);
  try {
    ReadComponentTree(form, tree, [](const std::string& name) -> std::vector<uint8_t> {
      if (name.size() > 8)
        throw EFOpenError("Cannot open file " + name);
      return std::vector<uint8_t>(name.begin(), name.end());
    });
  } catch (const EFormDescriptionError& e) {
    CheckErrorLine(e, text);
    return;
  }
  // What was read can be described and written again, and that text parses.
  std::string written = WriteFormDescription(DescribeComponentTree(form));
  try {
    (void)ParseFormDescription(written);
  } catch (const EFormDescriptionError& e) {
    Fault("a described component tree does not parse back", std::string(e.what()) + "\n" + written);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static const bool registered = [] {
    testcomponents::RegisterTestClasses();
    return true;
  }();
  (void)registered;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TFormObject tree;
  try {
    tree = ParseFormDescription(text);
  } catch (const EFormDescriptionError& e) {
    CheckErrorLine(e, text);
    return 0;
  }
  std::string written = WriteFormDescription(tree);
  TFormObject again;
  try {
    again = ParseFormDescription(written);
  } catch (const EFormDescriptionError& e) {
    Fault("the writer's output does not parse", std::string(e.what()) + "\n" + written);
  }
  if (WriteFormDescription(again) != written)
    Fault("the writer's output parses to another tree", written);
  ReadIntoComponents(tree, text);
  return 0;
}
