#include "ui/wx/wx_images.h"

#include <wx/image.h>

#include "ui/image_resources.h"

namespace tallowick {

wxBitmap ImageBitmap(int id) {
  const char* const* xpm = FindXpmImage(id);
  return xpm != nullptr ? wxBitmap(xpm) : wxBitmap();
}

wxIcon ImageIcon(int id) {
  wxIcon icon;
  const wxBitmap bitmap = ImageBitmap(id);
  if (bitmap.IsOk()) icon.CopyFromBitmap(bitmap);
  return icon;
}

wxBitmap ScaledBitmap(const wxBitmap& bitmap, const wxSize& size) {
  if (!bitmap.IsOk() || size.x <= 0 || size.y <= 0 || bitmap.GetSize() == size) return bitmap;
  return wxBitmap(bitmap.ConvertToImage().Scale(size.x, size.y, wxIMAGE_QUALITY_HIGH));
}

}  // namespace tallowick
