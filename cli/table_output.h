#pragma once
// Printing a table of texts as aligned text, CSV or JSON.
#include <ostream>
#include <string>
#include <vector>

namespace tallowick::cli {

enum class OutputFormat { Text, Csv, Json };

// "text", "csv" or "json"; throws UsageError otherwise.
OutputFormat ParseOutputFormat(const std::string& name);

struct TextTable {
  std::vector<std::string> headers;
  std::vector<std::vector<std::string>> rows;
};

// Text shows control characters escaped (TerminalText); CSV and JSON carry
// every text exactly. Stops writing once `out` has failed.
void PrintTable(const TextTable& table, OutputFormat format, std::ostream& out);

// A JSON string literal; invalid UTF-8 bytes become U+FFFD. Control
// characters (C0, DEL, C1) are escaped.
std::string JsonString(const std::string& text);
// A CSV field, quoted when it holds a comma, quote or line break.
std::string CsvField(const std::string& text);

}  // namespace tallowick::cli
