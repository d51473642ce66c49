#pragma once
// Where the sheet gets its two pages: the generator page ("PDB Generator",
// template 132) and the viewer page ("PDB Viewer", template 133). The
// program links page_factories.cpp; a test may link pages of its own. The
// sheet owns what they return.
#include <memory>

#include "ui/host.h"
#include "ui/property_page.h"

namespace tallowick {

std::unique_ptr<PropertyPage> CreateGeneratorPage(Host& host);
std::unique_ptr<PropertyPage> CreateViewerPage(Host& host);

}  // namespace tallowick
