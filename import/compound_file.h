#pragma once
// Reads one stream ("Workbook", "Book") out of an OLE2 compound file held in
// memory, following its sector chains with every index and every chain
// length checked, so a damaged or hostile file ends in an error, never in a
// read outside the buffer or an endless loop.
#include <string_view>
#include <vector>

#include "import/byte_view.h"

namespace tallowick {

// True when `file` starts with the compound file signature.
bool IsCompoundFile(ByteView file);

enum class CompoundRead {
  Read,
  NotCompound,   // no compound file signature
  NoSuchStream,  // a compound file without any of the streams asked for
  Damaged,       // its header, tables or the stream's chain cannot be followed
};

// Reads the stream whose name equals one of `names` (ASCII, case ignored),
// trying them in order.
CompoundRead ReadCompoundStream(ByteView file, const std::vector<std::string_view>& names,
                                std::vector<unsigned char>& out);

}  // namespace tallowick
