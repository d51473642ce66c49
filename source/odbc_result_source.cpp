#include "source/odbc_result_source.h"

#include <cstring>

#include "engine/field_kind.h"
#include "odbc/odbc_api.h"
#include "platform/driver_text.h"
#include "source/odbc_diagnostic.h"

namespace tallowick {

namespace {

constexpr std::size_t kNameBuffer = 255;

SQLCHAR* Text(const std::string& text) {
  return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str()));
}

std::string FirstState(SQLHSTMT statement) {
  return ReadFirstDiagnostic(SQL_HANDLE_STMT, statement, 100).state;
}

}  // namespace

SQLRETURN SetReadOnlyCursor(SQLHSTMT statement) {
  SQLSetStmtAttr(statement, SQL_ATTR_CURSOR_TYPE,
                 reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(SQL_CURSOR_STATIC)),
                 SQL_IS_INTEGER);
  return SQLSetStmtAttr(statement, SQL_ATTR_CONCURRENCY,
                        reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(SQL_CONCUR_READ_ONLY)),
                        SQL_IS_INTEGER);
}

bool MeansNoAbsoluteFetch(const std::string& state) {
  return state == "IM001" || state == "HYC00" || state == "HY106";
}

std::int64_t DecodeIndicator(SQLLEN raw) {
  // IndicatorWidth: only the low 32 bits are trusted (and raw was zeroed
  // before the fetch, so a 32-bit writer leaves the high half at 0).
  return static_cast<std::int64_t>(static_cast<std::int32_t>(static_cast<std::uint32_t>(raw)));
}

OdbcResultSource::OdbcResultSource(SQLHDBC connection, const std::string& query, DescribeUse use,
                                   FetchMode mode)
    : m_use(use), m_mode(mode), m_textFromCodePage(!platform::DriversUseUtf8()) {
  if (!SQL_SUCCEEDED(m_statement.Allocate(connection))) return;
  const SQLHSTMT statement = m_statement.Get();
  SetReadOnlyCursor(statement);
  std::string text;
  if (!platform::TextForDrivers(query, text)) {
    // With '?' in place of those characters it would be another query.
    m_refusal = DiagnosticLine({true, "", kUnspellableQueryMessage});
    return;
  }
  const SQLRETURN prepared = SQLPrepare(statement, Text(text), SQL_NTS);
  // The reason is read now: the calls after a failed prepare replace it.
  if (!SQL_SUCCEEDED(prepared)) m_refusal = StatementDiagnostic(statement);
  SQLSMALLINT count = 0;
  if (!SQL_SUCCEEDED(SQLNumResultCols(statement, &count))) {
    if (m_refusal.empty()) m_refusal = StatementDiagnostic(statement);
    return;
  }
  if (count == 0) {
    // DescribeAfterExecute: the driver knows the columns only once the
    // query has run. The later Execute() reports this execution.
    const SQLRETURN result = SQLExecute(statement);
    m_executedEarly = true;
    m_executed = true;
    m_executeResult = result != SQL_ERROR;
    if (!m_executeResult) {
      m_refusal = StatementDiagnostic(statement);
      return;
    }
    if (!SQL_SUCCEEDED(SQLNumResultCols(statement, &count))) return;
  }
  m_columnCount = count;
  m_ready = true;
}

OdbcResultSource::~OdbcResultSource() {
  if (m_statement) SQLCloseCursor(m_statement.Get());
}

bool OdbcResultSource::DescribeColumn(std::uint16_t number, std::string& name,
                                      std::int16_t& sqlType) {
  SQLCHAR buffer[kNameBuffer] = {};
  SQLSMALLINT nameLength = 0;
  SQLSMALLINT type = 0;
  SQLULEN size = 0;
  SQLSMALLINT digits = 0;
  SQLSMALLINT nullable = 0;
  const SQLRETURN result = SQLDescribeCol(m_statement.Get(), number, buffer, sizeof buffer,
                                          &nameLength, &type, &size, &digits, &nullable);
  const bool described =
      m_use == DescribeUse::Generation ? result == SQL_SUCCESS : SQL_SUCCEEDED(result);
  if (!described) return false;
  name = platform::TextFromDrivers(reinterpret_cast<const char*>(buffer));
  sqlType = type;
  return true;
}

bool OdbcResultSource::Execute() {
  if (!m_executed) {
    m_executeResult = SQLExecute(m_statement.Get()) != SQL_ERROR;
    m_executed = true;
  }
  return m_executeResult;
}

