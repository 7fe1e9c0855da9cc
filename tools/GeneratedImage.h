#pragma once
// A small PNG drawn in code, so generated jobs carry an image without a file.
#include <string>

// A 64×64 RGB colour gradient with a diagonal band, encoded as PNG; empty when encoding fails.
std::string MakeGradientPng();
