#include "framework/BitmapGraphic.h"
#include "framework/Canvas.h"
#include "framework/Icon.h"
#include "framework/JPEGImage.h"
#include "framework/Metafile.h"
#include "framework/Picture.h"
#include "framework/PngImage.h"
#include "framework/Streams.h"
#include "framework/TypeInfo.h"
#include "gfx/codecs/Bmp.h"
#include "gfx/codecs/Ico.h"
#include "gfx/codecs/Jpeg.h"
#include "gfx/codecs/Png.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace framework;
using gfx::TPixel;
using gfx::TPixmap;

namespace {

using Bytes = std::vector<uint8_t>;

// Files of one test live in a folder of their own under the test's temp
// folder; the names carry non-ASCII characters on purpose.
class PictureFiles : public testing::Test {
protected:
  std::string Path(const std::string& name) { return testing::TempDir() + "picture-test-" + name; }

  std::string Write(const std::string& name, const Bytes& bytes)
  {
    const std::string path = Path(name);
    TMemoryStream(bytes).SaveToFile(path);
    written_.push_back(path);
    return path;
  }

  void TearDown() override
  {
    for (const std::string& path : written_)
      std::remove(path.c_str()); // the native names are the UTF-8 bytes
  }

  std::vector<std::string> written_;
};

TPixmap Pattern(int32_t w, int32_t h)
{
  TPixmap p(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      p.At(x, y) = TPixel((x * 40) << 16 | (y * 60) << 8 | 0x30);
  return p;
}

Bytes Bmp24(int32_t w, int32_t h)
{
  return gfx::EncodeBmp(Pattern(w, h), 24);
}

TPixel At(const TBitmap& b, int32_t x, int32_t y)
{
  return b.Pixmap().At(x, y) & 0x00FFFFFF;
}

} // namespace

// --- Formats and extensions ----------------------------------------------------

TEST(GraphicFormats, TheRegisteredExtensionsMakeTheFolderMask)
{
  EXPECT_EQ(GraphicExtensions(), (std::vector<std::string>{"bmp", "ico", "wmf", "emf", "jpg", "jpeg", "png"}));
  EXPECT_EQ(GraphicFileMask(), "*.bmp;*.ico;*.wmf;*.emf;*.jpg;*.jpeg;*.png");
  const std::string filter = GraphicFilter();
  EXPECT_EQ(filter.rfind("All (*.bmp;*.ico;*.wmf;*.emf;*.jpg;*.jpeg;*.png)|*.bmp;*.ico;*.wmf;*.emf;*.jpg;*.jpeg;*.png|", 0),
            0u);
  EXPECT_NE(filter.find("|Enhanced Metafiles (*.emf)|*.emf"), std::string::npos);
  EXPECT_NE(filter.find("|PNG Image File (*.png)|*.png"), std::string::npos);

  EXPECT_STREQ(CreateGraphicForFile("C:\\Photos\\Beach.JPEG")->GraphicClassName(), "TJPEGImage");
  EXPECT_STREQ(CreateGraphicForFile("a.b/icon.Ico")->GraphicClassName(), "TIcon");
  EXPECT_STREQ(CreateGraphicForFile("x.emf")->GraphicClassName(), "TMetafile");
  EXPECT_STREQ(CreateGraphicForFile("Shot.PNG")->GraphicClassName(), "TPngImage");
  EXPECT_EQ(CreateGraphicForFile("archive.bmp.zip"), nullptr);
  EXPECT_EQ(CreateGraphicForFile("folder.bmp/readme"), nullptr);
  EXPECT_EQ(CreateGraphicForFile("noextension"), nullptr);
  EXPECT_STREQ(CreateGraphicByClassName("TBitmap")->GraphicClassName(), "TBitmap");
  EXPECT_STREQ(CreateGraphicByClassName("TPngImage")->GraphicClassName(), "TPngImage");
  EXPECT_EQ(CreateGraphicByClassName("TTiffImage"), nullptr);
}

// --- Loading files ------------------------------------------------------------

TEST_F(PictureFiles, ExtensionChoosesTheGraphicWhateverItsCase)
{
  TPicture picture;
  picture.LoadFromFile(Write("größe.BMP", Bmp24(6, 4)));
  ASSERT_NE(picture.Graphic(), nullptr);
  EXPECT_STREQ(picture.Graphic()->GraphicClassName(), "TBitmap");
  EXPECT_EQ(picture.Width(), 6);
  EXPECT_EQ(picture.Height(), 4);
  EXPECT_EQ(At(picture.Bitmap(), 5, 3), Pattern(6, 4).At(5, 3));
  EXPECT_EQ(picture.Bitmap().PixelFormat(), pf24bit);

  const Bytes jpeg = gfx::EncodeJpeg(Pattern(20, 10), {90, true, false});
  picture.LoadFromFile(Write("été.JpEg", jpeg));
  auto* image = dynamic_cast<TJPEGImage*>(picture.Graphic());
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(image->Progressive());
  EXPECT_EQ(picture.Width(), 20);
  // Saving writes the very bytes that were loaded.
  EXPECT_EQ(image->SaveToBytes(), jpeg);

  const TPixmap icon = Pattern(16, 16);
  const TPixmap* images[] = {&icon};
  picture.LoadFromFile(Write("icon.ICO", gfx::EncodeIcon(images)));
  EXPECT_STREQ(picture.Graphic()->GraphicClassName(), "TIcon");
}

TEST_F(PictureFiles, AJpegFromACameraHeldUprightIsLoadedUpright)
{
  // Stored 20 x 10 with a tag saying to turn it a quarter clockwise.
  const Bytes jpeg = gfx::EncodeJpeg(Pattern(20, 10), {.Orientation = gfx::TOrientation::Rotate90});
  TPicture picture;
  picture.LoadFromFile(Write("upright.jpg", jpeg));
  ASSERT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 10);
  EXPECT_EQ(picture.Height(), 20);
  // The file is kept as it came, tag and all.
  EXPECT_EQ(dynamic_cast<TJPEGImage*>(picture.Graphic())->SaveToBytes(), jpeg);
}

