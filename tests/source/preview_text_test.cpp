// The text forms of the preview, by bind type, NULLs included.
#include "source/preview_text.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/field_kind.h"
#include "odbc/odbc_api.h"

namespace tallowick {
namespace {

TEST(PreviewText, CharacterTextsShowTabsAsFiveBlanksAndStopAtTheNul) {
  const char text[] = "a\tb\0hidden";
  EXPECT_EQ(PreviewCharacterText(text, sizeof text), "a     b");
  const char unterminated[3] = {'x', 'y', 'z'};
  EXPECT_EQ(PreviewCharacterText(unterminated, sizeof unterminated), "xyz");
}

TEST(PreviewText, IntegersFollowTheirWidthAndSignedness) {
  EXPECT_EQ(PreviewIntegerText(-42), "-42");
  EXPECT_EQ(PreviewSmallIntText(-2), "65534");
  EXPECT_EQ(PreviewSmallIntText(-1), "65535");
  EXPECT_EQ(PreviewSmallIntText(300), "300");
  EXPECT_EQ(PreviewByteText(255), "255");
}

TEST(PreviewText, DoublesUseTheExponentFormFrom1e8Up) {
  EXPECT_EQ(PreviewDoubleText(123456789.5), "1.234568e+08");
  EXPECT_EQ(PreviewDoubleText(99999999.5), "99999999.500000");
  EXPECT_EQ(PreviewDoubleText(100000000.0), "1.000000e+08");
  EXPECT_EQ(PreviewDoubleText(-500000000.0), "-500000000.000000");
  EXPECT_EQ(PreviewRealText(2.5f), "2.500000");
}

TEST(PreviewText, DatesAndTimesHaveNoLeadingZeros) {
  EXPECT_EQ(PreviewDateText(2003, 3, 1), "2003/3/1");
  EXPECT_EQ(PreviewTimeText(9, 5, 0), "9:5:0");
}

TEST(PreviewText, TimestampsUseTheTwelveHourForm) {
  EXPECT_EQ(PreviewTimestampText(2003, 3, 1, 0, 5, 9), "2003/03/01 12:05:09  AM");
  EXPECT_EQ(PreviewTimestampText(2003, 3, 1, 11, 59, 59), "2003/03/01 11:59:59  AM");
  EXPECT_EQ(PreviewTimestampText(2003, 3, 1, 12, 0, 0), "2003/03/01 12:00:00 PM");
  EXPECT_EQ(PreviewTimestampText(2003, 3, 1, 14, 30, 0), "2003/03/01 02:30:00 PM");
  EXPECT_EQ(PreviewTimestampText(1900, 1, 0, 0, 0, 0), "1900/01/00 12:00:00  AM");
}

ColumnInfo Column(std::int16_t sqlType) {
  ColumnInfo column = MakeColumnInfo(1, "c", sqlType);
  column.value.assign(kValueBufferSize, 0);
  return column;
}

template <typename T>
ColumnInfo ColumnHolding(std::int16_t sqlType, const T& value) {
  ColumnInfo column = Column(sqlType);
  std::memcpy(column.value.data(), &value, sizeof value);
  column.indicator = sizeof value;
  return column;
}

TEST(PreviewValue, ReadsEachBindTypeFromTheValueBuffer) {
  EXPECT_EQ(PreviewValueText(ColumnHolding<std::int32_t>(SQL_INTEGER, -7)), "-7");
  EXPECT_EQ(PreviewValueText(ColumnHolding<std::int16_t>(SQL_SMALLINT, -2)), "65534");
  EXPECT_EQ(PreviewValueText(ColumnHolding<std::uint8_t>(SQL_TINYINT, 200)), "200");
  EXPECT_EQ(PreviewValueText(ColumnHolding<std::uint8_t>(SQL_BIT, 1)), "1");
  EXPECT_EQ(PreviewValueText(ColumnHolding<double>(SQL_FLOAT, 1.5)), "1.500000");
  EXPECT_EQ(PreviewValueText(ColumnHolding<float>(SQL_REAL, 0.25f)), "0.250000");
  EXPECT_EQ(PreviewValueText(ColumnHolding(SQL_TYPE_DATE, SQL_DATE_STRUCT{2003, 7, 15})),
            "2003/7/15");
  EXPECT_EQ(PreviewValueText(ColumnHolding(SQL_TIME, SQL_TIME_STRUCT{14, 35, 59})), "14:35:59");
  EXPECT_EQ(PreviewValueText(
                ColumnHolding(SQL_TYPE_TIMESTAMP, SQL_TIMESTAMP_STRUCT{2003, 3, 1, 14, 30, 0, 0})),
            "2003/03/01 02:30:00 PM");
  const char text[] = "Crème\tbrûlée";
  ColumnInfo character = Column(SQL_VARCHAR);
  std::memcpy(character.value.data(), text, sizeof text);
  character.indicator = sizeof text - 1;
  EXPECT_EQ(PreviewValueText(character), "Crème     brûlée");
}

TEST(PreviewValue, NullsShowAsEmptyOrZeroByType) {
  const std::pair<std::int16_t, const char*> expected[] = {
      {SQL_VARCHAR, ""},        {SQL_DECIMAL, ""},       {SQL_INTEGER, "0"},
      {SQL_SMALLINT, "0"},      {SQL_TINYINT, "0"},      {SQL_BIT, "0"},
      {SQL_DOUBLE, "0.000000"}, {SQL_FLOAT, "0.000000"}, {SQL_REAL, "0.000000"},
      {SQL_TYPE_DATE, ""},      {SQL_TIME, ""},          {SQL_TYPE_TIMESTAMP, ""},
  };
  for (const auto& [sqlType, text] : expected) {
    ColumnInfo column = ColumnHolding<std::int32_t>(sqlType, 12345);
    column.indicator = kNullIndicator;
    EXPECT_EQ(PreviewValueText(column), text) << "SQL type " << sqlType;
  }
}

TEST(PreviewValue, ColumnsOfNoKindShowNotSupportedEvenWhenNull) {
  for (std::int16_t sqlType : {std::int16_t{SQL_TYPE_TIME}, std::int16_t{SQL_BIGINT},
                               std::int16_t{SQL_LONGVARBINARY}, std::int16_t{SQL_WVARCHAR}}) {
    ColumnInfo column = Column(sqlType);
    EXPECT_EQ(PreviewValueText(column), "Not Supported");
    column.indicator = 4;
    EXPECT_EQ(PreviewValueText(column), "Not Supported");
  }
}

}  // namespace
}  // namespace tallowick
