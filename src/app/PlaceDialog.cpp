#include "app/PlaceDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "app/Insertion.h"
#include "platform/BesideWindow.h"
#include "platform/Fonts.h"

namespace tessel {

PlaceDialog::PlaceDialog(QWidget* parent, const QString& title) : QDialog(parent) {
    setWindowTitle(title);
    setFont(platform::dialogFont(8));
    auto* hint = new QLabel(
        QStringLiteral("Haga clic en la imagen, o arrastre sobre ella, para llevarla a otro "
                       "sitio; las barras de posición también la mueven."),
        this);
    hint->setWordWrap(true);
    accept_ = new QPushButton(QStringLiteral("Aceptar"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancelar"), this);
    accept_->setDefault(true);
    connect(accept_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addWidget(accept_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    hint->setFixedWidth(320);
}

bool placeAndInsert(AppState& state, QWidget* window, const QString& title,
                    LivePreview::Draw draw) {
    Insertion insertion;
    insertion.draw = std::move(draw);
    LivePreview preview(state, window);
    insertion.accepted = true;
    if (preview.enabled()) {
        preview.show(insertion.draw);
        PlaceDialog dialog(window, title);
        insertion.accepted = platform::runBesideWindow(dialog) == QDialog::Accepted;
    }
    return runInsertion(state, insertion, &preview);
}

}  // namespace tessel
