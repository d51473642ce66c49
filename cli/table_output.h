#pragma once
// Printing a table of texts as aligned text, CSV or JSON.
#include <ostream>
#include <string>
#include <vector>

#include "source/preview.h"

namespace tallowick::cli {

enum class OutputFormat { Text, Csv, Json };

// "text", "csv" or "json"; throws UsageError otherwise.
OutputFormat ParseOutputFormat(const std::string& name);

struct TextTable {
  std::vector<std::string> headers;
  std::vector<std::vector<std::string>> rows;
  // What each text of a row stands for, row by row; without them (or for a
  // row beyond them) every value is text.
  std::vector<std::vector<PreviewValueForm>> forms;
};

// Text shows control characters escaped (TerminalText), columns aligned by
// display width; CSV carries every text exactly; JSON is
// {"columns":[...],"records":[[...],...]} with numbers as numbers and NULL
// as null. Stops writing once `out` has failed.
void PrintTable(const TextTable& table, OutputFormat format, std::ostream& out);

// A value in JSON: null, the number its text spells (when it is a JSON
// number; "inf" or "nan" stay strings), or a string.
std::string JsonValue(const std::string& text, PreviewValueForm form);

// A JSON string literal; invalid UTF-8 bytes become U+FFFD. Control
// characters (C0, DEL, C1) are escaped.
std::string JsonString(const std::string& text);
// A CSV field, quoted when it holds a comma, quote or line break.
std::string CsvField(const std::string& text);

}  // namespace tallowick::cli
