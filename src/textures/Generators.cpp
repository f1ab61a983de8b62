#include "textures/Generators.h"

#include <algorithm>
#include <utility>

#include "textures/Families.h"

namespace tessel::textures {

namespace {

const std::pair<const char*, Factory> kFactories[] = {
    {"wood", makeWood},     {"marble", makeMarble},     {"granite", makeGranite},
    {"slate", makeSlate},   {"sand", makeSand},         {"bark", makeBark},
    {"grass", makeGrass},   {"clouds", makeClouds},     {"water", makeWater},
    {"cork", makeCork},     {"paper", makePaper},       {"weave", makeWeave},
    {"twill", makeTwill},   {"knit", makeKnit},         {"leather", makeLeather},
    {"brick", makeBrick},   {"cobble", makeCobble},     {"terrazzo", makeTerrazzo},
    {"stucco", makeStucco}, {"metal", makeMetal},       {"rust", makeRust},
    {"camo", makeCamo},     {"gradient", makeGradient}, {"plasma", makePlasma},
    {"mosaic", makeMosaic},
};

}  // namespace

Generator::Generator(const Recipe& recipe)
    : seed_(recipe.seed),
      width_(float(recipe.size.width())),
      height_(float(recipe.size.height())),
      neededWidth_(recipe.extent.isEmpty() ? recipe.size.width()
                                           : std::min(recipe.extent.width(), recipe.size.width())),
      neededHeight_(recipe.extent.isEmpty()
                        ? recipe.size.height()
                        : std::min(recipe.extent.height(), recipe.size.height())),
      stops_(recipe.stops) {}

const QStringList& knownFamilies() {
    static const QStringList names = [] {
        QStringList list;
        for (const auto& [name, factory] : kFactories) list.append(QString::fromLatin1(name));
        return list;
    }();
    return names;
}

std::unique_ptr<Generator> makeGenerator(const Recipe& recipe) {
    for (const auto& [name, factory] : kFactories)
        if (recipe.family == QLatin1String(name)) return factory(recipe);
    return nullptr;
}

}  // namespace tessel::textures
