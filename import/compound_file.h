#pragma once
// Reads one stream ("Workbook", "Book") out of an OLE2 compound file held in
// memory, following its sector chains with every index and every chain
// length checked, so a damaged or hostile file ends in `false`, never in a
// read outside the buffer or an endless loop.
#include <string_view>
#include <vector>

#include "import/byte_view.h"

namespace tallowick {

// True when `file` starts with the compound file signature.
bool IsCompoundFile(ByteView file);

// One stream read out of a compound file, and where its bytes lie in the file.
struct CompoundStream {
  std::vector<unsigned char> bytes;
  // File offset of each sector of the stream, in stream order: sectors of
  // 512 or 4096 bytes, or 64-byte mini sectors for a stream under 4096 bytes.
  std::vector<std::size_t> sectorOffsets;
  std::size_t sectorSize = 512;

  // The file offset of stream byte `offset`; false when it has none.
  bool FileOffset(std::size_t offset, std::size_t& out) const;
};

// Reads the stream whose name equals one of `names` (ASCII, case ignored),
// trying them in order.
bool ReadCompoundStream(ByteView file, const std::vector<std::string_view>& names, CompoundStream& out);
// The same, for the stream's bytes alone.
bool ReadCompoundStream(ByteView file, const std::vector<std::string_view>& names, std::vector<unsigned char>& out);

}  // namespace tallowick
