#pragma once
// Small file helpers shared by the engine tests.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace tallowick::testing {

using Bytes = std::vector<unsigned char>;

// "C6 EF 00" -> {0xC6, 0xEF, 0x00}
Bytes Hex(const std::string& text);
std::string ToHex(const Bytes& bytes);

Bytes ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);
bool FileExists(const std::string& path);

}  // namespace tallowick::testing
