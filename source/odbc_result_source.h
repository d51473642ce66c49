#pragma once
// The rows of one SELECT query prepared on an ODBC connection, delivered in
// the layout of ColumnInfo whatever the driver did. Every driver quirk that
// reading a result meets is handled here and nowhere else:
//
//  ForwardOnlyFallback   A driver that cannot fetch by absolute position
//                        (MDB Tools: IM001) is read forward with SQLFetch:
//                        the same rows in the same order.
//  DescribeAfterExecute  A driver that reports no columns until the query
//                        has run (MDB Tools) has it executed while it is
//                        prepared, so the column count is the real one.
//  IndicatorWidth        Indicators are zeroed before every fetch and read
//                        by their low 32 bits, as MDB Tools writes 32-bit
//                        values into the 64-bit SQLLEN.
//  SingleWidening        A double binding that received 4 bytes (MDB Tools'
//                        Single) holds a float: it is widened.
//  NarrowIntegers        16-bit and 8-bit integers are fetched through a
//                        32-bit binding and narrowed here (MDB Tools fails
//                        the row with 22003 on negative shorts and bytes
//                        above 127).
//  BitScratch            Bits are fetched into a zeroed scratch area, since
//                        MDB Tools writes 4 bytes for SQL_C_BIT.
//  UnboundColumns        Columns without a kind are never bound (unixODBC
//                        refuses the null binding with HY090).
//  MissingDiagnostic     A failure without a diagnostic record still gives
//                        a readable line.
//  CodePageText          Where the drivers' text is not UTF-8 (Windows'
//                        ANSI code page, platform/driver_text.h), the query
//                        goes out and names and text values come in
//                        converted; a query the page cannot spell is refused.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/result_source.h"
#include "odbc/odbc_api.h"
#include "odbc/odbc_handle.h"

namespace tallowick {

// How SQLDescribeCol's SQL_SUCCESS_WITH_INFO (a column name longer than
// 254 characters, cut) counts.
enum class DescribeUse {
  Generation,  // ends the description: that column and later ones are left out
  Preview,     // the column is described with its cut name
};

// How rows are fetched.
enum class FetchMode {
  Absolute,  // SQLFetchScroll(SQL_FETCH_ABSOLUTE, r), forward when the driver cannot
  Forward,   // SQLFetch from the start
};

class OdbcResultSource : public ResultSource {
 public:
  // Allocates a statement on `connection`, asks for a read-only cursor
  // (SetReadOnlyCursor), prepares `query` as it is and counts its columns.
  OdbcResultSource(SQLHDBC connection, const std::string& query,
                   DescribeUse use = DescribeUse::Generation, FetchMode mode = FetchMode::Absolute);
  ~OdbcResultSource() override;

  // False when the driver refused the query (preparing it failed, the
  // column count could not be had, or the early execution failed);
  // Diagnostic() then gives the driver's first word on it.
  bool Ready() const { return m_ready; }
  std::int16_t ColumnCount() const { return m_columnCount; }

  bool DescribeColumn(std::uint16_t number, std::string& name, std::int16_t& sqlType) override;
  bool Execute() override;
  // `column` must stay in place until the last FetchNext.
  bool BindColumn(ColumnInfo& column) override;
  FetchStatus FetchNext() override;
  std::string Diagnostic() override;

  // Which remedies this result needed.
  bool ReadsForward() const { return m_mode == FetchMode::Forward; }
  bool ExecutedWhilePreparing() const { return m_executedEarly; }
  SQLHSTMT Statement() const { return m_statement.Get(); }

 private:
  struct Binding {
    ColumnInfo* column = nullptr;
    SQLSMALLINT targetType = 0;  // what SQLBindCol was given
    SQLLEN indicator = 0;        // the driver writes here
    std::int64_t scratch = 0;    // narrow integers and bits land here first
  };

  SQLRETURN FetchRaw();
  void Deliver(Binding& binding) const;

  StatementHandle m_statement;
  DescribeUse m_use;
  FetchMode m_mode;
  bool m_textFromCodePage;  // text values arrive in the drivers' code page, not UTF-8
  bool m_ready = false;
  bool m_executedEarly = false;
  bool m_executed = false;
  bool m_executeResult = false;
  std::int16_t m_columnCount = 0;
  std::uint32_t m_row = 0;  // rows fetched so far
  std::vector<std::unique_ptr<Binding>> m_bindings;
  std::string m_refusal;  // the driver's word when it refused the query
};

// Asks for a static cursor with read-only concurrency: every driver serves
// it without rewriting the query (with lock concurrency the PostgreSQL
// driver appends a row-locking clause that breaks "... LIMIT 3"), and those
// that can fetch by absolute position do so on it. A driver's substitute
// (01S02) is accepted. Returns the result of setting the concurrency.
SQLRETURN SetReadOnlyCursor(SQLHSTMT statement);

// SQLSTATEs with which a driver says that it cannot fetch by absolute
// position: the driver lacks the function (IM001), the attribute (HYC00),
// or the fetch type (HY106).
bool MeansNoAbsoluteFetch(const std::string& state);

// The refusal of a query that the drivers' code page cannot spell.
inline constexpr const char* kUnspellableQueryMessage =
    "The query has characters that the system's code page lacks";

// Reads a 64-bit length/indicator that a driver may have written as 32 bits.
std::int64_t DecodeIndicator(SQLLEN raw);

}  // namespace tallowick
