// Reading a PdbFile: header and record list first, then one record at a time.
#include <cstring>

#include "engine/byte_order.h"
#include "engine/pdb_file.h"
#include "platform/file_system.h"
#include "platform/text_compare.h"

namespace tallowick {

namespace {

class OpenFile {
 public:
  explicit OpenFile(const std::string& path) : m_file(platform::OpenStream(path, "rb")) {}
  ~OpenFile() {
    if (m_file != nullptr) std::fclose(m_file);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  std::FILE* get() const { return m_file; }

 private:
  std::FILE* m_file;
};

}  // namespace

std::string PdbFile::ReadPath() const {
  const std::string path = m_directory + m_name;
  return EndsWithIgnoringCase(path, m_extension) ? path : path + m_extension;
}

bool PdbFile::ReadBytesAt(unsigned char* buffer, std::uint32_t offset, std::size_t length,
                          std::FILE* file) {
  if (length == 0) return true;
  if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return false;
  return std::fread(buffer, 1, length, file) == length;
}

std::vector<PdbRecordEntry> PdbFile::ParseHeader(PdbHeader& header, std::FILE* file, bool& failed) {
  unsigned char bytes[kPdbHeaderSize];
  if (!ReadBytesAt(bytes, 0, sizeof bytes, file)) {
    failed = true;
    return {};
  }
  const char* name = reinterpret_cast<const char*>(bytes);
  header.name.assign(name, strnlen(name, kPdbNameField));
  header.attributes = GetBigEndian16(bytes + kPdbAttributesAt);
  header.version = GetBigEndian16(bytes + kPdbVersionAt);
  std::memcpy(&header.creationDate, bytes + kPdbCreationDateAt, 4);
  std::memcpy(&header.modificationDate, bytes + kPdbModificationDateAt, 4);
  std::memcpy(&header.lastBackupDate, bytes + kPdbLastBackupDateAt, 4);
  std::memcpy(&header.modificationNumber, bytes + kPdbModificationNumberAt, 4);
  header.appInfoOffset = GetBigEndian32(bytes + kPdbAppInfoOffsetAt);
  header.sortInfoOffset = GetBigEndian32(bytes + kPdbSortInfoOffsetAt);
  header.type.assign(reinterpret_cast<const char*>(bytes + kPdbTypeAt), 4);
  header.creator.assign(reinterpret_cast<const char*>(bytes + kPdbCreatorAt), 4);
  header.uniqueIdSeed = GetBigEndian32(bytes + kPdbUniqueIdSeedAt);
  header.nextRecordListId = GetBigEndian32(bytes + kPdbNextRecordListIdAt);
  header.numberOfRecords = GetBigEndian16(bytes + kPdbRecordCountAt);

  std::vector<unsigned char> list(kPdbRecordListEntrySize * header.numberOfRecords);
  if (std::fread(list.data(), 1, list.size(), file) != list.size()) {
    failed = true;
    return {};
  }
  std::vector<PdbRecordEntry> entries(header.numberOfRecords);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const unsigned char* entry = list.data() + kPdbRecordListEntrySize * i;
    entries[i].offset = GetBigEndian32(entry);
    entries[i].attributes = entry[4];
    entries[i].uniqueId = GetBigEndian24(entry + 5);
  }
  return entries;
}

bool PdbFile::ReadRecordList(PdbHeader& header, std::vector<PdbRecordEntry>& entries,
                             std::uint16_t& count) {
  OpenFile file(ReadPath());
  if (file.get() == nullptr) return false;
  bool failed = false;
  std::vector<PdbRecordEntry> read = ParseHeader(header, file.get(), failed);
  if (failed) return false;
  entries = std::move(read);
  count = header.numberOfRecords;
  return true;
}

std::unique_ptr<std::vector<unsigned char>> PdbFile::ReadRecord(
    const std::vector<PdbRecordEntry>& entries, std::size_t index, std::uint16_t count) {
  const std::size_t records = std::min<std::size_t>(count, entries.size());
  if (index >= records) return nullptr;
  OpenFile file(ReadPath());
  if (file.get() == nullptr) return nullptr;
  const std::int64_t size = platform::FileSize(fileno(file.get()));
  if (size < 0) return nullptr;
  const auto fileSize = static_cast<std::uint64_t>(size);

  // A record runs from its offset to the next record's offset (the last one to
  // the end of the file); both ends must lie inside the file, in order, and
  // no record starts inside the header or the record list.
  const std::uint64_t listEnd = kPdbHeaderSize + kPdbRecordListEntrySize * std::uint64_t{count};
  const std::uint64_t start = entries[index].offset;
  const std::uint64_t end = index + 1 < records ? entries[index + 1].offset : fileSize;
  if (start < listEnd || start > fileSize || end > fileSize || end < start) return nullptr;
  if (index > 0 && start < entries[index - 1].offset) return nullptr;

  const auto length = static_cast<std::size_t>(end - start);
  auto record = std::make_unique<std::vector<unsigned char>>(length + 1, 0);
  if (!ReadBytesAt(record->data(), static_cast<std::uint32_t>(start), length, file.get())) {
    return nullptr;
  }
  return record;
}

}  // namespace tallowick
