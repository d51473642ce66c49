// TEMPORARY: stand-in pages until the real "PDB Generator" (MakePDB) and
// "PDB Viewer" (PDBView) pages exist. They show their templates and do nothing.
// The real pages replace this file by defining the two functions of app/pages.h.
#include "app/pages.h"
#include "resources/resource_ids.h"

namespace tallowick {
namespace {

class TemplateOnlyPage : public PropertyPage {
 public:
  explicit TemplateOnlyPage(int templateId) : PropertyPage(templateId) {}
};

}  // namespace

std::unique_ptr<PropertyPage> CreateGeneratorPage(Host&) {
  return std::make_unique<TemplateOnlyPage>(res::kGeneratorPage);
}

std::unique_ptr<PropertyPage> CreateViewerPage(Host&) { return std::make_unique<TemplateOnlyPage>(res::kViewerPage); }

}  // namespace tallowick
