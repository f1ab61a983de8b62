#pragma once
// The "Tamaño Imagenes" dialog: pictures read from files at their own size or fitted into a box.

#include <QDialog>

#include "imaging/ImageSizeSetting.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tessel {

class ImageSizeDialog : public QDialog {
    Q_OBJECT
  public:
    ImageSizeDialog(QWidget* parent, ImageSizeSetting& setting);

    QCheckBox* trueSizeBox() const { return trueSizeBox_; }
    QLineEdit* widthBox() const { return widthBox_; }
    QLineEdit* heightBox() const { return heightBox_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* acceptButton() const { return acceptButton_; }

    // The message shown when a box is asked for without a width and a height.
    static QString missingSizeMessage();

  public slots:
    // "Aceptar": closes only when the setting is complete.
    void accept() override;
    // "Cancelar" and the close box: the setting as it was when the dialog opened.
    void reject() override;

  private:
    void setTrueSize(bool ticked);

    ImageSizeSetting& setting_;
    const ImageSizeSetting original_;
    QCheckBox* trueSizeBox_ = nullptr;
    QLineEdit* widthBox_ = nullptr;
    QLineEdit* heightBox_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
};

// Modal; on "Aceptar" the setting is either the true size (box 0 x 0) or a box of positive size.
void ShowImageSizeDialog(QWidget* parent, ImageSizeSetting& setting);

}  // namespace tessel
