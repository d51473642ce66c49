// What only the Win32 back end does: dialog templates in memory, the routing
// of WM_COMMAND / WM_NOTIFY, the owner-data list view, sorted lists, the
// message-box flags, the filter text and the program's resources.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "ui/dialog_window.h"
#include "ui/list_view_table.h"
#include "ui/win32/win32_dialog_template.h"
#include "ui/win32/win32_file_dialog.h"
#include "ui/win32/win32_host.h"
#include "ui/win32/win32_list_view.h"
#include "ui/win32/win32_message_box.h"
#include "ui/win32/win32_notifications.h"
#include "ui/win32/win32_window_peer.h"

namespace tallowick {
namespace {

// A hidden dialog built from a template; its procedure hands WM_COMMAND and
// WM_NOTIFY to the peer, as the host's procedures do.
struct Built {
  HWND window = nullptr;
  std::unique_ptr<Win32WindowPeer> peer;
  ~Built() {
    peer.reset();
    if (window != nullptr) ::DestroyWindow(window);
  }
};

INT_PTR CALLBACK ForwardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* built = reinterpret_cast<Built*>(::GetWindowLongPtrW(window, DWLP_USER));
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    return TRUE;
  }
  if (built == nullptr || !built->peer) return FALSE;
  if (message == WM_COMMAND) return built->peer->HandleCommand(wParam, lParam) ? TRUE : FALSE;
  if (message == WM_NOTIFY) {
    const auto result = built->peer->HandleNotify(*reinterpret_cast<NMHDR*>(lParam));
    if (!result) return FALSE;
    ::SetWindowLongPtrW(window, DWLP_MSGRESULT, *result);
    return TRUE;
  }
  return FALSE;
}

class Recorder : public DialogWindow {
 public:
  explicit Recorder(const DialogTemplate& layout) : DialogWindow(layout) {}
  bool OnCommand(int id, Notification code) override {
    heard.push_back({id, code});
    return true;
  }
  std::vector<std::pair<int, Notification>> heard;
};

void Build(Built& built, Recorder& owner, const DialogTemplate& layout) {
  DialogTemplate hidden = layout;
  hidden.frame = DialogFrame::Modal;  // a pop-up of its own, never shown
  const Win32DialogTemplate bytes(hidden, DialogFace());
  built.window = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), bytes.Get(), nullptr,
                                              ForwardProc, reinterpret_cast<LPARAM>(&built));
  ASSERT_NE(built.window, nullptr);
  built.peer = std::make_unique<Win32WindowPeer>(owner, layout, built.window);
  static Win32Host host;
  owner.AttachPeer(*built.peer, host);
}

class Win32BackEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
  }
};

TEST_F(Win32BackEnd, TemplatesBecomeTheControlsTheyDraw) {
  struct Case {
    int templateId;
    int controlId;
    const wchar_t* className;
    DWORD styleBits;  // must all be set
    const char* text;
  };
  const Case cases[] = {
      {res::kLoginDialog, res::login::kPassword, L"Edit", ES_PASSWORD | ES_AUTOHSCROLL, ""},
      {res::kLoginDialog, kIdOk, L"Button", BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"},
      {res::kGeneratorPage, res::generator::kQuery, L"Edit",
       ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL, ""},
      {res::kGeneratorPage, res::generator::kTableList, L"ListBox", LBS_EXTENDEDSEL | LBS_NOTIFY,
       ""},
      {res::kGeneratorPage, res::generator::kDataSource, L"ComboBox", CBS_DROPDOWN, ""},
      {res::kGeneratorPage, res::generator::kPreviewList, L"SysListView32",
       LVS_REPORT | LVS_OWNERDATA, ""},
      {res::kGeneratorPage, res::generator::kBrowse, L"Button", WS_VISIBLE, "&Browse"},
      {res::kViewerPage, res::viewer::kName, L"Edit", ES_READONLY, ""},
      {res::kViewerPage, res::viewer::kTextAs, L"ComboBox", CBS_DROPDOWNLIST, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.templateId) + "/" + std::to_string(c.controlId));
    const DialogTemplate& layout = res::DialogTemplateOf(c.templateId);
    Recorder owner(layout);
    Built built;
    Build(built, owner, layout);
    // Every control, those without an id too.
    int children = 0;
    for (HWND w = ::GetWindow(built.window, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT))
      ++children;
    EXPECT_EQ(children, static_cast<int>(layout.controls.size()));
    HWND control = ::GetDlgItem(built.window, c.controlId);
    ASSERT_NE(control, nullptr);
    wchar_t name[64] = {};
    ::GetClassNameW(control, name, 64);
    EXPECT_EQ(lstrcmpiW(name, c.className), 0);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE)) & c.styleBits,
              c.styleBits);
    EXPECT_EQ(owner.GetItem(c.controlId).GetText(), c.text);
  }
  // Hidden as drawn: ViewLog waits for a generation.
  const DialogTemplate& page = res::DialogTemplateOf(res::kGeneratorPage);
  Recorder owner(page);
  Built built;
  Build(built, owner, page);
  EXPECT_FALSE(owner.GetButton(res::generator::kViewLog).IsVisible());
  // The dialog's font is the template's face at its size.
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(built.window, WM_GETFONT, 0, 0)),
               sizeof(font), &font);
  EXPECT_EQ(std::wstring(font.lfFaceName), DialogFace());
}

