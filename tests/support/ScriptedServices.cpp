#include "support/ScriptedServices.h"

namespace tessel::testing {

ScriptedServices::ScriptedServices() : previous_(platform::services()) {
    platform::installServices({this, this, this});
}

ScriptedServices::~ScriptedServices() { platform::installServices(previous_); }

QStringList ScriptedServices::messageTexts() const {
    QStringList texts;
    for (const auto& m : messages) texts << m.text;
    return texts;
}

void ScriptedServices::inform(const QString& caption, const QString& text) {
    messages.append({caption, text, false});
}

bool ScriptedServices::askYesNo(const QString& caption, const QString& text) {
    messages.append({caption, text, true});
    if (yesNoAnswers.empty()) return true;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

platform::SaveAnswer ScriptedServices::askSaveDiscardCancel(const QString& caption,
                                                          const QString& text) {
    messages.append({caption, text, false, true});
    if (saveAnswers.empty()) return platform::SaveAnswer::Discard;
    const platform::SaveAnswer answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

platform::RecoverAnswer ScriptedServices::askRecoverDiscardLater(const QString& caption,
                                                                 const QString& text) {
    messages.append({caption, text, false, false, true});
    if (recoverAnswers.empty()) return platform::RecoverAnswer::Later;
    const platform::RecoverAnswer answer = recoverAnswers.front();
    recoverAnswers.pop_front();
    return answer;
}

std::optional<Colour> ScriptedServices::choose(QWidget*, platform::CustomColours&) {
    ++colourChooserOpenings;
    if (colourAnswers.empty()) return std::nullopt;
    const auto answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}

QString ScriptedServices::openFile(QWidget*, const platform::FileRequest& request) {
    choosers.append({false, request});
    if (fileAnswers.empty()) return {};
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

QString ScriptedServices::saveFile(QWidget*, const platform::FileRequest& request) {
    choosers.append({true, request});
    if (fileAnswers.empty()) return {};
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

}  // namespace tessel::testing
