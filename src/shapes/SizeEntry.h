#pragma once
// What the shape and arrow dialogs share: a size typed either in pixels or in millimetres (two
// boxes each), and the lists of numbered entries.

#include <QComboBox>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <utility>

namespace tessel {

// The two sizes of a dialog's "Aceptar", in pixels, when exactly one complete pair was typed:
// both pixel boxes or both millimetre boxes, and nothing in the other two. Otherwise the
// dialog's messages are shown (the conflict message once for each complete pair that meets a
// typed box of the other unit; the missing-size message when no pair is complete) and nothing
// is taken. A negative number stands for a box that holds no number ("12,5", "1e9"): the
// missing-size message, and nothing is taken. Sizes are held to 0..32767.
// The same pair without a word: nothing unless exactly one complete pair was typed.
std::optional<std::pair<std::int16_t, std::int16_t>> sizePairIn(int pixelsA, int pixelsB,
                                                                 int millimetresA,
                                                                 int millimetresB);
std::optional<std::pair<std::int16_t, std::int16_t>> takeSizePair(int pixelsA, int pixelsB,
                                                                   int millimetresA,
                                                                   int millimetresB);

// The number in the first two characters of a list entry ("05 - ..." reads 5).
int entryNumber(const QComboBox* list);

// A drop-down list of the entries at its place, showing up to 15 entries at once.
QComboBox* makeEntryList(QWidget* parent, const QStringList& entries, const QRect& geometry);

}  // namespace tessel
