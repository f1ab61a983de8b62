#pragma once
// The main menu: its five menus with every item, separator and command id, item states changed
// by command id, and the three phases of availability.

#include <QHash>
#include <QMenuBar>

#include "app/CommandIds.h"

class QAction;

namespace tessel {

enum class ItemState { Grayed, Enabled, Checked };
enum class MenuPhase { NoPicture, PictureLoaded, PaperCreated };

class MenuBar : public QMenuBar {
    Q_OBJECT
public:
    explicit MenuBar(QWidget* parent = nullptr);

    void setState(int commandId, ItemState state);
    // Enabled and unchecked, enabled and checked, or grayed.
    ItemState state(int commandId) const;
    void applyPhase(MenuPhase phase);
    MenuPhase phase() const { return phase_; }
    // Whether the clipboard holds a picture: the paste items are grayed while it does not.
    void setClipboardOffersPicture(bool offers);
    // While an insertion dialog is open beside the window: every menu but "Ver" waits, and the
    // view's keys also work from the dialog.
    void setWaiting(bool waiting);
    QAction* action(int commandId) const { return actions_.value(commandId); }
    QList<int> commandIds() const { return actions_.keys(); }

signals:
    void command(int commandId);

private:
    void addItem(QMenu* menu, const QString& text, int commandId);
    QHash<int, QAction*> actions_;
    QList<QMenu*> menus_;
    QMenu* viewMenu_ = nullptr;
    MenuPhase phase_ = MenuPhase::NoPicture;
    bool clipboardOffersPicture_ = false;
};

}  // namespace tessel
