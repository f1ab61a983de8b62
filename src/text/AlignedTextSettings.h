#pragma once
// The settings of the aligned-text tool: the alignment, the last accepted text and the size of
// the area the text is broken and aligned in. One instance lives for the whole run.

#include <QString>
#include <cstdint>

namespace tessel {

// The alignment codes "Aceptar" leaves in the settings.
inline constexpr int kAlignLeft = 131;
inline constexpr int kAlignRight = 132;
inline constexpr int kAlignCentre = 133;
inline constexpr int kAlignJustified = 134;

struct AlignedTextSettings {
    // Exactly one of the four flags is 1.
    int left = 1;
    int right = 0;
    int centre = 0;
    int justified = 0;
    QString text;                 // line breaks already turned into blanks
    std::int16_t areaWidth = 0;   // 1..1200 when accepted
    std::int16_t areaHeight = 0;  // 1..900 when accepted
    int alignment = 0;            // kAlignLeft .. kAlignJustified, set by "Aceptar"
    int accepted = 0;
};

}  // namespace tessel
