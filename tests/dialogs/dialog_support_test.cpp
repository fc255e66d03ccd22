#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <limits>
#include <vector>

#include "dialog_test_support.h"
#include "dialogs/numbers.h"
#include "dialogs/texts.h"

namespace units {
namespace dialogs {
namespace testing {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NumbersTest, IntegersReadAsTheStoredNumbersAlwaysWere) {
  const std::pair<QString, int32_t> cases[] = {
      {" \t42", 42}, {"-17", -17}, {"+8", 8}, {"12ab3", 12}, {"", 0}, {"-", 0}, {"- 5", 0}, {"+-1", 0}, {"\u0663", 0},
      {"\uFF11\uFF12", 0}, {"2147483648", kMax}, {"-2147483648", kMin}, {"-99999999999999999999", kMin}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ReadInteger(text), value) << text.toStdString();
}

TEST(NumbersTest, NumbersReadTheLongestPrefixWithTheGivenSeparator) {
  const struct { QChar separator; QString text; double value; } cases[] = {
      {'.', "1.5", 1.5},   {',', "1,5", 1.5},   {',', "1.5", 1},        {'.', "1,5", 1},      {'.', "1e", 1},
      {',', "4,", 4},      {'.', "", 0},        {'.', " -2.5e3kg", -2500}, {',', "1,5E2", 150}, {'.', "1.2.3", 1.2},
      {'.', ".5", 0.5},    {'.', "+-1", 0},     {'.', "abc", 0},        {'.', "1e999", kInf}, {'.', "-1e999", -kInf},
      {'.', "1e-999", 0},  {'.', "\u0661", 0},  {',', "7\u00B0", 7}};
  for (const auto& c : cases) EXPECT_EQ(ReadNumber(c.text, c.separator), c.value) << c.text.toStdString();
}

// A number the dialog shows reads back as itself, whichever separator.
TEST(NumbersTest, FormatIsPrintfsAndReadsBack) {
  EXPECT_EQ(FormatNumber(1000, 8, '.'), "1000.0000");
  EXPECT_EQ(FormatNumber(0.001, 8, ','), "0,0010000000");
  EXPECT_EQ(FormatNumber(-1e20, 8, ','), "-1,0000000e+20");
  for (const double value : {0.1, -1.0 / 3, 6.02214076e23, 4.9e-324, 1.7976931348623157e308})
    for (const QChar separator : {QChar('.'), QChar(',')})
      EXPECT_EQ(ReadNumber(FormatNumber(value, 17, separator), separator), value) << value;
}

// The host's LC_NUMERIC: C's "%g" and strtod would take its comma.
TEST(NumbersTest, HostLocaleChangesNothing) {
  bool comma = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"})
    if (!comma && std::setlocale(LC_NUMERIC, name) != nullptr) comma = *std::localeconv()->decimal_point == ',';
  const QString shown = FormatNumber(1.5, 8, '.');
  const std::vector<double> read = {ReadNumber("1.5", '.'), ReadNumber("1,5", '.'), ReadNumber("1.5e999", '.')};
  std::setlocale(LC_NUMERIC, "C");
  if (!comma) GTEST_SKIP() << "no locale with a decimal comma on this machine";
  EXPECT_EQ(shown, "1.5000000");
  EXPECT_EQ(read, (std::vector<double>{1.5, 1, kInf}));
}

// Rows: the field's bytes, the text handed back, the bytes then (cut before a character that does not fit).
TEST(TextsTest, LegacyBytesShowAsWindows1252AndSurviveUnlessChanged) {
  EXPECT_EQ(FieldText("\x80\xB0" "C", 4), "€°C");
  const struct { const char* before; QString text; const char* after; } cases[] = {
      {"\xB0" "C", "°C", "\xB0" "C"}, {"\x80", "€", "\x80"}, {"\x81x", "\u0081x", "\x81x"},
      {"\xB0" "C", "°F", "\xC2\xB0" "F"}, {"", QString(10, u'°'), "°°°°°°°°°°"},
      {"", "x" + QString(10, u'°'), "x°°°°°°°°°"}, {"", "abcdefghijklmnopq\U0001F600", "abcdefghijklmnopq"}};
  for (const auto& c : cases) {
    char field[kSymbolWidth + 3] = {};
    std::strcpy(field, c.before);
    std::memcpy(field + kSymbolWidth, "!!!", 3);  // beyond the field: must stay
    StoreFieldText(field, kSymbolWidth, c.text);
    EXPECT_STREQ(field, c.after) << c.text.toStdString();
    EXPECT_EQ(std::memcmp(field + kSymbolWidth, "!!!", 3), 0);
  }
}

TEST(TextsTest, EditsRefuseInputBeyondTheByteLimit) {
  QLineEdit edit;
  LimitToBytes(&edit, 20);
  QApplication::clipboard()->setText("short");
  QTest::keySequence(&edit, QKeySequence::Paste);
  EXPECT_EQ(edit.text(), "short");  // pasting works at all
  QApplication::clipboard()->setText(QString(16, u'x'));
  QTest::keySequence(&edit, QKeySequence::Paste);
  EXPECT_EQ(edit.text(), "short");
  TypeInto(&edit, QString(8, u'°') + "b");  // at 19 bytes the 8th "°" needs 2, "b" fits
  EXPECT_EQ(edit.text(), "short" + QString(7, u'°') + "b");
  edit.setText(QString(25, u'y'));  // a legacy text longer than the limit
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), QString(24, u'y'));
  TypeInto(&edit, "z");
  EXPECT_EQ(edit.text(), QString(24, u'y'));
}

}  // namespace
}  // namespace testing
}  // namespace dialogs
}  // namespace units
