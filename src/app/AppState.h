#pragma once
// The state of one run of the program: every settings record, the zero position, the undo
// history with the current picture (and with it the picture size) and the last file name.

#include <QPoint>
#include <QString>

#include "history/UndoHistory.h"
#include "calendar/CalendarRecords.h"
#include "cutting/CutSettings.h"
#include "imaging/ImageSizeSetting.h"
#include "page/PaperSettings.h"
#include "progress/ProgressSettings.h"
#include "shapes/ArrowSettings.h"
#include "shapes/ShapeSettings.h"
#include "text/AlignedTextSettings.h"
#include "text/BubbleSettings.h"
#include "text/FxText.h"
#include "text/LineText.h"
#include "text/TextProperties.h"

namespace tessel {

struct AppState {
    PaperSettings paper;
    ImageSizeSetting imageSize;
    CutSettings cut;
    TextProperties text;
    AlignedTextSettings alignedText;
    BubbleSettings bubble;
    CalendarRecords calendar;
    LineTextSettings lineText;  // the remembered lines and the shared accepted flag
    FxTextSettings fx;
    ShapeSettings shapes;
    ArrowSettings arrows;
    ProgressSettings progress;

    QPoint zero;             // x0 in 0..1199, y0 in 0..899
    UndoHistory history;     // the current picture is history.current()
    // W x H: the current picture's size, kept by the history alone; empty without a picture.
    QSize pictureSize() const { return history.hasPicture() ? history.current().size() : QSize(); }
    QString lastFileName;    // shared by the file choosers
    // history.stateId() of the picture last saved, opened or created: the canvas holds unsaved
    // work while the current state differs from it (app/UnsavedWork.h).
    std::uint64_t savedStateId = 0;
};

}  // namespace tessel
