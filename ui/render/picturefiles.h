// The names of the game's picture files, which the picture generator writes into the game's
// folder and the game and the editor read from there.
#pragma once

namespace quarbel {

inline constexpr char TileSheetFile[] = "playal8n.bmp";
inline constexpr char BackgroundFile[] = "backgr8.bmp";
inline constexpr char TitlePictureFile[] = "titel.bmp";
inline constexpr char SideStripFile[] = "titel2.bmp";
inline constexpr char WindowIconFile[] = "quarbel.png";

// The movie panel's picture buttons.
inline constexpr char PlayButtonFile[] = "mplay.bmp";
inline constexpr char StopButtonFile[] = "mstop.bmp";
inline constexpr char BackToStartButtonFile[] = "mbacktostart.bmp";
inline constexpr char BackButtonFile[] = "mback.bmp";
inline constexpr char ForwardButtonFile[] = "mforward.bmp";
inline constexpr char TenBackButtonFile[] = "m10back.bmp";
inline constexpr char TenForwardButtonFile[] = "m10forward.bmp";

}  // namespace quarbel
