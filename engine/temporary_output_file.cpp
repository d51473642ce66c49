#include "engine/temporary_output_file.h"

#include "platform/file_system.h"

namespace tallowick {

bool TemporaryOutputFile::Create(const std::string& directory) {
  Remove();
  const std::string prefix = directory + kTemporaryPrefix;
  if (!m_file.CreateNew(
          [&prefix] { return platform::ProcessTemporaryPath(prefix, kTemporarySuffix); }, 0666)) {
    return false;
  }
  m_stream = m_file.Stream();
  if (m_stream == nullptr) m_file.Discard();
  return m_stream != nullptr;
}

bool TemporaryOutputFile::Complete() {
  if (m_stream == nullptr) return false;
  m_stream = nullptr;
  return m_file.Complete();
}

void TemporaryOutputFile::Remove() {
  m_stream = nullptr;
  m_file.Discard();
}

bool CanReplaceByRename(const std::string& path) {
  const platform::PathKind kind = platform::KindOf(path, false);
  return kind != platform::PathKind::Folder && kind != platform::PathKind::Unknown;
}

}  // namespace tallowick
