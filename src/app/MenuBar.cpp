#include "app/MenuBar.h"

#include <QAction>
#include <QMenu>
#include <utility>

namespace tessel {
namespace {

const int kInsertItems[] = {
    command::InsertAngularText, command::InsertFxText,     command::InsertHollowText,
    command::InsertTextureText, command::InsertFileTextureText, command::InsertAlignedText,
    command::InsertBubble,      command::InsertPicture,    command::InsertIcon,
    command::InsertShapes,      command::InsertArrows,     command::InsertMonth,
    command::InsertProgressBar,
};

const std::pair<const char*, int> kTurnItems[] = {
    {"Girar 90° a la derecha", command::TurnRight},
    {"Girar 90° a la izquierda", command::TurnLeft},
    {"Girar 180°", command::TurnHalf},
    {"Voltear horizontalmente", command::MirrorHorizontal},
    {"Voltear verticalmente", command::MirrorVertical},
};

}  // namespace

MenuBar::MenuBar(QWidget* parent) : QMenuBar(parent) {
    // The titles get keyboard mnemonics; the texts shown stay as they are.
    QMenu* files = addMenu(QStringLiteral("&Archivos"));
    addItem(files, QStringLiteral("Nuevo"), command::New);
    files->addSeparator();
    addItem(files, QStringLiteral("Posicion Zero"), command::ZeroPosition);
    files->addSeparator();
    addItem(files, QStringLiteral("Leer Imagen"), command::ReadPicture);
    files->addSeparator();
    addItem(files, QStringLiteral("Grabar Imagen"), command::SavePicture);
    files->addSeparator();
    addItem(files, QStringLiteral("Papel Formato"), command::PaperFormat);
    files->addSeparator();
    addItem(files, QStringLiteral("Cortar"), command::Cut);
    files->addSeparator();
    addItem(files, QStringLiteral("Autor"), command::Author);
    files->addSeparator();
    addItem(files, QStringLiteral("Salir"), command::Quit);

    QMenu* custom = addMenu(QStringLiteral("&Personalizar"));
    addItem(custom, QStringLiteral("Propiedades Texto"), command::TextProperties);
    addItem(custom, QStringLiteral("Configuracion"), command::CutSettings);
    addItem(custom, QStringLiteral("Tamaño imagenes"), command::ImageSize);
    addItem(custom, QStringLiteral("Dias Festivos"), command::Holidays);
    addItem(custom, QStringLiteral("Selector Texturas"), command::TextureSelector);

    QMenu* rulers = addMenu(QStringLiteral("&Regletas"));
    addItem(rulers, QStringLiteral("En pixel"), command::RulerPixels);
    addItem(rulers, QStringLiteral("En milimetros"), command::RulerMillimetres);
    action(command::RulerPixels)->setCheckable(true);
    setState(command::RulerMillimetres, ItemState::Checked);

    QMenu* view = addMenu(QStringLiteral("&Ver"));
    viewMenu_ = view;
    addItem(view, QStringLiteral("Ajustar a la ventana"), command::FitToWindow);
    addItem(view, QStringLiteral("Tamaño real"), command::ActualSize);
    addItem(view, QStringLiteral("Acercar"), command::ZoomIn);
    addItem(view, QStringLiteral("Alejar"), command::ZoomOut);
    action(command::FitToWindow)->setCheckable(true);

    QMenu* modify = addMenu(QStringLiteral("&Modificar"));
    addItem(modify, QStringLiteral("Deshacer"), command::Undo);
    addItem(modify, QStringLiteral("Rehacer"), command::Redo);
    modify->addSeparator();
    addItem(modify, QStringLiteral("Copiar imagen"), command::CopyPicture);
    addItem(modify, QStringLiteral("Pegar"), command::Paste);
    addItem(modify, QStringLiteral("Pegar como imagen nueva"), command::PasteAsNew);
    modify->addSeparator();
    addItem(modify, QStringLiteral("Escala de Gris"), command::GreyScale);
    for (const auto& [text, id] : kTurnItems) addItem(modify, QString::fromUtf8(text), id);
    modify->addSeparator();
    addItem(modify, QStringLiteral("Insertar Linea de Texto Angular"), command::InsertAngularText);
    addItem(modify, QStringLiteral("Insertar Linea de Texto FX"), command::InsertFxText);
    addItem(modify, QStringLiteral("Insertar Linea de Texto Hueca"), command::InsertHollowText);
    addItem(modify, QStringLiteral("Insertar Linea de Texto con Textura "), command::InsertTextureText);
    addItem(modify, QStringLiteral("Insertar Linea de Texto con Textura de Fichero"),
            command::InsertFileTextureText);
    addItem(modify, QStringLiteral("Insertar Texto Alineado"), command::InsertAlignedText);
    addItem(modify, QStringLiteral("Insertar Bocadito"), command::InsertBubble);
    addItem(modify, QStringLiteral("Insertar Imagen"), command::InsertPicture);
    addItem(modify, QStringLiteral("Insertar Icono"), command::InsertIcon);
    addItem(modify, QStringLiteral("Insertar Cuadrados o Circulos"), command::InsertShapes);
    addItem(modify, QStringLiteral("Insertar Flechas"), command::InsertArrows);
    addItem(modify, QStringLiteral("Insertar Mes de Almanaque"), command::InsertMonth);
    addItem(modify, QStringLiteral("Insertar ProgressBar"), command::InsertProgressBar);

    action(command::New)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    action(command::ReadPicture)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    action(command::SavePicture)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    action(command::Undo)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    action(command::Redo)->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    action(command::CopyPicture)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    action(command::Paste)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    action(command::PasteAsNew)->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    action(command::Quit)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    action(command::FitToWindow)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    action(command::ActualSize)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    // Ctrl and "+" is also Ctrl and "=" on keyboards where "+" needs Shift.
    action(command::ZoomIn)->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    action(command::ZoomOut)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    for (QAction* a : std::as_const(actions_)) a->setShortcutContext(Qt::WindowShortcut);
    menus_ = {files, custom, rulers, view, modify};

    applyPhase(MenuPhase::NoPicture);
}

void MenuBar::addItem(QMenu* menu, const QString& text, int commandId) {
    QAction* item = menu->addAction(text);
    actions_.insert(commandId, item);
    connect(item, &QAction::triggered, this, [this, item, commandId] {
        // A click toggles a checkable item; its check mark follows the handler, not clicks.
        if (item->isCheckable()) item->setChecked(!item->isChecked());
        emit command(commandId);
    });
}

void MenuBar::setState(int commandId, ItemState state) {
    QAction* item = action(commandId);
    if (!item) return;
    item->setEnabled(state != ItemState::Grayed);
    if (state == ItemState::Checked) item->setCheckable(true);
    item->setChecked(state == ItemState::Checked);
}

ItemState MenuBar::state(int commandId) const {
    const QAction* item = action(commandId);
    if (!item || !item->isEnabled()) return ItemState::Grayed;
    return item->isChecked() ? ItemState::Checked : ItemState::Enabled;
}

void MenuBar::setClipboardOffersPicture(bool offers) {
    clipboardOffersPicture_ = offers;
    applyPhase(phase_);
}

void MenuBar::applyPhase(MenuPhase phase) {
    phase_ = phase;
    const bool picture = phase != MenuPhase::NoPicture;
    const auto enable = [this](int id, bool on) {
        if (on) {
            if (state(id) == ItemState::Grayed) setState(id, ItemState::Enabled);
        } else {
            setState(id, ItemState::Grayed);
        }
    };
    enable(command::ReadPicture, !picture);
    enable(command::PaperFormat, !picture);
    enable(command::Cut, phase == MenuPhase::PictureLoaded);
    enable(command::SavePicture, picture);
    enable(command::Undo, picture);
    enable(command::Redo, picture);
    enable(command::GreyScale, picture);
    enable(command::CopyPicture, picture);
    // Without a picture "Pegar" makes the pasted one the canvas.
    enable(command::Paste, clipboardOffersPicture_);
    enable(command::PasteAsNew, clipboardOffersPicture_);
    for (int id : kInsertItems) enable(id, picture);
    for (const auto& item : kTurnItems) enable(item.second, picture);
}

void MenuBar::setWaiting(bool waiting) {
    for (QMenu* menu : std::as_const(menus_)) {
        if (menu != viewMenu_) menu->setEnabled(!waiting);
    }
    for (QAction* item : viewMenu_->actions()) {
        item->setShortcutContext(waiting ? Qt::ApplicationShortcut : Qt::WindowShortcut);
    }
}

}  // namespace tessel
