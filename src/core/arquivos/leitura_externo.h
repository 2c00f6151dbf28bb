#pragma once
// Reader of the system's external text files: a whole file into a list of
// lines, in Windows-1252.

#include <string>
#include <string_view>
#include <vector>

class TaexLEITURAEXTERNO {
public:
    // Lines of the file(s) read, without line ends.
    std::vector<std::string> TABDADOS;

    // Empties TABDADOS, then reads the file.
    bool TXT_TO_MEMO(const std::string& KARQ_A_SER_LIDO);
    // Appends the lines of the file. Lines end in CR, LF or CR LF; a last line
    // without end counts; a last line that is only the end-of-file mark
    // (character 26) is dropped. A file that begins with a Unicode byte-order
    // mark is converted to Windows-1252. False, with TABDADOS unchanged, when
    // the file cannot be read. The name is found without regard to case.
    bool ANEXA_TO_MEMO(const std::string& KARQ_A_SER_LIDO);
};

// The lines of a text, split as above (without the end-of-file rule).
std::vector<std::string> TextoEmLinhas(const std::string& texto);

// The same lines, cut from a text handed over in pieces (a file read a
// piece at a time): a line, or a CR LF, may begin in one piece and end in
// the next.
class CortadorDeLinhas {
public:
    explicit CortadorDeLinhas(std::vector<std::string>& linhas) : linhas_(linhas) {}
    void Acrescenta(std::string_view pedaco);
    // The text ended: a last line without its end counts.
    void Termina();

private:
    std::vector<std::string>& linhas_;
    std::string resto_;     // the start of a line not yet ended
    bool crNoFim_ = false;  // the last piece ended in CR: an LF next is its end too
};
