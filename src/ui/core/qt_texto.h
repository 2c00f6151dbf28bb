#pragma once
// The one seam between the motor's Windows-1252 text and Qt's QString.

#include <QString>
#include <string>

QString QtDeAnsi(const std::string& ansi);
std::string QtParaAnsi(const QString& texto);
// True when every character of `texto` has a Windows-1252 byte.
bool QtCabeEmAnsi(const QString& texto);
