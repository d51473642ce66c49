#pragma once
// Writing a whole buffer to a file descriptor, through short writes and
// interrupted calls.
#include <cstddef>
#include <string_view>

namespace tallowick::platform {

// False when a write fails (errno says why); true once every byte is written.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace tallowick::platform
