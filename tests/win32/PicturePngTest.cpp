// PNG pictures on the platform: loaded by extension from a file with a
// non-ASCII name, composed over the colour the loader gives, drawn through
// GDI into a DIB section, and offered wherever the player looks for pictures.
#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Picture.h"
#include "framework/PngImage.h"
#include "framework/Streams.h"
#include "framework/win32/Dialogs.h"
#include "framework/win32/FileCtrl.h"
#include "framework/win32/Graphics.h"
#include "gfx/codecs/Png.h"
#include "gfx/win32/GdiInterop.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

using namespace framework;

namespace {

using Bytes = std::vector<uint8_t>;

constexpr gfx::TPixel kOpaque = 0x00C83214;

// 8 x 8: opaque on the left half, transparent on the right.
Bytes HalfClearPng()
{
  gfx::TPixmap pixels(8, 8);
  pixels.Fill(kOpaque);
  Bytes alpha(64);
  for (size_t i = 0; i < alpha.size(); ++i)
    alpha[i] = i % 8 < 4 ? 255 : 0;
  return gfx::EncodePng(pixels, alpha);
}

// A folder of its own under the test's temp folder, removed afterwards.
class PngFiles : public testing::Test {
protected:
  void SetUp() override
  {
    folder_ = testing::TempDir() + "png-pictures-\xC3\xBC";
    CreateDirectoryW(Utf8ToWide(folder_).c_str(), nullptr);
  }
  void TearDown() override
  {
    for (const std::string& path : written_)
      DeleteFileW(Utf8ToWide(path).c_str());
    RemoveDirectoryW(Utf8ToWide(folder_).c_str());
  }
  std::string Write(const std::string& name, const Bytes& bytes)
  {
    const std::string path = folder_ + "\\" + name;
    TMemoryStream(bytes).SaveToFile(path);
    written_.push_back(path);
    return path;
  }

  std::string folder_;
  std::vector<std::string> written_;
};

} // namespace

TEST_F(PngFiles, APngLoadsByExtensionAndDrawsOverTheGivenColour)
{
  const std::string path = Write("Fen\xC3\xAAtre.PNG", HalfClearPng());
  std::unique_ptr<TGraphic> graphic = LoadGraphicFromFile(path, {}, gfx::RGBColor(0x10, 0x80, 0xF0));
  ASSERT_STREQ(graphic->GraphicClassName(), "TPngImage");
  EXPECT_EQ(graphic->Width(), 8);
  EXPECT_EQ(graphic->Height(), 8);

  // Stretched to twice its size by GDI into a DIB section that holds another
  // colour: the left half is the picture's, the right half the given colour.
  TBitmap target(20, 16);
  target.Pixmap().Fill(0x00FFFFFF);
  graphic->Draw(target.Canvas(), gfx::TRect{2, 0, 18, 16});
  GdiFlush();
  for (int32_t y = 0; y < 16; ++y) {
    EXPECT_EQ(target.Pixmap().At(1, y) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(target.Pixmap().At(2, y) & 0xFFFFFF, kOpaque) << y;
    EXPECT_EQ(target.Pixmap().At(9, y) & 0xFFFFFF, kOpaque) << y;
    EXPECT_EQ(target.Pixmap().At(10, y) & 0xFFFFFF, 0x1080F0u) << y;
    EXPECT_EQ(target.Pixmap().At(17, y) & 0xFFFFFF, 0x1080F0u) << y;
  }

  // A picture of the same file through TPicture, then the platform's button
  // colour given as a system colour, which the application asks the platform
  // for.
  InstallSystemColors();
  TPicture picture;
  picture.LoadFromFile(path);
  auto* png = dynamic_cast<TPngImage*>(picture.Graphic());
  ASSERT_NE(png, nullptr);
  png->SetBackground(gfx::clBtnFace);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(png->Bitmap().Pixmap().At(7, 3) & 0xFFFFFF,
            gfx::ColorToPixel(gfx::RGBColor(GetRValue(face), GetGValue(face), GetBValue(face))));
}

TEST_F(PngFiles, TheFolderScanAndThePictureDialogOfferPngFiles)
{
  Write("a.png", HalfClearPng());
  Write("b.bmp", gfx::EncodeBmp(gfx::TPixmap(2, 2), 24));
  Write("c.txt", {'h', 'i'});
  // The player lists a folder's pictures through the registered formats' mask.
  TFileListBox list(nullptr);
  list.SetMask(GraphicFileMask());
  list.ApplyFilePath(folder_);
  ASSERT_EQ(list.Items().Count(), 2);
  EXPECT_EQ(list.Items()[0], "a.png");
  EXPECT_EQ(list.Items()[1], "b.bmp");

  TOpenPictureDialog dialog(nullptr);
  EXPECT_NE(dialog.Filter().find("*.png"), std::string::npos) << dialog.Filter();
  EXPECT_NE(dialog.Filter().find("|PNG Image File (*.png)|*.png"), std::string::npos) << dialog.Filter();
}
