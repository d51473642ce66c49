#include "import/workbook_reader.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "import/compound_file.h"

namespace tallowick {
namespace {

constexpr const char* kNotAWorkbook = "it is not an Excel 97-2003 workbook (.xls)";

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
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
