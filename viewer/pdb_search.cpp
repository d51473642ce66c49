#include "viewer/pdb_search.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <vector>

#include "engine/pdb_file.h"
#include "platform/file_system.h"
#include "platform/path_text.h"
#include "viewer/pdb_contents.h"

namespace tallowick {

namespace {

bool EndsWithPdbExtension(const std::string& name) {
  static const std::string kExtension = ".pdb";
  if (name.size() <= kExtension.size()) return false;
  const std::size_t start = name.size() - kExtension.size();
  for (std::size_t i = 0; i < kExtension.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[start + i])) != kExtension[i]) return false;
  }
  return true;
}

}  // namespace

bool PdbFileMatchesHelper(const std::string& folder, const std::string& fileName,
                          const HelperInfo& helper) {
  // The path is folder + fileName as it is: it ends in ".pdb" in some case.
  if (!EndsWithPdbExtension(fileName) || !IsPlainFileName(fileName)) return false;
  PdbFile pdb(fileName, folder, ".pdb");
  PdbHeader header;
  std::vector<PdbRecordEntry> entries;
  std::uint16_t count = 0;
  return pdb.ReadRecordList(header, entries, count) &&
         PdbMatchesHelper(header.name, header.creator, header.type, helper);
}

std::vector<std::string> FindPdbsForHelper(const std::string& folder, const HelperInfo& helper) {
  std::vector<std::string> found;
  std::vector<std::string> names;
  platform::ListFolder(folder, names);
  for (const std::string& name : names) {
    if (!EndsWithPdbExtension(name)) continue;
    if (platform::KindOf(platform::JoinPath(folder, name)) != platform::PathKind::File) continue;
    if (PdbFileMatchesHelper(folder, name, helper)) found.push_back(name);
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace tallowick
