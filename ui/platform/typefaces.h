// The typefaces the game's windows ask for, and the fonts Qt is shown for them.
#pragma once

#include <QStringList>
#include <array>

namespace quarbel {

// The panel's captions, measured for its metrics.
inline constexpr char PanelTypeface[] = "Arial";
// The dialogs': the home platform's system font, and plain sans faces where it is missing.
inline constexpr char SystemTypeface[] = "System";
inline constexpr std::array<const char*, 5> DialogTypefaces = {
    SystemTypeface, "MS Sans Serif", "DejaVu Sans", "Liberation Sans", "Sans Serif"};
// The help's keys and commands.
inline constexpr char FixedTypeface[] = "monospace";

// Qt lists every font face of the system before it draws its first text and keeps the list:
// on a desktop with a few thousand faces that is 8 MB, about a fifth of the game. Called
// before any text is drawn, this shows fontconfig, and so Qt, only the faces of the families
// the system's own configuration picks for the typefaces above, for `moreTypefaces` (the
// application's font) and for the language of the user's locale, with every rule of that
// configuration. The game draws with the same fonts as before; a character none of them has
// (a file name in a script of another language) shows as a box. Nothing changes when the
// system's configuration cannot be read.
void showOnlyTheGamesFonts(const QStringList& moreTypefaces);

}  // namespace quarbel
