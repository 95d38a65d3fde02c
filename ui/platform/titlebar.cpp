#include "ui/platform/titlebar.h"

#include <xcb/xcb.h>
#include <QGuiApplication>
#include <QWidget>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

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

// The connection to the X server, or none on other platforms (which can answer as an X11
// application too, without a connection to use).
xcb_connection_t* x11Connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

std::optional<xcb_atom_t> internAtom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    if (!reply) return std::nullopt;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

}  // namespace

void setTitleBar(QWidget& window, TitleBar titleBar) {
    xcb_connection_t* connection = x11Connection();
    if (!connection) return;
    const std::optional<xcb_atom_t> atom = internAtom(connection, "_MOTIF_WM_HINTS");
    if (!atom) return;
    const std::array<std::uint32_t, 5> hints = motifHints(titleBar);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), *atom, *atom, 32,
                        static_cast<std::uint32_t>(hints.size()), hints.data());
    xcb_flush(connection);
}

bool windowManagerRunning() {
    xcb_connection_t* connection = x11Connection();
    if (!connection) return true;
    // Every window manager since ICCCM 2.0 owns this selection while it runs.
    const std::optional<xcb_atom_t> selection = internAtom(connection, "WM_S0");
    if (!selection) return true;
    xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, *selection), nullptr);
    if (!reply) return true;
    const bool owned = reply->owner != XCB_NONE;
    std::free(reply);
    return owned;
}

}  // namespace quarbel
