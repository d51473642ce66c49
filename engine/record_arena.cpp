#include "engine/record_arena.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TALLOWICK_ARENA_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TALLOWICK_ARENA_CHECKED 1
#endif

// Linux can grow a mapping in place or move its pages without copying them.
// Under AddressSanitizer the arena uses the heap so that overruns are caught.
#if defined(__linux__) && !defined(TALLOWICK_ARENA_CHECKED)
#define TALLOWICK_ARENA_MREMAP 1
#include <sys/mman.h>
#endif

namespace tallowick {

namespace {
constexpr std::size_t kFirstBlock = std::size_t{1} << 20;
constexpr std::size_t kPage = 4096;
}  // namespace

RecordArena::~RecordArena() {
  if (m_bytes == nullptr) return;
#ifdef TALLOWICK_ARENA_MREMAP
  munmap(m_bytes, m_capacity);
#else
  std::free(m_bytes);
#endif
}

unsigned char* RecordArena::Room(std::size_t bytes) {
  if (m_capacity - m_size < bytes) Grow(m_size + bytes);
  return m_bytes + m_size;
}

void RecordArena::Append(const void* bytes, std::size_t length) {
  if (length == 0) return;
  std::memcpy(Room(length), bytes, length);
  m_size += length;
}

void RecordArena::Grow(std::size_t needed) {
  if (needed < m_size) throw std::bad_alloc();  // size_t overflow
  std::size_t capacity = std::max({needed, m_capacity * 2, kFirstBlock});
  capacity = (capacity + kPage - 1) / kPage * kPage;
#ifdef TALLOWICK_ARENA_MREMAP
  void* block = m_bytes == nullptr ? mmap(nullptr, capacity, PROT_READ | PROT_WRITE,
                                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                                   : mremap(m_bytes, m_capacity, capacity, MREMAP_MAYMOVE);
  if (block == MAP_FAILED) throw std::bad_alloc();
#else
  void* block = std::realloc(m_bytes, capacity);
  if (block == nullptr) throw std::bad_alloc();
#endif
  m_bytes = static_cast<unsigned char*>(block);
  m_capacity = capacity;
}

}  // namespace tallowick
