#pragma once
// A memo file beside a dBase or FoxPro table.
//   .dbt, dBase III: 512-byte blocks, a memo runs until a 0x1A byte.
//   .dbt, dBase IV/7: blocks of the size at header offset 20; a memo block
//        starts FF FF 08 00 and a 32-bit little-endian length (header
//        included). Blocks without that mark are read the dBase III way.
//   .fpt, FoxPro: block size big-endian at header offset 6; a memo block
//        starts with its type and length, both 32-bit big-endian.
// Every read is checked against the file's size.
#include <cstdint>
#include <string>

namespace tallowick {

class DbfMemoFile {
 public:
  DbfMemoFile() = default;
  ~DbfMemoFile();
  DbfMemoFile(const DbfMemoFile&) = delete;
  DbfMemoFile& operator=(const DbfMemoFile&) = delete;

  // Opens `path`; its layout follows its extension (.fpt or not). On
  // failure `problem` says why.
  bool Open(const std::string& path, std::string& problem);
  const std::string& Path() const { return m_path; }

  // Reads the memo that starts at `block` into `out` (raw bytes). Block 0
  // means "no memo" and gives an empty value. False, with `problem`, when
  // the memo lies outside the file.
  bool Read(std::uint64_t block, std::string& out, std::string& problem);

 private:
  bool ReadAt(std::uint64_t offset, std::size_t count, std::string& out) const;
  bool ReadFoxPro(std::uint64_t offset, std::string& out, std::string& problem) const;
  bool ReadDBase(std::uint64_t offset, std::string& out, std::string& problem) const;

  int m_fd = -1;
  std::string m_path;
  bool m_foxPro = false;
  std::uint64_t m_size = 0;
  std::uint32_t m_blockSize = 512;
};

}  // namespace tallowick
