#include "import/source_import.h"

namespace tallowick {

ImportResult ConvertFileSource(ConvertedFile what, const std::string& sourcePath) {
  switch (what) {
    case ConvertedFile::Workbook:
      return ConvertWorkbook(sourcePath);
    case ConvertedFile::DbaseFolder:
      return ConvertDbfFolder(sourcePath);
  }
  ImportResult result;
  result.error = "Not a file that needs converting.";
  return result;
}

}  // namespace tallowick
