// The probe skin as the build drew and packed it: the stored skin's files,
// sizes, depths and description, every frame one flat colour of its own with
// magenta where the stored skin is transparent, and the colour lookup the
// Win32 suites use to name what they read back. The skin data model loads
// it like the stored skin and hands every element the frames it expects.
#include "gfx/codecs/Bmp.h"
#include "skin/QuickIni.h"
#include "skin/SkinData.h"
#include "skin/SkinReader.h"
#include "tools/skinart/ProbeColours.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

using probeskin::FindProbeFrame;
using probeskin::kElements;
using probeskin::ProbeColour;

namespace {

std::vector<uint8_t> ReadFile(const char* path)
{
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ProbeSkin : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(probe_.Open(ReadFile(PLAYER_PROBE_SKIN))) << PLAYER_PROBE_SKIN;
    ASSERT_TRUE(stored_.Open(ReadFile(PLAYER_STORED_SKIN))) << PLAYER_STORED_SKIN;
  }

  static gfx::TBmpImage Bitmap(const skin::TSkinReader& reader, std::string_view name)
  {
    std::vector<uint8_t> bytes;
    reader.ExtractByName(name, bytes);
    return gfx::DecodeBmpImage(bytes);
  }

  static skin::TQuickIni Description(const skin::TSkinReader& reader)
  {
    std::vector<uint8_t> text;
    reader.ExtractByPart(".ini", text);
    skin::TQuickIni ini;
    ini.Load(text);
    return ini;
  }

  skin::TSkinReader probe_;
  skin::TSkinReader stored_;
};

// Which frame of a strip of n frames a pixel of an image w x h lies in.
int32_t FrameAt(int32_t x, int32_t y, int32_t w, int32_t h, int32_t n, bool stacked)
{
  return stacked ? y / (h / n) : x / (w / n);
}

} // namespace

TEST(ProbeColours, EveryFrameHasItsOwnColourAndTheLookupNamesIt)
{
  std::set<uint32_t> seen;
  for (size_t e = 0; e < kElements.size(); ++e)
    for (int32_t f = 0; f < kElements[e].Frames; ++f) {
      const uint32_t c = ProbeColour(e, f);
      EXPECT_TRUE(seen.insert(c).second) << kElements[e].Bitmap << " frame " << f;
      EXPECT_EQ(ProbeColour(kElements[e].Bitmap, f), c);
      const auto found = FindProbeFrame(c);
      ASSERT_TRUE(found.has_value()) << kElements[e].Bitmap << " frame " << f;
      EXPECT_EQ(*found, (probeskin::TProbeFrame{e, f}));
      // A display of fewer colours rounds each channel down a little; the
      // pixel still names its frame when a tolerance is given, never
      // without one.
      const uint32_t rounded = c - 0x070707;
      EXPECT_EQ(FindProbeFrame(rounded, 8), found);
      EXPECT_EQ(FindProbeFrame(rounded), std::nullopt);
    }
  EXPECT_EQ(seen.size(), size_t(probeskin::kTotalFrames));
  EXPECT_EQ(probeskin::kTotalFrames, 182);

  // Outside an element there is no colour, and unknown names have none.
  EXPECT_EQ(ProbeColour(size_t{0}, 5), 0u);
  EXPECT_EQ(ProbeColour(size_t{0}, -1), 0u);
  EXPECT_EQ(ProbeColour(kElements.size(), 0), 0u);
  EXPECT_EQ(ProbeColour("nothing.bmp", 0), 0u);
  EXPECT_EQ(probeskin::FindElement("frametop.bmp"), size_t{31});
}

