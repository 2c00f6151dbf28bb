#pragma once
// Amounts of money, in whole cents. The files carry them as digits with
// implied decimals, and a sum done in binary fractions could differ from a
// trailer by a cent. Sums are kept wider than 64 bits: a million
// fifteen-digit amounts would overflow them.

#include <string_view>

using Centavos = __int128;

// An amount field of the files: digits with two implied decimals, in cents.
// A field holding anything but digits is read as OBR_VALOR reads it.
Centavos CentavosDoCampo(std::string_view digitos);

// Cents as reais, for the pictures of printed totals.
inline double EmReais(Centavos c) { return static_cast<double>(c) / 100.0; }
