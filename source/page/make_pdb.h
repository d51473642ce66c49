#pragma once
// The "PDB Generator" page: choose a source (a file or a configured data
// source), tables and fields, preview the query, and generate the PDB with
// its Helper file and logs. The handlers read the controls, call the source
// logic and write the controls and message boxes.
#include <string>
#include <vector>

#include "engine/handheld_charset.h"
#include "import/import_file_converter.h"
#include "source/page/login_prompt.h"
#include "source/source_connection.h"
#include "ui/property_page.h"

namespace tallowick {

inline constexpr const char* kMessageCaption = "Tallowick";
inline constexpr const char* kOutputFolderTitle = "Select o/p Path";

// ViewLog's message when the desktop could not open the log: where it is.
std::string LogNotOpenedMessage(const std::string& path);

class MakePDB : public PropertyPage {
 public:
  MakePDB();
  // Disconnects: frees the handles and removes the temporary data source.
  ~MakePDB() override;

  // Limits the PDB name (31), Creator and Type (4, "HWRP"), lists the data
  // sources, puts the working folder into the output folder box and lists
  // the handheld's character sets with Western chosen.
  bool OnInitDialog() override;
  // The query box, Fetch and Generate are enabled exactly while connected:
  // set before every notification is routed, and again after its handler.
  bool OnCommand(int id, Notification code) override;

  bool IsConnected() const { return m_connection.Connected(); }
  const SourceConnection& Connection() const { return m_connection; }
  // The folder of the last Generate that passed its checks ('/' at the end).
  const std::string& OutputFolder() const { return m_outputFolder; }
  // The set chosen in "Handheld text :" (Western when nothing is chosen).
  HandheldCharset ChosenCharset() const;

 private:
  // Message map handlers.
  void OnBrowse();
  void OnFetch();
  void OnAddFields();
  void OnRemoveFields();
  void OnSelectTable();
  void OnSelectDataSource();
  void OnGenerate();
  void OnBrowseOutput();
  void OnViewLog();

  void FillDataSourceList();
  void FillCharsetList();
  void ListTables();
  void ShowLeftOut(const std::vector<std::string>& leftOut);
  // Empties the query box, the three lists and the preview; hides ViewLog.
  void ResetViews();
  void ClearPreview();
  void ApplyEnablingRule();
  // The highlighted tables as the query names them.
  std::vector<std::string> HighlightedTableQueryForms() const;
  void ShowFieldLists(const std::vector<std::string>& available,
                      const std::vector<std::string>& selected);
  void Stop(const std::string& text);

  static const MessageEntry<MakePDB> kMessageMap[];

  ImportFileConverter m_converter;  // outlives the connection that uses it
  SourceConnection m_connection;
  LoginDialogPrompt m_prompt;
  std::string m_outputFolder;
};

}  // namespace tallowick
