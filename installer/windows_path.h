#pragma once
// Paths composed by Setup.exe, in UTF-16 for the wide Win32 functions, each
// bounded by MAX_PATH: one that does not fit is refused, never cut.
#include <optional>
#include <string>
#include <string_view>

namespace tallowick {

// The longest path, in UTF-16 units, the installer composes (MAX_PATH less
// the terminator).
inline constexpr std::size_t kMaxWindowsPathLength = 259;

// `folder` + "\" + `name`, with one separator between them however many the
// two sides bring ("C:\" + "\img" is "C:\img"); nothing when either side is
// empty or the result would be longer than kMaxWindowsPathLength.
std::optional<std::wstring> JoinWindowsPath(std::wstring_view folder, std::wstring_view name);

// A drive letter with its root ("C:\") or a network path ("\\server\share").
bool IsAbsoluteWindowsPath(std::wstring_view path);

}  // namespace tallowick
