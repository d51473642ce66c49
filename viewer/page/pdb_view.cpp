#include "viewer/page/pdb_view.h"

#include <memory>
#include <optional>

#include "resources/resource_ids.h"
#include "ui/host.h"
#include "viewer/page/record_list_model.h"

namespace tallowick {

namespace v = res::viewer;

namespace {
constexpr const char* kMessageCaption = "Tallowick";
}  // namespace

const MessageEntry<PDBView> PDBView::kMessageMap[] = {
    {v::kSelectHelper, Notification::Clicked, &PDBView::OnSelectHelper},
    {v::kBrowsePdb, Notification::Clicked, &PDBView::OnBrowsePdb},
};

PDBView::PDBView() : PropertyPage(res::kViewerPage) { SetMessageMap(MessageMap(this, kMessageMap)); }

PDBView::~PDBView() = default;

void PDBView::OnSelectHelper() {
  FileDialogOptions options;
  options.filter = kHelperFileFilter;
  options.defaultExtension = "pdb";
  options.initialName = kHelperInitialName;
  const std::optional<std::string> path = GetHost().ChooseFile(options);
  if (!path) return;

  std::optional<HelperInfo> helper = ReadHelperFile(*path);
  if (!helper) {
    Stop(kInvalidHelperMessage);  // everything shown and held before stays
    return;
  }
  GetEdit(v::kHelperPath).SetText(*path);
  ResetView();
  m_helper = std::move(*helper);
  m_pdbFileName = m_helper.pdbName + ".pdb";
  m_creator = m_helper.creator;
  m_type = m_helper.type;
  GetEdit(v::kName).SetText(m_helper.pdbName);
  GetEdit(v::kPdbPath).SetText("");
  GetEdit(v::kCreator).SetText(m_creator);
  GetEdit(v::kType).SetText(m_type);
  m_helperSelected = true;
}

void PDBView::OnBrowsePdb() {
  if (!m_helperSelected) {
    Stop(kSelectHelperFirstMessage);
    return;
  }
  FileDialogOptions options;
  options.filter = kPdbFileFilter;
  options.defaultExtension = "pdb";
  options.initialName = m_pdbFileName;
  const std::optional<std::string> path = GetHost().ChooseFile(options);
  if (!path) return;

  std::string folder;
  std::string fileName;
  SplitPath(*path, folder, fileName);
  if (CheckAndShowPdb(DatabaseNameOf(fileName), folder, *path) == PdbMatch::Incompatible) {
    Stop(kIncompatibleMessage);
  }
}

PdbMatch PDBView::CheckAndShowPdb(const std::string& name, const std::string& folder, const std::string& path) {
  PdbContents contents;
  std::unique_ptr<WaitWindow> wait;
  // The Helper file is read again from the path shown, as selected.
  const PdbMatch match = LoadPdbContents(m_helper, GetEdit(v::kHelperPath).GetText(), name, folder, contents,
                                         [this, &wait, &path] {
                                           GetEdit(v::kPdbPath).SetText(path);
                                           wait = GetHost().ShowWaitWindow();
                                         });
  if (match == PdbMatch::Incompatible) return match;
  if (match == PdbMatch::Shown) ShowRecords(std::move(contents));
  wait.reset();
  if (match == PdbMatch::Unreadable) {
    ResetView();
    Stop(kUnableToViewMessage);
  }
  return match;
}

void PDBView::ShowRecords(PdbContents contents) {
  ResetView();
  GetEdit(v::kTotalFields).SetText(std::to_string(contents.fields.size()));
  GetEdit(v::kName).SetText(contents.name);
  GetEdit(v::kCreator).SetText(contents.creator);
  GetEdit(v::kType).SetText(contents.type);
  GetEdit(v::kTotalRecords).SetText(std::to_string(contents.recordCount));
  GetListView(v::kRecordList).SetModel(std::make_shared<RecordListModel>(std::move(contents)));
}

void PDBView::ResetView() {
  GetListView(v::kRecordList).Clear();
  for (int id : {v::kName, v::kType, v::kCreator, v::kTotalRecords, v::kTotalFields}) GetEdit(id).SetText("");
}

void PDBView::Stop(const std::string& text) { GetHost().ShowMessage(text, kMessageCaption, MessageIcon::Stop); }

}  // namespace tallowick
