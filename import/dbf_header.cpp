#include "import/dbf_header.h"

#include <cstdio>

namespace tallowick {
namespace {

constexpr std::uint8_t kFieldTerminator = 0x0D;

bool FlavourOfVersion(std::uint8_t version, DbfFlavour& out) {
  switch (version) {
    case 0x03:
    case 0x83:
      out = DbfFlavour::DBase3;
      return true;
    case 0x8B:
    case 0x7B:
    case 0xCB:
    case 0x43:
    case 0x63:
      out = DbfFlavour::DBase4;
      return true;
    case 0x04:
    case 0x8C:
      out = DbfFlavour::DBase7;
      return true;
    case 0xF5:
    case 0xFB:
      out = DbfFlavour::FoxPro2;
      return true;
    case 0x30:
    case 0x31:
    case 0x32:
      out = DbfFlavour::VisualFoxPro;
      return true;
    default:
      return false;
  }
}

std::string Hex(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value & 0xFFu);
  return text;
}

// Whether a field of `type` may have `length` bytes in this flavour.
bool LengthFits(DbfFlavour flavour, char type, std::uint32_t length) {
  bool visual = flavour == DbfFlavour::VisualFoxPro;
  switch (type) {
    case 'C':
    case 'V':
    case 'Q':
    case '0':
      return length >= 1;
    case 'N':
    case 'F':
      return length >= 1 && length <= 255;
    case 'D':
      return length == 8;
    case 'L':
      return length == 1;
    case 'M':
    case 'G':
    case 'P':
      return length == 10 || length == 4;
    case 'B':
      return visual ? length == 8 : length == 10;
    case 'W':
      return visual && length == 4;
    case 'I':
    case '+':
      return length == 4;
    case 'Y':
    case 'T':
    case 'O':
    case '@':
      return length == 8;
    default:
      return false;
  }
}

}  // namespace

bool DbfHeader::IsMemoField(const DbfField& field) const {
  switch (field.type) {
    case 'M':
    case 'G':
    case 'P':
      return true;
    case 'B':
      return flavour != DbfFlavour::VisualFoxPro;
    case 'W':
      return flavour == DbfFlavour::VisualFoxPro;
    default:
      return false;
  }
}

bool DbfHeader::NeedsMemoFile() const {
  for (const DbfField& field : fields) {
    if (!field.IsSystem() && IsMemoField(field)) return true;
  }
  return false;
}

bool DbfHeader::PrefersFptMemo() const {
  return flavour == DbfFlavour::FoxPro2 || flavour == DbfFlavour::VisualFoxPro;
}

bool DbfHeaderLength(ByteView first32, std::uint32_t& headerLength) {
  std::uint16_t length = 0;
  if (!first32.Has(0, kDbfFixedHeaderSize) || !first32.U16LE(8, length)) return false;
  headerLength = length;
  return true;
}

