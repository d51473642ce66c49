#pragma once
// Finding the PDB of a Helper file in a folder by what its header says,
// whatever the file's name: the name on disk may differ in case, or be
// spelled in another encoding than the handheld's.
#include <string>
#include <vector>

#include "engine/helper_file.h"

namespace tallowick {

// True when folder + fileName is a PDB whose header carries the Helper
// file's name, creator and type (PdbMatchesHelper).
bool PdbFileMatchesHelper(const std::string& folder, const std::string& fileName,
                          const HelperInfo& helper);

// The file names, in byte order, of the regular files of `folder` (empty:
// the working folder) that end in ".pdb" in any case and match the Helper
// file. Empty when none does or the folder cannot be read.
std::vector<std::string> FindPdbsForHelper(const std::string& folder, const HelperInfo& helper);

}  // namespace tallowick
