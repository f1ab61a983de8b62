#include "text/AlignedText.h"

#include <QTextBoundaryFinder>
#include <algorithm>

#include "surface/Numbers.h"
#include "surface/Surface.h"
#include "text/AlignedTextSettings.h"

namespace tessel {
namespace {

constexpr QChar kBlank = u' ';
// The first line is broken this much narrower than the area.
constexpr int kFirstLineInset = 5;
// A right-aligned line ends this many pixels before the area's right edge.
constexpr int kRightMargin = 3;

QString withoutLeadingBlanks(const QString& text) {
    qsizetype first = 0;
    while (first < text.size() && text.at(first) == kBlank) ++first;
    return text.mid(first);
}

// The first word is wider than the width: the longest run of whole characters (grapheme
// clusters) that fits, at least one.
TextSplit breakWord(const QString& text, int width, const TextWidth& measure) {
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype cut = graphemes.toNextBoundary();
    if (cut <= 0) cut = 1;
    for (qsizetype next = graphemes.toNextBoundary(); next > 0 && next < text.size();
         next = graphemes.toNextBoundary()) {
        if (measure(text.left(next)) > width) break;
        cut = next;
    }
    return {text.left(cut), text.mid(cut)};
}

}  // namespace

TextSplit splitAtWidth(const QString& text, int width, const TextWidth& measure) {
    if (text.isEmpty()) return {};
    // Break points are the blanks that end a word; widths grow with the prefix, so the scan
    // stops at the first break point that no longer fits.
    qsizetype best = -1;
    bool overflowed = false;
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text.at(i) != kBlank || text.at(i - 1) == kBlank) continue;
        if (measure(text.left(i)) > width) {
            overflowed = true;
            break;
        }
        best = i;
    }
    if (!overflowed && measure(text) <= width) return {text, QString()};
    if (best > 0) return {text.left(best), text.mid(best)};
    return breakWord(text, width, measure);
}

QStringList breakAlignedLines(const QString& text, int areaWidth, const TextWidth& measure) {
    QStringList lines(kMaxAlignedLines);
    const TextSplit first = splitAtWidth(text, areaWidth - kFirstLineInset, measure);
    lines[0] = first.head;
    lines[1] = first.remainder;
    for (int i = 1; i < kMaxAlignedLines - 1; ++i) {
        // The second line still starts with the blanks of the first line's break; they are
        // removed before it is measured, so that they never push a fitting word away.
        lines[i] = withoutLeadingBlanks(lines[i]);
        if (lines[i].isEmpty()) continue;
        const TextSplit split = splitAtWidth(lines[i], areaWidth, measure);
        lines[i] = withoutLeadingBlanks(split.head);
        lines[i + 1] = withoutLeadingBlanks(split.remainder);
    }
    // The last line keeps what fits; the rest of the text is not shown.
    QString& last = lines[kMaxAlignedLines - 1];
    if (!last.isEmpty()) last = withoutLeadingBlanks(splitAtWidth(last, areaWidth, measure).head);
    return lines;
}

int extraForBlank(int extra, int blanks, int index) {
    if (blanks <= 0 || extra <= 0) return 0;
    return extra / blanks + (index < extra % blanks ? 1 : 0);
}

std::vector<PlacedLine> placeAlignedLines(const QStringList& lines, int alignment, int areaWidth,
                                          const TextWidth& measure) {
    std::vector<int> widths;
    widths.reserve(lines.size());
    for (const QString& line : lines) widths.push_back(line.isEmpty() ? 0 : measure(line));
    const int maxWidth = widths.empty() ? 0 : *std::max_element(widths.begin(), widths.end());

    std::vector<PlacedLine> placed;
    placed.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        PlacedLine line{lines[i]};
        const int w = widths[i];
        switch (alignment) {
            case kAlignRight:
                line.startX = areaWidth - w - kRightMargin;
                break;
            case kAlignCentre:
                // Half the slack, to the nearest pixel with ties to even.
                line.startX = int(roundToInt((areaWidth - w) / 2.0L));
                break;
            case kAlignJustified:
                // Lines from four fifths of the longest up to it are stretched to the longest.
                if (w < maxWidth && 5LL * w >= 4LL * maxWidth) {
                    line.blanks = int(line.text.count(kBlank));
                    line.extra = line.blanks > 0 ? maxWidth - w : 0;
                }
                break;
            default:
                break;
        }
        placed.push_back(line);
    }
    return placed;
}

namespace {

// A justified line: piece by piece, each piece ending with a blank and the blank's extra
// pixels left after it. An opaque background is laid first under the whole stretched line.
void printStretched(Surface& surface, const PlacedLine& line, int x, int top) {
    const QString& text = line.text;
    const bool opaque = surface.backgroundMode() == BackgroundMode::Opaque;
    const Colour background = surface.background();
    if (opaque) {
        const int right = x + surface.measure(text).width() + line.extra;
        surface.box(x, top, right, top + surface.charHeight(), 0, background, background,
                    kFillSolid);
        surface.setBackground(kTransparent);
    }
    int added = 0;
    int blank = 0;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(kBlank, start);
        const bool endsWithBlank = end >= 0;
        end = endsWithBlank ? end + 1 : text.size();
        surface.moveTo(x + surface.measure(text.left(start)).width() + added, top);
        surface.print(text.mid(start, end - start));
        if (endsWithBlank) added += extraForBlank(line.extra, line.blanks, blank++);
        start = end;
    }
    if (opaque) surface.setBackground(background);
}

}  // namespace

void drawAlignedText(Surface& surface, const QString& text, int alignment, int areaWidth, int x,
                     int y, const ResolvedFont& font, Colour foreColour, Colour backColour) {
    surface.selectFont(font);
    surface.setForeground(foreColour);
    surface.setBackground(backColour);
    const TextWidth measure = [&surface](const QString& s) { return surface.measure(s).width(); };
    const std::vector<PlacedLine> lines = placeAlignedLines(
        breakAlignedLines(text, areaWidth, measure), alignment, areaWidth, measure);

    const int penWidth = surface.penWidth();
    const int penStyle = surface.penStyle();
    surface.setPenWidth(1);
    surface.setPenStyle(kPenSolid);
    int top = y;
    for (const PlacedLine& line : lines) {
        if (line.extra > 0) {
            printStretched(surface, line, x, top);
            surface.moveTo(x, top);
            surface.print(QString());  // moves the position one line down
        } else {
            surface.moveTo(x + line.startX, top);
            surface.print(line.text);
        }
        top = surface.position().y();
    }
    surface.setPenWidth(penWidth);
    surface.setPenStyle(penStyle);
}

}  // namespace tessel
