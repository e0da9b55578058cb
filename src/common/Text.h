#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace pelorin {

// The suite's text operations. Texts are UTF-8. Every position and offset counts
// bytes of the UTF-8 text: the separators, digits and patterns the suite works with
// are ASCII or whole UTF-8 characters, and `UpCaseText` keeps the byte length of
// every character, so a position found in the raised text is valid in the original.

// The suite's case folding for every case-insensitive comparison: ASCII a-z and the
// 32 Cyrillic letters а-я (U+0430..U+044F) are raised; everything else, ё included,
// stays as it is. Works on UTF-8 text.
std::string UpCaseText(std::string_view text);

// The most fields that `GetField` splits a text into; later fields are dropped.
inline constexpr int kMaxFields = 1024;

// The n-th field (from 1) of the text split at every occurrence of `separator`.
// k separators make k+1 fields, consecutive separators make empty fields and the
// empty text is one empty field. An n below 1 or above the number of fields (at
// most kMaxFields) gives the empty text.
std::string GetField(std::string_view text, char separator, int n);

// How often `c` occurs in the text.
int CountChar(std::string_view text, char c);

// The text with every occurrence of `c` removed.
std::string RemoveChar(std::string_view text, char c);

// True when the text is not empty and every character is 0-9.
bool IsDigits(std::string_view text);

// The decimal form of `value`, left-padded with `pad` to at least `width` characters;
// longer numbers are not cut. With "0" as the pad a minus sign stays in front of the
// zeros ("-05", not "0-5").
std::string PadNumber(long long value, int width, char pad);

// The 0-based offset of the first occurrence of `pattern` at or after the 0-based
// offset `start`, or -1. Also -1 when either text is empty, `start` is negative or
// the pattern is longer than the text. Without `caseSensitive` both sides are
// compared after `UpCaseText`.
int FindText(std::string_view text, int start, std::string_view pattern, bool caseSensitive);

// Looks for `pattern` at the start positions `from` .. `to` (positions from 1). Both
// are cut to the last position at which the pattern still fits, a negative `to`
// means that last position, and a `from` below 1 counts as 1. Returns the position
// found or -1; `matched` gets the part of the text that matched, in the text's own
// case (empty when nothing was found). An empty pattern is never found.
int FindTextInRange(std::string_view text, std::string_view pattern, int from, int to,
                    bool caseSensitive, std::string& matched);

// A text of exactly `n` bytes of the buffer, NUL bytes included; cut to the size of
// the buffer when `n` is larger.
std::string BufferToText(std::span<const char> buffer, std::size_t n);

// The bytes of the buffer up to its first NUL, or the whole buffer when it holds none.
std::string CStrToText(std::span<const char> buffer);

// Copies the text's bytes into the buffer without a terminator, as many as fit.
// Returns the number of bytes copied.
std::size_t TextToBuffer(std::string_view text, std::span<char> buffer);

}  // namespace pelorin
