#include "import/biff_cell_scanner.h"

#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "import/code_page_decoder.h"
#include "import/compound_file.h"
#include "import/excel_number_format.h"

namespace tallowick {
namespace {

constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kCodePage = 0x0042;
constexpr std::uint16_t kDateMode = 0x0022;
constexpr std::uint16_t kFormat = 0x041E;
constexpr std::uint16_t kXf = 0x00E0;
constexpr std::uint16_t kBoolErr = 0x0205;
constexpr std::uint16_t kFormula = 0x0006;
constexpr std::uint16_t kString = 0x0207;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kNumber = 0x0203;
constexpr std::uint16_t kRk = 0x027E;
constexpr std::uint16_t kMulRk = 0x00BD;
constexpr std::uint16_t kBiff8Version = 0x0600;

struct Record {
  std::uint16_t type = 0;
  ByteView data;
  std::size_t offset = 0;  // of `data` in the stream
};

// Walks the records of the workbook stream from a given offset.
class RecordReader {
 public:
  RecordReader(ByteView stream, std::size_t offset) : m_stream(stream), m_pos(offset) {}

  bool Next(Record& out) {
    std::uint16_t type = 0, size = 0;
    if (!m_stream.U16LE(m_pos, type) || !m_stream.U16LE(m_pos + 2, size)) return false;
    if (!m_stream.Sub(m_pos + 4, size, out.data)) return false;
    out.type = type;
    out.offset = m_pos + 4;
    m_pos += 4 + static_cast<std::size_t>(size);
    return true;
  }
  // Looks at the next record without moving on.
  bool Peek(Record& out) const {
    RecordReader copy = *this;
    return copy.Next(out);
  }

 private:
  ByteView m_stream;
  std::size_t m_pos;
};

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Reads BIFF8 character data that may run on into CONTINUE records; each
// continuation starts with its own "high byte" flag.
class Biff8Characters {
 public:
  explicit Biff8Characters(std::vector<ByteView> segments) : m_segments(std::move(segments)) {}

  // Reads a string header (16- or 8-bit count, then flags) and the characters.
  bool ReadString(bool shortCount, std::string& out) {
    std::uint16_t count = 0;
    std::uint8_t shortValue = 0;
    if (shortCount) {
      if (!Current().U8(m_pos, shortValue)) return false;
      count = shortValue;
      m_pos += 1;
    } else {
      if (!Current().U16LE(m_pos, count)) return false;
      m_pos += 2;
    }
    std::uint8_t flags = 0;
    if (!Current().U8(m_pos, flags)) return false;
    m_pos += 1;
    // Rich-text runs and phonetic data come before the characters.
    if (flags & 0x08) m_pos += 2;
    if (flags & 0x04) m_pos += 4;
    bool wide = (flags & 0x01) != 0;
    out.clear();
    char16_t pendingHigh = 0;
    for (std::uint16_t i = 0; i < count; ++i) {
      if (m_pos >= Current().Size()) {
        // The characters go on in the next CONTINUE, after a new flag byte.
        if (++m_segment >= m_segments.size()) return false;
        std::uint8_t continued = 0;
        if (!Current().U8(0, continued)) return false;
        wide = (continued & 0x01) != 0;
        m_pos = 1;
      }
      char32_t unit = 0;
      if (wide) {
        std::uint16_t value = 0;
        if (!Current().U16LE(m_pos, value)) return false;
        m_pos += 2;
        unit = value;
      } else {
        std::uint8_t value = 0;
        if (!Current().U8(m_pos, value)) return false;
        m_pos += 1;
        unit = value;
      }
      if (unit >= 0xD800 && unit <= 0xDBFF) {
        pendingHigh = static_cast<char16_t>(unit);
        continue;
      }
      if (unit >= 0xDC00 && unit <= 0xDFFF && pendingHigh != 0) {
        AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(pendingHigh) - 0xD800) << 10) + (unit - 0xDC00));
        pendingHigh = 0;
        continue;
      }
      if (pendingHigh != 0 || (unit >= 0xDC00 && unit <= 0xDFFF)) AppendUtf8(out, 0xFFFD);
      pendingHigh = 0;
      AppendUtf8(out, unit);
    }
    if (pendingHigh != 0) AppendUtf8(out, 0xFFFD);
    return true;
  }

  void Skip(std::size_t count) { m_pos += count; }

 private:
  ByteView Current() const { return m_segment < m_segments.size() ? m_segments[m_segment] : ByteView(); }

  std::vector<ByteView> m_segments;
  std::size_t m_segment = 0;
  std::size_t m_pos = 0;
};

// An RK value: a 30-bit integer or the top 30 bits of a double, either of
// them possibly to be divided by 100.
double DecodeRk(std::uint32_t rk) {
  double value = 0;
  if (rk & 0x02) {
    value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&value, &bits, sizeof value);
  }
  return (rk & 0x01) ? value / 100 : value;
}

std::string ErrorText(std::uint8_t code) {
  switch (code) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    case 0x2A: return "#N/A";
    default: return "#VALUE!";
  }
}

