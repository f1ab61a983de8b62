#include "platform/Services.h"

#include "platform/MessageDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>

namespace tessel::platform {
namespace {

// A message asks for the user's answer, so it shows the ordinary pointer even while some
// long work has set the wait cursor.
int execWithPointer(QDialog& box) {
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int result = box.exec();
    if (busy) QApplication::restoreOverrideCursor();
    return result;
}

class QtMessages : public MessageService {
public:
    void inform(const QString& caption, const QString& text) override {
        MessageDialog box(caption, text, MessageDialog::Buttons::Ok, QApplication::activeWindow());
        execWithPointer(box);
    }
    bool askYesNo(const QString& caption, const QString& text) override {
        MessageDialog box(caption, text, MessageDialog::Buttons::YesNo,
                          QApplication::activeWindow());
        return execWithPointer(box) == QDialog::Accepted;
    }
    SaveAnswer askSaveDiscardCancel(const QString& caption, const QString& text) override {
        MessageDialog box(caption, text, MessageDialog::Buttons::SaveDiscardCancel,
                          QApplication::activeWindow());
        switch (execWithPointer(box)) {
            case QDialog::Accepted: return SaveAnswer::Save;
            case MessageDialog::kDiscarded: return SaveAnswer::Discard;
            default: return SaveAnswer::Cancel;
        }
    }
    RecoverAnswer askRecoverDiscardLater(const QString& caption, const QString& text) override {
        MessageDialog box(caption, text, MessageDialog::Buttons::RecoverDiscardLater,
                          QApplication::activeWindow());
        switch (execWithPointer(box)) {
            case QDialog::Accepted: return RecoverAnswer::Recover;
            case MessageDialog::kDiscarded: return RecoverAnswer::Discard;
            default: return RecoverAnswer::Later;
        }
    }
};

class QtColourChooser : public ColourChooser {
public:
    std::optional<Colour> choose(QWidget* parent, CustomColours& customColours) override {
        for (int i = 0; i < int(customColours.size()); ++i) {
            QColorDialog::setCustomColor(i, toQColor(customColours[i]));
        }
        QColorDialog dialog(toQColor(0x808080), parent);
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        const bool chosen = dialog.exec() == QDialog::Accepted;
        for (int i = 0; i < int(customColours.size()); ++i) {
            customColours[i] = fromQColor(QColorDialog::customColor(i));
        }
        if (!chosen) return std::nullopt;
        return fromQColor(dialog.selectedColor());
    }
};

class QtFileChooser : public FileChooser {
public:
    QString openFile(QWidget* parent, const FileRequest& request) override {
        return run(parent, request, false);
    }
    QString saveFile(QWidget* parent, const FileRequest& request) override {
        return run(parent, request, true);
    }

private:
    static QString run(QWidget* parent, const FileRequest& request, bool save) {
        QFileDialog dialog(parent, request.title);
        dialog.setNameFilters(nameFilters(request));
        dialog.setDefaultSuffix(request.defaultSuffix);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!request.startPath.isEmpty()) {
            const QFileInfo start(request.startPath);
            dialog.setDirectory(start.absolutePath());
            dialog.selectFile(start.fileName());
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().constFirst();
    }
};

}  // namespace

QStringList nameFilters(const FileRequest& request) {
    QStringList filters;
    for (const auto& [description, patterns] : request.filters) {
        QStringList each = patterns.split(u';', Qt::SkipEmptyParts);
        for (QString& pattern : each) {
            if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
        }
        filters << description + QStringLiteral(" (") + each.join(u' ') + u')';
    }
    return filters;
}

namespace {

Services& current() {
    static QtMessages messages;
    static QtColourChooser colours;
    static QtFileChooser files;
    static Services services{&messages, &colours, &files};
    return services;
}

}  // namespace

Services& services() { return current(); }

void installServices(const Services& replacement) {
    Services& s = current();
    if (replacement.messages) s.messages = replacement.messages;
    if (replacement.colours) s.colours = replacement.colours;
    if (replacement.files) s.files = replacement.files;
}

CustomColours& programColours() {
    static CustomColours colours = [] {
        CustomColours c;
        c.fill(0xFFFFFF);
        return c;
    }();
    return colours;
}

}  // namespace tessel::platform