TEST_F(PictureFiles, FailuresNameTheFileAndKeepThePicture)
{
  TPicture picture;
  picture.LoadFromFile(Write("keep.bmp", Bmp24(3, 3)));
  int changes = 0;
  picture.OnChange = [&] { ++changes; };

  auto expectFailure = [&](const std::string& path, const std::string& fragment, auto exceptionType) {
    using E = decltype(exceptionType);
    try {
      picture.LoadFromFile(path);
      ADD_FAILURE() << path << " loaded";
    } catch (const E& e) {
      EXPECT_NE(e.Message().find(fragment), std::string::npos) << e.Message();
    }
    EXPECT_EQ(picture.Width(), 3) << path;
    EXPECT_STREQ(picture.Graphic()->GraphicClassName(), "TBitmap");
  };
  expectFailure(Path("missing.bmp"), "missing.bmp", EFOpenError(""));
  expectFailure(Write("notes.txt", {'h', 'i'}), "notes.txt", EInvalidGraphic(""));
  expectFailure(Write("text.bmp", {'h', 'i'}), "text.bmp", EInvalidGraphic(""));
  Bytes cut = gfx::EncodeJpeg(Pattern(30, 30), {});
  cut.resize(cut.size() / 2);
  expectFailure(Write("cut.jpg", cut), "cut.jpg", EInvalidGraphic(""));
  Bytes cutPng = gfx::EncodePng(Pattern(30, 30));
  cutPng.resize(cutPng.size() - 30);
  expectFailure(Write("cut.png", cutPng), "cut.png", EInvalidGraphic(""));
  expectFailure(Write("jpeg.png", gfx::EncodeJpeg(Pattern(4, 4), {})), "jpeg.png", EInvalidGraphic(""));
  expectFailure(Write("bad.ico", {0, 0, 1, 0, 1, 0, 16, 16}), "bad.ico", EInvalidGraphic(""));
  expectFailure(Write("bad.emf", {1, 2, 3}), "bad.emf", EInvalidGraphic(""));
  EXPECT_EQ(changes, 0);
}

