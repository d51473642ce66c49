#pragma once
// The pixels of the whole X screen as it is now, read from the X server.
#include <vector>

namespace tallowick {

struct ScreenPixels {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // width * height * 3 bytes, row by row
};

// Nothing (width 0) when the display cannot be opened or read.
ScreenPixels ReadScreenPixels();

}  // namespace tallowick
