#include "ui/platform/titlebar.h"

#include <xcb/xcb.h>
#include <QGuiApplication>
#include <QWidget>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace quarbel {

namespace {

// The Motif window manager hints: which fields are set, the functions allowed, the
// decorations shown.
constexpr std::uint32_t HintFunctions = 1u << 0;
constexpr std::uint32_t HintDecorations = 1u << 1;
constexpr std::uint32_t FunctionResize = 1u << 1;
constexpr std::uint32_t FunctionMove = 1u << 2;
constexpr std::uint32_t FunctionMinimise = 1u << 3;
constexpr std::uint32_t FunctionMaximise = 1u << 4;
constexpr std::uint32_t FunctionClose = 1u << 5;
constexpr std::uint32_t DecorationBorder = 1u << 1;
constexpr std::uint32_t DecorationTitle = 1u << 3;
constexpr std::uint32_t DecorationMenu = 1u << 4;
constexpr std::uint32_t DecorationMinimise = 1u << 5;

std::array<std::uint32_t, 5> motifHints(TitleBar titleBar) {
    const std::uint32_t set = HintFunctions | HintDecorations;
    switch (titleBar) {
        case TitleBar::MainWindow:
            return {
                set,
                FunctionResize | FunctionMove | FunctionMinimise | FunctionMaximise | FunctionClose,
                DecorationBorder | DecorationTitle | DecorationMenu | DecorationMinimise, 0, 0};
        case TitleBar::Dialog:
            return {set, FunctionMove, DecorationBorder | DecorationTitle, 0, 0};
        case TitleBar::ClosableDialog:
            break;
    }
    return {set, FunctionMove | FunctionClose, DecorationBorder | DecorationTitle | DecorationMenu,
            0, 0};
}

}  // namespace

void setTitleBar(QWidget& window, TitleBar titleBar) {
    // Other platforms can answer as an X11 application too, without a connection to use.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return;
    const char* const name = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    if (!atom) return;
    const std::array<std::uint32_t, 5> hints = motifHints(titleBar);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), atom->atom, atom->atom, 32,
                        static_cast<std::uint32_t>(hints.size()), hints.data());
    std::free(atom);
    xcb_flush(connection);
}

}  // namespace quarbel
