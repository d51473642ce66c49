#pragma once
// Serves the connection's Excel, dBase and CSV sources with the SQLite
// converters; CSV files are read as the options given say.
#include <string>
#include <vector>

#include "import/file_converter.h"
#include "import/source_import.h"

namespace tallowick {

class ImportFileConverter : public FileConverter {
 public:
  explicit ImportFileConverter(DelimitedTextOptions text = {}) : m_text(text) {}

  ConvertedDatabase Convert(ConvertedFile what, const std::string& source) override {
    ImportResult result = ConvertFileSource(what, source, m_text);
    if (!result.ok) return {"", result.error, {}};
    std::string path = result.database.Path();
    m_made.push_back(std::move(result.database));
    return {path, "", std::move(result.skipped)};
  }

 private:
  // The connection deletes each file when it disconnects; these owners only
  // make sure that none outlives the converter.
  std::vector<TemporaryDatabase> m_made;
  DelimitedTextOptions m_text;
};

}  // namespace tallowick
