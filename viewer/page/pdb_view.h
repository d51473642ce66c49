#pragma once
// The "PDB Viewer" page: select a Helper file, then the PDB it describes;
// every record is shown field by field in a list, one row per record. The
// page keeps the texts as the files hold them (the Helper file is matched
// against the PDB on those bytes) and decodes what it shows from the set
// chosen in "Text as :".
#include <memory>
#include <optional>
#include <string>

#include "engine/handheld_charset.h"
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
  PdbMatch CheckAndShowPdb(const std::string& name, const std::string& folder,
                           const std::string& path);
  // Fills the information boxes and the list from the database as read
  // (texts in the handheld's set), kept for later changes of "Text as :".
  void ShowRecords(PdbContents contents);
  // Empties the list and the name, creator, type, record and field boxes
  // (not the two paths).
  void ResetView();

  // Lists "Automatic" and the handheld's character sets, "Automatic" chosen;
  // the focus goes to "&Select".
  bool OnInitDialog() override;

  bool HelperSelected() const { return m_helperSelected; }
  // The set chosen in "Text as :"; none for "Automatic".
  std::optional<HandheldCharset> TextAs() const;

 private:
  void OnSelectHelper();
  void OnBrowsePdb();
  // "Text as :" changed: what is shown is decoded again, nothing is read.
  void OnTextAs();
  // The name, creator and type of the selected Helper file, decoded.
  void ShowHelperTexts();
  // The shown database's information boxes and list, decoded.
  void ShowRecordTexts();
  void Stop(const std::string& text);

  static const MessageEntry<PDBView> kMessageMap[];

  std::string m_pdbFileName;  // the Helper file's database name as shown + ".pdb"
  std::string m_creator;
  std::string m_type;
  bool m_helperSelected = false;                 // never reset once a valid Helper file was chosen
  HelperInfo m_helper;                           // as the file holds it
  bool m_helperShown = false;                    // the boxes show m_helper (no database yet)
  std::shared_ptr<const PdbContents> m_records;  // the shown database as read; null when none
};

}  // namespace tallowick
