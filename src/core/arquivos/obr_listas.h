#pragma once
// Lists of texts and the directory listing the routing runs start from.

#include <string>
#include <vector>

void OBR_ADDLISTA(std::vector<std::string>& lista, const std::string& texto);
// Index of the first element equal to the text; -1 when none.
int OBR_POSLISTA(const std::vector<std::string>& lista, const std::string& texto);
// Ascending by character code (so upper case before lower case).
void OBR_ORDENALISTA(std::vector<std::string>& lista);

// Names of the entries of `diretorio` ("." = the current one) matching
// "*." + extensao, without regard to case, files and directories alike,
// upper-cased, without "." and "..", sorted unless `semOrdem`. Extension "*"
// lists every entry; the empty extension lists the names without extension,
// cut to eight characters; a three-character extension keeps only names that
// end in it. A directory that cannot be read (or whose listing fails half
// way) gives an empty list and false.
bool OBR_LISTAARQ(const std::string& extensao, const std::string& diretorio, bool semOrdem,
                  std::vector<std::string>& lista);
