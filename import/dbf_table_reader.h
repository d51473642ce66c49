#pragma once
// Reads one .dbf table: its header, its memo file when it has memo fields,
// and its records in blocks. Opening checks that the file holds every record
// the header announces, so a truncated table is refused before any row is
// read; each record is then a window of exactly recordLength bytes.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "import/byte_view.h"
#include "import/dbf_header.h"
#include "import/dbf_memo_file.h"

namespace tallowick {

class DbfTableReader {
 public:
  DbfTableReader() = default;
  ~DbfTableReader();
  DbfTableReader(const DbfTableReader&) = delete;
  DbfTableReader& operator=(const DbfTableReader&) = delete;

  // Opens the table at `path`; on failure `error` says why, naming the file.
  bool Open(const std::string& path, std::string& error);

  const DbfHeader& Header() const { return m_header; }
  const std::string& Path() const { return m_path; }
  // The memo file, or nullptr when the table has no memo fields.
  DbfMemoFile* Memo() { return m_memo.get(); }

  // Starts again at the first record.
  void Rewind();
  // The next record (deleted ones included; byte 0 is '*' for those).
  // False at the end, or on a read error (then `error` is set).
  bool Next(ByteView& record, std::string& error);

  // The memo file path for a table, searched beside it with the extension
  // in any letter case; empty when there is none.
  static std::string FindMemoFile(const std::string& tablePath, bool preferFpt);

 private:
  bool Fail(const std::string& why, std::string& error) const;

  int m_fd = -1;
  std::string m_path;
  DbfHeader m_header;
  std::unique_ptr<DbfMemoFile> m_memo;
  std::vector<unsigned char> m_block;
  std::uint32_t m_blockRecords = 0;   // records in m_block
  std::uint32_t m_blockPosition = 0;  // next record within m_block
  std::uint32_t m_nextRecord = 0;     // index of the first record not yet loaded
};

}  // namespace tallowick
