#include "engine/field_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/palm_date.h"
#include "engine/text_util.h"
#include "tests/engine/test_files.h"

namespace tallowick {
namespace {

using testing::Bytes;
using testing::Hex;

std::vector<std::string> Decode(const Bytes& record, const std::vector<std::uint8_t>& kinds) {
  return DecodeRecordFields(record.data(), record.size(), kinds);
}

std::string Text(std::uint8_t kind, const std::string& hex) {
  const Bytes bytes = Hex(hex);
  const auto field = DecodeField(kind, bytes.data(), bytes.size());
  return field ? field->text : "<none>";
}

TEST(FieldText, NumbersInTheViewerForms) {
  EXPECT_EQ(Text(2, "3F F8 00 00 00 00 00 00"), "1.500000");
  EXPECT_EQ(Text(3, "3F C0 00 00"), "1.500000");
  EXPECT_EQ(Text(3, "C2 F6 E9 79"), "-123.456001");
  EXPECT_EQ(Text(4, "FF FF FF FF"), "-1");
  EXPECT_EQ(Text(4, "7F FF FF FF"), "2147483647");
  EXPECT_EQ(Text(4, "80 00 00 00"), "-2147483648");
  EXPECT_EQ(Text(5, "FF FF"), "65535");
  EXPECT_EQ(Text(5, "00 02"), "2");
}

TEST(FieldText, DoubleThresholdAppliesToTheValueNotItsMagnitude) {
  EXPECT_EQ(FormatViewerDouble(99999999.5), "99999999.500000");
  EXPECT_EQ(FormatViewerDouble(100000000.0), "1.000000e+08");
  EXPECT_EQ(FormatViewerDouble(1e300), "1.000000e+300");
  EXPECT_EQ(FormatViewerDouble(-1e20), "-100000000000000000000.000000");
  const std::string huge = FormatViewerDouble(-std::numeric_limits<double>::max());
  EXPECT_EQ(huge.size(), 1 + 309 + 7u);  // all 309 digits, never cut
  EXPECT_EQ(huge.substr(0, 5), "-1797");
  EXPECT_EQ(FormatViewerDouble(std::numeric_limits<double>::quiet_NaN()), "nan");
  EXPECT_EQ(FormatViewerDouble(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(FormatViewerDouble(-std::numeric_limits<double>::infinity()), "-inf");
}

TEST(FieldText, DateTimeUsesTheTwelveHourClockWithNoonAsAm) {
  auto shown = [](int hour, int minute) {
    const auto bytes = EncodeDateTime(2003, 5, 17, static_cast<std::uint16_t>(hour),
                                      static_cast<std::uint16_t>(minute), 9, 0);
    return FormatViewerDateTime(bytes.data());
  };
  EXPECT_EQ(shown(15, 4), "2003/5/17 3:4:9::0 PM");
  EXPECT_EQ(shown(0, 30), "2003/5/17 12:30:9::0 AM");
  EXPECT_EQ(shown(12, 30), "2003/5/17 12:30:9::0 AM");
  EXPECT_EQ(shown(13, 30), "2003/5/17 1:30:9::0 PM");
  EXPECT_EQ(shown(1, 0), "2003/5/17 1:0:9::0 AM");
  EXPECT_EQ(shown(23, 59), "2003/5/17 11:59:9::0 PM");
}

TEST(FieldText, TimeAndDateWithoutLeadingZeros) {
  EXPECT_EQ(Text(7, "08 05"), "8:5");
  EXPECT_EQ(Text(7, "FF 00"), "255:0");
  EXPECT_EQ(Text(8, "C6 EF"), "2003/7/15");
  EXPECT_EQ(Text(8, "F8 21"), "2028/1/1");
}

TEST(DecodeRecordFields, WalksFieldsAndDropsCarriageReturnsOnlyForShow) {
  // "a\r\nb" then a Short: removing the CR must not shift the Short.
  const Bytes record = Hex("61 0D 0A 62 00 00 07 00 00 00 2A");
  EXPECT_EQ(Decode(record, {1, 5, 4}), (std::vector<std::string>{"a\nb", "7", "42"}));
}

TEST(DecodeRecordFields, UnknownKindShowsEmptyAndTakesNoBytes) {
  const Bytes record = Hex("61 62 00 00 00 00 07");
  EXPECT_EQ(Decode(record, {1, 0, 9, 4}), (std::vector<std::string>{"ab", "", "", "7"}));
}

TEST(DecodeRecordFields, StopsAtTheRecordEnd) {
  // Long, then a text whose NUL is missing, then a Short: only the Long shows.
  EXPECT_EQ(Decode(Hex("00 00 00 01 61 62"), {4, 1, 5}), (std::vector<std::string>{"1", "", ""}));
  // A DateTime needs 14 bytes; 13 are there.
  EXPECT_EQ(Decode(Bytes(13, 0), {6, 1}), (std::vector<std::string>{"", ""}));
  // Every kind on an empty record.
  EXPECT_EQ(Decode(Bytes{}, {1, 2, 3, 4, 5, 6, 7, 8}), std::vector<std::string>(8));
  EXPECT_EQ(DecodeRecordFields(nullptr, 0, {1, 4}), std::vector<std::string>(2));
  // Fields that fit exactly all show.
  EXPECT_EQ(Decode(Hex("00 00 00 00 00 00 00 00 08 05"), {2, 7}),
            (std::vector<std::string>{"0.000000", "8:5"}));
  EXPECT_EQ(Decode(Hex("01 02"), {}), std::vector<std::string>{});
}

TEST(RemoveChar, RemovesEveryOccurrenceAndCountsThem) {
  std::string text = "\ra\r\rb\r";
  EXPECT_EQ(RemoveChar(text, '\r'), 4u);
  EXPECT_EQ(text, "ab");
  EXPECT_EQ(RemoveChar(text, '\r'), 0u);
  EXPECT_EQ(text, "ab");
  std::string empty;
  EXPECT_EQ(RemoveChar(empty, 'x'), 0u);
}

}  // namespace
}  // namespace tallowick
