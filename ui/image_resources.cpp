#include "ui/image_resources.h"

#include <atomic>

namespace tallowick {

namespace {
std::atomic<XpmImageLookup> g_lookup{nullptr};
}  // namespace

void SetXpmImageLookup(XpmImageLookup lookup) { g_lookup = lookup; }

const char* const* FindXpmImage(int id) {
  const XpmImageLookup lookup = g_lookup;
  return lookup != nullptr ? lookup(id) : nullptr;
}

}  // namespace tallowick
