// The skin model as skin authors read it from skinpack.
#include "tools/skinpack/ModelDump.h"

#include "skin/SkinData.h"
#include "tests/skin/TestSkin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <sstream>

namespace {

std::string Dump(const std::vector<uint8_t>& package)
{
  skin::TSkinData d(nullptr);
  d.SetPackage(package);
  EXPECT_TRUE(d.ApplyPackage());
  std::ostringstream out;
  skinpack::DumpSkinModel(d, out);
  if (std::getenv("SKINDATA_PRINT_DUMP"))
    std::cout << out.str();
  return out.str();
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(ModelDump, ListsElementsColoursAndCaptionButtons)
{
  const std::string text = Dump(testskin::StoredPackage());
  EXPECT_TRUE(Has(text, "skin \"tarsel-TARSEL\"\n")) << text;
  EXPECT_TRUE(Has(text, "  Buttons            image 100x23  Frame 5  margins L5 T5 R6 B5  Trans 1")) << text;
  EXPECT_TRUE(Has(text, "  SunkEdge           absent\n")) << text;
  EXPECT_TRUE(Has(text, "  Scrollbar          image 391x17  Frame 23")) << text;
  EXPECT_TRUE(Has(text, "check 156x13 x12  radio 104x13 x8")) << text;
  EXPECT_TRUE(Has(text, "   3 ButtonFace         191 210 234      given\n")) << text;
  EXPECT_TRUE(Has(text, "   0 WindowText         system(8)        default\n")) << text;
  EXPECT_TRUE(Has(text, "  BUTTON1  Action 1  Align 1  at 49,5  Visibility 2/6  CombineOp -1  Frame 6  image 126x21\n"))
    << text;
  EXPECT_TRUE(Has(text, "  MDICONTROLS  Action 9  Align 100  at 17,0  Visibility 100/100  CombineOp -1  Frame 4  image 52x13\n"))
    << text;
  EXPECT_TRUE(Has(text, "  ComboxArrow  68x17\n")) << text;
  EXPECT_TRUE(Has(text, "frame borders: left 4  top 29  right 4  bottom 5\n")) << text;
}

TEST(ModelDump, AnEmptyDescriptionStillDumpsEverySection)
{
  const std::string text = Dump(testskin::Package(""));
  EXPECT_TRUE(Has(text, "  Tabs               absent\n")) << text;
  EXPECT_TRUE(Has(text, "  Track              image 16x4  Frame 1  margins L3 T3 R3 B3")) << text;
  EXPECT_TRUE(Has(text, "COLOUR sections: none\n")) << text;
  EXPECT_TRUE(Has(text, "frame borders: left 0  top 0  right 0  bottom 0\n")) << text;
}

} // namespace
