#pragma once
// Edit boxes, buttons and combo boxes as compact as the dialog templates
// draw them. GTK 3's default theme gives them a minimum height of about
// 34 pixels, taller than the rows of a template at its own font; inside a
// window marked here they take their text's height and a thin padding.
class wxWindow;

namespace tallowick {

// Marks `window` so that the controls below it are drawn compact. Does
// nothing where the toolkit needs no such help (or offers no way to give it).
void UseCompactControls(wxWindow* window);

}  // namespace tallowick
