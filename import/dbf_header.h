#pragma once
// The header of a dBase or FoxPro table: version, record count and length,
// language driver, and the field descriptors (32 bytes each; 48 in dBase 7;
// Visual FoxPro adds a 263-byte database backlink after them).
#include <cstdint>
#include <string>
#include <vector>

#include "import/byte_view.h"

namespace tallowick {

enum class DbfFlavour {
  DBase3,        // 0x03 (also dBase IV and FoxPro without memo), 0x83
  DBase4,        // 0x8B, 0x7B, 0xCB, 0x43, 0x63
  DBase7,        // 0x04, 0x8C
  FoxPro2,       // 0xF5, 0xFB
  VisualFoxPro,  // 0x30, 0x31, 0x32
};

struct DbfField {
  std::string rawName;  // name bytes as stored, up to the first NUL
  char type = 'C';
  std::uint32_t offset = 0;  // within the record (the deletion flag is byte 0)
  std::uint32_t length = 0;
  std::uint8_t decimals = 0;
  std::uint8_t flags = 0;  // Visual FoxPro: 0x01 system, 0x02 nullable, 0x04 binary
  int nullBit = -1;        // bit in _NullFlags that marks NULL, -1 for none
  int varLengthBit = -1;   // Visual FoxPro V/Q: bit marking a shorter value

  bool IsSystem() const { return (flags & 0x01) != 0; }
};

struct DbfHeader {
  std::uint8_t version = 0;
  DbfFlavour flavour = DbfFlavour::DBase3;
  std::uint32_t recordCount = 0;
  std::uint32_t headerLength = 0;
  std::uint32_t recordLength = 0;
  std::uint8_t languageDriver = 0;
  std::vector<DbfField> fields;  // every field, system fields included
  int nullFlagsField = -1;       // index of _NullFlags in `fields`, or -1

  // Whether some field keeps its value in a memo file.
  bool NeedsMemoFile() const;
  // FoxPro keeps memos in .fpt files, dBase in .dbt files.
  bool PrefersFptMemo() const;
  // Whether field `field` is held in the memo file.
  bool IsMemoField(const DbfField& field) const;
};

// Bytes to read before ParseDbfHeader can tell the header's full length.
inline constexpr std::size_t kDbfFixedHeaderSize = 32;

// Reads the header length from the first 32 bytes; false for a file too
// short to be a table.
bool DbfHeaderLength(ByteView first32, std::uint32_t& headerLength);

// Parses a whole header (`bytes` holds at least headerLength bytes). On
// failure `problem` says what is wrong, in words for the user.
bool ParseDbfHeader(ByteView bytes, DbfHeader& out, std::string& problem);

}  // namespace tallowick
