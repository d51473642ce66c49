#pragma once
// A result source over a table of values held in the test, for driving the
// generation run without a database.
#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "engine/result_source.h"
#include "engine/value_layout.h"

namespace tallowick::testing {

// One value in the C layout of its column's bind type; monostate is NULL.
using FakeValue = std::variant<std::monostate, std::string, std::int32_t, std::int16_t, double,
                               float, std::uint8_t, SqlDateValue, SqlTimeValue, SqlTimestampValue>;

struct FakeColumn {
  std::string name;
  std::int16_t sqlType = 0;
};

class FakeResultSource : public ResultSource {
 public:
  using RowMaker = std::function<FakeValue(std::size_t row, std::size_t column)>;

  FakeResultSource(std::vector<FakeColumn> columns, std::vector<std::vector<FakeValue>> rows);
  // `rowCount` rows whose values are made when fetched (0-based row and column).
  FakeResultSource(std::vector<FakeColumn> columns, std::size_t rowCount, RowMaker make);

  // Failures to play back; 0 means none.
  std::uint16_t describeFailsAt = 0;  // column number
  bool executeFails = false;
  std::uint16_t bindFailsAt = 0;  // column number
  std::size_t fetchFailsAt = 0;   // row number, from 1
  std::string diagnostic = "[fake] out of luck  HY000";

  // What the run asked for.
  std::size_t fetches = 0;
  std::vector<std::uint16_t> boundColumns;  // every BindColumn call, by number

  bool DescribeColumn(std::uint16_t number, std::string& name, std::int16_t& sqlType) override;
  bool Execute() override;
  bool BindColumn(ColumnInfo& column) override;
  FetchStatus FetchNext() override;
  std::string Diagnostic() override { return diagnostic; }

 private:
  void Store(const FakeValue& value, ColumnInfo& column);

  std::vector<FakeColumn> m_columns;
  std::size_t m_rowCount;
  RowMaker m_make;
  bool m_executed = false;
  std::size_t m_row = 0;
  std::vector<ColumnInfo*> m_bound;
};

}  // namespace tallowick::testing
