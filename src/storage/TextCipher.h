#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace pelorin {

// The text-keyed cipher of the day book pages: every byte is shifted by the key sum
// of a passphrase, by addition modulo 255 on the byte values 1-255. A byte 0 is
// encoded like a byte 255 and decodes as 255; every other byte comes back unchanged.
//
// Passphrases are UTF-8 text. They enter the arithmetic as their code page 1251 bytes
// when the code page can represent them (so pages written by the Windows suite keep
// opening), else as their UTF-8 bytes.

// 0-255: the passphrase's bytes added one by one, 255 taken off whenever the running
// sum passes 255 (two bytes 255 give 255). An empty passphrase gives 0.
std::uint8_t KeySum(std::string_view passphrase);

// Same length as the input: x becomes x + s, or x + s - 255 when that passes 255.
std::string EncodeTextBlock(std::string_view bytes, std::string_view passphrase);
// Same length as the input: y becomes y - s when y > s, else y - s + 255.
std::string DecodeTextBlock(std::string_view bytes, std::string_view passphrase);

// Replace `destination` (atomically) with the encoded or decoded bytes of `source`.
// True when written; false when the source is missing or unreadable or the write was
// refused, and the destination is then untouched.
bool EncodeTextFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                    std::string_view passphrase);
bool DecodeTextFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                    std::string_view passphrase);

}  // namespace pelorin
