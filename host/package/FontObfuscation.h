#pragma once
// Font obfuscation of XPS (ODTTF): the first 32 bytes of the font are XORed with a key made from
// the GUID that names the font part. The same operation obfuscates and restores.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

using FontObfuscationKey = std::array<std::uint8_t, 16>;

inline constexpr std::uint64_t kObfuscatedFontPrefix = 32;

// The key of a part whose file name (without extension) is a GUID, with or without braces
// ("/Resources/3F2504E0-4F89-11D3-9A0C-0305E82C3301.odttf"); nullopt for any other name.
std::optional<FontObfuscationKey> FontObfuscationKeyOf(std::string_view partName);

// XORs the bytes of data that fall in the obfuscated prefix; offset is where data starts in the font.
void ApplyFontObfuscation(const FontObfuscationKey& key, std::uint64_t offset, std::uint8_t* data, std::size_t size);
