#include "reader_code/c_identifier.h"

#include <algorithm>
#include <iterator>
#include <set>

namespace tallowick {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentifierByte(char c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_'; }

// C's keywords, the macros PalmOS.h and the C library define in lower case
// or as plain words, the Palm OS types the reader code names, and the
// macros of the reader's own header.
constexpr std::string_view kKeywords[] = {
    "auto",
    "break",
    "case",
    "char",
    "const",
    "continue",
    "default",
    "do",
    "double",
    "else",
    "enum",
    "extern",
    "float",
    "for",
    "goto",
    "if",
    "inline",
    "int",
    "long",
    "register",
    "restrict",
    "return",
    "short",
    "signed",
    "sizeof",
    "static",
    "struct",
    "switch",
    "typedef",
    "union",
    "unsigned",
    "void",
    "volatile",
    "while",
    "bool",
    "true",
    "false",
    "NULL",
    "Char",
    "WChar",
    "Boolean",
    "Int8",
    "Int16",
    "Int32",
    "UInt8",
    "UInt16",
    "UInt32",
    "Err",
    "errNone",
    "DateType",
    "TimeType",
    "DateTimeType",
    "MemPtr",
    "MemHandle",
    "LocalID",
    "DmOpenRef",
    "TALLOWICK_DESKTOP",
    "TALLOWICK_PALM_TYPES",
};

bool IsKeyword(std::string_view name) {
  return std::find(std::begin(kKeywords), std::end(kKeywords), name) != std::end(kKeywords);
}

// Every byte that cannot stand in an identifier made '_'; "field" for nothing.
std::string CleanedName(std::string_view name) {
  if (name.empty()) return "field";
  std::string cleaned(name);
  std::replace_if(
      cleaned.begin(), cleaned.end(), [](char c) { return !IsIdentifierByte(c); }, '_');
  return cleaned;
}

bool IsReservedToCompiler(const std::string& name) {
  return name.size() >= 2 && name[0] == '_' &&
         (name[1] == '_' || (name[1] >= 'A' && name[1] <= 'Z'));
}

std::string MemberBase(std::string_view columnName, std::string_view reservedPrefix) {
  std::string name = CleanedName(columnName);
  if (IsReservedToCompiler(name)) {
    name.insert(0, 1, 'x');
  } else if (IsAsciiDigit(name[0]) || IsKeyword(name) ||
             (!reservedPrefix.empty() &&
              name.compare(0, reservedPrefix.size(), reservedPrefix) == 0)) {
    name.insert(0, 1, '_');
  }
  return name;
}

}  // namespace

bool IsCIdentifier(std::string_view text) {
  return !text.empty() && !IsAsciiDigit(text[0]) &&
         std::all_of(text.begin(), text.end(), IsIdentifierByte);
}

std::vector<std::string> MemberNames(const std::vector<std::string>& columnNames,
                                     std::string_view reservedPrefix) {
  std::vector<std::string> members;
  members.reserve(columnNames.size());
  std::set<std::string> taken;
  for (const std::string& column : columnNames) {
    const std::string base = MemberBase(column, reservedPrefix);
    std::string name = base;
    for (unsigned n = 2; taken.count(name) > 0; ++n) name = base + "_" + std::to_string(n);
    taken.insert(name);
    members.push_back(std::move(name));
  }
  return members;
}

std::string DefaultReaderPrefix(std::string_view pdbName) {
  const std::string name = CleanedName(pdbName);
  return IsAsciiLetter(name[0]) ? name : "Pdb" + name;
}

}  // namespace tallowick
