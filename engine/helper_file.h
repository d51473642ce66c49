#pragma once
// The Helper file: a PDB of 66-byte records naming a PDB, its creator and
// type, and the kind and name of every field of its records.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/handheld_charset.h"

namespace tallowick {

inline constexpr std::size_t kHelperRecordSize = 66;
inline constexpr std::size_t kMaxHelperColumnName = 64;
inline constexpr const char* kHelperExtension = ".mhl";
inline constexpr const char* kHelperCreatorType = "HWRP";

struct HelperField {
  std::uint8_t kind = 0;  // FieldKind code; ReadHelperFile refuses files with others
  std::string name;
};

struct HelperInfo {
  std::string headerName;           // database name in the Helper file's own header
  std::string pdbName;              // record 0
  std::string creator;              // record 1
  std::string type;                 // record 2
  std::vector<HelperField> fields;  // records 3...
};

// PDB name (its first 23 characters, never part of one) + "Helper": the
// Helper file's name, in UTF-8 as the PDB name.
std::string HelperName(const std::string& pdbName);

// The Helper file's database name as the handheld reads it: HelperName in
// the handheld's set, the name's characters as many whole ones as leave
// "Helper" room in the header's 31 bytes.
std::string HandheldHelperName(const std::string& pdbName, HandheldCharset charset);

// 66-byte blocks: three head records, then one per field. Names longer than
// 64 bytes are cut to 64.
std::vector<std::vector<unsigned char>> BuildHelperRecords(const std::string& pdbName,
                                                           const std::string& creator,
                                                           const std::string& type,
                                                           const std::vector<HelperField>& fields);

// Writes folder + HelperName(pdbName) + ".mhl"; false when it could not be
// written. The PDB name and the field names, given in UTF-8, are stored in
// `charset`, each name as the longest run of whole characters that fits its
// record.
bool WriteHelperFile(const std::string& folder, const std::string& pdbName,
                     const std::string& creator, const std::string& type,
                     const std::vector<HelperField>& fields,
                     HandheldCharset charset = HandheldCharset::Utf8);

// The same, with the PDB name as the handheld reads it in record 0 and the
// header given as bytes, and the field names stored as given; the file is
// named after `pdbName`.
bool WriteHelperFile(const std::string& folder, const std::string& pdbName,
                     const std::string& handheldPdbName, const std::string& creator,
                     const std::string& type, const std::vector<HelperField>& fields);

class TemporaryOutputFile;
// The same, written whole into `out`, a new temporary file in `folder`, and
// not yet put in place: the caller renames it to HelperFilePath().
bool WriteHelperFile(TemporaryOutputFile& out, const std::string& folder,
                     const std::string& pdbName, const std::string& creator,
                     const std::string& type, const std::vector<HelperField>& fields,
                     HandheldCharset charset);
// folder + HelperName(pdbName) + ".mhl"
std::string HelperFilePath(const std::string& folder, const std::string& pdbName);

// The text of a record from byte 1 up to its NUL (or the record's end).
std::string HelperRecordText(const std::vector<unsigned char>& record);

// Reads and checks a Helper file chosen by its full path: readable as a PDB,
// header name ending in "Helper" (any case), creator and type "HWRP", at
// least three readable records, every field of a kind from 1 to 8.
std::optional<HelperInfo> ReadHelperFile(const std::string& path);
// The same checks on the header and records 0 to 2 only (the name, creator
// and type); `fields` stays empty and the field records are not read.
std::optional<HelperInfo> ReadHelperHead(const std::string& path);

}  // namespace tallowick