// --- Change notification -----------------------------------------------------

TEST(PictureChange, EveryChangeNotifiesAndDetachingIsUndoneOnEveryPath)
{
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&] { ++changes; };

  TBitmap bitmap(4, 4);
  picture.Assign(bitmap);
  EXPECT_EQ(changes, 1);
  picture.Bitmap().Canvas().Brush.Color = gfx::clRed;
  picture.Bitmap().Canvas().FillRect({0, 0, 2, 2}); // drawing on the held bitmap
  EXPECT_GE(changes, 2);
  const int afterDrawing = changes;
  picture.Assign(static_cast<const TGraphic*>(nullptr));
  EXPECT_EQ(changes, afterDrawing + 1);
  EXPECT_TRUE(picture.Empty());

  try {
    TPictureNotifyDetach detach(picture);
    picture.Assign(bitmap);
    throw std::runtime_error("drawing failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(changes, afterDrawing + 1); // nothing while detached
  picture.Assign(bitmap);
  EXPECT_EQ(changes, afterDrawing + 2); // attached again
}

TEST(PictureChange, AssignCopiesSoTheSourceStaysIndependent)
{
  TPicture a, b;
  TBitmap bitmap(2, 2);
  bitmap.Pixmap().Fill(0x112233);
  a.Assign(bitmap);
  b.Assign(a);
  a.Bitmap().Pixmap().Fill(0x445566);
  EXPECT_EQ(At(b.Bitmap(), 1, 1), 0x112233u);
  // Asking a JPEG picture for its bitmap replaces the JPEG by a bitmap.
  TPicture jpeg;
  auto image = std::make_unique<TJPEGImage>();
  image->Assign(bitmap);
  jpeg.SetGraphic(std::move(image));
  EXPECT_STREQ(jpeg.Graphic()->GraphicClassName(), "TJPEGImage");
  EXPECT_TRUE(jpeg.Bitmap().Empty());
  EXPECT_STREQ(jpeg.Graphic()->GraphicClassName(), "TBitmap");
}

// --- Storage in form descriptions --------------------------------------------

TEST(PictureData, ClassNameAndDataRoundTrip)
{
  // The splash picture: a progressive JPEG kept with its class name.
  TBitmap source(45, 26);
  CopyPixmapToBitmap(Pattern(45, 26), source);
  auto image = std::make_unique<TJPEGImage>();
  image->ProgressiveEncoding = true;
  image->Assign(source);
  const Bytes jpeg = image->Data();
  TPicture picture;
  picture.SetGraphic(std::move(image));

  const Bytes data = picture.SaveData();
  ASSERT_GT(data.size(), 11u + 4u);
  EXPECT_EQ(std::string(data.begin(), data.begin() + 11), "\x0ATJPEGImage");
  TPicture loaded;
  loaded.LoadData(data);
  auto* back = dynamic_cast<TJPEGImage*>(loaded.Graphic());
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(back->Progressive());
  EXPECT_EQ(back->Data(), jpeg);
  EXPECT_EQ(loaded.Width(), 45);

  TPicture empty;
  EXPECT_EQ(empty.SaveData(), Bytes{0});
  loaded.LoadData(empty.SaveData());
  EXPECT_EQ(loaded.Graphic(), nullptr);

  // Every other class survives the trip too.
  TPicture bmp;
  bmp.Assign(source);
  TPicture bmpBack;
  bmpBack.LoadData(bmp.SaveData());
  EXPECT_EQ(At(bmpBack.Bitmap(), 44, 25), At(source, 44, 25));
}

TEST(PictureData, PublishedAsABinaryPropertyNamedData)
{
  const TPropInfo* data = TPicture::ClassType().FindProp("Data");
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->Kind, TTypeKind::tkBinary);
  EXPECT_TRUE(TPicture::ClassType().InheritsFrom(TPersistent::ClassType()));

  TPicture empty, full, copy;
  EXPECT_TRUE(data->GetBytes(empty).empty()); // nothing stored for no picture
  TBitmap bitmap(3, 2);
  full.Assign(bitmap);
  data->SetBytes(copy, data->GetBytes(full));
  EXPECT_STREQ(copy.Graphic()->GraphicClassName(), "TBitmap");
  EXPECT_EQ(copy.Width(), 3);

  // Assign through the persistent interface, as the property registry does.
  TPersistent& asPersistent = empty;
  asPersistent.Assign(static_cast<const TPersistent&>(full));
  EXPECT_EQ(empty.Height(), 2);
}