bool OdbcResultSource::BindColumn(ColumnInfo& column) {
  column.value.assign(kValueBufferSize, 0);
  column.indicator = kNullIndicator;
  // UnboundColumns: no SQLBindCol call at all for a column without a kind.
  if (column.bindType == bind::None) return true;

  auto binding = std::make_unique<Binding>();
  binding->column = &column;
  SQLPOINTER buffer = column.value.data();
  SQLLEN length = static_cast<SQLLEN>(kValueBufferSize);
  switch (column.bindType) {
    case bind::Short:
    case bind::TinyInt:
      // NarrowIntegers: a 32-bit binding, narrowed in Deliver().
      binding->targetType = SQL_C_SLONG;
      buffer = &binding->scratch;
      length = sizeof binding->scratch;
      break;
    case bind::Bit:
      // BitScratch: whatever width the driver writes lands in the scratch.
      binding->targetType = SQL_C_BIT;
      buffer = &binding->scratch;
      length = sizeof binding->scratch;
      break;
    default:
      binding->targetType = column.bindType;
      break;
  }
  const SQLRETURN result = SQLBindCol(m_statement.Get(), column.number, binding->targetType, buffer,
                                      length, &binding->indicator);
  if (result == SQL_ERROR) return false;
  m_bindings.push_back(std::move(binding));
  return true;
}

SQLRETURN OdbcResultSource::FetchRaw() {
  for (auto& binding : m_bindings) {
    binding->indicator = 0;
    binding->scratch = 0;
  }
  const SQLHSTMT statement = m_statement.Get();
  if (m_mode == FetchMode::Absolute) {
    const SQLRETURN result =
        SQLFetchScroll(statement, SQL_FETCH_ABSOLUTE, static_cast<SQLLEN>(m_row) + 1);
    const bool refused = !SQL_SUCCEEDED(result) && result != SQL_NO_DATA;
    if (!(refused && m_row == 0 && MeansNoAbsoluteFetch(FirstState(statement)))) return result;
    // ForwardOnlyFallback: nothing was read yet, so SQLFetch from here
    // reads the same rows in the same order.
    m_mode = FetchMode::Forward;
  }
  return SQLFetch(statement);
}

FetchStatus OdbcResultSource::FetchNext() {
  const SQLRETURN result = FetchRaw();
  if (result == SQL_NO_DATA) return FetchStatus::NoData;
  if (!SQL_SUCCEEDED(result)) return FetchStatus::Error;
  ++m_row;
  for (auto& binding : m_bindings) Deliver(*binding);
  return FetchStatus::Row;
}

void OdbcResultSource::Deliver(Binding& binding) const {
  ColumnInfo& column = *binding.column;
  const std::int64_t indicator = DecodeIndicator(binding.indicator);
  if (indicator == SQL_NULL_DATA) {
    column.indicator = kNullIndicator;
    // The buffer may still hold the previous row's value.
    std::memset(column.value.data(), 0, 16);
    return;
  }
  column.indicator = indicator;
  unsigned char scratch[sizeof binding.scratch];
  std::memcpy(scratch, &binding.scratch, sizeof scratch);
  switch (column.bindType) {
    case bind::Short: {
      std::int32_t wide = 0;
      std::memcpy(&wide, scratch, sizeof wide);
      const auto narrow = static_cast<std::int16_t>(wide);
      std::memcpy(column.value.data(), &narrow, sizeof narrow);
      column.indicator = sizeof narrow;
      break;
    }
    case bind::TinyInt: {
      std::int32_t wide = 0;
      std::memcpy(&wide, scratch, sizeof wide);
      column.value[0] = static_cast<unsigned char>(static_cast<std::uint32_t>(wide) & 0xFF);
      column.indicator = 1;
      break;
    }
    case bind::Bit:
      column.value[0] = scratch[0];
      column.indicator = 1;
      break;
    case bind::Double:
      if (indicator == static_cast<std::int64_t>(sizeof(float))) {
        // SingleWidening.
        float single = 0;
        std::memcpy(&single, column.value.data(), sizeof single);
        const double widened = single;
        std::memcpy(column.value.data(), &widened, sizeof widened);
        column.indicator = sizeof widened;
      }
      break;
    case bind::Char:
      if (m_textFromCodePage) {
        const auto* text = reinterpret_cast<const char*>(column.value.data());
        const std::string utf8 =
            CutAtCharacter(platform::TextFromDrivers({text, ::strnlen(text, column.value.size())}),
                           column.value.size() - 1);
        std::memcpy(column.value.data(), utf8.c_str(), utf8.size() + 1);
        column.indicator = static_cast<std::int64_t>(utf8.size());
      }
      break;
    default:
      break;
  }
}

std::string OdbcResultSource::Diagnostic() {
  if (!m_ready && !m_refusal.empty()) return m_refusal;
  return StatementDiagnostic(m_statement.Get());
}

}  // namespace tallowick
