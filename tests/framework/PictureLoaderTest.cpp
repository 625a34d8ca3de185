// Pictures loaded on the loader's own thread: results of the file started
// last only, errors as messages, the owner woken from the worker, and a loader
// that goes away with work queued or under way.
#include "framework/JPEGImage.h"
#include "framework/PictureLoader.h"
#include "framework/Streams.h"
#include "gfx/codecs/Bmp.h"
#include "gfx/codecs/Jpeg.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using framework::TPictureLoader;

namespace {

gfx::TPixmap Pattern(int32_t w, int32_t h)
{
  gfx::TPixmap p(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      p.At(x, y) = gfx::TPixel((x * 7) << 16 | (y * 5) << 8 | 0x40);
  return p;
}

class PictureLoader : public testing::Test {
protected:
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes)
  {
    const std::string path = testing::TempDir() + "picture-loader-" + name;
    framework::TMemoryStream(bytes).SaveToFile(path);
    written_.push_back(path);
    return path;
  }
  void TearDown() override
  {
    for (const std::string& path : written_)
      std::remove(path.c_str());
  }
  std::vector<std::string> written_;
};

framework::TGraphic::TShowLimit ShownAt(gfx::TSize size)
{
  return [size](gfx::TSize) { return size; };
}

} // namespace

TEST_F(PictureLoader, LoadsUnderTheLimitAndReportsErrorsByMessage)
{
  const std::string photo = Write("photo.jpg", gfx::EncodeJpeg(Pattern(320, 200)));
  const std::string bitmap = Write("tiles.bmp", gfx::EncodeBmp(Pattern(30, 20), 24));
  const std::string broken = Write("broken.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 'n', 'o'});
  TPictureLoader loader;
  EXPECT_FALSE(loader.Pending());
  EXPECT_FALSE(loader.Take().has_value()) << "nothing started, nothing to wait for";

  loader.Start(photo, ShownAt({80, 50}));
  EXPECT_TRUE(loader.Pending());
  std::optional<TPictureLoader::TResult> result = loader.Take();
  ASSERT_TRUE(result.has_value());
  EXPECT_FALSE(loader.Pending());
  EXPECT_EQ(result->FileName, photo);
  EXPECT_TRUE(result->Error.empty()) << result->Error;
  ASSERT_NE(result->Graphic, nullptr);
  EXPECT_STREQ(result->Graphic->GraphicClassName(), "TJPEGImage");
  EXPECT_EQ(result->Graphic->Width(), 320);
  EXPECT_EQ(result->Graphic->PixelSize(), gfx::TSize(80, 50));

  loader.Start(bitmap, {});
  result = loader.Take();
  ASSERT_TRUE(result && result->Graphic);
  EXPECT_EQ(result->Graphic->PixelSize(), gfx::TSize(30, 20));

  for (const std::string& bad : {broken, testing::TempDir() + "picture-loader-missing.jpg",
                                 testing::TempDir() + "picture-loader-notes.txt"}) {
    loader.Start(bad, {});
    result = loader.Take();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->Graphic, nullptr) << bad;
    EXPECT_NE(result->Error.find(bad), std::string::npos) << "the message names the file: " << result->Error;
  }
}

TEST_F(PictureLoader, TheOwnerIsWokenFromTheWorkerOncePerResult)
{
  const std::string photo = Write("wake.jpg", gfx::EncodeJpeg(Pattern(64, 48)));
  std::atomic<int> wakes{0};
  std::atomic<bool> otherThread{false};
  const std::thread::id owner = std::this_thread::get_id();
  TPictureLoader loader([&] {
    otherThread = std::this_thread::get_id() != owner;
    ++wakes;
  });
  for (int round = 1; round <= 3; ++round) {
    loader.Start(photo, {});
    while (!loader.Ready())
      std::this_thread::yield();
    ASSERT_TRUE(loader.Take().has_value());
    // The result is stored before the owner is woken: wait for the wake.
    while (wakes < round)
      std::this_thread::yield();
  }
  EXPECT_EQ(wakes, 3);
  EXPECT_TRUE(otherThread);
}

TEST_F(PictureLoader, StartingAnotherFileAbandonsTheOneBefore)
{
  const std::string first = Write("first.jpg", gfx::EncodeJpeg(Pattern(400, 300)));
  const std::string second = Write("second.bmp", gfx::EncodeBmp(Pattern(12, 10), 24));
  TPictureLoader loader;
  // The first load may be under way, queued or done when the second starts:
  // whichever, only the second comes back.
  for (int round = 0; round < 20; ++round) {
    loader.Start(first, {});
    if (round % 2)
      std::this_thread::yield();
    loader.Start(second, {});
    const std::optional<TPictureLoader::TResult> result = loader.Take();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->FileName, second);
    ASSERT_NE(result->Graphic, nullptr);
    EXPECT_EQ(result->Graphic->Width(), 12);
    EXPECT_FALSE(loader.Pending());
  }
}

TEST_F(PictureLoader, GoesAwayWithWorkQueuedOrUnderWay)
{
  const std::string photo = Write("big.jpg", gfx::EncodeJpeg(Pattern(800, 600)));
  for (int round = 0; round < 10; ++round) {
    std::atomic<int> wakes{0};
    {
      TPictureLoader loader([&wakes] { ++wakes; });
      loader.Start(photo, {});
      if (round % 2)
        std::this_thread::yield();
    }
    // Gone: no wake comes any more.
    const int after = wakes;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(wakes, after);
    EXPECT_LE(after, 1);
  }
}
