#pragma once
// Small dBase tables for tests, written with python3-dbf.
#include <string>

namespace tallowick::testing {

// Writes the dBase III table `path` with one text field `city` and the row
// "Oslo"; fails the current test when python3-dbf cannot write it.
void WriteOneTownTable(const std::string& path);

}  // namespace tallowick::testing
