#pragma once
// What a control of a dialog template is, and the style flags it may carry.
#include <cstdint>

namespace tallowick {

enum class ControlKind {
  Label,       // static text
  GroupBox,    // frame with an optional caption
  PushButton,  // button; kDefaultButton marks the default one
  Edit,        // single- or multi-line edit box
  ComboBox,    // drop-down list with an edit field
  ListBox,     // list of strings, single or extended selection
  ListView,    // report-mode list of rows and columns (virtual: reads a model)
  Icon,        // static icon from an image resource
  Bitmap,      // static picture from an image resource
};

using ControlStyles = std::uint32_t;

// Style flags of a control template. Each applies to the kinds named.
enum ControlStyle : ControlStyles {
  kStyleNone = 0,
  kDefaultButton = 1u << 0,      // PushButton: the dialog's default button
  kMultiLine = 1u << 1,          // Edit: several lines
  kVScroll = 1u << 2,            // Edit, ComboBox, ListBox: vertical scroll bar
  kHScroll = 1u << 3,            // Edit, ListBox: horizontal scroll bar
  kReadOnly = 1u << 4,           // Edit: the user cannot change the text
  kPassword = 1u << 5,           // Edit: characters are hidden
  kAutoHScroll = 1u << 6,        // Edit: the text scrolls beyond the box's width
  kWantReturn = 1u << 7,         // Edit (multi-line): Enter starts a new line
  kSorted = 1u << 8,             // ComboBox, ListBox: entries kept in alphabetical order
  kExtendedSelection = 1u << 9,  // ListBox: several entries may be highlighted
  kDropDown = 1u << 10,          // ComboBox: drop-down list with an edit field
  kReport = 1u << 11,            // ListView: report mode (columns with headings)
  kHidden = 1u << 12,            // any: not visible when the dialog is created
  kDisabled = 1u << 13,          // any: disabled when the dialog is created
  kCentred = 1u << 14,           // Label: text centred in its rectangle
  kRight = 1u << 15,             // Label: text aligned right
  kBorder = 1u << 16,            // Label, Bitmap: drawn with a thin border
  // When a window is larger than its template, the extra room goes to the
  // controls marked to grow; those to their right or below move along.
  kGrowWidth = 1u << 17,   // any: takes the extra width
  kGrowHeight = 1u << 18,  // any: takes the extra height
  kMoveRight = 1u << 19,   // any: moves right by the extra width
  kMoveDown = 1u << 20,    // any: moves down by the extra height
};

inline constexpr bool HasStyle(ControlStyles styles, ControlStyle flag) {
  return (styles & flag) != 0;
}

const char* ControlKindName(ControlKind kind);

}  // namespace tallowick
