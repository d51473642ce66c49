#pragma once
// The checks that a preview and a generation make before anything touches
// the database, with the messages the user sees.
#include <string>

#include "engine/generation_job.h"
#include "engine/handheld_charset.h"

namespace tallowick {

inline constexpr const char* kNotSelectMessage = "Only SELECT Query Suppoted";
inline constexpr const char* kInvalidPdbNameMessage = "Invalid PDB Name";
inline constexpr const char* kPdbNameTooLongMessage =
    "PDB Name must not be longer than 31 characters";
inline constexpr const char* kPdbNameSlashMessage = "PDB Name must not contain \"/\"";
inline constexpr const char* kEmptyCreatorMessage = "Please Enter valid creator ID for this PDB";
inline constexpr const char* kCreatorLengthMessage = "Creator ID must be of length four";
inline constexpr const char* kCreatorCharactersMessage =
    "Creator ID must be four printable ASCII characters (letters, digits, signs or blanks)";
inline constexpr const char* kEmptyTypeMessage = "Please Enter valid PDB Type";
inline constexpr const char* kTypeLengthMessage = "PDB Type must be of length four";
inline constexpr const char* kTypeCharactersMessage =
    "PDB Type must be four printable ASCII characters (letters, digits, signs or blanks)";
inline constexpr const char* kInvalidOutputPathMessage = "Invalid Ouput path";

inline constexpr std::size_t kMaxPdbNameLength = 31;

// A query passes when, after its leading blanks (code 32 only) are removed
// and it is upper-cased, it begins with SELECT.
bool IsSelectQuery(const std::string& query);

// "" when the name is acceptable, else the message: empty, longer than the
// 31 bytes the PDB header holds once the name is in the handheld's set, or
// holding '/' (the name also names the files).
std::string CheckPdbName(const std::string& name,
                         HandheldCharset charset = HandheldCharset::Western);
// Creator and type are four-byte codes: "" for exactly four printable ASCII
// characters, else the message (empty, then any other character, then the
// length).
std::string CheckCreator(const std::string& creator);
std::string CheckType(const std::string& type);

// True when the folder exists and can be entered; then `folder` has lost
// its trailing blanks and ends with '/'. The process's working folder is
// never changed.
bool CheckOutputFolder(std::string& folder);

struct GenerationInputs {
  std::string query;
  std::string pdbName;
  std::string creator;
  std::string type;
  std::string outputFolder;
  HandheldCharset charset = HandheldCharset::Western;
};

struct GenerationCheck {
  std::string message;       // the first fault found; empty when all passed
  std::string outputFolder;  // normalised when all passed
  bool Passed() const { return message.empty(); }
};

// The checks of Generate in their order: query, PDB name, creator, type,
// output folder. Only the first fault is reported.
GenerationCheck CheckGenerationInputs(const GenerationInputs& inputs);

// The run's request from inputs that passed their checks (the column count
// is set once the query is prepared).
GenerationRequest RequestFor(const GenerationInputs& inputs, const GenerationCheck& check);

}  // namespace tallowick
