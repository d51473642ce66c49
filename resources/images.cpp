// The program's and the installer's images, drawn by make_images.py.
#include "resources/resource_ids.h"
#include "ui/image_resources.h"

namespace tallowick {
namespace {
#include "resources/installer_icon.xpm"
#include "resources/installer_picture.xpm"
#include "resources/program_icon.xpm"
}  // namespace

const char* const* FindXpmImage(int id) {
  switch (id) {
    case res::kProgramIcon: return program_icon_xpm;
    case res::kInstallerIcon: return installer_icon_xpm;
    case res::kInstallerPicture: return installer_picture_xpm;
    default: return nullptr;
  }
}

}  // namespace tallowick
