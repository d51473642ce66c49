// The templates as data: every dialog the program and the installer need, with
// the ids, kinds, texts and styles the pages rely on, laid out inside the dialog.
#include "resources/dialog_templates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "ui/dialog_template.h"

namespace tallowick {
namespace {

const DialogTemplate& Get(int id) {
  const DialogTemplate* found = res::FindDialogTemplate(id);
  if (found == nullptr) throw std::runtime_error("no template " + std::to_string(id));
  return *found;
}

void ExpectControl(const DialogTemplate& t, int id, ControlKind kind, const std::string& text) {
  const ControlTemplate* control = t.Find(id);
  ASSERT_NE(control, nullptr) << "template " << t.id << " lacks control " << id;
  EXPECT_EQ(control->kind, kind) << "control " << id;
  EXPECT_EQ(control->text, text) << "control " << id;
}

bool HasStatic(const DialogTemplate& t, ControlKind kind, const std::string& text) {
  for (const auto& control : t.controls) {
    if (control.id == kIdStatic && control.kind == kind && control.text == text) return true;
  }
  return false;
}

TEST(DialogTemplates, EveryTemplateIsPresentAndUnknownIdsAreNot) {
  for (int id : {129, 130, 131, 132, 133, 142})
    EXPECT_NE(res::FindDialogTemplate(id), nullptr) << id;
  EXPECT_EQ(res::FindDialogTemplate(128), nullptr);
  EXPECT_EQ(res::AllDialogTemplates().size(), 6u);
}

TEST(DialogTemplates, IdsAreUniqueAndControlsLieInsideTheirDialog) {
  for (const DialogTemplate* t : res::AllDialogTemplates()) {
    std::set<int> ids;
    for (const auto& control : t->controls) {
      if (control.id != kIdStatic) {
        EXPECT_TRUE(ids.insert(control.id).second) << t->id << ": id " << control.id;
      }
      EXPECT_GE(control.rect.x, 0);
      EXPECT_GE(control.rect.y, 0);
      EXPECT_GT(control.rect.width, 0);
      EXPECT_GT(control.rect.height, 0);
      EXPECT_LE(control.rect.x + control.rect.width, t->width)
          << t->id << ": \"" << control.text << "\"";
      if (control.kind !=
          ControlKind::ComboBox) {  // a combo box's height includes its dropped list
        EXPECT_LE(control.rect.y + control.rect.height, t->height)
            << t->id << ": \"" << control.text << "\"";
      }
    }
  }
}

TEST(DialogTemplates, GeneratorPageHoldsItsControls) {
  namespace g = res::generator;
  const DialogTemplate& t = Get(res::kGeneratorPage);
  EXPECT_EQ(t.caption, "PDB Generator");
  EXPECT_EQ(t.width, 633);  // wider than first drawn: a usual path fits "Save PDB At:"
  EXPECT_GE(t.Find(g::kOutputFolder)->rect.width, 4 * 50);
  EXPECT_EQ(t.height, 289);
  EXPECT_EQ(t.frame, DialogFrame::Child);
  ExpectControl(t, g::kBrowse, ControlKind::PushButton, "&Browse");
  ExpectControl(t, g::kAddFields, ControlKind::PushButton, ">>");
  ExpectControl(t, g::kRemoveFields, ControlKind::PushButton, "<<");
  ExpectControl(t, g::kFetch, ControlKind::PushButton, "&Fetch");
  ExpectControl(t, g::kBrowseOutput, ControlKind::PushButton, "...");
  ExpectControl(t, g::kGenerate, ControlKind::PushButton, "&Generate");
  ExpectControl(t, g::kViewLog, ControlKind::PushButton, "&ViewLog");
  ExpectControl(t, g::kQuery, ControlKind::Edit, "");
  ExpectControl(t, g::kPreviewList, ControlKind::ListView, "");
  for (int id : {g::kPdbName, g::kCreator, g::kType, g::kOutputFolder})
    ExpectControl(t, id, ControlKind::Edit, "");
  for (int id : {g::kTableList, g::kAvailableFields, g::kSelectedFields}) {
    ExpectControl(t, id, ControlKind::ListBox, "");
    EXPECT_TRUE(HasStyle(t.Find(id)->style, kExtendedSelection)) << id;
  }
  // Only the table list is sorted; the field lists keep query order.
  EXPECT_TRUE(HasStyle(t.Find(g::kTableList)->style, kSorted));
  EXPECT_FALSE(HasStyle(t.Find(g::kAvailableFields)->style, kSorted));
  EXPECT_FALSE(HasStyle(t.Find(g::kSelectedFields)->style, kSorted));
  const ControlStyles combo = t.Find(g::kDataSource)->style;
  EXPECT_EQ(t.Find(g::kDataSource)->kind, ControlKind::ComboBox);
  EXPECT_TRUE(HasStyle(combo, kDropDown) && HasStyle(combo, kSorted));
  const ControlStyles query = t.Find(g::kQuery)->style;
  EXPECT_TRUE(HasStyle(query, kMultiLine) && HasStyle(query, kVScroll) &&
              HasStyle(query, kHScroll) && HasStyle(query, kWantReturn));
  EXPECT_TRUE(HasStyle(t.Find(g::kViewLog)->style, kHidden));
  EXPECT_TRUE(HasStyle(t.Find(g::kPreviewList)->style, kReport));
  for (const char* group :
       {"Connection To Database", "Getting Database Contents", "Generate PDB"}) {
    EXPECT_TRUE(HasStatic(t, ControlKind::GroupBox, group)) << group;
  }
  for (const char* label :
       {"Select File Or DSN :", "Table List", "Available Fields", "Selected Fields",
        "PDB Name :", "Creator :", "Type :", "Save PDB At:"}) {
    EXPECT_TRUE(HasStatic(t, ControlKind::Label, label)) << label;
  }
}

TEST(DialogTemplates, ViewerPageHoldsReadOnlyBoxesAndItsTwoButtons) {
  namespace v = res::viewer;
  const DialogTemplate& t = Get(res::kViewerPage);
  EXPECT_EQ(t.caption, "PDB Viewer");
  EXPECT_EQ(t.width, 441);
  EXPECT_EQ(t.height, 287);
  ExpectControl(t, v::kSelectHelper, ControlKind::PushButton, "&Select");
  ExpectControl(t, v::kBrowsePdb, ControlKind::PushButton, "&Browse");
  for (int id : {v::kHelperPath, v::kPdbPath, v::kName, v::kCreator, v::kType, v::kTotalRecords,
                 v::kTotalFields}) {
    ExpectControl(t, id, ControlKind::Edit, "");
    EXPECT_TRUE(HasStyle(t.Find(id)->style, kReadOnly)) << id;
  }
  ExpectControl(t, v::kRecordList, ControlKind::ListView, "");
  EXPECT_TRUE(HasStatic(t, ControlKind::GroupBox, "Source"));
  EXPECT_TRUE(HasStatic(t, ControlKind::GroupBox, "PDB Inforamtion"));
  for (const char* label : {"Helper File :", "Actual PDB To View :", "Name :", "Creator :",
                            "Type :", "Total Records :", "Total Fields :"}) {
    EXPECT_TRUE(HasStatic(t, ControlKind::Label, label)) << label;
  }
}

TEST(DialogTemplates, ConnectionDialogAndWaitWindow) {
  const DialogTemplate& login = Get(res::kLoginDialog);
  EXPECT_EQ(login.caption, "Connection");
  EXPECT_EQ(login.frame, DialogFrame::Modal);
  ExpectControl(login, res::login::kUserName, ControlKind::Edit, "");
  ExpectControl(login, res::login::kPassword, ControlKind::Edit, "");
  EXPECT_TRUE(HasStyle(login.Find(res::login::kPassword)->style, kPassword));
  EXPECT_FALSE(HasStyle(login.Find(res::login::kUserName)->style, kPassword));
  ExpectControl(login, kIdOk, ControlKind::PushButton, "OK");
  EXPECT_TRUE(HasStyle(login.Find(kIdOk)->style, kDefaultButton));
  ExpectControl(login, kIdCancel, ControlKind::PushButton, "Cancel");
  EXPECT_TRUE(HasStatic(login, ControlKind::GroupBox, "Connection Status"));
  EXPECT_TRUE(HasStatic(login, ControlKind::Label, "User Name"));
  EXPECT_TRUE(HasStatic(login, ControlKind::Label, "Passward"));

  const DialogTemplate& wait = Get(res::kWaitDialog);
  EXPECT_EQ(wait.width, 217);
  EXPECT_EQ(wait.height, 43);
  EXPECT_EQ(wait.frame, DialogFrame::PopupNoTitle);
  EXPECT_TRUE(wait.centred);
  ASSERT_EQ(wait.controls.size(), 1u);
  EXPECT_EQ(wait.controls[0].text, "Please   Wait..........");
}

TEST(DialogTemplates, InstallerPagesKeepTheirPlaces) {
  const DialogTemplate& welcome = Get(res::kWelcomeDialog);
  const DialogTemplate& destination = Get(res::kDestinationDialog);
  for (const DialogTemplate* t : {&welcome, &destination}) {
    EXPECT_EQ(t->caption, "Tallowick Installer");
    EXPECT_EQ(t->width, 330);
    EXPECT_EQ(t->height, 188);
    EXPECT_EQ(t->frame, DialogFrame::Modal);
  }
  ExpectControl(welcome, kIdOk, ControlKind::PushButton, "&Next");
  EXPECT_TRUE(HasStyle(welcome.Find(kIdOk)->style, kDefaultButton));
  ExpectControl(welcome, kIdCancel, ControlKind::PushButton, "&Cancel");
  EXPECT_TRUE(HasStatic(welcome, ControlKind::Label,
                        "Welcome to Tallowick Setup Program.   This program will install Tallowick "
                        "on your computer"));
  const ControlTemplate* next = welcome.Find(kIdOk);
  EXPECT_EQ(next->rect.x, 197);
  EXPECT_EQ(next->rect.y, 163);
  EXPECT_EQ(next->rect.width, 50);
  EXPECT_EQ(next->rect.height, 14);

  namespace d = res::destination;
  ExpectControl(destination, d::kFolder, ControlKind::Label, "/opt/Tallowick");
  ExpectControl(destination, d::kBrowse, ControlKind::PushButton, "B&rowse");
  ExpectControl(destination, d::kBack, ControlKind::PushButton, "< &Back");
  ExpectControl(destination, kIdOk, ControlKind::PushButton, "&Next >");
  ExpectControl(destination, kIdCancel, ControlKind::PushButton, "&Cancel");
  EXPECT_TRUE(HasStatic(destination, ControlKind::GroupBox, "Destination Folder"));
  EXPECT_TRUE(HasStatic(destination, ControlKind::Label,
                        "Setup will install Tallowick in following folder."));
  const ControlTemplate* folder = destination.Find(d::kFolder);
  EXPECT_EQ(folder->rect.x, 121);
  EXPECT_EQ(folder->rect.y, 132);
  EXPECT_EQ(folder->rect.width, 137);
  EXPECT_EQ(folder->rect.height, 20);
  // The pictures point at image resources that exist.
  int pictures = 0;
  for (const DialogTemplate* t : {&welcome, &destination}) {
    for (const auto& control : t->controls) {
      if (control.kind == ControlKind::Bitmap || control.kind == ControlKind::Icon) {
        ++pictures;
        EXPECT_NE(control.image, 0);
      }
    }
  }
  EXPECT_EQ(pictures, 3);
}

// Where a control shows when its dialog opens: a combo box's template height
// is that of its dropped-down list; closed it is as tall as a button.
DialogRect Closed(const ControlTemplate& control) {
  DialogRect r = control.rect;
  if (control.kind == ControlKind::ComboBox) r.height = 14;
  return r;
}

bool Overlap(const DialogRect& a, const DialogRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool Inside(const DialogRect& inner, const DialogRect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y &&
         inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

const ControlTemplate* StaticControl(const DialogTemplate& t, ControlKind kind,
                                     const std::string& text) {
  for (const auto& control : t.controls) {
    if (control.id == kIdStatic && control.kind == kind && control.text == text) return &control;
  }
  return nullptr;
}

TEST(DialogTemplates, ControlsOfThePagesDoNotCoverEachOther) {
  for (int id : {res::kGeneratorPage, res::kViewerPage}) {
    const DialogTemplate& t = Get(id);
    for (std::size_t i = 0; i < t.controls.size(); ++i) {
      for (std::size_t j = i + 1; j < t.controls.size(); ++j) {
        const ControlTemplate& a = t.controls[i];
        const ControlTemplate& b = t.controls[j];
        if (a.kind == ControlKind::GroupBox || b.kind == ControlKind::GroupBox) continue;
        EXPECT_FALSE(Overlap(Closed(a), Closed(b)))
            << id << ": \"" << a.text << "\" (" << a.id << ") and \"" << b.text << "\" (" << b.id
            << ")";
      }
    }
  }
}

TEST(DialogTemplates, TheCharacterSetListsArePlainDropDownListsInTheirGroups) {
  struct Expected {
    int templateId;
    int listId;
    const char* label;
    const char* group;
  };
  for (const Expected& e :
       {Expected{res::kGeneratorPage, res::generator::kHandheldCharset,
                 "Handheld text :", "Generate PDB"},
        Expected{res::kViewerPage, res::viewer::kTextAs, "Text as :", "PDB Inforamtion"}}) {
    const DialogTemplate& t = Get(e.templateId);
    ExpectControl(t, e.listId, ControlKind::ComboBox, "");
    const ControlTemplate* list = t.Find(e.listId);
    ASSERT_NE(list, nullptr);
    // Not editable, and kept in the order the page lists the sets.
    EXPECT_FALSE(HasStyle(list->style, kDropDown)) << e.listId;
    EXPECT_FALSE(HasStyle(list->style, kSorted)) << e.listId;
    const ControlTemplate* label = StaticControl(t, ControlKind::Label, e.label);
    const ControlTemplate* group = StaticControl(t, ControlKind::GroupBox, e.group);
    ASSERT_NE(label, nullptr) << e.label;
    ASSERT_NE(group, nullptr) << e.group;
    EXPECT_TRUE(Inside(Closed(*list), group->rect)) << e.listId;
    EXPECT_TRUE(Inside(label->rect, group->rect)) << e.label;
    // Wide enough for the longest set's name (about 4 units a character).
    EXPECT_GE(list->rect.width,
              4 * static_cast<int>(std::string("Simplified Chinese (GB2312)").size()))
        << e.listId;
  }
  // The generator's new list comes before Generate in the tab order.
  const DialogTemplate& generator = Get(res::kGeneratorPage);
  std::vector<int> order;
  for (const auto& control : generator.controls) order.push_back(control.id);
  EXPECT_LT(std::find(order.begin(), order.end(), res::generator::kHandheldCharset),
            std::find(order.begin(), order.end(), res::generator::kGenerate));
}

}  // namespace
}  // namespace tallowick
