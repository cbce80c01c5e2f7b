#pragma once
// The fonts the forms name ("Tahoma", "MS Sans Serif", "Symbol") are not part of a Linux desktop. When
// the wine font package is installed its TrueType files carry those names; they are added to the
// application's font database once. Without them Qt falls back to a sans font.
namespace gui {

// Idempotent; needs a QGuiApplication. Returns how many font files were added by this call.
int RegisterSystemFonts();

}  // namespace gui
