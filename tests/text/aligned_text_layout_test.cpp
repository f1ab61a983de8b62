// Breaking a text into lines word by word and placing the lines for the four alignments,
// measured with fixed-width characters so that every width is known.

#include <gtest/gtest.h>

#include "text/AlignedText.h"
#include "text/AlignedTextDialog.h"
#include "text/AlignedTextSettings.h"

namespace tessel {
namespace {

// Every character, blanks included, is `pixels` wide.
TextWidth fixedWidth(int pixels) {
    return [pixels](const QString& text) { return int(text.size()) * pixels; };
}

const TextWidth kTen = fixedWidth(10);

QStringList nonEmpty(const QStringList& lines) {
    QStringList kept;
    for (const QString& line : lines)
        if (!line.isEmpty()) kept << line;
    return kept;
}

TEST(AlignedTextSplit, KeepsTheLongestRunOfWholeWordsThatFits) {
    // "aaa bbb" is 70 pixels, "aaa bbb ccc" 110.
    TextSplit split = splitAtWidth(QStringLiteral("aaa bbb ccc"), 75, kTen);
    EXPECT_EQ(split.head, QStringLiteral("aaa bbb"));
    EXPECT_EQ(split.remainder, QStringLiteral(" ccc"));
    // A run exactly as wide as the width fits.
    split = splitAtWidth(QStringLiteral("aaa bbb ccc"), 70, kTen);
    EXPECT_EQ(split.head, QStringLiteral("aaa bbb"));
    split = splitAtWidth(QStringLiteral("aaa bbb ccc"), 69, kTen);
    EXPECT_EQ(split.head, QStringLiteral("aaa"));
    EXPECT_EQ(split.remainder, QStringLiteral(" bbb ccc"));
    // The whole text fits: nothing remains.
    split = splitAtWidth(QStringLiteral("aaa bbb ccc"), 110, kTen);
    EXPECT_EQ(split.head, QStringLiteral("aaa bbb ccc"));
    EXPECT_TRUE(split.remainder.isEmpty());
}

TEST(AlignedTextSplit, BreaksAWordWiderThanTheWidthInsideIt) {
    // Ten letters are 100 pixels; 35 pixels hold three of them.
    TextSplit split = splitAtWidth(QStringLiteral("abcdefghij klm"), 35, kTen);
    EXPECT_EQ(split.head, QStringLiteral("abc"));
    EXPECT_EQ(split.remainder, QStringLiteral("defghij klm"));
    // Narrower than one character: one character all the same, so the text moves on.
    split = splitAtWidth(QStringLiteral("abc"), 4, kTen);
    EXPECT_EQ(split.head, QStringLiteral("a"));
    EXPECT_EQ(split.remainder, QStringLiteral("bc"));
}

TEST(AlignedTextBreak, FirstLineIsFivePixelsNarrower) {
    // Area 100: the first line is broken at 95, so "aaaaa bbbb" (100) does not fit on it;
    // the second line may be 100 wide and takes "bbbb ccccc" (100).
    const QStringList lines = breakAlignedLines(QStringLiteral("aaaaa bbbb ccccc dddd"), 100, kTen);
    ASSERT_EQ(lines.size(), kMaxAlignedLines);
    EXPECT_EQ(nonEmpty(lines), (QStringList{QStringLiteral("aaaaa"), QStringLiteral("bbbb ccccc"),
                                            QStringLiteral("dddd")}));
}

TEST(AlignedTextBreak, LaterLinesLoseTheirLeadingBlanks) {
    const QStringList lines = breakAlignedLines(QStringLiteral("aaaa    bbbb   cccc"), 50, kTen);
    EXPECT_EQ(nonEmpty(lines), (QStringList{QStringLiteral("aaaa"), QStringLiteral("bbbb"),
                                            QStringLiteral("cccc")}));
}

TEST(AlignedTextBreak, NoLineIsWiderThanTheAreaAndNoLetterIsLost) {
    const QString word = QStringLiteral("abcdefghijklmnopqrstuvwxyzabcdefghi");  // 350 pixels
    const QString text = QStringLiteral("uno ") + word + QStringLiteral(" dos");
    const int area = 100;
    const QStringList lines = nonEmpty(breakAlignedLines(text, area, kTen));
    QString letters;
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_LE(kTen(lines[i]), i == 0 ? area - 5 : area) << "line " << i + 1;
        letters += lines[i];
    }
    EXPECT_EQ(letters.remove(u' '), QString(text).remove(u' '));
    // The long word starts on a line of its own and is cut into ten-letter pieces; the blank
    // before it is not counted, so it does not take the place of a letter.
    EXPECT_EQ(lines.at(0), QStringLiteral("uno"));
    EXPECT_EQ(lines.at(1), QStringLiteral("abcdefghij"));
    EXPECT_EQ(lines.at(2), QStringLiteral("klmnopqrst"));
}

TEST(AlignedTextBreak, AtMostOneHundredLines) {
    // 150 words of four letters in an area that holds one word per line.
    QStringList words;
    for (int i = 0; i < 150; ++i) words << QStringLiteral("w%1").arg(i, 3, 10, QChar(u'0'));
    const QStringList lines = breakAlignedLines(words.join(u' '), 45, kTen);
    ASSERT_EQ(lines.size(), 100);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(lines[i], words[i]) << "line " << i + 1;
}

TEST(AlignedTextPlace, RightCentreAndLeftStarts) {
    const QStringList lines{QStringLiteral("aaa"), QStringLiteral("aaaaaa"), QString()};
    // Right: areaWidth - w - 3, so that the line ends 3 pixels before the right edge.
    auto placed = placeAlignedLines(lines, kAlignRight, 100, kTen);
    ASSERT_EQ(placed.size(), 3u);
    EXPECT_EQ(placed[0].startX, 100 - 30 - 3);
    EXPECT_EQ(placed[1].startX, 100 - 60 - 3);
    // Centre: (areaWidth - w) / 2 to the nearest pixel, ties to even: (101 - 30) / 2 = 35.5
    // gives 36 and (101 - 60) / 2 = 20.5 gives 20.
    placed = placeAlignedLines(lines, kAlignCentre, 101, kTen);
    EXPECT_EQ(placed[0].startX, 36);
    EXPECT_EQ(placed[1].startX, 20);
    // Lines of 385, 353 and 297 pixels in 400: slack 15, 47 and 103, halves 7.5, 23.5 and 51.5.
    const QStringList wide{QStringLiteral("a"), QStringLiteral("bb"), QStringLiteral("ccc")};
    const TextWidth widths = [](const QString& s) {
        return s.size() == 1 ? 385 : s.size() == 2 ? 353 : 297;
    };
    placed = placeAlignedLines(wide, kAlignCentre, 400, widths);
    EXPECT_EQ(placed[0].startX, 8);
    EXPECT_EQ(placed[1].startX, 24);
    EXPECT_EQ(placed[2].startX, 52);
    placed = placeAlignedLines(lines, kAlignLeft, 100, kTen);
    for (const PlacedLine& line : placed) {
        EXPECT_EQ(line.startX, 0);
        EXPECT_EQ(line.extra, 0);
    }
}

TEST(AlignedTextPlace, JustifiedStretchesLinesFromFourFifthsOfTheLongest) {
    // Eight pixels a character: the longest line is 15 characters, 120 pixels; four fifths
    // of it are 96 pixels, twelve characters.
    const TextWidth eight = fixedWidth(8);
    const QStringList lines{
        QStringLiteral("aaaa bbbb ccccc"),  // 120: the longest, as it is
        QStringLiteral("aaa bbb cccc"),     // 96: exactly four fifths, stretched by 24
        QStringLiteral("aa bb ccccc"),      // 88: below four fifths, as it is
        QStringLiteral("aaaaaaaaaaaaa"),    // 104, but no blank to stretch
        QStringLiteral("aa b"),             // a short last line stays ragged
    };
    const auto placed = placeAlignedLines(lines, kAlignJustified, 200, eight);
    ASSERT_EQ(placed.size(), 5u);
    EXPECT_EQ(placed[0].extra, 0);
    EXPECT_EQ(placed[1].extra, 120 - 96);
    EXPECT_EQ(placed[1].blanks, 2);
    EXPECT_EQ(placed[2].extra, 0);
    EXPECT_EQ(placed[3].extra, 0);
    EXPECT_EQ(placed[4].extra, 0);
    for (const PlacedLine& line : placed) EXPECT_EQ(line.startX, 0);
}

TEST(AlignedTextPlace, ExtraPixelsEvenlyWithTheRemainderToTheFirstBlanks) {
    // 7 over 3 blanks: 7 / 3 = 2 each, the remainder 1 to the first blank.
    EXPECT_EQ(extraForBlank(7, 3, 0), 3);
    EXPECT_EQ(extraForBlank(7, 3, 1), 2);
    EXPECT_EQ(extraForBlank(7, 3, 2), 2);
    // 2 over 5 blanks: one pixel to each of the first two.
    int total = 0;
    for (int i = 0; i < 5; ++i) total += extraForBlank(2, 5, i);
    EXPECT_EQ(total, 2);
    EXPECT_EQ(extraForBlank(2, 5, 1), 1);
    EXPECT_EQ(extraForBlank(2, 5, 2), 0);
    EXPECT_EQ(extraForBlank(5, 0, 0), 0);
}

TEST(AlignedTextLineBreaks, BecomeSingleBlanksInOrder) {
    // CR LF is one blank, then lone CRs, then lone LFs.
    EXPECT_EQ(AlignedTextDialog::blanksForLineBreaks(QStringLiteral("uno\r\ndos\rtres\ncuatro")),
              QStringLiteral("uno dos tres cuatro"));
    EXPECT_EQ(AlignedTextDialog::blanksForLineBreaks(QStringLiteral("a\n\r\nb")),
              QStringLiteral("a  b"));
}

}  // namespace
}  // namespace tessel