int CodePageOfBiff(std::uint16_t value) {
  switch (value) {
    case 367: return 20127;
    case 1200: return 1252;  // BIFF8 text is UTF-16 anyway
    case 32768: return 10000;
    case 32769: return 1252;
    default: return value;
  }
}

class BiffScanner {
 public:
  explicit BiffScanner(ByteView stream) : m_stream(stream) {}

  BiffScan Scan(const CompoundStream& location) {
    BiffScan scan;
    std::vector<BiffSheetCells>& sheets = scan.sheets;
    RecordReader reader(m_stream, 0);
    Record record;
    if (!reader.Next(record) || record.type != kBof) return scan;
    std::uint16_t version = 0;
    record.data.U16LE(0, version);
    m_biff8 = version == kBiff8Version;
    std::vector<std::pair<std::uint32_t, std::string>> boundSheets;
    while (reader.Next(record) && record.type != kEof) {
      switch (record.type) {
        case kCodePage: {
          std::uint16_t codePage = 1252;
          record.data.U16LE(0, codePage);
          m_decoder = std::make_unique<CodePageDecoder>(CodePageOfBiff(codePage));
          break;
        }
        case kDateMode: {
          std::uint16_t mode = 0;
          record.data.U16LE(0, mode);
          m_date1904 = mode == 1;
          break;
        }
        case kFormat: ReadFormat(record.data); break;
        case kXf: {
          std::uint16_t format = 0;
          record.data.U16LE(2, format);
          m_xfFormats.push_back(format);
          m_xfFormatOffsets.push_back(record.offset + 2);
          break;
        }
        case kBoundSheet: {
          std::uint32_t offset = 0;
          std::uint8_t sheetType = 0;
          std::string name;
          if (record.data.U32LE(0, offset) && record.data.U8(5, sheetType) && sheetType == 0 &&
              ReadSheetName(record.data, name)) {
            boundSheets.emplace_back(offset, std::move(name));
          }
          break;
        }
        default: break;
      }
    }
    for (auto& [offset, name] : boundSheets) {
      BiffSheetCells sheet;
      sheet.name = std::move(name);
      ScanSheet(offset, sheet.cells);
      sheets.push_back(std::move(sheet));
    }
    for (std::size_t xf = 0; xf < m_xfFormats.size(); ++xf) {
      if (KindOfXf(static_cast<std::uint16_t>(xf)) == NumberFormatKind::Number) continue;
      std::size_t first = 0, second = 0;
      if (!location.FileOffset(m_xfFormatOffsets[xf], first) ||
          !location.FileOffset(m_xfFormatOffsets[xf] + 1, second) || second != first + 1) {
        scan.dateFormatIndexOffsets.clear();
        break;
      }
      scan.dateFormatIndexOffsets.push_back(first);
    }
    return scan;
  }

 private:
  CodePageDecoder& Decoder() {
    if (!m_decoder) m_decoder = std::make_unique<CodePageDecoder>(1252);
    return *m_decoder;
  }

  bool ReadByteString(ByteView data, std::size_t offset, std::size_t count, std::string& out) {
    if (!data.Has(offset, count)) return false;
    Decoder().Decode(data.Chars(offset, count), out);
    return true;
  }

  bool ReadSheetName(ByteView data, std::string& out) {
    if (m_biff8) return Biff8Characters({data.From(6)}).ReadString(true, out);
    std::uint8_t count = 0;
    return data.U8(6, count) && ReadByteString(data, 7, count, out);
  }

  void ReadFormat(ByteView data) {
    std::uint16_t id = 0;
    if (!data.U16LE(0, id)) return;
    std::string code;
    bool ok = false;
    if (m_biff8) {
      ok = Biff8Characters({data.From(2)}).ReadString(false, code);
    } else {
      std::uint8_t count = 0;
      ok = data.U8(2, count) && ReadByteString(data, 3, count, code);
    }
    if (ok) m_formats[id] = KindOfFormatCode(code);
  }

  NumberFormatKind KindOfXf(std::uint16_t xf) const {
    if (xf >= m_xfFormats.size()) return NumberFormatKind::Number;
    std::uint16_t format = m_xfFormats[xf];
    auto custom = m_formats.find(format);
    return custom != m_formats.end() ? custom->second : KindOfBuiltInFormat(format);
  }

  void SetNumber(BiffCell& cell, double value, std::uint16_t xf) const {
    cell.kind = CellKind::Number;
    cell.number = value;
    NumberFormatKind kind = KindOfXf(xf);
    CalendarDateTime when;
    if (kind == NumberFormatKind::Number || !ExcelSerialToCalendar(value, m_date1904, when)) return;
    if (kind == NumberFormatKind::Date) {
      when.hour = when.minute = when.second = when.millisecond = 0;
      cell.kind = CellKind::Date;
    } else if (kind == NumberFormatKind::Time) {
      cell.kind = CellKind::Time;
    } else {
      cell.kind = CellKind::DateTime;
    }
    cell.when = when;
  }

