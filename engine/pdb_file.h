#pragma once
// One Palm OS record database (PDB layout) on disk: written in one pass,
// read back header first and then record by record.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/pdb_layout.h"

namespace tallowick {

class RecordArena;
class TemporaryOutputFile;

struct PdbRecordEntry {
  std::uint32_t offset = 0;
  std::uint8_t attributes = 0;
  std::uint32_t uniqueId = 0;  // 24 bits
  std::uint32_t length = 0;
  const unsigned char* data = nullptr;  // owned by the caller
};

struct PdbHeader {
  std::string name;  // up to the first NUL, at most 32 characters
  std::uint16_t attributes = 0;
  std::uint16_t version = 0;
  std::uint32_t creationDate = 0;      // file byte order
  std::uint32_t modificationDate = 0;  // file byte order
  std::uint32_t lastBackupDate = 0;    // file byte order
  std::uint32_t modificationNumber = 0;
  std::uint32_t appInfoOffset = 0;
  std::uint32_t sortInfoOffset = 0;
  std::string type;     // 4 characters as read
  std::string creator;  // 4 characters as read
  std::uint32_t uniqueIdSeed = 0;
  std::uint32_t nextRecordListId = 0;
  std::uint16_t numberOfRecords = 0;
};

// Seconds between 1904-01-01 and 1970-01-01, the Palm OS epoch offset.
inline constexpr std::uint32_t kPalmEpochOffset = 2082844800u;

class PdbFile {
 public:
  PdbFile(std::string name, std::string directory, std::string extension);

  // Writes the whole file; false when it could not be written completely.
  // Writes into a temporary file beside the target and renames it over the
  // target only after everything was written and flushed.
  bool Write(std::vector<PdbRecordEntry>& entries, const std::string& creator,
             const std::string& type, std::uint16_t count);
  // Same, with the clock value (seconds since 1970) given, for tests.
  bool Write(std::vector<PdbRecordEntry>& entries, const std::string& creator,
             const std::string& type, std::uint16_t count, std::int64_t unixTime);

  // The records of `records`, in order (at most 65535 of them).
  bool Write(const RecordArena& records, const std::string& creator, const std::string& type);
  bool Write(const RecordArena& records, const std::string& creator, const std::string& type,
             std::int64_t unixTime);
  // Writes the whole file into `out`, a new temporary file in the directory,
  // and completes it without putting it in place: the caller renames it.
  bool WriteInto(TemporaryOutputFile& out, std::vector<PdbRecordEntry>& entries,
                 const std::string& creator, const std::string& type, std::uint16_t count,
                 std::int64_t unixTime);
  // Writes header, record list, gap and AppInfo block from the start of
  // `file` for records of the given lengths (at most 65535 of them); false
  // on a write error or when the file would pass 32-bit offsets.
  bool WriteHeaderFor(const std::vector<std::uint32_t>& lengths, const std::string& creator,
                      const std::string& type, std::int64_t unixTime, std::FILE* file);

  // Fills in dates, offsets and counts of the 78-byte prepared header (name,
  // type and creator set), assigns each entry its offset, attributes 0 and
  // its index as unique ID, and writes header, record list, gap and AppInfo
  // block. False on a write error or when the offsets overflow 32 bits.
  bool WriteHeader(const unsigned char* preparedHeader, std::vector<PdbRecordEntry>& entries,
                   std::uint16_t count, std::int64_t unixTime, std::FILE* file);
  // Writes the entry's bytes at its offset; false on a write error.
  bool WriteRecordData(const PdbRecordEntry& entry, std::FILE* file);

  // Reading. Path: directory + name, plus the extension unless the name
  // already ends with it (case-insensitively).
  bool ReadRecordList(PdbHeader& header, std::vector<PdbRecordEntry>& entries,
                      std::uint16_t& count);
  // Reads header and record list from the start of `file`; sets `failed`
  // when the file ends before them.
  std::vector<PdbRecordEntry> ParseHeader(PdbHeader& header, std::FILE* file, bool& failed);
  // The record's bytes plus one spare 0 byte; null when the file cannot be
  // opened or the record's offset is damaged (beyond the end of the file,
  // below the previous record's offset, or inside the header or the record
  // list of `count` entries).
  std::unique_ptr<std::vector<unsigned char>> ReadRecord(const std::vector<PdbRecordEntry>& entries,
                                                         std::size_t index, std::uint16_t count);
  // False when the file ends before `length` bytes were read.
  bool ReadBytesAt(unsigned char* buffer, std::uint32_t offset, std::size_t length,
                   std::FILE* file);

  // The name written into the header when it differs from the file's name
  // (the handheld's encoding of it); the file's name by default.
  void SetDatabaseName(std::string name) { m_databaseName = std::move(name); }

  std::string WritePath() const;
  std::string ReadPath() const;
  const std::string& Name() const { return m_name; }
  const std::string& Directory() const { return m_directory; }

 private:
  // Writes the header block for records of the given lengths.
  template <class LengthOf>
  bool WriteHeaderBlock(const unsigned char* preparedHeader, std::uint16_t count,
                        std::int64_t unixTime, std::FILE* file, LengthOf lengthOf);
  // Runs `body` on a new temporary file beside the target and renames it over
  // the target when everything was written, flushed and closed.
  template <class Body>
  bool WriteReplacing(Body body);
  void PrepareHeader(unsigned char* header, const std::string& creator, const std::string& type,
                     std::uint16_t count) const;

  std::string m_appInfo;
  std::string m_name;
  std::string m_databaseName;
  std::string m_directory;
  std::string m_extension;
};

}  // namespace tallowick
