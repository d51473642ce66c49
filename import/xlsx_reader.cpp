#include "import/xlsx_reader.h"

#include <unordered_map>

#include "import/xlsx_package.h"
#include "import/xlsx_parts.h"
#include "import/xlsx_sheet_reader.h"

namespace tallowick {
namespace {

constexpr const char* kDefaultWorkbookPart = "xl/workbook.xml";

// The workbook part the package's own relationships name.
bool FindWorkbookPart(XlsxPackage& package, std::string& part, std::string& why) {
  part = kDefaultWorkbookPart;
  if (!package.Has("_rels/.rels")) return true;
  RelationshipsHandler root;
  if (!package.Parse("_rels/.rels", root, why)) return false;
  for (const XlsxRelationship& relationship : root.relationships) {
    if (relationship.type == "officeDocument" && !relationship.external) {
      part = ResolveTarget("", relationship.target);
      break;
    }
  }
  return true;
}

class XlsxWorkbookReader {
 public:
  explicit XlsxWorkbookReader(BiffWorkbook& out) : m_out(out) {}

  bool Read(ByteView file, std::string& why) {
    std::string workbookPart;
    if (!m_package.Open(file, why) || !FindWorkbookPart(m_package, workbookPart, why)) {
      return false;
    }
    if (!m_package.Has(workbookPart)) {
      why = "it is not an Excel workbook (.xlsx): the archive holds no workbook part";
      return false;
    }
    WorkbookPartHandler workbook;
    if (!m_package.Parse(workbookPart, workbook, why)) return false;
    m_out.date1904 = workbook.date1904;
    std::unordered_map<std::string, XlsxRelationship> relationships;
    if (!ReadRelationships(workbookPart, relationships, why)) return false;
    if (!ReadStylesAndStrings(workbookPart, relationships, why)) return false;
    for (const XlsxSheetEntry& entry : workbook.sheets) {
      const auto found = relationships.find(entry.relationshipId);
      if (found == relationships.end()) {
        why = "the sheet \"" + entry.name + "\" has no part of its own";
        return false;
      }
      if (found->second.type != "worksheet") continue;  // a chart or dialog sheet
      if (!ReadSheet(entry.name, ResolveTarget(workbookPart, found->second.target), why)) {
        return false;
      }
    }
    return true;
  }

 private:
  bool ReadRelationships(const std::string& workbookPart,
                         std::unordered_map<std::string, XlsxRelationship>& out, std::string& why) {
    const std::string part = RelationshipsPartOf(workbookPart);
    if (!m_package.Has(part)) {
      why = "it is not an Excel workbook (.xlsx): the archive lacks the part " + part;
      return false;
    }
    RelationshipsHandler handler;
    if (!m_package.Parse(part, handler, why)) return false;
    for (XlsxRelationship& relationship : handler.relationships) {
      if (!relationship.external) out.emplace(relationship.id, std::move(relationship));
    }
    return true;
  }

  bool ReadStylesAndStrings(const std::string& workbookPart,
                            const std::unordered_map<std::string, XlsxRelationship>& relationships,
                            std::string& why) {
    for (const auto& [id, relationship] : relationships) {
      const std::string part = ResolveTarget(workbookPart, relationship.target);
      if (relationship.type == "styles" && m_package.Has(part)) {
        if (!m_package.Parse(part, m_styles, why)) return false;
      } else if (relationship.type == "sharedStrings" && m_package.Has(part)) {
        SharedStringsHandler strings(m_out.strings, m_budget);
        if (!m_package.Parse(part, strings, why)) return false;
      }
    }
    m_sharedStrings = m_out.strings.size();
    return true;
  }

  bool ReadSheet(const std::string& name, const std::string& part, std::string& why) {
    m_out.sheets.emplace_back();
    BiffSheet& sheet = m_out.sheets.back();
    sheet.name = name;
    XlsxSheetHandler handler(m_out, sheet, m_sharedStrings, m_styles, m_budget);
    if (!m_package.Parse(part, handler, why)) {
      why += " (worksheet \"" + name + "\")";
      return false;
    }
    handler.Finish();
    return true;
  }

  BiffWorkbook& m_out;
  XlsxPackage m_package;
  StylesHandler m_styles;
  XlsxMemoryBudget m_budget;
  std::size_t m_sharedStrings = 0;
};

}  // namespace

bool LooksLikeZip(ByteView file) {
  const std::string_view start = file.Chars(0, 4);
  return start == std::string_view("PK\x03\x04", 4) || start == std::string_view("PK\x05\x06", 4);
}

bool ReadXlsxBytes(ByteView file, BiffWorkbook& out, std::string& why) {
  out = BiffWorkbook();
  return XlsxWorkbookReader(out).Read(file, why);
}

}  // namespace tallowick
