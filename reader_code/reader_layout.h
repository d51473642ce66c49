#pragma once
// The record layout a reader is written for, as a Helper file describes it.
#include <optional>
#include <string>
#include <vector>

#include "engine/field_kind.h"
#include "engine/helper_file.h"

namespace tallowick {

struct ReaderField {
  FieldKind kind = FieldKind::String;
  std::string columnName;  // as the Helper file holds it (the handheld's encoding)
  std::string member;      // the struct member's identifier
};

struct ReaderLayout {
  std::string pdbName;  // the PDB's database name, as stored
  std::string creator;  // four characters
  std::string type;     // four characters
  std::string prefix;   // the names begin with prefix + "Record"
  std::vector<ReaderField> fields;

  std::string TypeName() const { return prefix + "Record"; }
};

// The layout of a Helper file, its names beginning with `prefix` (an
// identifier; empty: DefaultReaderPrefix of the PDB name). Nullopt, and
// `error` says why, when the file names no fields or its creator or type is
// not four characters.
std::optional<ReaderLayout> ReaderLayoutOf(const HelperInfo& helper, const std::string& prefix,
                                           std::string& error);

}  // namespace tallowick
