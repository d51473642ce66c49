#pragma once
// One page of a property sheet, on a child template; its tab text is the
// template's caption unless set otherwise.
#include <string>

#include "ui/dialog_window.h"

namespace tallowick {

class PropertyPage : public DialogWindow {
 public:
  explicit PropertyPage(const DialogTemplate& layout) : DialogWindow(layout) {}
  // The tab text.
  std::string Caption() const;
  void SetCaption(std::string caption) { m_caption = std::move(caption); }

 private:
  std::string m_caption;  // empty: the template's caption
};

}  // namespace tallowick
