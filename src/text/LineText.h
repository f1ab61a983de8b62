#pragma once
// One line of text at an insertion point: level, slanted, hollow (outline only) and textured
// (glyphs filled with a picture). The hollow and textured variants work on the ink mask and
// never paint a background.

#include <QImage>
#include <QString>

#include "surface/Colour.h"
#include "surface/Surface.h"
#include "text/TextProperties.h"

namespace tessel {

// What the text-line dialogs remember for the run, and the accepted flag they share with the FX
// text dialog: 1 after "Aceptar", 0 after "Cancelar".
struct LineTextSettings {
    QString angularText;  // "Texto a Insertar"
    QString lineText;     // "Inserta Texto": hollow, textured and file-textured lines
    int accepted = 0;
};

// The text as one line: every line break (CR LF, LF or CR) becomes one blank.
QString singleLine(const QString& text);

// The text cell's top-left corner at (x, y); backColour kTransparent prints without background.
void drawLevelText(Surface& canvas, int x, int y, Colour foreColour, Colour backColour,
                   const QString& text, const QString& fontName, int pointSize, int styleWord);

// As level text, turned counter-clockwise by angleDegrees about the cell's top-left corner
// (90 degrees runs upwards).
void drawSlantedText(Surface& canvas, int x, int y, Colour foreColour, Colour backColour,
                     const QString& text, const QString& fontName, int pointSize, int styleWord,
                     int angleDegrees);

// The outline cells of the text's ink mask in the committed foreColour: cell (column, row)
// lands on canvas pixel (x + column, y + row).
void drawHollowText(Surface& canvas, const QString& text, int x, int y,
                    const TextProperties& properties);

// Every ink and outline cell takes the colour of the texture's pixel (column, row): the
// texture's top-left pixel lies at the strip's origin, and a texture smaller than the text is
// repeated across it (cell (column, row) takes pixel (column mod width, row mod height)).
void drawTexturedText(Surface& canvas, const QString& text, int x, int y,
                      const TextProperties& properties, const QImage& texture);

}  // namespace tessel
