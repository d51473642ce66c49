#pragma once
// Writes a PDB whose records arrive one by one without holding them all in
// memory. The records go into the temporary file as they come, after room
// for the largest header and record list a PDB can have; when the last one
// is in, the header and the record list are written at the start and the
// records moved up behind them, so the file ends up exactly as PdbFile
// writes it from memory.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/pdb_file.h"
#include "engine/record_arena.h"
#include "engine/temporary_output_file.h"

namespace tallowick {

// The size of a PDB file is at most what its 32-bit offsets reach.
inline constexpr std::uint64_t kMaxPdbFileSize = 0xFFFFFFFFu;

class SpooledPdbWriter {
 public:
  // `file` names the target and carries its database name.
  explicit SpooledPdbWriter(PdbFile file, std::size_t memoryLimit = std::size_t{8} << 20);

  // Creates the temporary file beside the target; false when it cannot.
  bool Open();
  // The current record is appended here (RecordArena::Room/Commit/Append).
  RecordArena& Records() { return m_records; }
  // Closes the current record; false when the records could not be written.
  bool EndRecord();
  std::size_t RecordCount() const { return m_lengths.size(); }
  // Size of the PDB file with the records closed so far.
  std::uint64_t FileSize() const;

  // Writes header and record list, moves the records behind them and
  // completes the file; it is not yet in place.
  bool Finish(const std::string& creator, const std::string& type, std::int64_t unixTime);
  // Puts the finished file in place of the target.
  bool Commit() { return m_out.RenameTo(m_file.WritePath()); }
  // Deletes the temporary file.
  void Discard() { m_out.Remove(); }

  const PdbFile& File() const { return m_file; }

 private:
  bool Flush();

  PdbFile m_file;
  std::size_t m_memoryLimit;
  TemporaryOutputFile m_out;
  RecordArena m_records;  // records not yet in the file
  std::vector<std::uint32_t> m_lengths;
  std::uint64_t m_spooled = 0;  // record bytes in the file
  bool m_failed = false;
};

}  // namespace tallowick
