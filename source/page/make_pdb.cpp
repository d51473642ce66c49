#include "source/page/make_pdb.h"

#include <cstddef>
#include <memory>

#include "engine/generation_log.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "source/catalogue.h"
#include "source/data_source_list.h"
#include "source/generation_checks.h"
#include "source/page/page_notices.h"
#include "source/page/preview_list_model.h"
#include "source/query_composer.h"
#include "source/query_run.h"
#include "source/source_kind.h"
#include "ui/host.h"
#include "ui/working_folder.h"

namespace tallowick {

namespace g = res::generator;

const MessageEntry<MakePDB> MakePDB::kMessageMap[] = {
    {g::kBrowse, Notification::Clicked, &MakePDB::OnBrowse},
    {g::kFetch, Notification::Clicked, &MakePDB::OnFetch},
    {g::kAddFields, Notification::Clicked, &MakePDB::OnAddFields},
    {g::kRemoveFields, Notification::Clicked, &MakePDB::OnRemoveFields},
    {g::kTableList, Notification::SelectionChange, &MakePDB::OnSelectTable},
    {g::kDataSource, Notification::SelectionChange, &MakePDB::OnSelectDataSource},
    {g::kGenerate, Notification::Clicked, &MakePDB::OnGenerate},
    {g::kBrowseOutput, Notification::Clicked, &MakePDB::OnBrowseOutput},
    {g::kViewLog, Notification::Clicked, &MakePDB::OnViewLog},
};

namespace {

constexpr std::size_t kCodeLength = 4;
constexpr const char* kDefaultCode = "HWRP";

std::vector<std::size_t> AsSizes(const std::vector<int>& indices) {
  return std::vector<std::size_t>(indices.begin(), indices.end());
}

// The page's text first, as it stands; the driver's word on it below.
std::string WithDriverLine(std::string text, const std::string& driverDiagnostic) {
  if (!driverDiagnostic.empty()) text += "\n\n" + driverDiagnostic;
  return text;
}

}  // namespace

std::string LogNotOpenedMessage(const std::string& path) {
  return "The log could not be opened. It is here:\n\n" + path;
}

MakePDB::MakePDB()
    : PropertyPage(res::DialogTemplateOf(res::kGeneratorPage)),
      m_connection(&m_converter),
      m_prompt([this]() -> Host& { return GetHost(); }) {
  SetMessageMap(MessageMap(this, kMessageMap));
}

MakePDB::~MakePDB() { m_connection.Disconnect(); }

bool MakePDB::OnInitDialog() {
  PropertyPage::OnInitDialog();
  GetEdit(g::kPdbName).SetLimitText(kMaxPdbNameLength);
  EditBox type = GetEdit(g::kType);
  type.SetLimitText(kCodeLength);
  type.SetText(kDefaultCode);
  EditBox creator = GetEdit(g::kCreator);
  creator.SetLimitText(kCodeLength);
  creator.SetText(kDefaultCode);
  FillDataSourceList();
  GetEdit(g::kOutputFolder).SetText(CurrentWorkingFolder().value_or(""));
  FillCharsetList();
  ApplyEnablingRule();
  return true;
}

bool MakePDB::OnCommand(int id, Notification code) {
  ApplyEnablingRule();
  const bool handled = PropertyPage::OnCommand(id, code);
  // A handler may have connected or disconnected: the controls follow at once.
  ApplyEnablingRule();
  return handled;
}

void MakePDB::ApplyEnablingRule() {
  const bool connected = m_connection.Connected();
  GetEdit(g::kQuery).Enable(connected);
  GetButton(g::kFetch).Enable(connected);
  GetButton(g::kGenerate).Enable(connected);
}

void MakePDB::FillDataSourceList() {
  ComboBox sources = GetComboBox(g::kDataSource);
  for (const std::string& name : ListDataSourceNames()) sources.AddString(name);
}

// The choice belongs to the page, not to a database: connecting elsewhere
// (ResetViews) leaves it as it is.
void MakePDB::FillCharsetList() {
  ComboBox sets = GetComboBox(g::kHandheldCharset);
  for (const HandheldCharsetInfo& info : HandheldCharsets()) {
    const int index = sets.AddString(info.label);
    if (info.charset == HandheldCharset::Western) sets.SetCurSel(index);
  }
}

HandheldCharset MakePDB::ChosenCharset() const {
  const ComboBox sets = GetComboBox(g::kHandheldCharset);
  const int index = sets.GetCurSel();
  if (index < 0) return HandheldCharset::Western;
  return CharsetByLabel(sets.GetEntry(index)).value_or(HandheldCharset::Western);
}

// --- connection ---

void MakePDB::OnBrowse() {
  // The dialog never changes the working folder; the guard makes sure of it.
  WorkingFolderGuard keepWorkingFolder;
  FileDialogOptions options;
  options.filter = kSourceFileFilter;
  options.defaultExtension = "mdb";
  const std::optional<std::string> path = GetHost().ChooseFile(options);
  if (!path) return;

  const bool wasConnected = m_connection.Connected();
  bool tried = false;
  const ConnectOutcome outcome = m_connection.OpenFile(*path, m_prompt, [this, &tried] {
    tried = true;
    ResetViews();
  });
  // A file refused before anything changed leaves the page as it was.
  const bool dropped = wasConnected && !m_connection.Connected();
  if (tried || dropped) GetComboBox(g::kDataSource).SetText(*path);
  if (!tried && dropped) ResetViews();

  if (outcome.Connected()) {
    ListTables();
    ShowLeftOut(outcome.leftOut);
  } else if (outcome.status == ConnectOutcome::Status::Failed) {
    Stop(outcome.message);
  }
}

// Tables of a dBase folder that could not be read are named after the
// connection, so a missing table never goes unexplained.
void MakePDB::ShowLeftOut(const std::vector<std::string>& leftOut) {
  if (leftOut.empty()) return;
  std::string text;
  for (const std::string& line : leftOut) text += (text.empty() ? "" : "\n\n") + line;
  GetHost().ShowMessage(text, kMessageCaption, MessageIcon::Exclamation);
}

void MakePDB::OnSelectDataSource() {
  ComboBox sources = GetComboBox(g::kDataSource);
  const int index = sources.GetCurSel();
  if (index < 0) return;
  const std::string name = sources.GetEntry(index);

  const bool wasConnected = m_connection.Connected();
  bool tried = false;
  const ConnectOutcome outcome = m_connection.ConnectDataSource(name, m_prompt, [this, &tried] {
    tried = true;
    ResetViews();
  });
  if (!tried && wasConnected && !m_connection.Connected()) ResetViews();

  if (outcome.Connected()) {
    ListTables();
  } else if (outcome.status == ConnectOutcome::Status::Failed) {
    Stop(outcome.message);
  }
}

void MakePDB::ResetViews() {
  GetEdit(g::kQuery).SetText("");
  GetListBox(g::kTableList).ResetContent();
  GetListBox(g::kAvailableFields).ResetContent();
  GetListBox(g::kSelectedFields).ResetContent();
  ClearPreview();
  GetButton(g::kViewLog).Show(false);
}

void MakePDB::ClearPreview() { GetListView(g::kPreviewList).Clear(); }

// --- catalogue and query composition ---

void MakePDB::ListTables() {
  const TableListing listing = tallowick::ListTables(m_connection);
  ListBox tables = GetListBox(g::kTableList);
  tables.ResetContent();
  if (!listing.ok) {
    Stop(kTableListFailedMessage);
    return;
  }
  for (const std::string& name : listing.names) tables.AddString(name);
  GetHost().ShowMessage(kDatabaseConnectedMessage, kMessageCaption, MessageIcon::Information);
}

std::vector<std::string> MakePDB::HighlightedTableQueryForms() const {
  const ListBox tables = GetListBox(g::kTableList);
  std::vector<std::string> forms;
  for (int index : tables.GetSelectedIndices())
    forms.push_back(m_connection.Naming().Table(tables.GetEntry(index)));
  return forms;
}

void MakePDB::ShowFieldLists(const std::vector<std::string>& available,
                             const std::vector<std::string>& selected) {
  ListBox availableList = GetListBox(g::kAvailableFields);
  availableList.ResetContent();
  for (const std::string& entry : available) availableList.AddString(entry);
  ListBox selectedList = GetListBox(g::kSelectedFields);
  selectedList.ResetContent();
  for (const std::string& entry : selected) selectedList.AddString(entry);
}

void MakePDB::OnSelectTable() {
  const ListBox tables = GetListBox(g::kTableList);
  std::vector<std::string> highlighted;
  for (int index : tables.GetSelectedIndices()) highlighted.push_back(tables.GetEntry(index));

  const TableSelection selection = SelectTables(m_connection, highlighted);
  ShowFieldLists({}, selection.selectedFields);
  if (selection.query) GetEdit(g::kQuery).SetText(*selection.query);
  if (selection.pdbName) GetEdit(g::kPdbName).SetText(*selection.pdbName);
  ClearPreview();
}

void MakePDB::OnAddFields() {
  const ListBox available = GetListBox(g::kAvailableFields);
  const FieldLists lists{available.GetEntries(), GetListBox(g::kSelectedFields).GetEntries()};
  const FieldMove move =
      AddFields(lists, AsSizes(available.GetSelectedIndices()), HighlightedTableQueryForms());
  if (!move.moved) return;
  ShowFieldLists(move.lists.available, move.lists.selected);
  if (move.query) GetEdit(g::kQuery).SetText(*move.query);
  if (move.clearPreview) ClearPreview();
}

void MakePDB::OnRemoveFields() {
  const ListBox selected = GetListBox(g::kSelectedFields);
  const FieldLists lists{GetListBox(g::kAvailableFields).GetEntries(), selected.GetEntries()};
  const FieldMove move =
      RemoveFields(lists, AsSizes(selected.GetSelectedIndices()), HighlightedTableQueryForms());
  if (!move.moved) return;
  ShowFieldLists(move.lists.available, move.lists.selected);
  if (move.query) GetEdit(g::kQuery).SetText(*move.query);
  if (move.clearPreview) ClearPreview();
}

// --- preview ---

void MakePDB::OnFetch() {
  // The whole text: a query is never cut.
  const std::string query = GetEdit(g::kQuery).GetText();
  if (!IsSelectQuery(query)) {
    Stop(kNotSelectMessage);  // the preview keeps what it showed
    return;
  }
  ClearPreview();

  auto model = std::make_shared<PreviewListModel>();
  PageNotices notices;
  std::unique_ptr<WaitWindow> wait;
  const PreviewRun run = RunPreview(
      m_connection.Connection(), query, *model, notices, nullptr,
      [this, &wait] { wait = GetHost().ShowWaitWindow(res::DialogTemplateOf(res::kWaitDialog)); });
  wait.reset();
  if (!run.message.empty()) {
    Stop(WithDriverLine(run.message, run.driverDiagnostic));
    return;
  }
  GetListView(g::kPreviewList).SetModel(model);
  notices.ShowAll(GetHost(), kMessageCaption);
  if (run.failed) {
    // The headings (and any rows read before the failure) stay in view.
    Stop(WithDriverLine(PreviewFailedMessage(run), run.driverDiagnostic));
  }
}

// --- generation ---

void MakePDB::OnGenerate() {
  GenerationInputs inputs;
  inputs.query = GetEdit(g::kQuery).GetText();
  inputs.outputFolder = GetEdit(g::kOutputFolder).GetText();
  inputs.pdbName = GetEdit(g::kPdbName).GetText();
  inputs.creator = GetEdit(g::kCreator).GetText();
  inputs.type = GetEdit(g::kType).GetText();
  inputs.charset = ChosenCharset();
  const GenerationCheck check = CheckGenerationInputs(inputs);
  if (!check.Passed()) {
    Stop(check.message);
    return;
  }
  m_outputFolder = check.outputFolder;
  GetEdit(g::kOutputFolder).SetText(m_outputFolder);

  const GenerationRequest request = RequestFor(inputs, check);
  PageNotices notices;
  std::unique_ptr<WaitWindow> wait;
  const GenerationRun run = RunGeneration(
      m_connection.Connection(), inputs.query, request, notices, nullptr,
      [this, &wait] { wait = GetHost().ShowWaitWindow(res::DialogTemplateOf(res::kWaitDialog)); });
  wait.reset();
  if (!run.message.empty()) {
    Stop(WithDriverLine(run.message, run.driverDiagnostic));
    return;
  }
  notices.ShowAll(GetHost(), kMessageCaption);
  if (run.generated != 1) {
    Stop(GenerationFailedMessage(run.result));
    return;
  }
  GetHost().ShowMessage(GeneratedMessage(inputs.pdbName, m_outputFolder), kMessageCaption,
                        MessageIcon::Information);
  GetButton(g::kViewLog).Show(true);
}

void MakePDB::OnBrowseOutput() {
  const std::optional<std::string> folder = GetHost().ChooseFolder(kOutputFolderTitle);
  if (folder) GetEdit(g::kOutputFolder).SetText(*folder);
}

void MakePDB::OnViewLog() {
  const std::string path = m_outputFolder + kLogFileName;
  if (GetHost().OpenWithDesktop(path)) return;
  GetHost().ShowMessage(LogNotOpenedMessage(path), kMessageCaption, MessageIcon::Exclamation);
}

void MakePDB::Stop(const std::string& text) {
  GetHost().ShowMessage(text, kMessageCaption, MessageIcon::Stop);
}

}  // namespace tallowick
