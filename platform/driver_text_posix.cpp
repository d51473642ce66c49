// The Linux drivers take and give UTF-8: nothing to convert.
#include "platform/driver_text.h"

namespace tallowick::platform {

bool DriversUseUtf8() { return true; }

std::string TextFromDrivers(std::string_view text) { return std::string(text); }

bool TextForDrivers(std::string_view utf8, std::string& out) {
  out.assign(utf8);
  return true;
}

}  // namespace tallowick::platform
