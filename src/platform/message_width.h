// Numbers that cross Win32's pointer-sized message values. LRESULT, WPARAM
// and LPARAM are 32 bits on the 32-bit target and 64 bits on the 64-bit one,
// and LRESULT is signed: a result that carries a DWORD, such as an edit
// control's text limit 0xFFFFFFFF, reads as -1 on one target and 4294967295
// on the other. Compare such results only through these helpers.
//
// The helpers are plain integer code, templated on the width, so the checks
// below hold the 32-bit and 64-bit forms on every build, whichever target is
// compiled and whether or not this machine can run its programs.
#pragma once

#include <cstdint>

// The 32-bit value a message result carries.
template <typename Result>
constexpr uint32_t ResultDword(Result result) {
  return static_cast<uint32_t>(result);
}

// A window handle passed as a 32-bit number (the host program's W= value)
// widened back to a pointer-sized value. Windows keeps handles within 32 bits
// and widens them by sign extension, as LongToHandle does; zero extension
// would name another window on the 64-bit target for a handle with bit 31 set.
template <typename PointerSized = intptr_t>
constexpr PointerSized WidenHandleBits(uint32_t bits) {
  return static_cast<PointerSized>(static_cast<int32_t>(bits));
}

// The largest edit-control limit as each target's LRESULT holds it.
static_assert(ResultDword(int32_t{-1}) == 0xFFFFFFFFu, "32-bit LRESULT");
static_assert(ResultDword(int64_t{0xFFFFFFFF}) == 0xFFFFFFFFu, "64-bit LRESULT");
static_assert(ResultDword(int32_t{-1}) >= 0x7FFFFFFEu, "the largest limit passes the limit check");
// Handles round-trip through 32 bits on both widths.
static_assert(WidenHandleBits<int32_t>(0x80001234u) == static_cast<int32_t>(0x80001234u), "32-bit");
static_assert(WidenHandleBits<int64_t>(0x80001234u) == static_cast<int64_t>(0xFFFFFFFF80001234u),
              "64-bit: sign-extended");
static_assert(WidenHandleBits<int64_t>(0x000A0B2Cu) == 0x000A0B2C,
              "64-bit: small handles as they are");
static_assert(static_cast<uint32_t>(WidenHandleBits<int64_t>(0x80001234u)) == 0x80001234u,
              "truncating the widened handle gives the number back");
