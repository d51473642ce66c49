#include "ui/win32/win32_sheet.h"

#include "platform/wide_text.h"
#include "ui/property_page.h"
#include "ui/standard_ids.h"
#include "ui/win32/win32_host.h"

namespace tallowick {
namespace {

// Posted to the sheet once its pages exist; posted to a page when it comes on top.
constexpr UINT kSheetReady = WM_APP + 1;
constexpr UINT kTakeFocus = WM_APP + 2;
constexpr UINT_PTR kSubclassId = 1;

// The sheet being created on this thread, for the callback that has no context.
thread_local Win32Sheet* t_creating = nullptr;

ControlTemplate ButtonTemplate(int id) {
  ControlTemplate button;
  button.id = id;
  button.kind = ControlKind::PushButton;
  return button;
}

}  // namespace

int Win32Sheet::Run(PropertySheet& owner, Win32Host& host) {
  Win32Sheet sheet(owner, host);
  return sheet.RunModal();
}

Win32Sheet::Win32Sheet(PropertySheet& owner, Win32Host& host) : m_owner(&owner), m_host(host) {
  for (PropertyPage* page : owner.Pages()) {
    auto slot = std::make_unique<PageSlot>();
    slot->sheet = this;
    slot->page = page;
    slot->bytes = std::make_unique<Win32DialogTemplate>(page->Template(), DialogFace());
    slot->title = platform::Widen(page->Caption());
    m_pages.push_back(std::move(slot));
  }
  if (owner.IconId() != 0) {
    const auto id = MAKEINTRESOURCEW(owner.IconId());
    m_bigIcon = static_cast<HICON>(::LoadImageW(host.Resources(), id, IMAGE_ICON,
                                                ::GetSystemMetrics(SM_CXICON),
                                                ::GetSystemMetrics(SM_CYICON), LR_SHARED));
    m_smallIcon = static_cast<HICON>(::LoadImageW(host.Resources(), id, IMAGE_ICON,
                                                  ::GetSystemMetrics(SM_CXSMICON),
                                                  ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  }
}

Win32Sheet::~Win32Sheet() {
  for (auto& slot : m_pages) {
    if (slot->peer) {
      slot->page->DetachPeer();
      slot->peer->OwnerGone();
    }
  }
  if (m_owner != nullptr) m_owner->DetachPeer();
}

int Win32Sheet::RunModal() {
  const bool help = m_owner->HasHelp();
  std::vector<PROPSHEETPAGEW> pages;
  for (auto& slot : m_pages) {
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof(page);
    // Every page is created with the sheet, in tab order.
    page.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE | PSP_PREMATURE | (help ? PSP_HASHELP : 0);
    page.hInstance = m_host.Resources();
    page.pResource = slot->bytes->Get();
    page.pszTitle = slot->title.c_str();
    page.pfnDlgProc = PageProc;
    page.lParam = reinterpret_cast<LPARAM>(slot.get());
    pages.push_back(page);
  }
  const std::wstring caption = platform::Widen(m_owner->Caption());
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof(header);
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK |
                   (m_bigIcon != nullptr ? PSH_USEHICON : 0) | (help ? PSH_HASHELP : 0);
  header.hwndParent = CurrentOwnerWindow();
  header.hInstance = m_host.Resources();
  header.hIcon = m_bigIcon;
  header.pszCaption = caption.c_str();
  header.nPages = static_cast<UINT>(pages.size());
  header.nStartPage = 0;
  header.ppsp = pages.data();
  header.pfnCallback = SheetCallback;

  t_creating = this;
  const INT_PTR shown = ::PropertySheetW(&header);
  t_creating = nullptr;
  for (auto& slot : m_pages) {
    slot->page->DetachPeer();
    slot->peer.reset();
  }
  if (m_owner != nullptr) m_owner->DetachPeer();
  m_buttons.clear();
  m_guard.Rethrow();
  // A sheet that could not be shown (-1) ended as Cancel does.
  return shown < 0 ? kIdCancel : m_result;
}

int CALLBACK Win32Sheet::SheetCallback(HWND window, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED && t_creating != nullptr) {
    Win32Sheet* sheet = t_creating;
    sheet->m_window = window;
    ::SetWindowSubclass(window, SheetProc, kSubclassId, reinterpret_cast<DWORD_PTR>(sheet));
    // The pages are created after this call; the sheet's own start-up follows them.
    ::PostMessageW(window, kSheetReady, 0, 0);
  }
  return 0;
}

void Win32Sheet::Ready() {
  const auto fail = [this] { EndModal(kIdCancel); };
  m_guard.Run(
      [this] {
        for (int id : {kIdOk, kIdCancel, kIdHelp}) {
          HWND button = ::GetDlgItem(m_window, id);
          if (button != nullptr)
            m_buttons[id] = std::make_unique<Win32ControlPeer>(ButtonTemplate(id), button);
        }
        // A system that creates pages only when first shown (PSP_PREMATURE
        // not honoured, as under Wine) has them made now, in tab order.
        bool created = false;
        for (std::size_t i = 0; i < m_pages.size(); ++i) {
          if (m_pages[i]->peer) continue;
          PropSheet_SetCurSel(m_window, nullptr, static_cast<int>(i));
          created = true;
        }
        if (created) PropSheet_SetCurSel(m_window, nullptr, 0);
        if (m_owner == nullptr) return;
        m_owner->AttachPeer(*this, m_host);
        m_owner->OnInitDialog();
        SetIcons();
        const int active = ActivePage();
        if (active >= 0 && static_cast<std::size_t>(active) < m_pages.size() &&
            m_pages[static_cast<std::size_t>(active)]->peer)
          m_pages[static_cast<std::size_t>(active)]->peer->TakePendingFocus();
        if (auto action = m_host.TakeSheetShownAction()) action(m_window);
      },
      fail);
}

void Win32Sheet::SetIcons() {
  if (m_smallIcon != nullptr)
    ::SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon));
  if (m_bigIcon != nullptr)
    ::SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon));
}