  // Collects a STRING record and the CONTINUE records after it.
  std::vector<ByteView> WithContinues(RecordReader& reader, ByteView first) {
    std::vector<ByteView> segments{first};
    Record next;
    while (reader.Peek(next) && next.type == kContinue) {
      reader.Next(next);
      segments.push_back(next.data);
    }
    return segments;
  }

  void ScanSheet(std::uint32_t offset, std::vector<BiffCell>& cells) {
    RecordReader reader(m_stream, offset);
    Record record;
    if (!reader.Next(record) || record.type != kBof) return;
    int depth = 1;
    std::size_t pendingString = cells.size() + 1;  // none
    while (depth > 0 && reader.Next(record)) {
      if (record.type == kBof) {
        ++depth;
        continue;
      }
      if (record.type == kEof) {
        --depth;
        continue;
      }
      if (depth != 1) continue;
      ByteView data = record.data;
      if (record.type == kNumber || record.type == kRk) {
        BiffCell cell;
        std::uint16_t row = 0, xf = 0;
        if (!data.U16LE(0, row) || !data.U16LE(2, cell.column) || !data.U16LE(4, xf)) continue;
        if (KindOfXf(xf) == NumberFormatKind::Number) continue;
        double value = 0;
        std::uint32_t rk = 0;
        if (record.type == kNumber ? !data.F64LE(6, value) : !data.U32LE(6, rk)) continue;
        if (record.type == kRk) value = DecodeRk(rk);
        cell.row = row;
        SetNumber(cell, value, xf);
        cells.push_back(std::move(cell));
      } else if (record.type == kMulRk) {
        std::uint16_t row = 0, column = 0;
        if (!data.U16LE(0, row) || !data.U16LE(2, column)) continue;
        // Pairs of format and RK value, then the last column.
        for (std::size_t at = 4; at + 6 + 2 <= data.Size(); at += 6) {
          std::uint16_t xf = 0;
          std::uint32_t rk = 0;
          data.U16LE(at, xf);
          data.U32LE(at + 2, rk);
          if (KindOfXf(xf) != NumberFormatKind::Number) {
            BiffCell cell;
            cell.row = row;
            cell.column = static_cast<std::uint16_t>(column + (at - 4) / 6);
            SetNumber(cell, DecodeRk(rk), xf);
            cells.push_back(std::move(cell));
          }
        }
      } else if (record.type == kBoolErr) {
        BiffCell cell;
        std::uint16_t row = 0;
        std::uint8_t value = 0, isError = 0;
        if (!data.U16LE(0, row) || !data.U16LE(2, cell.column) || !data.U8(6, value) || !data.U8(7, isError)) continue;
        cell.row = row;
        if (isError != 0) {
          cell.kind = CellKind::Error;
          cell.text = ErrorText(value);
        } else {
          cell.kind = CellKind::Boolean;
          cell.boolean = value != 0;
        }
        cells.push_back(std::move(cell));
      } else if (record.type == kFormula) {
        BiffCell cell;
        std::uint16_t row = 0, xf = 0, tag = 0;
        std::uint8_t resultType = 0, resultValue = 0;
        if (!data.U16LE(0, row) || !data.U16LE(2, cell.column) || !data.U16LE(4, xf) || !data.U16LE(12, tag) ||
            !data.U8(6, resultType) || !data.U8(8, resultValue)) {
          continue;
        }
        cell.row = row;
        if (tag != 0xFFFF) {
          double value = 0;
          data.F64LE(6, value);
          SetNumber(cell, value, xf);
        } else if (resultType == 0) {
          cell.kind = CellKind::Text;  // the text follows in a STRING record
          pendingString = cells.size();
        } else if (resultType == 1) {
          cell.kind = CellKind::Boolean;
          cell.boolean = resultValue != 0;
        } else if (resultType == 2) {
          cell.kind = CellKind::Error;
          cell.text = ErrorText(resultValue);
        } else {
          cell.kind = CellKind::Empty;  // a formula that shows nothing
        }
        cells.push_back(std::move(cell));
      } else if (record.type == kString && pendingString < cells.size()) {
        std::string text;
        bool ok = false;
        if (m_biff8) {
          ok = Biff8Characters(WithContinues(reader, data)).ReadString(false, text);
        } else {
          std::uint16_t count = 0;
          ok = data.U16LE(0, count) && ReadByteString(data, 2, count, text);
        }
        if (ok) cells[pendingString].text = std::move(text);
        pendingString = cells.size() + 1;
      }
    }
  }

  ByteView m_stream;
  bool m_biff8 = true;
  bool m_date1904 = false;
  std::unique_ptr<CodePageDecoder> m_decoder;
  std::vector<std::uint16_t> m_xfFormats;
  std::vector<std::size_t> m_xfFormatOffsets;  // stream offset of each XF's format index
  std::unordered_map<std::uint16_t, NumberFormatKind> m_formats;
};

}  // namespace

BiffScan ScanBiffCells(ByteView file) {
  CompoundStream stream;
  if (!ReadCompoundStream(file, {"Workbook", "Book"}, stream)) return {};
  return BiffScanner(ByteView(stream.bytes.data(), stream.bytes.size())).Scan(stream);
}

}  // namespace tallowick
