#pragma once
// Images of the resources as wx bitmaps and icons.
#include <wx/bitmap.h>
#include <wx/icon.h>

namespace tallowick {

// The image resource `id`; an invalid bitmap when there is none.
wxBitmap ImageBitmap(int id);
wxIcon ImageIcon(int id);
// The bitmap scaled to `size` (smoothly).
wxBitmap ScaledBitmap(const wxBitmap& bitmap, const wxSize& size);

}  // namespace tallowick
