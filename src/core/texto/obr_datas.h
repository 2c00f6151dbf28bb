#pragma once
// Dates as the files and screens write them. Two-digit years fall in the
// hundred years that begin 50 years before the year of the day's date
// (TmvGERAL::DATADIA), whatever the machine's clock says.

#include <string>

#include "core/texto/calendario.h"

struct HoraDoDia;

// "dd/mm/yyyy"; the empty date, and a date that cannot be shown, give the
// blank mask "  /  /    ".
std::string OBR_DATATOSTR(TData data);

// Date of "dd/mm/yy" or "dd/mm/yyyy" (blanks around the parts allowed); 0 for
// a blank text, zeros, or anything that is not a date.
TData OBR_STRTODATA(const std::string& texto);

// File field by keyword: "DDMMAA_DATA" (ddmmyy) and "AAAAMMDD_DATA"
// (yyyymmdd) read a date, 0 when empty or impossible; "DATA_DDMMAA" and
// "DATA_AAAAMMDD" write one, all zeros for the empty date. Any other keyword
// gives 0 or the empty text.
TData OBR_TEXTOTODATA(const std::string& palavra, const std::string& texto);
std::string OBR_DATATOTEXTO(const std::string& palavra, TData data);

// Time of day as hhmmss, from the clock of the general services object.
std::string OBR_HORA();
// A time of day as the run logs print it: "hh:mm:ss".
std::string TextoDaHora(const HoraDoDia& hora);

// The year of a two-digit year, in the window that ends 49 years after
// `anoAtual`.
int AnoComQuatroDigitos(int anoDoisDigitos, int anoAtual);
