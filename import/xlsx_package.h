#pragma once
// The zip container of an .xlsx/.xlsm workbook, read from memory with
// libzip. Parts are unpacked in chunks straight into the XML parser, and
// what they unpack to is counted as it comes (the sizes the archive states
// are not trusted): a part past kMaxXlsxPartBytes, or a workbook past
// kMaxXlsxUnpackedBytes in all, is refused, so a zip bomb ends in a message
// instead of exhausting memory or time.
#include <cstdint>
#include <string>

#include "import/byte_view.h"
#include "import/xml_part_parser.h"

namespace tallowick {

inline constexpr std::uint64_t kMaxXlsxPartBytes = std::uint64_t{512} << 20;
inline constexpr std::uint64_t kMaxXlsxUnpackedBytes = std::uint64_t{1} << 30;

class XlsxPackage {
 public:
  XlsxPackage() = default;
  ~XlsxPackage();
  XlsxPackage(const XlsxPackage&) = delete;
  XlsxPackage& operator=(const XlsxPackage&) = delete;

  // Opens the archive held in `bytes` (which must outlive the package).
  // On failure `why` says what is wrong with it.
  bool Open(ByteView bytes, std::string& why);

  // True when the archive holds the part (names compared in any case, as
  // the package format compares them).
  bool Has(const std::string& part) const;

  // Unpacks `part` through `handler`. On failure `why` names the part and
  // says what is wrong.
  bool Parse(const std::string& part, XmlPartHandler& handler, std::string& why);

 private:
  struct Archive;
  Archive* m_archive = nullptr;
  std::uint64_t m_unpacked = 0;
};

}  // namespace tallowick
