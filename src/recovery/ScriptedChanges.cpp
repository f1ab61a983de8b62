#include "recovery/ScriptedChanges.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>

#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "app/UnsavedWork.h"

namespace tessel::recovery {

std::unique_ptr<ScriptedChanges> ScriptedChanges::fromEnvironment(MainWindow& window) {
    static const QRegularExpression form(QStringLiteral("^(\\d+)x(\\d+):(\\d+)(?::(\\d+))?$"));
    const QRegularExpressionMatch match =
        form.match(qEnvironmentVariable("TESSEL_SCRIPTED_CHANGES"));
    if (!match.hasMatch()) return nullptr;
    const int width = match.captured(1).toInt();
    const int height = match.captured(2).toInt();
    const int period = match.captured(3).toInt();
    const int count = match.captured(4).isEmpty() ? -1 : match.captured(4).toInt();
    if (width < 1 || height < 1 || width > 20000 || height > 20000) return nullptr;
    int log = -1;
    const QString logName = qEnvironmentVariable("TESSEL_SCRIPTED_LOG");
    if (!logName.isEmpty()) {
        log = ::open(QFile::encodeName(logName).constData(),
                     O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    }
    return std::unique_ptr<ScriptedChanges>(
        new ScriptedChanges(window, QSize(width, height), period, count, log));
}

ScriptedChanges::ScriptedChanges(MainWindow& window, QSize size, int period, int count, int log)
    : window_(window), count_(count), log_(log) {
    QImage paper(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(paper.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            row[x] = 0xFF000000u | (quint32((x * 7) ^ (y * 13)) & 0x3Fu) * 0x010101u | 0x808080u;
        }
    }
    AppState& state = window.state();
    state.history.start(paper);
    markClean(state);
    window.showReplacedPicture(MenuPhase::PaperCreated);
    record();
    connect(&timer_, &QTimer::timeout, this, &ScriptedChanges::step);
    timer_.start(std::max(1, period));
}

ScriptedChanges::~ScriptedChanges() {
    if (log_ >= 0) ::close(log_);
}

void ScriptedChanges::step() {
    if (count_ >= 0 && steps_ >= count_) {
        timer_.stop();
        return;
    }
    ++steps_;
    UndoHistory& history = window_.state().history;
    const QSize size = history.current().size();
    const auto box = [&] {
        const int x = int(random_.bounded(size.width()));
        const int y = int(random_.bounded(size.height()));
        return QRect(x, y, 1 + int(random_.bounded(std::max(1, size.width() / 3))),
                     1 + int(random_.bounded(std::max(1, size.height() / 3))));
    };
    const quint32 colour = random_.generate() | 0xFF000000u;
    const int choice = int(random_.bounded(100));
    if (choice < 12) {
        window_.command(command::Undo);
    } else if (choice < 17) {
        window_.command(command::Redo);
    } else if (choice < 20) {
        window_.command(command::MirrorHorizontal);
    } else if (choice < 22) {
        window_.command(command::TurnRight);
    } else if (choice < 25) {
        history.push();
        history.current().image().invertPixels();
    } else {
        if (choice >= 30) history.push();  // else drawn without a push
        const QRect area = box();
        QPainter(&history.current().imageFor(area)).fillRect(area, QColor::fromRgb(colour));
    }
    window_.redisplay();
    record();
}

void ScriptedChanges::record() {
    if (log_ < 0) return;
    const QImage& picture = window_.state().history.current().image();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int y = 0; y < picture.height(); ++y) {
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(picture.constScanLine(y)),
                                    qsizetype(picture.width()) * 4));
    }
    const QByteArray line = QByteArray::number(steps_) + ' ' +
                            QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + ' ' +
                            hash.result().toHex() + '\n';
    [[maybe_unused]] const ssize_t written = ::write(log_, line.constData(), size_t(line.size()));
}

}  // namespace tessel::recovery
