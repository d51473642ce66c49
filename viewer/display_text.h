#pragma once
// The texts a PDB carries in the handheld's encoding, made readable on the
// desktop (UTF-8).
#include <cstdint>
#include <optional>
#include <string>

#include "engine/handheld_charset.h"
#include "engine/helper_file.h"
#include "viewer/pdb_contents.h"

namespace tallowick {

// Decodes the Helper texts (name, creator, type, field names) and every
// String field; numbers and dates are left as they are. Without a set given,
// each text is taken as UTF-8 when it is valid UTF-8 with non-ASCII
// characters, else as Windows-1252.
void DecodeForDisplay(PdbContents& contents, std::optional<HandheldCharset> as);
void DecodeForDisplay(HelperInfo& helper, std::optional<HandheldCharset> as);

// One record field as shown: a String field decoded, any other kind (its
// text already made from numbers or dates) as it is.
std::string DisplayFieldText(const std::string& text, std::uint8_t kind,
                             std::optional<HandheldCharset> as);

}  // namespace tallowick
