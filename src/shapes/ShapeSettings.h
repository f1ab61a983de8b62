#pragma once
// The settings of the rectangles and ellipses, kept for the whole run. The member initialisers
// are the start-up values.

#include <array>
#include <cstdint>

#include "surface/Colour.h"

namespace tessel {

enum class ShapeKind { Rectangle, Ellipse };

struct ShapeSettings {
    ShapeKind shapeKind = ShapeKind::Rectangle;
    int shapeRounded = 0;                 // rectangle with rounded corners
    std::int16_t shapeCornerPercent = 0;  // 0..100 (more draws like 100)
    Colour shapeBorderColour = 0x000000;
    Colour shapeFillColour = 0xFF0000;       // blue, or kTransparent for no interior
    Colour shapeSavedFillColour = 0xFF0000;  // the interior colour while it is transparent
    int shapeTransparent = 0;
    int shapeFillStyle = 0;       // 0 solid .. 6 diagonal cross
    int shapeLineStyle = 0;       // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot
    int shapeLineWidth = 1;       // 1..15
    std::int16_t shapeWidth = 0;  // size on the canvas, in pixels
    std::int16_t shapeHeight = 0;
    int shapeAccepted = 0;
    // The colour chooser's custom table of this dialog, apart from the program-wide ones.
    std::array<Colour, 16> customColours = [] {
        std::array<Colour, 16> table;
        table.fill(0xFFFFFF);
        return table;
    }();
};

}  // namespace tessel
