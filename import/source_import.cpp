#include "import/source_import.h"

namespace tallowick {

ImportResult ConvertFileSource(int sourceKind, const std::string& sourcePath) {
  if (sourceKind == 2) return ConvertWorkbook(sourcePath);
  if (sourceKind == 3) return ConvertDbfFolder(sourcePath);
  ImportResult result;
  result.error = "Source kind " + std::to_string(sourceKind) + " is not a file that needs converting.";
  return result;
}

}  // namespace tallowick
