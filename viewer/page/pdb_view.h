#pragma once
// The "PDB Viewer" page: select a Helper file, then the PDB it describes;
// every record is shown field by field in a list, one row per record.
#include <string>

#include "engine/helper_file.h"
#include "ui/property_page.h"
#include "viewer/pdb_contents.h"

namespace tallowick {

inline constexpr const char* kHelperFileFilter =
    "Tallowick Helper file(*Helper.mhl)|*Helper.mhl|Helper file(*.mhl)|*.mhl||";
inline constexpr const char* kHelperInitialName = "*Helper.mhl";
inline constexpr const char* kPdbFileFilter = "Palm Database(*.pdb)|*.pdb||";

class PDBView : public PropertyPage {
 public:
  PDBView();
  ~PDBView() override;

  // Reads the database `name` in `folder` (its full path is `path`), checks
  // it against the selected Helper file and shows its records. Shown: the
  // records are in the list; Incompatible: nothing changed; Unreadable: the
  // records could not be shown and "Unable To View ..." was reported.
  PdbMatch CheckAndShowPdb(const std::string& name, const std::string& folder, const std::string& path);
  // Fills the information boxes and the list from the decoded database.
  void ShowRecords(PdbContents contents);
  // Empties the list and the name, creator, type, record and field boxes
  // (not the two paths).
  void ResetView();

  bool HelperSelected() const { return m_helperSelected; }

 private:
  void OnSelectHelper();
  void OnBrowsePdb();
  void Stop(const std::string& text);

  static const MessageEntry<PDBView> kMessageMap[];

  std::string m_pdbFileName;  // the Helper file's database name + ".pdb"
  std::string m_creator;
  std::string m_type;
  bool m_helperSelected = false;  // never reset once a valid Helper file was chosen
  HelperInfo m_helper;
};

}  // namespace tallowick
