#pragma once
// How a delimited text file (.csv, .tsv, .txt) is read: its delimiter and
// its encoding, each found from the file unless chosen.
#include <string>
#include <string_view>

namespace tallowick {

struct DelimitedTextOptions {
  // ',', ';' or '\t' (or any other single byte); 0: the one of ',', ';' and
  // tab that the header line holds most of.
  char delimiter = 0;
  // A Windows code page (65001 for UTF-8); 0: UTF-8 when the whole file is
  // valid UTF-8, Windows-1252 otherwise.
  int codePage = 0;
};

// The delimiter a user names: one character, or "tab", "comma",
// "semicolon" (any case), or "\t". False when it is none of these or a
// character that cannot delimit (a quote, a line break).
bool ParseDelimiterName(std::string_view name, char& delimiter);

// The encoding a user names: "utf-8"/"utf8", "windows-1252"/"cp1252"/"1252"
// and the like for any code page the system knows, or "auto" (0). False
// for a name that is none of these.
bool ParseEncodingName(std::string_view name, int& codePage);

}  // namespace tallowick
