#include "engine/spooled_pdb_writer.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/file_system.h"

namespace tallowick {

namespace {

// Gap and the AppInfo block holding the empty application-info text.
constexpr std::uint64_t kAfterRecordList = kPdbGapSize + 1;
constexpr std::size_t kMoveChunk = std::size_t{1} << 20;

constexpr std::uint64_t RecordsStart(std::uint64_t count) {
  return kPdbHeaderSize + kPdbRecordListEntrySize * count + kAfterRecordList;
}

// Where the records wait: behind the header of the largest PDB.
constexpr std::uint64_t kSpoolStart = RecordsStart(0xFFFF);

// Moves `length` bytes from `from` down to `to` (to <= from) within the file,
// front to back, so that no byte is overwritten before it was read.
bool MoveDown(int fd, std::uint64_t from, std::uint64_t to, std::uint64_t length) {
  if (from == to || length == 0) return true;
  const auto buffer = std::make_unique<unsigned char[]>(kMoveChunk);
  for (std::uint64_t done = 0; done < length;) {
    const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(kMoveChunk, length - done));
    if (!platform::ReadAt(fd, buffer.get(), chunk, from + done)) return false;
    if (!platform::WriteAt(fd, buffer.get(), chunk, to + done)) return false;
    done += chunk;
  }
  return true;
}

}  // namespace

SpooledPdbWriter::SpooledPdbWriter(PdbFile file, std::size_t memoryLimit)
    : m_file(std::move(file)), m_memoryLimit(memoryLimit) {}

bool SpooledPdbWriter::Open() {
  m_lengths.clear();
  m_records.Clear();
  m_spooled = 0;
  m_failed = !m_out.Create(m_file.Directory());
  return !m_failed;
}

bool SpooledPdbWriter::EndRecord() {
  m_records.EndRecord();
  const std::size_t length = m_records.RecordLength(m_records.RecordCount() - 1);
  // A record beyond 32 bits cannot be addressed; FileSize() then says so.
  m_lengths.push_back(static_cast<std::uint32_t>(std::min<std::size_t>(length, 0xFFFFFFFFu)));
  if (m_records.Size() >= m_memoryLimit) Flush();
  return !m_failed;
}

std::uint64_t SpooledPdbWriter::FileSize() const {
  return RecordsStart(m_lengths.size()) + m_spooled + m_records.Size();
}

bool SpooledPdbWriter::Flush() {
  if (m_failed || m_records.Size() == 0) return !m_failed;
  // Written past the stream's buffer, which holds nothing yet: the header
  // goes in only once every record is in the file.
  m_failed = !platform::WriteAt(fileno(m_out.Stream()), m_records.Data(), m_records.Size(),
                                kSpoolStart + m_spooled);
  m_spooled += m_records.Size();
  m_records.Clear();
  return !m_failed;
}

bool SpooledPdbWriter::Finish(const std::string& creator, const std::string& type,
                              std::int64_t unixTime) {
  if (m_out.Stream() == nullptr || FileSize() > kMaxPdbFileSize || !Flush()) return false;
  std::FILE* stream = m_out.Stream();
  if (!m_file.WriteHeaderFor(m_lengths, creator, type, unixTime, stream) ||
      std::fflush(stream) != 0) {
    return false;
  }
  const int fd = fileno(stream);
  const std::uint64_t start = RecordsStart(m_lengths.size());
  if (!MoveDown(fd, kSpoolStart, start, m_spooled) || !platform::Truncate(fd, start + m_spooled)) {
    return false;
  }
  return m_out.Complete();
}

}  // namespace tallowick
