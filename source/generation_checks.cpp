#include "source/generation_checks.h"

#include <algorithm>
#include <cctype>

#include "platform/file_system.h"
#include "platform/path_text.h"

namespace tallowick {

bool IsSelectQuery(const std::string& query) {
  const std::size_t start = query.find_first_not_of(' ');
  if (start == std::string::npos) return false;
  static constexpr char kSelect[] = "SELECT";
  for (std::size_t i = 0; i < 6; ++i) {
    const std::size_t at = start + i;
    if (at >= query.size()) return false;
    if (std::toupper(static_cast<unsigned char>(query[at])) != kSelect[i]) return false;
  }
  return true;
}

std::string CheckPdbName(const std::string& name, HandheldCharset charset) {
  if (name.empty()) return kInvalidPdbNameMessage;
  if (name.size() > kMaxPdbNameLength &&
      HandheldTextEncoder(charset).Convert(name).size() > kMaxPdbNameLength) {
    return kPdbNameTooLongMessage;
  }
  // A separator would put the files into another folder.
  if (std::any_of(name.begin(), name.end(), platform::IsPathSeparator)) {
    return kPdbNameSlashMessage;
  }
  return {};
}

namespace {

bool IsPrintableAscii(const std::string& text) {
  for (const char c : text) {
    if (c < ' ' || c > '~') return false;
  }
  return true;
}

std::string CheckCode(const std::string& code, const char* emptyMessage,
                      const char* charactersMessage, const char* lengthMessage) {
  if (code.empty()) return emptyMessage;
  if (!IsPrintableAscii(code)) return charactersMessage;
  if (code.size() != 4) return lengthMessage;
  return {};
}

}  // namespace

std::string CheckCreator(const std::string& creator) {
  return CheckCode(creator, kEmptyCreatorMessage, kCreatorCharactersMessage, kCreatorLengthMessage);
}

std::string CheckType(const std::string& type) {
  return CheckCode(type, kEmptyTypeMessage, kTypeCharactersMessage, kTypeLengthMessage);
}

bool CheckOutputFolder(std::string& folder) {
  std::string trimmed = folder;
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
  if (trimmed.empty()) return false;
  if (!platform::CanEnterFolder(trimmed)) return false;
  folder = platform::WithEndSeparator(trimmed);
  return true;
}

GenerationCheck CheckGenerationInputs(const GenerationInputs& inputs) {
  GenerationCheck check;
  if (!IsSelectQuery(inputs.query)) {
    check.message = kNotSelectMessage;
  } else if (std::string m = CheckPdbName(inputs.pdbName, inputs.charset); !m.empty()) {
    check.message = m;
  } else if (std::string m = CheckCreator(inputs.creator); !m.empty()) {
    check.message = m;
  } else if (std::string m = CheckType(inputs.type); !m.empty()) {
    check.message = m;
  } else {
    std::string folder = inputs.outputFolder;
    if (CheckOutputFolder(folder)) {
      check.outputFolder = folder;
    } else {
      check.message = kInvalidOutputPathMessage;
    }
  }
  return check;
}

GenerationRequest RequestFor(const GenerationInputs& inputs, const GenerationCheck& check) {
  GenerationRequest request;
  request.outputFolder = check.outputFolder;
  request.pdbName = inputs.pdbName;
  request.creator = inputs.creator;
  request.type = inputs.type;
  request.charset = inputs.charset;
  return request;
}

}  // namespace tallowick
