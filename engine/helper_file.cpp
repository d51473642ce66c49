#include "engine/helper_file.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "engine/field_kind.h"
#include "engine/pdb_file.h"
#include "engine/pdb_layout.h"
#include "engine/utf8.h"
#include "platform/path_text.h"

namespace tallowick {

namespace {

constexpr std::size_t kHelperNamePrefix = 23;
constexpr const char kHelperSuffix[] = "Helper";
constexpr std::size_t kHeadRecords = 3;

std::vector<unsigned char> HelperRecord(std::uint8_t kind, const std::string& text) {
  std::vector<unsigned char> record(kHelperRecordSize, 0);
  record[0] = kind;
  // The text and its NUL stay inside the record: at most 64 bytes.
  std::memcpy(record.data() + 1, text.data(), std::min(text.size(), kMaxHelperColumnName));
  return record;
}

}  // namespace

std::string HelperName(const std::string& pdbName) {
  return std::string(FirstCharacters(pdbName, kHelperNamePrefix)) + kHelperSuffix;
}

std::string HandheldHelperName(const std::string& pdbName, HandheldCharset charset) {
  constexpr std::size_t kRoom = kPdbNameField - 1 - (sizeof kHelperSuffix - 1);
  return HandheldTextEncoder(charset).ConvertWithin(FirstCharacters(pdbName, kHelperNamePrefix),
                                                    kRoom) +
         kHelperSuffix;
}

std::vector<std::vector<unsigned char>> BuildHelperRecords(const std::string& pdbName,
                                                           const std::string& creator,
                                                           const std::string& type,
                                                           const std::vector<HelperField>& fields) {
  std::vector<std::vector<unsigned char>> records;
  records.reserve(kHeadRecords + fields.size());
  records.push_back(HelperRecord(0, pdbName));
  records.push_back(HelperRecord(0, creator));
  records.push_back(HelperRecord(0, type));
  for (const HelperField& field : fields) records.push_back(HelperRecord(field.kind, field.name));
  return records;
}

namespace {

// Writes the Helper file named after `pdbName` with `write`, given the file
// and its record entries; the texts are stored as given.
template <class WriteFile>
bool WriteHelperRecords(const std::string& folder, const std::string& pdbName,
                        const std::string& headerName, const std::string& handheldPdbName,
                        const std::string& creator, const std::string& type,
                        const std::vector<HelperField>& fields, WriteFile write) {
  const auto records = BuildHelperRecords(handheldPdbName, creator, type, fields);
  if (records.size() > 65535) return false;
  std::vector<PdbRecordEntry> entries(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    entries[i].length = static_cast<std::uint32_t>(records[i].size());
    entries[i].data = records[i].data();
  }
  PdbFile file(HelperName(pdbName), folder, kHelperExtension);
  file.SetDatabaseName(headerName);
  return write(file, entries);
}

// The same, the texts given in UTF-8 and stored in `charset`.
template <class WriteFile>
bool WriteConvertedHelperRecords(const std::string& folder, const std::string& pdbName,
                                 const std::string& creator, const std::string& type,
                                 const std::vector<HelperField>& fields, HandheldCharset charset,
                                 WriteFile write) {
  HandheldTextEncoder encoder(charset);
  std::vector<HelperField> handheldFields;
  handheldFields.reserve(fields.size());
  for (const HelperField& field : fields) {
    handheldFields.push_back({field.kind, encoder.ConvertWithin(field.name, kMaxHelperColumnName)});
  }
  return WriteHelperRecords(folder, pdbName, HandheldHelperName(pdbName, charset),
                            encoder.ConvertWithin(pdbName, kMaxHelperColumnName), creator, type,
                            handheldFields, write);
}

bool WriteWhole(PdbFile& file, std::vector<PdbRecordEntry>& entries) {
  return file.Write(entries, kHelperCreatorType, kHelperCreatorType,
                    static_cast<std::uint16_t>(entries.size()));
}

}  // namespace

bool WriteHelperFile(const std::string& folder, const std::string& pdbName,
                     const std::string& creator, const std::string& type,
                     const std::vector<HelperField>& fields, HandheldCharset charset) {
  return WriteConvertedHelperRecords(folder, pdbName, creator, type, fields, charset, WriteWhole);
}

bool WriteHelperFile(const std::string& folder, const std::string& pdbName,
                     const std::string& handheldPdbName, const std::string& creator,
                     const std::string& type, const std::vector<HelperField>& fields) {
  return WriteHelperRecords(folder, pdbName, HelperName(handheldPdbName), handheldPdbName, creator,
                            type, fields, WriteWhole);
}

bool WriteHelperFile(TemporaryOutputFile& out, const std::string& folder,
                     const std::string& pdbName, const std::string& creator,
                     const std::string& type, const std::vector<HelperField>& fields,
                     HandheldCharset charset) {
  return WriteConvertedHelperRecords(folder, pdbName, creator, type, fields, charset,
                                     [&out](PdbFile& file, std::vector<PdbRecordEntry>& entries) {
                                       return file.WriteInto(
                                           out, entries, kHelperCreatorType, kHelperCreatorType,
                                           static_cast<std::uint16_t>(entries.size()),
                                           static_cast<std::int64_t>(std::time(nullptr)));
                                     });
}

std::string HelperFilePath(const std::string& folder, const std::string& pdbName) {
  return folder + HelperName(pdbName) + kHelperExtension;
}

std::string HelperRecordText(const std::vector<unsigned char>& record) {
  if (record.size() < 2) return {};
  const char* text = reinterpret_cast<const char*>(record.data() + 1);
  return std::string(text, strnlen(text, record.size() - 1));
}

namespace {

// The checks of ReadHelperFile; with `withFields` false only records 0 to 2
// are read.
std::optional<HelperInfo> ReadHelper(const std::string& path, bool withFields) {
  const std::size_t slash = platform::LastPathSeparator(path);
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  PdbFile file(name, folder, kHelperExtension);

  PdbHeader header;
  std::vector<PdbRecordEntry> entries;
  std::uint16_t count = 0;
  if (!file.ReadRecordList(header, entries, count)) return std::nullopt;
  const std::size_t suffix = sizeof kHelperSuffix - 1;
  if (header.name.size() < suffix ||
      strcasecmp(header.name.c_str() + header.name.size() - suffix, kHelperSuffix) != 0) {
    return std::nullopt;
  }
  if (header.creator != kHelperCreatorType || header.type != kHelperCreatorType) {
    return std::nullopt;
  }
  if (count < kHeadRecords) return std::nullopt;

  HelperInfo info;
  info.headerName = header.name;
  const std::size_t read = withFields ? count : kHeadRecords;
  info.fields.reserve(read - kHeadRecords);
  for (std::size_t i = 0; i < read; ++i) {
    const auto record = file.ReadRecord(entries, i, count);
    // An unreadable field record would shift every later field: the file is
    // damaged as a whole.
    if (!record) return std::nullopt;
    const std::string text = HelperRecordText(*record);
    if (i == 0) {
      info.pdbName = text;
    } else if (i == 1) {
      info.creator = text;
    } else if (i == 2) {
      info.type = text;
    } else {
      const std::uint8_t kind = (*record)[0];
      // A kind the records cannot be decoded with makes every later field
      // unreadable as well.
      if (kind < static_cast<std::uint8_t>(FieldKind::String) ||
          kind > static_cast<std::uint8_t>(FieldKind::Date)) {
        return std::nullopt;
      }
      info.fields.push_back({kind, text});
    }
  }
  return info;
}

}  // namespace

std::optional<HelperInfo> ReadHelperFile(const std::string& path) { return ReadHelper(path, true); }

std::optional<HelperInfo> ReadHelperHead(const std::string& path) {
  return ReadHelper(path, false);
}

}  // namespace tallowick
