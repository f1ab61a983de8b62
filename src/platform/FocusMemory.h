#pragma once
// Every window of the program remembers which control had the keyboard focus when it lost
// activation and gives the focus back to it when it is activated again.

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace tessel::platform {

class FocusMemory : public QObject {
    Q_OBJECT
public:
    // Installs itself on the window and lives as long as it.
    static void install(QWidget* window);

    explicit FocusMemory(QWidget* window);
    QWidget* remembered() const { return remembered_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QPointer<QWidget> remembered_;
};

}  // namespace tessel::platform
