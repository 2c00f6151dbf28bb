#pragma once
// FoxPro compact compound index files (.CDX), as other xBase tools read them.
//
// The engine keeps its working order in memory and never trusts the file over
// the DBF; what it needs from here is to write a complete, current index that
// FoxPro-family tools can open, and to tell whether an index found on disk is
// sound and which tags it holds. Keys are character keys: blank-padded to the
// key length and ordered byte by byte (unsigned), as FoxPro's machine
// collation does.

#include <cstdint>
#include <string>
#include <vector>

struct TagCdx {
    std::string tag;            // upper case, at most 10 characters
    std::string expressao;      // key expression text, stored exactly as given
    int tamanhoChave = 0;       // key length in bytes (1..240)
    std::string chaves;         // n * tamanhoChave bytes, keys ascending (byte-wise unsigned), ties by record number
    std::vector<std::uint32_t> registros;  // n record numbers (1-based), parallel to chaves
};

// Writes a complete FoxPro compact compound index holding these tags (tag
// directory sorted by tag name) to a temporary file in the same directory,
// fsyncs it and renames it over `caminho`, so a reader never sees a
// half-written index. An existing file keeps its permission bits.
//
// Throws ErroTabela with a message naming the file on any I/O failure (no
// temporary file is left behind), and also, before touching the disk, when the
// tags themselves would make an index other tools misread: a tag name that is
// empty, longer than 10 characters, not made of letters, digits and "_", or
// repeated; an empty key expression or one longer than 510 bytes; a key length
// outside 1..240; key bytes that are not n keys long; a record number 0; keys
// not in ascending order. Tag names are stored in upper case.
void EscreveCdx(const std::string& caminho, const std::vector<TagCdx>& tags);

// Reads the tag directory of an existing CDX: tag names and key expressions
// (and key lengths). Every tree of the file is walked and checked on the way,
// so a file that is not a sound CDX (bad page alignment, pointers past the end
// or into a page already reached, key length 0 or > 240, leaf headers whose
// widths do not add up, a wrong free-bytes count, sibling links that disagree,
// a truncated file, garbage) throws ErroTabela: the engine then ignores the
// file and rebuilds it.
struct TagLida {
    std::string tag;
    std::string expressao;
    int tamanhoChave;
    std::string expressaoFor;        // empty when the tag has no FOR condition
    std::uint32_t numeroChaves = 0;  // keys in the tag (an index holds deleted records too)
};
std::vector<TagLida> LeTagsDoCdx(const std::string& caminho);

// Same walk, returning the whole content of every tag (keys with trailing
// blanks restored), so the engine can compare an index on disk with the one it
// would write. Same failures as LeTagsDoCdx.
std::vector<TagCdx> LeCdx(const std::string& caminho);
