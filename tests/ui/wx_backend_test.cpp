// The wx back end on a virtual display: the same behaviour the scripted host
// promises (notifications, sorting, limits, virtual lists, modal runs, the
// sheet's buttons and F1), through real wx controls and events.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/propdlg.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "ui/dialog.h"
#include "ui/list_view_table.h"
#include "ui/property_page.h"
#include "ui/property_sheet.h"
#include "ui/wx/desktop_opener.h"
#include "ui/wx/wx_assert.h"
#include "ui/wx/wx_host.h"
#include "ui/wx/wx_text.h"
#include "ui/wx/wx_window_peer.h"

namespace tallowick {
namespace {

namespace g = res::generator;

class CommandLog : public PropertyPage {
 public:
  CommandLog() : PropertyPage(res::DialogTemplateOf(res::kGeneratorPage)) {}
  bool OnCommand(int id, Notification code) override {
    commands.emplace_back(id, code);
    return PropertyPage::OnCommand(id, code);
  }
  std::vector<std::pair<int, Notification>> commands;
};

// A page built on a frame, as the sheet builds it on a notebook tab.
class WxPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_frame = new wxFrame(nullptr, wxID_ANY, "test");
    m_panel = new wxPanel(m_frame);
    m_peer = std::make_unique<WxWindowPeer>(m_page, m_page.Template(), m_panel);
    m_page.AttachPeer(*m_peer, m_host);
  }
  void TearDown() override {
    m_peer.reset();
    m_frame->Destroy();
  }
  wxWindow* Find(int id) { return m_panel->FindWindow(id); }

  WxHost m_host;
  CommandLog m_page;
  wxFrame* m_frame = nullptr;
  wxPanel* m_panel = nullptr;
  std::unique_ptr<WxWindowPeer> m_peer;
};

TEST_F(WxPageTest, EditTextSetByTheProgramNotifiesOtherControlsDoNot) {
  m_page.GetEdit(g::kCreator).SetText("HWRP");
  ASSERT_EQ(m_page.commands.size(), 1u);
  EXPECT_EQ(m_page.commands[0].first, g::kCreator);
  EXPECT_EQ(m_page.commands[0].second, Notification::TextChange);
  m_page.GetComboBox(g::kDataSource).SetText("/data/orders.mdb");
  m_page.GetComboBox(g::kDataSource).AddString("Sales");
  m_page.GetComboBox(g::kDataSource).SetCurSel(0);
  m_page.GetListBox(g::kTableList).AddString("Orders");
  m_page.GetListBox(g::kTableList).SetSelected(0);
  EXPECT_EQ(m_page.commands.size(), 1u);
  EXPECT_EQ(m_page.GetComboBox(g::kDataSource).GetText(), "Sales");
}

TEST_F(WxPageTest, ButtonAndListEventsReachOnCommand) {
  wxCommandEvent click(wxEVT_BUTTON, g::kFetch);
  click.SetEventObject(Find(g::kFetch));
  Find(g::kFetch)->GetEventHandler()->ProcessEvent(click);
  wxCommandEvent select(wxEVT_LISTBOX, g::kTableList);
  select.SetEventObject(Find(g::kTableList));
  Find(g::kTableList)->GetEventHandler()->ProcessEvent(select);
  ASSERT_EQ(m_page.commands.size(), 2u);
  EXPECT_EQ(m_page.commands[0], std::make_pair(g::kFetch, Notification::Clicked));
  EXPECT_EQ(m_page.commands[1], std::make_pair(g::kTableList, Notification::SelectionChange));
}

