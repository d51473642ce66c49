#include "import/biff_cell_scanner.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "import/biff_records.h"
#include "import/biff_text.h"
#include "import/code_page_decoder.h"
#include "import/excel_number_format.h"
#include "platform/text_compare.h"

namespace tallowick {
namespace {

constexpr std::uint16_t kColumnsPerSheet = 256;
constexpr std::uint8_t kWorksheet = 0;
constexpr const char* kNotAWorkbook = "it is not an Excel 97-2003 workbook (.xls)";

std::string Damaged(std::string_view what) {
  return "the workbook is damaged (" + std::string(what) + ")";
}

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

const char* ErrorText(std::uint8_t code) {
  switch (code) {
    case 0x00:
      return "#NULL!";
    case 0x07:
      return "#DIV/0!";
    case 0x0F:
      return "#VALUE!";
    case 0x17:
      return "#REF!";
    case 0x1D:
      return "#NAME?";
    case 0x24:
      return "#NUM!";
    case 0x2A:
      return "#N/A";
    default:
      return "#VALUE!";
  }
}

int CodePageOfBiff(std::uint16_t value) {
  switch (value) {
    case 367:
      return 20127;
    case 1200:
      return 1252;  // BIFF8 text is UTF-16 anyway
    case 32768:
      return 10000;
    case 32769:
      return 1252;
    default:
      return value;
  }
}

std::uint64_t PlaceKey(const BiffCell& cell) {
  return (static_cast<std::uint64_t>(cell.row) << 16) | cell.column;
}

// Cells by row, then column; of two records for one place the later counts.
void SortByPlace(std::vector<BiffCell>& cells) {
  auto before = [](const BiffCell& a, const BiffCell& b) { return PlaceKey(a) < PlaceKey(b); };
  if (!std::is_sorted(cells.begin(), cells.end(), before)) {
    std::stable_sort(cells.begin(), cells.end(), before);
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (kept > 0 && PlaceKey(cells[kept - 1]) == PlaceKey(cells[i])) {
      cells[kept - 1] = cells[i];
    } else {
      cells[kept++] = cells[i];
    }
  }
  cells.resize(kept);
}

struct BoundSheet {
  std::uint32_t offset = 0;
  std::string name;
};

class BiffScanner {
 public:
  BiffScanner(ByteView stream, BiffWorkbook& out) : m_stream(stream), m_out(out) {}

  bool Scan(std::string& why) {
    std::vector<BoundSheet> boundSheets;
    if (!ReadGlobals(boundSheets) || !CheckSheetNames(boundSheets)) {
      why = m_why;
      return false;
    }
    for (BoundSheet& bound : boundSheets) {
      BiffSheet sheet;
      sheet.name = std::move(bound.name);
      if (!ScanSheet(bound.offset, sheet.cells)) {
        why = "sheet \"" + sheet.name + "\" cannot be read: " + m_why;
        return false;
      }
      SortByPlace(sheet.cells);
      m_out.sheets.push_back(std::move(sheet));
    }
    return true;
  }

 private:
  bool Fail(std::string why) {
    m_why = std::move(why);
    return false;
  }
  bool CutShort() { return Fail(Damaged("a record is shorter than its contents")); }

  CodePageDecoder& Decoder() {
    if (!m_decoder) m_decoder = std::make_unique<CodePageDecoder>(1252);
    return *m_decoder;
  }

  // Each sheet becomes a table named after it: no two names may differ in
  // letter case alone.
  bool CheckSheetNames(const std::vector<BoundSheet>& boundSheets) {
    std::vector<std::string> names;
    for (const BoundSheet& sheet : boundSheets) names.push_back(sheet.name);
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    for (std::size_t i = 1; i < names.size(); ++i) {
      if (EqualsIgnoringCase(names[i - 1], names[i])) {
        return Fail(Damaged("two sheets are named \"" + names[i] + "\""));
      }
    }
    return true;
  }

  // The workbook globals: everything before the first sheet.
  bool ReadGlobals(std::vector<BoundSheet>& boundSheets) {
    BiffRecordReader reader(m_stream, 0);
    BiffRecord record;
    if (!reader.Next(record) || record.type != biff::kBof || !ReadVersion(record.data)) {
      return Fail(kNotAWorkbook);
    }
    while (reader.Next(record)) {
      if (record.type == biff::kEof) return true;
      if (!ReadGlobalRecord(record, reader, boundSheets)) return false;
    }
    return Fail(Damaged("the workbook's globals end early"));
  }

  bool ReadVersion(ByteView bof) {
    std::uint16_t version = 0;
    if (!bof.U16LE(0, version)) return false;
    m_biff8 = version == biff::kBiff8Version;
    return m_biff8 || version == biff::kBiff5Version;
  }

