#include "import/compound_file.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

namespace tallowick {
namespace {

constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::size_t kDirectoryEntrySize = 128;
constexpr std::size_t kHeaderDifatEntries = 109;

class CompoundFile {
 public:
  explicit CompoundFile(ByteView file) : m_file(file) {}

  bool Load() {
    if (!IsCompoundFile(m_file)) return false;
    std::uint16_t sectorShift = 0, miniShift = 0;
    if (!m_file.U16LE(0x1E, sectorShift) || !m_file.U16LE(0x20, miniShift)) return false;
    if ((sectorShift != 9 && sectorShift != 12) || miniShift != 6) return false;
    m_sectorSize = std::size_t{1} << sectorShift;
    m_miniSectorSize = std::size_t{1} << miniShift;
    std::uint32_t fatSectors = 0, firstDifat = 0, difatSectors = 0;
    if (!m_file.U32LE(0x2C, fatSectors) || !m_file.U32LE(0x30, m_firstDirectory) ||
        !m_file.U32LE(0x38, m_miniCutoff) || !m_file.U32LE(0x3C, m_firstMiniFat) ||
        !m_file.U32LE(0x44, firstDifat) || !m_file.U32LE(0x48, difatSectors)) {
      return false;
    }
    // Every FAT sector lies in the file, so their number is bounded by its size.
    if (fatSectors > m_file.Size() / m_sectorSize) return false;
    std::vector<std::uint32_t> fatSectorIds;
    for (std::size_t i = 0; i < kHeaderDifatEntries && fatSectorIds.size() < fatSectors; ++i) {
      std::uint32_t id = 0;
      if (!m_file.U32LE(0x4C + 4 * i, id)) return false;
      fatSectorIds.push_back(id);
    }
    std::uint32_t difat = firstDifat;
    for (std::uint32_t hop = 0; hop < difatSectors && fatSectorIds.size() < fatSectors; ++hop) {
      ByteView sector;
      if (!Sector(difat, sector)) return false;
      std::size_t perSector = m_sectorSize / 4 - 1;
      for (std::size_t i = 0; i < perSector && fatSectorIds.size() < fatSectors; ++i) {
        std::uint32_t id = 0;
        sector.U32LE(4 * i, id);
        fatSectorIds.push_back(id);
      }
      sector.U32LE(4 * perSector, difat);
    }
    if (fatSectorIds.size() < fatSectors) return false;
    m_fat.reserve(fatSectorIds.size() * (m_sectorSize / 4));
    for (std::uint32_t id : fatSectorIds) {
      ByteView sector;
      if (!Sector(id, sector)) return false;
      for (std::size_t i = 0; i + 4 <= sector.Size(); i += 4) {
        std::uint32_t next = 0;
        sector.U32LE(i, next);
        m_fat.push_back(next);
      }
    }
    return ReadChain(m_fat, m_firstDirectory, m_file.Size(), m_directory);
  }

  CompoundRead ReadStream(const std::vector<std::string_view>& names,
                          std::vector<unsigned char>& out) {
    std::size_t entryCount = m_directory.size() / kDirectoryEntrySize;
    if (entryCount == 0) return CompoundRead::Damaged;
    ByteView directory(m_directory.data(), m_directory.size());
    for (std::string_view wanted : names) {
      std::uint32_t found = FindRootChild(directory, entryCount, wanted);
      if (found == kNoStream) continue;
      ByteView entry;
      directory.Sub(found * kDirectoryEntrySize, kDirectoryEntrySize, entry);
      std::uint32_t start = 0, size = 0;
      entry.U32LE(116, start);
      entry.U32LE(120, size);
      if (size > m_file.Size()) return CompoundRead::Damaged;
      const bool read = size >= m_miniCutoff ? ReadChain(m_fat, start, size, out)
                                             : ReadMiniStream(directory, start, size, out);
      if (!read || out.size() < size) return CompoundRead::Damaged;
      out.resize(size);
      return CompoundRead::Read;
    }
    return CompoundRead::NoSuchStream;
  }

 private:
  bool Sector(std::uint32_t id, ByteView& out) const {
    std::size_t offset = (static_cast<std::size_t>(id) + 1) * m_sectorSize;
    if (offset >= m_file.Size()) return false;
    std::size_t available = std::min(m_sectorSize, m_file.Size() - offset);
    return m_file.Sub(offset, available, out);
  }

  // Follows a chain of `fat` from `start`, appending each sector, until the
  // chain ends or `limit` bytes are read. A chain longer than the table or
  // the file (a loop) or pointing outside it fails.
  bool ReadChain(const std::vector<std::uint32_t>& fat, std::uint32_t start, std::size_t limit,
                 std::vector<unsigned char>& out) const {
    out.clear();
    std::uint32_t sector = start;
    std::size_t hops = 0;
    while (sector != kEndOfChain && out.size() < limit) {
      if (sector >= fat.size() || ++hops > fat.size()) return false;
      ByteView bytes;
      if (!Sector(sector, bytes)) return false;
      out.insert(out.end(), bytes.Data(), bytes.Data() + bytes.Size());
      // A chain of distinct sectors never holds more than the file.
      if (out.size() > m_file.Size()) return false;
      sector = fat[sector];
    }
    return true;
  }