TEST_F(WxPageTest, SortedListsMatchTheScriptedHostsOrder) {
  ListBox tables = m_page.GetListBox(g::kTableList);
  for (const char* name : {"orders", "Customers", "Zeta", "alpha", "Beta"}) tables.AddString(name);
  EXPECT_EQ(tables.GetEntries(),
            (std::vector<std::string>{"alpha", "Beta", "Customers", "orders", "Zeta"}));
  ListBox fields = m_page.GetListBox(g::kAvailableFields);
  for (const char* name : {"Zip", "City"}) fields.AddString(name);
  EXPECT_EQ(fields.GetEntries(), (std::vector<std::string>{"Zip", "City"}));
  tables.SetSelected(1);
  tables.SetSelected(3);
  EXPECT_EQ(tables.GetSelectedIndices(), (std::vector<int>{1, 3}));
  tables.SetSelected(-1, false);
  EXPECT_TRUE(tables.GetSelectedIndices().empty());
}

TEST_F(WxPageTest, TheLimitHoldsForTypingNotForTextSetByTheProgram) {
  EditBox name = m_page.GetEdit(g::kPdbName);
  name.SetLimitText(4);
  name.SetText("ABCDEFG");
  EXPECT_EQ(name.GetText(), "ABCDEFG");
  name.SetText("AB");
  auto* edit = wxDynamicCast(Find(g::kPdbName), wxTextCtrl);
  ASSERT_NE(edit, nullptr);
  edit->AppendText("CDEFG");  // typed: the box takes no more than 4 characters
  EXPECT_LE(name.GetText().size(), 4u);
  EXPECT_EQ(name.GetText().substr(0, 2), "AB");
  EXPECT_EQ(name.GetLimitText(), 4u);
}

TEST_F(WxPageTest, VirtualListShows65535RowsAtOnce) {
  auto table = std::make_shared<ListViewTable>();
  for (int c = 0; c < 8; ++c) table->AddColumn("Column" + std::to_string(c));
  table->ReserveRows(65535);
  for (int r = 0; r < 65535; ++r) {
    std::vector<std::string> cells;
    for (int c = 0; c < 8; ++c) cells.push_back(std::to_string(r) + ":" + std::to_string(c));
    table->AddRow(std::move(cells));
  }
  auto* list = wxDynamicCast(Find(g::kPreviewList), wxListCtrl);
  ASSERT_NE(list, nullptr);
  const auto start = std::chrono::steady_clock::now();
  m_page.GetListView(g::kPreviewList).SetModel(table);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::milliseconds(500));
  EXPECT_EQ(list->GetItemCount(), 65535);
  EXPECT_EQ(list->GetColumnCount(), 8);
  EXPECT_EQ(FromWx(list->GetItemText(65534, 7)), "65534:7");
  wxListItem heading;
  heading.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_WIDTH);
  list->GetColumn(2, heading);
  EXPECT_EQ(FromWx(heading.GetText()), "Column2");
  EXPECT_EQ(heading.GetWidth(), 75);

  table->AddRow({"late"});
  EXPECT_EQ(list->GetItemCount(), 65535);  // until told
  m_page.GetListView(g::kPreviewList).Refresh();
  EXPECT_EQ(list->GetItemCount(), 65536);
  m_page.GetListView(g::kPreviewList).Clear();
  EXPECT_EQ(list->GetItemCount(), 0);
  EXPECT_EQ(list->GetColumnCount(), 0);
}

void SendComboEvent(wxComboBox* combo, wxEventType type) {
  wxCommandEvent event(type, combo->GetId());
  event.SetEventObject(combo);
  combo->GetEventHandler()->ProcessEvent(event);
}

// What GTK does when an entry of the dropped-down list is chosen: it makes
// that entry the active one (and says so only when it was not already).
void ChooseAsGtkDoes(wxComboBox* combo, int entry) {
  using SetActive = void (*)(void*, int);
  static const auto setActive =
      reinterpret_cast<SetActive>(dlsym(RTLD_DEFAULT, "gtk_combo_box_set_active"));
  ASSERT_NE(setActive, nullptr);
  setActive(combo->GetHandle(), entry);
}

