#pragma once
// What the installer puts in place: the files it copies from its working
// folder, and the desktop shortcuts it creates.
#include <array>
#include <string_view>

namespace tallowick {

#ifdef _WIN32
// The installer's program file name; its message boxes carry it (without
// ".exe") as caption.
inline constexpr std::string_view kSetupProgramName = "Setup";

// Copied in this order from the working folder into the installation folder.
inline constexpr auto kInstallFiles = std::to_array<std::string_view>({
#include "installer/install_files_windows.inc"
});
inline constexpr std::string_view kImageFolder = "img";

inline constexpr std::string_view kHelpPageFile = "Help.html";
inline constexpr std::string_view kProgramFile = "Tallowick.exe";
#else
// The installer's program file name; its message boxes carry it as caption.
inline constexpr std::string_view kSetupProgramName = "tallowick-setup";

// Copied in this order from the working folder into the installation folder.
// Entries beginning with the separator live in the subfolder kImageFolder.
inline constexpr auto kInstallFiles = std::to_array<std::string_view>({
#include "installer/install_files.inc"
});
inline constexpr std::string_view kImageFolder = "img";

inline constexpr std::string_view kHelpPageFile = "Help.html";
inline constexpr std::string_view kProgramFile = "tallowick";
// The program's icon, beside it; its desktop shortcut shows it.
inline constexpr std::string_view kProgramIconFile = "tallowick.png";
#endif

// What a shortcut opens: a program it starts, or a document shown by the
// desktop's program for it.
enum class ShortcutKind { Program, Document };

struct ShortcutSpec {
  std::string_view fileName;  // the file within the installation folder
  std::string_view linkName;  // the shortcut file's name without kShortcutExtension
  std::string_view description;
  ShortcutKind kind;
  std::string_view iconFile;  // the icon within the installation folder; empty: none
};

// Created in this order on the user's desktop.
#ifdef _WIN32
// Shell links carry no icon of their own here: Windows shows the target's.
inline constexpr std::array<ShortcutSpec, 2> kShortcuts = {{
    {kHelpPageFile, "Tallowick_UserGuide", "User Guide", ShortcutKind::Document, {}},
    {kProgramFile, "Tallowick", "Tallowick", ShortcutKind::Program, {}},
}};

inline constexpr std::string_view kShortcutExtension = ".lnk";
#else
inline constexpr std::array<ShortcutSpec, 2> kShortcuts = {{
    {kHelpPageFile, "Tallowick_UserGuide", "User Guide", ShortcutKind::Document, {}},
    {kProgramFile, "Tallowick", "Tallowick", ShortcutKind::Program, kProgramIconFile},
}};

inline constexpr std::string_view kShortcutExtension = ".desktop";
#endif

}  // namespace tallowick
