#pragma once
// The installer's welcome page (template 131): "&Next" is OK, "&Cancel" is
// Cancel, both ending the page at once.
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "ui/dialog.h"

namespace tallowick {

class CWelcomeDialog : public Dialog {
 public:
  CWelcomeDialog() : Dialog(res::DialogTemplateOf(res::kWelcomeDialog)) {}
};

}  // namespace tallowick
