// UTF-8 decoding and repair, without any call to the operating system. Text
// from the firmware is arbitrary bytes; the report's UTF-8 documents must hold
// only well-formed sequences.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// U+FFFD REPLACEMENT CHARACTER, encoded.
inline constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";

// Length of the well-formed, complete UTF-8 sequence that starts text, with
// its code point in *codePoint; 0 when text is empty or its first byte starts
// none (a continuation byte, an overlong form, a surrogate, a value beyond
// U+10FFFF, a sequence cut short).
size_t DecodeUtf8(std::string_view text, uint32_t* codePoint);

// text with every byte that does not start a well-formed, complete sequence
// replaced by U+FFFD (one replacement per such byte); well-formed text comes
// back unchanged.
std::string ValidUtf8(std::string_view text);
