#include "import/xml_part_parser.h"

#include <expat.h>

#include <climits>
#include <cstring>

namespace tallowick {
namespace {

// Separates the namespace from the local name in the names expat reports.
constexpr char kNamespaceSeparator = '\x01';

}  // namespace

struct XmlPartParser::Parser {
  XML_Parser parser = nullptr;
  XmlPartHandler* handler = nullptr;
  bool refusedDoctype = false;
};

std::string_view LocalName(const char* name) {
  const char* local = std::strrchr(name, kNamespaceSeparator);
  return local != nullptr ? std::string_view(local + 1) : std::string_view(name);
}

const char* AttributeOf(const char** attributes, std::string_view name) {
  for (const char** attribute = attributes; attribute[0] != nullptr; attribute += 2) {
    if (LocalName(attribute[0]) == name) return attribute[1];
  }
  return nullptr;
}

namespace {

using Context = XmlPartParser::Parser;

void StopWhenFailed(Context& context) {
  if (!context.handler->failure.empty()) XML_StopParser(context.parser, XML_FALSE);
}

void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto& context = *static_cast<Context*>(data);
  context.handler->Start(LocalName(name), attributes);
  StopWhenFailed(context);
}

void OnEnd(void* data, const XML_Char* name) {
  auto& context = *static_cast<Context*>(data);
  context.handler->End(LocalName(name));
  StopWhenFailed(context);
}

void OnText(void* data, const XML_Char* text, int length) {
  auto& context = *static_cast<Context*>(data);
  context.handler->Text(std::string_view(text, static_cast<std::size_t>(length)));
  StopWhenFailed(context);
}

void OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
  auto& context = *static_cast<Context*>(data);
  context.refusedDoctype = true;
  XML_StopParser(context.parser, XML_FALSE);
}

}  // namespace

XmlPartParser::XmlPartParser(XmlPartHandler& handler) : m_parser(new Parser), m_handler(handler) {
  m_parser->parser = XML_ParserCreateNS(nullptr, kNamespaceSeparator);
  m_parser->handler = &handler;
  if (m_parser->parser == nullptr) return;
  XML_SetUserData(m_parser->parser, m_parser);
  XML_SetElementHandler(m_parser->parser, OnStart, OnEnd);
  XML_SetCharacterDataHandler(m_parser->parser, OnText);
  XML_SetStartDoctypeDeclHandler(m_parser->parser, OnDoctype);
}

XmlPartParser::~XmlPartParser() {
  if (m_parser->parser != nullptr) XML_ParserFree(m_parser->parser);
  delete m_parser;
}

bool XmlPartParser::Feed(const char* bytes, std::size_t size, bool last, std::string& why) {
  XML_Parser parser = m_parser->parser;
  if (parser == nullptr) {
    why = "out of memory";
    return false;
  }
  // expat takes an int length: hand over large buffers in pieces.
  do {
    const std::size_t piece = size > INT_MAX / 2 ? INT_MAX / 2 : size;
    const bool final = last && piece == size;
    if (XML_Parse(parser, bytes, static_cast<int>(piece), final ? XML_TRUE : XML_FALSE) !=
        XML_STATUS_OK) {
      if (!m_handler.failure.empty()) {
        why = m_handler.failure;
      } else if (m_parser->refusedDoctype) {
        why = "it holds a document type declaration, which no workbook has";
      } else {
        why = "its XML is malformed at line " + std::to_string(XML_GetCurrentLineNumber(parser)) +
              " (" + XML_ErrorString(XML_GetErrorCode(parser)) + ")";
      }
      return false;
    }
    bytes += piece;
    size -= piece;
  } while (size > 0);
  return true;
}

}  // namespace tallowick
