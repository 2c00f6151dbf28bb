#pragma once
// Pieces of a file path. The directory separator is "/".

#include <string>

// Mode 0: directory part up to and including the last "/" (empty without
// one); 1: name of the last directory; 2: for a path beginning with "/", its
// first directory with the leading "/"; 3: file name after the last "/",
// trimmed; 4: path up to the first "." followed by ".FPT"; 5: the two
// characters before a four-character extension (or the last two) replaced by
// `numero` in two digits; 6: text before the first ".". Other modes: empty.
std::string OBR_PARTEARQ(const std::string& caminho, int modo, int numero = 0);
