#pragma once
// Reads a delimited text file row by row with libcsv: RFC 4180 quoting
// (a quoted field may hold delimiters, doubled quotes and line breaks), CR,
// LF or CR LF line ends, a UTF-8 byte-order mark skipped. The file is read
// in blocks of whole lines, so memory stays small whatever its size; a
// field or a line past kMaxCsvFieldBytes is refused (most often a quote
// that is never closed).
//
// Fields reach the caller as the file's bytes; the caller decodes them.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowick {

inline constexpr std::size_t kMaxCsvFieldBytes = std::size_t{64} << 20;

// What the start of a file tells.
struct CsvSniff {
  bool byteOrderMark = false;
  char delimiter = ',';  // the most frequent of ',', ';' and tab in the header line
};

// `start` is the file's first bytes (a block is enough).
CsvSniff SniffCsv(std::string_view start);

// The fields of one row, and the line it starts on (1-based).
using CsvRowHandler = std::function<bool(const std::vector<std::string_view>& fields,
                                         std::uint64_t line, std::string& why)>;

struct CsvPassResult {
  bool validUtf8 = true;  // every byte read forms valid UTF-8
  std::uint64_t rows = 0;
};

// Reads the whole file at `path` once, calling `row` for each row; a row
// handler that returns false stops the pass with its `why`. On failure `why`
// completes the sentence "Cannot read the CSV file F: ..." (no full stop):
// a file that is no text (it holds NUL bytes), a quote left open, a field
// too long, or a read that failed.
bool ReadCsvRows(const std::string& path, char delimiter, const CsvRowHandler& row,
                 CsvPassResult& result, std::string& why);

// The same on bytes held in memory (the fuzzers take this way).
bool ReadCsvBytes(std::string_view bytes, char delimiter, const CsvRowHandler& row,
                  CsvPassResult& result, std::string& why);

}  // namespace tallowick
