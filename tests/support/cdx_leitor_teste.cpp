#include "support/cdx_leitor_teste.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace {

constexpr std::uint32_t kPagina = 512;
constexpr std::uint32_t kNenhum = 0xFFFFFFFFu;

class Leitor {
public:
    explicit Leitor(const std::string& caminho) : caminho_(caminho) {
        std::ifstream f(caminho, std::ios::binary);
        if (!f) falha("cannot open the file");
        bytes_.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
        if (bytes_.size() < 2 * kPagina) falha("file shorter than one header");
        if (bytes_.size() % kPagina != 0) falha("file size is not a whole number of pages");
        usadas_.assign(bytes_.size() / kPagina, false);
    }

    CdxArquivoTeste Le() {
        CdxArquivoTeste arq;
        arq.tamanhoArquivo = bytes_.size();
        arq.diretorio = LeArvore(0, "tag directory");
        if (arq.diretorio.cabecalho.tamanhoChave != 10)
            falha("tag directory key length is not 10");
        for (const auto& e : arq.diretorio.entradas) {
            std::string nome = e.chave;
            while (!nome.empty() && (nome.back() == ' ' || nome.back() == '\0')) nome.pop_back();
            if (nome.empty()) falha("blank tag name in the directory");
            CdxTagTeste t;
            t.tag = nome;
            t.arvore = LeArvore(e.registro, "tag " + nome);
            arq.tags.push_back(std::move(t));
        }
        return arq;
    }

private:
    [[noreturn]] void falha(const std::string& texto) const {
        throw std::runtime_error(caminho_ + ": " + texto);
    }
    [[noreturn]] void falhaPagina(std::uint32_t pagina, const std::string& texto) const {
        std::ostringstream s;
        s << "page at " << pagina << ": " << texto;
        falha(s.str());
    }

    unsigned u8(std::size_t p) const { return static_cast<unsigned char>(bytes_[p]); }
    std::uint32_t le16(std::size_t p) const { return u8(p) | (u8(p + 1) << 8); }
    std::uint32_t le32(std::size_t p) const {
        return u8(p) | (u8(p + 1) << 8) | (u8(p + 2) << 16) | (std::uint32_t(u8(p + 3)) << 24);
    }
    std::uint32_t be32(std::size_t p) const {
        return (std::uint32_t(u8(p)) << 24) | (u8(p + 1) << 16) | (u8(p + 2) << 8) | u8(p + 3);
    }

    // A pointer to `paginas` pages, aligned and inside the file, never reached
    // before.
    void Reserva(std::uint32_t desloc, std::uint32_t paginas, const std::string& oque) {
        if (desloc == kNenhum) falha(oque + ": pointer is 'none'");
        if (desloc % kPagina != 0) falha(oque + ": pointer " + std::to_string(desloc) + " not on a page boundary");
        if (std::uintmax_t(desloc) + std::uintmax_t(paginas) * kPagina > bytes_.size())
            falha(oque + ": pointer " + std::to_string(desloc) + " past the end of the file");
        for (std::uint32_t i = 0; i < paginas; ++i) {
            auto idx = desloc / kPagina + i;
            if (usadas_[idx]) falha(oque + ": page " + std::to_string(desloc) + " reached twice");
            usadas_[idx] = true;
        }
    }

    std::string Expressao(std::uint32_t cab, std::uint32_t pos, std::uint32_t len, const char* qual) {
        if (len == 0) falha(std::string(qual) + " expression length 0 (no room for its NUL)");
        if (pos + len > kPagina) falha(std::string(qual) + " expression outside the pool");
        const char* p = bytes_.data() + cab + kPagina + pos;
        if (p[len - 1] != '\0') falha(std::string(qual) + " expression not ended by NUL");
        if (std::strlen(p) != len - 1) falha(std::string(qual) + " expression holds a NUL inside");
        return std::string(p, len - 1);
    }

    CdxCabecalhoTeste Cabecalho(std::uint32_t desloc, const std::string& oque) {
        Reserva(desloc, 2, oque + " header");
        CdxCabecalhoTeste c;
        c.deslocamento = desloc;
        c.raiz = le32(desloc + 0);
        c.livres = le32(desloc + 4);
        c.versao = le32(desloc + 8);
        c.tamanhoChave = int(le16(desloc + 12));
        c.opcoes = int(u8(desloc + 14));
        c.assinatura = int(u8(desloc + 15));
        c.descendente = int(le16(desloc + 502));
        c.expressaoFor = Expressao(desloc, le16(desloc + 504), le16(desloc + 506), "FOR");
        c.expressao = Expressao(desloc, le16(desloc + 508), le16(desloc + 510), "key");
        if (c.tamanhoChave < 1 || c.tamanhoChave > 240)
            falha(oque + ": key length " + std::to_string(c.tamanhoChave));
        if (c.assinatura != 1) falha(oque + ": signature is not 1");
        if (c.livres != kNenhum) falha(oque + ": free-page list not empty");
        return c;
    }

