#pragma once
// Paths as text. Linux separates folders with '/'; Windows takes '\' and
// '/' alike and writes '\'.
#include <string>
#include <string_view>

namespace tallowick::platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

bool IsPathSeparator(char c);
// The position of the last separator, or npos.
std::size_t LastPathSeparator(std::string_view path);

// The folder that holds `path`, without a separator at its end, except for
// a root: "/" on Linux, "C:\" for a file at the top of drive C: on Windows
// (also for "C:name"). Empty when the path names no folder.
std::string FolderOf(const std::string& path);
// What follows the last separator.
std::string NameOf(const std::string& path);
// `folder` and `name` with one separator between them.
std::string JoinPath(const std::string& folder, const std::string& name);
// `folder` ending with a separator ("ends with \" as Windows users write it).
std::string WithEndSeparator(const std::string& folder);

}  // namespace tallowick::platform
