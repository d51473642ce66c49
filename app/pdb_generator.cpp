#include "app/pdb_generator.h"

#include "app/help_page.h"
#include "resources/resource_ids.h"
#include "ui/standard_ids.h"

namespace tallowick {

PDBGenerator::PDBGenerator(std::unique_ptr<PropertyPage> generatorPage,
                           std::unique_ptr<PropertyPage> viewerPage)
    : PropertySheet(kProgramCaption),
      m_generatorPage(std::move(generatorPage)),
      m_viewerPage(std::move(viewerPage)) {
  SetIcon(res::kProgramIcon);
  SetHasHelp(true);
  AddPage(*m_generatorPage);
  AddPage(*m_viewerPage);
}

PDBGenerator::~PDBGenerator() = default;

bool PDBGenerator::OnInitDialog() {
  const bool result = PropertySheet::OnInitDialog();
  GetButton(kIdOk).Show(false);
  GetButton(kIdCancel).SetText("&Close");
  GetButton(kIdHelp).SetText("He&lp");
  return result;
}

void PDBGenerator::OnHelp() { OpenHelpPage(GetHost()); }

bool PDBGenerator::OnHelpInfo() {
  OpenHelpPage(GetHost());
  return true;
}

}  // namespace tallowick