TEST(PictureData, DamagedDataIsRefused)
{
  TPicture picture;
  TBitmap source(8, 8);
  picture.Assign(source);
  const Bytes good = picture.SaveData();
  for (size_t n = 0; n < good.size(); n += 3) {
    TPicture target;
    EXPECT_THROW(target.LoadData(std::span(good.data(), n)), Exception) << "cut at " << n;
  }
  Bytes unknown = good;
  unknown[1] = 'X'; // "XBitmap"
  EXPECT_THROW(picture.LoadData(unknown), EInvalidGraphic);
  Bytes huge = good;
  huge[8] = 0xFF; // the data length's top byte: far more than follows
  EXPECT_THROW(picture.LoadData(huge), EInvalidGraphic);
}

// --- Bitmap files -------------------------------------------------------------

TEST(BitmapGraphic, DepthOfTheFileIsKeptWhenSaving)
{
  TBitmap bitmap;
  for (int bpp : {8, 24, 32}) {
    LoadBitmapFromBytes(bitmap, gfx::EncodeBmp(Pattern(5, 2), bpp));
    TMemoryStream out;
    SaveBitmapToStream(bitmap, out);
    EXPECT_EQ(gfx::DecodeBmpImage(out.Memory()).BitsPerPixel, bpp);
  }
  // An 8-bit bitmap that gained colours is written with 24 bits.
  LoadBitmapFromBytes(bitmap, gfx::EncodeBmp(Pattern(5, 2), 8));
  TPixmap& p = bitmap.Pixmap();
  for (int32_t i = 0; i < 10; ++i)
    p.Bits()[i] = TPixel(i * 1000);
  bitmap.SetSize(20, 20);
  for (int32_t i = 0; i < 400; ++i)
    p.Bits()[i] = TPixel(i * 977);
  TMemoryStream out;
  SaveBitmapToStream(bitmap, out);
  EXPECT_EQ(gfx::DecodeBmpImage(out.Memory()).BitsPerPixel, 24);

  TBitmap untouched(1, 1);
  EXPECT_THROW(LoadBitmapFromBytes(untouched, Bytes{'B', 'M', 0}), EInvalidGraphic);
  EXPECT_EQ(untouched.Width(), 1);
}

// --- Drawing ------------------------------------------------------------------

TEST(GraphicDraw, NaturalSizeAndStretched)
{
  TBitmapGraphic graphic;
  CopyPixmapToBitmap(Pattern(3, 2), graphic.Bitmap());
  TBitmap target(10, 10);
  graphic.Draw(target.Canvas(), gfx::TRect::Bounds(4, 5, 3, 2));
  EXPECT_EQ(At(target, 4, 5), Pattern(3, 2).At(0, 0) & 0xFFFFFF);
  EXPECT_EQ(At(target, 6, 6), Pattern(3, 2).At(2, 1) & 0xFFFFFF);
  EXPECT_EQ(At(target, 7, 6), 0u);
  graphic.Draw(target.Canvas(), gfx::TRect(0, 0, 6, 4));
  EXPECT_EQ(At(target, 5, 3), Pattern(3, 2).At(2, 1) & 0xFFFFFF);
  EXPECT_EQ(At(target, 1, 1), Pattern(3, 2).At(0, 0) & 0xFFFFFF);
}

