#include "tests/installer/screen_pixels.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tallowick {

ScreenPixels ReadScreenPixels() {
  ScreenPixels pixels;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return pixels;
  const Window root = DefaultRootWindow(display);
  XWindowAttributes attributes;
  XImage* image = nullptr;
  if (XGetWindowAttributes(display, root, &attributes) != 0) {
    image = XGetImage(display, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  }
  if (image != nullptr) {
    pixels.width = attributes.width;
    pixels.height = attributes.height;
    pixels.rgb.reserve(static_cast<std::size_t>(pixels.width) * pixels.height * 3);
    for (int y = 0; y < pixels.height; ++y) {
      for (int x = 0; x < pixels.width; ++x) {
        const unsigned long pixel = XGetPixel(image, x, y);
        pixels.rgb.push_back(static_cast<unsigned char>((pixel & image->red_mask) >> 16));
        pixels.rgb.push_back(static_cast<unsigned char>((pixel & image->green_mask) >> 8));
        pixels.rgb.push_back(static_cast<unsigned char>(pixel & image->blue_mask));
      }
    }
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return pixels;
}

}  // namespace tallowick