TEST_F(Win32BackEnd, DialogFramesAndNotificationCodes) {
  DialogTemplate t;
  t.frame = DialogFrame::Child;
  EXPECT_EQ(DialogStyleOf(t) & (WS_CHILD | WS_POPUP | DS_SETFONT), WS_CHILD | DS_SETFONT);
  t.frame = DialogFrame::Modal;
  t.centred = true;
  EXPECT_EQ(DialogStyleOf(t) & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER),
            WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER);
  t.frame = DialogFrame::PopupNoTitle;
  EXPECT_EQ(DialogStyleOf(t) & (WS_POPUP | WS_CAPTION), static_cast<DWORD>(WS_POPUP));

  struct Code {
    ControlKind kind;
    UINT code;
    std::optional<Notification> expected;
  };
  const Code codes[] = {
      {ControlKind::PushButton, BN_CLICKED, Notification::Clicked},
      {ControlKind::Edit, EN_CHANGE, Notification::TextChange},
      {ControlKind::Edit, EN_UPDATE, std::nullopt},
      {ControlKind::ListBox, LBN_SELCHANGE, Notification::SelectionChange},
      {ControlKind::ListBox, LBN_DBLCLK, Notification::DoubleClick},
      {ControlKind::ComboBox, CBN_SELCHANGE, Notification::SelectionChange},
      {ControlKind::ComboBox, CBN_EDITCHANGE, Notification::TextChange},
      {ControlKind::ComboBox, CBN_DROPDOWN, std::nullopt},
      {ControlKind::Label, STN_CLICKED, std::nullopt},
  };
  for (const Code& c : codes) EXPECT_EQ(CommandNotification(c.kind, c.code), c.expected) << c.code;
}

TEST_F(Win32BackEnd, CommandsReachTheOwnerAsPagesExpect) {
  namespace g = res::generator;
  const DialogTemplate& layout = res::DialogTemplateOf(res::kGeneratorPage);
  Recorder owner(layout);
  Built built;
  Build(built, owner, layout);

  // Text set by the program notifies as typing does; list and combo changes do not.
  owner.GetEdit(g::kPdbName).SetText("Orders");
  owner.GetComboBox(g::kDataSource).AddString("b");
  owner.GetComboBox(g::kDataSource).SetCurSel(0);
  owner.GetListBox(g::kTableList).AddString("t");
  ASSERT_EQ(owner.heard.size(), 1u);
  EXPECT_EQ(owner.heard[0], std::make_pair(g::kPdbName, Notification::TextChange));

  // A click, a choice from the list; a code from a window that is not ours goes nowhere.
  HWND browse = ::GetDlgItem(built.window, g::kBrowse);
  HWND sources = ::GetDlgItem(built.window, g::kDataSource);
  ::SendMessageW(built.window, WM_COMMAND, MAKEWPARAM(g::kBrowse, BN_CLICKED),
                 reinterpret_cast<LPARAM>(browse));
  ::SetWindowTextW(sources, L"typed");
  ::SendMessageW(built.window, WM_COMMAND, MAKEWPARAM(g::kDataSource, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(sources));
  ::SendMessageW(built.window, WM_COMMAND, MAKEWPARAM(g::kBrowse, BN_CLICKED),
                 reinterpret_cast<LPARAM>(sources));
  ASSERT_EQ(owner.heard.size(), 3u);
  EXPECT_EQ(owner.heard[1], std::make_pair(g::kBrowse, Notification::Clicked));
  EXPECT_EQ(owner.heard[2], std::make_pair(g::kDataSource, Notification::SelectionChange));
  // The chosen entry is in the edit field when the page hears of it.
  EXPECT_EQ(owner.GetComboBox(g::kDataSource).GetText(), "b");
}

TEST_F(Win32BackEnd, SortedListsIgnoreLetterCaseAndKeepTheComboText) {
  namespace g = res::generator;
  const DialogTemplate& layout = res::DialogTemplateOf(res::kGeneratorPage);
  Recorder owner(layout);
  Built built;
  Build(built, owner, layout);
  ListBox tables = owner.GetListBox(g::kTableList);  // sorted
  for (const char* name : {"beta", "Alpha", "alpha", "Gamma", "Éclair"}) tables.AddString(name);
  EXPECT_EQ(tables.GetEntries(),
            (std::vector<std::string>{"Alpha", "alpha", "beta", "Gamma", "Éclair"}));
  tables.SetSelected(1);
  tables.SetSelected(3);
  EXPECT_EQ(tables.GetSelectedIndices(), (std::vector<int>{1, 3}));
  tables.SetSelected(-1, false);
  EXPECT_TRUE(tables.GetSelectedIndices().empty());

  ComboBox sources = owner.GetComboBox(g::kDataSource);
  sources.SetText("C:\\data\\orders.mdb");
  sources.AddString("zeta");
  sources.AddString("Alpha");
  sources.ResetContent();
  EXPECT_EQ(sources.GetText(), "C:\\data\\orders.mdb");
  EXPECT_EQ(sources.GetCount(), 0);
}

TEST_F(Win32BackEnd, TheVirtualListAsksForEachCell) {
  const DialogTemplate& layout = res::DialogTemplateOf(res::kViewerPage);
  Recorder owner(layout);
  Built built;
  Build(built, owner, layout);
  auto table = std::make_shared<ListViewTable>();
  for (int c = 0; c < 8; ++c) table->AddColumn("F" + std::to_string(c), 60, ColumnAlign::Right);
  table->ReserveRows(65535);
  for (int r = 0; r < 65535; ++r) table->AddRow({std::to_string(r)});
  table->SetText(65534, 7, "two\r\nlines\tand\x01");
  ListView records = owner.GetListView(res::viewer::kRecordList);
  records.SetModel(table);
  HWND list = ::GetDlgItem(built.window, res::viewer::kRecordList);
  EXPECT_EQ(ListView_GetItemCount(list), 65535);
  EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(list)), 8);
  const auto cell = [list](int row, int column) {
    wchar_t text[256] = {};
    ListView_GetItemText(list, row, column, text, 256);
    return std::wstring(text);
  };
  EXPECT_EQ(cell(65533, 0), L"65533");
  EXPECT_EQ(cell(65534, 7), L"two\u23CElines and\u2401");  // one line; the model keeps its text
  EXPECT_EQ(records.GetCellText(65534, 7), "two\r\nlines\tand\x01");
  // Rows added to the model show after Refresh; no columns, no rows.
  table->AddRow({"last"});
  records.Refresh();
  EXPECT_EQ(ListView_GetItemCount(list), 65536);
  records.Clear();
  EXPECT_EQ(ListView_GetItemCount(list), 0);
  EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(list)), 0);
}

