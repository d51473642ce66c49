#include "engine/byte_order.h"

#include <cstring>

namespace tallowick {

std::uint16_t SwapBytes16(std::uint16_t value) {
  return static_cast<std::uint16_t>((value >> 8) | (value << 8));
}

std::uint32_t SwapBytes32(std::uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) |
         (value << 24);
}

void SwapBytesFloat(unsigned char* bytes) {
  unsigned char copy[4];
  std::memcpy(copy, bytes, sizeof copy);
  CopyReversed(bytes, copy, sizeof copy);
}

void SwapBytesDouble(unsigned char* bytes) {
  unsigned char copy[8];
  std::memcpy(copy, bytes, sizeof copy);
  CopyReversed(bytes, copy, sizeof copy);
}

void PutBigEndian16(unsigned char* out, std::uint16_t value) {
  out[0] = static_cast<unsigned char>(value >> 8);
  out[1] = static_cast<unsigned char>(value);
}

void PutBigEndian24(unsigned char* out, std::uint32_t value) {
  out[0] = static_cast<unsigned char>(value >> 16);
  out[1] = static_cast<unsigned char>(value >> 8);
  out[2] = static_cast<unsigned char>(value);
}

void PutBigEndian32(unsigned char* out, std::uint32_t value) {
  out[0] = static_cast<unsigned char>(value >> 24);
  out[1] = static_cast<unsigned char>(value >> 16);
  out[2] = static_cast<unsigned char>(value >> 8);
  out[3] = static_cast<unsigned char>(value);
}

std::uint16_t GetBigEndian16(const unsigned char* in) {
  return static_cast<std::uint16_t>((in[0] << 8) | in[1]);
}

std::uint32_t GetBigEndian24(const unsigned char* in) {
  return (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) | in[2];
}

std::uint32_t GetBigEndian32(const unsigned char* in) {
  return (std::uint32_t{in[0]} << 24) | (std::uint32_t{in[1]} << 16) | (std::uint32_t{in[2]} << 8) |
         in[3];
}

void CopyReversed(unsigned char* out, const void* in, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(in);
  for (std::size_t i = 0; i < size; ++i) out[i] = bytes[size - 1 - i];
}

}  // namespace tallowick
