#pragma once
// Text in the code pages of handhelds, dBase tables and old workbooks, to
// and from UTF-8: iconv on Linux, the system's own tables on Windows. Code
// pages are named by their Windows numbers (1252, 932, 437, 10000…).
#include <string>
#include <string_view>

namespace tallowick::platform {

class CodePage {
 public:
  explicit CodePage(int number);
  ~CodePage();
  CodePage(const CodePage&) = delete;
  CodePage& operator=(const CodePage&) = delete;

  int Number() const { return m_number; }
  // False when the system cannot convert this code page.
  bool Known() const { return m_known; }
  // Whether a character may take two bytes (932, 936, 949, 950, 1361).
  bool DoubleByte() const;

  // Appends the bytes of one character, given as one whole UTF-8 sequence;
  // false (nothing appended) when the page has no exact form for it.
  bool Encode(std::string_view character, std::string& out);
  // Appends `bytes` as UTF-8. A byte the page does not define, or a cut-off
  // double-byte character, becomes U+FFFD, and decoding goes on after its
  // first byte.
  void Decode(std::string_view bytes, std::string& out);

 private:
  int m_number;
  bool m_known = false;
  void* m_encoder = nullptr;  // iconv_t on Linux
  void* m_decoder = nullptr;
};

}  // namespace tallowick::platform
