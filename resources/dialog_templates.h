#pragma once
// The dialog templates of the program and the installer, by id.
#include <vector>

#include "ui/dialog_template.h"

namespace tallowick::res {

// The template with this id, or null.
const DialogTemplate* FindDialogTemplate(int templateId);
// The template with this id; a missing one is a programming fault
// (std::logic_error).
const DialogTemplate& DialogTemplateOf(int templateId);
// Every template, in id order.
std::vector<const DialogTemplate*> AllDialogTemplates();

}  // namespace tallowick::res
