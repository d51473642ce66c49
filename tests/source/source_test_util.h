#pragma once
// Test doubles of the interfaces the source layer calls back through (not
// of ODBC: the drivers are always real).
#include <optional>
#include <string>
#include <vector>

#include "engine/result_source.h"
#include "source/credential_prompt.h"

namespace tallowick::testing {

// Answers the credential prompt from a script and records each question.
class ScriptedPrompt : public CredentialPrompt {
 public:
  ScriptedPrompt() = default;
  explicit ScriptedPrompt(std::optional<Credentials> answer) : m_answer(std::move(answer)) {}
  std::optional<Credentials> Ask(const std::string& dataSourceName) override {
    asked.push_back(dataSourceName);
    return m_answer;
  }
  std::vector<std::string> asked;

 private:
  std::optional<Credentials> m_answer;
};

class RecordedNotices : public NoticeSink {
 public:
  void Notice(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

}  // namespace tallowick::testing

#include <fstream>
#include <optional>
#include <sstream>

#include "engine/pdb_file.h"
#include "tests/support/command_output.h"

namespace tallowick::testing {

using Bytes = std::vector<unsigned char>;

// The records of folder + name + ".pdb", each without the spare byte the
// reader adds; `header` receives the header when given.
inline std::vector<Bytes> ReadPdbRecords(const std::string& folder, const std::string& name,
                                         PdbHeader* header = nullptr) {
  PdbFile file(name, folder, ".pdb");
  PdbHeader read;
  std::vector<PdbRecordEntry> entries;
  std::uint16_t count = 0;
  std::vector<Bytes> records;
  if (!file.ReadRecordList(read, entries, count)) return records;
  for (std::size_t i = 0; i < count; ++i) {
    auto record = file.ReadRecord(entries, i, count);
    if (!record) break;
    Bytes bytes(*record);
    bytes.pop_back();  // the reader's spare 0 byte
    records.push_back(std::move(bytes));
  }
  if (header != nullptr) *header = read;
  return records;
}

inline std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The first 4 KiB of a file that passes the Access signature check but that
// MDB Tools cannot open (a Jet version it does not know): a file the driver
// itself refuses.
inline std::string UnreadableAccessBytes() {
  std::string bytes(4096, '\0');
  bytes[1] = '\1';
  bytes.replace(4, 15, "Standard Jet DB");
  bytes[0x14] = '\x7f';
  return bytes;
}

using Rows = std::vector<std::vector<std::string>>;

// The rows `isql` reads for `query` (one line, no NULLs expected: isql
// prints them as empty texts); nullopt when isql reports an error.
// `target` is the data-source name or, with "-k", a connection string.
inline std::optional<Rows> IsqlRows(const std::string& target, const std::string& query) {
  int status = 0;
  const std::string output = CommandOutput(
      "echo " + ShellQuoted(query) + " | isql " + target + " -b -x0x1f 2>&1", &status);
  if (status != 0 || output.find("[ISQL]ERROR") != std::string::npos) return std::nullopt;
  Rows rows;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t sep; (sep = line.find('\x1f', start)) != std::string::npos; start = sep + 1) {
      fields.push_back(line.substr(start, sep - start));
    }
    fields.push_back(line.substr(start));
    rows.push_back(std::move(fields));
  }
  return rows;
}

// Queries that SQLite and PostgreSQL both run, on the table people(id
// integer, name varchar) holding (1 Bea) (2 Abe) (3 Cy) (4 Bo) (5 Di) (6 Al).
inline constexpr const char* kPeopleRows =
    "CREATE TABLE people(id INTEGER, name VARCHAR(20)); "
    "INSERT INTO people VALUES (1, 'Bea'), (2, 'Abe'), (3, 'Cy'), (4, 'Bo'), (5, 'Di'), (6, 'Al');";
// LIMIT without ORDER BY or WHERE is the form a driver rewriting the query
// for row locks breaks.
inline constexpr const char* kQueryFamilies[] = {
    "SELECT * FROM people LIMIT 3",
    "SELECT id, name FROM people LIMIT 3 OFFSET 1",
    "SELECT id, name FROM people ORDER BY name DESC",
    "SELECT id, name FROM people ORDER BY id LIMIT 3",
    "SELECT id FROM people ORDER BY id LIMIT 2 OFFSET 3",
    "SELECT id, name FROM people WHERE id < 3 UNION SELECT id + 10, name FROM people WHERE id > 4 "
    "ORDER BY 1",
    "SELECT name FROM (SELECT name, id FROM people WHERE id > 2) AS later ORDER BY name",
    "SELECT id FROM people WHERE id IN (SELECT id FROM people WHERE name LIKE 'B%') ORDER BY id",
    "SELECT id, CAST(row_number() OVER (ORDER BY name) AS INTEGER) FROM people ORDER BY id",
    "SELECT CAST(count(*) AS INTEGER) FROM people WHERE name > 'B'",
};

}  // namespace tallowick::testing