TEST(ProbeColours, LookupAgreesWithTheColoursOverTheWholeCube)
{
  // The lookup inverts the colour function through tables; over a lattice of
  // the colour cube it must name exactly the frames whose colour lies within
  // the tolerance, as a search over every frame does.
  std::vector<std::pair<uint32_t, probeskin::TProbeFrame>> all;
  for (size_t e = 0; e < kElements.size(); ++e)
    for (int32_t f = 0; f < kElements[e].Frames; ++f)
      all.push_back({ProbeColour(e, f), {e, f}});
  const auto search = [&](uint32_t rgb, int32_t tolerance) -> std::optional<probeskin::TProbeFrame> {
    for (const auto& [c, frame] : all) {
      const auto within = [&](int32_t shift) {
        return std::abs(int32_t((rgb >> shift) & 0xFF) - int32_t((c >> shift) & 0xFF)) <= tolerance;
      };
      if (within(16) && within(8) && within(0))
        return frame;
    }
    return std::nullopt;
  };
  int32_t named = 0;
  for (uint32_t r = 0; r < 256; r += 4)
    for (uint32_t g = 1; g < 256; g += 5)
      for (uint32_t b = 2; b < 256; b += 3) {
        const uint32_t rgb = (r << 16) | (g << 8) | b;
        for (const int32_t tolerance : {0, 9, 15}) {
          const auto found = FindProbeFrame(rgb, tolerance);
          ASSERT_EQ(found, search(rgb, tolerance)) << std::hex << rgb << std::dec << " tolerance " << tolerance;
          named += found ? 1 : 0;
        }
      }
  EXPECT_GT(named, 0);
  // Exactly at the tolerance a pixel is named; one step further it is not.
  const uint32_t c = ProbeColour("closebutton.bmp", 2);
  EXPECT_EQ(FindProbeFrame(c + 0x0F0F0F, 15), FindProbeFrame(c));
  EXPECT_EQ(FindProbeFrame(c - 0x0F0F0F, 15), FindProbeFrame(c));
  EXPECT_EQ(FindProbeFrame(c + 0x100000, 15), std::nullopt);
  EXPECT_EQ(FindProbeFrame(c + 0x0F0F0F, 40), FindProbeFrame(c));
}

TEST(ProbeColours, NothingAWindowShowsUnskinnedIsTakenForAFrame)
{
  // Black, white, the key colour, the face and shadow greys of the usual
  // schemes, caption and selection blues, and the stored skin's own theme
  // colours; even with the widest tolerance none names a frame.
  const uint32_t plain[] = {0x000000, 0xFFFFFF, 0xFF00FF, 0xFF01FF, 0xC0C0C0, 0x808080, 0xD4D0C8, 0xF0F0F0,
                            0xA0A0A0, 0x0A246A, 0x0054E3, 0x000080, 0x316AC5, 0xA6CAF0, 0xBFD2EA, 0x25437C,
                            0x9EB0CD, 0x8695C1, 0xF1F4FA, 0x5564A5, 0x7E96D6, 0xFFFFE1};
  for (const uint32_t c : plain)
    EXPECT_EQ(FindProbeFrame(c, 15), std::nullopt) << std::hex << c;
  // Every probe colour is clearly coloured: its channels spread by 64 or more.
  for (size_t e = 0; e < kElements.size(); ++e)
    for (int32_t f = 0; f < kElements[e].Frames; ++f) {
      const uint32_t c = ProbeColour(e, f);
      const int32_t r = int32_t(c >> 16), g = int32_t((c >> 8) & 0xFF), b = int32_t(c & 0xFF);
      EXPECT_GE(std::max({r, g, b}) - std::min({r, g, b}), 64) << std::hex << c;
    }
}

