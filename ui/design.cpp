#include "ui/design.h"

#include <algorithm>

#include "core/levelpack.h"
#include "ui/render/picturefiles.h"

namespace quarbel {

namespace {

using enum ControlKind;

constexpr ControlDesign Panels[] = {
    // Game panel, right margin.
    {Control::playtitel, 17, 94, 27, Button, "GAME", 28, &TitleColours},
    {Control::plusplus, 51, 41, 27, Button, "++", 24, &LevelColours},
    {Control::plus, 51, 41, 27, Button, "+", 24, &LevelColours},
    {Control::levelnummer, 83, 73, 25, Label, "1", 27, &ValueColours},
    {Control::minusminus, 111, 41, 26, Button, "- -", 24, &LevelColours},
    {Control::minus, 111, 41, 26, Button, "-", 24, &LevelColours},
    {Control::start, 154, 94, 26, Button, "START", 24, &CommandColours},
    {Control::Undobutton, 179, 94, 27, Button, "UNDO", 24, &CommandColours},
    {Control::movie, 205, 94, 26, Button, "MOVIE", 24, &CommandColours},
    {Control::help, 230, 94, 27, Button, "HELP", 24, &CommandColours},
    {Control::steps, 268, 94, 27, Label, "Steps:", 19, &CaptionColours},
    {Control::stepsview, 292, 94, 27, Label, "0", 19, &ValueColours},
    {Control::time1, 327, 94, 26, Label, "Time:", 19, &CaptionColours},
    {Control::timeview, 354, 94, 27, Label, "00:00:00", 19, &ValueColours},
    {Control::autor, 388, 94, 27, Label, "Level by:", 19, &CaptionColours},
    {Control::autorname, 412, 100, 27, Label, DefaultAuthor, 15, &ValueColours},
    // Movie panel, left margin.
    {Control::movietitel, 17, 94, 27, Label, "MOVIE", 28, &MovieTitleColours},
    {Control::plusplus2, 51, 42, 27, Button, "++", 24, &LevelColours},
    {Control::plus2, 51, 41, 27, Button, "+", 24, &LevelColours},
    {Control::levelnummer2, 83, 73, 25, Label, "1", 27, &ValueColours},
    {Control::minusminus2, 111, 42, 26, Button, "- -", 24, &LevelColours},
    {Control::minus2, 111, 41, 26, Button, "-", 24, &LevelColours},
    {Control::load, 154, 95, 26, Button, "LOAD", 24, &CommandColours},
    {Control::game, 179, 95, 27, Button, "GAME", 24, &CommandColours},
    {Control::helpmovie, 205, 95, 26, Button, "HELP", 24, &CommandColours},
    {Control::mplay, 247, 70, 34, Picture, PlayButtonFile, 0, nullptr},
    {Control::mbacktostart, 281, 35, 35, Picture, BackToStartButtonFile, 0, nullptr},
    {Control::mstop, 281, 35, 35, Picture, StopButtonFile, 0, nullptr},
    {Control::mback, 316, 35, 35, Picture, BackButtonFile, 0, nullptr},
    {Control::mforward, 316, 35, 35, Picture, ForwardButtonFile, 0, nullptr},
    {Control::m10back, 351, 35, 35, Picture, TenBackButtonFile, 0, nullptr},
    {Control::m10forward, 351, 35, 35, Picture, TenForwardButtonFile, 0, nullptr},
    {Control::msteps, 394, 95, 27, Label, "Steps:", 19, &CaptionColours},
    {Control::mstepsview, 420, 94, 27, Label, "0", 19, &ValueColours},
};

}  // namespace

std::span<const ControlDesign> panelDesign() {
    return Panels;
}

const ControlDesign& designOf(Control control) {
    return *std::find_if(std::begin(Panels), std::end(Panels),
                         [control](const ControlDesign& d) { return d.control == control; });
}

}  // namespace quarbel