TEST_F(WxPageTest, EveryChoiceFromTheListNotifiesTheSameEntryAgainToo) {
  ComboBox sources = m_page.GetComboBox(g::kDataSource);
  sources.AddString("Orders");
  sources.AddString("Sales");
  auto* combo = wxDynamicCast(Find(g::kDataSource), wxComboBox);
  ASSERT_NE(combo, nullptr);
  m_page.commands.clear();
  // The list drops down and closes; then GTK reports the choice, if any (-1: none).
  for (const int chosen : {1, 1, -1, 1}) {
    SendComboEvent(combo, wxEVT_COMBOBOX_DROPDOWN);
    SendComboEvent(combo, wxEVT_COMBOBOX_CLOSEUP);
    if (chosen >= 0) ChooseAsGtkDoes(combo, chosen);
    for (int i = 0; i < 3; ++i) wxYield();
    EXPECT_EQ(sources.GetCurSel(), 1) << chosen;
    EXPECT_EQ(sources.GetText(), "Sales") << chosen;
  }
  const auto choices = std::count(m_page.commands.begin(), m_page.commands.end(),
                                  std::make_pair(g::kDataSource, Notification::SelectionChange));
  EXPECT_EQ(choices, 3);
  EXPECT_EQ(m_page.commands.size(), 3u);  // no text change either
}

TEST_F(WxPageTest, CellsAreDrawnOnOneLineTheModelKeepsItsText) {
  struct Case {
    std::string held;
    std::string shown;
  };
  const std::vector<Case> cases = {{"plain", "plain"},
                                   {"two\nlines", "two\u23CElines"},
                                   {"crlf\r\nend\r", "crlf\u23CEend\u23CE"},
                                   {"cr\rlf\n\ndone", "cr\u23CElf\u23CE\u23CEdone"},
                                   {"tab\there", "tab here"},
                                   {std::string("nul\0bell\a", 9), "nul\u2400bell\u2407"},
                                   {"del\x7f", "del\u2421"},
                                   {"\u00dcbersicht \u65e5\u672c", "\u00dcbersicht \u65e5\u672c"}};
  auto table = std::make_shared<ListViewTable>();
  table->AddColumn("Value");
  for (const Case& c : cases) table->AddRow({c.held});
  m_page.GetListView(g::kPreviewList).SetModel(table);
  auto* list = wxDynamicCast(Find(g::kPreviewList), wxListCtrl);
  ASSERT_NE(list, nullptr);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(FromWx(list->GetItemText(static_cast<long>(i), 0)), cases[i].shown) << i;
    EXPECT_EQ(table->Text(i, 0), cases[i].held) << i;
  }
}

TEST_F(WxPageTest, HiddenAndDisabledFollowTheTemplateAndTheProgram) {
  EXPECT_FALSE(m_page.GetButton(g::kViewLog).IsVisible());
  m_page.GetButton(g::kViewLog).Show();
  EXPECT_TRUE(m_page.GetButton(g::kViewLog).IsVisible());
  m_page.GetItem(g::kQuery).Enable(false);
  EXPECT_FALSE(m_page.GetItem(g::kQuery).IsEnabled());
  EXPECT_EQ(m_page.GetButton(g::kGenerate).GetText(), "&Generate");
}

class ProbeLogin : public Dialog {
 public:
  ProbeLogin() : Dialog(res::DialogTemplateOf(res::kLoginDialog)) {}
  void DoDataExchange(DataExchange& dx) override {
    dx.Text(res::login::kUserName, userName);
    dx.Text(res::login::kPassword, password);
  }
  std::string userName = "preset";
  std::string password;
};

