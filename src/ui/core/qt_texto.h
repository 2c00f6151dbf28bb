#pragma once
// The one seam between the motor's Windows-1252 text and Qt's QString.

#include <QString>
#include <string>

QString QT_DE_ANSI(const std::string& ansi);
std::string QT_PARA_ANSI(const QString& texto);
// True when every character of `texto` has a Windows-1252 byte.
bool QT_CABE_EM_ANSI(const QString& texto);
