#include "engine/handheld_charset.h"

#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <stdexcept>

#include "engine/utf8.h"

namespace tallowick {

namespace {

const iconv_t kNoIconv = reinterpret_cast<iconv_t>(-1);

}  // namespace

const std::vector<HandheldCharsetInfo>& HandheldCharsets() {
  static const std::vector<HandheldCharsetInfo> sets{
      {HandheldCharset::Western, "cp1252", "Western (Windows-1252)", "CP1252"},
      {HandheldCharset::Japanese, "shift-jis", "Japanese (Shift-JIS)", "SHIFT_JIS"},
      {HandheldCharset::SimplifiedChinese, "gb2312", "Simplified Chinese (GB2312)", "GB2312"},
      {HandheldCharset::TraditionalChinese, "big5", "Traditional Chinese (Big5)", "BIG5"},
      {HandheldCharset::Korean, "euc-kr", "Korean (EUC-KR)", "EUC-KR"},
      {HandheldCharset::Utf8, "utf-8", "UTF-8 (no conversion)", nullptr},
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
  const char* name = InfoOf(charset).iconvName;
  if (name == nullptr) return;
  iconv_t handle = iconv_open(name, "UTF-8");
  if (handle == kNoIconv) throw std::runtime_error(std::string("no conversion to ") + name);
  m_iconv = handle;
}

HandheldTextEncoder::~HandheldTextEncoder() {
  if (m_iconv != nullptr) iconv_close(static_cast<iconv_t>(m_iconv));
}

std::size_t HandheldTextEncoder::Convert(const char* text, std::size_t length, std::string& out,
                                         std::size_t maxBytes) {
  out.clear();
  if (m_iconv == nullptr || IsAsciiText(text, length)) {
    // UTF-8 stays as it is; cut only at a character boundary.
    std::size_t keep = std::min(length, maxBytes);
    if (m_iconv == nullptr) {
      while (keep > 0 && keep < length && (static_cast<unsigned char>(text[keep]) & 0xC0) == 0x80) {
        --keep;
      }
    }
    out.assign(text, keep);
    return 0;
  }

  auto* handle = static_cast<iconv_t>(m_iconv);
  iconv(handle, nullptr, nullptr, nullptr, nullptr);
  std::size_t replaced = 0;
  const auto* in = reinterpret_cast<const unsigned char*>(text);
  std::size_t left = length;
  char buffer[16];
  while (left > 0 && out.size() < maxBytes) {
    // One character at a time keeps the output cut at a character boundary
    // and tells exactly which characters were replaced.
    const std::size_t sequence =
        Utf8SequenceLength(std::string_view(reinterpret_cast<const char*>(in), left), 0);
    if (sequence == 0) {
      out += '?';
      ++replaced;
      ++in;
      --left;
      continue;
    }
    char* inPtr = const_cast<char*>(reinterpret_cast<const char*>(in));
    std::size_t inLeft = sequence;
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(handle, &inPtr, &inLeft, &outPtr, &outLeft);
    std::size_t produced = sizeof buffer - outLeft;
    if (result == static_cast<std::size_t>(-1) || result > 0) {
      // Not representable (or only approximately, which we do not accept).
      iconv(handle, nullptr, nullptr, nullptr, nullptr);
      buffer[0] = '?';
      produced = 1;
      ++replaced;
    }
    if (out.size() + produced > maxBytes) break;
    out.append(buffer, produced);
    in += sequence;
    left -= sequence;
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
  const char* name = InfoOf(charset).iconvName;
  if (name == nullptr) {
    // Shown as UTF-8: invalid bytes become U+FFFD.
    return WithReplacementCharacters(bytes);
  }
  // One decoder per set and thread, opened on first use: a viewer decodes
  // tens of thousands of texts in a row.
  thread_local iconv_t decoders[8] = {kNoIconv, kNoIconv, kNoIconv, kNoIconv,
                                      kNoIconv, kNoIconv, kNoIconv, kNoIconv};
  iconv_t& handle = decoders[static_cast<int>(charset)];
  if (handle == kNoIconv) handle = iconv_open("UTF-8", name);
  if (handle == kNoIconv) return std::string(bytes);
  iconv(handle, nullptr, nullptr, nullptr, nullptr);
  std::string out;
  char* inPtr = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(handle, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, sizeof buffer - outLeft);
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // A byte the set does not define (or a cut-off double-byte character).
      out += "\xEF\xBF\xBD";
      ++inPtr;
      --inLeft;
      iconv(handle, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

}  // namespace tallowick
