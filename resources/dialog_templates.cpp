// The dialog templates of the program and of the installer: every control with
// its id, kind, text, style and place (x, y, width, height in dialog units).
// For a combo box the height is that of the box with its list dropped down.
#include "resources/dialog_templates.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace tallowick {
namespace {

using K = ControlKind;

DialogTemplate Layout(int id, const char* caption, int width, int height, DialogFrame frame,
                      bool centred) {
  DialogTemplate t;
  t.id = id;
  t.caption = caption;
  t.width = width;
  t.height = height;
  t.frame = frame;
  t.centred = centred;
  return t;
}

DialogTemplate WaitWindowTemplate() {
  DialogTemplate t = Layout(res::kWaitDialog, "", 217, 43, DialogFrame::PopupNoTitle, true);
  t.controls = {
      {kIdStatic, K::Label, "Please   Wait..........", kCentred, {7, 17, 203, 10}},
  };
  return t;
}

DialogTemplate LoginTemplate() {
  DialogTemplate t = Layout(res::kLoginDialog, "Connection", 186, 94, DialogFrame::Modal, true);
  t.controls = {
      {kIdStatic, K::GroupBox, "Connection Status", kStyleNone, {7, 5, 172, 62}},
      {kIdStatic, K::Label, "User Name", kStyleNone, {16, 23, 44, 8}},
      {res::login::kUserName, K::Edit, "", kAutoHScroll, {64, 21, 106, 12}},
      {kIdStatic, K::Label, "Passward", kStyleNone, {16, 45, 44, 8}},
      {res::login::kPassword, K::Edit, "", kAutoHScroll | kPassword, {64, 43, 106, 12}},
      {kIdOk, K::PushButton, "OK", kDefaultButton, {38, 73, 50, 14}},
      {kIdCancel, K::PushButton, "Cancel", kStyleNone, {98, 73, 50, 14}},
  };
  return t;
}

DialogTemplate WelcomeTemplate() {
  DialogTemplate t =
      Layout(res::kWelcomeDialog, "Tallowick Installer", 330, 188, DialogFrame::Modal, true);
  t.controls = {
      {kIdOk, K::PushButton, "&Next", kDefaultButton, {197, 163, 50, 14}},
      {kIdCancel, K::PushButton, "&Cancel", kStyleNone, {256, 163, 50, 14}},
      {kIdStatic,
       K::Label,
       "Welcome to Tallowick Setup Program.   This program will install Tallowick on your computer",
       kStyleNone,
       {140, 20, 171, 28}},
      {kIdStatic, K::Icon, "", kStyleNone, {111, 21, 20, 20}, res::kInstallerIcon},
      {kIdStatic,
       K::Label,
       "This program is protected by copyright law and international treaties.",
       kStyleNone,
       {111, 74, 196, 21}},
      {kIdStatic,
       K::Label,
       "Unauthorized reproduction or distribution of this program, or any portion of it, will be "
       "prosecuted to the maximum extent possible under the law.",
       kStyleNone,
       {111, 106, 196, 35}},
      {kIdStatic, K::GroupBox, "", kStyleNone, {13, 7, 90, 146}},
      {kIdStatic, K::Bitmap, "", kStyleNone, {23, 18, 69, 129}, res::kInstallerPicture},
      {kIdStatic, K::GroupBox, "", kStyleNone, {7, 154, 316, 27}},
  };
  return t;
}

// The initial text of the destination page's folder; nothing else holds it.
#ifdef _WIN32
constexpr const char* kDefaultFolder = "C:\\Program Files\\Tallowick";
#else
constexpr const char* kDefaultFolder = "/opt/Tallowick";
#endif

DialogTemplate DestinationTemplate() {
  DialogTemplate t =
      Layout(res::kDestinationDialog, "Tallowick Installer", 330, 188, DialogFrame::Modal, true);
  t.controls = {
      {kIdStatic,
       K::Label,
       "Setup will install Tallowick in following folder.",
       kStyleNone,
       {117, 104, 174, 8}},
      {kIdStatic, K::GroupBox, "Destination Folder", kStyleNone, {110, 119, 208, 32}},
      {res::destination::kFolder, K::Label, kDefaultFolder, kStyleNone, {121, 132, 137, 20}},
      {res::destination::kBrowse, K::PushButton, "B&rowse", kStyleNone, {260, 130, 50, 14}},
      {res::destination::kBack, K::PushButton, "< &Back", kStyleNone, {135, 163, 50, 14}},
      {kIdOk, K::PushButton, "&Next >", kDefaultButton, {197, 163, 50, 14}},
      {kIdCancel, K::PushButton, "&Cancel", kStyleNone, {256, 163, 50, 14}},
      {kIdStatic, K::GroupBox, "", kStyleNone, {13, 7, 90, 146}},
      {kIdStatic, K::Bitmap, "", kStyleNone, {23, 18, 69, 129}, res::kInstallerPicture},
      {kIdStatic, K::GroupBox, "", kStyleNone, {7, 154, 316, 27}},
  };
  return t;
}

DialogTemplate GeneratorPageTemplate() {
  namespace g = res::generator;
  // Wider than the 441 units first drawn, so that "Save PDB At:" shows a
  // usual path (about 50 characters); the lists above share the extra width.
  DialogTemplate t =
      Layout(res::kGeneratorPage, "PDB Generator", 633, 289, DialogFrame::Child, false);
  t.controls = {
      // Connection To Database
      {kIdStatic, K::GroupBox, "Connection To Database", kGrowWidth, {7, 4, 619, 33}},
      {kIdStatic, K::Label, "Select File Or DSN :", kStyleNone, {15, 19, 72, 8}},
      {g::kDataSource,
       K::ComboBox,
       "",
       kDropDown | kSorted | kVScroll | kAutoHScroll | kGrowWidth,
       {90, 17, 460, 100}},
      {g::kBrowse, K::PushButton, "&Browse", kMoveRight, {558, 16, 60, 14}},
      // Getting Database Contents
      {kIdStatic, K::GroupBox, "Getting Database Contents", kGrowWidth, {7, 40, 619, 123}},
      {kIdStatic, K::Label, "Table List", kStyleNone, {15, 52, 120, 8}},
      {kIdStatic, K::Label, "Available Fields", kStyleNone, {214, 52, 120, 8}},
      {kIdStatic, K::Label, "Selected Fields", kStyleNone, {432, 52, 120, 8}},
      {g::kTableList, K::ListBox, "", kSorted | kExtendedSelection | kVScroll, {15, 62, 192, 52}},
      {g::kAvailableFields, K::ListBox, "", kExtendedSelection | kVScroll, {214, 62, 184, 52}},
      {g::kAddFields, K::PushButton, ">>", kStyleNone, {404, 68, 22, 14}},
      {g::kRemoveFields, K::PushButton, "<<", kStyleNone, {404, 88, 22, 14}},
      {g::kSelectedFields, K::ListBox, "", kExtendedSelection | kVScroll, {432, 62, 186, 52}},
      {g::kQuery,
       K::Edit,
       "",
       kMultiLine | kVScroll | kHScroll | kWantReturn | kGrowWidth,
       {15, 119, 535, 38}},
      {g::kFetch, K::PushButton, "&Fetch", kMoveRight, {558, 131, 60, 14}},
      // Preview and Generate PDB
      {g::kPreviewList,
       K::ListView,
       "",
       kReport | kBorder | kGrowWidth | kGrowHeight,
       {7, 167, 330, 116}},
      {kIdStatic, K::GroupBox, "Generate PDB", kMoveRight | kGrowHeight, {342, 163, 284, 120}},
      {kIdStatic, K::Label, "PDB Name :", kMoveRight, {349, 176, 46, 8}},
      {g::kPdbName, K::Edit, "", kAutoHScroll | kMoveRight, {397, 174, 130, 12}},
      {kIdStatic, K::Label, "Creator :", kMoveRight, {349, 192, 46, 8}},
      {g::kCreator, K::Edit, "", kAutoHScroll | kMoveRight, {397, 190, 70, 12}},
      {kIdStatic, K::Label, "Type :", kMoveRight, {349, 208, 46, 8}},
      {g::kType, K::Edit, "", kAutoHScroll | kMoveRight, {397, 206, 70, 12}},
      {kIdStatic, K::Label, "Save PDB At:", kMoveRight, {349, 224, 46, 8}},
      {g::kOutputFolder, K::Edit, "", kAutoHScroll | kMoveRight, {397, 222, 200, 12}},
      {g::kBrowseOutput, K::PushButton, "...", kMoveRight, {599, 221, 20, 14}},
      {kIdStatic, K::Label, "Handheld text :", kMoveRight, {349, 239, 118, 8}},
      {g::kHandheldCharset, K::ComboBox, "", kVScroll | kMoveRight, {349, 248, 118, 100}},
      {g::kGenerate, K::PushButton, "&Generate", kMoveRight | kMoveDown, {349, 265, 56, 14}},
      {g::kViewLog,
       K::PushButton,
       "&ViewLog",
       kHidden | kMoveRight | kMoveDown,
       {411, 265, 56, 14}},
  };
  return t;
}

DialogTemplate ViewerPageTemplate() {
  namespace v = res::viewer;
  DialogTemplate t = Layout(res::kViewerPage, "PDB Viewer", 441, 287, DialogFrame::Child, false);
  t.controls = {
      {kIdStatic, K::GroupBox, "Source", kGrowWidth, {7, 4, 427, 54}},
      {kIdStatic, K::Label, "Helper File :", kStyleNone, {15, 19, 78, 8}},
      {v::kHelperPath, K::Edit, "", kReadOnly | kAutoHScroll | kGrowWidth, {96, 17, 264, 12}},
      {v::kSelectHelper, K::PushButton, "&Select", kMoveRight, {366, 16, 60, 14}},
      {kIdStatic, K::Label, "Actual PDB To View :", kStyleNone, {15, 38, 78, 8}},
      {v::kPdbPath, K::Edit, "", kReadOnly | kAutoHScroll | kGrowWidth, {96, 36, 264, 12}},
      {v::kBrowsePdb, K::PushButton, "&Browse", kMoveRight, {366, 35, 60, 14}},
      {kIdStatic, K::GroupBox, "PDB Inforamtion", kGrowWidth, {7, 62, 427, 50}},
      {kIdStatic, K::Label, "Name :", kStyleNone, {15, 77, 28, 8}},
      {v::kName, K::Edit, "", kReadOnly | kAutoHScroll, {46, 75, 156, 12}},
      {kIdStatic, K::Label, "Creator :", kStyleNone, {212, 77, 34, 8}},
      {v::kCreator, K::Edit, "", kReadOnly | kAutoHScroll, {248, 75, 52, 12}},
      {kIdStatic, K::Label, "Type :", kStyleNone, {312, 77, 26, 8}},
      {v::kType, K::Edit, "", kReadOnly | kAutoHScroll, {340, 75, 52, 12}},
      {kIdStatic, K::Label, "Total Records :", kStyleNone, {15, 94, 56, 8}},
      {v::kTotalRecords, K::Edit, "", kReadOnly | kAutoHScroll, {74, 92, 60, 12}},
      {kIdStatic, K::Label, "Total Fields :", kStyleNone, {150, 94, 50, 8}},
      {v::kTotalFields, K::Edit, "", kReadOnly | kAutoHScroll, {202, 92, 60, 12}},
      {kIdStatic, K::Label, "Text as :", kStyleNone, {272, 94, 34, 8}},
      {v::kTextAs, K::ComboBox, "", kVScroll, {308, 91, 118, 100}},
      {v::kRecordList,
       K::ListView,
       "",
       kReport | kBorder | kGrowWidth | kGrowHeight,
       {7, 117, 427, 164}},
  };
  return t;
}

std::vector<DialogTemplate> BuildAll() {
  std::vector<DialogTemplate> all{WaitWindowTemplate(), LoginTemplate(),
                                  WelcomeTemplate(),    GeneratorPageTemplate(),
                                  ViewerPageTemplate(), DestinationTemplate()};
  std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
  return all;
}

const std::vector<DialogTemplate>& Templates() {
  static const std::vector<DialogTemplate> all = BuildAll();
  return all;
}

}  // namespace

namespace res {

const DialogTemplate* FindDialogTemplate(int templateId) {
  for (const auto& t : Templates()) {
    if (t.id == templateId) return &t;
  }
  return nullptr;
}

const DialogTemplate& DialogTemplateOf(int templateId) {
  const DialogTemplate* found = FindDialogTemplate(templateId);
  if (found == nullptr) throw std::logic_error("no dialog template " + std::to_string(templateId));
  return *found;
}

std::vector<const DialogTemplate*> AllDialogTemplates() {
  std::vector<const DialogTemplate*> all;
  for (const auto& t : Templates()) all.push_back(&t);
  return all;
}

}  // namespace res
}  // namespace tallowick
