#include "tabela/cdx.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "core/arquivos/arquivo_duravel.h"
#include "core/texto/ansi.h"
#include "tabela/erro_tabela.h"
#include "tabela/nome_arquivo.h"

// Layout of the file (all pointers are byte offsets from its start):
//   0     header of the tag directory (1024 bytes)
//   1024  pages of the tag directory, a compact index whose keys are the tag
//         names and whose "record numbers" are the offsets of the tag headers
//   then, per tag in name order: its 1024-byte header, its leaves left to
//         right, then each interior level bottom-up (the root is last).
// Every page is built in one memory buffer and the file is written in one go.

namespace {

constexpr std::uint32_t kPagina = 512;
constexpr std::uint32_t kCabecalho = 1024;  // fields page + expression pool page
constexpr std::uint32_t kNenhum = 0xFFFFFFFFu;
constexpr int kChaveMaxima = 240;
constexpr int kNomeTag = 10;
constexpr std::size_t kExpressaoMaxima = 510;  // pool of 512 holds key, NUL and the empty FOR's NUL
constexpr std::uint32_t kInicioFolha = 24;
constexpr std::uint32_t kInicioInterior = 12;

constexpr unsigned char kOpcoesTag = 0x60;        // compact + compound
constexpr unsigned char kOpcoesDiretorio = 0xE0;  // compact + compound + structure
constexpr unsigned char kAssinatura = 0x01;
// A freshly built index has been written once; tools that cache pages compare
// this counter, and a file replaced by rename is read anew anyway.
constexpr std::uint32_t kVersao = 1;

constexpr int kAtribInterior = 0, kAtribRaiz = 1, kAtribFolha = 2;

void Poe16(char* p, std::uint32_t v) {
    p[0] = char(v & 0xFF);
    p[1] = char((v >> 8) & 0xFF);
}
void Poe32(char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = char((v >> (8 * i)) & 0xFF);
}
void Poe32Be(char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = char((v >> (24 - 8 * i)) & 0xFF);
}
std::uint32_t Le16(const unsigned char* p) { return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8); }
std::uint32_t Le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
std::uint32_t Le32Be(const unsigned char* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}

std::uint64_t Mascara(unsigned bits) { return bits >= 64 ? ~0ull : (1ull << bits) - 1; }
// The mask field has four bytes; wider record-number fields store it full.
std::uint32_t MascaraGravada(unsigned bits) {
    return bits >= 32 ? 0xFFFFFFFFu : std::uint32_t(Mascara(bits));
}

// ---------------------------------------------------------------- writing

// Bit fields of one leaf page. The counts get as many bits as the key length
// needs; the record number gets the rest of the entry, and the entry grows by
// a byte while the page's highest record number does not fit.
struct Larguras {
    unsigned bitsReg = 0, bitsDup = 0, bitsFim = 0, bytes = 0;
};

Larguras LargurasFolha(int tamChave, std::uint32_t maiorRegistro) {
    unsigned b = 0;
    for (unsigned v = unsigned(tamChave); v != 0; v >>= 1) ++b;
    Larguras l;
    l.bitsDup = l.bitsFim = b;
    l.bytes = b <= 8 ? 3 : b <= 12 ? 4 : 5;
    for (;;) {
        l.bitsReg = 8 * l.bytes - 2 * b;
        if (l.bitsReg >= 32 || maiorRegistro <= Mascara(l.bitsReg)) return l;
        ++l.bytes;
    }
}

// The keys of one index, with what compression needs of each: how many
// trailing blanks it has and how many leading bytes it shares with the key
// before it.
struct Chaves {
    const char* bytes = nullptr;
    const std::uint32_t* registros = nullptr;
    std::size_t n = 0;
    int tam = 0;
    std::vector<std::uint8_t> brancos;
    std::vector<std::uint8_t> comuns;

    const char* Chave(std::size_t i) const { return bytes + i * std::size_t(tam); }

    void Prepara() {
        brancos.resize(n);
        comuns.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            const char* k = Chave(i);
            int t = tam;
            while (t > 0 && k[t - 1] == ' ') --t;
            brancos[i] = std::uint8_t(tam - t);
            int c = 0;
            if (i > 0) {
                const char* a = Chave(i - 1);
                while (c < tam && a[c] == k[c]) ++c;
            }
            comuns[i] = std::uint8_t(c);
        }
    }
    // Bytes taken from the previous key of the same page; never into the
    // trailing blanks, which the trailing count already gives back.
    unsigned Dup(std::size_t i, bool primeiraDaPagina) const {
        if (primeiraDaPagina) return 0;
        return std::min<unsigned>(comuns[i], unsigned(tam - brancos[i]));
    }
};