    struct No {
        std::uint32_t desloc;
        int atributo;
        int n;
        std::uint32_t esquerda, direita;
        std::vector<CdxEntradaTeste> entradas;  // leaf: keys; interior: key + record
        std::vector<std::uint32_t> filhos;      // interior only
    };

    No LeNo(std::uint32_t desloc, int tamChave, bool raiz, const std::string& oque) {
        Reserva(desloc, 1, oque + " node");
        No no;
        no.desloc = desloc;
        no.atributo = int(le16(desloc));
        no.n = int(le16(desloc + 2));
        no.esquerda = le32(desloc + 4);
        no.direita = le32(desloc + 8);
        const bool folha = (no.atributo & 2) != 0;
        if ((no.atributo & ~3) != 0) falhaPagina(desloc, "unknown node attribute");
        if (((no.atributo & 1) != 0) != raiz) falhaPagina(desloc, "root bit wrong");
        if (!raiz && no.n == 0) falhaPagina(desloc, "empty non-root node");
        if (folha) DecodificaFolha(no, tamChave);
        else DecodificaInterior(no, tamChave);
        for (std::size_t i = 1; i < no.entradas.size(); ++i) {
            const auto& a = no.entradas[i - 1];
            const auto& b = no.entradas[i];
            if (a.chave > b.chave || (a.chave == b.chave && a.registro >= b.registro))
                falhaPagina(desloc, "keys out of order at entry " + std::to_string(i));
        }
        return no;
    }

    void DecodificaInterior(No& no, int tamChave) {
        const std::uint32_t tam = std::uint32_t(tamChave) + 8;
        if (no.n == 0) falhaPagina(no.desloc, "interior node without keys");
        if (12 + std::uint32_t(no.n) * tam > kPagina) falhaPagina(no.desloc, "too many interior keys");
        for (int i = 0; i < no.n; ++i) {
            std::size_t p = no.desloc + 12 + std::size_t(i) * tam;
            CdxEntradaTeste e;
            e.chave.assign(bytes_.data() + p, std::size_t(tamChave));
            e.registro = be32(p + tamChave);
            no.entradas.push_back(e);
            no.filhos.push_back(be32(p + tamChave + 4));
        }
    }

    void DecodificaFolha(No& no, int tamChave) {
        const std::size_t d = no.desloc;
        const std::uint32_t livres = le16(d + 12);
        const std::uint32_t mascaraReg = le32(d + 14);
        const unsigned mascaraDup = u8(d + 18), mascaraFim = u8(d + 19);
        const unsigned bitsReg = u8(d + 20), bitsDup = u8(d + 21), bitsFim = u8(d + 22);
        const unsigned nBytes = u8(d + 23);
        if (nBytes < 1 || nBytes > 8) falhaPagina(no.desloc, "bytes per entry out of range");
        if (bitsReg + bitsDup + bitsFim != 8 * nBytes) falhaPagina(no.desloc, "bit widths do not add up to the entry size");
        if (bitsDup > 8 || bitsFim > 8) falhaPagina(no.desloc, "count widths above 8 bits");
        auto mascara = [](unsigned bits) -> std::uint64_t { return bits >= 64 ? ~0ull : ((1ull << bits) - 1); };
        const std::uint64_t mReg = mascara(bitsReg);
        if (mascaraReg != std::uint32_t(std::min<std::uint64_t>(mReg, 0xFFFFFFFFull)))
            falhaPagina(no.desloc, "record-number mask does not match its width");
        if (mascaraDup != mascara(bitsDup)) falhaPagina(no.desloc, "duplicate mask does not match its width");
        if (mascaraFim != mascara(bitsFim)) falhaPagina(no.desloc, "trailing mask does not match its width");
        if (mascara(bitsDup) < std::uint64_t(tamChave) || mascara(bitsFim) < std::uint64_t(tamChave))
            falhaPagina(no.desloc, "count widths too narrow for the key length");

        const std::size_t fimEntradas = 24 + std::size_t(no.n) * nBytes;
        if (fimEntradas > kPagina) falhaPagina(no.desloc, "entries run past the page");
        std::size_t topoChaves = kPagina;  // key bytes grow down from the page end
        std::string anterior;
        for (int i = 0; i < no.n; ++i) {
            std::uint64_t v = 0;
            for (unsigned k = 0; k < nBytes; ++k) v |= std::uint64_t(u8(d + 24 + std::size_t(i) * nBytes + k)) << (8 * k);
            const std::uint64_t reg = v & mReg;
            const unsigned dup = unsigned((v >> bitsReg) & mascara(bitsDup));
            const unsigned fim = unsigned((v >> (bitsReg + bitsDup)) & mascara(bitsFim));
            if (reg == 0 || reg > 0xFFFFFFFFull) falhaPagina(no.desloc, "record number 0 or too big at entry " + std::to_string(i));
            if (i == 0 && dup != 0) falhaPagina(no.desloc, "first key of the page has a duplicate count");
            if (dup + fim > unsigned(tamChave)) falhaPagina(no.desloc, "counts exceed the key length at entry " + std::to_string(i));
            const std::size_t guardados = std::size_t(tamChave) - dup - fim;
            if (topoChaves < fimEntradas + guardados) falhaPagina(no.desloc, "key bytes overlap the entries");
            topoChaves -= guardados;
            CdxEntradaTeste e;
            e.chave = anterior.substr(0, dup) + std::string(bytes_.data() + d + topoChaves, guardados) + std::string(fim, ' ');
            e.registro = std::uint32_t(reg);
            anterior = e.chave;
            no.entradas.push_back(e);
        }
        if (livres != topoChaves - fimEntradas)
            falhaPagina(no.desloc, "free-bytes field " + std::to_string(livres) + " but " +
                                       std::to_string(topoChaves - fimEntradas) + " bytes are free");
    }

