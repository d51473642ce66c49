#pragma once
// C identifiers made from column names and PDB names, for the reader code.
#include <string>
#include <string_view>
#include <vector>

namespace tallowick {

// A letter or '_', then letters, digits and '_' (ASCII only).
bool IsCIdentifier(std::string_view text);

// The members of the record struct for these column names, in order, all
// different: every byte other than an ASCII letter, digit or '_' becomes
// '_' (an empty name becomes "field"); a name that then begins with "__" or
// '_' and a capital (names the compiler keeps for itself) gets a leading
// 'x'; else one that begins with a digit, is a C or Palm OS keyword, or
// begins with `reservedPrefix` (the reader's own names) gets a leading '_'.
// A name already taken gets "_2", "_3"... .
std::vector<std::string> MemberNames(const std::vector<std::string>& columnNames,
                                     std::string_view reservedPrefix);

// The prefix of the reader's names for a PDB name: its bytes made into an
// identifier as for members, with "Pdb" in front when it would not begin
// with a letter.
std::string DefaultReaderPrefix(std::string_view pdbName);

}  // namespace tallowick
