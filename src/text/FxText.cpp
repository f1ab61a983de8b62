#include "text/FxText.h"

#include "platform/Fonts.h"
#include "text/InkMask.h"
#include "text/LineText.h"

namespace tessel {

void drawThreeColourText(Surface& canvas, const QString& text, int x, int y,
                         const FontRequest& font, Colour colour1, Colour colour2, Colour colour3) {
    const InkMask mask = buildInkMask(text, font);
    const int top = mask.firstInkRow();
    if (top == 0) return;
    const int s = font.points / 3;
    for (int row = top; row <= mask.rows(); ++row) {
        const Colour colour = row <= top + s ? colour1 : row <= top + 2 * s ? colour2 : colour3;
        for (int column = 1; column <= mask.columns(); ++column) {
            if (mask.at(column, row) == InkMask::kInk) canvas.setPixel(x + column, y + row, colour);
        }
    }
}

void drawReliefText(Surface& canvas, const QString& text, int kind, const FontRequest& font,
                    Colour colour, int x, int y) {
    const bool raised = kind == kReliefRaised;
    const QString line = singleLine(text);
    canvas.selectFont(platform::resolveFont(font));
    canvas.setBackground(kTransparent);
    const struct {
        Colour colour;
        int dx;
    } printings[] = {
        {raised ? kReliefHighlight : kReliefShadow, -1},
        {raised ? kReliefShadow : kReliefHighlight, +1},
        {colour, 0},
    };
    for (const auto& printing : printings) {
        canvas.setForeground(printing.colour);
        canvas.moveTo(x + printing.dx, y + printing.dx);
        canvas.print(line);
    }
}

}  // namespace tessel
