#include "skin/ElementBitmap.h"
#include "skin/SkinMessages.h"
#include "skin/SkinReader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace skin;

namespace {

std::vector<std::string> g_messages;
void CaptureMessage(const std::string& text)
{
  g_messages.push_back(text);
}

// Installs a capturing message hook for the test's lifetime.
class SkinReaderTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    g_messages.clear();
    previous_ = SetSkinMessageHook(&CaptureMessage);
  }
  void TearDown() override { SetSkinMessageHook(previous_); }

private:
  TSkinMessageHook previous_ = nullptr;
};

void PutInt32(std::vector<uint8_t>& out, int64_t v)
{
  for (int32_t k = 0; k < 4; ++k)
    out.push_back(uint8_t(uint64_t(v) >> (8 * k)));
}

// An archive laid out field by field, so each test can bend one field.
struct TArchiveLayout {
  uint32_t formatCode = 70000;
  size_t blockSize = 69;
  std::string nameList;
  std::vector<int64_t> sizes;
  std::string data;
  int64_t listLengthOverride = -1;
};

std::vector<uint8_t> MakeArchive(const TArchiveLayout& layout)
{
  std::vector<uint8_t> out;
  PutInt32(out, layout.formatCode);
  PutInt32(out, layout.listLengthOverride >= 0 ? layout.listLengthOverride : int64_t(layout.nameList.size()));
  out.resize(out.size() + 8, 0xEE); // unread header bytes
  out.resize(out.size() + layout.blockSize, 0xAB);
  out.insert(out.end(), layout.nameList.begin(), layout.nameList.end());
  for (int64_t s : layout.sizes)
    PutInt32(out, s);
  out.insert(out.end(), layout.data.begin(), layout.data.end());
  return out;
}

TArchiveLayout ThreeFiles()
{
  TArchiveLayout layout;
  layout.nameList = "Buttons.BMP\r\nskin.ini\r\nbuttons.bmp\r\n";
  layout.sizes = {3, 4, 2};
  layout.data = "AAA[x]\nBB";
  return layout;
}

std::string Text(const std::vector<uint8_t>& bytes)
{
  return {bytes.begin(), bytes.end()};
}

} // namespace

TEST_F(SkinReaderTest, EveryKnownFormatSkipsItsBlock)
{
  const std::pair<uint32_t, size_t> formats[] = {{20000, 0}, {30000, 256}, {40000, 80},
                                                 {50000, 48}, {60000, 117}, {70000, 69}};
  for (const auto& [code, block] : formats) {
    TArchiveLayout layout = ThreeFiles();
    layout.formatCode = code;
    layout.blockSize = block;
    TSkinReader reader;
    ASSERT_TRUE(reader.OpenArchive(MakeArchive(layout))) << code;
    EXPECT_EQ(reader.FormatCode(), code);
    EXPECT_EQ(reader.NameListLength(), int32_t(layout.nameList.size()));
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"buttons.bmp", "skin.ini", "buttons.bmp"}));
    EXPECT_EQ(reader.Sizes(), (std::vector<int32_t>{3, 4, 2}));
    std::vector<uint8_t> out;
    reader.ExtractByName("skin.ini", out);
    EXPECT_EQ(Text(out), "[x]\n") << code;
  }
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(SkinReaderTest, LookupsIgnoreCaseAndTakeTheFirstEntry)
{
  TSkinReader reader;
  ASSERT_TRUE(reader.OpenArchive(MakeArchive(ThreeFiles())));
  std::vector<uint8_t> out{1, 2, 3};
  reader.ExtractByName("BUTTONS.bmp", out);
  EXPECT_EQ(Text(out), "AAA");
  reader.ExtractByName("missing.bmp", out);
  EXPECT_TRUE(out.empty());
  // Part of a name: the first entry that contains the text, wherever it is.
  EXPECT_EQ(reader.ExtractByPart(".ini", out), "skin.ini");
  EXPECT_EQ(Text(out), "[x]\n");
  EXPECT_EQ(reader.ExtractByPart(".png", out), "");
  EXPECT_TRUE(out.empty());
}

TEST_F(SkinReaderTest, NameListFollowsStringListLineRules)
{
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitLines(std::string_view("a\nb\0c\n", 6)), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(SplitLines("").empty());

  // A list written with bare LF works as well; the data follows the sizes.
  TArchiveLayout layout;
  layout.formatCode = 20000;
  layout.blockSize = 0;
  layout.nameList = "One.ini\nTWO.BMP";
  layout.sizes = {1, 2};
  layout.data = "xyz";
  TSkinReader reader;
  ASSERT_TRUE(reader.OpenArchive(MakeArchive(layout)));
  std::vector<uint8_t> out;
  reader.ExtractByName("two.bmp", out);
  EXPECT_EQ(Text(out), "yz");
}

TEST_F(SkinReaderTest, UnknownFormatShowsTheMessageAndFails)
{
  TArchiveLayout layout = ThreeFiles();
  layout.formatCode = 10000;
  TSkinReader reader;
  EXPECT_FALSE(reader.OpenArchive(MakeArchive(layout)));
  ASSERT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(g_messages[0], "This is Older Skin File\rPlease update to new version !");
  EXPECT_TRUE(reader.Names().empty());

  // A package that declares no data unpacks to an empty archive: format 0.
  g_messages.clear();
  std::vector<uint8_t> package;
  PutInt32(package, 0);
  EXPECT_FALSE(reader.Open(package));
  package.clear();
  PutInt32(package, -1);
  package.push_back(0x55);
  EXPECT_FALSE(reader.Open(package));
  EXPECT_FALSE(reader.Open({}));
  EXPECT_EQ(g_messages.size(), 3u);
}