struct Folha {
    std::size_t inicio = 0, quantas = 0;
    Larguras larg;
};

// Leaves filled as full as they go: a key joins the page while its entry and
// its stored bytes still fit beside the others at the page's entry width.
std::vector<Folha> PlanejaFolhas(const Chaves& c) {
    std::vector<Folha> folhas;
    if (c.n == 0) {
        folhas.push_back(Folha{0, 0, LargurasFolha(c.tam, 0)});
        return folhas;
    }
    std::size_t i = 0;
    while (i < c.n) {
        Folha f;
        f.inicio = i;
        std::uint32_t maior = 0;
        std::size_t guardados = 0;
        Larguras larg = LargurasFolha(c.tam, 0);
        for (std::size_t k = i; k < c.n; ++k) {
            const std::size_t g = std::size_t(c.tam) - c.Dup(k, k == i) - c.brancos[k];
            Larguras lk = larg;
            if (c.registros[k] > maior) lk = LargurasFolha(c.tam, c.registros[k]);
            if (kInicioFolha + (f.quantas + 1) * lk.bytes + guardados + g > kPagina) break;
            larg = lk;
            maior = std::max(maior, c.registros[k]);
            guardados += g;
            ++f.quantas;
        }
        f.larg = larg;
        folhas.push_back(f);
        i += f.quantas;
    }
    return folhas;
}

std::size_t ChavesPorInterior(int tam) { return (kPagina - kInicioInterior) / std::size_t(tam + 8); }

std::size_t PaginasDaArvore(std::size_t folhas, int tam) {
    std::size_t total = folhas;
    const std::size_t porNo = ChavesPorInterior(tam);
    for (std::size_t nivel = folhas; nivel > 1;) {
        nivel = (nivel + porNo - 1) / porNo;
        total += nivel;
    }
    return total;
}

void EscreveFolha(char* p, const Chaves& c, const Folha& f, std::uint32_t esquerda,
                  std::uint32_t direita, bool raiz) {
    const Larguras& l = f.larg;
    Poe16(p, raiz ? kAtribRaiz | kAtribFolha : kAtribFolha);
    Poe16(p + 2, std::uint32_t(f.quantas));
    Poe32(p + 4, esquerda);
    Poe32(p + 8, direita);
    Poe32(p + 14, MascaraGravada(l.bitsReg));
    p[18] = char(Mascara(l.bitsDup));
    p[19] = char(Mascara(l.bitsFim));
    p[20] = char(l.bitsReg);
    p[21] = char(l.bitsDup);
    p[22] = char(l.bitsFim);
    p[23] = char(l.bytes);
    std::size_t topo = kPagina;
    char* entrada = p + kInicioFolha;
    for (std::size_t k = f.inicio; k < f.inicio + f.quantas; ++k) {
        const unsigned dup = c.Dup(k, k == f.inicio);
        const unsigned brancos = c.brancos[k];
        const std::size_t g = std::size_t(c.tam) - dup - brancos;
        topo -= g;
        std::memcpy(p + topo, c.Chave(k) + dup, g);
        const std::uint64_t v = std::uint64_t(c.registros[k]) | (std::uint64_t(dup) << l.bitsReg) |
                                (std::uint64_t(brancos) << (l.bitsReg + l.bitsDup));
        for (unsigned b = 0; b < l.bytes; ++b) entrada[b] = char((v >> (8 * b)) & 0xFF);
        entrada += l.bytes;
    }
    Poe16(p + 12, std::uint32_t(topo - (kInicioFolha + f.quantas * l.bytes)));
}

