#include "ui/wx/wx_compact_style.h"

#include <wx/window.h>

#ifdef __WXGTK3__
#include <dlfcn.h>
#endif

namespace tallowick {

#ifdef __WXGTK3__
namespace {

// The widget name that scopes the style sheet to our own windows: the file
// and folder dialogs keep the theme's sizes.
constexpr char kWidgetName[] = "tallowick-compact";

constexpr char kStyleSheet[] =
    "#tallowick-compact entry, #tallowick-compact button,"
    " #tallowick-compact combobox entry, #tallowick-compact combobox button {"
    " min-height: 0; padding-top: 1px; padding-bottom: 1px; }"
    "#tallowick-compact combobox button { padding-left: 4px; padding-right: 4px; }";

// GTK is loaded already (wx runs on it), but its development headers are not
// part of the build: the few functions needed are looked up by name.
struct GtkStyleCalls {
  using GetScreen = void* (*)();
  using NewProvider = void* (*)();
  using LoadData = int (*)(void*, const char*, long, void**);
  using AddForScreen = void (*)(void*, void*, unsigned);
  using SetName = void (*)(void*, const char*);

  GetScreen getScreen = reinterpret_cast<GetScreen>(dlsym(RTLD_DEFAULT, "gdk_screen_get_default"));
  NewProvider newProvider =
      reinterpret_cast<NewProvider>(dlsym(RTLD_DEFAULT, "gtk_css_provider_new"));
  LoadData loadData =
      reinterpret_cast<LoadData>(dlsym(RTLD_DEFAULT, "gtk_css_provider_load_from_data"));
  AddForScreen addForScreen = reinterpret_cast<AddForScreen>(
      dlsym(RTLD_DEFAULT, "gtk_style_context_add_provider_for_screen"));
  SetName setName = reinterpret_cast<SetName>(dlsym(RTLD_DEFAULT, "gtk_widget_set_name"));

  bool Complete() const {
    return getScreen != nullptr && newProvider != nullptr && loadData != nullptr &&
           addForScreen != nullptr && setName != nullptr;
  }
};

// GTK_STYLE_PROVIDER_PRIORITY_APPLICATION: above the theme, below the user's own sheet.
constexpr unsigned kApplicationPriority = 600;

// Installs the style sheet once for the screen; false when GTK offers no way.
bool InstallStyleSheet(const GtkStyleCalls& gtk) {
  static const bool installed = [&gtk] {
    void* screen = gtk.getScreen();
    if (screen == nullptr) return false;
    void* provider = gtk.newProvider();  // kept for the program's lifetime
    if (provider == nullptr || !gtk.loadData(provider, kStyleSheet, -1, nullptr)) return false;
    gtk.addForScreen(screen, provider, kApplicationPriority);
    return true;
  }();
  return installed;
}

}  // namespace

void UseCompactControls(wxWindow* window) {
  static const GtkStyleCalls gtk;
  if (window == nullptr || window->GetHandle() == nullptr || !gtk.Complete()) return;
  if (InstallStyleSheet(gtk)) gtk.setName(window->GetHandle(), kWidgetName);
}

#else

void UseCompactControls(wxWindow*) {}

#endif

}  // namespace tallowick