TEST_F(ProbeSkin, HasTheStoredFilesWithTheirSizesAndDepths)
{
  ASSERT_EQ(probe_.Names().size(), stored_.Names().size());
  ASSERT_EQ(probe_.Names().size(), kElements.size() + 1);
  for (size_t k = 0; k < kElements.size(); ++k) {
    EXPECT_EQ(probe_.Names()[k], stored_.Names()[k]);
    EXPECT_EQ(probe_.Names()[k], kElements[k].Bitmap);
  }
  EXPECT_EQ(probe_.Names().back(), probeskin::kDescriptionName);
  for (const auto& element : kElements) {
    SCOPED_TRACE(element.Bitmap);
    const gfx::TBmpImage p = Bitmap(probe_, element.Bitmap);
    const gfx::TBmpImage s = Bitmap(stored_, element.Bitmap);
    EXPECT_EQ(p.Pixels.Width(), s.Pixels.Width());
    EXPECT_EQ(p.Pixels.Height(), s.Pixels.Height());
    EXPECT_EQ(p.BitsPerPixel, s.BitsPerPixel);
  }
}

TEST_F(ProbeSkin, EveryFrameIsFlatWithMagentaWhereTheStoredSkinIsTransparent)
{
  // Frames the stored art leaves wholly transparent stay so in the probe: a
  // suite sees what is under them, as with the stored skin.
  std::set<std::pair<std::string_view, int32_t>> whollyTransparent;
  for (size_t e = 0; e < kElements.size(); ++e) {
    const auto& element = kElements[e];
    SCOPED_TRACE(element.Bitmap);
    const gfx::TBmpImage probe = Bitmap(probe_, element.Bitmap);
    const gfx::TBmpImage stored = Bitmap(stored_, element.Bitmap);
    const int32_t w = probe.Pixels.Width(), h = probe.Pixels.Height();
    ASSERT_EQ((element.Stacked ? h : w) % element.Frames, 0);
    std::vector<int32_t> opaque(size_t(element.Frames), 0);
    int32_t wrong = 0;
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        const int32_t frame = FrameAt(x, y, w, h, element.Frames, element.Stacked);
        const bool transparent = (stored.Pixels.At(x, y) & 0xFFFFFF) == probeskin::kMagenta;
        const uint32_t expected = transparent ? probeskin::kMagenta : ProbeColour(e, frame);
        if ((probe.Pixels.At(x, y) & 0xFFFFFF) != expected && wrong++ < 3)
          ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << probe.Pixels.At(x, y) << ", not "
                        << expected;
        opaque[size_t(frame)] += transparent ? 0 : 1;
      }
    for (int32_t f = 0; f < element.Frames; ++f)
      if (opaque[size_t(f)] == 0)
        whollyTransparent.insert({element.Bitmap, f});
  }
  // The normal menu item, and the spare scroll bar frame.
  EXPECT_EQ(whollyTransparent, (std::set<std::pair<std::string_view, int32_t>>{
                                 {"menuitem.bmp", 0}, {"scrollbararrow.bmp", 22}}));
}

TEST_F(ProbeSkin, DescriptionHasTheStoredKeysUnderItsOwnName)
{
  const skin::TQuickIni probe = Description(probe_);
  const skin::TQuickIni stored = Description(stored_);
  EXPECT_EQ(probe.ReadString("TitlebarSkin", "SkinName", ""), probeskin::kSkinName);
  ASSERT_EQ(probe.Lines().size(), stored.Lines().size());
  for (size_t k = 0; k < probe.Lines().size(); ++k) {
    if (skin::TQuickIni::SplitEntry(stored.Lines()[k]).Key == "skinname")
      continue;
    EXPECT_EQ(probe.Lines()[k], stored.Lines()[k]);
  }
  // Every image key names a bitmap the colour table knows, under the key the
  // table gives for it.
  for (const auto& element : kElements) {
    std::string value = probe.ReadString(element.Section, element.Key, "");
    for (char& c : value)
      c = char(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(value, element.Bitmap) << element.Section << "/" << element.Key;
  }
}

namespace {

// The colour a pixel of a model element's image must have: magenta, or the
// colour of the frame of bitmap that the pixel lies in, frames counted from
// firstFrame.
void ExpectFrames(const framework::TBitmap& image, std::string_view bitmap, int32_t frames, bool stacked,
                  int32_t firstFrame = 0, bool mirrored = false)
{
  SCOPED_TRACE(std::string(bitmap));
  ASSERT_FALSE(image.Empty());
  const int32_t w = image.Width(), h = image.Height();
  std::set<int32_t> shown;
  int32_t wrong = 0;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t pixel = image.ScanLine(y)[x] & 0xFFFFFF;
      if (pixel == probeskin::kMagenta)
        continue;
      int32_t frame = FrameAt(x, y, w, h, frames, stacked);
      if (mirrored)
        frame = frames - 1 - frame;
      const uint32_t expected = ProbeColour(bitmap, firstFrame + frame);
      if (pixel != expected && wrong++ < 3)
        ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << pixel << ", frame " << std::dec
                      << firstFrame + frame << " is " << std::hex << expected;
      shown.insert(frame);
    }
  EXPECT_EQ(wrong, 0);
  // Every frame shows somewhere, except those the art leaves transparent.
  EXPECT_GE(shown.size(), size_t(frames) - (bitmap == "menuitem.bmp" || bitmap == "scrollbararrow.bmp" ? 1 : 0));
}

} // namespace

