#pragma once
// The factories of the texture families (used by the factory table in Generators.cpp).

#include <memory>

#include "textures/Generators.h"

namespace tessel::textures {

using Factory = std::unique_ptr<Generator> (*)(const Recipe&);

// Natural materials.
std::unique_ptr<Generator> makeWood(const Recipe& recipe);
std::unique_ptr<Generator> makeMarble(const Recipe& recipe);
std::unique_ptr<Generator> makeGranite(const Recipe& recipe);
std::unique_ptr<Generator> makeSlate(const Recipe& recipe);
std::unique_ptr<Generator> makeSand(const Recipe& recipe);
std::unique_ptr<Generator> makeBark(const Recipe& recipe);
std::unique_ptr<Generator> makeGrass(const Recipe& recipe);
std::unique_ptr<Generator> makeClouds(const Recipe& recipe);
std::unique_ptr<Generator> makeWater(const Recipe& recipe);
std::unique_ptr<Generator> makeCork(const Recipe& recipe);

// Made things: paper, cloth, walls, metal, patterns.
std::unique_ptr<Generator> makePaper(const Recipe& recipe);
std::unique_ptr<Generator> makeWeave(const Recipe& recipe);
std::unique_ptr<Generator> makeTwill(const Recipe& recipe);
std::unique_ptr<Generator> makeKnit(const Recipe& recipe);
std::unique_ptr<Generator> makeLeather(const Recipe& recipe);
std::unique_ptr<Generator> makeBrick(const Recipe& recipe);
std::unique_ptr<Generator> makeCobble(const Recipe& recipe);
std::unique_ptr<Generator> makeTerrazzo(const Recipe& recipe);
std::unique_ptr<Generator> makeStucco(const Recipe& recipe);
std::unique_ptr<Generator> makeMetal(const Recipe& recipe);
std::unique_ptr<Generator> makeRust(const Recipe& recipe);
std::unique_ptr<Generator> makeCamo(const Recipe& recipe);
std::unique_ptr<Generator> makeGradient(const Recipe& recipe);
std::unique_ptr<Generator> makePlasma(const Recipe& recipe);
std::unique_ptr<Generator> makeMosaic(const Recipe& recipe);

}  // namespace tessel::textures