TEST(GraphicDraw, IconsShowTheBackgroundThroughTheirMask)
{
  TPixmap small(16, 16), large(32, 32);
  small.Fill(0xFF0000FF);  // opaque blue
  large.Fill(0xFFFF0000);  // opaque red
  for (int32_t y = 0; y < 32; ++y)
    for (int32_t x = 0; x < 16; ++x)
      large.At(x, y) = 0; // left half transparent
  const TPixmap* images[] = {&small, &large};
  TIcon icon;
  icon.LoadFromBytes(gfx::EncodeIcon(images));
  EXPECT_EQ(icon.Width(), 32); // the natural size is the largest image
  EXPECT_EQ(icon.EntryFor(16, 16), 0u);

  TBitmap target(40, 40);
  target.Pixmap().Fill(0x00FF00);
  icon.Draw(target.Canvas(), gfx::TRect::Bounds(4, 4, 32, 32));
  EXPECT_EQ(At(target, 10, 10), 0x00FF00u);
  EXPECT_EQ(At(target, 30, 10), 0xFF0000u);
  EXPECT_EQ(At(target, 3, 3), 0x00FF00u);
  icon.Draw(target.Canvas(), gfx::TRect::Bounds(0, 0, 16, 16));
  EXPECT_EQ(At(target, 0, 0), 0x0000FFu);

  // Drawn partly outside the bitmap and under a clip rectangle.
  TBitmap edge(20, 20);
  edge.Pixmap().Fill(0x00FF00);
  edge.Context().IntersectClipRect(0, 0, 20, 10);
  icon.Draw(edge.Canvas(), gfx::TRect::Bounds(-8, -8, 32, 32));
  EXPECT_EQ(At(edge, 7, 5), 0x00FF00u);  // transparent half
  EXPECT_EQ(At(edge, 8, 5), 0xFF0000u);  // opaque half
  EXPECT_EQ(At(edge, 8, 10), 0x00FF00u); // clipped away
}

// --- Metafiles ------------------------------------------------------------------

namespace {

void Put16(Bytes& b, uint32_t v)
{
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}

void Put32(Bytes& b, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    b.push_back(uint8_t(v >> (8 * i)));
}

Bytes WmfRecords()
{
  Bytes b;
  // Standard header: type 1, 9 words, version 0x300, size, objects, max record, 0.
  Put16(b, 1);
  Put16(b, 9);
  Put16(b, 0x300);
  Put32(b, 9 + 5 + 3);
  Put16(b, 0);
  Put32(b, 5);
  Put16(b, 0);
  // SetWindowExt(200 wide, 100 high): the parameters are height, width.
  Put32(b, 5);
  Put16(b, 0x020C);
  Put16(b, 100);
  Put16(b, 200);
  Put32(b, 3); // end of file
  Put16(b, 0);
  return b;
}

} // namespace

