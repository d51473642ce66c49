#include "viewer/display_text.h"

#include "engine/field_kind.h"

namespace tallowick {

void DecodeForDisplay(PdbContents& contents, std::optional<HandheldCharset> as) {
  contents.name = DecodeHandheldText(contents.name, as);
  contents.creator = DecodeHandheldText(contents.creator, as);
  contents.type = DecodeHandheldText(contents.type, as);
  for (auto& field : contents.fields) field.name = DecodeHandheldText(field.name, as);
  for (std::size_t f = 0; f < contents.fields.size(); ++f) {
    const std::uint8_t kind = contents.fields[f].kind;
    if (kind != static_cast<std::uint8_t>(FieldKind::String)) continue;
    for (auto& row : contents.rows) {
      if (f < row.size()) row[f] = DisplayFieldText(row[f], kind, as);
    }
  }
}

void DecodeForDisplay(HelperInfo& helper, std::optional<HandheldCharset> as) {
  helper.pdbName = DecodeHandheldText(helper.pdbName, as);
  helper.creator = DecodeHandheldText(helper.creator, as);
  helper.type = DecodeHandheldText(helper.type, as);
  for (auto& field : helper.fields) field.name = DecodeHandheldText(field.name, as);
}

std::string DisplayFieldText(const std::string& text, std::uint8_t kind,
                             std::optional<HandheldCharset> as) {
  if (kind != static_cast<std::uint8_t>(FieldKind::String)) return text;
  return DecodeHandheldText(text, as);
}

}  // namespace tallowick
