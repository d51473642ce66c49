#pragma once
// Dialog templates as data: each control with its id, kind, text, style and
// place in dialog units. One renderer builds them with wx, the scripted test
// host builds the same set in memory.
#include <string>
#include <vector>

#include "ui/control_kind.h"
#include "ui/standard_ids.h"

namespace tallowick {

// A rectangle in dialog units (x, y, width, height), as in a resource script.
struct DialogRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct ControlTemplate {
  int id = kIdStatic;
  ControlKind kind = ControlKind::Label;
  std::string text;
  ControlStyles style = kStyleNone;
  DialogRect rect;
  int image = 0;  // Icon, Bitmap: the image resource shown
};

enum class DialogFrame {
  Child,         // a property page: no frame of its own
  Modal,         // pop-up with caption, system menu and modal frame
  PopupNoTitle,  // pop-up with a thin dialog frame and no title bar (the wait window)
};

struct DialogTemplate {
  int id = 0;
  std::string caption;  // title bar text, or the tab text of a page
  int width = 0;        // dialog units
  int height = 0;
  DialogFrame frame = DialogFrame::Child;
  bool centred = false;
  std::string fontName = "MS Sans Serif";
  int fontSize = 8;
  std::vector<ControlTemplate> controls;  // in creation (tab) order

  // The first control with this id, or null. Never finds kIdStatic.
  const ControlTemplate* Find(int controlId) const;
};

}  // namespace tallowick
