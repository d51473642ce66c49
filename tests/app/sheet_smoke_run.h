#pragma once
// The check of the running program on a real display: the sheet's caption, tabs and
// buttons, every control of both pages by id and text, and a screenshot of
// each page (generator.png, viewer.png, generator_rows.png), of the wait
// window (wait.png) and of the dialogs (login.png, welcome.png,
// destination.png), then report.txt in `folder`.
#include <string>

class wxDialog;

namespace tallowick {

class PDBGenerator;
class WxHost;

bool RunSmokeChecks(WxHost& host, PDBGenerator& sheet, wxDialog& window, const std::string& folder);

}  // namespace tallowick
