#pragma once
// The text of a BIFF8 workbook: UTF-16 strings stored either compressed (one
// byte per character, the high byte being zero) or whole, whose characters
// may run on from a record into the CONTINUE records after it. A string in
// the shared-string table (SST) may also carry rich-text runs and a phonetic
// block after its characters; both are passed over, wherever they continue.
#include <cstdint>
#include <string>
#include <vector>

#include "import/byte_view.h"

namespace tallowick {

class BiffTextReader {
 public:
  // `segments`: the data of a record, then that of each CONTINUE after it.
  explicit BiffTextReader(std::vector<ByteView> segments, std::size_t offset = 0)
      : m_segments(std::move(segments)), m_pos(offset) {}

  enum class CountWidth { OneByte, TwoBytes };
  // Reads one string (its character count, option flags, characters and
  // whatever it carries after them) as UTF-8, up to a NUL character if it
  // holds one. False when the data ends first; unpaired surrogates become
  // U+FFFD.
  bool ReadString(CountWidth width, std::string& out);

 private:
  ByteView Current() const {
    return m_segment < m_segments.size() ? m_segments[m_segment] : ByteView();
  }
  bool ReadByte(std::uint8_t& out);
  bool ReadLittle(std::size_t bytes, std::uint32_t& out);
  bool Skip(std::uint64_t count);
  bool ReadCharacters(std::size_t count, bool wide, std::string& out);

  std::vector<ByteView> m_segments;
  std::size_t m_segment = 0;
  std::size_t m_pos = 0;
};

// Reads the shared strings of an SST record (`segments` as above): at most
// the number it states, fewer when its data ends first.
std::vector<std::string> ReadSharedStrings(const std::vector<ByteView>& segments);

}  // namespace tallowick
