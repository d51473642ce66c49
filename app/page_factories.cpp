// The sheet's two pages: "PDB Generator" and "PDB Viewer".
#include "app/pages.h"
#include "source/page/make_pdb.h"
#include "viewer/page/pdb_view.h"

namespace tallowick {

std::unique_ptr<PropertyPage> CreateGeneratorPage(Host&) { return std::make_unique<MakePDB>(); }

std::unique_ptr<PropertyPage> CreateViewerPage(Host&) { return std::make_unique<PDBView>(); }

}  // namespace tallowick
