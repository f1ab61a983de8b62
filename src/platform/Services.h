#pragma once
// The services through which the program talks to the user outside its own windows: message
// boxes, the colour chooser and the file choosers. The real ones use Qt; tests install scripted
// ones (tests/support) that record what was shown and answer from a queue.

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "surface/Colour.h"

class QWidget;

namespace tessel::platform {

// The caption of the program's own messages.
inline const QString kCaption = QStringLiteral("Programador");

// The answers to the question about unsaved work.
enum class SaveAnswer { Save, Discard, Cancel };
// The answers to the offer of a picture that was never saved.
enum class RecoverAnswer { Recover, Discard, Later };

class MessageService {
public:
    virtual ~MessageService() = default;
    // An OK message box. A CR LF in the text is a line break.
    virtual void inform(const QString& caption, const QString& text) = 0;
    // A Yes/No message box; true when the answer is Yes.
    virtual bool askYesNo(const QString& caption, const QString& text) = 0;
    // A question with "Guardar" (the default), "Descartar" and "Cancelar"; Escape and the close
    // box answer "Cancelar", and so does a service that cannot ask, so nothing is lost.
    virtual SaveAnswer askSaveDiscardCancel(const QString& caption, const QString& text) {
        (void)caption;
        (void)text;
        return SaveAnswer::Cancel;
    }
    // A question with "Recuperar" (the default), "Descartar" and "Más tarde"; Escape and the
    // close box answer "Más tarde", and so does a service that cannot ask, so nothing is lost.
    virtual RecoverAnswer askRecoverDiscardLater(const QString& caption, const QString& text) {
        (void)caption;
        (void)text;
        return RecoverAnswer::Later;
    }
};

// Sixteen custom colour slots, read and written back by the colour chooser.
using CustomColours = std::array<Colour, 16>;

class ColourChooser {
public:
    virtual ~ColourChooser() = default;
    // Opens fully, always starting on grey 0x808080, with the given custom colours (which the
    // user may change). The chosen colour, or nothing when cancelled.
    virtual std::optional<Colour> choose(QWidget* parent, CustomColours& customColours) = 0;
};

struct FileRequest {
    QString title;
    // Filters as pairs of description and patterns: {"Images", "*.jpg;*.png"}, ...
    QList<std::pair<QString, QString>> filters;
    QString defaultSuffix;  // without the dot, added when the typed name has none
    QString startPath;      // the chooser starts in its folder with its file name proposed
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The full path chosen, or an empty text when cancelled. Never changes the process's
    // current folder.
    virtual QString openFile(QWidget* parent, const FileRequest& request) = 0;
    virtual QString saveFile(QWidget* parent, const FileRequest& request) = 0;
};

// The chooser's filters as the file dialog takes them: "Images (*.jpg *.png)". A "*.*" pattern
// means every file, names without a dot included, and becomes "*".
QStringList nameFilters(const FileRequest& request);

struct Services {
    MessageService* messages = nullptr;
    ColourChooser* colours = nullptr;
    FileChooser* files = nullptr;
};

// The services in use: the Qt ones unless others were installed.
Services& services();
// Replaces the services in use (tests); null members keep the current ones.
void installServices(const Services& replacement);

inline void inform(const QString& text) { services().messages->inform(kCaption, text); }
inline bool askYesNo(const QString& text) { return services().messages->askYesNo(kCaption, text); }

// The program-wide set of custom colours shared by most colour choosers.
CustomColours& programColours();

}  // namespace tessel::platform
