#pragma once
// The records of an .xls workbook stream (BIFF5 and BIFF8): each is a
// two-byte type, a two-byte length and that many bytes of data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "import/byte_view.h"

namespace tallowick {

namespace biff {
inline constexpr std::uint16_t kBof = 0x0809;
inline constexpr std::uint16_t kEof = 0x000A;
inline constexpr std::uint16_t kBoundSheet = 0x0085;
inline constexpr std::uint16_t kCodePage = 0x0042;
inline constexpr std::uint16_t kDateMode = 0x0022;
inline constexpr std::uint16_t kFilePass = 0x002F;
inline constexpr std::uint16_t kFormat = 0x041E;
inline constexpr std::uint16_t kXf = 0x00E0;
inline constexpr std::uint16_t kSst = 0x00FC;
inline constexpr std::uint16_t kContinue = 0x003C;
inline constexpr std::uint16_t kNumber = 0x0203;
inline constexpr std::uint16_t kRk = 0x027E;
inline constexpr std::uint16_t kMulRk = 0x00BD;
inline constexpr std::uint16_t kBoolErr = 0x0205;
inline constexpr std::uint16_t kFormula = 0x0006;
inline constexpr std::uint16_t kString = 0x0207;
inline constexpr std::uint16_t kLabel = 0x0204;
inline constexpr std::uint16_t kRString = 0x00D6;
inline constexpr std::uint16_t kLabelSst = 0x00FD;
inline constexpr std::uint16_t kBiff5Version = 0x0500;
inline constexpr std::uint16_t kBiff8Version = 0x0600;
}  // namespace biff

struct BiffRecord {
  std::uint16_t type = 0;
  ByteView data;
};

// Walks the records of a workbook stream from a given offset. A record whose
// stated length runs past the stream ends the walk.
class BiffRecordReader {
 public:
  BiffRecordReader(ByteView stream, std::size_t offset) : m_stream(stream), m_pos(offset) {}

  bool Next(BiffRecord& out) {
    std::uint16_t type = 0, size = 0;
    if (!m_stream.U16LE(m_pos, type) || !m_stream.U16LE(m_pos + 2, size)) return false;
    if (!m_stream.Sub(m_pos + 4, size, out.data)) return false;
    out.type = type;
    m_pos += 4 + static_cast<std::size_t>(size);
    return true;
  }

  // Where the next record starts.
  std::size_t Position() const { return m_pos; }

  // `first` and the data of the CONTINUE records that follow it, which the
  // walk then passes over.
  std::vector<ByteView> WithContinues(ByteView first) {
    std::vector<ByteView> segments{first};
    for (;;) {
      BiffRecordReader ahead = *this;
      BiffRecord next;
      if (!ahead.Next(next) || next.type != biff::kContinue) return segments;
      segments.push_back(next.data);
      *this = ahead;
    }
  }

 private:
  ByteView m_stream;
  std::size_t m_pos;
};

}  // namespace tallowick
