#pragma once
// Images of the program's resources (icons, pictures) as XPM data, by
// resource id. Templates and sheets name their images by id, as a Windows
// program finds them in its module; the program gives the lookup once at
// start, before any window is built.
namespace tallowick {

// The XPM lines of image `id`, or null when there is none.
using XpmImageLookup = const char* const* (*)(int id);

void SetXpmImageLookup(XpmImageLookup lookup);

// The XPM lines of image `id` through the program's lookup; null when there
// is no such image or no lookup was given.
const char* const* FindXpmImage(int id);

}  // namespace tallowick
