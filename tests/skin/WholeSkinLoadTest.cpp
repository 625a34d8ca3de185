// A skin loads whole or not at all: a package that is damaged somewhere
// leaves the component with exactly the model it had, windows keep painting
// the skin before it, and the next good package loads as if nothing happened.
#include "skin/SkinData.h"

#include "skin/SkinMessages.h"
#include "skin/SkinReader.h"
#include "tests/skin/TestSkin.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

using skin::TSkinData;
using skin::TSkinModel;

// ----- The model as text ------------------------------------------------------

// Size and a checksum of every pixel, so two images compare equal only when
// they are the same picture.
std::string Picture(const framework::TBitmap& b)
{
  uint64_t hash = 14695981039346656037ull;
  auto mix = [&](uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
      hash ^= (value >> shift) & 0xFF;
      hash *= 1099511628211ull;
    }
  };
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x)
      mix(b.ScanLine(y)[x] & 0xFFFFFF);
  std::ostringstream out;
  out << b.Width() << "x" << b.Height() << "#" << std::hex << hash;
  return out.str();
}

std::vector<const skin::TDataSkinObject*> Elements(const TSkinModel& m)
{
  std::vector<const skin::TDataSkinObject*> all{
    m.Buttons.get(),        m.CaptionTitle.get(),    m.BorderLeft.get(),      m.BorderRight.get(),
    m.BorderTop.get(),      m.BorderBottom.get(),    m.Toolbar.get(),         m.Tabs.get(),
    m.UpDownHorz.get(),     m.UpDownVert.get(),      m.ComboButton.get(),     m.Progress.get(),
    m.SunkEdge.get(),       m.ExtraImages.get(),     m.ComboxArrow.get(),     m.GroupBoxEdge.get(),
    m.ToolBars.get(),       m.ProgressChunk.get(),   m.StatusBarEdges.get(),  m.TabPane.get(),
    m.Headerbar.get(),      m.MenuBar.get(),         m.MenuItem.get(),        m.MenuBackground.get(),
    m.Scrollbar.get(),      m.HorzScroll.get(),      m.VertScroll.get(),      m.HorzScrollThumb.get(),
    m.VertScrollThumb.get(), m.ThumbHorz.get(),      m.ThumbVert.get(),       m.ThumbLeft.get(),
    m.ThumbRight.get(),     m.ThumbUp.get(),         m.ThumbDown.get(),       m.Track.get(),
    m.TrackVert.get(),      m.GroupBox.get()};
  for (const auto& b : m.CaptionButtons)
    all.push_back(b.get());
  return all;
}

void Describe(std::ostream& out, const skin::TDataSkinObject& e)
{
  out << e.Name << " margins " << e.LeftWidth << "," << e.TopHeight << "," << e.RightWidth << "," << e.BottomHeight
      << " frame " << e.Frame << " style " << e.Style << " trans " << e.Trans << " tile " << e.Tile << " text "
      << e.NormalColour << "/" << e.MouseOverColour << "/" << e.PressedColour << " " << e.NormalColour2 << "/"
      << e.MouseOverColour2 << "/" << e.PressedColour2 << " image " << Picture(e.Image);
  if (auto* border = dynamic_cast<const skin::TDataSkinBorder*>(&e))
    out << " image2 " << Picture(border->Image2);
  if (auto* button = dynamic_cast<const skin::TDataSkinButton*>(&e))
    out << " check " << Picture(button->CheckImage) << " x" << button->CheckButtonFrame << " radio "
        << Picture(button->RadioImage) << " x" << button->RadioButtonFrame;
  if (auto* title = dynamic_cast<const skin::TDataSkinTitle*>(&e))
    out << " title " << title->FontHeight << " " << title->ActiveText << "/" << title->InActiveText;
  if (auto* caption = dynamic_cast<const skin::TDataSkinSysButton*>(&e))
    out << " action " << caption->Action << " at " << caption->XCoord << "," << caption->YCoord;
}

