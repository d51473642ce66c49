#pragma once
// Serves the connection's Excel and dBase sources with the SQLite converters.
#include <string>
#include <vector>

#include "import/file_converter.h"
#include "import/source_import.h"

namespace tallowick {

class ImportFileConverter : public FileConverter {
 public:
  ConvertedDatabase Convert(ConvertedFile what, const std::string& source) override {
    ImportResult result = ConvertFileSource(what, source);
    if (!result.ok) return {"", result.error, {}};
    std::string path = result.database.Path();
    m_made.push_back(std::move(result.database));
    return {path, "", std::move(result.skipped)};
  }

 private:
  // The connection deletes each file when it disconnects; these owners only
  // make sure that none outlives the converter.
  std::vector<TemporaryDatabase> m_made;
};

}  // namespace tallowick
