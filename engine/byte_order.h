#pragma once
// The one place that knows the handheld's byte order (big-endian).
// Everything is byte moves: a float or double is never loaded as a value,
// so every bit pattern (NaNs included) survives.
#include <cstddef>
#include <cstdint>

namespace tallowick {

std::uint16_t SwapBytes16(std::uint16_t value);
std::uint32_t SwapBytes32(std::uint32_t value);
// Reverse the 4 / 8 bytes at `bytes` in place.
void SwapBytesFloat(unsigned char* bytes);
void SwapBytesDouble(unsigned char* bytes);

// Big-endian writers and readers over raw bytes.
void PutBigEndian16(unsigned char* out, std::uint16_t value);
void PutBigEndian24(unsigned char* out, std::uint32_t value);
void PutBigEndian32(unsigned char* out, std::uint32_t value);
std::uint16_t GetBigEndian16(const unsigned char* in);
std::uint32_t GetBigEndian24(const unsigned char* in);
std::uint32_t GetBigEndian32(const unsigned char* in);
// Copies `size` bytes reversed (host little-endian <-> big-endian).
void CopyReversed(unsigned char* out, const void* in, std::size_t size);

}  // namespace tallowick
