#include "skin/LZH.h"
#include "skin/LzhTree.h"
#include "skin/SkinReader.h"
#include "tools/skinpack/Archive.h"
#include "tools/skinpack/LzhEncoder.h"

#include <gtest/gtest.h>

#include <random>

using namespace skin;
using namespace skin::lzh;

namespace {

std::vector<uint8_t> RoundTrip(const std::vector<uint8_t>& data)
{
  const std::vector<uint8_t> stream = skinpack::EncodeLzh(data);
  return TLZH::DecodeBuffer(stream, int64_t(data.size()));
}

// Writes chosen symbols into a stream, so that a test decides exactly which
// literals and matches the decoder meets, and a plain model of the ring says
// what it must output.
class TStreamBuilder {
public:
  TStreamBuilder() { ring_.assign(N, 0); std::fill_n(ring_.begin(), N - F, uint8_t(' ')); }

  void Literal(uint8_t b)
  {
    Symbol(b);
    Emit(b);
  }
  void Match(int32_t length, int32_t position)
  {
    Symbol(253 + length);
    const uint32_t upper = uint32_t(position) >> 6;
    const int32_t bits = kPositionTables.pLen[upper];
    Put(uint32_t(kPositionTables.pCode[upper]) >> (8 - bits), bits);
    Put(uint32_t(position) & 63u, 6);
    const int32_t from = (r_ - position - 1) & (N - 1);
    for (int32_t k = 0; k < length; ++k)
      Emit(ring_[size_t((from + k) & (N - 1))]);
  }
  [[nodiscard]] std::vector<uint8_t> Stream() const
  {
    std::vector<uint8_t> out = bytes_;
    if (count_ > 0)
      out.push_back(uint8_t(acc_ << (8 - count_)));
    return out;
  }
  [[nodiscard]] const std::vector<uint8_t>& Expected() const { return expected_; }

private:
  void Symbol(int32_t s)
  {
    std::vector<uint32_t> path;
    for (int32_t k = tree_.Parent(s + T); k != R; k = tree_.Parent(k))
      path.push_back(uint32_t(k - tree_.Son(tree_.Parent(k))));
    for (size_t i = path.size(); i-- > 0;)
      Put(path[i], 1);
    tree_.Update(s);
  }
  void Put(uint32_t v, int32_t bits)
  {
    for (int32_t k = bits - 1; k >= 0; --k) {
      acc_ = uint8_t((acc_ << 1) | ((v >> k) & 1u));
      if (++count_ == 8) {
        bytes_.push_back(acc_);
        count_ = 0;
      }
    }
  }
  void Emit(uint8_t b)
  {
    expected_.push_back(b);
    ring_[size_t(r_)] = b;
    r_ = (r_ + 1) & (N - 1);
  }

  TLzhTree tree_;
  std::vector<uint8_t> ring_;
  int32_t r_ = N - F;
  std::vector<uint8_t> bytes_;
  std::vector<uint8_t> expected_;
  uint8_t acc_ = 0;
  int32_t count_ = 0;
};

} // namespace

TEST(LzhRoundTrip, RandomAndStructuredData)
{
  std::mt19937 rng(1);
  for (size_t size : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, size_t{61}, size_t{4097}, size_t{70000}}) {
    std::vector<uint8_t> random(size);
    for (auto& b : random)
      b = uint8_t(rng());
    EXPECT_EQ(RoundTrip(random), random) << size;
  }
  // Text-like data with repeats at every distance up to beyond the ring.
  std::vector<uint8_t> text;
  std::uniform_int_distribution<int32_t> word(0, 40);
  while (text.size() < 200000) {
    const int32_t w = word(rng);
    for (int32_t k = 0; k < 3 + w % 7; ++k)
      text.push_back(uint8_t('a' + (w * 7 + k) % 26));
    text.push_back(' ');
  }
  EXPECT_EQ(RoundTrip(text), text);
  // Runs of every length 1..70, so the encoder uses every match length.
  std::vector<uint8_t> runs;
  for (int32_t len = 1; len <= 70; ++len)
    for (int32_t rep = 0; rep < 3; ++rep)
      runs.insert(runs.end(), size_t(len), uint8_t(len * 3 + rep));
  EXPECT_EQ(RoundTrip(runs), runs);
}

TEST(LzhRoundTrip, ModelRebuildStaysInStep)
{
  // Far more than 0x8000 symbols, most of them literals of a skewed
  // distribution: the model is rebuilt many times on both sides.
  std::mt19937 rng(2);
  std::geometric_distribution<int32_t> skewed(0.08);
  std::vector<uint8_t> data(300000);
  for (auto& b : data)
    b = uint8_t(skewed(rng) * 37);
  EXPECT_EQ(RoundTrip(data), data);
}

