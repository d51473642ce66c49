#include "import/dbf_column_typing.h"

#include <charconv>
#include <cstring>
#include <limits>

#include "import/calendar.h"
#include "import/code_page_decoder.h"
#include "import/dbf_memo_file.h"
#include "import/sqlite_table_writer.h"
#include "import/value_text.h"

namespace tallowick {
namespace {

enum class NumberForm { Blank, Whole, Fraction, NotNumber };

bool IsPad(char ch) { return ch == ' ' || ch == '\0'; }

std::string_view TrimPads(std::string_view text) {
  std::size_t first = 0;
  while (first < text.size() && IsPad(text[first])) ++first;
  std::size_t last = text.size();
  while (last > first && IsPad(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::string_view TrimTrailingPads(std::string_view text) {
  std::size_t last = text.size();
  while (last > 0 && IsPad(text[last - 1])) --last;
  return text.substr(0, last);
}

std::string_view TrimTrailingNuls(std::string_view text) {
  std::size_t last = text.size();
  while (last > 0 && text[last - 1] == '\0') --last;
  return text.substr(0, last);
}

NumberForm ParseNumber(std::string_view raw, std::int64_t& whole, double& value) {
  std::string_view text = TrimPads(raw);
  if (text.empty()) return NumberForm::Blank;
  if (text[0] == '+') text.remove_prefix(1);
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  if (text.find_first_of(".eE") == std::string_view::npos) {
    auto [ptr, ec] = std::from_chars(begin, end, whole);
    if (ec == std::errc() && ptr == end) {
      value = static_cast<double>(whole);
      return NumberForm::Whole;
    }
  }
  auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec == std::errc() && ptr == end) return NumberForm::Fraction;
  return NumberForm::NotNumber;
}

bool IsBlankDate(std::string_view text) {
  std::string_view trimmed = TrimPads(text);
  return trimmed.empty() || trimmed == "00000000";
}

// dBase 7 stores integers big-endian with the sign bit inverted, so that
// their bytes sort in numeric order.
std::int32_t DBase7Integer(std::uint32_t bits) {
  return static_cast<std::int32_t>(bits ^ 0x80000000u);
}

// dBase 7 doubles: big-endian; positive ones with the sign bit set, negative
// ones with every bit inverted.
double DBase7Double(std::uint64_t bits) {
  bits = (bits & 0x8000000000000000ull) != 0 ? bits ^ 0x8000000000000000ull : ~bits;
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

bool IsFlagged(const DbfHeader& header, ByteView record, int bit) {
  if (bit < 0 || header.nullFlagsField < 0) return false;
  const DbfField& flags = header.fields[static_cast<std::size_t>(header.nullFlagsField)];
  std::uint8_t byte = 0;
  if (!record.U8(flags.offset + static_cast<std::uint32_t>(bit / 8), byte)) return false;
  return (byte >> (bit % 8)) & 1;
}

void BindFoxProDateTime(SqliteTableWriter& writer, int column, ByteView value) {
  std::uint32_t day = 0, milliseconds = 0;
  value.U32LE(0, day);
  value.U32LE(4, milliseconds);
  CalendarDateTime when;
  if (day == 0 || !JulianDayToCalendar(day, milliseconds, when)) {
    writer.BindNull(column);
  } else {
    writer.BindText(column, TimestampText(when));
  }
}

void BindLogical(SqliteTableWriter& writer, int column, std::string_view chars) {
  switch (chars[0]) {
    case 'T':
    case 't':
    case 'Y':
    case 'y':
      writer.BindInteger(column, 1);
      break;
    case 'F':
    case 'f':
    case 'N':
    case 'n':
      writer.BindInteger(column, 0);
      break;
    default:
      writer.BindNull(column);
      break;
  }
}

// Four bytes: little-endian, or in dBase 7's sortable big-endian form.
void BindBinaryInteger(SqliteTableWriter& writer, int column, ByteView value, bool sortable) {
  std::uint32_t bits = 0;
  if (sortable) {
    value.U32BE(0, bits);
    writer.BindInteger(column, DBase7Integer(bits));
  } else {
    value.U32LE(0, bits);
    writer.BindInteger(column, static_cast<std::int32_t>(bits));
  }
}

// Visual FoxPro currency: a 64-bit count of ten-thousandths.
void BindCurrency(SqliteTableWriter& writer, int column, ByteView value) {
  std::uint64_t bits = 0;
  value.U64LE(0, bits);
  writer.BindDouble(column, static_cast<double>(static_cast<std::int64_t>(bits)) / 10000.0);
}

void BindDBase7Double(SqliteTableWriter& writer, int column, ByteView value) {
  std::uint64_t bits = 0;
  value.U64BE(0, bits);
  writer.BindDouble(column, DBase7Double(bits));
}

void BindFoxProDouble(SqliteTableWriter& writer, int column, ByteView value) {
  double number = 0;
  value.F64LE(0, number);
  writer.BindDouble(column, number);
}

}  // namespace

bool IsNullFlagged(const DbfHeader& header, const DbfField& field, ByteView record) {
  return IsFlagged(header, record, field.nullBit);
}

bool NeedsCensus(const DbfField& field) {
  return field.type == 'N' || field.type == 'F' || field.type == 'D';
}

void AddToCensus(const DbfField& field, ByteView record, DbfFieldCensus& census) {
  std::string_view value = record.Chars(field.offset, field.length);
  if (field.type == 'D') {
    CalendarDateTime date;
    if (!IsBlankDate(value) && !ParseCompactDate(TrimPads(value), date)) census.allDates = false;
    return;
  }
  std::int64_t whole = 0;
  double number = 0;
  switch (ParseNumber(value, whole, number)) {
    case NumberForm::Blank:
      return;
    case NumberForm::Whole:
      if (whole < std::numeric_limits<std::int32_t>::min() ||
          whole > std::numeric_limits<std::int32_t>::max()) {
        census.allInt32 = false;
      }
      return;
    case NumberForm::Fraction:
      census.allWhole = false;
      return;
    case NumberForm::NotNumber:
      census.allNumbers = false;
      return;
  }
}

ColumnType DbfColumnType(const DbfHeader& header, const DbfField& field,
                         const DbfFieldCensus& census) {
  const bool visual = header.flavour == DbfFlavour::VisualFoxPro;
  switch (field.type) {
    case 'C':
    case 'V':
      return ColumnType::Varchar;
    case 'N':
    case 'F':
      if (!census.allNumbers) return ColumnType::Varchar;
      if (field.decimals == 0 && census.allWhole && census.allInt32) return ColumnType::Integer;
      return ColumnType::Double;
    case 'D':
      return census.allDates ? ColumnType::Date : ColumnType::Varchar;
    case 'T':
      return ColumnType::Timestamp;
    case 'L':
      return ColumnType::Bit;
    case 'M':
      return ColumnType::Text;
    case 'I':
    case '+':
      return ColumnType::Integer;
    case 'Y':
    case 'O':
      return ColumnType::Double;
    case 'B':
      return visual ? ColumnType::Double : ColumnType::Blob;
    default:
      return ColumnType::Blob;  // G, P, W, Q, @
  }
}

void DbfValueBinder::BindText(SqliteTableWriter& writer, int column, std::string_view bytes) {
  m_decoder.Decode(bytes, m_text);
  writer.BindText(column, m_text);
}

bool DbfValueBinder::ReadMemo(const DbfField& field, ByteView value, std::string& problem) {
  std::uint64_t block = 0;
  if (field.length == 4) {
    std::uint32_t binary = 0;
    value.U32LE(0, binary);
    block = binary;
  } else {
    std::string_view digits = TrimPads(value.AllChars());
    for (char ch : digits) {
      if (ch < '0' || ch > '9') {
        problem = "the table is damaged (a memo reference of field \"" + field.rawName +
                  "\" is not a number)";
        return false;
      }
      block = block * 10 + static_cast<std::uint64_t>(ch - '0');
    }
  }
  if (m_memo == nullptr) {
    m_memoBytes.clear();
    if (block == 0) return true;
    problem = "the table refers to a memo file it does not have";
    return false;
  }
  if (!m_memo->Read(block, m_memoBytes, problem)) {
    problem = "its memo file " + m_memo->Path() + " cannot be read: " + problem;
    return false;
  }
  return true;
}

void DbfValueBinder::BindVarying(SqliteTableWriter& writer, int column, const DbfField& field,
                                 ByteView value, ByteView record) {
  std::string_view chars = value.AllChars();
  std::size_t length = chars.size();
  // A shorter value keeps its length in the field's last byte.
  if (IsFlagged(m_header, record, field.varLengthBit)) {
    std::uint8_t stored = 0;
    value.U8(value.Size() - 1, stored);
    length = std::min<std::size_t>(stored, chars.size() - 1);
  }
  if (field.type == 'V') {
    BindText(writer, column, chars.substr(0, length));
  } else {
    writer.BindBlob(column, value.Data(), length);
  }
}

void DbfValueBinder::BindNumber(SqliteTableWriter& writer, int column, ColumnType type,
                                std::string_view chars) {
  std::int64_t whole = 0;
  double number = 0;
  NumberForm form = ParseNumber(chars, whole, number);
  if (form == NumberForm::Blank) {
    writer.BindNull(column);
  } else if (type == ColumnType::Varchar) {
    BindText(writer, column, TrimPads(chars));
  } else if (type == ColumnType::Integer) {
    writer.BindInteger(column, whole);
  } else {
    writer.BindDouble(column, number);
  }
}

void DbfValueBinder::BindDate(SqliteTableWriter& writer, int column, std::string_view chars) {
  CalendarDateTime date;
  if (IsBlankDate(chars)) {
    writer.BindNull(column);
  } else if (ParseCompactDate(TrimPads(chars), date)) {
    writer.BindText(column, DateText(date));  // also in a column of text
  } else {
    BindText(writer, column, TrimPads(chars));
  }
}

bool DbfValueBinder::BindMemo(SqliteTableWriter& writer, int column, const DbfField& field,
                              ColumnType type, ByteView value, std::string& problem) {
  if (!ReadMemo(field, value, problem)) return false;
  if (type == ColumnType::Text) {
    BindText(writer, column, TrimTrailingNuls(m_memoBytes));
  } else {
    writer.BindBlob(column, m_memoBytes.data(), m_memoBytes.size());
  }
  return true;
}

bool DbfValueBinder::Bind(SqliteTableWriter& writer, int column, const DbfField& field,
                          ColumnType type, ByteView record, std::string& problem) {
  if (IsNullFlagged(m_header, field, record)) {
    writer.BindNull(column);
    return true;
  }
  ByteView value;
  record.Sub(field.offset, field.length, value);
  std::string_view chars = value.AllChars();
  switch (field.type) {
    case 'C':
      BindText(writer, column, TrimTrailingPads(chars));
      return true;
    case 'V':
    case 'Q':
      BindVarying(writer, column, field, value, record);
      return true;
    case 'N':
    case 'F':
      BindNumber(writer, column, type, chars);
      return true;
    case 'D':
      BindDate(writer, column, chars);
      return true;
    case 'T':
      BindFoxProDateTime(writer, column, value);
      return true;
    case 'L':
      BindLogical(writer, column, chars);
      return true;
    case 'I':
    case '+':
      BindBinaryInteger(writer, column, value,
                        m_header.flavour == DbfFlavour::DBase7 || field.type == '+');
      return true;
    case 'Y':
      BindCurrency(writer, column, value);
      return true;
    case 'O':
      BindDBase7Double(writer, column, value);
      return true;
    case 'B':
      if (type == ColumnType::Double) {
        BindFoxProDouble(writer, column, value);
        return true;
      }
      return BindMemo(writer, column, field, type, value, problem);
    case 'M':
    case 'G':
    case 'P':
    case 'W':
      return BindMemo(writer, column, field, type, value, problem);
    default:  // '@' and anything else kept as its bytes
      writer.BindBlob(column, value.Data(), value.Size());
      return true;
  }
}

}  // namespace tallowick
