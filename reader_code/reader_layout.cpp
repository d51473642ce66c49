#include "reader_code/reader_layout.h"

#include "reader_code/c_identifier.h"

namespace tallowick {

std::optional<ReaderLayout> ReaderLayoutOf(const HelperInfo& helper, const std::string& prefix,
                                           std::string& error) {
  if (helper.fields.empty()) {
    error = "the Helper file describes no fields: there is nothing to read";
    return std::nullopt;
  }
  if (helper.creator.size() != 4 || helper.type.size() != 4) {
    error = "the Helper file's creator and type are not four characters each";
    return std::nullopt;
  }
  ReaderLayout layout;
  layout.pdbName = helper.pdbName;
  layout.creator = helper.creator;
  layout.type = helper.type;
  layout.prefix = prefix.empty() ? DefaultReaderPrefix(helper.pdbName) : prefix;
  std::vector<std::string> columnNames;
  columnNames.reserve(helper.fields.size());
  for (const HelperField& field : helper.fields) columnNames.push_back(field.name);
  const std::vector<std::string> members = MemberNames(columnNames, layout.TypeName());
  for (std::size_t i = 0; i < helper.fields.size(); ++i) {
    layout.fields.push_back(
        {static_cast<FieldKind>(helper.fields[i].kind), helper.fields[i].name, members[i]});
  }
  return layout;
}

}  // namespace tallowick
