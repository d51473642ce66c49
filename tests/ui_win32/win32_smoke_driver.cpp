#include "tests/ui_win32/win32_smoke_driver.h"

#include <commctrl.h>
#include <prsht.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

#include "platform/wide_text.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "ui/standard_ids.h"

namespace tallowick::smoke {
namespace {

namespace g = res::generator;
namespace v = res::viewer;
using platform::Narrow;
using platform::Widen;

// The text of a message box.
constexpr int kMessageTextId = 0xFFFF;
// The file name box of the open-file dialog (explorer style, and the old one).
constexpr int kFileNameCombo = 1148;
constexpr int kFileNameEdit = 1152;

}  // namespace

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds patience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

std::string TextOf(HWND window) {
  wchar_t buffer[4096] = {};
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer),
                             SMTO_ABORTIFHUNG, 5000, &copied))
    return {};
  return Narrow(std::wstring_view(buffer, copied));
}

void SetText(HWND window, const std::string& text) {
  const std::wstring wide = Widen(text);
  ::SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

bool IsShown(HWND window) { return (::GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

// A click as the button sends it: WM_COMMAND to its window, posted, so that a
// modal box it opens does not hold this thread.
void Click(HWND window, int id) {
  ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
}

namespace {

struct DialogSearch {
  HWND except;
  const std::function<bool(HWND)>* wanted;
  HWND found = nullptr;
};

// A named callback: on 32-bit Windows a lambda converts only to a cdecl
// pointer, and EnumThreadWindows calls stdcall.
BOOL CALLBACK VisitThreadWindow(HWND window, LPARAM data) {
  auto& s = *reinterpret_cast<DialogSearch*>(data);
  if (window == s.except || !::IsWindowVisible(window) || ClassOf(window) != L"#32770") return TRUE;
  if (!(*s.wanted)(window)) return TRUE;
  s.found = window;
  return FALSE;
}

}  // namespace

// The dialogs of the program's thread other than the sheet.
HWND FindDialog(DWORD thread, HWND sheet, const std::function<bool(HWND)>& wanted) {
  DialogSearch search{sheet, &wanted};
  ::EnumThreadWindows(thread, VisitThreadWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Waits for a message box, reads it and answers it with OK.
std::optional<MessageBoxSeen> AnswerMessageBox(DWORD thread, HWND sheet) {
  HWND box = nullptr;
  const auto isBox = [](HWND w) { return ::GetDlgItem(w, kMessageTextId) != nullptr; };
  if (!WaitFor([&] { return (box = FindDialog(thread, sheet, isBox)) != nullptr; })) return {};
  MessageBoxSeen seen;
  seen.text = TextOf(::GetDlgItem(box, kMessageTextId));
  // The icon: a static of type SS_ICON (id 20 on Windows, another under Wine).
  for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == L"Static" &&
        (::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      seen.icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
  }
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  WaitFor([&] { return !::IsWindow(box); });
  return seen;
}

// Waits for the open-file dialog, types `path` and presses its Open button.
bool AnswerOpenDialog(DWORD thread, HWND sheet, const std::string& path) {
  HWND dialog = nullptr;
  const auto isOpen = [](HWND w) {
    return ::GetDlgItem(w, kFileNameCombo) != nullptr || ::GetDlgItem(w, kFileNameEdit) != nullptr;
  };
  if (!WaitFor([&] { return (dialog = FindDialog(thread, sheet, isOpen)) != nullptr; }))
    return false;
  HWND name = ::GetDlgItem(dialog, kFileNameCombo);
  if (name == nullptr) name = ::GetDlgItem(dialog, kFileNameEdit);
  SetText(name, path);
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return WaitFor([&] { return !::IsWindow(dialog); });
}

int ItemCount(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::string CellText(HWND list, int row, int column) {
  wchar_t buffer[1024] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 1024;
  const auto length = ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                     reinterpret_cast<LPARAM>(&item));
  return Narrow(std::wstring_view(buffer, static_cast<std::size_t>(length)));
}

int ColumnCount(HWND list) {
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  return header == nullptr ? 0 : static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

const wchar_t* ExpectedClass(ControlKind kind) {
  switch (kind) {
    case ControlKind::GroupBox:
    case ControlKind::PushButton:
      return L"Button";
    case ControlKind::Edit:
      return L"Edit";
    case ControlKind::ComboBox:
      return L"ComboBox";
    case ControlKind::ListBox:
      return L"ListBox";
    case ControlKind::ListView:
      return L"SysListView32";
    default:
      return L"Static";
  }
}

// Every control of the template, in creation order: id, class, text of the
// labels, frames and buttons, hidden or shown.
void CheckTemplate(HWND page, int templateId, Report& report) {
  const DialogTemplate& layout = res::DialogTemplateOf(templateId);
  const std::string name = "template " + std::to_string(templateId);
  HWND child = ::GetWindow(page, GW_CHILD);
  for (const ControlTemplate& control : layout.controls) {
    const std::string what = name + " control " + std::to_string(control.id) + " \"" +
                             control.text + "\" (" + ControlKindName(control.kind) + ")";
    if (!report.Check(child != nullptr, what + " exists")) return;
    report.Check(static_cast<int>(::GetDlgCtrlID(child)) == control.id, what + ": id");
    report.Check(lstrcmpiW(ClassOf(child).c_str(), ExpectedClass(control.kind)) == 0,
                 what + ": window class " + Narrow(ClassOf(child)));
    if (control.kind == ControlKind::Label || control.kind == ControlKind::GroupBox ||
        control.kind == ControlKind::PushButton)
      report.Check(TextOf(child) == control.text, what + ": text \"" + TextOf(child) + "\"");
    report.Check(IsShown(child) != HasStyle(control.style, kHidden), what + ": shown as drawn");
    child = ::GetWindow(child, GW_HWNDNEXT);
  }
  report.Check(child == nullptr, name + ": no control beyond the template's");
  // The page holds the template at its own size (dialog units at the font).
  RECT drawn{0, 0, layout.width, layout.height};
  ::MapDialogRect(page, &drawn);
  RECT client{};
  ::GetClientRect(page, &client);
  report.Check(client.right >= drawn.right && client.bottom >= drawn.bottom,
               name + ": " + std::to_string(layout.width) + " x " + std::to_string(layout.height) +
                   " dialog units are " + std::to_string(drawn.right) + " x " +
                   std::to_string(drawn.bottom) + " pixels; the page is " +
                   std::to_string(client.right) + " x " + std::to_string(client.bottom));
}

bool SaveScreenshot(HWND window, const std::string& path) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  RECT rect{};
  ::GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::SelectObject(memory, old);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) / 4 * 4;
  std::vector<char> pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
  const int lines = ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                                reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  if (lines != height) return false;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  std::ofstream out(std::filesystem::path(Widen(path)), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::path(Widen(path)), error);
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

namespace {

void CheckSheet(HWND sheet, Report& report) {
  report.Check(TextOf(sheet) == "Tallowick", "sheet caption \"" + TextOf(sheet) + "\"");
  HWND tabs = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
  report.Check(tabs != nullptr && TabCtrl_GetItemCount(tabs) == 2, "two tabs");
  const char* tabTexts[] = {"PDB Generator", "PDB Viewer"};
  for (int i = 0; tabs != nullptr && i < 2; ++i) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    ::SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    report.Check(Narrow(text) == tabTexts[i],
                 "tab " + std::to_string(i) + " \"" + Narrow(text) + "\"");
  }
  HWND ok = ::GetDlgItem(sheet, kIdOk);
  HWND close = ::GetDlgItem(sheet, kIdCancel);
  HWND help = ::GetDlgItem(sheet, kIdHelp);
  report.Check(ok == nullptr || !IsShown(ok), "OK hidden");
  report.Check(close != nullptr && IsShown(close) && TextOf(close) == "&Close",
               "Cancel reads \"&Close\"");
  report.Check(help != nullptr && IsShown(help) && TextOf(help) == "He&lp", "Help reads \"He&lp\"");
  constexpr int kApplyNow = 0x3021;
  HWND apply = ::GetDlgItem(sheet, kApplyNow);
  report.Check(apply == nullptr || !IsShown(apply), "no Apply button");
  report.Check(::SendMessageW(sheet, WM_GETICON, ICON_BIG, 0) != 0 &&
                   ::SendMessageW(sheet, WM_GETICON, ICON_SMALL, 0) != 0,
               "the program icon on the title bar and task bar");
  RECT rect{};
  ::GetWindowRect(sheet, &rect);
  report.Check(rect.right - rect.left <= ::GetSystemMetrics(SM_CXSCREEN) &&
                   rect.bottom - rect.top <= ::GetSystemMetrics(SM_CYSCREEN),
               "the sheet (" + std::to_string(rect.right - rect.left) + " x " +
                   std::to_string(rect.bottom - rect.top) + " pixels) fits the screen");
}

void DriveGenerator(HWND sheet, HWND page, DWORD thread, const SmokeSettings& s, Report& report) {
  const HICON informationIcon = ::LoadIconW(nullptr, IDI_INFORMATION);
  const HICON exclamationIcon = ::LoadIconW(nullptr, IDI_EXCLAMATION);
  report.Check(TextOf(::GetDlgItem(page, g::kCreator)) == "HWRP", "Creator starts with HWRP");
  report.Check(TextOf(::GetDlgItem(page, g::kType)) == "HWRP", "Type starts with HWRP");
  report.Check(!TextOf(::GetDlgItem(page, g::kOutputFolder)).empty(),
               "Save PDB At: starts with the working folder \"" +
                   TextOf(::GetDlgItem(page, g::kOutputFolder)) + "\"");
  report.Check(!::IsWindowEnabled(::GetDlgItem(page, g::kFetch)) &&
                   !::IsWindowEnabled(::GetDlgItem(page, g::kGenerate)) &&
                   !::IsWindowEnabled(::GetDlgItem(page, g::kQuery)),
               "query box, Fetch and Generate disabled until connected");

  // F1 on a page and the Help button: no Help.html here, so the page says where it looked.
  // F1 on a control: the system sends it WM_HELP, which goes up to the page.
  // (Sent from a thread of its own: it returns only once the box is answered.)
  HWND nameBox = ::GetDlgItem(page, g::kPdbName);
  std::thread f1([nameBox] {
    HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, g::kPdbName, nameBox, 0, {0, 0}};
    ::SendMessageW(nameBox, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  });
  auto seen = AnswerMessageBox(thread, sheet);
  f1.join();
  report.Check(seen && seen->text.rfind("The help page was not found.", 0) == 0 &&
                   seen->icon == exclamationIcon,
               "F1 looks for Help.html (exclamation): \"" + (seen ? seen->text : "") + "\"");
  Click(sheet, kIdHelp);
  seen = AnswerMessageBox(thread, sheet);
  report.Check(seen && seen->text.rfind("The help page was not found.", 0) == 0,
               "He&lp looks for Help.html too");

  Click(page, g::kBrowse);
  report.Check(AnswerOpenDialog(thread, sheet, s.database),
               "open-file dialog answered with " + s.database);
  seen = AnswerMessageBox(thread, sheet);
  if (!report.Check(
          seen && seen->text == "Database connected..." && seen->icon == informationIcon,
          "connected (information icon): \"" + (seen ? seen->text : "") + "\" icon " +
              std::to_string(reinterpret_cast<std::uintptr_t>(seen ? seen->icon : nullptr)) +
              " information " + std::to_string(reinterpret_cast<std::uintptr_t>(informationIcon))))
    return;
  HWND tables = ::GetDlgItem(page, g::kTableList);
  report.Check(::SendMessageW(tables, LB_GETCOUNT, 0, 0) > 0, "tables listed");
  report.Check(::IsWindowEnabled(::GetDlgItem(page, g::kFetch)) != FALSE,
               "Fetch enabled once connected");

  SetText(::GetDlgItem(page, g::kQuery), s.query);
  Click(page, g::kFetch);
  HWND preview = ::GetDlgItem(page, g::kPreviewList);
  const bool previewed =
      WaitFor([&] { return ItemCount(preview) == static_cast<int>(s.expectedRows); });
  report.Check(previewed, "Fetch shows " + std::to_string(s.expectedRows) +
                              " rows (shown: " + std::to_string(ItemCount(preview)) + ")");
  report.Check(ColumnCount(preview) > 0 && !CellText(preview, 0, 0).empty(),
               "preview columns and first cell \"" + CellText(preview, 0, 0) + "\"");

  SetText(::GetDlgItem(page, g::kPdbName), s.pdbName);
  SetText(::GetDlgItem(page, g::kOutputFolder), s.outputFolder);
  Click(page, g::kGenerate);
  seen = AnswerMessageBox(thread, sheet);
  const std::string expected = "PDB \"" + s.pdbName + ".pdb\" Generated At ";
  report.Check(seen && seen->text.rfind(expected, 0) == 0 && seen->icon == informationIcon,
               "generated (information icon): \"" + (seen ? seen->text : "") + "\"");
  report.Check(IsShown(::GetDlgItem(page, g::kViewLog)), "&ViewLog shown after Generate");
  report.Check(FileExists(Join(s.outputFolder, s.pdbName + ".pdb")) &&
                   FileExists(Join(s.outputFolder, s.pdbName + "Helper.mhl")),
               "the PDB and its Helper file are written");
  report.Check(SaveScreenshot(sheet, Join(s.shotsFolder, "generator.bmp")), "generator.bmp");
}

void DriveViewer(HWND sheet, HWND page, DWORD thread, const SmokeSettings& s, Report& report) {
  ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
  report.Check(reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)) == page,
               "the viewer's tab comes on top");
  Click(page, v::kSelectHelper);
  report.Check(AnswerOpenDialog(thread, sheet, Join(s.outputFolder, s.pdbName + "Helper.mhl")),
               "Helper file chosen");
  const bool named = WaitFor([&] { return TextOf(::GetDlgItem(page, v::kName)) == s.pdbName; });
  report.Check(named, "Name : shows \"" + TextOf(::GetDlgItem(page, v::kName)) + "\"");
  Click(page, v::kBrowsePdb);
  report.Check(AnswerOpenDialog(thread, sheet, Join(s.outputFolder, s.pdbName + ".pdb")),
               "PDB chosen");
  HWND records = ::GetDlgItem(page, v::kRecordList);
  const bool viewed =
      WaitFor([&] { return ItemCount(records) == static_cast<int>(s.expectedRows); });
  report.Check(viewed, "the viewer shows " + std::to_string(s.expectedRows) +
                           " records (shown: " + std::to_string(ItemCount(records)) + ")");
  report.Check(std::to_string(ColumnCount(records)) == TextOf(::GetDlgItem(page, v::kTotalFields)),
               "one column per field (" + std::to_string(ColumnCount(records)) + ")");
  report.Check(!CellText(records, 0, 0).empty(),
               "first record \"" + CellText(records, 0, 0) + "\"");
  report.Check(SaveScreenshot(sheet, Join(s.shotsFolder, "viewer.bmp")), "viewer.bmp");
}

}  // namespace

bool Report::Check(bool held, const std::string& what) {
  ++m_checks;
  if (!held) ++m_failures;
  m_lines.push_back((held ? "ok    " : "FAIL  ") + what);
  // As it happens: a run that hangs shows how far it came.
  std::printf("%s\n", m_lines.back().c_str());
  std::fflush(stdout);
  return held;
}

void DriveSheet(HWND sheet, const SmokeSettings& settings, Report& report) {
  const DWORD thread = ::GetWindowThreadProcessId(sheet, nullptr);
  CheckSheet(sheet, report);
  HWND generator = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_INDEXTOHWND, 0, 0));
  HWND viewer = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_INDEXTOHWND, 1, 0));
  if (report.Check(generator != nullptr && viewer != nullptr,
                   "both pages created with the sheet")) {
    CheckTemplate(generator, res::kGeneratorPage, report);
    CheckTemplate(viewer, res::kViewerPage, report);
    DriveGenerator(sheet, generator, thread, settings, report);
    DriveViewer(sheet, viewer, thread, settings, report);
  }
  Click(sheet, kIdCancel);
  report.Check(WaitFor([&] { return !::IsWindow(sheet); }), "&Close ends the sheet");
}

}  // namespace tallowick::smoke
