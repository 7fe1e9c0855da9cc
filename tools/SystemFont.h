#pragma once
// Finds a TrueType font of the system to embed in generated jobs.
#include <string>

// The path of DejaVu Sans (by fontconfig, then the Debian path); empty when there is none.
std::string FindSystemTrueTypeFont();
