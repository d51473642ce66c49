#pragma once
// The handheld's own 8-bit text encoding. Drivers deliver UTF-8; text bound
// for the handheld (record strings, the Helper file's texts, the PDB's
// database name) is converted into the chosen set, and text read back from
// a PDB is decoded from it for display.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowick {

namespace platform {
class CodePage;
}

enum class HandheldCharset {
  Western,             // Windows-1252, which Palm OS "Palm Latin" matches
  Japanese,            // Shift-JIS as Windows has it (code page 932)
  SimplifiedChinese,   // GB2312 and its extension GBK (936)
  TraditionalChinese,  // Big5 (950)
  Korean,              // EUC-KR and its extension (949)
  Utf8,                // no conversion
};

struct HandheldCharsetInfo {
  HandheldCharset charset;
  const char* option;  // command line: "cp1252", "shift-jis", ...
  const char* label;   // what the pages list: "Western (Windows-1252)", ...
  int codePage;        // the Windows code page: 1252, 932, ...; 0 for UTF-8
};

// Every set, Western first.
const std::vector<HandheldCharsetInfo>& HandheldCharsets();
const HandheldCharsetInfo& InfoOf(HandheldCharset charset);
std::optional<HandheldCharset> CharsetByOption(std::string_view option);
std::optional<HandheldCharset> CharsetByLabel(std::string_view label);

// UTF-8 to the handheld's set. A character the set cannot hold, and a byte
// that is not part of valid UTF-8, becomes one "?".
class HandheldTextEncoder {
 public:
  explicit HandheldTextEncoder(HandheldCharset charset);
  ~HandheldTextEncoder();
  HandheldTextEncoder(const HandheldTextEncoder&) = delete;
  HandheldTextEncoder& operator=(const HandheldTextEncoder&) = delete;

  // Converts `length` bytes at `text` into `out` (replacing its contents),
  // writing at most `maxBytes` bytes and never half a character. Returns the
  // number of characters replaced by "?".
  std::size_t Convert(const char* text, std::size_t length, std::string& out, std::size_t maxBytes);
  std::string Convert(const std::string& text, std::size_t* replaced = nullptr);
  // The longest run of whole characters of `text` that fits `maxBytes`
  // bytes once converted.
  std::string ConvertWithin(std::string_view text, std::size_t maxBytes);

  HandheldCharset Charset() const { return m_charset; }

 private:
  HandheldCharset m_charset;
  std::unique_ptr<platform::CodePage> m_page;  // null for UTF-8
};

// True when every byte is below 0x80: the same text in every set.
bool IsAsciiText(const char* text, std::size_t length);

// True when `text` is valid UTF-8 and holds at least one non-ASCII character.
bool LooksLikeUtf8(std::string_view text);

// Handheld bytes as UTF-8 for display. Without a set given: as UTF-8 when
// the bytes are valid UTF-8 with non-ASCII characters, else as Windows-1252.
// Bytes the set does not define show as U+FFFD.
std::string DecodeHandheldText(std::string_view bytes, std::optional<HandheldCharset> as);

}  // namespace tallowick
