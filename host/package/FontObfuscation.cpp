#include "host/package/FontObfuscation.h"

#include "platform/com/Guid.h"

std::optional<FontObfuscationKey> FontObfuscationKeyOf(std::string_view partName)
{
    std::string_view stem = partName.substr(partName.rfind('/') + 1);
    stem = stem.substr(0, stem.find('.'));
    const auto guid = ParseGuid(stem);
    if (!guid)
        return std::nullopt;
    // The key is the GUID's 16 bytes as written in its text form, most significant first.
    FontObfuscationKey key{};
    for (int i = 0; i < 4; ++i)
        key[i] = static_cast<std::uint8_t>(guid->Data1 >> (24 - 8 * i));
    key[4] = static_cast<std::uint8_t>(guid->Data2 >> 8);
    key[5] = static_cast<std::uint8_t>(guid->Data2);
    key[6] = static_cast<std::uint8_t>(guid->Data3 >> 8);
    key[7] = static_cast<std::uint8_t>(guid->Data3);
    for (int i = 0; i < 8; ++i)
        key[8 + i] = guid->Data4[i];
    return key;
}

void ApplyFontObfuscation(const FontObfuscationKey& key, std::uint64_t offset, std::uint8_t* data, std::size_t size)
{
    // Byte i of the prefix is XORed with key byte 15 - (i mod 16).
    for (std::size_t i = 0; i < size && offset + i < kObfuscatedFontPrefix; ++i)
        data[i] ^= key[15 - (offset + i) % 16];
}
