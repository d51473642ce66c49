#include "reader_code/reader_files.h"

#include <cerrno>
#include <cstring>

#include "engine/temporary_output_file.h"
#include "platform/file_system.h"
#include "platform/path_text.h"
#include "reader_code/c_reader_text.h"

namespace tallowick {

namespace {

// Writes `text` whole into a new temporary file of `folder` (which ends
// with a separator). False, with errno set, when it could not.
bool WriteComplete(TemporaryOutputFile& file, const std::string& folder, const std::string& text) {
  if (!file.Create(folder)) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file.Stream()) == text.size();
  const int writeError = errno;
  if (!file.Complete() || !written) {
    if (!written) errno = writeError;
    return false;
  }
  return true;
}

}  // namespace

bool WriteReaderFiles(const ReaderLayout& layout, const std::string& folder, ReaderFiles& files,
                      std::string& error) {
  const std::string directory = platform::WithEndSeparator(folder);
  files.headerPath = directory + ReaderHeaderFileName(layout);
  files.sourcePath = directory + ReaderSourceFileName(layout);
  const auto fail = [&error](const std::string& path) {
    error = path + ": " + std::strerror(errno);
    return false;
  };
  if (platform::KindOf(folder) != platform::PathKind::Folder) {
    errno = ENOTDIR;
    return fail(folder);
  }
  for (const std::string* path : {&files.headerPath, &files.sourcePath}) {
    if (!CanReplaceByRename(*path)) {
      errno = EISDIR;
      return fail(*path);
    }
  }
  TemporaryOutputFile header;
  TemporaryOutputFile source;
  if (!WriteComplete(header, directory, ReaderHeaderText(layout))) return fail(files.headerPath);
  if (!WriteComplete(source, directory, ReaderSourceText(layout))) return fail(files.sourcePath);
  if (!header.RenameTo(files.headerPath)) return fail(files.headerPath);
  if (!source.RenameTo(files.sourcePath)) return fail(files.sourcePath);
  return true;
}

}  // namespace tallowick