// Everything a window paints from: the elements with their images, the
// colour table and the other colours.
std::string Snapshot(const TSkinModel& m)
{
  std::ostringstream out;
  out << "skin " << m.SkinName() << " brush " << m.BrushColor() << "\ncolours";
  for (const skin::TSkinColorEntry& c : m.Colors())
    out << " " << c.Color << (c.Given ? "!" : "");
  for (const skin::TNamedColour& c : m.SectionColours())
    out << " " << c.Section << "=" << c.Color;
  for (gfx::TColor c : m.CustomColors())
    out << " " << c;
  out << "\n";
  const auto elements = Elements(m);
  for (size_t k = 0; k < elements.size(); ++k) {
    out << k << " ";
    if (elements[k])
      Describe(out, *elements[k]);
    else
      out << "absent";
    out << "\n";
  }
  return out.str();
}

// ----- Packages ---------------------------------------------------------------

// The stored skin's file names and layout with other pixels and colours: a
// skin that differs from the stored one in every element.
std::vector<skinpack::TPackFile> OtherSkinFiles()
{
  std::vector<skinpack::TPackFile> files;
  const auto& bitmaps = testskin::StoredBitmaps();
  for (size_t k = 0; k < bitmaps.size(); ++k) {
    const gfx::TPixel fill = testskin::FillOf(k) ^ 0x808080;
    files.push_back({bitmaps[k].Name, testskin::SolidBmp(bitmaps[k].Width, bitmaps[k].Height, fill)});
  }
  std::string text = testskin::kStoredDescription;
  for (auto [from, to] : {std::pair{"SkinName=tarsel-TARSEL", "SkinName=other"},
                          std::pair{"ButtonFace=191 210 234", "ButtonFace=20 40 60"},
                          std::pair{"ButtonText=37 67 124", "ButtonText=200 10 10"}})
    text.replace(text.find(from), std::string(from).size(), to);
  files.push_back({"other.ini", std::vector<uint8_t>(text.begin(), text.end())});
  return files;
}

skinpack::TPackFile& File(std::vector<skinpack::TPackFile>& files, const std::string& name)
{
  for (auto& f : files)
    if (f.Name == name)
      return f;
  throw std::invalid_argument(name);
}

// The other skin with one fault each. The damaged bitmaps are read late in
// the load sequence, when a load into the live model would have replaced the
// borders, the colours and most elements already.
struct TDamage {
  const char* What;
  std::vector<uint8_t> (*Package)();
};

const TDamage kDamages[] = {
  {"a bitmap whose header is garbage",
   [] {
     auto files = OtherSkinFiles();
     auto& bytes = File(files, "spinh.bmp").Bytes;
     std::fill(bytes.begin() + 14, bytes.begin() + 30, uint8_t(0xEE));
     return skinpack::BuildPackage(files);
   }},
  {"a bitmap cut short",
   [] {
     auto files = OtherSkinFiles();
     auto& bytes = File(files, "menuitem.bmp").Bytes;
     bytes.resize(bytes.size() / 2);
     return skinpack::BuildPackage(files);
   }},
  {"a size table that runs past the end",
   [] {
     const auto files = OtherSkinFiles();
     std::vector<uint8_t> archive = skinpack::BuildArchive(files);
     // Header, format block, name list, then one 32-bit size per file: the
     // last file claims two gigabytes.
     size_t listLength = 0;
     for (size_t k = 0; k < 4; ++k)
       listLength |= size_t(archive[4 + k]) << (8 * k);
     const size_t last = 16 + size_t(skin::TSkinReader::FormatBlockSize(70000)) + listLength + 4 * (files.size() - 1);
     archive[last + 3] = 0x7F;
     return skinpack::PackArchive(archive);
   }},
  {"an archive format no reader knows",
   [] {
     std::vector<uint8_t> archive = skinpack::BuildArchive(OtherSkinFiles());
     archive[0] = 0x11;
     return skinpack::PackArchive(archive);
   }},
};

// Unknown formats tell the user; here nobody is there to read it.
class WholeSkinLoad : public ::testing::Test {
protected:
  void SetUp() override { previous_ = skin::SetSkinMessageHook([](const std::string&) {}); }
  void TearDown() override { skin::SetSkinMessageHook(previous_); }

  static std::string SnapshotOfLoad(const std::vector<uint8_t>& package)
  {
    TSkinData d(nullptr);
    d.SetPackage(package);
    EXPECT_TRUE(d.ApplyPackage());
    return Snapshot(d);
  }