TEST(MetafileHeader, SizesComeFromTheHeaders)
{
  // An enhanced metafile whose frame is 2540 x 1270 hundredths of a
  // millimetre: 96 x 48 pixels at 96 pixels per inch.
  Bytes emf;
  Put32(emf, 1);
  Put32(emf, 88);
  for (uint32_t v : {0u, 0u, 95u, 47u, 0u, 0u, 2540u, 1270u})
    Put32(emf, v);
  Put32(emf, 0x464D4520);
  Put32(emf, 0x10000);
  Put32(emf, 108);
  Put32(emf, 2);
  Put32(emf, 1);
  for (int i = 0; i < 8; ++i)
    Put32(emf, 0);
  Put32(emf, 14); // EMR_EOF
  Put32(emf, 20);
  Put32(emf, 0);
  Put32(emf, 16);
  Put32(emf, 20);
  TMetafile meta;
  meta.LoadFromBytes(emf);
  EXPECT_TRUE(meta.Enhanced());
  EXPECT_EQ(meta.Width(), 96);
  EXPECT_EQ(meta.Height(), 48);

  TMetafile plain;
  plain.LoadFromBytes(WmfRecords());
  EXPECT_FALSE(plain.Enhanced());
  EXPECT_EQ(plain.Width(), 200);
  EXPECT_EQ(plain.Height(), 100);

  // A placeable header: a box of 1440 x 720 units at 1440 per inch.
  Bytes placeable;
  Put32(placeable, 0x9AC6CDD7);
  Put16(placeable, 0);
  for (uint32_t v : {0u, 0u, 1440u, 720u, 1440u})
    Put16(placeable, v);
  Put32(placeable, 0);
  Put16(placeable, 0);
  const Bytes records = WmfRecords();
  placeable.insert(placeable.end(), records.begin(), records.end());
  TMetafile withBox;
  withBox.LoadFromBytes(placeable);
  EXPECT_TRUE(withBox.Placeable());
  EXPECT_EQ(withBox.Width(), 96);
  EXPECT_EQ(withBox.Height(), 48);

  // Damaged headers are refused, the size of a plain WMF must be known.
  Bytes noExtent = WmfRecords();
  noExtent[22] = 0x0B; // SetWindowOrg instead
  EXPECT_THROW(TMetafile().LoadFromBytes(noExtent), EInvalidGraphic);
  emf[24 + 8] = 0xFF;
  emf[24 + 11] = 0x7F; // a frame millions of pixels wide
  EXPECT_THROW(TMetafile().LoadFromBytes(emf), EInvalidGraphic);
  for (size_t n = 0; n < 18; ++n)
    EXPECT_THROW(TMetafile().LoadFromBytes(std::span(records.data(), n)), EInvalidGraphic) << n;

#ifndef _WIN32
  TBitmap target(10, 10);
  EXPECT_THROW(plain.Draw(target.Canvas(), {0, 0, 10, 10}), EInvalidGraphicOperation);
#endif
}

// --- Pictures shown smaller than they are --------------------------------------

namespace {

// A show limit that answers a fixed size whatever the picture.
struct TFixedLimit {
  gfx::TSize Shown;
  TGraphic::TShowLimit Limit() const
  {
    return [shown = Shown](gfx::TSize) { return shown; };
  }
};

} // namespace

TEST(JpegShowLimit, DecodesOnlyWhatTheLimitNeedsAndKeepsReportingTheFullSize)
{
  const Bytes file = gfx::EncodeJpeg(Pattern(160, 96));
  TFixedLimit limit{{40, 24}};
  TJPEGImage image;
  int changes = 0;
  image.OnChange = [&changes] { ++changes; };
  image.SetShowLimit(limit.Limit());
  image.LoadFromBytes(file);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(image.Width(), 160);
  EXPECT_EQ(image.Height(), 96);
  EXPECT_EQ(image.PixelSize(), gfx::TSize(40, 24)); // exactly a quarter of each side
  EXPECT_EQ(image.Bitmap().Width(), 40);

  // One pixel more than a quarter needs half; a smaller limit keeps what is there.
  limit.Shown = {41, 24};
  image.SetShowLimit(limit.Limit());
  EXPECT_EQ(image.PixelSize(), gfx::TSize(80, 48));
  limit.Shown = {10, 6};
  image.SetShowLimit(limit.Limit());
  EXPECT_EQ(image.PixelSize(), gfx::TSize(80, 48));
  // Larger than the picture: all of it. No limit at all: all of it too.
  limit.Shown = {320, 192};
  image.SetShowLimit(limit.Limit());
  EXPECT_EQ(image.PixelSize(), gfx::TSize(160, 96));
  EXPECT_EQ(changes, 1) << "decoding again is no change of the picture";

  TJPEGImage whole;
  whole.LoadFromBytes(file);
  EXPECT_EQ(whole.PixelSize(), gfx::TSize(160, 96));
  // The pixels decoded again are those of a picture decoded whole at once.
  for (int32_t y = 0; y < 96; y += 7)
    for (int32_t x = 0; x < 160; x += 9)
      ASSERT_EQ(At(image.Bitmap(), x, y), At(whole.Bitmap(), x, y)) << x << ", " << y;
}

