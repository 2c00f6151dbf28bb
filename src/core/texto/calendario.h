#pragma once
// Dates are day counts, as the tables and files of this system treat them:
// day 0 is the empty date (it stands for 30/12/1899, which no record uses).

#include <cstdint>

using TData = std::int32_t;

// Day count of a calendar date; 0 when the date does not exist (31/02, month 13,
// year outside 1..9999).
TData DATA_CODIFICA(int ano, int mes, int dia);

// Calendar date of a day count; false for the empty date and values outside
// the years 1..9999.
bool DATA_DECODIFICA(TData data, int& ano, int& mes, int& dia);

bool DATA_ANOBISSEXTO(int ano);
int DATA_DIASNOMES(int ano, int mes);
