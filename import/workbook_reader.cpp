#include "import/workbook_reader.h"

#include <freexl.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "import/compound_file.h"
#include "import/temporary_database.h"

namespace tallowick {
namespace {

std::string DescribeFreeXlError(int code) {
  switch (code) {
    case FREEXL_FILE_NOT_FOUND: return "the file cannot be opened";
    case FREEXL_INSUFFICIENT_MEMORY: return "there is not enough memory to read it";
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
    case FREEXL_BIFF_INVALID_BOF:
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
      return "it is not an Excel 97-2003 workbook (.xls)";
    case FREEXL_UNSUPPORTED_CHARSET:
    case FREEXL_INVALID_CHARACTER:
      return "its text uses a character set that cannot be read";
    default: return "the workbook is damaged (FreeXL error " + std::to_string(code) + ")";
  }
}

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// An .xls file is an OLE2 compound file (Excel 97-2003, Excel 5/95) or,
// from Excel 2 to 4, a bare BIFF stream opening with a BOF record.
bool LooksLikeWorkbook(ByteView bytes) {
  if (IsCompoundFile(bytes)) return true;
  std::uint16_t type = 0;
  return bytes.U16LE(0, type) && (type == 0x0009 || type == 0x0209 || type == 0x0409 || type == 0x0809);
}

// Opens the workbook with FreeXL. When the scan found date formats, FreeXL
// reads a private copy in which they show plain numbers: it then need not
// work out each date itself (day by day from 1900, seconds for a sheet full
// of dates), and the scan has those cells as dates already. The copy is
// unlinked before FreeXL opens it (through /proc/self/fd), so that it is
// gone however the reading ends.
int OpenWithFreeXl(const std::string& path, std::vector<unsigned char>& bytes,
                   const std::vector<std::size_t>& dateFormatIndexOffsets, const void** handle) {
  if (!dateFormatIndexOffsets.empty()) {
    for (std::size_t offset : dateFormatIndexOffsets) {
      if (offset + 2 > bytes.size()) return freexl_open(path.c_str(), handle);
    }
    for (std::size_t offset : dateFormatIndexOffsets) bytes[offset] = bytes[offset + 1] = 0;  // "General"
    std::string copy = TemporaryDatabaseFolder() + "/tallowick-xls-XXXXXX.xls";
    int fd = mkstemps(copy.data(), 4);
    if (fd >= 0) {
      unlink(copy.c_str());
      bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
      int result = written ? freexl_open(("/proc/self/fd/" + std::to_string(fd)).c_str(), handle) : FREEXL_OK;
      close(fd);
      if (written) return result;
    }
  }
  return freexl_open(path.c_str(), handle);
}

bool FromFreeXl(const FreeXL_CellValue& value, WorkbookCell& out) {
  out = WorkbookCell();
  bool hasDate = false, hasTime = false;
  switch (value.type) {
    case FREEXL_CELL_NULL: return true;
    case FREEXL_CELL_INT:
      out.kind = CellKind::Number;
      out.number = value.value.int_value;
      return true;
    case FREEXL_CELL_DOUBLE:
      out.kind = CellKind::Number;
      out.number = value.value.double_value;
      return true;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
      out.kind = CellKind::Text;
      out.text = value.value.text_value != nullptr ? value.value.text_value : "";
      return true;
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
      if (value.value.text_value == nullptr ||
          !ParseDateTimeText(value.value.text_value, out.when, hasDate, hasTime)) {
        // A date FreeXL could not spell: keep what it gave as text.
        out.kind = CellKind::Text;
        out.text = value.value.text_value != nullptr ? value.value.text_value : "";
        return true;
      }
      out.kind = hasDate && hasTime ? CellKind::DateTime : hasDate ? CellKind::Date : CellKind::Time;
      return true;
    default: return false;
  }
}

}  // namespace

WorkbookReader::~WorkbookReader() {
  if (m_handle != nullptr) freexl_close(m_handle);
}

bool WorkbookReader::Open(const std::string& path, std::string& error) {
  m_path = path;
  auto fail = [&](const std::string& why) {
    error = "Cannot read the Excel file " + path + ": " + why + ".";
    if (m_handle != nullptr) freexl_close(m_handle);
    m_handle = nullptr;
    m_sheetNames.clear();
    return false;
  };
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(path, bytes)) return fail("the file cannot be opened");
  if (!LooksLikeWorkbook(ByteView(bytes.data(), bytes.size()))) {
    return fail("it is not an Excel 97-2003 workbook (.xls)");
  }
  BiffScan scan = ScanBiffCells(ByteView(bytes.data(), bytes.size()));
  m_scanned = std::move(scan.sheets);
  int result = OpenWithFreeXl(path, bytes, scan.dateFormatIndexOffsets, &m_handle);
  if (result != FREEXL_OK) {
    // FreeXL has already released what it built.
    m_handle = nullptr;
    return fail(DescribeFreeXlError(result));
  }
  unsigned int info = 0;
  if (freexl_get_info(m_handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED) {
    return fail("the workbook is password-protected");
  }
  unsigned int sheets = 0;
  if ((result = freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &sheets)) != FREEXL_OK) {
    return fail(DescribeFreeXlError(result));
  }
  for (unsigned int i = 0; i < sheets; ++i) {
    const char* name = nullptr;
    if ((result = freexl_get_worksheet_name(m_handle, static_cast<unsigned short>(i), &name)) != FREEXL_OK) {
      return fail(DescribeFreeXlError(result));
    }
    m_sheetNames.emplace_back(name != nullptr ? name : "");
  }
  return true;
}

bool WorkbookReader::SelectSheet(std::size_t index, std::string& error) {
  m_sheetIndex.clear();
  m_sheetCells = nullptr;
  m_rows = 0;
  m_columns = 0;
  int result = freexl_select_active_worksheet(m_handle, static_cast<unsigned short>(index));
  unsigned int rows = 0;
  unsigned short columns = 0;
  if (result == FREEXL_OK) result = freexl_worksheet_dimensions(m_handle, &rows, &columns);
  if (result != FREEXL_OK) {
    error = "Cannot read the Excel file " + m_path + ": sheet \"" + m_sheetNames[index] +
            "\" cannot be read: " + DescribeFreeXlError(result) + ".";
    return false;
  }
  m_rows = rows;
  m_columns = columns;
  for (const BiffSheetCells& sheet : m_scanned) {
    if (sheet.name != m_sheetNames[index]) continue;
    m_sheetCells = &sheet.cells;
    for (std::size_t i = 0; i < sheet.cells.size(); ++i) {
      m_sheetIndex[Key(sheet.cells[i].row, sheet.cells[i].column)] = i;
    }
    break;
  }
  return true;
}

bool WorkbookReader::Cell(std::uint32_t row, std::uint16_t column, WorkbookCell& out, std::string& error) const {
  if (!m_sheetIndex.empty()) {
    auto found = m_sheetIndex.find(Key(row, column));
    if (found != m_sheetIndex.end()) {
      out = (*m_sheetCells)[found->second].View();
      return true;
    }
  }
  FreeXL_CellValue value;
  int result = freexl_get_cell_value(m_handle, row, column, &value);
  if (result != FREEXL_OK || !FromFreeXl(value, out)) {
    error = "Cannot read the Excel file " + m_path + ": a cell cannot be read: " + DescribeFreeXlError(result) + ".";
    return false;
  }
  return true;
}

}  // namespace tallowick