TEST(WxModalDialog, OkButtonSavesTheBoxesAndEndsTheRun) {
  WxHost host;
  ProbeLogin login;
  std::string shownAtStart;
  wxTheApp->CallAfter([&] {
    shownAtStart = login.GetEdit(res::login::kUserName).GetText();
    login.GetEdit(res::login::kUserName).SetText("sa");
    login.GetEdit(res::login::kPassword).SetText("secret");
    wxWindow* ok = wxWindow::FindWindowById(kIdOk);
    ASSERT_NE(ok, nullptr);
    wxCommandEvent click(wxEVT_BUTTON, kIdOk);
    click.SetEventObject(ok);
    ok->GetEventHandler()->ProcessEvent(click);
  });
  EXPECT_EQ(login.DoModal(host), kIdOk);
  EXPECT_EQ(shownAtStart, "preset");
  EXPECT_EQ(login.userName, "sa");
  EXPECT_EQ(login.password, "secret");
  EXPECT_FALSE(login.IsCreated());
}

TEST(WxModalDialog, EscapeIsCancel) {
  WxHost host;
  ProbeLogin login;
  wxTheApp->CallAfter([&] {
    login.GetEdit(res::login::kUserName).SetText("typed");
    wxWindow* edit = wxWindow::FindWindowById(res::login::kUserName);
    ASSERT_NE(edit, nullptr);
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(edit);
    wxGetTopLevelParent(edit)->GetEventHandler()->ProcessEvent(escape);
  });
  EXPECT_EQ(login.DoModal(host), kIdCancel);
  EXPECT_EQ(login.userName, "preset");
}

// The shown modal dialog with this caption, or null.
wxDialog* ShownDialog(const std::string& caption) {
  for (wxWindow* top : wxTopLevelWindows) {
    auto* dialog = wxDynamicCast(top, wxDialog);
    if (dialog != nullptr && dialog->IsModal() && FromWx(dialog->GetTitle()) == caption)
      return dialog;
  }
  return nullptr;
}

wxStaticBitmap* PictureOf(wxWindow* window) {
  for (wxWindow* child : window->GetChildren()) {
    if (auto* picture = wxDynamicCast(child, wxStaticBitmap)) return picture;
  }
  return nullptr;
}

TEST(WxMessageBox, EachIconShowsItsOwnPictureAndEachButtonAnswers) {
  struct Case {
    MessageIcon icon;
    MessageButtons buttons;
    int press;  // a wx button id, or WXK_ESCAPE
    int result;
  };
  const Case cases[] = {
      {MessageIcon::Stop, MessageButtons::Ok, wxID_OK, kIdOk},
      {MessageIcon::Information, MessageButtons::Ok, WXK_ESCAPE, kIdOk},
      {MessageIcon::Question, MessageButtons::YesNo, wxID_YES, kIdYes},
      {MessageIcon::Question, MessageButtons::YesNo, wxID_NO, kIdNo},
      {MessageIcon::Exclamation, MessageButtons::YesNo, WXK_ESCAPE, kIdNo},
      {MessageIcon::Exclamation, MessageButtons::OkCancel, wxID_CANCEL, kIdCancel},
      {MessageIcon::None, MessageButtons::OkCancel, WXK_ESCAPE, kIdCancel},
  };
  WxHost host;
  std::vector<std::pair<MessageIcon, wxImage>> pictures;
  for (const Case& c : cases) {
    bool shown = false;
    std::string text;
    wxTheApp->CallAfter([&] {
      wxDialog* box = ShownDialog("Tallowick");
      ASSERT_NE(box, nullptr);
      shown = true;
      for (wxWindow* child : box->GetChildren()) {
        if (wxDynamicCast(child, wxStaticText) != nullptr) text = FromWx(child->GetLabel());
      }
      wxStaticBitmap* picture = PictureOf(box);
      EXPECT_EQ(picture != nullptr, c.icon != MessageIcon::None);
      if (picture != nullptr && picture->GetBitmap().IsOk())
        pictures.emplace_back(c.icon, picture->GetBitmap().ConvertToImage());
      if (c.press == WXK_ESCAPE) {
        wxKeyEvent escape(wxEVT_CHAR_HOOK);
        escape.m_keyCode = WXK_ESCAPE;
        escape.SetEventObject(box);
        box->GetEventHandler()->ProcessEvent(escape);
      } else {
        wxWindow* button = box->FindWindow(c.press);
        ASSERT_NE(button, nullptr);
        wxCommandEvent click(wxEVT_BUTTON, c.press);
        click.SetEventObject(button);
        button->GetEventHandler()->ProcessEvent(click);
      }
    });
    EXPECT_EQ(host.ShowMessage("Database connected...", "Tallowick", c.icon, c.buttons), c.result)
        << static_cast<int>(c.icon) << " " << c.press;
    EXPECT_TRUE(shown);
    EXPECT_EQ(text, "Database connected...");
  }
  // Every kind of box shows a picture of its own.
  ASSERT_EQ(pictures.size(), 6u);
  for (const auto& [icon, picture] : pictures) {
    for (const auto& [other, otherPicture] : pictures) {
      if (icon == other) continue;
      const bool same = picture.GetSize() == otherPicture.GetSize() &&
                        std::equal(picture.GetData(),
                                   picture.GetData() + picture.GetWidth() * picture.GetHeight() * 3,
                                   otherPicture.GetData());
      EXPECT_FALSE(same) << static_cast<int>(icon) << " looks like " << static_cast<int>(other);
    }
  }
}

