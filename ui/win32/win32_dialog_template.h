#pragma once
// Our DialogTemplate as the dialog manager reads it: an extended dialog
// template (DLGTEMPLATEEX) in memory, each control with its window class and
// styles. Pages, dialogs and the wait window are all built from it.
#include <string>
#include <vector>

#include "ui/dialog_template.h"
#include "ui/win32/win32_system.h"

namespace tallowick {

// The face the templates were drawn for, and the one Windows maps to its
// dialog face where that is not installed.
inline constexpr wchar_t kTemplateFace[] = L"MS Sans Serif";
inline constexpr wchar_t kFallbackFace[] = L"MS Shell Dlg";

// The window class and styles of one control.
struct Win32ControlClass {
  WORD atom = 0;      // a predefined class (0x0080 button ... 0x0085 combo box)
  std::wstring name;  // or a class by name (the list view), when atom is 0
  DWORD style = 0;
  DWORD exStyle = 0;
};

Win32ControlClass ControlClassOf(const ControlTemplate& control);

// The styles of the dialog itself for its frame.
DWORD DialogStyleOf(const DialogTemplate& layout);

// A template in memory, DWORD-aligned as the dialog manager needs it.
class Win32DialogTemplate {
 public:
  // `face`: the font's name (kTemplateFace, or kFallbackFace where it is missing).
  Win32DialogTemplate(const DialogTemplate& layout, const std::wstring& face);

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }
  std::size_t SizeInBytes() const { return m_words.size() * sizeof(WORD); }

 private:
  std::vector<WORD> m_words;
};

// Whether a font of this face is installed (raster faces included).
bool IsFontInstalled(const std::wstring& face);
// kTemplateFace when installed, else kFallbackFace; looked up once.
const std::wstring& DialogFace();

}  // namespace tallowick
