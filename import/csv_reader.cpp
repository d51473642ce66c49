#include "import/csv_reader.h"

#include <csv.h>

#include <cstring>

#include "engine/utf8.h"
#include "platform/file_system.h"

namespace tallowick {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

// No byte counts as a blank to trim: a field keeps its text as it stands.
int NoSpace(unsigned char) { return 0; }

// One pass of libcsv over the file, fed line by line so that every row
// knows the line it starts on.
class CsvPass {
 public:
  CsvPass(char delimiter, const CsvRowHandler& handler, CsvPassResult& result)
      : m_handler(handler), m_result(result) {
    csv_init(&m_parser, CSV_APPEND_NULL);
    csv_set_delim(&m_parser, static_cast<unsigned char>(delimiter));
    csv_set_space_func(&m_parser, NoSpace);
  }
  ~CsvPass() { csv_free(&m_parser); }
  CsvPass(const CsvPass&) = delete;
  CsvPass& operator=(const CsvPass&) = delete;

  // Whole lines (or the file's last piece).
  bool Feed(std::string_view lines, std::string& why) {
    if (std::memchr(lines.data(), '\0', lines.size()) != nullptr) {
      why = "it is not a text file (it holds NUL bytes near line " + std::to_string(m_line) + ")";
      return false;
    }
    if (m_result.validUtf8 && !IsValidUtf8(lines)) m_result.validUtf8 = false;
    while (!lines.empty()) {
      std::size_t end = lines.find('\n');
      end = end == std::string_view::npos ? lines.size() : end + 1;
      if (csv_parse(&m_parser, lines.data(), end, OnField, OnRow, this) != end) {
        why = std::string("its text cannot be parsed near line ") + std::to_string(m_line) + " (" +
              csv_strerror(csv_error(&m_parser)) + ")";
        return false;
      }
      if (!Settle(why)) return false;
      if (lines[end - 1] == '\n') ++m_line;
      lines.remove_prefix(end);
    }
    return true;
  }

  bool Finish(std::string& why) {
    // libcsv reports an unclosed quote at the end only in its strict mode,
    // which would also refuse a stray quote inside a field ('5" pipe'):
    // its state tells instead (a field begun, quoted, not closed).
    constexpr int kFieldBegun = 2;
    if ((m_parser.pstate == kFieldBegun && m_parser.quoted) ||
        csv_fini(&m_parser, OnField, OnRow, this) != 0) {
      why = "a quoted field that starts on line " + std::to_string(m_rowLine) +
            " has no closing quote";
      return false;
    }
    return Settle(why);
  }

 private:
  static void OnField(void* data, std::size_t size, void* self) {
    auto& pass = *static_cast<CsvPass*>(self);
    pass.m_offsets.push_back(pass.m_arena.size());
    if (data != nullptr) pass.m_arena.append(static_cast<const char*>(data), size);
  }

  static void OnRow(int, void* self) {
    auto& pass = *static_cast<CsvPass*>(self);
    if (!pass.m_failure.empty()) return;
    pass.m_offsets.push_back(pass.m_arena.size());
    pass.m_fields.clear();
    for (std::size_t i = 0; i + 1 < pass.m_offsets.size(); ++i) {
      pass.m_fields.emplace_back(pass.m_arena.data() + pass.m_offsets[i],
                                 pass.m_offsets[i + 1] - pass.m_offsets[i]);
    }
    ++pass.m_result.rows;
    if (!pass.m_handler(pass.m_fields, pass.m_rowLine, pass.m_failure) && pass.m_failure.empty()) {
      pass.m_failure = "the row on line " + std::to_string(pass.m_rowLine) + " cannot be read";
    }
    pass.m_arena.clear();
    pass.m_offsets.clear();
    pass.m_rowPending = true;
  }

