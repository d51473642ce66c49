#pragma once
// The C reader of a record layout: a header with the record's struct, the
// database's constants and the unpacking function, and its source file.
// C89 with the Palm OS SDK's PalmOS.h; with TALLOWICK_DESKTOP defined, any
// C compiler, the header declaring the few Palm OS types it uses.
#include <string>

#include "reader_code/reader_layout.h"

namespace tallowick {

std::string ReaderHeaderFileName(const ReaderLayout& layout);  // NAMERecord.h
std::string ReaderSourceFileName(const ReaderLayout& layout);  // NAMERecord.c

std::string ReaderHeaderText(const ReaderLayout& layout);
std::string ReaderSourceText(const ReaderLayout& layout);

}  // namespace tallowick
