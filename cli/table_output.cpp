#include "cli/table_output.h"

#include <algorithm>
#include <cstdio>

#include "cli/arguments.h"
#include "cli/terminal_text.h"
#include "engine/utf8.h"

namespace tallowick::cli {

OutputFormat ParseOutputFormat(const std::string& name) {
  if (name == "text") return OutputFormat::Text;
  if (name == "csv") return OutputFormat::Csv;
  if (name == "json") return OutputFormat::Json;
  throw UsageError("unknown format \"" + name + "\" (text, csv or json)");
}

namespace {

void PrintText(const TextTable& table, std::ostream& out) {
  std::vector<std::size_t> widths(table.headers.size(), 0);
  for (std::size_t c = 0; c < table.headers.size(); ++c) {
    widths[c] = DisplayWidth(TerminalText(table.headers[c]));
  }
  for (const auto& row : table.rows) {
    for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) {
      widths[c] = std::max(widths[c], DisplayWidth(TerminalText(row[c])));
    }
  }
  const auto printRow = [&](const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t c = 0; c < widths.size(); ++c) {
      const std::string cell = c < cells.size() ? TerminalText(cells[c]) : std::string();
      line += cell;
      if (c + 1 < widths.size()) line.append(widths[c] - DisplayWidth(cell) + 2, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  };
  printRow(table.headers);
  std::vector<std::string> rule;
  for (const auto width : widths) rule.emplace_back(width, '-');
  printRow(rule);
  for (const auto& row : table.rows) {
    if (!out) return;  // the reader is gone: the rest would be lost as well
    printRow(row);
  }
}

void PrintCsv(const TextTable& table, std::ostream& out) {
  const auto printRow = [&](const std::vector<std::string>& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (c) out << ',';
      out << CsvField(cells[c]);
    }
    out << "\r\n";
  };
  printRow(table.headers);
  for (const auto& row : table.rows) {
    if (!out) return;
    printRow(row);
  }
}

void PrintJson(const TextTable& table, std::ostream& out) {
  out << "{\"columns\":[";
  for (std::size_t c = 0; c < table.headers.size(); ++c) {
    if (c) out << ',';
    out << JsonString(table.headers[c]);
  }
  out << "],\"records\":[";
  for (std::size_t r = 0; r < table.rows.size() && out; ++r) {
    out << (r ? ",\n[" : "\n[");
    const auto& row = table.rows[r];
    const auto* forms = r < table.forms.size() ? &table.forms[r] : nullptr;
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c) out << ',';
      out << JsonValue(row[c], forms && c < forms->size() ? (*forms)[c] : PreviewValueForm::Text);
    }
    out << ']';
  }
  out << "]}\n";
}

}  // namespace

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) {
      out += "\\ufffd";
      ++i;
      continue;
    }
    if (length == 2 && c == 0xC2 && static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      // C1 controls are valid in JSON as they are; escaped, they reach a
      // terminal harmless and read back the same.
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(text[i + 1]));
      out += escaped;
    } else if (length > 1) {
      out.append(text, i, length);
    } else if (c == '"') {
      out += "\\\"";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
    i += length;
  }
  out += '"';
  return out;
}

namespace {

// -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
bool IsJsonNumber(const std::string& text) {
  std::size_t i = 0;
  const auto digits = [&] {
    const std::size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i - start;
  };
  if (i < text.size() && text[i] == '-') ++i;
  const std::size_t start = i;
  const std::size_t whole = digits();
  if (whole == 0 || (whole > 1 && text[start] == '0')) return false;
  if (i < text.size() && text[i] == '.') {
    ++i;
    if (digits() == 0) return false;
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  return i == text.size();
}

}  // namespace

std::string JsonValue(const std::string& text, PreviewValueForm form) {
  if (form == PreviewValueForm::Null) return "null";
  if (form == PreviewValueForm::Number && IsJsonNumber(text)) return text;
  return JsonString(text);
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

void PrintTable(const TextTable& table, OutputFormat format, std::ostream& out) {
  switch (format) {
    case OutputFormat::Text:
      PrintText(table, out);
      break;
    case OutputFormat::Csv:
      PrintCsv(table, out);
      break;
    case OutputFormat::Json:
      PrintJson(table, out);
      break;
  }
}

}  // namespace tallowick::cli
