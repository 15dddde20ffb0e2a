// Numeric text conversion and the floating-point mode it relies on.
#pragma once

#include <cstdint>

// All exceptions masked, 64-bit significand, round to nearest even.
extern const uint16_t FpuControlWord;  // 0x033F
// Waits for pending x87 work, resets the unit, clears its exceptions and loads
// FpuControlWord. Process start does this; test programs call it themselves.
void FpuModeReset();
uint16_t FpuReadControlWord();
// Rounds with the x87's current mode (nearest, ties to even, under the runtime's
// mode) to a 32-bit integer.
int32_t RoundNearest(double value);

// Leading decimal number of text: blanks/tabs, optional '-', digits, optional
// '.' and digits. No exponent, no '+'; anything else ends the number. The
// result is the double nearest the decimal value, ties to even, however many
// digits there are.
double TextToReal(const char* text);
int32_t IsDecimalDigit(int32_t value);     // low byte is '0'..'9'
int32_t FirstCharCode(const char* text);   // 0..255, 0 for "" and null
// a^b as 2^(b*log2 a) in extended precision; 0 for a negative base with a
// fractional exponent and for a zero base (b != 0).
double RealPower(double a, double b);
double RealAbs(double x);

// Writes sign (blank or '-'), the integer digits without leading zeros, and
// with decimals > 0 a point and that many fraction digits. Returns the length.
// Outside the representable range the text is short and fixed instead:
//   decimals outside 0..17          " ERR"
//   NaN                             " NAN"
//   infinities                      " INF" / "-INF"
//   scaled value rounds to >= 1e18  " OVERFLOW" / "-OVERFLOW"
// destination needs 21 bytes. Not re-entrant (one packed-decimal work area).
int32_t RealToText(char* destination, double value, int32_t decimals);
int32_t RealToTextSingle(char* destination, float value, int32_t decimals);

// Decimal digits (with '-' when negative) followed by one blank. Returns the
// length; destination needs 22 bytes.
int32_t Int64ToText(char* destination, int64_t value);
int32_t UInt64ToText(char* destination, uint64_t value);
