#include "import/source_import.h"

namespace tallowick {

ImportResult ConvertFileSource(ConvertedFile what, const std::string& sourcePath,
                               const DelimitedTextOptions& text) {
  switch (what) {
    case ConvertedFile::Workbook:
      return ConvertWorkbook(sourcePath);
    case ConvertedFile::DbaseFolder:
      return ConvertDbfFolder(sourcePath);
    case ConvertedFile::DelimitedText:
      return ConvertDelimitedText(sourcePath, text);
  }
  ImportResult result;
  result.error = "Not a file that needs converting.";
  return result;
}

}  // namespace tallowick