  // Each damaged package after the good one, then the other skin undamaged.
  static void ExpectEveryDamageChangesNothingAfter(const std::vector<uint8_t>& good)
  {
    const std::string before = SnapshotOfLoad(good);
    const std::string other = SnapshotOfLoad(skinpack::BuildPackage(OtherSkinFiles()));
    // Otherwise a half-done load could not be told from no load.
    ASSERT_NE(before, other);

    for (const TDamage& damage : kDamages) {
      TSkinData d(nullptr);
      d.SetPackage(good);
      ASSERT_TRUE(d.ApplyPackage());
      d.SetPackage(damage.Package());
      EXPECT_FALSE(d.ApplyPackage()) << damage.What;
      EXPECT_TRUE(d.NotLoaded()) << damage.What;
      EXPECT_EQ(Snapshot(d), before) << damage.What;

      // The next good package loads fully.
      d.SetPackage(skinpack::BuildPackage(OtherSkinFiles()));
      EXPECT_TRUE(d.ApplyPackage()) << damage.What;
      EXPECT_FALSE(d.NotLoaded()) << damage.What;
      EXPECT_EQ(Snapshot(d), other) << damage.What;
    }
  }

private:
  skin::TSkinMessageHook previous_ = nullptr;
};

TEST_F(WholeSkinLoad, ADamagedPackageAfterAGoodOneChangesNothing)
{
  ExpectEveryDamageChangesNothingAfter(testskin::StoredPackage());
}

#ifdef SKINDATA_STORED_PACKAGE
// The package the build draws and stores in the player window.
TEST_F(WholeSkinLoad, TheStoredSkinSurvivesADamagedPackage)
{
  std::ifstream in(SKINDATA_STORED_PACKAGE, std::ios::binary);
  if (!in)
    GTEST_SKIP() << "no stored package at " << SKINDATA_STORED_PACKAGE;
  ExpectEveryDamageChangesNothingAfter({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
}
#endif

TEST_F(WholeSkinLoad, ADamagedPackageOnAFreshComponentLeavesTheDefaults)
{
  const std::string defaults = Snapshot(TSkinData(nullptr));
  for (const TDamage& damage : kDamages) {
    TSkinData d(nullptr);
    d.SetPackage(damage.Package());
    EXPECT_FALSE(d.ApplyPackage()) << damage.What;
    EXPECT_TRUE(d.NotLoaded()) << damage.What;
    EXPECT_EQ(Snapshot(d), defaults) << damage.What;
  }
}

TEST_F(WholeSkinLoad, ADamagedSkinFileLeavesThePreviousSkinInPlace)
{
  const std::string good = SnapshotOfLoad(testskin::StoredPackage());
  const auto path = std::filesystem::temp_directory_path() / "whole-skin-load-damaged.skn";
  {
    const auto package = kDamages[0].Package();
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(package.data()), std::streamsize(package.size()));
  }
  TSkinData d(nullptr);
  d.SetPackage(testskin::StoredPackage());
  ASSERT_TRUE(d.ApplyPackage());
  d.SetSkinFile(path.string());
  std::filesystem::remove(path);
  EXPECT_EQ(d.SkinFile(), path.string());
  EXPECT_TRUE(d.NotLoaded());
  EXPECT_EQ(Snapshot(d), good);
}

// The caption font and the hint window belong to the component, not to a skin.
class TCountingPlatform : public skin::TSkinDataPlatform {
public:
  static inline int Made = 0;
  TCountingPlatform() { ++Made; }
  void RemakeCaptionFont() override {}
  void MakeApplicationIcon() override {}
  void ShowHint(gfx::TPoint, const std::string&) override {}
  void HideHint() override {}
  [[nodiscard]] bool HintShowing() const override { return false; }
};

TEST_F(WholeSkinLoad, LoadsKeepTheComponentsPlatformParts)
{
  skin::SetSkinDataPlatformFactory(
    [](TSkinData&) -> std::unique_ptr<skin::TSkinDataPlatform> { return std::make_unique<TCountingPlatform>(); });
  TCountingPlatform::Made = 0;
  {
    TSkinData d(nullptr);
    const skin::TSkinDataPlatform* platform = d.Platform();
    for (const auto& package :
         {testskin::StoredPackage(), kDamages[0].Package(), skinpack::BuildPackage(OtherSkinFiles())}) {
      d.SetPackage(package);
      (void)d.ApplyPackage();
      EXPECT_EQ(d.Platform(), platform);
    }
  }
  skin::SetSkinDataPlatformFactory(nullptr);
  EXPECT_EQ(TCountingPlatform::Made, 1);
}

} // namespace
