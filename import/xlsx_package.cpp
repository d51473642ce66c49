#include "import/xlsx_package.h"

#include <zip.h>

#include <vector>

namespace tallowick {

struct XlsxPackage::Archive {
  zip_t* zip = nullptr;
};

XlsxPackage::~XlsxPackage() {
  if (m_archive != nullptr && m_archive->zip != nullptr) zip_discard(m_archive->zip);
  delete m_archive;
}

bool XlsxPackage::Open(ByteView bytes, std::string& why) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.Data(), bytes.Size(), 0, &error);
  zip_t* zip = source != nullptr ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
  if (zip == nullptr) {
    if (source != nullptr) zip_source_free(source);
    switch (zip_error_code_zip(&error)) {
      case ZIP_ER_NOZIP:
        // A zip archive's first entry but no directory: the file was cut short.
        why = bytes.Chars(0, 4) == std::string_view("PK\x03\x04", 4)
                  ? "its zip archive is damaged (its directory is missing: the file is cut short)"
                  : "it is not an Excel workbook (.xlsx): the file is no zip archive";
        break;
      case ZIP_ER_MEMORY:
        why = "there is not enough memory to open it";
        break;
      default:
        why = std::string("its zip archive is damaged (") + zip_error_strerror(&error) + ")";
        break;
    }
    zip_error_fini(&error);
    return false;
  }
  zip_error_fini(&error);
  m_archive = new Archive{zip};
  return true;
}

bool XlsxPackage::Has(const std::string& part) const {
  return m_archive != nullptr && zip_name_locate(m_archive->zip, part.c_str(), ZIP_FL_NOCASE) >= 0;
}

bool XlsxPackage::Parse(const std::string& part, XmlPartHandler& handler, std::string& why) {
  const zip_int64_t index =
      m_archive != nullptr ? zip_name_locate(m_archive->zip, part.c_str(), ZIP_FL_NOCASE) : -1;
  if (index < 0) {
    why = "it lacks the part " + part;
    return false;
  }
  zip_file_t* file = zip_fopen_index(m_archive->zip, static_cast<zip_uint64_t>(index), 0);
  if (file == nullptr) {
    why = "the part " + part + " cannot be unpacked (" + zip_strerror(m_archive->zip) + ")";
    return false;
  }
  XmlPartParser parser(handler);
  std::vector<char> buffer(std::size_t{1} << 16);
  std::uint64_t partBytes = 0;
  bool ok = true;
  for (;;) {
    const zip_int64_t read = zip_fread(file, buffer.data(), buffer.size());
    if (read < 0) {
      why = "the part " + part + " is damaged (" + zip_file_strerror(file) + ")";
      ok = false;
      break;
    }
    partBytes += static_cast<std::uint64_t>(read);
    m_unpacked += static_cast<std::uint64_t>(read);
    if (partBytes > kMaxXlsxPartBytes || m_unpacked > kMaxXlsxUnpackedBytes) {
      why = "it unpacks to more than " +
            std::to_string(
                (partBytes > kMaxXlsxPartBytes ? kMaxXlsxPartBytes : kMaxXlsxUnpackedBytes) >> 20) +
            " MiB (at the part " + part + "), more than a workbook can be imported with";
      ok = false;
      break;
    }
    std::string xmlWhy;
    if (!parser.Feed(buffer.data(), static_cast<std::size_t>(read), read == 0, xmlWhy)) {
      why = "the part " + part + " cannot be read: " + xmlWhy;
      ok = false;
      break;
    }
    if (read == 0) break;
  }
  zip_fclose(file);
  return ok;
}

}  // namespace tallowick
