#pragma once
// Checking UTF-8, the encoding the drivers deliver text in.
#include <cstddef>
#include <string>
#include <string_view>

namespace tallowick {

// Length (1 to 4) of the valid UTF-8 sequence that starts at text[i], or 0
// when none does (a stray byte, a cut-off, overlong or surrogate sequence).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

bool IsValidUtf8(std::string_view text);

// The first `count` characters of `text`, never part of one. A byte that
// starts no valid sequence counts as one character.
std::string_view FirstCharacters(std::string_view text, std::size_t count);

// Appends the UTF-8 sequence of the code point `code` (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t code);

// `bytes` with every byte that starts no valid sequence replaced by U+FFFD.
std::string WithReplacementCharacters(std::string_view bytes);

}  // namespace tallowick
