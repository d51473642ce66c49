// The program's and the installer's images, drawn by make_images.py.
#include "resources/images.h"

#include "resources/resource_ids.h"

namespace tallowick::res {
namespace {
#include "resources/installer_icon.xpm"
#include "resources/installer_picture.xpm"
#include "resources/program_icon.xpm"
}  // namespace

const char* const* XpmImage(int id) {
  switch (id) {
    case kProgramIcon:
      return program_icon_xpm;
    case kInstallerIcon:
      return installer_icon_xpm;
    case kInstallerPicture:
      return installer_picture_xpm;
    default:
      return nullptr;
  }
}

}  // namespace tallowick::res
