#include "import/workbook_reader.h"

#include <cstdint>
#include <iterator>
#include <vector>

#include "import/compound_file.h"
#include "import/xlsx_reader.h"
#include "platform/file_system.h"

namespace tallowick {
namespace {

constexpr const char* kNotAWorkbook = "it is not an Excel 97-2003 workbook (.xls)";

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& out) {
  const int fd = platform::OpenFile(path, platform::OpenMode::Read);
  if (fd < 0) return false;
  const std::int64_t size = platform::FileSize(fd);
  out.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
  const bool read = size >= 0 && platform::ReadAt(fd, out.data(), out.size(), 0);
  platform::CloseFile(fd);
  return read;
}

// .xlsx and .xlsm, in any letter case.
bool IsOpenXmlName(const std::string& path) {
  if (path.size() < 5) return false;
  std::string ending = path.substr(path.size() - 5);
  for (char& ch : ending) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
  return ending == ".xlsx" || ending == ".xlsm";
}

}  // namespace

namespace {

// The workbook stream of the compound file held in `file`.
bool ReadWorkbookStream(ByteView file, std::vector<unsigned char>& stream, std::string& why) {
  switch (ReadCompoundStream(file, {"Workbook", "Book"}, stream)) {
    case CompoundRead::Read:
      return true;
    case CompoundRead::NotCompound:
    case CompoundRead::NoSuchStream:
      why = kNotAWorkbook;
      return false;
    case CompoundRead::Damaged:
      break;
  }
  why = "the workbook is damaged (its compound file cannot be followed)";
  return false;
}

}  // namespace

bool ReadWorkbookBytes(ByteView file, BiffWorkbook& out, std::string& why) {
  if (LooksLikeZip(file)) return ReadXlsxBytes(file, out, why);
  std::vector<unsigned char> stream;
  return ReadWorkbookStream(file, stream, why) &&
         ScanBiffWorkbook(ByteView(stream.data(), stream.size()), out, why);
}

bool ReadWorkbookFile(const std::string& path, BiffWorkbook& out, std::string& error) {
  std::vector<unsigned char> stream;
  std::string why;
  {
    std::vector<unsigned char> bytes;  // released before the cells are read
    if (!ReadWholeFile(path, bytes)) {
      why = "the file cannot be opened";
    } else if (LooksLikeZip(ByteView(bytes.data(), bytes.size())) || IsOpenXmlName(path)) {
      // An .xlsx workbook's strings and cells are read while its archive is held.
      if (ReadXlsxBytes(ByteView(bytes.data(), bytes.size()), out, why)) return true;
      error = "Cannot read the Excel file " + path + ": " + why + ".";
      return false;
    } else {
      ReadWorkbookStream(ByteView(bytes.data(), bytes.size()), stream, why);
    }
  }
  if (why.empty() && ScanBiffWorkbook(ByteView(stream.data(), stream.size()), out, why)) {
    return true;
  }
  error = "Cannot read the Excel file " + path + ": " + why + ".";
  return false;
}

}  // namespace tallowick
