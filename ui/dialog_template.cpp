#include "ui/dialog_template.h"

namespace tallowick {

const ControlTemplate* DialogTemplate::Find(int controlId) const {
  if (controlId == kIdStatic) return nullptr;
  for (const auto& control : controls) {
    if (control.id == controlId) return &control;
  }
  return nullptr;
}

}  // namespace tallowick