TEST(JpegShowLimit, TheLimitIsAskedForTheUprightSize)
{
  // Stored 64 x 32, shown 32 x 64. Shown at most 12 x 30, half (16 x 32) still
  // covers it; half of the stored sides (32 x 16) would not.
  const Bytes file = gfx::EncodeJpeg(Pattern(64, 32), {.Orientation = gfx::TOrientation::Rotate90});
  gfx::TSize asked;
  TJPEGImage image;
  image.SetShowLimit([&asked](gfx::TSize full) {
    asked = full;
    return gfx::TSize{12, 30};
  });
  image.LoadFromBytes(file);
  EXPECT_EQ(asked, gfx::TSize(32, 64));
  EXPECT_EQ(image.Width(), 32);
  EXPECT_EQ(image.Height(), 64);
  EXPECT_EQ(image.PixelSize(), gfx::TSize(16, 32));
}

TEST(JpegShowLimit, CopiesKeepTheReducedPixelsAndTheLimit)
{
  TFixedLimit limit{{20, 12}};
  TJPEGImage image;
  image.SetShowLimit(limit.Limit());
  const Bytes file = gfx::EncodeJpeg(Pattern(160, 96));
  image.LoadFromBytes(file);
  TPicture picture;
  picture.Assign(&image);
  TGraphic& copy = *picture.Graphic();
  EXPECT_EQ(dynamic_cast<TJPEGImage&>(copy).Data().data(), image.Data().data()) << "a copy shares the file's bytes";
  // The copy's file stays its own when the original takes another picture.
  image.LoadFromBytes(gfx::EncodeJpeg(TPixmap(8, 8)));
  EXPECT_EQ(dynamic_cast<TJPEGImage&>(copy).Data(), file);
  EXPECT_EQ(copy.Width(), 160);
  EXPECT_EQ(copy.PixelSize(), gfx::TSize(20, 12));
  // Drawing at the pixels' size copies them; at the full size it stretches.
  TBitmap target(160, 96);
  copy.Draw(target.Canvas(), gfx::TRect{0, 0, 20, 12});
  const TPixel corner = At(dynamic_cast<TJPEGImage&>(copy).Bitmap(), 19, 11);
  EXPECT_EQ(At(target, 19, 11), corner);
  EXPECT_EQ(At(target, 20, 12), 0u);
  copy.Draw(target.Canvas(), gfx::TRect{0, 0, 160, 96});
  EXPECT_EQ(At(target, 159, 95), corner);
  // The copy holds the file too: a larger limit decodes it again.
  limit.Shown = {80, 48};
  copy.SetShowLimit(limit.Limit());
  EXPECT_EQ(copy.PixelSize(), gfx::TSize(80, 48));
  TJPEGImage decoded;
  decoded.SetShowLimit(limit.Limit());
  decoded.LoadFromBytes(file);
  EXPECT_EQ(At(dynamic_cast<TJPEGImage&>(copy).Bitmap(), 79, 47), At(decoded.Bitmap(), 79, 47));
}

// --- PNG ------------------------------------------------------------------------

namespace {

// A 4 x 2 picture whose top row is opaque and whose bottom row is transparent.
Bytes HalfTransparentPng()
{
  Bytes alpha(8, 255);
  std::fill(alpha.begin() + 4, alpha.end(), 0);
  return gfx::EncodePng(Pattern(4, 2), alpha);
}

} // namespace

TEST_F(PictureFiles, APngIsComposedOverTheColourTheLoaderGives)
{
  const Bytes png = HalfTransparentPng();
  const std::string path = Write("überall.png", png);
  std::unique_ptr<TGraphic> graphic = LoadGraphicFromFile(path, {}, gfx::RGBColor(0x12, 0x34, 0x56));
  auto* image = dynamic_cast<TPngImage*>(graphic.get());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width(), 4);
  EXPECT_EQ(image->Height(), 2);
  EXPECT_TRUE(image->Info().Transparent);
  EXPECT_EQ(At(image->Bitmap(), 1, 0), Pattern(4, 2).At(1, 0));
  EXPECT_EQ(At(image->Bitmap(), 1, 1), TPixel(0x123456));
  // The file is kept as it came.
  EXPECT_EQ(image->SaveToBytes(), png);

  // Without a colour, white shows through.
  TPicture picture;
  picture.LoadFromFile(path);
  auto* loaded = dynamic_cast<TPngImage*>(picture.Graphic());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(At(loaded->Bitmap(), 3, 1), TPixel(0xFFFFFF));
}

