#pragma once
// The records of one generation run, packed one after another in a single
// growing block of memory. The block grows by remapping its pages where the
// system allows it, so growing neither copies the records nor holds two
// copies of them at once.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tallowick {

class RecordArena {
 public:
  RecordArena() = default;
  ~RecordArena();
  RecordArena(const RecordArena&) = delete;
  RecordArena& operator=(const RecordArena&) = delete;

  // Room for `bytes` more bytes after those already appended; the pointer is
  // valid until the next call that grows the arena.
  unsigned char* Room(std::size_t bytes);
  // Takes `bytes` bytes written into Room() as part of the current record.
  void Commit(std::size_t bytes) { m_size += bytes; }
  void Append(const void* bytes, std::size_t length);
  // Closes the current record (which may be empty).
  void EndRecord() { m_ends.push_back(m_size); }
  // Drops the bytes appended since the last EndRecord().
  void DiscardOpenRecord() { m_size = m_ends.empty() ? 0 : m_ends.back(); }

  // Drops every record and the open one; the memory is kept for reuse.
  void Clear() {
    m_size = 0;
    m_ends.clear();
  }

  // Hints at the expected size; never needed for correctness.
  void ReserveRecords(std::size_t records) { m_ends.reserve(records); }

  std::size_t RecordCount() const { return m_ends.size(); }
  std::size_t RecordOffset(std::size_t index) const { return index == 0 ? 0 : m_ends[index - 1]; }
  std::size_t RecordLength(std::size_t index) const { return m_ends[index] - RecordOffset(index); }
  const unsigned char* RecordData(std::size_t index) const { return m_bytes + RecordOffset(index); }

  // All closed records, contiguous.
  const unsigned char* Data() const { return m_bytes; }
  std::size_t Size() const { return m_ends.empty() ? 0 : m_ends.back(); }

 private:
  void Grow(std::size_t needed);

  unsigned char* m_bytes = nullptr;
  std::size_t m_size = 0;
  std::size_t m_capacity = 0;
  std::vector<std::size_t> m_ends;
};

}  // namespace tallowick
