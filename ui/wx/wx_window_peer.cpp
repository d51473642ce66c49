#include "ui/wx/wx_window_peer.h"

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/settings.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toplevel.h>

#include <algorithm>

#include "ui/dialog_window.h"
#include "ui/wx/wx_compact_style.h"
#include "ui/wx/wx_images.h"
#include "ui/wx/wx_text.h"

namespace tallowick {
namespace {

// Heights in dialog units that the templates give an edit box and a button.
constexpr int kEditHeight = 12;
constexpr int kButtonHeight = 14;

// The desktop's face at the template's size: the dialog units, and the text
// of the controls, come out as large as the templates were drawn for.
void UseTemplateFont(wxWindow* window, const DialogTemplate& layout) {
  wxFont font = window->GetFont();
  if (!font.IsOk()) return;
  font.SetPointSize(layout.fontSize);
  window->SetFont(font);
}

double Stretch(wxWindow* window, const wxSize& base) {
  // What the desktop's theme needs for a one-line edit box and a button.
  auto* edit = new wxTextCtrl(window, wxID_ANY, "Xg");
  auto* button = new wxButton(window, wxID_ANY, "Xg");
  const int editHeight = edit->GetBestSize().y;
  const int buttonHeight = button->GetBestSize().y;
  edit->Destroy();
  button->Destroy();
  const double unit = base.y / 8.0;
  return std::max({1.0, editHeight / (kEditHeight * unit), buttonHeight / (kButtonHeight * unit)});
}

long EditStyle(ControlStyles style) {
  long flags = 0;
  if (HasStyle(style, kMultiLine)) flags |= wxTE_MULTILINE | wxTE_DONTWRAP;
  if (HasStyle(style, kReadOnly)) flags |= wxTE_READONLY;
  if (HasStyle(style, kPassword)) flags |= wxTE_PASSWORD;
  if (HasStyle(style, kHScroll) && HasStyle(style, kMultiLine)) flags |= wxHSCROLL;
  return flags;
}

long LabelStyle(ControlStyles style) {
  long flags = wxST_NO_AUTORESIZE;
  if (HasStyle(style, kCentred)) flags |= wxALIGN_CENTRE_HORIZONTAL;
  if (HasStyle(style, kRight)) flags |= wxALIGN_RIGHT;
  if (HasStyle(style, kBorder)) flags |= wxBORDER_SIMPLE;
  return flags;
}

// The average width of a letter and the height of a line in the window's own
// font: four and eight dialog units. (wx's own conversion reads the font of
// the top-level window, not of the page.)
wxSize BaseUnits(wxWindow* window) {
  const wxFont font = window->GetFont();
  int width = 0;
  int height = 0;
  window->GetTextExtent("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", &width, &height,
                        nullptr, nullptr, &font);
  if (width <= 0 || height <= 0) return window->ConvertDialogToPixels(wxSize(4, 8));
  return wxSize((width / 26 + 1) / 2, height);
}

}  // namespace

DialogUnits::DialogUnits(wxWindow* window)
    : m_base(BaseUnits(window)), m_stretch(Stretch(window, m_base)) {}

wxPoint DialogUnits::Point(int x, int y) const {
  const wxPoint p =
      wxPoint(x * m_base.x / 4, static_cast<int>(y * m_base.y * m_stretch / 8.0 + 0.5));
  return p;
}

wxSize DialogUnits::Size(int width, int height) const {
  return wxSize(width * m_base.x / 4, static_cast<int>(height * m_base.y * m_stretch / 8.0 + 0.5));
}

WxWindowPeer::WxWindowPeer(DialogWindow& owner, const DialogTemplate& layout, wxWindow* parent)
    : m_owner(&owner), m_parent(parent) {
  Build(layout);
}

WxWindowPeer::~WxWindowPeer() {
  *m_alive = nullptr;
  if (m_owner != nullptr) m_owner->DetachPeer();
}

void WxWindowPeer::Notify(int id, Notification code) {
  if (m_owner != nullptr) m_owner->SendCommand(id, code);
}

namespace {

// The control of `control`, at `pos` with `size` in pixels, on `parent`.
std::unique_ptr<WxControlPeer> CreateControl(wxWindow* parent, const ControlTemplate& control,
                                             const wxPoint& pos, const wxSize& size,
                                             const NotifyFunction& notify) {
  const wxWindowID id = control.id == kIdStatic ? wxID_ANY : control.id;
  const wxString text = ToWx(control.text);
  std::unique_ptr<WxControlPeer> peer;

  switch (control.kind) {
    case ControlKind::Label: {
      auto* label = new wxStaticText(parent, id, text, pos, size, LabelStyle(control.style));
      if (control.rect.height > 10) label->Wrap(size.x);
      peer = std::make_unique<WxControlPeer>(control, label, notify);
      break;
    }
    case ControlKind::GroupBox: {
      auto* box = new wxStaticBox(parent, id, text, pos, size);
      peer = std::make_unique<WxControlPeer>(control, box, notify);
      break;
    }
    case ControlKind::PushButton: {
      auto* button = new wxButton(parent, id, text, pos, size);
      if (HasStyle(control.style, kDefaultButton)) button->SetDefault();
      peer = std::make_unique<WxControlPeer>(control, button, notify);
      button->Bind(wxEVT_BUTTON, [notify, buttonId = control.id](wxCommandEvent&) {
        notify(buttonId, Notification::Clicked);
      });
      break;
    }
    case ControlKind::Edit: {
      auto* edit = new wxTextCtrl(parent, id, text, pos, size, EditStyle(control.style));
      // Read-only boxes on the dialog's own grey; their text can still be selected and copied.
      if (HasStyle(control.style, kReadOnly))
        edit->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
      peer = std::make_unique<WxEditPeer>(control, edit, notify);
      break;
    }
    case ControlKind::ComboBox: {
      // The template's height is that of the dropped-down list.
      const long style = HasStyle(control.style, kDropDown) ? wxCB_DROPDOWN : wxCB_READONLY;
      auto* combo = new wxComboBox(parent, id, text, pos, wxSize(size.x, -1), 0, nullptr, style);
      peer = std::make_unique<WxComboPeer>(control, combo, notify);
      break;
    }
    case ControlKind::ListBox: {
      long style = HasStyle(control.style, kExtendedSelection) ? wxLB_EXTENDED : wxLB_SINGLE;
      style |= HasStyle(control.style, kHScroll) ? wxLB_HSCROLL : 0;
      auto* list = new wxListBox(parent, id, pos, size, 0, nullptr, style);
      peer = std::make_unique<WxListBoxPeer>(control, list, notify);
      break;
    }
    case ControlKind::ListView: {
      auto* list = new VirtualListCtrl(parent, id, pos, size);
      peer = std::make_unique<WxListViewPeer>(control, list, notify);
      break;
    }
    case ControlKind::Icon:
    case ControlKind::Bitmap: {
      wxBitmap image = ImageBitmap(control.image);
      wxSize shown = control.kind == ControlKind::Icon && image.IsOk() ? image.GetSize() : size;
      if (control.kind == ControlKind::Bitmap && image.IsOk()) image = ScaledBitmap(image, size);
      auto* picture = new wxStaticBitmap(parent, id, image, pos, shown);
      peer = std::make_unique<WxControlPeer>(control, picture, notify);
      break;
    }
  }
  return peer;
}

}  // namespace

void WxWindowPeer::Build(const DialogTemplate& layout) {
  UseTemplateFont(m_parent, layout);
  UseCompactControls(m_parent);
  const DialogUnits units(m_parent);
  m_clientSize = units.Size(layout.width, layout.height);
  const NotifyFunction notify = [this](int id, Notification code) { Notify(id, code); };
  const auto focus = [this](wxWindow* window) { RequestFocus(window); };
  constexpr ControlStyles kResizing = kGrowWidth | kGrowHeight | kMoveRight | kMoveDown;

  for (const ControlTemplate& control : layout.controls) {
    std::unique_ptr<WxControlPeer> peer =
        CreateControl(m_parent, control, units.Point(control.rect.x, control.rect.y),
                      units.Size(control.rect.width, control.rect.height), notify);
    if (HasStyle(control.style, kHidden)) peer->Window()->Hide();
    if (HasStyle(control.style, kDisabled)) peer->Window()->Disable();
    peer->SetFocusRequest(focus);
    if ((control.style & kResizing) != 0)
      m_resizable.push_back({peer->Window(), control.style, peer->Window()->GetRect()});
    if (control.id != kIdStatic && m_byId.find(control.id) == m_byId.end())
      m_byId[control.id] = peer.get();
    m_controls.push_back(std::move(peer));
  }
  if (!m_resizable.empty()) {
    // The window may outlive this object (a page's frame destroyed later).
    m_parent->Bind(wxEVT_SIZE, [alive = m_alive](wxSizeEvent& event) {
      if (*alive != nullptr) (*alive)->Arrange(event.GetSize());
      event.Skip();
    });
  }
}

void WxWindowPeer::Arrange(const wxSize& size) {
  const int dx = std::max(0, size.x - m_clientSize.x);
  const int dy = std::max(0, size.y - m_clientSize.y);
  for (const Placed& placed : m_resizable) {
    wxRect rect = placed.rect;
    if (HasStyle(placed.style, kMoveRight)) rect.x += dx;
    if (HasStyle(placed.style, kMoveDown)) rect.y += dy;
    if (HasStyle(placed.style, kGrowWidth)) rect.width += dx;
    if (HasStyle(placed.style, kGrowHeight)) rect.height += dy;
    placed.window->SetSize(rect);
  }
}

void WxWindowPeer::RequestFocus(wxWindow* window) {
  if (m_parent->IsShownOnScreen()) {
    m_pendingFocus = nullptr;
    window->SetFocus();
  } else {
    m_pendingFocus = window;
  }
}

void WxWindowPeer::TakePendingFocus() {
  wxWindow* window = m_pendingFocus;
  m_pendingFocus = nullptr;
  if (window != nullptr && window->IsShownOnScreen() && window->IsEnabled()) window->SetFocus();
}

ControlPeer* WxWindowPeer::FindControl(int id) {
  const auto found = m_byId.find(id);
  return found == m_byId.end() ? nullptr : found->second;
}

void WxWindowPeer::EndModal(int result) {
  auto* dialog = dynamic_cast<wxDialog*>(wxGetTopLevelParent(m_parent));
  if (dialog != nullptr && dialog->IsModal()) dialog->EndModal(result);
}

}  // namespace tallowick