TEST(PngImage, AnotherBackgroundComposesTheTransparentPictureAgain)
{
  TPngImage image;
  image.LoadFromBytes(HalfTransparentPng());
  int changes = 0;
  image.OnChange = [&] { ++changes; };
  image.SetBackground(gfx::clRed);
  EXPECT_EQ(At(image.Bitmap(), 0, 1), TPixel(0xFF0000));
  EXPECT_EQ(changes, 1);
  // The same colour, named as a system colour or not, decodes nothing again.
  image.SetBackground(gfx::ColorToRGB(gfx::clRed));
  EXPECT_EQ(changes, 1);
  image.SetBackground(gfx::clBtnFace);
  EXPECT_EQ(At(image.Bitmap(), 0, 1), gfx::ColorToPixel(gfx::ColorToRGB(gfx::clBtnFace)));
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(At(image.Bitmap(), 0, 0), Pattern(4, 2).At(0, 0));

  // An opaque picture has nothing to compose.
  TPngImage opaque;
  opaque.LoadFromBytes(gfx::EncodePng(Pattern(3, 3)));
  opaque.OnChange = [&] { ++changes; };
  opaque.SetBackground(gfx::clBlack);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(opaque.Background(), gfx::clBlack);
}

TEST(PngImage, CopiesAndStoredDataKeepThePicture)
{
  TPngImage image;
  image.SetBackground(gfx::clLime);
  image.LoadFromBytes(HalfTransparentPng());
  const std::unique_ptr<TGraphic> copy = image.Clone();
  auto* png = dynamic_cast<TPngImage*>(copy.get());
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(png->Background(), gfx::clLime);
  EXPECT_EQ(At(png->Bitmap(), 2, 1), TPixel(0x00FF00));
  EXPECT_EQ(png->Data().data(), image.Data().data()) << "a copy shares the file's bytes";
  // The copy keeps its file and composes it again when the original takes
  // another picture or empties.
  const Bytes file = image.Data();
  image.LoadFromBytes(gfx::EncodePng(Pattern(2, 2)));
  EXPECT_EQ(png->Data(), file);
  png->SetBackground(gfx::clBlue);
  EXPECT_EQ(At(png->Bitmap(), 2, 1), TPixel(0x0000FF));
  EXPECT_EQ(At(png->Bitmap(), 2, 0), Pattern(4, 2).At(2, 0));
  image.Assign(TBitmap());
  EXPECT_TRUE(image.Empty());
  EXPECT_TRUE(image.Data().empty());
  EXPECT_EQ(png->Data(), file);
  image.LoadFromBytes(HalfTransparentPng());

  TPicture picture;
  picture.SetGraphic(image.Clone());
  const Bytes data = picture.SaveData();
  EXPECT_EQ(std::string(data.begin(), data.begin() + 10), "\x09TPngImage");
  TPicture loaded;
  loaded.LoadData(data);
  ASSERT_NE(dynamic_cast<TPngImage*>(loaded.Graphic()), nullptr);
  EXPECT_EQ(loaded.Graphic()->SaveToBytes(), image.Data());

  // Any other graphic is stored as an opaque PNG of its pixels.
  TBitmap source(5, 3);
  CopyPixmapToBitmap(Pattern(5, 3), source);
  TPngImage fromBitmap;
  fromBitmap.Assign(source);
  EXPECT_FALSE(fromBitmap.Info().Transparent);
  EXPECT_EQ(gfx::ReadPngInfo(fromBitmap.Data()).Width, 5);
  EXPECT_EQ(At(fromBitmap.Bitmap(), 4, 2), At(source, 4, 2));
}
