#pragma once
// Scripted stand-ins for the message, colour and file services: they record what the program
// showed and answer from queues, so no test ever waits on a modal window.

#include <QList>
#include <QString>
#include <deque>
#include <optional>

#include "platform/Services.h"

namespace tessel::testing {

struct ShownMessage {
    QString caption;
    QString text;
    bool yesNo = false;
    bool saveQuestion = false;     // "Guardar", "Descartar", "Cancelar"
    bool recoverQuestion = false;  // "Recuperar", "Descartar", "Más tarde"
};

struct ShownChooser {
    bool save = false;
    platform::FileRequest request;
};

class ScriptedServices : public platform::MessageService,
                         public platform::ColourChooser,
                         public platform::FileChooser {
public:
    // Installs itself as the program's services; the previous ones come back on destruction.
    ScriptedServices();
    ~ScriptedServices() override;

    // What was shown, in order.
    QList<ShownMessage> messages;
    QList<ShownChooser> choosers;
    int colourChooserOpenings = 0;

    // Answers, taken from the front; when empty: Yes, "Descartar", "Más tarde", cancel, cancel.
    std::deque<bool> yesNoAnswers;
    std::deque<platform::SaveAnswer> saveAnswers;
    std::deque<platform::RecoverAnswer> recoverAnswers;
    std::deque<std::optional<Colour>> colourAnswers;
    std::deque<QString> fileAnswers;

    QStringList messageTexts() const;

    void inform(const QString& caption, const QString& text) override;
    bool askYesNo(const QString& caption, const QString& text) override;
    platform::SaveAnswer askSaveDiscardCancel(const QString& caption, const QString& text) override;
    platform::RecoverAnswer askRecoverDiscardLater(const QString& caption,
                                                   const QString& text) override;
    std::optional<Colour> choose(QWidget* parent, platform::CustomColours& customColours) override;
    QString openFile(QWidget* parent, const platform::FileRequest& request) override;
    QString saveFile(QWidget* parent, const platform::FileRequest& request) override;

private:
    platform::Services previous_;
};

}  // namespace tessel::testing
