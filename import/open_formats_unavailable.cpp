// For a build without libcsv, libzip and expat (a Windows toolchain that
// lacks them): CSV files and .xlsx workbooks are refused with a message
// that names what reads them instead.
#include "import/source_import.h"
#include "import/xlsx_reader.h"

namespace tallowick {

bool LooksLikeZip(ByteView file) {
  const std::string_view start = file.Chars(0, 4);
  return start == std::string_view("PK\x03\x04", 4) || start == std::string_view("PK\x05\x06", 4);
}

bool ReadXlsxBytes(ByteView, BiffWorkbook& out, std::string& why) {
  out = BiffWorkbook();
  why =
      "this build reads .xlsx workbooks only through the Microsoft Excel driver; install the "
      "Microsoft Access Database Engine, which brings it";
  return false;
}

ImportResult ConvertDelimitedText(const std::string& path, const DelimitedTextOptions&) {
  ImportResult result;
  result.error = "Cannot read the CSV file " + path +
                 ": this build reads CSV files only through the Microsoft Text Driver; install "
                 "the Microsoft Access Database Engine, which brings it.";
  return result;
}

}  // namespace tallowick