  // After each piece: a handler's failure, a runaway field, and the line
  // the next row starts on.
  bool Settle(std::string& why) {
    if (!m_failure.empty()) {
      why = m_failure;
      return false;
    }
    if (csv_get_buffer_size(&m_parser) > kMaxCsvFieldBytes || m_arena.size() > kMaxCsvFieldBytes) {
      why = "the field that starts on line " + std::to_string(m_rowLine) + " is longer than " +
            std::to_string(kMaxCsvFieldBytes >> 20) + " MiB (is a quote left open?)";
      return false;
    }
    if (m_rowPending) {
      m_rowPending = false;
      m_rowLine = m_line + 1;
    }
    return true;
  }

  csv_parser m_parser{};
  const CsvRowHandler& m_handler;
  CsvPassResult& m_result;
  std::string m_arena;                 // the fields of the row being read, end to end
  std::vector<std::size_t> m_offsets;  // where each field starts in m_arena
  std::vector<std::string_view> m_fields;
  std::string m_failure;
  std::uint64_t m_line = 1;     // the line being fed
  std::uint64_t m_rowLine = 1;  // the line the row being read starts on
  bool m_rowPending = false;
};

}  // namespace

CsvSniff SniffCsv(std::string_view start) {
  CsvSniff sniff;
  if (start.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    sniff.byteOrderMark = true;
    start.remove_prefix(kByteOrderMark.size());
  }
  std::size_t commas = 0, semicolons = 0, tabs = 0;
  bool quoted = false;
  for (char ch : start) {
    if (ch == '"') quoted = !quoted;
    if (quoted) continue;
    if (ch == '\n' || ch == '\r') break;
    commas += ch == ',';
    semicolons += ch == ';';
    tabs += ch == '\t';
  }
  if (semicolons > commas && semicolons >= tabs) sniff.delimiter = ';';
  if (tabs > commas && tabs > semicolons) sniff.delimiter = '\t';
  return sniff;
}

bool ReadCsvBytes(std::string_view bytes, char delimiter, const CsvRowHandler& row,
                  CsvPassResult& result, std::string& why) {
  result = CsvPassResult();
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    bytes.remove_prefix(kByteOrderMark.size());
  }
  CsvPass pass(delimiter, row, result);
  return pass.Feed(bytes, why) && pass.Finish(why);
}

bool ReadCsvRows(const std::string& path, char delimiter, const CsvRowHandler& row,
                 CsvPassResult& result, std::string& why) {
  result = CsvPassResult();
  const int fd = platform::OpenFile(path, platform::OpenMode::Read);
  if (fd < 0) {
    why = "the file cannot be opened";
    return false;
  }
  const std::int64_t size = platform::FileSize(fd);
  CsvPass pass(delimiter, row, result);
  std::string block;  // whole lines, and the start of the next one
  std::uint64_t offset = 0;
  bool first = true, ok = true;
  for (;;) {
    const std::size_t kept = block.size();
    block.resize(kept + kBlockBytes);
    const std::uint64_t left = size > 0 ? static_cast<std::uint64_t>(size) - offset : 0;
    const std::size_t read = left < kBlockBytes ? static_cast<std::size_t>(left) : kBlockBytes;
    if (size < 0 || !platform::ReadAt(fd, block.data() + kept, read, offset)) {
      why = "the file cannot be read";
      ok = false;
      break;
    }
    block.resize(kept + read);
    offset += read;
    std::string_view lines(block);
    if (first && lines.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
      lines.remove_prefix(kByteOrderMark.size());
    }
    first = false;
    const bool end = read == 0;
    const std::size_t lastBreak = lines.rfind('\n');
    std::size_t whole = end                                   ? lines.size()
                        : lastBreak == std::string_view::npos ? 0
                                                              : lastBreak + 1;
    if (whole == 0 && !end && lines.size() > kMaxCsvFieldBytes) {
      why = "a line is longer than " + std::to_string(kMaxCsvFieldBytes >> 20) +
            " MiB (it is not a text file with lines)";
      ok = false;
      break;
    }
    if (!pass.Feed(lines.substr(0, whole), why)) {
      ok = false;
      break;
    }
    block.erase(0, static_cast<std::size_t>(lines.data() - block.data()) + whole);
    if (end) {
      ok = pass.Finish(why);
      break;
    }
  }
  platform::CloseFile(fd);
  return ok;
}

}  // namespace tallowick
