// The sheet's "PDB Viewer" page.
#include "app/pages.h"
#include "viewer/page/pdb_view.h"

namespace tallowick {

std::unique_ptr<PropertyPage> CreateViewerPage(Host&) { return std::make_unique<PDBView>(); }

}  // namespace tallowick
