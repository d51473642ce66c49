// The sheet with the pages of app/pages.h; kept apart so that the sheet can be
// linked with pages of a test's choice.
#include "app/pages.h"
#include "app/pdb_generator.h"

namespace tallowick {

PDBGenerator::PDBGenerator(Host& host)
    : PDBGenerator(CreateGeneratorPage(host), CreateViewerPage(host)) {}

}  // namespace tallowick
