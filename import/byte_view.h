#pragma once
// A read-only window on bytes read from a file. Every read is checked against
// the window's end: a read that would pass it returns false and leaves its
// output untouched, so a damaged file can never make a reader look outside
// its buffer. The import readers take every multi-byte value through here.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tallowick {

class ByteView {
 public:
  ByteView() = default;
  ByteView(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}

  const unsigned char* Data() const { return m_data; }
  std::size_t Size() const { return m_size; }

  // True when `count` bytes starting at `offset` lie inside the window.
  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= m_size && count <= m_size - offset;
  }

  bool Sub(std::size_t offset, std::size_t count, ByteView& out) const {
    if (!Has(offset, count)) return false;
    out = ByteView(m_data + offset, count);
    return true;
  }
  // The bytes from `offset` to the end (empty when `offset` is past it).
  ByteView From(std::size_t offset) const {
    return offset >= m_size ? ByteView() : ByteView(m_data + offset, m_size - offset);
  }

  std::string_view Chars(std::size_t offset, std::size_t count) const {
    if (!Has(offset, count)) return {};
    return {reinterpret_cast<const char*>(m_data + offset), count};
  }
  std::string_view AllChars() const { return Chars(0, m_size); }

  bool U8(std::size_t offset, std::uint8_t& out) const {
    if (!Has(offset, 1)) return false;
    out = m_data[offset];
    return true;
  }
  bool U16LE(std::size_t offset, std::uint16_t& out) const { return Little(offset, 2, out); }
  bool U32LE(std::size_t offset, std::uint32_t& out) const { return Little(offset, 4, out); }
  bool U64LE(std::size_t offset, std::uint64_t& out) const { return Little(offset, 8, out); }
  bool U16BE(std::size_t offset, std::uint16_t& out) const { return Big(offset, 2, out); }
  bool U32BE(std::size_t offset, std::uint32_t& out) const { return Big(offset, 4, out); }
  bool U64BE(std::size_t offset, std::uint64_t& out) const { return Big(offset, 8, out); }

  // IEEE 754 double stored little-endian (the files' own order on x86).
  bool F64LE(std::size_t offset, double& out) const {
    std::uint64_t bits = 0;
    if (!U64LE(offset, bits)) return false;
    std::memcpy(&out, &bits, sizeof out);
    return true;
  }

 private:
  template <typename T>
  bool Little(std::size_t offset, std::size_t count, T& out) const {
    if (!Has(offset, count)) return false;
    T value = 0;
    for (std::size_t i = count; i-- > 0;) value = static_cast<T>((value << 8) | m_data[offset + i]);
    out = value;
    return true;
  }
  template <typename T>
  bool Big(std::size_t offset, std::size_t count, T& out) const {
    if (!Has(offset, count)) return false;
    T value = 0;
    for (std::size_t i = 0; i < count; ++i)
      value = static_cast<T>((value << 8) | m_data[offset + i]);
    out = value;
    return true;
  }

  const unsigned char* m_data = nullptr;
  std::size_t m_size = 0;
};

}  // namespace tallowick
