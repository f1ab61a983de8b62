#pragma once
// The "Texturas" dialog: browse the 100 built-in textures, see the top-left of each unscaled
// with its size, and so choose the texture of the paper and of textured text.

#include <QDialog>

#include "page/PaperSettings.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace tessel {

namespace platform {
class DrawingArea;
}

class TextureDialog : public QDialog {
    Q_OBJECT
  public:
    // Opens on the texture of paper.textureNumber; every selection is stored there at once.
    TextureDialog(QWidget* parent, PaperSettings& paper);

    platform::DrawingArea* preview() const { return preview_; }
    QListWidget* list() const { return list_; }
    QLabel* sizeLabel() const { return sizeLabel_; }
    QPushButton* closeButton() const { return closeButton_; }

  private:
    void choose();
    void showTexture(int number);

    PaperSettings& paper_;
    platform::DrawingArea* preview_;
    QListWidget* list_;
    QLabel* sizeLabel_;
    QPushButton* closeButton_;
};

// Modal; returns when closed, with paper.textureNumber holding the texture last selected.
void ShowTextureDialog(QWidget* parent, PaperSettings& paper);

}  // namespace tessel
