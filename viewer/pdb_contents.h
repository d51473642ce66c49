#pragma once
// What the viewer shows of a PDB: checked against its Helper file and
// decoded field by field. Shared by the viewer page and the command line.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/helper_file.h"

namespace tallowick {

inline constexpr const char* kSelectHelperFirstMessage =
    "Please Select Valid Tallowick Helper file first";
inline constexpr const char* kInvalidHelperMessage =
    "Invalid Tallowick Helper file, Please Reselect";
inline constexpr const char* kIncompatibleMessage =
    "Incompatible \"Helper file\" - \"Original PDB\", Please Reselect";
inline constexpr const char* kUnableToViewMessage =
    "Unable To View PDB contents, Please select valid pdb(s)";

// The chosen file's name without a final ".pdb" (exact case); other names whole.
std::string DatabaseNameOf(const std::string& fileName);

// Splits a full path into its folder (ending with '/', or empty) and file name.
void SplitPath(const std::string& path, std::string& folder, std::string& fileName);

// True when `name` stays inside whatever folder it is joined to: no '/', no
// NUL, not "." or "..". The PDB a Helper file names is looked for in the
// Helper file's folder only.
bool IsPlainFileName(const std::string& name);

// What LoadPdbContents found.
enum class PdbMatch {
  Decoded,         // the PDB is the Helper file's; every record was decoded
  Incompatible,    // no PDB there, unreadable, or name/creator/type differ from the Helper file
  DecodingFailed,  // it matched, but the Helper file or a record could not be read while decoding
};

struct PdbContents {
  std::string name;     // Helper record 0
  std::string creator;  // Helper record 1
  std::string type;     // Helper record 2
  std::vector<HelperField> fields;
  std::uint16_t recordCount = 0;
  std::vector<std::vector<std::string>> rows;  // one per record, one text per field
};

// Does the PDB header carry the Helper file's name, creator and type?
bool PdbMatchesHelper(const std::string& headerName, const std::string& headerCreator,
                      const std::string& headerType, const HelperInfo& helper);

// Reads the database `name` in `folder` (PdbFile path rule, extension
// ".pdb"), checks it against `helper`, then reads the Helper file again from
// `helperPath` and decodes every record with its kinds. `matched`, when
// given, is called once the database is found to match, before the long
// part (the viewer page shows its wait window there).
PdbMatch LoadPdbContents(const HelperInfo& helper, const std::string& helperPath,
                         const std::string& name, const std::string& folder, PdbContents& out,
                         const std::function<void()>& matched = {});

}  // namespace tallowick