// Writes the tree's pages from `desloc` on and returns the root's offset.
std::uint32_t EscreveArvore(std::string& arquivo, std::uint32_t desloc, const Chaves& c,
                            const std::vector<Folha>& folhas) {
    struct No {
        std::uint32_t desloc;
        std::size_t ultima;  // index of the highest key below this node
    };
    std::vector<No> nivel;
    nivel.reserve(folhas.size());
    for (std::size_t i = 0; i < folhas.size(); ++i) {
        const std::uint32_t d = desloc + std::uint32_t(i) * kPagina;
        const std::uint32_t esq = i == 0 ? kNenhum : d - kPagina;
        const std::uint32_t dir = i + 1 == folhas.size() ? kNenhum : d + kPagina;
        EscreveFolha(arquivo.data() + d, c, folhas[i], esq, dir, folhas.size() == 1);
        nivel.push_back(No{d, folhas[i].inicio + (folhas[i].quantas ? folhas[i].quantas - 1 : 0)});
    }
    desloc += std::uint32_t(folhas.size()) * kPagina;

    const std::size_t porNo = ChavesPorInterior(c.tam);
    const std::size_t tamEntrada = std::size_t(c.tam) + 8;
    while (nivel.size() > 1) {
        const std::size_t nos = (nivel.size() + porNo - 1) / porNo;
        std::vector<No> acima;
        acima.reserve(nos);
        for (std::size_t j = 0; j < nos; ++j) {
            const std::uint32_t d = desloc + std::uint32_t(j) * kPagina;
            char* p = arquivo.data() + d;
            const std::size_t de = j * porNo, ate = std::min(de + porNo, nivel.size());
            Poe16(p, nos == 1 ? kAtribRaiz : kAtribInterior);
            Poe16(p + 2, std::uint32_t(ate - de));
            Poe32(p + 4, j == 0 ? kNenhum : d - kPagina);
            Poe32(p + 8, j + 1 == nos ? kNenhum : d + kPagina);
            char* e = p + kInicioInterior;
            for (std::size_t k = de; k < ate; ++k, e += tamEntrada) {
                std::memcpy(e, c.Chave(nivel[k].ultima), std::size_t(c.tam));
                Poe32Be(e + c.tam, c.registros[nivel[k].ultima]);
                Poe32Be(e + c.tam + 4, nivel[k].desloc);
            }
            acima.push_back(No{d, nivel[ate - 1].ultima});
        }
        desloc += std::uint32_t(nos) * kPagina;
        nivel = std::move(acima);
    }
    return nivel[0].desloc;
}

void EscreveCabecalho(char* p, std::uint32_t raiz, int tam, unsigned char opcoes,
                      const std::string& expressao) {
    const std::uint32_t lenExpr = std::uint32_t(expressao.size()) + 1;
    Poe32(p + 0, raiz);
    Poe32(p + 4, kNenhum);
    Poe32(p + 8, kVersao);
    Poe16(p + 12, std::uint32_t(tam));
    p[14] = char(opcoes);
    p[15] = char(kAssinatura);
    Poe16(p + 502, 0);        // ascending
    Poe16(p + 504, lenExpr);  // FOR expression: just its NUL, right after the key's
    Poe16(p + 506, 1);
    Poe16(p + 508, 0);  // key expression at the start of the pool
    Poe16(p + 510, lenExpr);
    std::memcpy(p + kPagina, expressao.data(), expressao.size());
}

std::string Aspas(const std::string& caminho) { return "\"" + caminho + "\""; }

std::string TextoDoErro(int erro) {
    switch (erro) {
        case ENOSPC:
        case EDQUOT: return "disco cheio";
        case EACCES:
        case EPERM: return "acesso negado";
        case EROFS: return "disco somente para leitura";
        case ENOENT:
        case ENOTDIR: return "diretório inexistente"_ansi;
        case EIO: return "erro de leitura ou gravação no disco"_ansi;
        default: return std::strerror(erro);
    }
}

[[noreturn]] void FalhaGravacao(const std::string& caminho, int erro) {
    throw ErroTabela("Não foi possível gravar o índice "_ansi + Aspas(caminho) + ": " +
                     TextoDoErro(erro) + ".");
}

[[noreturn]] void Recusa(const std::string& caminho, const std::string& motivo) {
    throw ErroTabela("Índice "_ansi + Aspas(caminho) + " não gravado: "_ansi + motivo + ".");
}

void GravaSubstituindo(const std::string& caminho, const std::string& dados) {
    // The index replaced keeps its permission bits (a shared data directory
    // may rely on group write access).
    ArquivoDuravel arquivo(caminho);
    arquivo.Escreve(dados);
    if (const int erro = arquivo.Nomeia(true)) FalhaGravacao(caminho, erro);
}

