#include "tests/engine/fake_result_source.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace tallowick::testing {

FakeResultSource::FakeResultSource(std::vector<FakeColumn> columns,
                                   std::vector<std::vector<FakeValue>> rows)
    : m_columns(std::move(columns)), m_rowCount(rows.size()) {
  auto table = std::make_shared<std::vector<std::vector<FakeValue>>>(std::move(rows));
  m_make = [table](std::size_t row, std::size_t column) { return (*table)[row].at(column); };
}

FakeResultSource::FakeResultSource(std::vector<FakeColumn> columns, std::size_t rowCount,
                                   RowMaker make)
    : m_columns(std::move(columns)), m_rowCount(rowCount), m_make(std::move(make)) {}

bool FakeResultSource::DescribeColumn(std::uint16_t number, std::string& name,
                                      std::int16_t& sqlType) {
  if (number == 0 || number > m_columns.size() || number == describeFailsAt) return false;
  name = m_columns[number - 1].name;
  sqlType = m_columns[number - 1].sqlType;
  return true;
}

bool FakeResultSource::Execute() {
  m_executed = !executeFails;
  return m_executed;
}

bool FakeResultSource::BindColumn(ColumnInfo& column) {
  boundColumns.push_back(column.number);
  if (column.number == bindFailsAt) return false;
  if (column.bindType == bind::None) return true;  // left unbound
  EXPECT_EQ(column.value.size(), kValueBufferSize) << "column " << column.number;
  m_bound.push_back(&column);
  return true;
}

FetchStatus FakeResultSource::FetchNext() {
  ++fetches;
  if (!m_executed) return FetchStatus::Error;
  ++m_row;
  if (m_row == fetchFailsAt) return FetchStatus::Error;
  if (m_row > m_rowCount) return FetchStatus::NoData;
  for (ColumnInfo* column : m_bound) Store(m_make(m_row - 1, column->number - 1u), *column);
  return FetchStatus::Row;
}

void FakeResultSource::Store(const FakeValue& value, ColumnInfo& column) {
  if (std::holds_alternative<std::monostate>(value)) {
    column.indicator = kNullIndicator;  // the buffer keeps the previous row's bytes
    return;
  }
  if (const auto* text = std::get_if<std::string>(&value)) {
    EXPECT_EQ(column.bindType, bind::Char) << column.name;
    std::memcpy(column.value.data(), text->c_str(), text->size() + 1);
    column.indicator = static_cast<std::int64_t>(text->size());
    return;
  }
  std::visit(
      [&column](const auto& fixed) {
        using T = std::decay_t<decltype(fixed)>;
        if constexpr (!std::is_same_v<T, std::monostate> && !std::is_same_v<T, std::string>) {
          std::memcpy(column.value.data(), &fixed, sizeof fixed);
          column.indicator = sizeof fixed;
        }
      },
      value);
}

}  // namespace tallowick::testing