TEST(LzhRoundTrip, CompressesRepetitiveData)
{
  const std::vector<uint8_t> zeros(1 << 20, 0);
  const std::vector<uint8_t> stream = skinpack::EncodeLzh(zeros);
  // A 60-byte match costs at least ten bits, so about 2% is the floor.
  EXPECT_LT(stream.size(), zeros.size() / 40);
  EXPECT_EQ(TLZH::DecodeBuffer(stream, int64_t(zeros.size())), zeros);
}

TEST(LzhDecoderSymbols, EveryMatchLengthAndPosition)
{
  TStreamBuilder b;
  for (int32_t k = 0; k < 300; ++k)
    b.Literal(uint8_t(k * 7));
  for (int32_t length = 3; length <= F; ++length)
    b.Match(length, (length * 37) % 300);
  // Positions across the whole code: every upper value, and the far end of
  // the ring, which reaches back into the initial spaces and the unwritten
  // part of the ring.
  for (int32_t upper = 0; upper < 64; ++upper)
    b.Match(3 + upper % 58, upper * 64 + (upper * 13) % 64);
  b.Match(F, N - 1);
  b.Match(F, N - F - 1);
  // Overlapping copy: distance 1 repeats the last byte.
  b.Literal('Q');
  b.Match(F, 0);
  const std::vector<uint8_t> out = TLZH::DecodeBuffer(b.Stream(), int64_t(b.Expected().size()));
  EXPECT_EQ(out, b.Expected());
}

TEST(LzhDecoderSymbols, RingWrapsAroundManyTimes)
{
  TStreamBuilder b;
  std::mt19937 rng(9);
  // Enough output to wrap the 4096-byte ring about 25 times, with matches
  // whose source straddles the wrap point.
  while (b.Expected().size() < 100000) {
    if (rng() % 3 == 0)
      b.Literal(uint8_t(rng()));
    else
      b.Match(3 + int32_t(rng() % 58), int32_t(rng() % N));
  }
  EXPECT_EQ(TLZH::DecodeBuffer(b.Stream(), int64_t(b.Expected().size())), b.Expected());
}

TEST(LzhDecoderSymbols, LastMatchIsWrittenWholePastTheCount)
{
  TStreamBuilder b;
  for (int32_t k = 0; k < 10; ++k)
    b.Literal(uint8_t('a' + k));
  b.Match(20, 9);
  ASSERT_EQ(b.Expected().size(), 30u);
  const std::vector<uint8_t> out = TLZH::DecodeBuffer(b.Stream(), 11);
  EXPECT_EQ(out, b.Expected());
}

TEST(SkinPackage, PackedFilesComeBackInOrder)
{
  std::mt19937 rng(4);
  std::vector<skinpack::TPackFile> files;
  for (const char* name : {"Buttons.bmp", "Tab.bmp", "skin-Skin.ini", "empty.bmp"}) {
    skinpack::TPackFile f{name, std::vector<uint8_t>(std::string(name) == "empty.bmp" ? 0 : rng() % 5000)};
    for (auto& b : f.Bytes)
      b = uint8_t(rng() % 4);
    files.push_back(std::move(f));
  }
  for (uint32_t code : {20000u, 30000u, 40000u, 50000u, 60000u, 70000u}) {
    const std::vector<uint8_t> package = skinpack::BuildPackage(files, code);
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(package));
    EXPECT_EQ(reader.FormatCode(), code);
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"buttons.bmp", "tab.bmp", "skin-skin.ini", "empty.bmp"}));
    for (const auto& f : files) {
      std::vector<uint8_t> out;
      reader.ExtractByName(f.Name, out);
      EXPECT_EQ(out, f.Bytes) << f.Name;
    }
    std::vector<uint8_t> ini;
    EXPECT_EQ(reader.ExtractByPart(".ini", ini), "skin-skin.ini");
  }
}

TEST(SkinPackage, WriterRefusesWhatTheReaderCouldNotStore)
{
  const std::vector<skinpack::TPackFile> badName{{"a\r\nb.bmp", {}}};
  EXPECT_THROW((void)skinpack::BuildArchive(badName), std::invalid_argument);
  const std::vector<skinpack::TPackFile> emptyName{{"", {}}};
  EXPECT_THROW((void)skinpack::BuildArchive(emptyName), std::invalid_argument);
  EXPECT_THROW((void)skinpack::BuildArchive({}, 12345), std::invalid_argument);
  std::vector<skinpack::TPackFile> tooMany(TSkinReader::kMaxFiles + 1, skinpack::TPackFile{"x", {}});
  EXPECT_THROW((void)skinpack::BuildArchive(tooMany), std::invalid_argument);
}
