#include "import/dbf_memo_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "import/byte_view.h"
#include "platform/file_system.h"

namespace tallowick {
namespace {

constexpr char kDBaseEnd = 0x1A;
constexpr std::size_t kHeaderSize = 512;

bool EndsWithFpt(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  for (char& ch : ext) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
  return ext == ".fpt";
}

ByteView View(const std::string& bytes) {
  return ByteView(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

}  // namespace

DbfMemoFile::~DbfMemoFile() {
  if (m_fd >= 0) platform::CloseFile(m_fd);
}

bool DbfMemoFile::Open(const std::string& path, std::string& problem) {
  m_path = path;
  m_foxPro = EndsWithFpt(path);
  m_fd = platform::OpenFile(path, platform::OpenMode::Read);
  const std::int64_t size = m_fd >= 0 ? platform::FileSize(m_fd) : -1;
  if (size < 0) {
    problem = std::strerror(errno);
    return false;
  }
  m_size = static_cast<std::uint64_t>(size);
  std::string header;
  if (!ReadAt(0, kHeaderSize, header)) {
    problem = "the memo file is damaged (its header is incomplete)";
    return false;
  }
  ByteView bytes = View(header);
  if (m_foxPro) {
    std::uint16_t blockSize = 0;
    bytes.U16BE(6, blockSize);
    // FoxPro stores SET BLOCKSIZE TO 0 as one-byte blocks.
    m_blockSize = blockSize == 0 ? 1 : blockSize;
  } else {
    std::uint16_t blockSize = 0;
    bytes.U16LE(20, blockSize);
    m_blockSize = blockSize >= 64 ? blockSize : 512;
  }
  return true;
}

bool DbfMemoFile::ReadAt(std::uint64_t offset, std::size_t count, std::string& out) const {
  if (offset > m_size || count > m_size - offset) return false;
  out.resize(count);
  return platform::ReadAt(m_fd, out.data(), count, offset);
}

bool DbfMemoFile::Read(std::uint64_t block, std::string& out, std::string& problem) {
  out.clear();
  if (block == 0) return true;
  std::uint64_t offset = block * m_blockSize;
  if (offset / m_blockSize != block || offset < kHeaderSize || offset >= m_size) {
    problem = "the memo file is damaged (a memo points to block " + std::to_string(block) +
              ", outside the file)";
    return false;
  }
  return m_foxPro ? ReadFoxPro(offset, out, problem) : ReadDBase(offset, out, problem);
}

bool DbfMemoFile::ReadFoxPro(std::uint64_t offset, std::string& out, std::string& problem) const {
  std::string head;
  std::uint32_t length = 0;
  if (!ReadAt(offset, 8, head) || !View(head).U32BE(4, length) ||
      !ReadAt(offset + 8, length, out)) {
    problem = "the memo file is damaged (a memo runs past its end)";
    return false;
  }
  return true;
}

bool DbfMemoFile::ReadDBase(std::uint64_t offset, std::string& out, std::string& problem) const {
  std::string head;
  if (ReadAt(offset, 8, head) && static_cast<unsigned char>(head[0]) == 0xFF &&
      static_cast<unsigned char>(head[1]) == 0xFF && head[2] == 0x08 && head[3] == 0x00) {
    std::uint32_t length = 0;
    View(head).U32LE(4, length);
    if (length < 8 || !ReadAt(offset + 8, length - 8, out)) {
      problem = "the memo file is damaged (a memo runs past its end)";
      return false;
    }
    return true;
  }
  // dBase III: the memo ends at the first 0x1A (or at the end of the file).
  std::string chunk;
  std::uint64_t pos = offset;
  while (pos < m_size) {
    std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(m_size - pos, 4096));
    if (!ReadAt(pos, count, chunk)) break;
    std::size_t end = chunk.find(kDBaseEnd);
    out.append(chunk, 0, end == std::string::npos ? chunk.size() : end);
    if (end != std::string::npos) break;
    pos += count;
  }
  return true;
}

}  // namespace tallowick
