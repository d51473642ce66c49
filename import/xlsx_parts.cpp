#include "import/xlsx_parts.h"

#include <charconv>

#include "engine/utf8.h"

namespace tallowick {
namespace {

bool ParseUnsigned(const char* text, std::uint32_t& out) {
  if (text == nullptr) return false;
  const std::string_view view(text);
  const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), out);
  return error == std::errc() && end == view.data() + view.size();
}

bool IsTrue(const char* text) {
  return text != nullptr && (std::string_view(text) == "1" || std::string_view(text) == "true");
}

int HexValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

// The code unit of an _xHHHH_ escape at `pos`, or -1.
long EscapeAt(std::string_view text, std::size_t pos) {
  if (pos + 7 > text.size() || text[pos] != '_' || text[pos + 1] != 'x' || text[pos + 6] != '_') {
    return -1;
  }
  long value = 0;
  for (std::size_t i = pos + 2; i < pos + 6; ++i) {
    const int digit = HexValue(text[i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

}  // namespace

std::string RelationshipsPartOf(const std::string& part) {
  const std::size_t slash = part.rfind('/');
  if (slash == std::string::npos) return "_rels/" + part + ".rels";
  return part.substr(0, slash + 1) + "_rels/" + part.substr(slash + 1) + ".rels";
}

std::string ResolveTarget(const std::string& part, std::string_view target) {
  std::string whole;
  if (target.empty() || target.front() != '/') {
    const std::size_t slash = part.rfind('/');
    if (slash != std::string::npos) whole = part.substr(0, slash + 1);
  }
  whole += target;
  // Rebuilt from its segments, so that "." and ".." resolve.
  std::vector<std::string> segments;
  std::size_t start = 0;
  while (start <= whole.size()) {
    std::size_t end = whole.find('/', start);
    if (end == std::string::npos) end = whole.size();
    const std::string segment = whole.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string resolved;
  for (const std::string& segment : segments) {
    if (!resolved.empty()) resolved += '/';
    resolved += segment;
  }
  return resolved;
}

std::string UnescapeXlsxText(std::string_view text) {
  if (text.find("_x") == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const long unit = EscapeAt(text, pos);
    if (unit < 0) {
      out += text[pos++];
      continue;
    }
    pos += 7;
    char32_t code = static_cast<char32_t>(unit);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      const long low = EscapeAt(text, pos);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        code = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
               (static_cast<char32_t>(low) - 0xDC00);
        pos += 7;
      } else {
        code = 0xFFFD;
      }
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      code = 0xFFFD;
    }
    AppendUtf8(out, code);
  }
  return out;
}

void RelationshipsHandler::Start(std::string_view name, const char** attributes) {
  if (name != "Relationship") return;
  XlsxRelationship relationship;
  const char* id = AttributeOf(attributes, "Id");
  const char* type = AttributeOf(attributes, "Type");
  const char* target = AttributeOf(attributes, "Target");
  const char* mode = AttributeOf(attributes, "TargetMode");
  if (id == nullptr || type == nullptr || target == nullptr) return;
  relationship.id = id;
  const std::string_view typeText(type);
  relationship.type = std::string(typeText.substr(typeText.rfind('/') + 1));
  relationship.target = target;
  relationship.external = mode != nullptr && std::string_view(mode) == "External";
  relationships.push_back(std::move(relationship));
}

void WorkbookPartHandler::Start(std::string_view name, const char** attributes) {
  if (m_root) {
    m_root = false;
    isWorkbook = name == "workbook";
    if (!isWorkbook)
      failure = "it is not an Excel workbook (.xlsx): its workbook part holds no workbook";
    return;
  }
  if (name == "workbookPr") {
    date1904 = IsTrue(AttributeOf(attributes, "date1904"));
  } else if (name == "sheet") {
    const char* sheetName = AttributeOf(attributes, "name");
    const char* id = AttributeOf(attributes, "id");
    if (sheetName != nullptr && id != nullptr) sheets.push_back({sheetName, id});
  }
}

void StylesHandler::Start(std::string_view name, const char** attributes) {
  std::uint32_t id = 0;
  if (name == "numFmt") {
    const char* code = AttributeOf(attributes, "formatCode");
    if (ParseUnsigned(AttributeOf(attributes, "numFmtId"), id) && code != nullptr) {
      m_customFormats[id] = KindOfFormatCode(code);
    }
  } else if (name == "cellXfs") {
    m_inCellStyles = true;
  } else if (name == "xf" && m_inCellStyles) {
    if (!ParseUnsigned(AttributeOf(attributes, "numFmtId"), id)) id = 0;
    m_styleFormats.push_back(id);
  }
}

void StylesHandler::End(std::string_view name) {
  if (name == "cellXfs") m_inCellStyles = false;
}

NumberFormatKind StylesHandler::KindOfStyle(std::size_t index) const {
  if (index >= m_styleFormats.size()) return NumberFormatKind::Number;
  const std::uint32_t format = m_styleFormats[index];
  const auto custom = m_customFormats.find(format);
  if (custom != m_customFormats.end()) return custom->second;
  return format <= 0xFFFF ? KindOfBuiltInFormat(static_cast<std::uint16_t>(format))
                          : NumberFormatKind::Number;
}

void SharedStringsHandler::Start(std::string_view name, const char**) {
  if (name == "si") {
    m_inItem = true;
    m_item.clear();
  } else if (name == "rPh") {
    ++m_phonetic;
  } else if (name == "t" && m_inItem && m_phonetic == 0) {
    m_inText = true;
    m_run.clear();
  }
}

void SharedStringsHandler::End(std::string_view name) {
  if (name == "t" && m_inText) {
    m_inText = false;
    m_item += UnescapeXlsxText(m_run);
  } else if (name == "rPh") {
    --m_phonetic;
  } else if (name == "si" && m_inItem) {
    m_inItem = false;
    if (!m_budget.Take(sizeof(std::string) + m_item.size())) {
      failure = XlsxMemoryBudget::Refusal();
      return;
    }
    m_strings.push_back(m_item);
  }
}

void SharedStringsHandler::Text(std::string_view text) {
  if (m_inText) m_run.append(text);
}

}  // namespace tallowick