TEST_F(SkinReaderTest, DamagedLayoutsAreRefused)
{
  const auto refused = [](const TArchiveLayout& layout) {
    TSkinReader reader;
    EXPECT_THROW((void)reader.OpenArchive(MakeArchive(layout)), ESkinPackage);
    EXPECT_TRUE(reader.Names().empty());
  };
  {
    TArchiveLayout layout = ThreeFiles();
    layout.listLengthOverride = 100000; // name list longer than the archive
    refused(layout);
  }
  {
    TArchiveLayout layout = ThreeFiles();
    layout.listLengthOverride = 0x80000000; // negative
    refused(layout);
  }
  {
    TArchiveLayout layout = ThreeFiles();
    layout.sizes = {3, -4, 2};
    refused(layout);
  }
  {
    TArchiveLayout layout = ThreeFiles();
    layout.sizes = {3, 4, 3}; // the last file runs one byte past the end
    refused(layout);
  }
  {
    TArchiveLayout layout = ThreeFiles();
    layout.sizes = {3, 0x7FFFFFFF, 2}; // would overflow a 32-bit sum
    refused(layout);
  }
  {
    TArchiveLayout layout = ThreeFiles();
    layout.sizes = {3, 4}; // size table cut short
    layout.data.clear();
    refused(layout);
  }
  {
    TArchiveLayout layout;
    for (size_t k = 0; k <= TSkinReader::kMaxFiles; ++k) {
      layout.nameList += 'f';
      layout.nameList += std::to_string(k);
      layout.nameList += "\r\n";
      layout.sizes.push_back(0);
    }
    refused(layout);
    layout.nameList.erase(0, layout.nameList.find('\n') + 1);
    layout.sizes.pop_back();
    TSkinReader reader;
    EXPECT_TRUE(reader.OpenArchive(MakeArchive(layout)));
    EXPECT_EQ(reader.Names().size(), TSkinReader::kMaxFiles);
  }
  {
    // Known format code but the archive ends inside the format block.
    std::vector<uint8_t> archive = MakeArchive(ThreeFiles());
    archive.resize(40);
    TSkinReader reader;
    EXPECT_THROW((void)reader.OpenArchive(archive), ESkinPackage);
  }
}

TEST_F(SkinReaderTest, AbsurdUnpackedSizeIsRefusedBeforeDecoding)
{
  std::vector<uint8_t> package;
  PutInt32(package, (int64_t{64} << 20) + 1);
  package.push_back(0);
  TSkinReader reader;
  EXPECT_THROW((void)reader.Open(package), ESkinPackage);
  reader.SetMaxUnpackedSize(1000);
  package.clear();
  PutInt32(package, 1001);
  EXPECT_THROW((void)reader.Open(package), ESkinPackage);
}

TEST_F(SkinReaderTest, GarbagePackagesNeverReadOutOfBounds)
{
  // Random streams unpack to random archives: whatever the outcome, the
  // reader either opens, reports an unknown format, or refuses the layout.
  std::mt19937 rng(11);
  int32_t failed = 0;
  for (int32_t round = 0; round < 300; ++round) {
    const uint32_t declared = rng() % 5000;
    std::vector<uint8_t> package(4 + rng() % 600);
    for (size_t k = 0; k < package.size(); ++k)
      package[k] = k < 4 ? uint8_t(declared >> (8 * k)) : uint8_t(rng());
    TSkinReader reader;
    try {
      if (!reader.Open(package)) {
        ++failed;
        continue;
      }
      size_t total = 0;
      for (int32_t size : reader.Sizes())
        total += size_t(size);
      EXPECT_LE(total, reader.Data().size());
    } catch (const ESkinPackage&) {
    }
  }
  // Every failed open told the user exactly once.
  EXPECT_EQ(int32_t(g_messages.size()), failed);
  EXPECT_GT(failed, 0);
}

TEST(ElementFileName, KeepsTheFileNameAndWantsLowerCaseBmp)
{
  EXPECT_EQ(ElementFileName("Buttons.bmp"), "Buttons.bmp");
  EXPECT_EQ(ElementFileName("skins\\blue\\Tab.bmp"), "Tab.bmp");
  EXPECT_EQ(ElementFileName("C:Tab.bmp"), "Tab.bmp");
  EXPECT_EQ(ElementFileName("a/b/Tab.bmp"), "Tab.bmp");
  EXPECT_EQ(ElementFileName("Tab.BMP"), std::nullopt);
  EXPECT_EQ(ElementFileName("Tab.Bmp"), std::nullopt);
  EXPECT_EQ(ElementFileName("Tab.bmp.png"), std::nullopt);
  EXPECT_EQ(ElementFileName("Tab"), std::nullopt);
  EXPECT_EQ(ElementFileName(""), std::nullopt);
  EXPECT_EQ(ElementFileName("dir\\"), std::nullopt);
}
