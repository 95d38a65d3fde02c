// The design of the main window's panels: each control's top, size, caption, font height and
// colour scheme. The x positions come from the layout.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/frontend.h"

namespace quarbel {

struct Rgb {
    std::uint8_t r, g, b;
};

// Farbevor, Farbehin, Farbepressed, FarbeSchatten of a caption control.
struct ColourScheme {
    Rgb front, back, pressed, shadow;
};

inline constexpr ColourScheme CommandColours{{0, 0, 255}, {0, 0, 0}, {0, 255, 255}, {0, 0, 128}};
inline constexpr ColourScheme LevelColours{{255, 255, 0}, {0, 0, 0}, {255, 255, 255}, {0, 128, 0}};
inline constexpr ColourScheme TitleColours{{255, 0, 0}, {0, 0, 0}, {128, 0, 0}, {128, 0, 0}};
inline constexpr ColourScheme MovieTitleColours{{255, 0, 0}, {0, 0, 0}, {0, 0, 0}, {128, 0, 0}};
inline constexpr ColourScheme CaptionColours{{0, 255, 255}, {0, 0, 0}, {0, 255, 255}, {0, 0, 0}};
inline constexpr ColourScheme ValueColours{{0, 128, 128}, {0, 0, 0}, {0, 255, 255}, {0, 0, 0}};

enum class ControlKind { Button, Label, Picture };

struct ControlDesign {
    Control control;
    int top;
    int width;
    int height;
    ControlKind kind;
    std::string_view caption;  // the picture's file for a picture button
    int pixelHeight;           // of the bold Arial caption
    const ColourScheme* colours;
};

// Every control of both panels, game panel first.
std::span<const ControlDesign> panelDesign();
const ControlDesign& designOf(Control control);

}  // namespace quarbel
