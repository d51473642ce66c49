#include "viewer/page/pdb_view.h"

#include <memory>
#include <optional>

#include "platform/path_text.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "ui/host.h"
#include "viewer/display_text.h"
#include "viewer/page/record_list_model.h"

namespace tallowick {

namespace v = res::viewer;

namespace {
constexpr const char* kMessageCaption = "Tallowick";
constexpr const char* kAutomaticEntry = "Automatic";
}  // namespace

const MessageEntry<PDBView> PDBView::kMessageMap[] = {
    {v::kSelectHelper, Notification::Clicked, &PDBView::OnSelectHelper},
    {v::kBrowsePdb, Notification::Clicked, &PDBView::OnBrowsePdb},
    {v::kTextAs, Notification::SelectionChange, &PDBView::OnTextAs},
};

PDBView::PDBView() : PropertyPage(res::DialogTemplateOf(res::kViewerPage)) {
  SetMessageMap(MessageMap(this, kMessageMap));
}

PDBView::~PDBView() = default;

bool PDBView::OnInitDialog() {
  PropertyPage::OnInitDialog();
  ComboBox textAs = GetComboBox(v::kTextAs);
  textAs.SetCurSel(textAs.AddString(kAutomaticEntry));
  for (const HandheldCharsetInfo& info : HandheldCharsets()) textAs.AddString(info.label);
  // The page's first step; the boxes before it in the layout are only read.
  GetButton(v::kSelectHelper).SetFocus();
  return true;
}

std::optional<HandheldCharset> PDBView::TextAs() const {
  const ComboBox textAs = GetComboBox(v::kTextAs);
  const int index = textAs.GetCurSel();
  if (index < 0) return std::nullopt;
  return CharsetByLabel(textAs.GetEntry(index));  // none for "Automatic"
}

void PDBView::OnSelectHelper() {
  FileDialogOptions options;
  options.filter = kHelperFileFilter;
  options.defaultExtension = "pdb";
  options.initialName = kHelperInitialName;
  const std::optional<std::string> path = GetHost().ChooseFile(options);
  if (!path) return;

  // Only the head decides: a field record that cannot be read is reported
  // when the records are shown.
  std::optional<HelperInfo> helper = ReadHelperHead(*path);
  if (!helper) {
    Stop(kInvalidHelperMessage);  // everything shown and held before stays
    return;
  }
  GetEdit(v::kHelperPath).SetText(*path);
  ResetView();
  m_helper = std::move(*helper);
  m_creator = m_helper.creator;
  m_type = m_helper.type;
  GetEdit(v::kPdbPath).SetText("");
  ShowHelperTexts();
  m_helperSelected = true;
}

void PDBView::ShowHelperTexts() {
  HelperInfo shown = m_helper;
  DecodeForDisplay(shown, TextAs());
  GetEdit(v::kName).SetText(shown.pdbName);
  GetEdit(v::kCreator).SetText(shown.creator);
  GetEdit(v::kType).SetText(shown.type);
  m_helperShown = true;
}

void PDBView::OnBrowsePdb() {
  if (!m_helperSelected) {
    Stop(kSelectHelperFirstMessage);
    return;
  }
  // The file was named after the name as typed, which the shown (decoded)
  // name gives back.
  const std::string shownName = DecodeHandheldText(m_helper.pdbName, TextAs());
  m_pdbFileName = shownName + ".pdb";
  FileDialogOptions options;
  options.filter = kPdbFileFilter;
  options.defaultExtension = "pdb";
  // The database was written beside its Helper file.
  options.initialFolder = platform::FolderOf(GetEdit(v::kHelperPath).GetText());
  // A name that would lead the dialog out of its folder is not offered.
  if (IsPlainFileName(shownName)) options.initialName = m_pdbFileName;
  const std::optional<std::string> path = GetHost().ChooseFile(options);
  if (!path) return;

  std::string folder;
  std::string fileName;
  SplitPath(*path, folder, fileName);
  if (CheckAndShowPdb(DatabaseNameOf(fileName), folder, *path) == PdbMatch::Incompatible) {
    Stop(kIncompatibleMessage);
  }
}

PdbMatch PDBView::CheckAndShowPdb(const std::string& name, const std::string& folder,
                                  const std::string& path) {
  PdbContents contents;
  std::unique_ptr<WaitWindow> wait;
  // The Helper file is read again from the path shown, as selected.
  const PdbMatch match = LoadPdbContents(
      m_helper, GetEdit(v::kHelperPath).GetText(), name, folder, contents, [this, &wait, &path] {
        GetEdit(v::kPdbPath).SetText(path);
        wait = GetHost().ShowWaitWindow(res::DialogTemplateOf(res::kWaitDialog));
      });
  if (match == PdbMatch::Incompatible) return match;
  if (match == PdbMatch::Decoded) ShowRecords(std::move(contents));
  wait.reset();
  if (match == PdbMatch::DecodingFailed) {
    ResetView();
    Stop(kUnableToViewMessage);
  }
  return match;
}

void PDBView::ShowRecords(PdbContents contents) {
  ResetView();
  m_records = std::make_shared<const PdbContents>(std::move(contents));
  ShowRecordTexts();
}

void PDBView::ShowRecordTexts() {
  PdbContents head;  // the texts of the boxes; the list decodes the rows itself
  head.name = m_records->name;
  head.creator = m_records->creator;
  head.type = m_records->type;
  const std::optional<HandheldCharset> as = TextAs();
  DecodeForDisplay(head, as);
  GetEdit(v::kTotalFields).SetText(std::to_string(m_records->fields.size()));
  GetEdit(v::kName).SetText(head.name);
  GetEdit(v::kCreator).SetText(head.creator);
  GetEdit(v::kType).SetText(head.type);
  GetEdit(v::kTotalRecords).SetText(std::to_string(m_records->recordCount));
  GetListView(v::kRecordList).SetModel(std::make_shared<RecordListModel>(m_records, as));
}

void PDBView::OnTextAs() {
  if (m_records) {
    ShowRecordTexts();
  } else if (m_helperShown) {
    ShowHelperTexts();
  }
}

void PDBView::ResetView() {
  GetListView(v::kRecordList).Clear();
  for (int id : {v::kName, v::kType, v::kCreator, v::kTotalRecords, v::kTotalFields})
    GetEdit(id).SetText("");
  m_records.reset();
  m_helperShown = false;
}

void PDBView::Stop(const std::string& text) {
  GetHost().ShowMessage(text, kMessageCaption, MessageIcon::Stop);
}

}  // namespace tallowick
