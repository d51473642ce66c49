#include "engine/field_encoder.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "engine/byte_order.h"
#include "engine/value_layout.h"
#include "odbc/odbc_api.h"
#include "tests/engine/test_files.h"

namespace tallowick {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::ToHex;

// A column as the generation run binds it; the buffer starts full of junk so
// that nothing relies on a zeroed buffer.
ColumnInfo Column(std::int16_t sqlType) {
  ColumnInfo column = MakeColumnInfo(1, "c", sqlType);
  column.value.assign(kValueBufferSize, 0xAA);
  column.indicator = kNullIndicator;
  return column;
}

template <class T>
ColumnInfo ColumnWith(std::int16_t sqlType, const T& value) {
  ColumnInfo column = Column(sqlType);
  std::memcpy(column.value.data(), &value, sizeof value);
  column.indicator = sizeof value;
  return column;
}

ColumnInfo TextColumn(const std::string& text) {
  ColumnInfo column = Column(12);
  std::memcpy(column.value.data(), text.data(), text.size());
  column.value[text.size()] = 0;
  column.indicator = static_cast<std::int64_t>(text.size());
  return column;
}

std::string Encoded(const ColumnInfo& column) {
  Bytes record;
  EncodeField(column, record);
  return ToHex(record);
}

TEST(ValueLayout, MatchesTheOdbcStructures) {
  static_assert(sizeof(SqlDateValue) == sizeof(SQL_DATE_STRUCT));
  static_assert(sizeof(SqlTimeValue) == sizeof(SQL_TIME_STRUCT));
  static_assert(sizeof(SqlTimestampValue) == sizeof(SQL_TIMESTAMP_STRUCT));
  static_assert(offsetof(SqlDateValue, day) == offsetof(SQL_DATE_STRUCT, day));
  static_assert(offsetof(SqlTimeValue, second) == offsetof(SQL_TIME_STRUCT, second));
  static_assert(offsetof(SqlTimestampValue, second) == offsetof(SQL_TIMESTAMP_STRUCT, second));
  static_assert(offsetof(SqlTimestampValue, fraction) == offsetof(SQL_TIMESTAMP_STRUCT, fraction));
  SUCCEED();
}

TEST(EncodeField, TextLosesCarriageReturnsAndWidensTabs) {
  EXPECT_EQ(Encoded(TextColumn("a\tb\r\n")), "61 20 20 20 20 20 62 0A 00");
  EXPECT_EQ(Encoded(TextColumn("\r\r\t\tx\r")), "20 20 20 20 20 20 20 20 20 20 78 00");
  EXPECT_EQ(Encoded(TextColumn("\t")), "20 20 20 20 20 00");
  // Only the text before the NUL counts; other bytes pass unchanged.
  ColumnInfo column = TextColumn("ab");
  column.value[3] = 'z';
  EXPECT_EQ(Encoded(column), "61 62 00");
  EXPECT_EQ(Encoded(TextColumn("\xC6\x01\x7F")), "C6 01 7F 00");
}

TEST(EncodeField, NullAndEmptyTextAreOneNul) {
  EXPECT_EQ(Encoded(TextColumn("")), "00");
  ColumnInfo column = TextColumn("not used");
  column.indicator = kNullIndicator;
  EXPECT_EQ(Encoded(column), "00");
}

TEST(EncodeField, TextFillingTheWholeBufferStaysInsideIt) {
  ColumnInfo column = Column(-1);
  std::memset(column.value.data(), 'x', column.value.size());  // no NUL at all
  column.indicator = static_cast<std::int64_t>(column.value.size());
  Bytes record;
  EncodeField(column, record);
  ASSERT_EQ(record.size(), kValueBufferSize + 1);
  EXPECT_EQ(record.back(), 0);
  EXPECT_EQ(record[kValueBufferSize - 1], 'x');
}

TEST(EncodeField, NumbersAreBigEndian) {
  EXPECT_EQ(Encoded(ColumnWith(4, std::int32_t{1})), "00 00 00 01");
  EXPECT_EQ(Encoded(ColumnWith(4, std::int32_t{-2})), "FF FF FF FE");
  EXPECT_EQ(Encoded(ColumnWith(5, std::int16_t{2})), "00 02");
  EXPECT_EQ(Encoded(ColumnWith(5, std::int16_t{-1})), "FF FF");
  EXPECT_EQ(Encoded(ColumnWith(8, 1.5)), "3F F8 00 00 00 00 00 00");
  EXPECT_EQ(Encoded(ColumnWith(7, 1.5f)), "3F C0 00 00");
  // Byte and bit are one unsigned byte widened to 16 bits.
  EXPECT_EQ(Encoded(ColumnWith(-6, std::int8_t{-1})), "00 FF");
  EXPECT_EQ(Encoded(ColumnWith(-28, std::uint8_t{200})), "00 C8");
  EXPECT_EQ(Encoded(ColumnWith(-7, std::uint8_t{1})), "00 01");
}

TEST(EncodeField, FloatingBitPatternsSurviveUnchanged) {
  // Signalling and quiet NaNs with payloads, infinities, denormals, -0.
  const std::uint32_t floats[] = {0x7FA00001u, 0xFF800001u, 0x7FC00000u, 0xFFFFFFFFu,
                                  0x7F800000u, 0x00000001u, 0x80000000u, 0x3F800000u};
  for (std::uint32_t bits : floats) {
    ColumnInfo column = ColumnWith(7, bits);
    Bytes expected(4);
    PutBigEndian32(expected.data(), bits);
    EXPECT_EQ(Encoded(column), ToHex(expected));
    unsigned char bytes[4];
    std::memcpy(bytes, &bits, 4);
    SwapBytesFloat(bytes);
    SwapBytesFloat(bytes);
    EXPECT_EQ(std::memcmp(bytes, &bits, 4), 0);
  }
  const std::uint64_t doubles[] = {0x7FF0000000000001ull, 0x7FF4000000000000ull,
                                   0xFFF8000000000000ull, 0x7FFFFFFFFFFFFFFFull,
                                   0x0000000000000001ull, 0x8000000000000000ull};
  for (std::uint64_t bits : doubles) {
    ColumnInfo column = ColumnWith(8, bits);
    Bytes expected(8);
    PutBigEndian32(expected.data(), static_cast<std::uint32_t>(bits >> 32));
    PutBigEndian32(expected.data() + 4, static_cast<std::uint32_t>(bits));
    EXPECT_EQ(Encoded(column), ToHex(expected));
    unsigned char bytes[8];
    std::memcpy(bytes, &bits, 8);
    SwapBytesDouble(bytes);
    EXPECT_EQ(ToHex(Bytes(bytes, bytes + 8)), ToHex(expected));
    SwapBytesDouble(bytes);
    EXPECT_EQ(std::memcmp(bytes, &bits, 8), 0);
  }
  EXPECT_EQ(SwapBytes16(0x1234), 0x3412);
  EXPECT_EQ(SwapBytes32(0x12345678u), 0x78563412u);
}

TEST(EncodeField, DatesTimesAndTimestamps) {
  EXPECT_EQ(Encoded(ColumnWith(91, SqlDateValue{2003, 7, 15})), "C6 EF");
  EXPECT_EQ(Encoded(ColumnWith(9, SqlDateValue{1904, 1, 1})), "00 21");
  EXPECT_EQ(Encoded(ColumnWith(91, SqlDateValue{1900, 1, 1})), "F8 21");
  EXPECT_EQ(Encoded(ColumnWith(91, SqlDateValue{2032, 1, 1})), "00 21");
  EXPECT_EQ(Encoded(ColumnWith(10, SqlTimeValue{14, 35, 59})), "0E 23");
  EXPECT_EQ(Encoded(ColumnWith(93, SqlTimestampValue{2003, 7, 13, 10, 20, 30, 999})),
            "00 1E 00 14 00 0A 00 0D 00 07 07 D3 00 07");
  EXPECT_EQ(Encoded(ColumnWith(11, SqlTimestampValue{2003, 7, 14, 0, 0, 0, 0})),
            "00 00 00 00 00 00 00 0E 00 07 07 D3 00 01");
}

TEST(EncodeField, NullOfEveryFixedKindIsZeroBytesOfItsSize) {
  const struct {
    std::int16_t sqlType;
    std::size_t size;
  } kinds[] = {{4, 4}, {5, 2}, {8, 8}, {7, 4}, {-6, 2}, {-7, 2}, {91, 2}, {10, 2}, {93, 14}};
  for (const auto& kind : kinds) {
    ColumnInfo column = Column(kind.sqlType);  // junk in the buffer, indicator NULL
    Bytes record;
    EncodeField(column, record);
    EXPECT_EQ(record, Bytes(kind.size, 0)) << kind.sqlType;
  }
}

TEST(EncodeField, ColumnsWithoutKindAddNothing) {
  for (std::int16_t sqlType : {92, -5, -9, -4}) {
    Bytes record{1, 2};
    EncodeField(ColumnWith(sqlType, std::int64_t{77}), record);
    EXPECT_EQ(record, (Bytes{1, 2})) << sqlType;
  }
}

TEST(EncodeField, RowFieldsFollowEachOtherUnaligned) {
  const ColumnInfo row[] = {ColumnWith(4, std::int32_t{1}), TextColumn("ab"),
                            ColumnWith(5, std::int16_t{2})};
  Bytes record;
  RecordArena records;
  for (const ColumnInfo& column : row) {
    EncodeField(column, record);
    EncodeField(column, records);
  }
  records.EndRecord();
  EXPECT_EQ(ToHex(record), "00 00 00 01 61 62 00 00 02");
  ASSERT_EQ(records.RecordCount(), 1u);
  EXPECT_EQ(Bytes(records.RecordData(0), records.RecordData(0) + records.RecordLength(0)), record);
}

TEST(RecordArena, KeepsRecordsApartAcrossGrowth) {
  RecordArena records;
  // Enough records to grow the block several times over.
  for (std::uint32_t i = 0; i < 300000; ++i) {
    unsigned char bytes[4];
    PutBigEndian32(bytes, i);
    records.Append(bytes, i % 5 == 0 ? 0 : 4);
    records.EndRecord();
  }
  records.Append("open", 4);
  records.DiscardOpenRecord();
  ASSERT_EQ(records.RecordCount(), 300000u);
  EXPECT_EQ(records.Size(), 240000u * 4);
  EXPECT_EQ(records.RecordLength(0), 0u);
  EXPECT_EQ(records.RecordLength(299999), 4u);
  EXPECT_EQ(GetBigEndian32(records.RecordData(299999)), 299999u);
  EXPECT_EQ(GetBigEndian32(records.RecordData(1)), 1u);
  EXPECT_EQ(records.RecordData(6) - records.Data(), 4 * 4);
}

}  // namespace
}  // namespace tallowick
