#pragma once
// Reads a text file line by line without holding it whole: a bank return
// runs to millions of lines, and the segregation and the consolidation need
// each line only once, in order. The lines are those the whole-file reader
// (TaexLEITURAEXTERNO) gives: split at CR, LF or CR LF, a last line without
// end counts, a last line that is only the end-of-file mark (character 26)
// is dropped, and a file that begins with a Unicode byte-order mark is
// converted to Windows-1252.
//
// Only a regular file is opened, never through a link: a name that comes
// from outside cannot make the run read another place, nor wait forever on
// a pipe or a device.

#include <memory>
#include <string>
#include <string_view>

class LeitorDeLinhas {
public:
    LeitorDeLinhas() = default;
    ~LeitorDeLinhas();
    LeitorDeLinhas(const LeitorDeLinhas&) = delete;
    LeitorDeLinhas& operator=(const LeitorDeLinhas&) = delete;

    enum class Abertura { aberto, ausente, ilegivel };
    Abertura Abre(const std::string& caminho);

    // The next line, valid until the next call; false at the end of the
    // file and after a read error (Falhou).
    bool Proxima(std::string_view& linha);
    bool Falhou() const { return falhou_; }

    // The line last given, followed by CR LF, lies as it is in the file at
    // `inicio` (false for a file converted from Unicode, and for a line
    // whose end was not CR LF or is not known yet). A writer may then copy
    // it from the file (Descritor) instead of writing it.
    bool TrechoDoArquivo(long long& inicio) const {
        inicio = inicioLinha_;
        return comCRLF_;
    }
    int Descritor() const { return fd_; }

private:
    bool enche();    // more bytes into the buffer; false at the end or on error
    bool haMais();   // anything left after the line just taken
    void pulaLF();   // the LF of a CR LF split between two reads
    void fecha();

    int fd_ = -1;
    bool fim_ = false;      // nothing more to read from the file
    bool convertido_ = false;    // the buffer holds converted text, not the file's bytes
    long long base_ = 0;         // file offset of the buffer's first byte
    long long inicioLinha_ = 0;  // file offset of the line last given
    bool comCRLF_ = false;       // it ended in CR LF, both seen
    bool falhou_ = false;
    bool pulaLF_ = false;   // the last line ended in CR at the end of the buffer
    bool semLF_ = false;    // no LF in the rest of the buffer
    // Bytes read and not yet handed out lie at [pos_, tamanho_) of the
    // buffer, which is sized to the file (up to a few megabytes) and never
    // cleared before a read.
    std::unique_ptr<char[]> buffer_;
    std::size_t capacidade_ = 0;
    std::size_t tamanho_ = 0;
    std::size_t pos_ = 0;
};
