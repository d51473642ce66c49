#include "ui/wx/wx_assert.h"

#include <wx/debug.h>
#include <wx/string.h>

#include <cstdio>
#include <cstdlib>

namespace tallowick {
namespace {

void FatalAssert(const wxString& file, int line, const wxString& function,
                 const wxString& condition, const wxString& message) {
  std::fprintf(stderr, "wx assertion failed: %s:%d in %s: %s %s\n", file.utf8_str().data(), line,
               function.utf8_str().data(), condition.utf8_str().data(), message.utf8_str().data());
  std::fflush(stderr);
  std::abort();
}

}  // namespace

void InstallFatalAssertHandler() { wxSetAssertHandler(FatalAssert); }

}  // namespace tallowick
