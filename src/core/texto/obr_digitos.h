#pragma once
// Check digits: weighted digit sums, modulo 11, CNPJ and CPF.

#include <string>

// Sum of each digit of `numero` times the digit of `pesos` at the same place
// (non-digits count 0). Mode 0 adds the two digits of every product instead
// of the product (a product of 100 or more counts 0). Texts of different
// lengths: an error message and 0.
int OBR_SOMA(const std::string& pesos, const std::string& numero, int modo);

// Modulo-11 check digit: "0" when the remainder is 0 or 1, else 11 minus it.
// `tipo` is not used.
std::string OBR_DAC11(int tipo, const std::string& pesos, const std::string& numero);

// CNPJ (14 characters) or CPF (11) with right check digits, or one of the
// words "ISENTO", "ILEGIVEL", ".". Otherwise false and the reason in
// `mensagem`.
bool OBR_CNPJCPF(const std::string& texto, std::string& mensagem);