    CdxArvoreTeste LeArvore(std::uint32_t cab, const std::string& oque) {
        CdxArvoreTeste arv;
        arv.cabecalho = Cabecalho(cab, oque);
        const int tamChave = arv.cabecalho.tamanhoChave;

        std::vector<No> nivel;
        nivel.push_back(LeNo(arv.cabecalho.raiz, tamChave, true, oque + " root"));
        arv.niveis = 1;
        for (;;) {
            // Sibling links along the level, both ways.
            for (std::size_t i = 0; i < nivel.size(); ++i) {
                const std::uint32_t esq = i == 0 ? kNenhum : nivel[i - 1].desloc;
                const std::uint32_t dir = i + 1 == nivel.size() ? kNenhum : nivel[i + 1].desloc;
                if (nivel[i].esquerda != esq) falhaPagina(nivel[i].desloc, "left sibling link wrong");
                if (nivel[i].direita != dir) falhaPagina(nivel[i].desloc, "right sibling link wrong");
                if (((nivel[i].atributo & 2) != 0) != ((nivel[0].atributo & 2) != 0))
                    falhaPagina(nivel[i].desloc, "leaves and interior nodes mixed on one level");
            }
            if (nivel[0].atributo & 2) break;

            std::vector<No> abaixo;
            for (const No& pai : nivel) {
                for (std::size_t k = 0; k < pai.filhos.size(); ++k) {
                    No filho = LeNo(pai.filhos[k], tamChave, false, oque);
                    const CdxEntradaTeste& maior = filho.entradas.back();
                    if (maior.chave != pai.entradas[k].chave || maior.registro != pai.entradas[k].registro)
                        falhaPagina(pai.desloc, "interior entry " + std::to_string(k) +
                                                    " is not the highest key of its child");
                    abaixo.push_back(std::move(filho));
                }
            }
            nivel = std::move(abaixo);
            ++arv.niveis;
        }

        // The leaves, found by descent, read again along the right-sibling
        // chain from the leftmost one: the two walks must agree.
        arv.folhas = int(nivel.size());
        std::uint32_t p = nivel[0].desloc;
        for (std::size_t i = 0; i < nivel.size(); ++i) {
            if (p != nivel[i].desloc) falhaPagina(p, "right-sibling chain leaves the tree");
            for (const auto& e : nivel[i].entradas) {
                if (!arv.entradas.empty()) {
                    const auto& a = arv.entradas.back();
                    if (a.chave > e.chave || (a.chave == e.chave && a.registro >= e.registro))
                        falhaPagina(p, "keys out of order across leaves");
                }
                arv.entradas.push_back(e);
            }
            p = nivel[i].direita;
        }
        if (p != kNenhum) falha(oque + ": right-sibling chain goes on past the last leaf");
        return arv;
    }

    std::string caminho_;
    std::string bytes_;
    std::vector<bool> usadas_;
};

}  // namespace

CdxArquivoTeste LeCdxParaTeste(const std::string& caminho) {
    return Leitor(caminho).Le();
}