bool NomeDeTagValido(const std::string& nome) {
    if (nome.empty() || nome.size() > std::size_t(kNomeTag)) return false;
    for (char ch : nome)
        if (!((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_')) return false;
    return true;
}

void ValidaTag(const std::string& caminho, const TagCdx& t, const std::string& nome) {
    if (!NomeDeTagValido(nome))
        Recusa(caminho, "nome de tag inválido "_ansi + Aspas(t.tag));
    if (t.expressao.empty() || t.expressao.size() > kExpressaoMaxima ||
        t.expressao.find('\0') != std::string::npos)
        Recusa(caminho, "expressão inválida na tag "_ansi + nome);
    if (t.tamanhoChave < 1 || t.tamanhoChave > kChaveMaxima)
        Recusa(caminho, "tamanho de chave " + std::to_string(t.tamanhoChave) + " na tag " + nome);
    const std::size_t tam = std::size_t(t.tamanhoChave);
    if (t.chaves.size() != t.registros.size() * tam)
        Recusa(caminho, "chaves e registros não conferem na tag "_ansi + nome);
    for (std::size_t i = 0; i < t.registros.size(); ++i) {
        if (t.registros[i] == 0) Recusa(caminho, "registro 0 na tag " + nome);
        if (i == 0) continue;
        const int cmp = std::memcmp(t.chaves.data() + (i - 1) * tam, t.chaves.data() + i * tam, tam);
        if (cmp > 0 || (cmp == 0 && t.registros[i - 1] >= t.registros[i]))
            Recusa(caminho, "chaves fora de ordem na tag " + nome);
    }
}

// ---------------------------------------------------------------- reading

class LeitorCdx {
public:
    explicit LeitorCdx(const std::string& caminho) : caminho_(caminho) {
        fd_ = ::open(caminho.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0)
            throw ErroTabela("Não foi possível abrir o índice "_ansi + Aspas(caminho) + ": " +
                             TextoDoErro(errno) + ".");
        struct stat st {};
        if (::fstat(fd_, &st) != 0) {
            const int erro = errno;
            ::close(fd_);
            throw ErroTabela("Não foi possível ler o índice "_ansi + Aspas(caminho) + ": " +
                             TextoDoErro(erro) + ".");
        }
        tamanho_ = std::uint64_t(st.st_size);
    }
    ~LeitorCdx() { ::close(fd_); }
    LeitorCdx(const LeitorCdx&) = delete;
    LeitorCdx& operator=(const LeitorCdx&) = delete;

    std::vector<TagCdx> Le(bool comChaves, std::vector<TagLida>& lidas) {
        if (tamanho_ < kCabecalho + kPagina) Danificado("arquivo curto demais");
        if (tamanho_ % kPagina != 0) Danificado("tamanho não é múltiplo de 512 bytes"_ansi);
        if (tamanho_ > 0xFFFFFFFFull) Danificado("arquivo grande demais");
        usadas_.assign(std::size_t(tamanho_ / kPagina), false);

        const Cabecalho dir = LeCabecalho(0);
        if (dir.tamChave != kNomeTag) Danificado("diretório de tags com chave de tamanho errado"_ansi);
        if ((dir.opcoes & 0x60) != 0x60) Danificado("não é um índice composto compacto"_ansi);
        Arvore nomes;
        LeArvore(dir.raiz, kNomeTag, true, nomes);

        std::vector<TagCdx> tags;
        for (std::size_t i = 0; i < nomes.registros.size(); ++i) {
            std::string nome = nomes.chaves.substr(i * kNomeTag, kNomeTag);
            while (!nome.empty() && (nome.back() == ' ' || nome.back() == '\0')) nome.pop_back();
            if (nome.empty()) Danificado("tag sem nome");
            const Cabecalho cab = LeCabecalho(nomes.registros[i]);
            if (cab.expressao.empty()) Danificado("tag " + nome + " sem expressão"_ansi);
            Arvore arv;
            LeArvore(cab.raiz, cab.tamChave, comChaves, arv);
            lidas.push_back(TagLida{nome, cab.expressao, cab.tamChave, cab.expressaoFor, arv.quantas});
            if (comChaves) {
                TagCdx t;
                t.tag = nome;
                t.expressao = cab.expressao;
                t.tamanhoChave = cab.tamChave;
                t.chaves = std::move(arv.chaves);
                t.registros = std::move(arv.registros);
                tags.push_back(std::move(t));
            }
        }
        return tags;
    }

private:
    struct Cabecalho {
        std::uint32_t raiz = 0;
        int tamChave = 0;
        unsigned opcoes = 0;
        std::string expressao, expressaoFor;
    };
    struct Arvore {
        std::string chaves;
        std::vector<std::uint32_t> registros;
        std::uint32_t quantas = 0;
    };

    [[noreturn]] void Danificado(const std::string& motivo) const {
        throw ErroTabela("O índice "_ansi + Aspas(caminho_) + " está danificado ("_ansi + motivo + ").");
    }

    // Reads `paginas` pages at `desloc`, which must be aligned, inside the file
    // and not reached before (so a loop of pointers cannot trap the walk).
    void LePaginas(std::uint32_t desloc, std::uint32_t paginas, unsigned char* destino) {
        if (desloc == kNenhum) Danificado("ponteiro ausente");
        if (desloc % kPagina != 0) Danificado("ponteiro fora do limite de página"_ansi);
        const std::uint64_t fim = std::uint64_t(desloc) + std::uint64_t(paginas) * kPagina;
        if (fim > tamanho_) Danificado("ponteiro além do fim do arquivo"_ansi);
        for (std::uint32_t i = 0; i < paginas; ++i) {
            auto idx = std::size_t(desloc / kPagina + i);
            if (usadas_[idx]) Danificado("página alcançada duas vezes"_ansi);
            usadas_[idx] = true;
        }
        const std::size_t total = std::size_t(paginas) * kPagina;
        if (desloc < inicioJanela_ || fim > inicioJanela_ + janela_.size()) leJanela(desloc, total);
        std::memcpy(destino, janela_.data() + (desloc - inicioJanela_), total);
    }

    // The walk goes through the file mostly forward: it is read a stretch at
    // a time rather than a page at a time.
    void leJanela(std::uint32_t desloc, std::size_t minimo) {
        const std::size_t quer = std::size_t(std::min<std::uint64_t>(std::max(minimo, kJanela), tamanho_ - desloc));
        janela_.resize(quer);
        inicioJanela_ = desloc;
        std::size_t lido = 0;
        while (lido < quer) {
            const ssize_t n = ::pread(fd_, janela_.data() + lido, quer - lido, off_t(desloc) + off_t(lido));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0)
                throw ErroTabela("Não foi possível ler o índice "_ansi + Aspas(caminho_) + ": " +
                                 TextoDoErro(errno) + ".");
            if (n == 0) break;
            lido += std::size_t(n);
        }
        if (lido < minimo) Danificado("arquivo truncado");
        janela_.resize(lido);
    }

    std::string Expressao(const unsigned char* cab, unsigned posCampo) const {
        const std::uint32_t pos = Le16(cab + posCampo), len = Le16(cab + posCampo + 2);
        if (len == 0 || pos + len > kPagina) Danificado("expressão fora do espaço reservado"_ansi);
        const unsigned char* p = cab + kPagina + pos;
        const void* nul = std::memchr(p, 0, len);
        if (!nul) Danificado("expressão sem terminador"_ansi);
        return std::string(reinterpret_cast<const char*>(p), std::size_t(static_cast<const unsigned char*>(nul) - p));
    }

    Cabecalho LeCabecalho(std::uint32_t desloc) {
        unsigned char b[kCabecalho];
        LePaginas(desloc, 2, b);
        Cabecalho c;
        c.raiz = Le32(b);
        c.tamChave = int(Le16(b + 12));
        c.opcoes = b[14];
        if (c.tamChave < 1 || c.tamChave > kChaveMaxima) Danificado("tamanho de chave " + std::to_string(c.tamChave));
        if ((c.opcoes & 0x20) == 0) Danificado("tag não compacta"_ansi);
        const std::uint32_t livres = Le32(b + 4);
        if (livres != kNenhum && (livres % kPagina != 0 || std::uint64_t(livres) + kPagina > tamanho_))
            Danificado("lista de páginas livres inválida"_ansi);
        c.expressaoFor = Expressao(b, 504);
        c.expressao = Expressao(b, 508);
        return c;
    }

    // Walks the tree level by level from the root, so every node is read once
    // and checked: its attribute, its sibling links against its neighbours on
    // the level, its entries against the page size.
    void LeArvore(std::uint32_t raiz, int tam, bool comChaves, Arvore& saida) {
        std::vector<std::uint32_t> nivel{raiz};
        unsigned char p[kPagina];
        for (bool topo = true;; topo = false) {
            std::vector<std::uint32_t> abaixo;
            bool folhas = false;
            for (std::size_t i = 0; i < nivel.size(); ++i) {
                LePaginas(nivel[i], 1, p);
                const std::uint32_t atrib = Le16(p), n = Le16(p + 2);
                if (atrib > 3) Danificado("atributo de nó desconhecido"_ansi);
                if (((atrib & kAtribRaiz) != 0) != topo) Danificado("raiz fora do topo da árvore"_ansi);
                const bool folha = (atrib & kAtribFolha) != 0;
                if (i == 0) folhas = folha;
                else if (folha != folhas) Danificado("folhas e nós internos no mesmo nível"_ansi);
                const std::uint32_t esq = i == 0 ? kNenhum : nivel[i - 1];
                const std::uint32_t dir = i + 1 == nivel.size() ? kNenhum : nivel[i + 1];
                if (Le32(p + 4) != esq || Le32(p + 8) != dir) Danificado("ligações entre nós irmãos incoerentes"_ansi);
                if (n == 0 && !(topo && folha)) Danificado("nó sem chaves"_ansi);
                if (folha) {
                    DecodificaFolha(p, tam, comChaves, saida);
                } else {
                    const std::size_t tamEntrada = std::size_t(tam) + 8;
                    if (kInicioInterior + n * tamEntrada > kPagina) Danificado("nó interno cheio demais"_ansi);
                    for (std::uint32_t k = 0; k < n; ++k)
                        abaixo.push_back(Le32Be(p + kInicioInterior + k * tamEntrada + std::size_t(tam) + 4));
                }
            }
            if (folhas) return;
            nivel = std::move(abaixo);
        }
    }

    void DecodificaFolha(const unsigned char* p, int tam, bool comChaves, Arvore& saida) {
        const std::uint32_t n = Le16(p + 2), livres = Le16(p + 12);
        const unsigned bitsReg = p[20], bitsDup = p[21], bitsFim = p[22], bytes = p[23];
        if (bytes < 1 || bytes > 8 || bitsReg + bitsDup + bitsFim != 8 * bytes || bitsDup > 8 || bitsFim > 8)
            Danificado("larguras de campo incoerentes numa folha");
        if (Le32(p + 14) != MascaraGravada(bitsReg) || p[18] != Mascara(bitsDup) || p[19] != Mascara(bitsFim))
            Danificado("máscaras incoerentes numa folha"_ansi);
        const std::size_t fimEntradas = kInicioFolha + std::size_t(n) * bytes;
        if (fimEntradas > kPagina) Danificado("entradas além do fim da página"_ansi);

        std::size_t topo = kPagina;
        std::string chave(std::size_t(tam), ' ');
        for (std::uint32_t i = 0; i < n; ++i) {
            std::uint64_t v = 0;
            for (unsigned b = 0; b < bytes; ++b) v |= std::uint64_t(p[kInicioFolha + i * bytes + b]) << (8 * b);
            const std::uint64_t reg = v & Mascara(bitsReg);
            const unsigned dup = unsigned((v >> bitsReg) & Mascara(bitsDup));
            const unsigned brancos = unsigned((v >> (bitsReg + bitsDup)) & Mascara(bitsFim));
            if (reg > 0xFFFFFFFFull) Danificado("número de registro grande demais"_ansi);
            if (i == 0 && dup != 0) Danificado("primeira chave da folha comprimida");
            if (dup + brancos > unsigned(tam)) Danificado("contagens maiores que a chave");
            const std::size_t g = std::size_t(tam) - dup - brancos;
            if (topo < fimEntradas + g) Danificado("chaves sobrepostas às entradas"_ansi);
            topo -= g;
            if (comChaves) {
                std::memcpy(chave.data() + dup, p + topo, g);
                std::memset(chave.data() + dup + g, ' ', brancos);
                saida.chaves += chave;
                saida.registros.push_back(std::uint32_t(reg));
            }
            ++saida.quantas;
        }
        if (livres != topo - fimEntradas) Danificado("contagem de bytes livres errada numa folha");
    }

    std::string caminho_;
    int fd_ = -1;
    std::uint64_t tamanho_ = 0;
    std::vector<bool> usadas_;
    static constexpr std::size_t kJanela = 256 * 1024;
    std::string janela_;
    std::uint64_t inicioJanela_ = 0;
};

}  // namespace

void EscreveCdx(const std::string& caminho, const std::vector<TagCdx>& tags) {
    // Tags in name order, as the directory must hold them.
    std::vector<std::string> nomes;
    std::vector<std::size_t> ordem(tags.size());
    for (std::size_t i = 0; i < tags.size(); ++i) {
        nomes.push_back(EmMaiusculas(tags[i].tag));
        ValidaTag(caminho, tags[i], nomes.back());
        ordem[i] = i;
    }
    std::sort(ordem.begin(), ordem.end(), [&](std::size_t a, std::size_t b) { return nomes[a] < nomes[b]; });
    for (std::size_t i = 1; i < ordem.size(); ++i)
        if (nomes[ordem[i]] == nomes[ordem[i - 1]]) Recusa(caminho, "tag " + nomes[ordem[i]] + " repetida");

    std::vector<Chaves> chaves(tags.size());
    std::vector<std::vector<Folha>> folhas(tags.size());
    std::vector<std::uint64_t> paginas(tags.size());
    for (std::size_t j = 0; j < ordem.size(); ++j) {
        const TagCdx& t = tags[ordem[j]];
        Chaves& c = chaves[j];
        c.bytes = t.chaves.data();
        c.registros = t.registros.data();
        c.n = t.registros.size();
        c.tam = t.tamanhoChave;
        c.Prepara();
        folhas[j] = PlanejaFolhas(c);
        paginas[j] = PaginasDaArvore(folhas[j].size(), c.tam);
    }

    // The directory's keys point at the tag headers, whose offsets depend on
    // how many pages the directory itself takes: grow its room until it fits.
    std::string nomesDir(tags.size() * kNomeTag, ' ');
    for (std::size_t j = 0; j < ordem.size(); ++j) nomesDir.replace(j * kNomeTag, nomes[ordem[j]].size(), nomes[ordem[j]]);
    std::vector<std::uint32_t> cabecalhos(tags.size());
    Chaves dir;
    std::vector<Folha> folhasDir;
    std::uint64_t paginasDir = 1, total = 0;
    for (;;) {
        std::uint64_t pos = kCabecalho + paginasDir * kPagina;
        for (std::size_t j = 0; j < ordem.size(); ++j) {
            if (pos > 0xFFFFFFFFull) Recusa(caminho, "índice grande demais"_ansi);
            cabecalhos[j] = std::uint32_t(pos);
            pos += kCabecalho + paginas[j] * kPagina;
        }
        total = pos;
        dir = Chaves{};
        dir.bytes = nomesDir.data();
        dir.registros = cabecalhos.data();
        dir.n = cabecalhos.size();
        dir.tam = kNomeTag;
        dir.Prepara();
        folhasDir = PlanejaFolhas(dir);
        const std::uint64_t precisa = PaginasDaArvore(folhasDir.size(), kNomeTag);
        if (precisa <= paginasDir) break;
        paginasDir = precisa;
    }
    if (total > 0xFFFFFFFFull - kPagina) Recusa(caminho, "índice grande demais"_ansi);

    std::string arquivo(std::size_t(total), '\0');
    const std::uint32_t raizDir = EscreveArvore(arquivo, kCabecalho, dir, folhasDir);
    EscreveCabecalho(arquivo.data(), raizDir, kNomeTag, kOpcoesDiretorio, std::string());
    for (std::size_t j = 0; j < ordem.size(); ++j) {
        const TagCdx& t = tags[ordem[j]];
        const std::uint32_t raiz = EscreveArvore(arquivo, cabecalhos[j] + kCabecalho, chaves[j], folhas[j]);
        EscreveCabecalho(arquivo.data() + cabecalhos[j], raiz, t.tamanhoChave, kOpcoesTag, t.expressao);
    }
    GravaSubstituindo(caminho, arquivo);
}

std::vector<TagLida> LeTagsDoCdx(const std::string& caminho) {
    std::vector<TagLida> lidas;
    LeitorCdx(caminho).Le(false, lidas);
    return lidas;
}

std::vector<TagCdx> LeCdx(const std::string& caminho) {
    std::vector<TagLida> lidas;
    return LeitorCdx(caminho).Le(true, lidas);
}