  bool ReadGlobalRecord(const BiffRecord& record, BiffRecordReader& reader,
                        std::vector<BoundSheet>& boundSheets) {
    switch (record.type) {
      case biff::kFilePass:
        return Fail("the workbook is password-protected");
      case biff::kCodePage:
        ReadCodePage(record.data);
        return true;
      case biff::kDateMode:
        ReadDateMode(record.data);
        return true;
      case biff::kFormat:
        return ReadFormat(record.data);
      case biff::kXf:
        return ReadXf(record.data);
      case biff::kSst:
        ReadSharedStringTable(reader.WithContinues(record.data));
        return true;
      case biff::kBoundSheet:
        return ReadBoundSheet(record.data, boundSheets);
      default:
        return true;
    }
  }

  void ReadCodePage(ByteView data) {
    std::uint16_t codePage = 1252;
    data.U16LE(0, codePage);
    m_decoder = std::make_unique<CodePageDecoder>(CodePageOfBiff(codePage));
  }

  void ReadDateMode(ByteView data) {
    std::uint16_t mode = 0;
    data.U16LE(0, mode);
    m_out.date1904 = mode == 1;
  }

  void ReadSharedStringTable(const std::vector<ByteView>& segments) {
    if (!m_biff8) return;
    m_out.strings = ReadSharedStrings(segments);
    m_sharedStrings = m_out.strings.size();
  }

  // A byte string in the workbook's code page (BIFF5); like every text of
  // the workbook it ends at a NUL character.
  bool ReadByteString(ByteView data, std::size_t offset, std::size_t count, std::string& out) {
    if (!data.Has(offset, count)) return false;
    std::string_view bytes = data.Chars(offset, count);
    Decoder().Decode(bytes.substr(0, bytes.find('\0')), out);
    return true;
  }

  // A string with a one- or two-byte character count at `offset`.
  bool ReadText(ByteView data, std::size_t offset, BiffTextReader::CountWidth width,
                std::string& out) {
    if (m_biff8) return BiffTextReader({data}, offset).ReadString(width, out);
    std::uint8_t shortCount = 0;
    std::uint16_t count = 0;
    if (width == BiffTextReader::CountWidth::OneByte) {
      if (!data.U8(offset, shortCount)) return false;
      return ReadByteString(data, offset + 1, shortCount, out);
    }
    return data.U16LE(offset, count) && ReadByteString(data, offset + 2, count, out);
  }

  bool ReadBoundSheet(ByteView data, std::vector<BoundSheet>& boundSheets) {
    BoundSheet sheet;
    std::uint8_t sheetType = 0;
    if (!data.U32LE(0, sheet.offset) || !data.U8(5, sheetType)) return CutShort();
    if (sheetType != kWorksheet) return true;  // charts and macro sheets hold no table
    if (!ReadText(data, 6, BiffTextReader::CountWidth::OneByte, sheet.name)) return CutShort();
    boundSheets.push_back(std::move(sheet));
    return true;
  }

  // A number format: its id, then its code (a one-byte length in BIFF5).
  bool ReadFormat(ByteView data) {
    const auto width =
        m_biff8 ? BiffTextReader::CountWidth::TwoBytes : BiffTextReader::CountWidth::OneByte;
    std::uint16_t id = 0;
    std::string code;
    if (!data.U16LE(0, id) || !ReadText(data, 2, width, code)) return CutShort();
    m_formats[id] = KindOfFormatCode(code);
    return true;
  }

  bool ReadXf(ByteView data) {
    std::uint16_t format = 0;
    if (!data.U16LE(2, format)) return CutShort();
    m_xfFormats.push_back(format);
    return true;
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
    if (kind == NumberFormatKind::Number || !ExcelSerialToCalendar(value, m_out.date1904, when)) {
      return;
    }
    cell.kind = kind == NumberFormatKind::Date   ? CellKind::Date
                : kind == NumberFormatKind::Time ? CellKind::Time
                                                 : CellKind::DateTime;
  }

  std::uint32_t AddString(std::string text) {
    m_out.strings.push_back(std::move(text));
    return static_cast<std::uint32_t>(m_out.strings.size() - 1);
  }

  // Sheets lie one after another. One that starts inside another, or takes
  // one in, is damage: its records would be read again for each.
  bool StartsInsideAnother(std::size_t start) const {
    auto after = m_sheetRanges.upper_bound(start);
    return after != m_sheetRanges.begin() && std::prev(after)->second > start;
  }
  bool ClaimSheetRange(std::size_t start, std::size_t end) {
    auto next = m_sheetRanges.lower_bound(start);
    if (next != m_sheetRanges.end() && next->first < end)
      return Fail(Damaged("two sheets overlap"));
    m_sheetRanges.emplace(start, end);
    return true;
  }

