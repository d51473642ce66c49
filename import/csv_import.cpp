// ConvertDelimitedText: a CSV, TSV or delimited .txt file into the temporary
// database, as one table named after the file.
#include <algorithm>
#include <memory>

#include "import/code_page_decoder.h"
#include "import/column_names.h"
#include "import/csv_column_typing.h"
#include "import/csv_reader.h"
#include "import/source_import.h"
#include "import/sqlite_table_writer.h"
#include "platform/file_system.h"
#include "platform/path_text.h"

namespace tallowick {
namespace {

// The most columns a table of the temporary database can have (SQLite's
// default limit).
constexpr std::size_t kMaxColumns = 2000;

// "orders.csv" -> "orders"; a name that is all extension keeps it.
std::string TableNameOf(const std::string& path) {
  const std::size_t separator = platform::LastPathSeparator(path);
  std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

// The first bytes of the file, for the byte-order mark and the delimiter.
std::string FirstBlock(const std::string& path) {
  constexpr std::size_t kBlock = 64 * 1024;
  const int fd = platform::OpenFile(path, platform::OpenMode::Read);
  if (fd < 0) return {};
  const std::int64_t size = platform::FileSize(fd);
  std::string bytes(size > 0 ? std::min<std::size_t>(kBlock, static_cast<std::size_t>(size)) : 0,
                    '\0');
  if (!platform::ReadAt(fd, bytes.data(), bytes.size(), 0)) bytes.clear();
  platform::CloseFile(fd);
  return bytes;
}

// The two passes over the rows: the first names the columns and takes
// their census, the second writes the rows.
class DelimitedTextImport {
 public:
  DelimitedTextImport(const std::string& path, const DelimitedTextOptions& options)
      : m_path(path), m_options(options) {}

  bool Write(const std::string& databasePath, std::vector<std::string>& tables,
             std::string& error) {
    std::string why;
    const char delimiter =
        m_options.delimiter != 0 ? m_options.delimiter : SniffCsv(FirstBlock(m_path)).delimiter;
    CsvPassResult census;
    if (!Pass(
            delimiter, [this](auto& fields, auto, auto& w) { return Survey(fields, w); }, census,
            why)) {
      return Fail(why, error);
    }
    if (census.rows == 0) return Fail("it holds no header line", error);
    const int codePage = m_options.codePage != 0 ? m_options.codePage
                         : census.validUtf8      ? 65001
                                                 : 1252;
    m_decoder = std::make_unique<CodePageDecoder>(codePage);

    std::vector<std::string> headers(m_columns);
    for (std::size_t i = 0; i < m_header.size(); ++i) headers[i] = Decoded(m_header[i]);
    const std::vector<std::string> names = UniqueColumnNames(headers);
    m_definitions.resize(m_columns);
    for (std::size_t i = 0; i < m_columns; ++i) {
      m_definitions[i] = {names[i], m_census[i].Result()};
    }

    SqliteTableWriter writer;
    if (!writer.Open(databasePath, error)) return false;
    const std::string table = TableNameOf(m_path);
    if (!writer.BeginTable(table, m_definitions, error)) return false;
    m_writer = &writer;
    CsvPassResult written;
    bool header = true;
    if (!Pass(
            delimiter,
            [&](auto& fields, auto, auto& w) {
              if (header) {
                header = false;
                return true;
              }
              return WriteRow(fields, w);
            },
            written, why)) {
      // The file changed between the passes, or the database failed.
      return m_databaseError.empty() ? Fail(why, error) : (error = m_databaseError, false);
    }
    if (!writer.EndTable(error) || !writer.Commit(error)) return false;
    tables.push_back(table);
    return true;
  }

 private:
  bool Pass(char delimiter, const CsvRowHandler& handler, CsvPassResult& result, std::string& why) {
    return ReadCsvRows(m_path, delimiter, handler, result, why);
  }

  bool Fail(const std::string& why, std::string& error) const {
    error = "Cannot read the CSV file " + m_path + ": " + why + ".";
    return false;
  }

  std::string Decoded(std::string_view bytes) {
    if (!m_decoder) return std::string(bytes);
    m_decoder->Decode(bytes, m_text);
    return m_text;
  }

  bool Survey(const std::vector<std::string_view>& fields, std::string& why) {
    if (fields.size() > kMaxColumns) {
      why = "a row has " + std::to_string(fields.size()) + " fields, more than the " +
            std::to_string(kMaxColumns) + " columns a table can have";
      return false;
    }
    if (fields.size() > m_columns) {
      m_columns = fields.size();
      m_census.resize(m_columns);
    }
    if (!m_haveHeader) {
      m_haveHeader = true;
      m_header.assign(fields.begin(), fields.end());
      return true;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (!fields[i].empty()) m_census[i].Add(fields[i]);
    }
    return true;
  }

  bool WriteRow(const std::vector<std::string_view>& fields, std::string& why) {
    if (fields.size() > m_definitions.size()) {
      why = "it changed while it was being read";
      return false;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (fields[i].empty()) continue;  // NULL
      const ColumnType type = m_definitions[i].type;
      if (type == ColumnType::Varchar) {
        m_decoder->Decode(fields[i], m_text);
        BindCsvField(*m_writer, static_cast<int>(i), type, m_text);
      } else {
        BindCsvField(*m_writer, static_cast<int>(i), type, fields[i]);
      }
    }
    if (!m_writer->InsertRow(m_databaseError)) {
      why = m_databaseError;
      return false;
    }
    return true;
  }

  const std::string& m_path;
  const DelimitedTextOptions& m_options;

  std::size_t m_columns = 0;
  bool m_haveHeader = false;
  std::vector<std::string> m_header;  // the first row's fields, as bytes
  std::vector<CsvColumnCensus> m_census;
  std::vector<ColumnDefinition> m_definitions;
  std::unique_ptr<CodePageDecoder> m_decoder;
  std::string m_text;
  SqliteTableWriter* m_writer = nullptr;
  std::string m_databaseError;
};

}  // namespace

ImportResult ConvertDelimitedText(const std::string& path, const DelimitedTextOptions& options) {
  ImportResult result;
  TemporaryDatabase database;
  if (!TemporaryDatabase::Create(database, result.error)) return result;
  DelimitedTextImport import(path, options);
  if (!import.Write(database.Path(), result.tables, result.error)) {
    result.tables.clear();
    return result;  // `database` deletes the file
  }
  result.ok = true;
  result.database = std::move(database);
  return result;
}

}  // namespace tallowick
