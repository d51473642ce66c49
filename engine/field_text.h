#pragma once
// Text forms of record fields as the viewer shows them (shared by the GUI
// viewer page and the command line).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/field_kind.h"

namespace tallowick {

std::string FormatViewerDouble(double value);                  // "%f" below 1e8, else "%e"
std::string FormatViewerDateTime(const unsigned char* bytes);  // 14 bytes, "y/m/d h:m:s::0 AM"

// One field decoded from the record bytes at `data`, of which `available`
// remain: its text and the bytes it takes. Nullopt when the field needs more
// bytes than remain (a text without its NUL included). A kind outside 1..8
// gives empty text and takes no bytes.
struct DecodedField {
  std::string text;
  std::size_t size = 0;
};
std::optional<DecodedField> DecodeField(std::uint8_t kind, const unsigned char* data,
                                        std::size_t available);

// Decodes one record field by field with the Helper file's kinds. Decoding
// never reads past the record: fields that need more bytes than remain, and
// every field after them, show empty text. An unknown kind shows empty text
// and takes no bytes.
std::vector<std::string> DecodeRecordFields(const unsigned char* data, std::size_t length,
                                            const std::vector<std::uint8_t>& kinds);

}  // namespace tallowick