void Win32Sheet::Help() {
  if (m_owner != nullptr && m_owner->HasHelp()) m_owner->OnHelpInfo();
}

LRESULT CALLBACK Win32Sheet::SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self) {
  return reinterpret_cast<Win32Sheet*>(self)->OnSheetMessage(window, message, wParam, lParam);
}

LRESULT Win32Sheet::OnSheetMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto fail = [this] { EndModal(kIdCancel); };
  switch (message) {
    case kSheetReady:
      Ready();
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      // The button row (and Enter, Escape) goes to the sheet object; the
      // system's own closing runs only when the object ended the run.
      if (!m_closing && HIWORD(wParam) == BN_CLICKED &&
          (id == kIdOk || id == kIdCancel || id == kIdHelp)) {
        m_guard.Run(
            [&] {
              if (m_owner != nullptr) m_owner->SendButton(id);
            },
            fail);
        return 0;
      }
      break;
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE && !m_closing) {
        m_guard.Run(
            [&] {
              if (m_owner != nullptr) m_owner->OnCancel();
            },
            fail);
        return 0;
      }
      break;
    case WM_HELP:
      m_guard.Run([&] { Help(); }, fail);
      return TRUE;
    case WM_SIZE: {
      // The icons again after every size change, as at the start.
      const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
      SetIcons();
      return result;
    }
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(window, SheetProc, kSubclassId);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

INT_PTR CALLBACK Win32Sheet::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    ::SetWindowLongPtrW(window, DWLP_USER, page->lParam);
  }
  auto* slot = reinterpret_cast<PageSlot*>(::GetWindowLongPtrW(window, DWLP_USER));
  if (slot == nullptr) return FALSE;
  return slot->sheet->OnPageMessage(*slot, window, message, wParam, lParam);
}

INT_PTR Win32Sheet::OnPageMessage(PageSlot& slot, HWND window, UINT message, WPARAM wParam,
                                  LPARAM lParam) {
  const auto fail = [this] { EndModal(kIdCancel); };
  switch (message) {
    case WM_INITDIALOG:
      m_guard.Run(
          [&] {
            slot.peer =
                std::make_unique<Win32WindowPeer>(*slot.page, slot.page->Template(), window);
            slot.page->AttachPeer(*slot.peer, m_host);
            slot.page->OnInitDialog();
          },
          fail);
      return TRUE;
    case WM_COMMAND: {
      if (!slot.peer) return FALSE;
      bool handled = false;
      m_guard.Run([&] { handled = slot.peer->HandleCommand(wParam, lParam); }, fail);
      return handled ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      std::optional<LRESULT> result;
      if (slot.peer && header.hwndFrom != m_window) {
        m_guard.Run([&] { result = slot.peer->HandleNotify(header); }, fail);
      } else if (header.code == PSN_SETACTIVE) {
        ::PostMessageW(window, kTakeFocus, 0, 0);
        result = 0;
      } else if (header.code == PSN_KILLACTIVE || header.code == PSN_QUERYCANCEL) {
        result = FALSE;  // the page may be left; the sheet may close
      }
      if (!result) return FALSE;
      ::SetWindowLongPtrW(window, DWLP_MSGRESULT, *result);
      return TRUE;
    }
    case kTakeFocus:
      if (slot.peer) slot.peer->TakePendingFocus();
      return TRUE;
    case WM_HELP:
      m_guard.Run([&] { Help(); }, fail);
      return TRUE;
    case WM_DESTROY:
      slot.page->DetachPeer();
      if (slot.peer) slot.peer->OwnerGone();
      return FALSE;
    default:
      return FALSE;
  }
}

ControlPeer* Win32Sheet::FindControl(int id) {
  const auto found = m_buttons.find(id);
  return found == m_buttons.end() ? nullptr : found->second.get();
}

void Win32Sheet::EndModal(int result) {
  if (m_window == nullptr || m_closing) return;
  m_result = result;
  m_closing = true;
  // The system's own Cancel closes the sheet and its pages; the result is ours.
  ::PostMessageW(m_window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(m_window, IDCANCEL)));
}

int Win32Sheet::ActivePage() const {
  if (m_window == nullptr) return -1;
  HWND page = PropSheet_GetCurrentPageHwnd(m_window);
  return page == nullptr ? -1 : static_cast<int>(PropSheet_HwndToIndex(m_window, page));
}

void Win32Sheet::SetActivePage(int index) {
  if (m_window != nullptr && index >= 0 && static_cast<std::size_t>(index) < m_pages.size())
    PropSheet_SetCurSel(m_window, nullptr, index);
}

}  // namespace tallowick