namespace {

// Where a field descriptor keeps what: dBase 7 has longer names and
// descriptors, and its first descriptor further on.
struct DescriptorLayout {
  std::size_t first = 32;
  std::size_t size = 32;
  std::size_t nameSize = 11;
  std::size_t typeAt = 11;
  std::size_t lengthAt = 16;
  std::size_t decimalsAt = 17;
};

DescriptorLayout LayoutOf(DbfFlavour flavour) {
  if (flavour != DbfFlavour::DBase7) return {};
  return {68, 48, 32, 32, 33, 34};
}

// Version, counts and lengths; checks that the whole header is there.
bool ReadFixedHeader(ByteView bytes, DbfHeader& header, std::string& problem) {
  std::uint16_t headerLength = 0, recordLength = 0;
  if (!bytes.U8(0, header.version) || !bytes.U32LE(4, header.recordCount) ||
      !bytes.U16LE(8, headerLength) || !bytes.U16LE(10, recordLength) ||
      !bytes.U8(29, header.languageDriver)) {
    problem = "the file is too short to hold a table header";
    return false;
  }
  if (!FlavourOfVersion(header.version, header.flavour)) {
    problem =
        "it is not a dBase or FoxPro table (unknown version byte " + Hex(header.version) + ")";
    return false;
  }
  header.headerLength = headerLength;
  header.recordLength = recordLength;
  if (headerLength < LayoutOf(header.flavour).first + 1 || recordLength < 1) {
    problem = "the header is damaged (header length " + std::to_string(headerLength) +
              ", record length " + std::to_string(recordLength) + ")";
    return false;
  }
  if (!bytes.Has(0, headerLength)) {
    problem = "the header is damaged (it announces " + std::to_string(headerLength) +
              " bytes but the file is shorter)";
    return false;
  }
  return true;
}

bool ReadFieldDescriptor(ByteView descriptor, const DescriptorLayout& layout, DbfFlavour flavour,
                         DbfField& field, std::string& problem) {
  std::string_view name = descriptor.Chars(0, layout.nameSize);
  field.rawName = std::string(name.substr(0, name.find('\0')));
  std::uint8_t type = 0, length = 0;
  descriptor.U8(layout.typeAt, type);
  descriptor.U8(layout.lengthAt, length);
  descriptor.U8(layout.decimalsAt, field.decimals);
  if (flavour == DbfFlavour::VisualFoxPro) descriptor.U8(18, field.flags);
  field.type = static_cast<char>(type);
  field.length = length;
  // Clipper and FoxPro keep the high byte of a long character field's
  // length where other fields keep their decimals.
  if (field.type == 'C' && flavour != DbfFlavour::VisualFoxPro && field.decimals != 0) {
    field.length += static_cast<std::uint32_t>(field.decimals) * 256;
    field.decimals = 0;
  }
  if (!LengthFits(flavour, field.type, field.length)) {
    bool printable = type >= 0x20 && type < 0x7F;
    problem = "the header is damaged (field \"" + field.rawName + "\" has " +
              (printable ? "type " + std::string(1, field.type) : "type byte " + Hex(type)) +
              " and length " + std::to_string(field.length) + ", which no table uses)";
    return false;
  }
  return true;
}

// The descriptors up to the terminator or the header's end; `recordBytes`
// receives the bytes the fields take, the deletion flag included.
bool ReadFieldDescriptors(ByteView bytes, DbfHeader& header, std::uint32_t& recordBytes,
                          std::string& problem) {
  const DescriptorLayout layout = LayoutOf(header.flavour);
  recordBytes = 1;  // byte 0 of a record is the deletion flag
  for (std::size_t pos = layout.first; pos < header.headerLength; pos += layout.size) {
    std::uint8_t first = 0;
    bytes.U8(pos, first);
    if (first == kFieldTerminator) break;
    if (pos + layout.size > header.headerLength) {
      problem = "the header is damaged (a field description runs past the header)";
      return false;
    }
    ByteView descriptor;
    bytes.Sub(pos, layout.size, descriptor);
    DbfField field;
    if (!ReadFieldDescriptor(descriptor, layout, header.flavour, field, problem)) return false;
    field.offset = recordBytes;
    recordBytes += field.length;
    if (field.type == '0') {
      field.flags |= 0x01;  // _NullFlags is never a column of its own
      header.nullFlagsField = static_cast<int>(header.fields.size());
    }
    header.fields.push_back(std::move(field));
  }
  return true;
}

bool CheckFields(const DbfHeader& header, std::uint32_t recordBytes, std::string& problem) {
  if (recordBytes > header.recordLength) {
    problem = "the header is damaged (the fields need " + std::to_string(recordBytes) +
              " bytes but a record holds " + std::to_string(header.recordLength) + ")";
    return false;
  }
  bool anyUserField = false;
  for (const DbfField& field : header.fields) anyUserField = anyUserField || !field.IsSystem();
  if (!anyUserField) {
    problem = "the header is damaged (the table has no fields)";
    return false;
  }
  return true;
}

// Visual FoxPro hands out the bits of the hidden _NullFlags field in field
// order: a V or Q field takes one that marks a value shorter than the
// field, then a nullable field one that marks NULL.
void AssignNullFlagBits(DbfHeader& header) {
  if (header.nullFlagsField < 0) return;
  const std::uint32_t bits =
      header.fields[static_cast<std::size_t>(header.nullFlagsField)].length * 8;
  std::uint32_t next = 0;
  for (DbfField& field : header.fields) {
    if (field.IsSystem()) continue;
    if ((field.type == 'V' || field.type == 'Q') && next < bits) {
      field.varLengthBit = static_cast<int>(next++);
    }
    if ((field.flags & 0x02) != 0 && next < bits) field.nullBit = static_cast<int>(next++);
  }
}

}  // namespace

bool ParseDbfHeader(ByteView bytes, DbfHeader& out, std::string& problem) {
  DbfHeader header;
  std::uint32_t recordBytes = 0;
  if (!ReadFixedHeader(bytes, header, problem) ||
      !ReadFieldDescriptors(bytes, header, recordBytes, problem) ||
      !CheckFields(header, recordBytes, problem)) {
    return false;
  }
  AssignNullFlagBits(header);
  out = std::move(header);
  return true;
}

}  // namespace tallowick
