#include "framework/Streams.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using namespace framework;

TEST(MemoryStream, ReadWriteSeekAndSize)
{
  TMemoryStream s;
  s.WriteUInt32(0x04030201);
  s.WriteUInt8(5);
  EXPECT_EQ(s.Size(), 5);
  EXPECT_EQ(s.Position(), 5);
  s.SetPosition(1);
  EXPECT_EQ(s.ReadUInt8(), 2);
  EXPECT_EQ(s.Seek(-1, soEnd), 4);
  EXPECT_EQ(s.ReadUInt8(), 5);
  uint8_t byte = 0;
  EXPECT_EQ(s.Read(&byte, 1), 0u); // at the end
  EXPECT_THROW(s.ReadBuffer(&byte, 1), EReadError);
  EXPECT_THROW(s.Seek(-6, soEnd), EStreamError);

  // Writing past the end fills the gap with zeros.
  s.Seek(2, soEnd);
  s.WriteUInt8(9);
  EXPECT_EQ(s.Memory(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 0, 0, 9}));
  s.SetSize(3);
  EXPECT_EQ(s.Position(), 3);
  s.SetPosition(0);
  EXPECT_EQ(s.ReadToEnd(), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(MemoryStream, LengthsBeyondTheDataAreRefusedBeforeAllocating)
{
  TMemoryStream s(std::vector<uint8_t>{1, 2, 3});
  EXPECT_THROW((void)s.ReadBytes(SIZE_MAX / 2), EReadError);
  EXPECT_EQ(s.Position(), 0);
  EXPECT_EQ(s.ReadBytes(3), (std::vector<uint8_t>{1, 2, 3}));

  TMemoryStream copy;
  copy.WriteUInt8(0xAA);
  EXPECT_EQ(copy.CopyFrom(s, 0), 3);
  EXPECT_EQ(copy.Memory(), (std::vector<uint8_t>{0xAA, 1, 2, 3}));
}

TEST(FileStream, NonAsciiNamesRoundTripAndErrorsNameTheFile)
{
  // Greek, a CJK character and an emoji outside the basic plane.
  const std::string name = testing::TempDir() + "stream-\xCE\xB1\xCE\xB2-\xE6\x97\xA5-\xF0\x9F\x93\xB7.bin";
  {
    TFileStream f(name, fmCreate);
    f.WriteUInt32(0xDEADBEEF);
    f.WriteUInt8(7);
  }
  {
    TFileStream f(name, fmOpenReadWrite);
    EXPECT_EQ(f.Size(), 5);
    EXPECT_EQ(f.ReadUInt32(), 0xDEADBEEFu);
    f.SetSize(4);
  }
  EXPECT_EQ(ReadFileBytes(name), (std::vector<uint8_t>{0xEF, 0xBE, 0xAD, 0xDE}));
  TMemoryStream m;
  m.LoadFromFile(name);
  EXPECT_EQ(m.Memory().size(), 4u);
#ifdef _WIN32
  _wremove(Utf8ToWide(name).c_str());
#else
  std::remove(name.c_str());
#endif

  try {
    TFileStream f(name, fmOpenRead);
    FAIL() << "a removed file opened";
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find(name), std::string::npos) << e.Message();
  }
  EXPECT_THROW(TFileStream(testing::TempDir() + "no-such-folder/x/y.bin", fmCreate), EFCreateError);
}

TEST(TextConversion, Utf8AndWideStringsConvertBothWays)
{
  const std::string text = "A\xC3\xA9\xE6\x97\xA5\xF0\x9F\x93\xB7"; // A é 日 📷
  const std::wstring wide = Utf8ToWide(text);
  if constexpr (sizeof(wchar_t) == 2) {
    EXPECT_EQ(wide, (std::wstring{L'A', wchar_t(0xE9), wchar_t(0x65E5), wchar_t(0xD83D), wchar_t(0xDCF7)}));
  } else {
    EXPECT_EQ(wide, (std::wstring{L'A', wchar_t(0xE9), wchar_t(0x65E5), wchar_t(0x1F4F7)}));
  }
  EXPECT_EQ(WideToUtf8(wide), text);

  // Broken sequences become U+FFFD and never swallow the following text.
  EXPECT_EQ(Utf8ToWide("a\xC3(b"), (std::wstring{L'a', wchar_t(0xFFFD), L'(', L'b'}));
  EXPECT_EQ(Utf8ToWide("\xE6\x97"), (std::wstring{wchar_t(0xFFFD), wchar_t(0xFFFD)}));
  EXPECT_EQ(Utf8ToWide("\xC0\x80"), (std::wstring{wchar_t(0xFFFD), wchar_t(0xFFFD)})); // overlong NUL
  EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), (std::wstring{wchar_t(0xFFFD), wchar_t(0xFFFD), wchar_t(0xFFFD)}));
  EXPECT_EQ(WideToUtf8(std::wstring{wchar_t(0xD800)}), "\xEF\xBF\xBD");
}
