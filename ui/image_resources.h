#pragma once
// Images of the resources (icons, pictures) as XPM data, by resource id.

namespace tallowick {

// The XPM lines of image resource `id`, or null when there is none.
const char* const* FindXpmImage(int id);

}  // namespace tallowick
