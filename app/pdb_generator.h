#pragma once
// The program's one window: the sheet "Tallowick" with the pages "PDB Generator"
// and "PDB Viewer", whose button row shows only "&Close" and "He&lp".
#include <memory>

#include "ui/host.h"
#include "ui/property_page.h"
#include "ui/property_sheet.h"

namespace tallowick {

inline constexpr const char* kProgramCaption = "Tallowick";

class PDBGenerator : public PropertySheet {
 public:
  // Takes its pages from CreateGeneratorPage and CreateViewerPage (app/pages.h).
  explicit PDBGenerator(Host& host);
  // With pages of the caller's choice (tests).
  PDBGenerator(std::unique_ptr<PropertyPage> generatorPage,
               std::unique_ptr<PropertyPage> viewerPage);
  ~PDBGenerator() override;

  // Hides OK, renames Cancel "&Close" and Help "He&lp".
  bool OnInitDialog() override;
  // The Help button and F1 both open the help page.
  void OnHelp() override;
  bool OnHelpInfo() override;

  PropertyPage& GeneratorPage() { return *m_generatorPage; }
  PropertyPage& ViewerPage() { return *m_viewerPage; }

 private:
  // Destroyed in reverse order: the viewer page, then the generator page.
  std::unique_ptr<PropertyPage> m_generatorPage;
  std::unique_ptr<PropertyPage> m_viewerPage;
};

}  // namespace tallowick