  // Reads a stream kept in the mini stream (the root entry's own stream, cut
  // into 64-byte mini sectors chained by the mini FAT).
  bool ReadMiniStream(ByteView directory, std::uint32_t start, std::uint32_t size,
                      std::vector<unsigned char>& out) const {
    std::uint32_t rootStart = 0, rootSize = 0;
    if (!directory.U32LE(116, rootStart) || !directory.U32LE(120, rootSize)) return false;
    std::vector<unsigned char> miniStream;
    if (!ReadChain(m_fat, rootStart, std::min<std::size_t>(rootSize, m_file.Size()), miniStream)) {
      return false;
    }
    std::vector<unsigned char> miniFatBytes;
    if (!ReadChain(m_fat, m_firstMiniFat, m_file.Size(), miniFatBytes)) return false;
    std::vector<std::uint32_t> miniFat(miniFatBytes.size() / 4);
    for (std::size_t i = 0; i < miniFat.size(); ++i) {
      ByteView(miniFatBytes.data(), miniFatBytes.size()).U32LE(4 * i, miniFat[i]);
    }
    out.clear();
    std::uint32_t sector = start;
    std::size_t hops = 0;
    ByteView mini(miniStream.data(), miniStream.size());
    while (sector != kEndOfChain && out.size() < size) {
      if (sector >= miniFat.size() || ++hops > miniFat.size()) return false;
      ByteView bytes;
      const std::size_t at = static_cast<std::size_t>(sector) * m_miniSectorSize;
      if (!mini.Sub(at, m_miniSectorSize, bytes)) return false;
      out.insert(out.end(), bytes.Data(), bytes.Data() + bytes.Size());
      if (out.size() > mini.Size()) return false;
      sector = miniFat[sector];
    }
    return true;
  }

  static bool NameEquals(ByteView entry, std::string_view wanted) {
    std::uint16_t nameBytes = 0;
    if (!entry.U16LE(64, nameBytes) || nameBytes < 2 || nameBytes > 64) return false;
    std::size_t length = nameBytes / 2 - 1;  // without the terminating NUL
    if (length != wanted.size()) return false;
    for (std::size_t i = 0; i < length; ++i) {
      std::uint16_t unit = 0;
      entry.U16LE(2 * i, unit);
      if (unit > 0x7F || std::tolower(static_cast<int>(unit)) !=
                             std::tolower(static_cast<unsigned char>(wanted[i]))) {
        return false;
      }
    }
    return true;
  }

  // Searches the root storage's children (a binary tree of siblings).
  static std::uint32_t FindRootChild(ByteView directory, std::size_t entryCount,
                                     std::string_view wanted) {
    std::uint32_t child = kNoStream;
    directory.U32LE(76, child);
    std::vector<std::uint32_t> pending{child};
    std::vector<bool> seen(entryCount, false);
    while (!pending.empty()) {
      std::uint32_t id = pending.back();
      pending.pop_back();
      if (id >= entryCount || seen[id]) continue;
      seen[id] = true;
      ByteView entry;
      directory.Sub(id * kDirectoryEntrySize, kDirectoryEntrySize, entry);
      std::uint8_t type = 0;
      entry.U8(66, type);
      if (type == 2 && NameEquals(entry, wanted)) return id;
      std::uint32_t left = kNoStream, right = kNoStream;
      entry.U32LE(68, left);
      entry.U32LE(72, right);
      pending.push_back(left);
      pending.push_back(right);
    }
    return kNoStream;
  }

  ByteView m_file;
  std::size_t m_sectorSize = 512;
  std::size_t m_miniSectorSize = 64;
  std::uint32_t m_firstDirectory = kEndOfChain;
  std::uint32_t m_miniCutoff = 4096;
  std::uint32_t m_firstMiniFat = kEndOfChain;
  std::vector<std::uint32_t> m_fat;
  std::vector<unsigned char> m_directory;
};

}  // namespace

bool IsCompoundFile(ByteView file) {
  return file.Has(0, 512) && std::memcmp(file.Data(), kSignature, sizeof kSignature) == 0;
}

CompoundRead ReadCompoundStream(ByteView file, const std::vector<std::string_view>& names,
                                std::vector<unsigned char>& out) {
  if (!IsCompoundFile(file)) return CompoundRead::NotCompound;
  CompoundFile compound(file);
  if (!compound.Load()) return CompoundRead::Damaged;
  return compound.ReadStream(names, out);
}

}  // namespace tallowick
