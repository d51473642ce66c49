#include "ui/win32/win32_dialog_template.h"

#include "platform/wide_text.h"

namespace tallowick {
namespace {

// The predefined window classes of a dialog template's items.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kListBoxClass = 0x0083;
constexpr WORD kComboBoxClass = 0x0085;

class Writer {
 public:
  explicit Writer(std::vector<WORD>& words) : m_words(words) {}
  void Word(WORD value) { m_words.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void Short(int value) { Word(static_cast<WORD>(static_cast<short>(value))); }
  void Text(const std::wstring& text) {
    for (wchar_t c : text) Word(static_cast<WORD>(c));
    Word(0);
  }
  void Ordinal(WORD value) {
    Word(0xFFFF);
    Word(value);
  }
  void AlignDword() {
    if (m_words.size() % 2 != 0) Word(0);
  }

 private:
  std::vector<WORD>& m_words;
};

DWORD CommonStyle(const ControlTemplate& control) {
  DWORD style = WS_CHILD;
  if (!HasStyle(control.style, kHidden)) style |= WS_VISIBLE;
  if (HasStyle(control.style, kDisabled)) style |= WS_DISABLED;
  return style;
}

}  // namespace

Win32ControlClass ControlClassOf(const ControlTemplate& control) {
  Win32ControlClass result;
  DWORD style = CommonStyle(control);
  const ControlStyles s = control.style;
  switch (control.kind) {
    case ControlKind::Label:
      result.atom = kStaticClass;
      style |= HasStyle(s, kCentred) ? SS_CENTER : HasStyle(s, kRight) ? SS_RIGHT : SS_LEFT;
      if (HasStyle(s, kBorder)) style |= WS_BORDER;
      break;
    case ControlKind::GroupBox:
      result.atom = kButtonClass;
      style |= BS_GROUPBOX;
      break;
    case ControlKind::PushButton:
      result.atom = kButtonClass;
      style |= WS_TABSTOP | (HasStyle(s, kDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
      break;
    case ControlKind::Edit:
      result.atom = kEditClass;
      style |= WS_TABSTOP | WS_BORDER | ES_LEFT;
      if (HasStyle(s, kMultiLine)) style |= ES_MULTILINE | ES_AUTOVSCROLL;
      if (HasStyle(s, kAutoHScroll)) style |= ES_AUTOHSCROLL;
      if (HasStyle(s, kVScroll)) style |= WS_VSCROLL;
      if (HasStyle(s, kHScroll)) style |= WS_HSCROLL | ES_AUTOHSCROLL;
      if (HasStyle(s, kReadOnly)) style |= ES_READONLY;
      if (HasStyle(s, kPassword)) style |= ES_PASSWORD;
      if (HasStyle(s, kWantReturn)) style |= ES_WANTRETURN;
      break;
    case ControlKind::ComboBox:
      // Entries are put in their sorted place by the peer, the same order on
      // every system: no CBS_SORT.
      result.atom = kComboBoxClass;
      style |= WS_TABSTOP | (HasStyle(s, kDropDown) ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
      if (HasStyle(s, kVScroll)) style |= WS_VSCROLL;
      if (HasStyle(s, kAutoHScroll)) style |= CBS_AUTOHSCROLL;
      break;
    case ControlKind::ListBox:
      result.atom = kListBoxClass;
      style |= WS_TABSTOP | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
      if (HasStyle(s, kExtendedSelection)) style |= LBS_EXTENDEDSEL;
      if (HasStyle(s, kVScroll)) style |= WS_VSCROLL;
      if (HasStyle(s, kHScroll)) style |= WS_HSCROLL;
      break;
    case ControlKind::ListView:
      result.name = WC_LISTVIEWW;
      style |= WS_TABSTOP | LVS_OWNERDATA | LVS_SHOWSELALWAYS;
      if (HasStyle(s, kReport)) style |= LVS_REPORT;
      if (HasStyle(s, kBorder)) style |= WS_BORDER;
      break;
    case ControlKind::Icon:
      result.atom = kStaticClass;
      style |= SS_ICON;
      break;
    case ControlKind::Bitmap:
      // The picture fills the template's rectangle.
      result.atom = kStaticClass;
      style |= SS_BITMAP | SS_REALSIZECONTROL;
      if (HasStyle(s, kBorder)) style |= WS_BORDER;
      break;
  }
  result.style = style;
  return result;
}

DWORD DialogStyleOf(const DialogTemplate& layout) {
  DWORD style = DS_SETFONT;
  switch (layout.frame) {
    case DialogFrame::Child:
      style |= WS_CHILD | WS_CAPTION | DS_3DLOOK | DS_CONTROL;
      break;
    case DialogFrame::Modal:
      style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
      break;
    case DialogFrame::PopupNoTitle:
      style |= WS_POPUP | DS_MODALFRAME | DS_3DLOOK;
      break;
  }
  if (layout.centred) style |= DS_CENTER;
  return style;
}

Win32DialogTemplate::Win32DialogTemplate(const DialogTemplate& layout, const std::wstring& face) {
  Writer out(m_words);
  out.Word(1);       // dlgVer
  out.Word(0xFFFF);  // signature: the extended form
  out.Dword(0);      // helpID
  out.Dword(0);      // exStyle
  out.Dword(DialogStyleOf(layout));
  out.Word(static_cast<WORD>(layout.controls.size()));
  out.Short(0);
  out.Short(0);
  out.Short(layout.width);
  out.Short(layout.height);
  out.Word(0);  // no menu
  out.Word(0);  // the dialog class
  out.Text(platform::Widen(layout.caption));
  out.Word(static_cast<WORD>(layout.fontSize));
  out.Word(FW_NORMAL);
  out.Word(MAKEWORD(FALSE, DEFAULT_CHARSET));  // italic, charset
  out.Text(face);

  for (const ControlTemplate& control : layout.controls) {
    const Win32ControlClass cls = ControlClassOf(control);
    out.AlignDword();
    out.Dword(0);  // helpID
    out.Dword(cls.exStyle);
    out.Dword(cls.style);
    out.Short(control.rect.x);
    out.Short(control.rect.y);
    out.Short(control.rect.width);
    out.Short(control.rect.height);
    out.Dword(static_cast<DWORD>(control.id));  // kIdStatic is 0xFFFFFFFF, as IDC_STATIC
    if (cls.atom != 0) {
      out.Ordinal(cls.atom);
    } else {
      out.Text(cls.name);
    }
    if (control.kind == ControlKind::Icon || control.kind == ControlKind::Bitmap) {
      out.Ordinal(static_cast<WORD>(control.image));  // loaded from the program's resources
    } else {
      out.Text(platform::Widen(control.text));
    }
    out.Word(0);  // no creation data
  }
}

namespace {

int CALLBACK CountFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

}  // namespace

bool IsFontInstalled(const std::wstring& face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(wanted.lfFaceName, face.c_str(), LF_FACESIZE);
  bool found = false;
  HDC screen = ::GetDC(nullptr);
  ::EnumFontFamiliesExW(screen, &wanted, CountFace, reinterpret_cast<LPARAM>(&found), 0);
  ::ReleaseDC(nullptr, screen);
  return found;
}

const std::wstring& DialogFace() {
  static const std::wstring face = IsFontInstalled(kTemplateFace) ? kTemplateFace : kFallbackFace;
  return face;
}

}  // namespace tallowick
