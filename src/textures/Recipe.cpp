#include "textures/Recipe.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include "textures/Generators.h"

namespace tessel::textures {

namespace {

constexpr int kTableSize = 100;

bool fail(QString* error, const QString& reason) {
    if (error) *error = reason;
    return false;
}

bool readSize(const QString& text, QSize* size, QString* error) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch()) return fail(error, QStringLiteral("bad size \"%1\"").arg(text));
    const int w = match.captured(1).toInt();
    const int h = match.captured(2).toInt();
    if (w < kMinWidth || w > kMaxWidth || h < kMinHeight || h > kMaxHeight)
        return fail(error, QStringLiteral("size %1 out of range").arg(text));
    *size = QSize(w, h);
    return true;
}

bool readPalette(const QString& text, Recipe* recipe, QString* error) {
    const QStringList entries = text.split(QLatin1Char(','));
    if (entries.size() < 2) return fail(error, QStringLiteral("a palette needs two colours"));
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString colour = entries[i].section(QLatin1Char('@'), 0, 0);
        const QString place = entries[i].section(QLatin1Char('@'), 1);
        bool ok = false;
        const uint rgb = colour.toUInt(&ok, 16);
        if (!ok || colour.size() != 6)
            return fail(error, QStringLiteral("bad colour \"%1\"").arg(entries[i]));
        float stop = float(i) / float(entries.size() - 1);
        if (!place.isEmpty()) {
            stop = place.toFloat(&ok);
            if (!ok || stop < 0.0f || stop > 1.0f)
                return fail(error, QStringLiteral("bad place \"%1\"").arg(entries[i]));
        }
        if (!recipe->stops.isEmpty() && stop < recipe->stops.back())
            return fail(error, QStringLiteral("palette places must rise"));
        recipe->palette.append(qRgb(int(rgb >> 16) & 0xFF, int(rgb >> 8) & 0xFF, int(rgb) & 0xFF));
        recipe->stops.append(stop);
    }
    return true;
}

}  // namespace

std::optional<Recipe> parseRecipe(const QString& line, QString* error) {
    const QStringList fields = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.size() < 3) {
        fail(error, QStringLiteral("too few fields"));
        return std::nullopt;
    }
    Recipe recipe;
    bool ok = false;
    recipe.number = fields[0].toInt(&ok);
    if (!ok || recipe.number < 1 || recipe.number > kTableSize) {
        fail(error, QStringLiteral("bad number \"%1\"").arg(fields[0]));
        return std::nullopt;
    }
    recipe.family = fields[1];
    if (!knownFamilies().contains(recipe.family)) {
        fail(error, QStringLiteral("unknown family \"%1\"").arg(recipe.family));
        return std::nullopt;
    }
    if (!readSize(fields[2], &recipe.size, error)) return std::nullopt;
    recipe.seed = std::uint32_t(recipe.number);
    for (qsizetype i = 3; i < fields.size(); ++i) {
        const qsizetype eq = fields[i].indexOf(QLatin1Char('='));
        if (eq <= 0) {
            fail(error, QStringLiteral("expected name=value, found \"%1\"").arg(fields[i]));
            return std::nullopt;
        }
        const QString name = fields[i].left(eq);
        const QString value = fields[i].mid(eq + 1);
        if (name == QLatin1String("palette")) {
            if (!recipe.palette.isEmpty()) {
                fail(error, QStringLiteral("two palettes"));
                return std::nullopt;
            }
            if (!readPalette(value, &recipe, error)) return std::nullopt;
            continue;
        }
        const float number = value.toFloat(&ok);
        if (!ok) {
            fail(error, QStringLiteral("bad value for %1: \"%2\"").arg(name, value));
            return std::nullopt;
        }
        if (name == QLatin1String("seed")) {
            recipe.seed = std::uint32_t(value.toUInt(&ok));
            if (!ok) {
                fail(error, QStringLiteral("bad seed \"%1\"").arg(value));
                return std::nullopt;
            }
        } else {
            recipe.values.insert(name, number);
        }
    }
    if (recipe.palette.isEmpty()) {
        fail(error, QStringLiteral("no palette"));
        return std::nullopt;
    }
    return recipe;
}

std::vector<Recipe> parseRecipeTable(const QString& text, QStringList* errors) {
    std::vector<Recipe> recipes;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        QString error;
        if (auto recipe = parseRecipe(line, &error))
            recipes.push_back(*recipe);
        else if (errors)
            errors->append(QStringLiteral("line %1: %2").arg(i + 1).arg(error));
    }
    return recipes;
}

const std::vector<Recipe>& builtinRecipes() {
    static const std::vector<Recipe> table = [] {
        std::vector<Recipe> indexed(kTableSize);
        QFile file(QStringLiteral(":/tessel/textures.txt"));
        if (!file.open(QIODevice::ReadOnly)) return indexed;
        for (Recipe& recipe : parseRecipeTable(QString::fromUtf8(file.readAll())))
            indexed[std::size_t(recipe.number - 1)] = std::move(recipe);
        return indexed;
    }();
    return table;
}

const Recipe* builtinRecipe(int number) {
    if (number < 1 || number > kTableSize) return nullptr;
    const Recipe& recipe = builtinRecipes()[std::size_t(number - 1)];
    return recipe.number == number ? &recipe : nullptr;
}

}  // namespace tessel::textures
