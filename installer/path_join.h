#pragma once
// Paths composed by the installer, each bounded by the longest path the
// system accepts: one that does not fit is refused, never cut.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tallowick {

// `folder` + "/" + `name`, with one separator between them however many the
// two sides bring; nothing when either side is empty or the result, with
// `reserve` more bytes, would be longer than kMaxPathLength.
std::optional<std::string> JoinPath(std::string_view folder, std::string_view name,
                                    std::size_t reserve = 0);

}  // namespace tallowick
