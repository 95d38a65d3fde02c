#include "assets/paint.h"

#include <algorithm>
#include <array>
#include <map>

namespace artwork {

QColor shade(const QColor& colour, double factor) {
    if (factor <= 1.0) {
        return QColor::fromRgbF(colour.redF() * factor, colour.greenF() * factor,
                                colour.blueF() * factor, colour.alphaF());
    }
    return mix(colour, QColor(255, 255, 255, colour.alpha()), factor - 1.0);
}

QColor mix(const QColor& a, const QColor& b, double amount) {
    const double keep = 1.0 - amount;
    return QColor::fromRgbF(
        a.redF() * keep + b.redF() * amount, a.greenF() * keep + b.greenF() * amount,
        a.blueF() * keep + b.blueF() * amount, a.alphaF() * keep + b.alphaF() * amount);
}

QImage transparentImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void outlineShapes(QImage& art, const QColor& outline) {
    const QImage shapes = art.copy();
    auto opaque = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < shapes.width() && y < shapes.height() &&
               qAlpha(shapes.pixel(x, y)) >= 128;
    };
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            if (!opaque(x, y) &&
                (opaque(x - 1, y) || opaque(x + 1, y) || opaque(x, y - 1) || opaque(x, y + 1))) {
                art.setPixelColor(x, y, outline);
            }
        }
    }
}

CratePalette plainCrate() {
    return {QColor(222, 164, 92), QColor(184, 118, 58), QColor(122, 70, 32), QColor(150, 92, 44),
            QColor(196, 200, 214)};
}

CratePalette homeCrate() {
    return {QColor(150, 232, 120), QColor(78, 178, 88), QColor(30, 104, 58), QColor(52, 140, 70),
            QColor(255, 214, 80)};
}

void drawCrate(QPainter& painter, const CratePalette& palette, int x, int y, int width,
               int lidHeight, int frontHeight) {
    const int frame = width >= 24 ? 2 : 1;
    const int right = x + width - 1;

    // The lid: a frame round planks running across, lit from the top left.
    painter.fillRect(x, y, width, lidHeight, palette.frame);
    painter.fillRect(x + frame, y + frame, width - 2 * frame, lidHeight - 2 * frame, palette.lid);
    const int planks = lidHeight >= 16 ? 3 : 2;
    for (int i = 1; i < planks; ++i) {
        const int seam = y + frame + i * (lidHeight - 2 * frame) / planks;
        painter.fillRect(x + frame, seam, width - 2 * frame, 1, palette.grain);
    }
    painter.fillRect(x + frame, y + frame, width - 2 * frame, 1, shade(palette.lid, 1.25));
    painter.fillRect(x, y, width, 1, shade(palette.frame, 1.35));

    // The front face: darker, with a diagonal brace between the frame boards.
    const int fy = y + lidHeight;
    painter.fillRect(x, fy, width, frontHeight, palette.frame);
    const int innerW = width - 2 * frame;
    const int innerH = frontHeight - 2 * frame;
    painter.fillRect(x + frame, fy + frame, innerW, innerH, palette.front);
    if (innerH >= 3) {
        for (int i = 0; i < innerW; ++i) {
            const int rise = i * (innerH - 1) / std::max(1, innerW - 1);
            painter.fillRect(x + frame + i, fy + frame + innerH - 1 - rise, 1, frame,
                             palette.grain);
        }
    }
    painter.fillRect(x, fy, width, 1, shade(palette.frame, 0.7));

    // Metal corners where the boards meet.
    if (frame == 2) {
        for (int cx : {x, right - 1}) {
            for (int cy : {y, y + lidHeight - 2, fy + frontHeight - 2}) {
                painter.fillRect(cx, cy, 2, 2, palette.fitting);
            }
        }
    }
}

namespace {

using Glyph = std::array<const char*, 7>;

const std::map<QChar, Glyph>& blockFont() {
    static const std::map<QChar, Glyph> font = {
        {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
        {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
        {'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
        {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
        {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
        {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
        {'G', {" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"}},
        {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
        {'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
        {'J', {"  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "}},
        {'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
        {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
        {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
        {'N', {"#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"}},
        {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
        {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
        {'Q', {" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"}},
        {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
        {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
        {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
        {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
        {'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
        {'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "## ##", "#   #"}},
        {'X', {"#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"}},
        {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
        {'Z', {"#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"}},
        {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
        {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
        {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
        {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
        {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
        {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
        {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
        {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
        {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
        {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
        {'!', {"  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "     ", "  #  "}},
        {'.', {"     ", "     ", "     ", "     ", "     ", "     ", "  #  "}},
        {'-', {"     ", "     ", "     ", " ### ", "     ", "     ", "     "}},
        {' ', {"     ", "     ", "     ", "     ", "     ", "     ", "     "}},
    };
    return font;
}

constexpr int GlyphWidth = 5;
constexpr int GlyphHeight = 7;
constexpr int GlyphAdvance = GlyphWidth + 1;

void forEachBlock(const QString& text, int size, auto&& visit) {
    const auto& font = blockFont();
    for (int i = 0; i < text.size(); ++i) {
        const auto glyph = font.find(text[i].toUpper());
        if (glyph == font.end()) continue;
        for (int row = 0; row < GlyphHeight; ++row) {
            for (int col = 0; col < GlyphWidth; ++col) {
                if (glyph->second[row][col] == '#') {
                    visit((i * GlyphAdvance + col) * size, row * size, row);
                }
            }
        }
    }
}

}  // namespace

int blockTextWidth(const QString& text, int size) {
    return text.isEmpty() ? 0 : (text.size() * GlyphAdvance - 1) * size;
}

void drawBlockText(QImage& target, const QString& text, int x, int y, const BlockStyle& style) {
    QPainter painter(&target);
    const int s = style.size;
    // The extrusion first, one step at a time, so letters look like solid blocks.
    for (int step = style.depthSteps; step >= 1; --step) {
        const QColor side = shade(style.depth, 1.0 - 0.5 * step / (style.depthSteps + 1));
        forEachBlock(text, s, [&](int bx, int by, int) {
            painter.fillRect(x + bx + step, y + by + step, s, s, side);
        });
    }
    forEachBlock(text, s, [&](int bx, int by, int row) {
        const QColor face = mix(style.top, style.bottom, row / double(GlyphHeight - 1));
        painter.fillRect(x + bx, y + by, s, s, face);
        if (s >= 3) {
            painter.fillRect(x + bx, y + by, s, 1, shade(face, 1.35));
            painter.fillRect(x + bx, y + by, 1, s, shade(face, 1.2));
            painter.fillRect(x + bx, y + by + s - 1, s, 1, shade(face, 0.72));
            painter.fillRect(x + bx + s - 1, y + by, 1, s, shade(face, 0.8));
        }
    });
}

}  // namespace artwork
