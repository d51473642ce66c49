#pragma once
// Decodes the 8-bit or double-byte text of a dBase table or an Excel 95
// workbook to UTF-8. Single-byte code pages decode through a 256-entry
// table built once, so a million-row table costs a table look-up per byte;
// double-byte ones go through the system's conversion. Bytes a code page does not
// define become U+FFFD: a value is never dropped for one bad byte.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tallowick {

namespace platform {
class CodePage;
}

class CodePageDecoder {
 public:
  // `codePage` is a Windows or DOS code page number (437, 850, 1251, 1252,
  // 932, ...), 65001 for UTF-8, or kUnknownCodePage: the text is then taken
  // as UTF-8 when it is valid UTF-8 and as Windows-1252 otherwise.
  static constexpr int kUnknownCodePage = 0;
  explicit CodePageDecoder(int codePage);
  ~CodePageDecoder();
  CodePageDecoder(const CodePageDecoder&) = delete;
  CodePageDecoder& operator=(const CodePageDecoder&) = delete;

  int CodePage() const { return m_codePage; }
  // False when the system knows no such code page; the decoder then falls back
  // as for kUnknownCodePage.
  bool Supported() const { return m_supported; }

  // Replaces `out` with the UTF-8 form of `bytes`.
  void Decode(std::string_view bytes, std::string& out);
  std::string Decode(std::string_view bytes) {
    std::string out;
    Decode(bytes, out);
    return out;
  }

 private:
  enum class Mode { Table, Pages, Utf8, Fallback };
  void DecodeWithTable(std::string_view bytes, std::string& out) const;
  void BuildTable(platform::CodePage& page);

  int m_codePage;
  bool m_supported = false;
  Mode m_mode = Mode::Fallback;
  std::unique_ptr<platform::CodePage> m_page;  // double-byte pages
  // UTF-8 form of each byte: length in [0], up to 3 bytes after it.
  std::array<std::array<char, 4>, 256> m_table{};
};

// The code page a dBase language driver id (header byte 29) stands for;
// kUnknownCodePage for 0 and for ids without one.
int CodePageOfLanguageDriver(std::uint8_t languageDriver);

}  // namespace tallowick
