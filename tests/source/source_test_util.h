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
#include <sstream>

#include "engine/pdb_file.h"

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

}  // namespace tallowick::testing
