// Writing a PdbFile: the header, the record list and the records in one
// pass, into a temporary file that replaces the target only when complete.
#include <algorithm>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>
#include <utility>

#include "engine/byte_order.h"
#include "engine/pdb_file.h"
#include "engine/record_arena.h"
#include "engine/temporary_output_file.h"

namespace tallowick {

namespace {

constexpr std::uint16_t kBackupAttribute = 8;

void PutFourChars(unsigned char* out, const std::string& text) {
  std::memcpy(out, text.data(), std::min<std::size_t>(text.size(), 4));
}

// Seconds since 1904-01-01, as the header stores them (modulo 2^32).
std::uint32_t PalmSeconds(std::int64_t unixTime) {
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(unixTime) + kPalmEpochOffset);
}

}  // namespace

PdbFile::PdbFile(std::string name, std::string directory, std::string extension)
    : m_name(std::move(name)),
      m_directory(std::move(directory)),
      m_extension(std::move(extension)) {}

std::string PdbFile::WritePath() const { return m_directory + m_name + m_extension; }

void PdbFile::PrepareHeader(unsigned char* header, const std::string& creator,
                            const std::string& type, std::uint16_t count) const {
  std::memset(header, 0, kPdbHeaderSize);
  const std::string& name = m_databaseName.empty() ? m_name : m_databaseName;
  std::memcpy(header, name.data(), std::min(name.size(), kPdbNameField - 1));
  PutFourChars(header + kPdbTypeAt, type);
  PutFourChars(header + kPdbCreatorAt, creator);
  PutBigEndian16(header + kPdbRecordCountAt, count);
}

template <class LengthOf>
bool PdbFile::WriteHeaderBlock(const unsigned char* preparedHeader, std::uint16_t count,
                               std::int64_t unixTime, std::FILE* file, LengthOf lengthOf) {
  const std::uint64_t appInfoAt = kPdbHeaderSize + kPdbRecordListEntrySize * count + kPdbGapSize;
  std::uint64_t offset = appInfoAt + m_appInfo.size() + 1;
  for (std::size_t i = 0; i < count; ++i) offset += lengthOf(i);
  if (offset > std::numeric_limits<std::uint32_t>::max()) return false;

  unsigned char header[kPdbHeaderSize];
  std::memcpy(header, preparedHeader, kPdbHeaderSize);
  const std::uint32_t now = PalmSeconds(unixTime);
  PutBigEndian16(header + kPdbAttributesAt, kBackupAttribute);
  PutBigEndian16(header + kPdbVersionAt, 0);
  PutBigEndian32(header + kPdbCreationDateAt, now);
  PutBigEndian32(header + kPdbModificationDateAt, now);
  PutBigEndian32(header + kPdbLastBackupDateAt, 0);
  PutBigEndian32(header + kPdbModificationNumberAt, 0);
  PutBigEndian32(header + kPdbAppInfoOffsetAt, static_cast<std::uint32_t>(appInfoAt));
  PutBigEndian32(header + kPdbSortInfoOffsetAt, 0);
  PutBigEndian32(header + kPdbUniqueIdSeedAt, 0);
  PutBigEndian32(header + kPdbNextRecordListIdAt, 0);
  PutBigEndian16(header + kPdbRecordCountAt, count);

  if (std::fseek(file, 0, SEEK_SET) != 0) return false;
  if (std::fwrite(header, 1, sizeof header, file) != sizeof header) return false;

  offset = appInfoAt + m_appInfo.size() + 1;
  for (std::size_t i = 0; i < count; ++i) {
    unsigned char entry[kPdbRecordListEntrySize];
    PutBigEndian32(entry, static_cast<std::uint32_t>(offset));
    PutBigEndian32(entry + 4, static_cast<std::uint32_t>(i));  // attributes 0, unique ID i
    if (std::fwrite(entry, 1, sizeof entry, file) != sizeof entry) return false;
    offset += lengthOf(i);
  }
  const unsigned char gap[kPdbGapSize] = {0, 0};
  if (std::fwrite(gap, 1, sizeof gap, file) != sizeof gap) return false;
  // The application-info text with its NUL.
  return std::fwrite(m_appInfo.c_str(), 1, m_appInfo.size() + 1, file) == m_appInfo.size() + 1;
}