TEST(WxDesktop, OpeningCountsOnlyWhenTheOpenerAcceptsTheFile) {
  char pattern[] = "/tmp/tallowick-opener-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::filesystem::path folder = pattern;
  struct Case {
    const char* name;
    const char* script;  // null: no such program
    bool opened;
  };
  const Case cases[] = {
      {"accepts", "[ \"$1\" = /the/file.log ] && exit 0; exit 9", true},
      {"has no program for it", "exit 4", false},
      {"stays with the file", "exec sleep 5", true},
      {"is missing", nullptr, false},
  };
  for (const Case& c : cases) {
    const std::filesystem::path opener = folder / c.name;
    if (c.script != nullptr) {
      std::ofstream(opener) << "#!/bin/sh\n" << c.script << "\n";
      std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    }
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(
        OpenWithDesktopProgram("/the/file.log", opener.string(), std::chrono::milliseconds(500)),
        c.opened)
        << c.name;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << c.name;
  }
  std::filesystem::remove_all(folder);
}

class HelpSheet : public PropertySheet {
 public:
  HelpSheet() : PropertySheet("Tallowick") {
    SetHasHelp(true);
    AddPage(m_generator);
    AddPage(m_viewer);
  }
  bool OnInitDialog() override {
    GetButton(kIdOk).Show(false);
    GetButton(kIdCancel).SetText("&Close");
    return true;
  }
  void OnHelp() override { ++helpButton; }
  bool OnHelpInfo() override {
    ++f1;
    return true;
  }
  int helpButton = 0;
  int f1 = 0;

 private:
  PropertyPage m_generator{res::DialogTemplateOf(res::kGeneratorPage)};
  PropertyPage m_viewer{res::DialogTemplateOf(res::kViewerPage)};
};