  bool ScanSheet(std::uint32_t offset, std::vector<BiffCell>& cells) {
    if (StartsInsideAnother(offset)) return Fail(Damaged("two sheets overlap"));
    BiffRecordReader reader(m_stream, offset);
    if (!ScanSheetRecords(reader, cells)) return false;
    return ClaimSheetRange(offset, reader.Position());
  }

  bool ScanSheetRecords(BiffRecordReader& reader, std::vector<BiffCell>& cells) {
    BiffRecord record;
    if (!reader.Next(record) || record.type != biff::kBof) {
      return Fail(Damaged("the sheet is not where the workbook says"));
    }
    int depth = 1;  // charts embedded in the sheet have records of their own
    m_pendingString = kNoPendingString;
    while (reader.Next(record)) {
      if (record.type == biff::kBof) {
        ++depth;
      } else if (record.type == biff::kEof) {
        if (--depth == 0) return true;
      } else if (depth == 1 && !ReadCellRecord(record, reader, cells)) {
        return false;
      }
    }
    return Fail(Damaged("the sheet ends early"));
  }

  bool ReadCellRecord(const BiffRecord& record, BiffRecordReader& reader,
                      std::vector<BiffCell>& cells) {
    switch (record.type) {
      case biff::kNumber:
      case biff::kRk:
        return ReadNumber(record, cells);
      case biff::kMulRk:
        return ReadMulRk(record.data, cells);
      case biff::kBoolErr:
        return ReadBoolErr(record.data, cells);
      case biff::kFormula:
        return ReadFormula(record.data, cells);
      case biff::kString:
        return ReadFormulaText(reader, record.data, cells);
      case biff::kLabel:
      case biff::kRString:
        return ReadLabel(record.data, cells);
      case biff::kLabelSst:
        return ReadLabelSst(record.data, cells);
      default:
        return true;
    }
  }

  // Row, column and cell format, the first six bytes of every cell record.
  bool ReadPlace(ByteView data, BiffCell& cell, std::uint16_t& xf) {
    std::uint16_t row = 0;
    if (!data.U16LE(0, row) || !data.U16LE(2, cell.column) || !data.U16LE(4, xf)) {
      return CutShort();
    }
    if (cell.column >= kColumnsPerSheet) return Fail(Damaged("a cell lies past the last column"));
    cell.row = row;
    return true;
  }

  bool ReadNumber(const BiffRecord& record, std::vector<BiffCell>& cells) {
    BiffCell cell;
    std::uint16_t xf = 0;
    if (!ReadPlace(record.data, cell, xf)) return false;
    double value = 0;
    std::uint32_t rk = 0;
    if (record.type == biff::kNumber ? !record.data.F64LE(6, value) : !record.data.U32LE(6, rk)) {
      return CutShort();
    }
    SetNumber(cell, record.type == biff::kRk ? DecodeRk(rk) : value, xf);
    cells.push_back(cell);
    return true;
  }

  // Pairs of cell format and RK value for neighbouring columns, then the
  // last column's number.
  bool ReadMulRk(ByteView data, std::vector<BiffCell>& cells) {
    constexpr std::size_t kFirstPair = 4, kPairSize = 6, kLastColumnSize = 2;
    std::uint16_t row = 0, first = 0;
    if (!data.U16LE(0, row) || !data.U16LE(2, first) ||
        data.Size() < kFirstPair + kPairSize + kLastColumnSize) {
      return CutShort();
    }
    const std::size_t count = (data.Size() - kFirstPair - kLastColumnSize) / kPairSize;
    if (first + count > kColumnsPerSheet) return Fail(Damaged("a cell lies past the last column"));
    for (std::size_t i = 0; i < count; ++i) {
      std::uint16_t xf = 0;
      std::uint32_t rk = 0;
      data.U16LE(kFirstPair + i * kPairSize, xf);
      data.U32LE(kFirstPair + i * kPairSize + 2, rk);
      BiffCell cell;
      cell.row = row;
      cell.column = static_cast<std::uint16_t>(first + i);
      SetNumber(cell, DecodeRk(rk), xf);
      cells.push_back(cell);
    }
    return true;
  }

  void SetBoolOrError(BiffCell& cell, bool isError, std::uint8_t value) {
    if (isError) {
      cell.kind = CellKind::Error;
      cell.text = AddString(ErrorText(value));
    } else {
      cell.kind = CellKind::Boolean;
      cell.boolean = value != 0;
    }
  }

