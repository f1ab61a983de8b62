#include "shapes/SizeEntry.h"

#include <algorithm>

#include "platform/Services.h"
#include "surface/Numbers.h"

namespace tessel {

namespace {

const QString kBothSizesMessage =
    QStringLiteral("No puedes rellenar tamaño en pixel y milimetros a la vez ...");
const QString kNoSizeMessage =
    QStringLiteral("Rellena Tamaño en pixeles o milimetros ...\r\nGracias !!");

std::int16_t toShort(long value) {
    return std::int16_t(std::clamp<long>(value, 0, 32767));
}

}  // namespace

std::optional<std::pair<std::int16_t, std::int16_t>> sizePairIn(int pa, int pb, int ma, int mb) {
    if (pa < 0 || pb < 0 || ma < 0 || mb < 0) return std::nullopt;
    if (pa > 0 && pb > 0 && ma == 0 && mb == 0) return std::pair{toShort(pa), toShort(pb)};
    if (ma > 0 && mb > 0 && pa == 0 && pb == 0) {
        return std::pair{toShort(millimetresToPixels(ma)), toShort(millimetresToPixels(mb))};
    }
    return std::nullopt;
}

std::optional<std::pair<std::int16_t, std::int16_t>> takeSizePair(int pa, int pb, int ma, int mb) {
    // A box that holds something other than a number refuses the whole entry.
    if (pa < 0 || pb < 0 || ma < 0 || mb < 0) {
        platform::inform(kNoSizeMessage);
        return std::nullopt;
    }
    const bool pixelPair = pa > 0 && pb > 0;
    const bool millimetrePair = ma > 0 && mb > 0;
    if (pixelPair && (ma > 0 || mb > 0)) platform::inform(kBothSizesMessage);
    if (millimetrePair && (pa > 0 || pb > 0)) platform::inform(kBothSizesMessage);
    if (!pixelPair && !millimetrePair) {
        platform::inform(kNoSizeMessage);
        return std::nullopt;
    }
    return sizePairIn(pa, pb, ma, mb);
}

int entryNumber(const QComboBox* list) {
    return leadingNumber(list->currentText().left(2));
}

QComboBox* makeEntryList(QWidget* parent, const QStringList& entries, const QRect& geometry) {
    auto* list = new QComboBox(parent);
    list->setGeometry(geometry);
    list->addItems(entries);
    list->setMaxVisibleItems(15);
    return list;
}

}  // namespace tessel
