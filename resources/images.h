#pragma once
// The program's and the installer's images, drawn by make_images.py.
namespace tallowick::res {

// The XPM lines of image `id` (kProgramIcon, kInstallerIcon,
// kInstallerPicture), or null.
const char* const* XpmImage(int id);

}  // namespace tallowick::res
