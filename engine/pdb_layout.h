#pragma once
// The byte layout of a PDB file's header and record list, shared by the
// writers and the reader. Every number is big-endian in the file.
#include <cstddef>

namespace tallowick {

// The 78-byte header.
inline constexpr std::size_t kPdbHeaderSize = 78;
inline constexpr std::size_t kPdbNameField = 32;  // the name and its NUL, at 0
inline constexpr std::size_t kPdbAttributesAt = 32;
inline constexpr std::size_t kPdbVersionAt = 34;
inline constexpr std::size_t kPdbCreationDateAt = 36;
inline constexpr std::size_t kPdbModificationDateAt = 40;
inline constexpr std::size_t kPdbLastBackupDateAt = 44;
inline constexpr std::size_t kPdbModificationNumberAt = 48;
inline constexpr std::size_t kPdbAppInfoOffsetAt = 52;
inline constexpr std::size_t kPdbSortInfoOffsetAt = 56;
inline constexpr std::size_t kPdbTypeAt = 60;
inline constexpr std::size_t kPdbCreatorAt = 64;
inline constexpr std::size_t kPdbUniqueIdSeedAt = 68;
inline constexpr std::size_t kPdbNextRecordListIdAt = 72;
inline constexpr std::size_t kPdbRecordCountAt = 76;

// One entry of the record list after the header: offset (4 bytes),
// attributes (1) and unique ID (3).
inline constexpr std::size_t kPdbRecordListEntrySize = 8;
// The two zero bytes between the record list and the AppInfo block.
inline constexpr std::size_t kPdbGapSize = 2;

}  // namespace tallowick
