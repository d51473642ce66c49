#include "import/dbf_table_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/file_system.h"
#include "platform/path_text.h"

namespace tallowick {
namespace {

constexpr std::size_t kBlockBytes = 1 << 20;

bool ReadFully(int fd, std::uint64_t offset, unsigned char* out, std::size_t count) {
  return platform::ReadAt(fd, out, count, offset);
}

std::string LowerAscii(std::string text) {
  for (char& ch : text) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
  return text;
}

}  // namespace

DbfTableReader::~DbfTableReader() {
  if (m_fd >= 0) platform::CloseFile(m_fd);
}

bool DbfTableReader::Fail(const std::string& why, std::string& error) const {
  error = "Cannot read the dBase table " + m_path + ": " + why + ".";
  return false;
}

std::string DbfTableReader::FindMemoFile(const std::string& tablePath, bool preferFpt) {
  std::size_t slash = platform::LastPathSeparator(tablePath);
  std::string folder =
      slash == std::string::npos ? "." : tablePath.substr(0, slash == 0 ? 1 : slash);
  std::string file = slash == std::string::npos ? tablePath : tablePath.substr(slash + 1);
  std::size_t dot = file.rfind('.');
  std::string base = LowerAscii(dot == std::string::npos ? file : file.substr(0, dot));
  std::string found[2];  // [0] preferred extension, [1] the other
  std::vector<std::string> names;
  if (!platform::ListFolder(folder, names)) return {};
  for (const std::string& entry : names) {
    const std::string name = LowerAscii(entry);
    if (name == base + (preferFpt ? ".fpt" : ".dbt")) found[0] = entry;
    if (name == base + (preferFpt ? ".dbt" : ".fpt")) found[1] = entry;
  }
  std::string prefix = slash == std::string::npos ? std::string() : tablePath.substr(0, slash + 1);
  if (!found[0].empty()) return prefix + found[0];
  if (!found[1].empty()) return prefix + found[1];
  return {};
}

bool DbfTableReader::Open(const std::string& path, std::string& error) {
  m_path = path;
  if (platform::KindOf(path) != platform::PathKind::File) {
    if (platform::KindOf(path) == platform::PathKind::Missing)
      return Fail(std::strerror(ENOENT), error);
    return Fail("it is not a file", error);
  }
  m_fd = platform::OpenFile(path, platform::OpenMode::Read);
  const std::int64_t size = m_fd >= 0 ? platform::FileSize(m_fd) : -1;
  if (size < 0) return Fail(std::strerror(errno), error);
  const auto fileSize = static_cast<std::uint64_t>(size);

  unsigned char fixed[kDbfFixedHeaderSize];
  std::uint32_t headerLength = 0;
  if (fileSize < kDbfFixedHeaderSize || !ReadFully(m_fd, 0, fixed, sizeof fixed) ||
      !DbfHeaderLength(ByteView(fixed, sizeof fixed), headerLength)) {
    return Fail("it is not a dBase table (the file is too short for a header)", error);
  }
  std::vector<unsigned char> headerBytes(std::max<std::size_t>(headerLength, kDbfFixedHeaderSize));
  std::size_t available =
      static_cast<std::size_t>(std::min<std::uint64_t>(headerBytes.size(), fileSize));
  if (!ReadFully(m_fd, 0, headerBytes.data(), available)) return Fail(std::strerror(errno), error);
  std::string problem;
  if (!ParseDbfHeader(ByteView(headerBytes.data(), available), m_header, problem))
    return Fail(problem, error);

  const std::uint64_t needed =
      static_cast<std::uint64_t>(m_header.headerLength) +
      static_cast<std::uint64_t>(m_header.recordCount) * m_header.recordLength;
  if (fileSize < needed) {
    std::uint64_t whole = (fileSize - std::min<std::uint64_t>(fileSize, m_header.headerLength)) /
                          m_header.recordLength;
    return Fail("the file is truncated (its header announces " +
                    std::to_string(m_header.recordCount) + " records of " +
                    std::to_string(m_header.recordLength) + " bytes, the file holds " +
                    std::to_string(whole) + ")",
                error);
  }

  if (m_header.NeedsMemoFile()) {
    std::string memoPath = FindMemoFile(path, m_header.PrefersFptMemo());
    if (memoPath.empty()) {
      std::size_t dot = path.rfind('.');
      std::size_t slash = platform::LastPathSeparator(path);
      std::string base = dot == std::string::npos || (slash != std::string::npos && dot < slash)
                             ? path
                             : path.substr(0, dot);
      return Fail(std::string("its memo file ") + base +
                      (m_header.PrefersFptMemo() ? ".fpt" : ".dbt") + " is missing",
                  error);
    }
    m_memo = std::make_unique<DbfMemoFile>();
    if (!m_memo->Open(memoPath, problem)) {
      return Fail("its memo file " + memoPath + " cannot be read: " + problem, error);
    }
  }
  Rewind();
  return true;
}

void DbfTableReader::Rewind() {
  m_blockRecords = 0;
  m_blockPosition = 0;
  m_nextRecord = 0;
}

bool DbfTableReader::Next(ByteView& record, std::string& error) {
  if (m_blockPosition >= m_blockRecords) {
    if (m_nextRecord >= m_header.recordCount) return false;
    const std::uint32_t perBlock = std::max<std::uint32_t>(1, kBlockBytes / m_header.recordLength);
    const std::uint32_t count = std::min(perBlock, m_header.recordCount - m_nextRecord);
    m_block.resize(static_cast<std::size_t>(count) * m_header.recordLength);
    const std::uint64_t offset =
        m_header.headerLength + static_cast<std::uint64_t>(m_nextRecord) * m_header.recordLength;
    if (!ReadFully(m_fd, offset, m_block.data(), m_block.size())) {
      return Fail("reading record " + std::to_string(m_nextRecord + 1) + " failed", error);
    }
    m_blockRecords = count;
    m_blockPosition = 0;
    m_nextRecord += count;
  }
  record =
      ByteView(m_block.data() + static_cast<std::size_t>(m_blockPosition) * m_header.recordLength,
               m_header.recordLength);
  ++m_blockPosition;
  return true;
}

}  // namespace tallowick
