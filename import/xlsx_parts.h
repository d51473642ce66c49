#pragma once
// The parts of an .xlsx workbook around its worksheets: the relationships
// that lead from one part to another, the workbook's list of sheets and its
// date system, the number formats of the cell styles, and the shared
// strings. Each is read by a handler of its own through XlsxPackage.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "import/excel_number_format.h"
#include "import/xml_part_parser.h"

namespace tallowick {

// What a workbook may take of memory for its cells and strings together,
// counted as they are read; past it the import is refused.
class XlsxMemoryBudget {
 public:
  static constexpr std::size_t kLimit = std::size_t{1} << 30;
  // False once more than kLimit has been taken.
  bool Take(std::size_t bytes) {
    m_used += bytes;
    return m_used <= kLimit;
  }
  static std::string Refusal() {
    return "it needs more than " + std::to_string(kLimit >> 20) +
           " MiB of memory to import, more than a workbook may take";
  }

 private:
  std::size_t m_used = 0;
};

// The relationships part of `part` ("xl/workbook.xml" ->
// "xl/_rels/workbook.xml.rels").
std::string RelationshipsPartOf(const std::string& part);
// A relationship's target taken from the folder of `part`, as a part name
// without the leading '/' ("worksheets/sheet1.xml" from "xl/workbook.xml"
// -> "xl/worksheets/sheet1.xml"; "/xl/x.xml" -> "xl/x.xml").
std::string ResolveTarget(const std::string& part, std::string_view target);

// Text as the package stores it with its _xHHHH_ escapes (Excel writes a
// carriage return as _x000D_) turned back into characters.
std::string UnescapeXlsxText(std::string_view text);

struct XlsxRelationship {
  std::string id;
  std::string type;  // the last segment of the type URI: "worksheet", "styles", ...
  std::string target;
  bool external = false;
};

class RelationshipsHandler : public XmlPartHandler {
 public:
  void Start(std::string_view name, const char** attributes) override;
  void End(std::string_view) override {}
  std::vector<XlsxRelationship> relationships;
};

struct XlsxSheetEntry {
  std::string name;
  std::string relationshipId;
};

// xl/workbook.xml: the sheets in their order (hidden ones too) and the date
// system; `isWorkbook` once its root element is a workbook.
class WorkbookPartHandler : public XmlPartHandler {
 public:
  void Start(std::string_view name, const char** attributes) override;
  void End(std::string_view) override {}
  std::vector<XlsxSheetEntry> sheets;
  bool date1904 = false;
  bool isWorkbook = false;

 private:
  bool m_root = true;
};

// xl/styles.xml: the kind of number format of each cell style (cellXfs).
class StylesHandler : public XmlPartHandler {
 public:
  void Start(std::string_view name, const char** attributes) override;
  void End(std::string_view name) override;
  // The kind of the number format of style `index` (Number when unknown).
  NumberFormatKind KindOfStyle(std::size_t index) const;

 private:
  std::unordered_map<std::uint32_t, NumberFormatKind> m_customFormats;
  std::vector<std::uint32_t> m_styleFormats;
  bool m_inCellStyles = false;
};

// xl/sharedStrings.xml: each string item's text (runs joined, phonetic
// guides left out), appended to `strings`.
class SharedStringsHandler : public XmlPartHandler {
 public:
  SharedStringsHandler(std::vector<std::string>& strings, XlsxMemoryBudget& budget)
      : m_strings(strings), m_budget(budget) {}
  void Start(std::string_view name, const char** attributes) override;
  void End(std::string_view name) override;
  void Text(std::string_view text) override;

 private:
  std::vector<std::string>& m_strings;
  XlsxMemoryBudget& m_budget;
  std::string m_item;
  std::string m_run;
  bool m_inItem = false;
  bool m_inText = false;
  int m_phonetic = 0;  // depth inside <rPh>
};

}  // namespace tallowick
