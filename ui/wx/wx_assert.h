#pragma once
// wx assertions in tests and smoke runs: printed and fatal, never a GTK dialog
// waiting for a click that no one will give.

namespace tallowick {

void InstallFatalAssertHandler();

}  // namespace tallowick
