#include "text_codec.h"

#include <gtest/gtest.h>

namespace units {
namespace tool {
namespace {

TEST(TextCodecTest, EveryWindows1252ByteRoundTrips) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  std::string back;
  ASSERT_TRUE(Utf8ToCp1252(utf8, &back));
  EXPECT_EQ(back, all);
}

TEST(TextCodecTest, DecodesTheWindowsCharacters) {
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "€");
  EXPECT_EQ(Cp1252ToUtf8("\xB0"
                         "C"),
            "°C");
  EXPECT_EQ(Cp1252ToUtf8("\x96\x99\x9F"), "–™Ÿ");
  EXPECT_EQ(Cp1252ToUtf8("\x81\x9D"), "\xC2\x81\xC2\x9D");  // undefined bytes: C1 controls
  std::string bytes;
  EXPECT_FALSE(Utf8ToCp1252("ω", &bytes));
  EXPECT_FALSE(Utf8ToCp1252("\xC2\x80", &bytes));  // U+0080 has no byte: 0x80 is the euro sign
}

TEST(TextCodecTest, Utf8ValidationRefusesMalformedSequences) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("ϑ °C µm/m ‰ \xF0\x9F\x98\x80"));
  for (const char* bad : {"\xB0"
                          "C",
                          "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3", "\xE2\x82",
                          "\xF8\x88\x80\x80\x80", "\xFF"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << ::testing::PrintToString(std::string(bad));
  }
}

}  // namespace
}  // namespace tool
}  // namespace units
