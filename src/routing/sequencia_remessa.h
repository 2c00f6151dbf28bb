#pragma once
// Names of the bank's inbound files: the installation keeps a template per
// product in which "DDMM" stands for the day and month of the run and "NN"
// for the number of the day's file, from a counter of the installation
// record that restarts on a new day.

#include <functional>
#include <string>

class Tabela;

// The text with the first occurrence of `de` replaced by `para`.
std::string SubstituiPrimeira(const std::string& texto, const std::string& de,
                              const std::string& para);

// Number of the next file: 1 after 99 (the two digits are used up), the
// stored number plus 1 when the last file was written on the same day and
// month, 1 on a new day. Never below 1.
int ProximaSequencia(long long armazenado, const std::string& ultdatcob,
                      const std::string& ddmm);

// Chooses the next number of the counter field of the installation record
// (the table's current record) and stores it. The record is locked while it
// is read and written, so that two workstations never take the same number.
// `antesDeGravar` is told the stored number and day and the new number
// before the record is written (a run's journal).
int ReservaSequencia(Tabela& conveins, const std::string& campo, const std::string& ddmm,
                      const std::function<void(long long anterior, int novo,
                                               const std::string& diaAnterior)>& antesDeGravar = {});
