#include "app/TextCommands.h"

#include <functional>
#include <optional>

#include "app/FileCommands.h"
#include "app/Insertion.h"
#include "app/PlaceDialog.h"
#include "imaging/CodecBridge.h"
#include "platform/BuiltinPictures.h"
#include "platform/Services.h"
#include "text/FxText.h"
#include "text/FxTextDialog.h"
#include "text/LineText.h"
#include "text/LineTextDialogs.h"
#include "text/TextPropertiesDialog.h"

namespace tessel {
namespace {

const QString kMissingText =
    QStringLiteral("Tiene que escribir una frase para poder insertarla en la imagen ...");

Insertion textInsertion(int accepted, const QString& text) {
    Insertion insertion;
    insertion.accepted = accepted == 1;
    insertion.requiredText = &text;
    insertion.missingTextMessage = kMissingText;
    return insertion;
}

// The line of "Inserta Texto", shown while it is typed and inserted on "Aceptar": `drawLine`
// draws a line that is not empty at the zero position.
bool insertLine(AppState& state, QWidget* parent,
                const std::function<void(Surface&, const QString&, QPoint)>& drawLine) {
    const auto drawWith = [&drawLine](const LineTextSettings& line) -> LivePreview::Draw {
        return [&drawLine, text = line.lineText](Surface& canvas, QPoint zero) {
            if (text.isEmpty()) return false;
            drawLine(canvas, text, zero);
            return true;
        };
    };
    LivePreview preview(state, parent);
    AskLineText(parent, state.lineText, preview.follow<LineTextSettings>(drawWith));
    Insertion insertion = textInsertion(state.lineText.accepted, state.lineText.lineText);
    insertion.draw = drawWith(state.lineText);
    return runInsertion(state, insertion, &preview);
}

}  // namespace

void TextPropertiesCommand(AppState& state, QWidget* parent) {
    ShowTextPropertiesDialog(parent, state.text, platform::programColours());
}

bool AngularTextCommand(AppState& state, QWidget* parent) {
    const TextProperties& p = state.text;
    const auto drawWith = [&p](const LineTextSettings& line) -> LivePreview::Draw {
        return [&p, text = line.angularText](Surface& canvas, QPoint zero) {
            if (text.isEmpty()) return false;
            if (p.angled == 0) {
                drawLevelText(canvas, zero.x(), zero.y(), p.foreColour, p.backColour, text,
                              p.fontName, p.pointSize, styleBits(p.styles));
            } else {
                drawSlantedText(canvas, zero.x(), zero.y(), p.foreColour, p.backColour, text,
                                p.fontName, p.pointSize, styleBits(p.styles), p.angleDegrees);
            }
            return true;
        };
    };
    LivePreview preview(state, parent);
    AskAngularText(parent, state.lineText, preview.follow<LineTextSettings>(drawWith));
    Insertion insertion = textInsertion(state.lineText.accepted, state.lineText.angularText);
    insertion.draw = drawWith(state.lineText);
    return runInsertion(state, insertion, &preview);
}

bool HollowTextCommand(AppState& state, QWidget* parent) {
    return insertLine(state, parent, [&state](Surface& canvas, const QString& text, QPoint zero) {
        drawHollowText(canvas, text, zero.x(), zero.y(), state.text);
    });
}

bool TextureTextCommand(AppState& state, QWidget* parent) {
    // The texture is read once, when first drawn.
    std::optional<QImage> texture;
    const int textureNumber = state.paper.textureNumber;
    return insertLine(state, parent, [&](Surface& canvas, const QString& text, QPoint zero) {
        if (!texture) texture = platform::texturePicture(textureNumber);
        drawTexturedText(canvas, text, zero.x(), zero.y(), state.text, *texture);
    });
}

bool FileTextureTextCommand(AppState& state, QWidget* parent) {
    AskLineText(parent, state.lineText);
    const QString& text = state.lineText.lineText;
    Insertion insertion = textInsertion(state.lineText.accepted, text);
    if (!insertion.accepted || text.isEmpty() || !state.history.hasPicture()) {
        return runInsertion(state, insertion);  // shows the message for an empty text
    }
    // The picture is asked for and loaded before any level is made, so a cancelled chooser or
    // a picture that cannot be read leaves the history as it was.
    ChoosePictureToOpen(parent, state.lastFileName);
    if (state.lastFileName.size() <= 3) {
        platform::inform(QStringLiteral("No leo imagen ..."));
        return false;
    }
    const std::optional<Surface> picture =
        LoadPictureAsBitmap(state.lastFileName, state.imageSize, state.paper.paperColour);
    if (!picture) return false;
    return placeAndInsert(state, parent,
                          QStringLiteral("Insertar Linea de Texto con Textura de Fichero"),
                          [&](Surface& canvas, QPoint zero) {
                              drawTexturedText(canvas, text, zero.x(), zero.y(), state.text,
                                               picture->image());
                              return true;
                          });
}

bool FxTextCommand(AppState& state, QWidget* parent) {
    const TextProperties& p = state.text;
    const auto drawWith = [&p](const FxTextSettings& fx) -> LivePreview::Draw {
        return [&p, fx](Surface& canvas, QPoint zero) {
            const QString& text = fx.fxText;
            if (text.isEmpty()) return false;
            const FontRequest font = levelFont(p);
            if (fx.mode == FxMode::ThreeColour) {
                drawThreeColourText(canvas, text, zero.x(), zero.y(), font, fx.colour1, fx.colour2,
                                    fx.colour3);
            } else {
                drawReliefText(canvas, text,
                               fx.mode == FxMode::Raised ? kReliefRaised : kReliefSunk, font,
                               p.foreColour, zero.x(), zero.y());
            }
            return true;
        };
    };
    LivePreview preview(state, parent);
    AskFxText(parent, state.fx, state.lineText.accepted, platform::programColours(),
              preview.follow<FxTextSettings>(drawWith));
    Insertion insertion = textInsertion(state.lineText.accepted, state.fx.fxText);
    insertion.draw = drawWith(state.fx);
    return runInsertion(state, insertion, &preview);
}

}  // namespace tessel
