#include "engine/field_kind.h"

#include <gtest/gtest.h>

#include "engine/column_info.h"

namespace tallowick {
namespace {

struct ClassRow {
  std::int16_t sqlType;
  RowGroup group;
  std::int16_t bindType;
  std::optional<FieldKind> kind;
};

// Every SQL type the drivers report that maps to a kind, and the
// neighbouring codes that must not.
const ClassRow kClassification[] = {
    {1, RowGroup::Character, 1, FieldKind::String},
    {2, RowGroup::Character, 1, FieldKind::String},
    {3, RowGroup::Character, 1, FieldKind::String},
    {12, RowGroup::Character, 1, FieldKind::String},
    {-1, RowGroup::Character, 1, FieldKind::String},
    {-11, RowGroup::Character, 1, FieldKind::String},
    {4, RowGroup::LongInteger, 4, FieldKind::Long},
    {-16, RowGroup::LongInteger, 4, FieldKind::Long},
    {-18, RowGroup::LongInteger, 4, FieldKind::Long},
    {5, RowGroup::ShortInteger, 5, FieldKind::Short},
    {-15, RowGroup::ShortInteger, 5, FieldKind::Short},
    {-17, RowGroup::ShortInteger, 5, FieldKind::Short},
    {6, RowGroup::Double, 8, FieldKind::Double},
    {8, RowGroup::Double, 8, FieldKind::Double},
    {7, RowGroup::Float, 7, FieldKind::Float},
    {9, RowGroup::Date, 9, FieldKind::Date},
    {91, RowGroup::Date, 9, FieldKind::Date},
    {10, RowGroup::Time, 10, FieldKind::Time},
    {11, RowGroup::Timestamp, 11, FieldKind::DateTime},
    {93, RowGroup::Timestamp, 11, FieldKind::DateTime},
    {-6, RowGroup::Byte, -6, FieldKind::Short},
    {-26, RowGroup::Byte, -6, FieldKind::Short},
    {-28, RowGroup::Byte, -6, FieldKind::Short},
    {-7, RowGroup::Bit, -7, FieldKind::Short},
    // No kind: ODBC 3 time, binaries, bigint, wide characters, unknown codes.
    {92, RowGroup::None, 0, std::nullopt},
    {-2, RowGroup::None, 0, std::nullopt},
    {-3, RowGroup::None, 0, std::nullopt},
    {-4, RowGroup::None, 0, std::nullopt},
    {-5, RowGroup::None, 0, std::nullopt},
    {-8, RowGroup::None, 0, std::nullopt},
    {-9, RowGroup::None, 0, std::nullopt},
    {-10, RowGroup::None, 0, std::nullopt},
    {0, RowGroup::None, 0, std::nullopt},
    {13, RowGroup::None, 0, std::nullopt},
    {94, RowGroup::None, 0, std::nullopt},
    {-25, RowGroup::None, 0, std::nullopt},
    {-27, RowGroup::None, 0, std::nullopt},
};

TEST(ClassifyColumn, FollowsTheClassificationTableForEveryCode) {
  for (const ClassRow& row : kClassification) {
    SCOPED_TRACE("SQL type " + std::to_string(row.sqlType));
    const ColumnClass result = ClassifyColumn(row.sqlType);
    EXPECT_EQ(result.group, row.group);
    EXPECT_EQ(result.bindType, row.bindType);
    EXPECT_EQ(result.kind, row.kind);

    const ColumnInfo column = MakeColumnInfo(3, "Col", row.sqlType);
    EXPECT_EQ(column.number, 3);
    EXPECT_EQ(column.name, "Col");
    EXPECT_EQ(column.sqlType, row.sqlType);
    EXPECT_EQ(column.group, row.group);
    EXPECT_EQ(column.bindType, row.bindType);
    EXPECT_EQ(column.kind, row.kind);
    EXPECT_TRUE(column.IsNull());
  }
}

TEST(FieldKind, CodesNamesAndSizesAreTheFileFormatOnes) {
  EXPECT_EQ(static_cast<int>(FieldKind::String), 1);
  EXPECT_EQ(static_cast<int>(FieldKind::Date), 8);
  const char* names[] = {"",      "String",   "Double", "Float", "Long",
                         "Short", "DateTime", "Time",   "Date",  ""};
  for (int code = 0; code <= 9; ++code) {
    EXPECT_EQ(FieldKindName(static_cast<std::uint8_t>(code)), names[code]) << code;
  }
  EXPECT_EQ(FieldKindName(255), "");
  EXPECT_EQ(FixedFieldSize(FieldKind::String), 0u);
  EXPECT_EQ(FixedFieldSize(FieldKind::Double), 8u);
  EXPECT_EQ(FixedFieldSize(FieldKind::Float), 4u);
  EXPECT_EQ(FixedFieldSize(FieldKind::Long), 4u);
  EXPECT_EQ(FixedFieldSize(FieldKind::Short), 2u);
  EXPECT_EQ(FixedFieldSize(FieldKind::DateTime), 14u);
  EXPECT_EQ(FixedFieldSize(FieldKind::Time), 2u);
  EXPECT_EQ(FixedFieldSize(FieldKind::Date), 2u);
}

}  // namespace
}  // namespace tallowick
