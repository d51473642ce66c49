// The sheet's "PDB Generator" page.
#include "app/pages.h"
#include "source/page/make_pdb.h"

namespace tallowick {

std::unique_ptr<PropertyPage> CreateGeneratorPage(Host&) { return std::make_unique<MakePDB>(); }

}  // namespace tallowick
