#pragma once
// What every window of the program shares from the start: the application
// icon, Qt's own dialogs speaking Portuguese, and fields that take only
// what the files can hold.

class QApplication;

// Loads Qt's Brazilian Portuguese translations (qtbase_pt_BR, from Qt's
// translations directory); false when they are not installed.
bool InstalaTraducoesQt(QApplication& app);
// Icon of every window, the About box included.
void InstalaIcone(QApplication& app);
// A character typed into a text field that Windows-1252 cannot hold is
// refused at once, with a message, instead of becoming "?" in the file.
void InstalaFiltroDeCaracteres(QApplication& app);
