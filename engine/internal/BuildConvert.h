#pragma once
// Turns rendered sample values (1.0 = full scale) into the bytes of the output format.

#include <cstddef>
#include <cstdint>

// Converts `count` values to `bits`-wide little-endian samples at `out` and returns the
// bytes written. 64 and 32 bits are IEEE floats and keep values beyond full scale; 24, 16
// and 8 bits round and saturate (8 bits unsigned around 128). NaN becomes silence and
// infinities saturate, so no value the synthesis can produce makes the conversion undefined.
// Any other width writes nothing.
size_t ConvertSamples(const double* in, size_t count, int bits, uint8_t* out);