TEST(WxSheetTest, TabsButtonsHelpAndF1) {
  WxHost host;
  HelpSheet sheet;
  std::vector<std::string> tabs;
  bool okShown = true;
  std::string closeText;
  host.CallWhenSheetShown([&](wxDialog& window) {
    auto* dialog = wxDynamicCast(&window, wxPropertySheetDialog);
    ASSERT_NE(dialog, nullptr);
    for (std::size_t i = 0; i < dialog->GetBookCtrl()->GetPageCount(); ++i) {
      tabs.push_back(FromWx(dialog->GetBookCtrl()->GetPageText(i)));
    }
    okShown = window.FindWindow(wxID_OK)->IsShown();
    closeText = FromWx(window.FindWindow(wxID_CANCEL)->GetLabel());
    wxCommandEvent help(wxEVT_BUTTON, wxID_HELP);
    help.SetEventObject(window.FindWindow(wxID_HELP));
    window.FindWindow(wxID_HELP)->GetEventHandler()->ProcessEvent(help);
    wxKeyEvent f1(wxEVT_CHAR_HOOK);
    f1.m_keyCode = WXK_F1;
    f1.SetEventObject(&window);
    window.GetEventHandler()->ProcessEvent(f1);
    sheet.SetActivePage(1);
    EXPECT_EQ(sheet.GetActiveIndex(), 1);
    wxCommandEvent close(wxEVT_BUTTON, wxID_CANCEL);
    close.SetEventObject(window.FindWindow(wxID_CANCEL));
    window.FindWindow(wxID_CANCEL)->GetEventHandler()->ProcessEvent(close);
  });
  EXPECT_EQ(sheet.DoModal(host), kIdCancel);
  EXPECT_EQ(tabs, (std::vector<std::string>{"PDB Generator", "PDB Viewer"}));
  EXPECT_FALSE(okShown);
  EXPECT_EQ(closeText, "&Close");
  EXPECT_EQ(sheet.helpButton, 1);
  EXPECT_EQ(sheet.f1, 1);
  EXPECT_FALSE(sheet.IsCreated());
}

// The wait window's own window: the shown top-level window without a title
// that is not `besides`.
wxWindow* ShownWaitWindow(wxWindow* besides) {
  for (wxWindow* top : wxTopLevelWindows) {
    auto* dialog = wxDynamicCast(top, wxDialog);
    if (dialog != nullptr && top != besides && top->IsShown() && dialog->GetTitle().empty())
      return top;
  }
  return nullptr;
}

TEST(WxWaitWindow, OneOpenedRightAfterAnotherDoesNotGoWithIt) {
  WxHost host;
  auto* frame = new wxFrame(nullptr, wxID_ANY, "owner");
  frame->Show();
  wxWindow* first = nullptr;
  wxWindow* inside = nullptr;
  {
    auto wait = host.ShowWaitWindow(res::DialogTemplateOf(res::kWaitDialog));
    first = ShownWaitWindow(nullptr);
    ASSERT_NE(first, nullptr);
    inside = first->GetChildren().GetFirst()->GetData();
  }
  // Gone from the screen, deleted only when the loop is idle again. A focus
  // event that arrives late gives it the focus meanwhile.
  ASSERT_FALSE(first->IsShown());
  inside->SetFocus();
  ASSERT_EQ(wxGetTopLevelParent(wxGetActiveWindow()), first);
  EXPECT_EQ(CurrentOwnerWindow(), frame);

  {
    // Opening yields to the loop, which deletes the first window meanwhile;
    // a child of it would go with it.
    auto wait = host.ShowWaitWindow(res::DialogTemplateOf(res::kWaitDialog));
    wxWindow* second = ShownWaitWindow(nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetParent(), frame);
  }
  for (int i = 0; i < 5; ++i) wxYield();
  EXPECT_EQ(ShownWaitWindow(nullptr), nullptr);
  frame->Destroy();
  wxYield();
}

TEST(WxWaitWindow, AHiddenActiveWindowPassesOwnershipToItsOwner) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "owner");
  frame->Show();
  auto* hidden = new wxDialog(frame, wxID_ANY, "hidden");
  auto* panel = new wxPanel(hidden);
  hidden->Show();
  panel->SetFocus();
  hidden->Hide();
  ASSERT_EQ(wxGetTopLevelParent(wxGetActiveWindow()), hidden);
  EXPECT_EQ(CurrentOwnerWindow(), frame);
  hidden->Destroy();
  frame->Destroy();
  wxYield();
}

}  // namespace
}  // namespace tallowick

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) return 2;
  tallowick::InstallFatalAssertHandler();
  const int result = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
