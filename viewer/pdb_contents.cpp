#include "viewer/pdb_contents.h"

#include "engine/field_text.h"
#include "engine/pdb_file.h"
#include "platform/path_text.h"

namespace tallowick {

std::string DatabaseNameOf(const std::string& fileName) {
  static const std::string kExtension = ".pdb";
  if (fileName.size() >= kExtension.size() &&
      fileName.compare(fileName.size() - kExtension.size(), kExtension.size(), kExtension) == 0) {
    return fileName.substr(0, fileName.size() - kExtension.size());
  }
  return fileName;
}

void SplitPath(const std::string& path, std::string& folder, std::string& fileName) {
  const auto slash = platform::LastPathSeparator(path);
  if (slash == std::string::npos) {
    folder.clear();
    fileName = path;
    return;
  }
  folder = path.substr(0, slash + 1);
  fileName = path.substr(slash + 1);
}

bool IsPlainFileName(const std::string& name) {
  return name != "." && name != ".." &&
         name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

bool PdbMatchesHelper(const std::string& headerName, const std::string& headerCreator,
                      const std::string& headerType, const HelperInfo& helper) {
  return headerName == helper.pdbName &&
         headerCreator.substr(0, 4) == helper.creator.substr(0, 4) &&
         headerType.substr(0, 4) == helper.type.substr(0, 4);
}

PdbMatch LoadPdbContents(const HelperInfo& helper, const std::string& helperPath,
                         const std::string& name, const std::string& folder, PdbContents& out,
                         const std::function<void()>& matched) {
  PdbFile pdb(name, folder, ".pdb");
  PdbHeader header;
  std::vector<PdbRecordEntry> entries;
  std::uint16_t count = 0;
  if (!pdb.ReadRecordList(header, entries, count)) return PdbMatch::Incompatible;
  if (!PdbMatchesHelper(header.name, header.creator, header.type, helper)) {
    return PdbMatch::Incompatible;
  }
  if (matched) matched();

  // The Helper file is read again: it may have changed since it was selected.
  const auto fresh = ReadHelperFile(helperPath);
  if (!fresh) return PdbMatch::DecodingFailed;

  out = PdbContents{};
  out.name = fresh->pdbName;
  out.creator = fresh->creator;
  out.type = fresh->type;
  out.fields = fresh->fields;
  out.recordCount = count;

  std::vector<std::uint8_t> kinds;
  kinds.reserve(out.fields.size());
  for (const auto& field : out.fields) kinds.push_back(field.kind);

  out.rows.reserve(count);
  for (std::size_t index = 0; index < count; ++index) {
    const auto record = pdb.ReadRecord(entries, index, count);
    if (!record) {
      out.rows.clear();
      return PdbMatch::DecodingFailed;
    }
    // The reader adds one spare 0 byte after the record's bytes.
    const std::size_t length = record->empty() ? 0 : record->size() - 1;
    out.rows.push_back(DecodeRecordFields(record->data(), length, kinds));
  }
  return PdbMatch::Decoded;
}

}  // namespace tallowick
