#include "engine/handheld_charset.h"

#include <algorithm>
#include <stdexcept>

#include "engine/utf8.h"
#include "platform/code_page.h"

namespace tallowick {

const std::vector<HandheldCharsetInfo>& HandheldCharsets() {
  static const std::vector<HandheldCharsetInfo> sets{
      {HandheldCharset::Western, "cp1252", "Western (Windows-1252)", 1252},
      {HandheldCharset::Japanese, "shift-jis", "Japanese (Shift-JIS)", 932},
      {HandheldCharset::SimplifiedChinese, "gb2312", "Simplified Chinese (GB2312)", 936},
      {HandheldCharset::TraditionalChinese, "big5", "Traditional Chinese (Big5)", 950},
      {HandheldCharset::Korean, "euc-kr", "Korean (EUC-KR)", 949},
      {HandheldCharset::Utf8, "utf-8", "UTF-8 (no conversion)", 0},
  };
  return sets;
}

const HandheldCharsetInfo& InfoOf(HandheldCharset charset) {
  for (const auto& info : HandheldCharsets()) {
    if (info.charset == charset) return info;
  }
  return HandheldCharsets().front();
}

std::optional<HandheldCharset> CharsetByOption(std::string_view option) {
  for (const auto& info : HandheldCharsets()) {
    if (option == info.option) return info.charset;
  }
  return std::nullopt;
}

std::optional<HandheldCharset> CharsetByLabel(std::string_view label) {
  for (const auto& info : HandheldCharsets()) {
    if (label == info.label) return info.charset;
  }
  return std::nullopt;
}

HandheldTextEncoder::HandheldTextEncoder(HandheldCharset charset) : m_charset(charset) {
  const int codePage = InfoOf(charset).codePage;
  if (codePage == 0) return;
  m_page = std::make_unique<platform::CodePage>(codePage);
  if (!m_page->Known()) {
    throw std::runtime_error("no conversion to code page " + std::to_string(codePage));
  }
}

HandheldTextEncoder::~HandheldTextEncoder() = default;

std::size_t HandheldTextEncoder::Convert(const char* text, std::size_t length, std::string& out,
                                         std::size_t maxBytes) {
  out.clear();
  if (m_page == nullptr || IsAsciiText(text, length)) {
    // UTF-8 stays as it is; cut only at a character boundary.
    std::size_t keep = std::min(length, maxBytes);
    if (m_page == nullptr) {
      while (keep > 0 && keep < length && (static_cast<unsigned char>(text[keep]) & 0xC0) == 0x80) {
        --keep;
      }
    }
    out.assign(text, keep);
    return 0;
  }

  std::size_t replaced = 0;
  const std::string_view all(text, length);
  std::string character;
  for (std::size_t at = 0; at < length && out.size() < maxBytes;) {
    // One character at a time keeps the output cut at a character boundary
    // and tells exactly which characters were replaced.
    const std::size_t sequence = Utf8SequenceLength(all, at);
    character.clear();
    if (sequence == 0 || !m_page->Encode(all.substr(at, sequence), character)) {
      // Not valid UTF-8, or not in the set (an approximate form is not
      // accepted either).
      character = "?";
      ++replaced;
    }
    if (out.size() + character.size() > maxBytes) break;
    out += character;
    at += sequence == 0 ? 1 : sequence;
  }
  return replaced;
}

std::string HandheldTextEncoder::Convert(const std::string& text, std::size_t* replaced) {
  std::string out;
  const std::size_t count = Convert(text.data(), text.size(), out, text.size() * 4 + 4);
  if (replaced != nullptr) *replaced = count;
  return out;
}

std::string HandheldTextEncoder::ConvertWithin(std::string_view text, std::size_t maxBytes) {
  std::string out;
  Convert(text.data(), text.size(), out, maxBytes);
  return out;
}

bool IsAsciiText(const char* text, std::size_t length) {
  return std::all_of(text, text + length,
                     [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
}

bool LooksLikeUtf8(std::string_view text) {
  bool nonAscii = false;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) return false;
    nonAscii |= length > 1;
    i += length;
  }
  return nonAscii;
}

std::string DecodeHandheldText(std::string_view bytes, std::optional<HandheldCharset> as) {
  if (IsAsciiText(bytes.data(), bytes.size())) return std::string(bytes);
  const HandheldCharset charset =
      as.value_or(LooksLikeUtf8(bytes) ? HandheldCharset::Utf8 : HandheldCharset::Western);
  const int codePage = InfoOf(charset).codePage;
  if (codePage == 0) {
    // Shown as UTF-8: invalid bytes become U+FFFD.
    return WithReplacementCharacters(bytes);
  }
  // One decoder per set and thread, made on first use: a viewer decodes
  // tens of thousands of texts in a row.
  thread_local std::unique_ptr<platform::CodePage> decoders[8];
  std::unique_ptr<platform::CodePage>& page = decoders[static_cast<int>(charset)];
  if (page == nullptr) page = std::make_unique<platform::CodePage>(codePage);
  if (!page->Known()) return std::string(bytes);
  std::string out;
  page->Decode(bytes, out);
  return out;
}

}  // namespace tallowick