  bool ReadBoolErr(ByteView data, std::vector<BiffCell>& cells) {
    BiffCell cell;
    std::uint16_t xf = 0;
    std::uint8_t value = 0, isError = 0;
    if (!ReadPlace(data, cell, xf)) return false;
    if (!data.U8(6, value) || !data.U8(7, isError)) return CutShort();
    SetBoolOrError(cell, isError != 0, value);
    cells.push_back(cell);
    return true;
  }

  // The result a formula last gave: a number, or (tag 0xFFFF) a text that
  // follows in a STRING record, a boolean, an error or nothing.
  bool ReadFormula(ByteView data, std::vector<BiffCell>& cells) {
    BiffCell cell;
    std::uint16_t xf = 0, tag = 0;
    std::uint8_t resultType = 0, resultValue = 0;
    double value = 0;
    if (!ReadPlace(data, cell, xf)) return false;
    if (!data.U16LE(12, tag) || !data.U8(6, resultType) || !data.U8(8, resultValue) ||
        !data.F64LE(6, value)) {
      return CutShort();
    }
    if (tag != 0xFFFF) {
      SetNumber(cell, value, xf);
    } else if (resultType == 0) {
      cell.kind = CellKind::Text;
      cell.text = AddString(std::string());
      m_pendingString = cells.size();
    } else if (resultType == 1 || resultType == 2) {
      SetBoolOrError(cell, resultType == 2, resultValue);
    }  // else a formula that shows nothing
    cells.push_back(cell);
    return true;
  }

  bool ReadFormulaText(BiffRecordReader& reader, ByteView data, std::vector<BiffCell>& cells) {
    if (m_pendingString >= cells.size()) return true;
    std::string& text = m_out.strings[cells[m_pendingString].text];
    m_pendingString = kNoPendingString;
    if (m_biff8) {
      BiffTextReader characters(reader.WithContinues(data));
      if (!characters.ReadString(BiffTextReader::CountWidth::TwoBytes, text)) return CutShort();
      return true;
    }
    if (!ReadText(data, 0, BiffTextReader::CountWidth::TwoBytes, text)) return CutShort();
    return true;
  }

  bool ReadLabel(ByteView data, std::vector<BiffCell>& cells) {
    BiffCell cell;
    std::uint16_t xf = 0;
    std::string text;
    if (!ReadPlace(data, cell, xf)) return false;
    if (!ReadText(data, 6, BiffTextReader::CountWidth::TwoBytes, text)) return CutShort();
    cell.kind = CellKind::Text;
    cell.text = AddString(std::move(text));
    cells.push_back(cell);
    return true;
  }

  bool ReadLabelSst(ByteView data, std::vector<BiffCell>& cells) {
    BiffCell cell;
    std::uint16_t xf = 0;
    std::uint32_t index = 0;
    if (!ReadPlace(data, cell, xf)) return false;
    if (!data.U32LE(6, index)) return CutShort();
    if (index >= m_sharedStrings) {
      return Fail(Damaged("a cell names a shared string the workbook does not hold"));
    }
    cell.kind = CellKind::Text;
    cell.text = index;
    cells.push_back(cell);
    return true;
  }

  static constexpr std::size_t kNoPendingString = static_cast<std::size_t>(-1);

  ByteView m_stream;
  BiffWorkbook& m_out;
  std::string m_why;
  bool m_biff8 = true;
  std::unique_ptr<CodePageDecoder> m_decoder;
  std::vector<std::uint16_t> m_xfFormats;
  std::unordered_map<std::uint16_t, NumberFormatKind> m_formats;
  std::size_t m_sharedStrings = 0;
  std::size_t m_pendingString = kNoPendingString;    // cell awaiting its STRING record
  std::map<std::size_t, std::size_t> m_sheetRanges;  // start -> end of each sheet read
};

}  // namespace

WorkbookCell BiffWorkbook::View(const BiffCell& cell) const {
  WorkbookCell out;
  out.kind = cell.kind;
  out.number = cell.number;
  out.boolean = cell.boolean;
  if (cell.kind == CellKind::Text || cell.kind == CellKind::Error) out.text = strings[cell.text];
  if (cell.kind == CellKind::Date || cell.kind == CellKind::Time ||
      cell.kind == CellKind::DateTime) {
    ExcelSerialToCalendar(cell.number, date1904, out.when);
    if (cell.kind == CellKind::Date) {
      out.when.hour = out.when.minute = out.when.second = out.when.millisecond = 0;
    }
  }
  return out;
}

bool ScanBiffWorkbook(ByteView stream, BiffWorkbook& out, std::string& why) {
  out = BiffWorkbook();
  return BiffScanner(stream, out).Scan(why);
}

}  // namespace tallowick