bool PdbFile::WriteHeader(const unsigned char* preparedHeader, std::vector<PdbRecordEntry>& entries,
                          std::uint16_t count, std::int64_t unixTime, std::FILE* file) {
  if (count > entries.size()) return false;
  if (!WriteHeaderBlock(preparedHeader, count, unixTime, file,
                        [&entries](std::size_t i) { return entries[i].length; })) {
    return false;
  }
  std::uint32_t offset = static_cast<std::uint32_t>(
      kPdbHeaderSize + kPdbRecordListEntrySize * count + kPdbGapSize + m_appInfo.size() + 1);
  for (std::size_t i = 0; i < count; ++i) {
    entries[i].offset = offset;
    entries[i].attributes = 0;
    entries[i].uniqueId = static_cast<std::uint32_t>(i);
    offset += entries[i].length;
  }
  return true;
}

bool PdbFile::WriteRecordData(const PdbRecordEntry& entry, std::FILE* file) {
  if (entry.length == 0) return true;
  if (entry.data == nullptr) return false;
  // Asking for the position does not flush the stream; seeking would.
  if (std::ftell(file) != static_cast<long>(entry.offset) &&
      std::fseek(file, static_cast<long>(entry.offset), SEEK_SET) != 0) {
    return false;
  }
  return std::fwrite(entry.data, 1, entry.length, file) == entry.length;
}

template <class Body>
bool PdbFile::WriteReplacing(Body body) {
  TemporaryOutputFile out;
  if (!out.Create(m_directory)) return false;
  const bool written = body(out.Stream());
  return out.Complete() && written && out.RenameTo(WritePath());
}

bool PdbFile::Write(std::vector<PdbRecordEntry>& entries, const std::string& creator,
                    const std::string& type, std::uint16_t count) {
  return Write(entries, creator, type, count, static_cast<std::int64_t>(std::time(nullptr)));
}

bool PdbFile::Write(std::vector<PdbRecordEntry>& entries, const std::string& creator,
                    const std::string& type, std::uint16_t count, std::int64_t unixTime) {
  if (count > entries.size()) return false;
  TemporaryOutputFile out;
  return WriteInto(out, entries, creator, type, count, unixTime) && out.RenameTo(WritePath());
}

bool PdbFile::WriteInto(TemporaryOutputFile& out, std::vector<PdbRecordEntry>& entries,
                        const std::string& creator, const std::string& type, std::uint16_t count,
                        std::int64_t unixTime) {
  if (count > entries.size()) return false;
  if (!out.Create(m_directory)) return false;
  unsigned char header[kPdbHeaderSize];
  PrepareHeader(header, creator, type, count);
  bool written = WriteHeader(header, entries, count, unixTime, out.Stream());
  for (std::size_t i = 0; written && i < count; ++i) {
    written = WriteRecordData(entries[i], out.Stream());
  }
  return out.Complete() && written;
}

bool PdbFile::WriteHeaderFor(const std::vector<std::uint32_t>& lengths, const std::string& creator,
                             const std::string& type, std::int64_t unixTime, std::FILE* file) {
  if (lengths.size() > std::numeric_limits<std::uint16_t>::max()) return false;
  const auto count = static_cast<std::uint16_t>(lengths.size());
  unsigned char header[kPdbHeaderSize];
  PrepareHeader(header, creator, type, count);
  return WriteHeaderBlock(header, count, unixTime, file,
                          [&lengths](std::size_t i) { return lengths[i]; });
}

bool PdbFile::Write(const RecordArena& records, const std::string& creator,
                    const std::string& type) {
  return Write(records, creator, type, static_cast<std::int64_t>(std::time(nullptr)));
}

bool PdbFile::Write(const RecordArena& records, const std::string& creator, const std::string& type,
                    std::int64_t unixTime) {
  if (records.RecordCount() > std::numeric_limits<std::uint16_t>::max()) return false;
  const auto count = static_cast<std::uint16_t>(records.RecordCount());
  unsigned char header[kPdbHeaderSize];
  PrepareHeader(header, creator, type, count);
  return WriteReplacing([&](std::FILE* file) {
    if (!WriteHeaderBlock(header, count, unixTime, file,
                          [&records](std::size_t i) { return records.RecordLength(i); })) {
      return false;
    }
    // The records lie one after another in memory exactly as in the file.
    const std::size_t size = records.Size();
    return size == 0 || std::fwrite(records.Data(), 1, size, file) == size;
  });
}

}  // namespace tallowick
