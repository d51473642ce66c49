#include "import/biff_text.h"

#include <algorithm>

#include "engine/utf8.h"

namespace tallowick {
namespace {

constexpr std::uint8_t kWideCharacters = 0x01;
constexpr std::uint8_t kPhoneticBlock = 0x04;
constexpr std::uint8_t kRichTextRuns = 0x08;
constexpr std::size_t kRichTextRunSize = 4;
// The smallest string: a two-byte count and the option flags.
constexpr std::size_t kSmallestSharedString = 3;

// Joins UTF-16 code units into characters.
class Utf16Joiner {
 public:
  explicit Utf16Joiner(std::string& out) : m_out(out) {}

  void Add(char16_t unit) {
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (m_high != 0) AppendUtf8(m_out, 0xFFFD);
      m_high = unit;
      return;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF && m_high != 0) {
      AppendUtf8(m_out,
                 0x10000 + ((static_cast<char32_t>(m_high) - 0xD800) << 10) + (unit - 0xDC00));
      m_high = 0;
      return;
    }
    if (m_high != 0 || (unit >= 0xDC00 && unit <= 0xDFFF)) AppendUtf8(m_out, 0xFFFD);
    m_high = 0;
    if (unit < 0xDC00 || unit > 0xDFFF) AppendUtf8(m_out, unit);
  }
  void Finish() {
    if (m_high != 0) AppendUtf8(m_out, 0xFFFD);
    m_high = 0;
  }

 private:
  std::string& m_out;
  char16_t m_high = 0;
};

}  // namespace

// Header fields and the data after the characters continue in the next
// record with no flag byte of their own.
bool BiffTextReader::ReadByte(std::uint8_t& out) {
  while (m_pos >= Current().Size()) {
    if (++m_segment >= m_segments.size()) return false;
    m_pos = 0;
  }
  Current().U8(m_pos++, out);
  return true;
}

bool BiffTextReader::ReadLittle(std::size_t bytes, std::uint32_t& out) {
  out = 0;
  for (std::size_t i = 0; i < bytes; ++i) {
    std::uint8_t byte = 0;
    if (!ReadByte(byte)) return false;
    out |= static_cast<std::uint32_t>(byte) << (8 * i);
  }
  return true;
}

bool BiffTextReader::Skip(std::uint64_t count) {
  while (count > 0) {
    if (m_segment >= m_segments.size()) return false;
    const std::size_t left = Current().Size() - std::min(m_pos, Current().Size());
    if (count <= left) {
      m_pos += static_cast<std::size_t>(count);
      return true;
    }
    count -= left;
    ++m_segment;
    m_pos = 0;
  }
  return true;
}

bool BiffTextReader::ReadCharacters(std::size_t count, bool wide, std::string& out) {
  Utf16Joiner joiner(out);
  for (std::size_t i = 0; i < count; ++i) {
    if (m_pos >= Current().Size()) {
      // The characters go on in the next CONTINUE, after a flag byte that
      // says again whether they are compressed.
      if (++m_segment >= m_segments.size()) return false;
      std::uint8_t flags = 0;
      if (!Current().U8(0, flags)) return false;
      wide = (flags & kWideCharacters) != 0;
      m_pos = 1;
    }
    std::uint16_t unit = 0;
    std::uint8_t narrow = 0;
    if (wide ? !Current().U16LE(m_pos, unit) : !Current().U8(m_pos, narrow)) return false;
    m_pos += wide ? 2 : 1;
    joiner.Add(wide ? static_cast<char16_t>(unit) : static_cast<char16_t>(narrow));
  }
  joiner.Finish();
  return true;
}

bool BiffTextReader::ReadString(CountWidth width, std::string& out) {
  std::uint32_t count = 0, runs = 0, phonetic = 0;
  std::uint8_t flags = 0;
  if (!ReadLittle(width == CountWidth::OneByte ? 1 : 2, count) || !ReadByte(flags)) return false;
  if ((flags & kRichTextRuns) && !ReadLittle(2, runs)) return false;
  if ((flags & kPhoneticBlock) && !ReadLittle(4, phonetic)) return false;
  out.clear();
  if (!ReadCharacters(count, (flags & kWideCharacters) != 0, out)) return false;
  out.resize(std::min(out.size(), out.find('\0')));  // a text ends at a NUL character
  return Skip(std::uint64_t{runs} * kRichTextRunSize + phonetic);
}

std::vector<std::string> ReadSharedStrings(const std::vector<ByteView>& segments) {
  std::vector<std::string> strings;
  std::uint32_t unique = 0;
  if (segments.empty() || !segments[0].U32LE(4, unique)) return strings;
  // A damaged count must not reserve more than the data could hold.
  std::size_t bytes = 0;
  for (ByteView segment : segments) bytes += segment.Size();
  strings.reserve(std::min<std::size_t>(unique, bytes / kSmallestSharedString));
  BiffTextReader reader(segments, 8);
  std::string text;
  while (strings.size() < unique && reader.ReadString(BiffTextReader::CountWidth::TwoBytes, text)) {
    strings.push_back(std::move(text));
  }
  return strings;
}

}  // namespace tallowick