TEST_F(Win32BackEnd, MessageBoxesFiltersAndResources) {
  struct Box {
    MessageIcon icon;
    MessageButtons buttons;
    UINT flags;
  };
  const Box boxes[] = {
      {MessageIcon::Stop, MessageButtons::Ok, MB_ICONHAND | MB_OK},        // 0x10
      {MessageIcon::Information, MessageButtons::Ok, MB_ICONINFORMATION},  // 0x40
      {MessageIcon::Stop, MessageButtons::YesNo, MB_ICONHAND | MB_YESNO},  // 0x14
      {MessageIcon::Exclamation, MessageButtons::OkCancel, MB_ICONEXCLAMATION | MB_OKCANCEL},
      {MessageIcon::Question, MessageButtons::YesNo, MB_ICONQUESTION | MB_YESNO},
      {MessageIcon::None, MessageButtons::Ok, MB_OK},
  };
  for (const Box& b : boxes) EXPECT_EQ(MessageBoxFlags(b.icon, b.buttons), b.flags);
  EXPECT_EQ(MessageBoxFlags(MessageIcon::Stop, MessageButtons::YesNo), 0x14u);
  EXPECT_EQ(MessageBoxResult(IDYES), kIdYes);
  EXPECT_EQ(MessageBoxResult(0), kIdCancel);  // the box could not be shown: nothing confirmed

  using namespace std::string_literals;
  EXPECT_EQ(OpenFileFilter("Access(*.mdb)|*.mdb|Both|*.db;*.sqlite||"),
            L"Access(*.mdb)\0*.mdb\0Both\0*.db;*.sqlite\0\0"s);
  EXPECT_EQ(OpenFileFilter(""), L"All Files (*.*)\0*.*\0\0"s);

  // The program icon, 32 x 32, its version and its manifest are in the module.
  HMODULE self = ::GetModuleHandleW(nullptr);
  HICON icon = static_cast<HICON>(
      ::LoadImageW(self, MAKEINTRESOURCEW(res::kProgramIcon), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(icon, &info));
  BITMAP mask{};
  ::GetObjectW(info.hbmMask, sizeof(mask), &mask);
  EXPECT_EQ(mask.bmWidth, 32);
  ::DeleteObject(info.hbmMask);
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  ::DestroyIcon(icon);
  EXPECT_NE(::FindResourceW(self, MAKEINTRESOURCEW(1), RT_VERSION), nullptr);
  EXPECT_NE(::FindResourceW(self, MAKEINTRESOURCEW(1), RT_MANIFEST), nullptr);
}

}  // namespace
}  // namespace tallowick
