#include "engine/log_file.h"

#include "platform/file_system.h"

namespace tallowick {

LogFile OpenEmptiedLog(const std::string& path) {
  return LogFile(platform::OpenEmptiedTextFile(path));
}

}  // namespace tallowick
