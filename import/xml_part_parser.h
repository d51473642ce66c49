#pragma once
// Streams one XML part of a workbook package through expat, chunk by chunk,
// so a part is never held whole. Element and attribute names reach the
// handler as local names (the namespace dropped: "x:c" and "c" are both "c").
// A document type declaration is refused outright, which keeps entity
// expansion out of reach.
#include <cstddef>
#include <string>
#include <string_view>

namespace tallowick {

class XmlPartHandler {
 public:
  virtual ~XmlPartHandler() = default;
  // `attributes` alternates names and values and ends with a null pointer,
  // as expat gives them; look values up with AttributeOf.
  virtual void Start(std::string_view name, const char** attributes) = 0;
  virtual void End(std::string_view name) = 0;
  virtual void Text(std::string_view) {}

  // A handler that finds the content wrong sets this; the parse stops and
  // the text becomes the reason.
  std::string failure;
};

// The local name of an element or attribute name as the parser gives it.
std::string_view LocalName(const char* name);
// The value of the attribute whose local name is `name`, or null.
const char* AttributeOf(const char** attributes, std::string_view name);

class XmlPartParser {
 public:
  explicit XmlPartParser(XmlPartHandler& handler);
  ~XmlPartParser();
  XmlPartParser(const XmlPartParser&) = delete;
  XmlPartParser& operator=(const XmlPartParser&) = delete;

  // Feeds the next bytes of the part; `last` after the final ones. False
  // when the XML is malformed or the handler failed; `why` then says so.
  bool Feed(const char* bytes, std::size_t size, bool last, std::string& why);

  struct Parser;  // expat's parser and what its callbacks reach

 private:
  Parser* m_parser;
  XmlPartHandler& m_handler;
};

}  // namespace tallowick