TEST_F(ProbeSkin, TheModelCutsEveryElementIntoTheFramesOfTheColourTable)
{
  skin::TSkinData probe(nullptr);
  probe.SetPackage(ReadFile(PLAYER_PROBE_SKIN));
  ASSERT_TRUE(probe.ApplyPackage());
  skin::TSkinData stored(nullptr);
  stored.SetPackage(ReadFile(PLAYER_STORED_SKIN));
  ASSERT_TRUE(stored.ApplyPackage());
  EXPECT_EQ(probe.SkinName(), probeskin::kSkinName);

  struct TPair {
    const skin::TDataSkinObject* Probe;
    const skin::TDataSkinObject* Stored;
    std::string_view Bitmap;
    // How the window frame cuts it: the caption and bottom border stacked.
    bool Stacked = false;
  };
  const TPair pairs[] = {
    {probe.Buttons.get(), stored.Buttons.get(), "buttons.bmp"},
    {probe.Progress.get(), stored.Progress.get(), "progress.bmp"},
    {probe.ProgressChunk.get(), stored.ProgressChunk.get(), "progresschunk.bmp"},
    {probe.Tabs.get(), stored.Tabs.get(), "tab.bmp"},
    {probe.TabPane.get(), stored.TabPane.get(), "tabsheet.bmp"},
    {probe.StatusBarEdges.get(), stored.StatusBarEdges.get(), "statusbar.bmp"},
    {probe.Headerbar.get(), stored.Headerbar.get(), "header.bmp"},
    {probe.Scrollbar.get(), stored.Scrollbar.get(), "scrollbararrow.bmp"},
    {probe.HorzScrollThumb.get(), stored.HorzScrollThumb.get(), "scrollbarhthumb.bmp"},
    {probe.VertScrollThumb.get(), stored.VertScrollThumb.get(), "scrollbarvthumb.bmp"},
    {probe.HorzScroll.get(), stored.HorzScroll.get(), "scrollbarhbar.bmp"},
    {probe.VertScroll.get(), stored.VertScroll.get(), "scrollbarvbar.bmp"},
    {probe.MenuBackground.get(), stored.MenuBackground.get(), "menubackground.bmp"},
    {probe.MenuItem.get(), stored.MenuItem.get(), "menuitem.bmp"},
    {probe.ExtraImages.get(), stored.ExtraImages.get(), "extraimages.bmp"},
    {probe.ThumbHorz.get(), stored.ThumbHorz.get(), "trackthumbh.bmp"},
    {probe.ThumbDown.get(), stored.ThumbDown.get(), "trackbot.bmp"},
    {probe.UpDownVert.get(), stored.UpDownVert.get(), "spin.bmp"},
    {probe.UpDownHorz.get(), stored.UpDownHorz.get(), "spinh.bmp"},
    {probe.BorderLeft.get(), stored.BorderLeft.get(), "frameleft.bmp"},
    {probe.BorderRight.get(), stored.BorderRight.get(), "frameright.bmp"},
    {probe.BorderTop.get(), stored.BorderTop.get(), "frametop.bmp", true},
    {probe.BorderBottom.get(), stored.BorderBottom.get(), "framebottom.bmp", true},
    {probe.CaptionButtons[0].get(), stored.CaptionButtons[0].get(), "closebutton.bmp"},
    {probe.CaptionButtons[1].get(), stored.CaptionButtons[1].get(), "maxbutton.bmp"},
    {probe.CaptionButtons[2].get(), stored.CaptionButtons[2].get(), "minbutton.bmp"},
    {probe.CaptionButtons[3].get(), stored.CaptionButtons[3].get(), "restrorebutton.bmp"},
  };
  for (const TPair& pair : pairs) {
    SCOPED_TRACE(std::string(pair.Bitmap));
    ASSERT_NE(pair.Probe, nullptr);
    ASSERT_NE(pair.Stored, nullptr);
    const auto& element = kElements[*probeskin::FindElement(pair.Bitmap)];
    // The probe is cut exactly as the stored skin, into the table's frames.
    EXPECT_EQ(pair.Probe->FrameCount(), pair.Stored->FrameCount());
    EXPECT_EQ(pair.Probe->FrameCount(), element.Frames);
    EXPECT_EQ(pair.Probe->LeftWidth, pair.Stored->LeftWidth);
    EXPECT_EQ(pair.Probe->TopHeight, pair.Stored->TopHeight);
    EXPECT_EQ(pair.Probe->RightWidth, pair.Stored->RightWidth);
    EXPECT_EQ(pair.Probe->BottomHeight, pair.Stored->BottomHeight);
    EXPECT_EQ(pair.Probe->Trans, pair.Stored->Trans);
    EXPECT_EQ(pair.Probe->Tile, pair.Stored->Tile);
    EXPECT_EQ(pair.Probe->Image.Width(), pair.Stored->Image.Width());
    EXPECT_EQ(pair.Probe->Image.Height(), pair.Stored->Image.Height());
    EXPECT_EQ(element.Stacked, pair.Stacked);
    ExpectFrames(pair.Probe->Image, pair.Bitmap, element.Frames, pair.Stacked);
  }

  // The images that ride along with another element.
  EXPECT_EQ(probe.Buttons->CheckButtonFrame, stored.Buttons->CheckButtonFrame);
  EXPECT_EQ(probe.Buttons->RadioButtonFrame, stored.Buttons->RadioButtonFrame);
  ExpectFrames(probe.Buttons->CheckImage, "checkbox.bmp", probe.Buttons->CheckButtonFrame, false);
  ExpectFrames(probe.Buttons->RadioImage, "radiobutton.bmp", probe.Buttons->RadioButtonFrame, false);
  ExpectFrames(probe.UpDownVert->Image2, "spinarrow.bmp", 8, false);
  ExpectFrames(probe.UpDownHorz->Image2, "spinharrow.bmp", 8, false);
  // The combo button's mirror image holds its frames in reverse order.
  ExpectFrames(probe.ComboButton->Image, "comboboxbtn.bmp", 4, false);
  ExpectFrames(probe.ComboButton->Image2, "comboboxbtn.bmp", 4, false, 0, true);
  // The three MDI buttons take four frames each of one strip.
  ASSERT_EQ(probe.CaptionButtons.size(), 8u);
  for (int32_t i = 0; i < 3; ++i)
    ExpectFrames(probe.CaptionButtons[size_t(5 + i)]->Image, "mdibutton.bmp", 4, false, 4 * i);
  // The frame colour is read from the first caption frame.
  EXPECT_EQ(gfx::ColorToPixel(probe.Color(skin::scFrameColor)), ProbeColour("frametop.bmp", 0));
}
