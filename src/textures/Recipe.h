#pragma once
// A texture recipe: which generator makes the picture, with which parameters, seed, palette and
// size. The program's 100 recipes are a table among its resources, one line each:
//
//   024 paper 1333x1000 seed=24 scale=420 palette=f9f6ee,f3eee2,ebe3d2
//
// the number, the family, the size, then name=value pairs; "palette" is a comma separated list
// of RRGGBB colours spread evenly from 0 to 1 unless a colour names its place ("c05a3c@0.35"),
// "seed" a whole number, every other value a number.

#include <QHash>
#include <QList>
#include <QRgb>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace tessel::textures {

// The size limits every texture keeps.
inline constexpr int kMinWidth = 1024;
inline constexpr int kMaxWidth = 1582;
inline constexpr int kMinHeight = 680;
inline constexpr int kMaxHeight = 1000;

struct Recipe {
    int number = 0;
    QString family;
    QSize size;
    std::uint32_t seed = 0;
    QList<QRgb> palette;
    QList<float> stops;  // the place of each palette colour, from 0 to 1, rising
    QHash<QString, float> values;
    // The part of the picture to make, from its top-left corner; empty for all of it. Not part
    // of the table: the pixels made are those of the same place in the whole picture.
    QSize extent;

    float value(const QString& name, float fallback) const { return values.value(name, fallback); }
};

// One line of the table; nothing and a reason in error when the line is not a sound recipe.
std::optional<Recipe> parseRecipe(const QString& line, QString* error = nullptr);

// Every recipe of a table text (blank lines and lines starting with '#' are skipped); the
// reasons of the lines that could not be read go to errors.
std::vector<Recipe> parseRecipeTable(const QString& text, QStringList* errors = nullptr);

// The program's own table, read once from its resources, indexed by number - 1 (an entry with
// number 0 stands for a number the table lacks).
const std::vector<Recipe>& builtinRecipes();
// The recipe of texture n (1 to 100), or null.
const Recipe* builtinRecipe(int number);

}  // namespace tessel::textures
