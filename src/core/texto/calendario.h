#pragma once
// Dates are day counts, as the tables and files of this system treat them:
// day 0 is the empty date (it stands for 30/12/1899, which no record uses).

#include <cstdint>

using TData = std::int32_t;

// Day count of a calendar date; 0 when the date does not exist (31/02, month 13,
// year outside 1..9999).
TData CodificaData(int ano, int mes, int dia);

// Calendar date of a day count; false for the empty date and values outside
// the years 1..9999.
bool DecodificaData(TData data, int& ano, int& mes, int& dia);

bool EhAnoBissexto(int ano);
int DiasDoMes(int ano, int mes);
