// Compound index files: what the engine writes must be read back, key for
// key, by a reader that knows only the file format; and a damaged file must
// be refused with an engine error, never crash the process.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "support/cdx_leitor_teste.h"
#include "tabela/cdx.h"
#include "tabela/erro_tabela.h"

namespace fs = std::filesystem;

namespace {

class DiretorioTemporario {
public:
    DiretorioTemporario() {
        std::string modelo = (fs::temp_directory_path() / "cdx_teste_XXXXXX").string();
        if (!::mkdtemp(modelo.data())) throw std::runtime_error("mkdtemp");
        caminho_ = modelo;
    }
    ~DiretorioTemporario() {
        std::error_code ec;
        fs::permissions(caminho_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(caminho_, ec);
    }
    std::string operator/(const std::string& nome) const { return (caminho_ / nome).string(); }
    std::vector<std::string> Arquivos() const {
        std::vector<std::string> nomes;
        for (const auto& e : fs::directory_iterator(caminho_)) nomes.push_back(e.path().filename().string());
        std::sort(nomes.begin(), nomes.end());
        return nomes;
    }

private:
    fs::path caminho_;
};

struct Entrada {
    std::string chave;
    std::uint32_t registro;
};

// A tag from keys given in any order and shorter than the key length: padded
// with blanks and sorted the way the engine hands them over.
TagCdx Tag(const std::string& nome, const std::string& expressao, int tam, std::vector<Entrada> entradas) {
    for (auto& e : entradas) e.chave.resize(std::size_t(tam), ' ');
    std::sort(entradas.begin(), entradas.end(), [](const Entrada& a, const Entrada& b) {
        return a.chave != b.chave ? a.chave < b.chave : a.registro < b.registro;
    });
    TagCdx t;
    t.tag = nome;
    t.expressao = expressao;
    t.tamanhoChave = tam;
    for (const auto& e : entradas) {
        t.chaves += e.chave;
        t.registros.push_back(e.registro);
    }
    return t;
}

std::string Bytes(const std::string& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}
void Grava(const std::string& caminho, const std::string& bytes) {
    std::ofstream(caminho, std::ios::binary | std::ios::trunc) << bytes;
}

// Writes the tags and reads them back three ways: the separate test reader
// (which also checks every structural rule), the engine's full reader and its
// tag-directory reader. Returns what the test reader saw.
CdxArquivoTeste IdaEVolta(const std::string& caminho, const std::vector<TagCdx>& tags) {
    EscreveCdx(caminho, tags);
    CdxArquivoTeste lido;
    try {
        lido = LeCdxParaTeste(caminho);
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
        return lido;
    }
    std::vector<TagCdx> esperado = tags;
    std::sort(esperado.begin(), esperado.end(), [](const TagCdx& a, const TagCdx& b) { return a.tag < b.tag; });

    EXPECT_EQ(lido.diretorio.cabecalho.opcoes, 0xE0);
    EXPECT_EQ(lido.diretorio.cabecalho.tamanhoChave, 10);
    EXPECT_EQ(lido.diretorio.cabecalho.expressao, "");
    EXPECT_EQ(lido.tamanhoArquivo % 512, 0u);
    EXPECT_EQ(lido.diretorio.cabecalho.raiz, 1024u) << "directory tree right after the file header";

    std::vector<TagCdx> doMotor = LeCdx(caminho);
    std::vector<TagLida> nomes = LeTagsDoCdx(caminho);
    EXPECT_EQ(lido.tags.size(), esperado.size());
    EXPECT_EQ(doMotor.size(), esperado.size());
    EXPECT_EQ(nomes.size(), esperado.size());
    for (std::size_t i = 0; i < std::min(lido.tags.size(), esperado.size()); ++i) {
        const TagCdx& e = esperado[i];
        const CdxTagTeste& t = lido.tags[i];
        EXPECT_EQ(t.tag, e.tag);
        EXPECT_EQ(t.arvore.cabecalho.expressao, e.expressao);
        EXPECT_EQ(t.arvore.cabecalho.expressaoFor, "");
        EXPECT_EQ(t.arvore.cabecalho.tamanhoChave, e.tamanhoChave);
        EXPECT_EQ(t.arvore.cabecalho.opcoes, 0x60);
        EXPECT_EQ(t.arvore.cabecalho.descendente, 0);
        EXPECT_EQ(lido.diretorio.entradas[i].registro, t.arvore.cabecalho.deslocamento);
        const std::size_t tam = std::size_t(e.tamanhoChave);
        EXPECT_EQ(t.arvore.entradas.size(), e.registros.size()) << e.tag;
        for (std::size_t k = 0; k < std::min(t.arvore.entradas.size(), e.registros.size()); ++k) {
            if (t.arvore.entradas[k].chave != e.chaves.substr(k * tam, tam) ||
                t.arvore.entradas[k].registro != e.registros[k]) {
                ADD_FAILURE() << e.tag << " entry " << k << ": read \"" << t.arvore.entradas[k].chave << "\"/"
                              << t.arvore.entradas[k].registro << ", wrote \"" << e.chaves.substr(k * tam, tam)
                              << "\"/" << e.registros[k];
                break;
            }
        }
        if (i < doMotor.size()) {
            EXPECT_EQ(doMotor[i].tag, e.tag);
            EXPECT_EQ(doMotor[i].expressao, e.expressao);
            EXPECT_EQ(doMotor[i].tamanhoChave, e.tamanhoChave);
            EXPECT_TRUE(doMotor[i].chaves == e.chaves && doMotor[i].registros == e.registros) << e.tag;
        }
        if (i < nomes.size()) {
            EXPECT_EQ(nomes[i].tag, e.tag);
            EXPECT_EQ(nomes[i].expressao, e.expressao);
            EXPECT_EQ(nomes[i].tamanhoChave, e.tamanhoChave);
            EXPECT_EQ(nomes[i].expressaoFor, "");
            EXPECT_EQ(nomes[i].numeroChaves, e.registros.size());
        }
    }
    return lido;
}

// Keys whose first byte differs, with no trailing blank: none compresses.
std::vector<Entrada> ChavesIncompressiveis(int quantas, int tam) {
    std::vector<Entrada> v;
    for (int i = 0; i < quantas; ++i) v.push_back({std::string(1, char(0x21 + i)) + std::string(std::size_t(tam - 1), 'x'), std::uint32_t(i + 1)});
    return v;
}

}  // namespace

TEST(CdxEscrita, TamanhosDeArvoreDoVazioAVariosNiveis) {
    DiretorioTemporario dir;

    // No key: one empty root leaf.
    auto vazio = IdaEVolta(dir / "V.CDX", {Tag("CONVECLI", "CODCLI", 15, {})});
    ASSERT_EQ(vazio.tags.size(), 1u);
    EXPECT_EQ(vazio.tags[0].arvore.niveis, 1);
    EXPECT_EQ(vazio.tags[0].arvore.folhas, 1);

    auto uma = IdaEVolta(dir / "U.CDX", {Tag("CONVECLI", "CODCLI", 15, {{"C1", 1}})});
    ASSERT_EQ(uma.tags.size(), 1u);
    EXPECT_EQ(uma.tags[0].arvore.niveis, 1);

    // 61 entries of 3 + 5 bytes fill the 488 bytes of a leaf to the last
    // byte; one more key needs a second leaf and a root above them.
    auto cheia = IdaEVolta(dir / "C.CDX", {Tag("T", "K", 5, ChavesIncompressiveis(61, 5))});
    ASSERT_EQ(cheia.tags.size(), 1u);
    EXPECT_EQ(cheia.tags[0].arvore.folhas, 1);
    auto transborda = IdaEVolta(dir / "D.CDX", {Tag("T", "K", 5, ChavesIncompressiveis(62, 5))});
    ASSERT_EQ(transborda.tags.size(), 1u);
    EXPECT_EQ(transborda.tags[0].arvore.folhas, 2);
    EXPECT_EQ(transborda.tags[0].arvore.niveis, 2);

    // 100,000 pending-remittance keys (client + operation number, both with
    // trailing blanks), record numbers out of key order: several levels.
    std::vector<Entrada> grandes;
    std::mt19937 rnd(7);
    std::vector<std::uint32_t> regs(100000);
    for (std::size_t i = 0; i < regs.size(); ++i) regs[i] = std::uint32_t(i + 1);
    std::shuffle(regs.begin(), regs.end(), rnd);
    for (std::size_t i = 0; i < regs.size(); ++i) {
        char cli[16], ped[16];
        std::snprintf(cli, sizeof cli, "CLI%04zu", i / 50);
        std::snprintf(ped, sizeof ped, "%zu", (i * 7919) % 100003);
        std::string chave = std::string(cli) + std::string(15 - std::string(cli).size(), ' ') + ped;
        grandes.push_back({chave, regs[i]});
    }
    auto muitas = IdaEVolta(dir / "CONVEPEN.CDX", {Tag("CONVEPEN", "CODCLI + NUMPED", 30, grandes)});
    ASSERT_EQ(muitas.tags.size(), 1u);
    EXPECT_GE(muitas.tags[0].arvore.niveis, 3);
}

TEST(CdxEscrita, CompressaoDePrefixosBrancosERegistrosGrandes) {
    DiretorioTemporario dir;

    // Longest keys sharing almost all their bytes, duplicates told apart only
    // by the record number: the count fields take 8 bits each here, so record
    // numbers above 255 already widen the entry.
    std::vector<Entrada> longas;
    const std::string prefixo(230, 'P');
    for (int i = 0; i < 3000; ++i) longas.push_back({prefixo + std::to_string(i % 700), std::uint32_t(5000 + i)});
    for (int i = 0; i < 40; ++i) longas.push_back({prefixo, std::uint32_t(100 + i)});

    // Blank keys (an empty client code), keys with blanks inside and keys
    // that are blanks but for their last byte.
    std::vector<Entrada> brancas;
    for (int i = 0; i < 500; ++i) brancas.push_back({"", std::uint32_t(i + 1)});
    for (int i = 0; i < 50; ++i) brancas.push_back({"A B  C" + std::to_string(i), std::uint32_t(1000 + i)});
    for (int i = 0; i < 50; ++i) brancas.push_back({std::string(14, ' ') + char('0' + i % 10), std::uint32_t(2000 + i)});

    // Record numbers on each side of the 16-, 24- and 32-bit limits, at two
    // key lengths (4 and 5 bits of counts).
    std::vector<Entrada> enormes;
    const std::uint32_t limites[] = {1, 0xFFFF, 0x10000, 0xFFFFFF, 0x1000000, 0x3FFFFFFF, 0x40000000, 0xFFFFFFFF};
    for (int i = 0; i < 600; ++i) enormes.push_back({"K" + std::to_string(i / 3), limites[i % 8]});
    std::vector<Entrada> enormes30 = enormes;

    IdaEVolta(dir / "LONGAS.CDX", {Tag("LONGAS", "CAMPO", 240, longas)});
    IdaEVolta(dir / "BRANCAS.CDX", {Tag("CONVECLI", "CODCLI", 15, brancas)});
    IdaEVolta(dir / "ENORMES.CDX",
              {Tag("E15", "CODCLI", 15, enormes), Tag("E30", "CODCLI + NUMPED", 30, enormes30)});
}

TEST(CdxEscrita, VariasTagsNumArquivoFicamEmOrdemDeNome) {
    DiretorioTemporario dir;
    const std::vector<TagCdx> tags = {
        Tag("CONVETAX", "DTOS( DATINITAX ) + PRODTAX + STR( DIASTAX, 3 )", 12,
            {{"20240101V 30", 3}, {"20240101V  7", 1}, {"20231201C120", 2}}),
        Tag("CONVECLI", "CODCLI", 15, {{"0042", 9}, {"0007", 4}}),
        Tag("INDAUX01", "CODCLI + NUMPED", 30, {}),
    };
    auto lido = IdaEVolta(dir / "VARIAS.CDX", tags);
    ASSERT_EQ(lido.tags.size(), 3u);
    EXPECT_EQ(lido.tags[0].tag, "CONVECLI");
    EXPECT_EQ(lido.tags[2].tag, "INDAUX01");
    EXPECT_TRUE(IdaEVolta(dir / "NENHUMA.CDX", {}).tags.empty());

    // So many tags that the directory needs more than one page (and a root
    // above its leaves); lower-case names are stored in upper case.
    std::vector<TagCdx> muitas;
    for (int i = 0; i < 150; ++i) {
        char nome[12];
        std::snprintf(nome, sizeof nome, "tag%03d", (i * 37) % 150);
        muitas.push_back(Tag(nome, "CODCLI", 15, {{"X" + std::to_string(i), std::uint32_t(i + 1)}}));
    }
    EscreveCdx(dir / "MUITAS.CDX", muitas);
    CdxArquivoTeste muitasLidas;
    ASSERT_NO_THROW(muitasLidas = LeCdxParaTeste(dir / "MUITAS.CDX"));
    ASSERT_EQ(muitasLidas.tags.size(), 150u);
    EXPECT_GE(muitasLidas.diretorio.niveis, 2);
    for (int i = 0; i < 150; ++i) {
        char nome[12];
        std::snprintf(nome, sizeof nome, "TAG%03d", i);
        EXPECT_EQ(muitasLidas.tags[std::size_t(i)].tag, nome);
        ASSERT_EQ(muitasLidas.tags[std::size_t(i)].arvore.entradas.size(), 1u);
    }
    EXPECT_EQ(LeTagsDoCdx(dir / "MUITAS.CDX").size(), 150u);
}

// The layout of a tiny index, worked out by hand from the format: file header
// of the tag directory, its single leaf, the tag header, the tag's single leaf.
TEST(CdxBytes, IndiceDeTresChavesBateComOLeiauteCalculadoAMao) {
    DiretorioTemporario dir;
    const std::string caminho = dir / "CONVECLI.CDX";
    EscreveCdx(caminho, {Tag("CONVECLI", "CODCLI", 15, {{"A1", 1}, {"A12", 2}, {"B", 70000}})});
    const std::string b = Bytes(caminho);
    ASSERT_EQ(b.size(), 1024u + 512u + 1024u + 512u);
    auto u8 = [&](std::size_t p) { return unsigned(static_cast<unsigned char>(b[p])); };
    auto le16 = [&](std::size_t p) { return u8(p) | (u8(p + 1) << 8); };
    auto le32 = [&](std::size_t p) { return le16(p) | (le16(p + 2) << 16); };

    // Directory header at 0.
    EXPECT_EQ(le32(0), 1024u);        // root: the directory leaf
    EXPECT_EQ(le32(4), 0xFFFFFFFFu);  // no free pages
    EXPECT_EQ(le16(12), 10u);         // key = tag name
    EXPECT_EQ(u8(14), 0xE0u);
    EXPECT_EQ(u8(15), 0x01u);
    EXPECT_EQ(le16(502), 0u);
    EXPECT_EQ(le16(508), 0u);  // empty key expression: just its NUL
    EXPECT_EQ(le16(510), 1u);
    EXPECT_EQ(le16(506), 1u);

    // Directory leaf at 1024: root and leaf, one key "CONVECLI  " pointing at
    // the tag header (1536). Key length 10 -> 4-bit counts, 3-byte entries,
    // 16-bit record numbers.
    const std::size_t d = 1024;
    EXPECT_EQ(le16(d + 0), 3u);
    EXPECT_EQ(le16(d + 2), 1u);
    EXPECT_EQ(le32(d + 4), 0xFFFFFFFFu);
    EXPECT_EQ(le32(d + 8), 0xFFFFFFFFu);
    EXPECT_EQ(le32(d + 14), 0xFFFFu);
    EXPECT_EQ(u8(d + 18), 0x0Fu);
    EXPECT_EQ(u8(d + 19), 0x0Fu);
    EXPECT_EQ(u8(d + 20), 16u);
    EXPECT_EQ(u8(d + 21), 4u);
    EXPECT_EQ(u8(d + 22), 4u);
    EXPECT_EQ(u8(d + 23), 3u);
    // 1536 | dup 0 << 16 | trailing 2 << 20 = 0x200600
    EXPECT_EQ(u8(d + 24), 0x00u);
    EXPECT_EQ(u8(d + 25), 0x06u);
    EXPECT_EQ(u8(d + 26), 0x20u);
    EXPECT_EQ(b.substr(d + 512 - 8, 8), "CONVECLI");
    EXPECT_EQ(le16(d + 12), 488u - 3u - 8u);

    // Tag header at 1536.
    const std::size_t t = 1536;
    EXPECT_EQ(le32(t + 0), 2560u);
    EXPECT_EQ(le32(t + 4), 0xFFFFFFFFu);
    EXPECT_EQ(le16(t + 12), 15u);
    EXPECT_EQ(u8(t + 14), 0x60u);
    EXPECT_EQ(u8(t + 15), 0x01u);
    EXPECT_EQ(le16(t + 502), 0u);
    EXPECT_EQ(le16(t + 504), 7u);  // FOR right after "CODCLI\0", empty
    EXPECT_EQ(le16(t + 506), 1u);
    EXPECT_EQ(le16(t + 508), 0u);
    EXPECT_EQ(le16(t + 510), 7u);
    EXPECT_EQ(b.substr(t + 512, 8), std::string("CODCLI\0\0", 8));

    // Tag leaf at 2560. Record 70000 does not fit 16 bits: 4-byte entries,
    // 24-bit record numbers, counts still 4 bits.
    const std::size_t f = 2560;
    EXPECT_EQ(le16(f + 0), 3u);
    EXPECT_EQ(le16(f + 2), 3u);
    EXPECT_EQ(le32(f + 14), 0xFFFFFFu);
    EXPECT_EQ(u8(f + 18), 0x0Fu);
    EXPECT_EQ(u8(f + 19), 0x0Fu);
    EXPECT_EQ(u8(f + 20), 24u);
    EXPECT_EQ(u8(f + 21), 4u);
    EXPECT_EQ(u8(f + 22), 4u);
    EXPECT_EQ(u8(f + 23), 4u);
    // "A1" + 13 blanks: record 1, dup 0, trailing 13  -> 0xD0000001
    // "A12" + 12 blanks: record 2, dup 2, trailing 12 -> 0xC2000002
    // "B" + 14 blanks: record 70000, dup 0, trailing 14 -> 0xE0011170
    EXPECT_EQ(le32(f + 24), 0xD0000001u);
    EXPECT_EQ(le32(f + 28), 0xC2000002u);
    EXPECT_EQ(le32(f + 32), 0xE0011170u);
    EXPECT_EQ(b.substr(f + 512 - 4, 4), "B2A1");  // stored bytes, growing down from the page end
    EXPECT_EQ(le16(f + 12), 488u - 12u - 4u);
    EXPECT_EQ(b.substr(f + 36, 512 - 36 - 4), std::string(512 - 36 - 4, '\0'));
}

TEST(CdxEscrita, SubstituiOArquivoInteiroOuNadaMuda) {
    DiretorioTemporario dir;
    const std::string caminho = dir / "CONVECLI.CDX";

    // Replacing keeps the permission bits the operator gave the file.
    EscreveCdx(caminho, {Tag("CONVECLI", "CODCLI", 15, {{"1", 1}})});
    ASSERT_EQ(::chmod(caminho.c_str(), 0640), 0);
    IdaEVolta(caminho, {Tag("CONVECLI", "CODCLI", 15, {{"1", 1}, {"2", 2}})});
    struct stat st {};
    ASSERT_EQ(::stat(caminho.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    const std::string bom = Bytes(caminho);

    // Tags that other tools would misread are refused before the disk is
    // touched: the old index stays as it was.
    auto recusa = [&](std::vector<TagCdx> tags) {
        EXPECT_THROW(EscreveCdx(caminho, tags), ErroTabela);
        EXPECT_EQ(Bytes(caminho), bom);
    };
    TagCdx foraDeOrdem = Tag("CONVECLI", "CODCLI", 15, {{"1", 1}, {"2", 2}});
    std::swap(foraDeOrdem.registros[0], foraDeOrdem.registros[1]);
    foraDeOrdem.chaves = std::string("2") + std::string(14, ' ') + "1" + std::string(14, ' ');
    recusa({foraDeOrdem});
    TagCdx repetida = Tag("CONVECLI", "CODCLI", 15, {{"1", 3}, {"1", 3}});
    recusa({repetida});
    recusa({Tag("CONVECLI", "CODCLI", 15, {{"1", 0}})});
    recusa({Tag("NOME_LONGO_DEMAIS", "CODCLI", 15, {})});
    recusa({Tag("COM ESPACO", "CODCLI", 15, {})});
    recusa({Tag("", "CODCLI", 15, {})});
    recusa({Tag("T", "", 15, {})});
    recusa({Tag("T", std::string(511, 'X'), 15, {})});
    recusa({Tag("T", "X", 0, {})});
    recusa({Tag("T", "X", 241, {})});
    recusa({Tag("ABC", "X", 5, {}), Tag("abc", "Y", 5, {})});
    TagCdx curta = Tag("T", "X", 5, {{"AAAAA", 1}});
    curta.chaves.pop_back();
    recusa({curta});
    EXPECT_EQ(dir.Arquivos(), std::vector<std::string>{"CONVECLI.CDX"});

    // I/O failures name the file and leave no temporary file behind: a
    // directory that does not exist, and a rename over a directory.
    try {
        EscreveCdx(dir / "NAO_EXISTE/X.CDX", {Tag("T", "X", 5, {})});
        ADD_FAILURE() << "no error";
    } catch (const ErroTabela& e) {
        EXPECT_NE(std::string(e.what()).find("NAO_EXISTE/X.CDX"), std::string::npos) << e.what();
    }
    fs::create_directory(dir / "OCUPADO.CDX");
    try {
        EscreveCdx(dir / "OCUPADO.CDX", {Tag("T", "X", 5, {{"A", 1}})});
        ADD_FAILURE() << "no error";
    } catch (const ErroTabela& e) {
        EXPECT_NE(std::string(e.what()).find("OCUPADO.CDX"), std::string::npos) << e.what();
    }
    EXPECT_EQ(dir.Arquivos(), (std::vector<std::string>{"CONVECLI.CDX", "OCUPADO.CDX"}));
}

TEST(CdxLeitura, ArquivoDanificadoEhRecusadoSemQuebrar) {
    DiretorioTemporario dir;
    const std::string caminho = dir / "BOM.CDX";
    std::vector<Entrada> entradas;
    for (int i = 0; i < 3000; ++i) entradas.push_back({"C" + std::to_string(i * 13), std::uint32_t(i + 1)});
    EscreveCdx(caminho, {Tag("CONVECLI", "CODCLI", 15, entradas), Tag("OUTRA", "NOME", 5, {{"Z", 1}})});
    const std::string bom = Bytes(caminho);
    ASSERT_EQ(LeTagsDoCdx(caminho).size(), 2u);
    const CdxArquivoTeste mapa = LeCdxParaTeste(caminho);
    const std::uint32_t tag = mapa.tags[0].arvore.cabecalho.deslocamento;
    const std::uint32_t raiz = mapa.tags[0].arvore.cabecalho.raiz;
    ASSERT_GE(mapa.tags[0].arvore.niveis, 2);

    const std::string alvo = dir / "RUIM.CDX";
    auto recusado = [&](const std::string& bytes, const char* caso) {
        Grava(alvo, bytes);
        try {
            LeTagsDoCdx(alvo);
            ADD_FAILURE() << caso << ": accepted";
        } catch (const ErroTabela& e) {
            EXPECT_NE(std::string(e.what()).find("RUIM.CDX"), std::string::npos) << caso;
        }
    };
    auto com32 = [&](std::size_t pos, std::uint32_t v) {
        std::string b = bom;
        for (int i = 0; i < 4; ++i) b[pos + std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
        return b;
    };
    auto com16 = [&](std::size_t pos, std::uint32_t v) {
        std::string b = bom;
        b[pos] = char(v & 0xFF);
        b[pos + 1] = char(v >> 8);
        return b;
    };

    recusado("", "empty file");
    recusado(bom.substr(0, 1000), "cut inside the header");
    recusado(bom.substr(0, bom.size() - 1), "cut by one byte");
    recusado(bom.substr(0, bom.size() - 512), "last page missing");
    recusado(std::string(bom.size(), '\0'), "zeros");
    std::mt19937 rnd(11);
    std::string lixo(8192, '\0');
    for (char& c : lixo) c = char(rnd());
    recusado(lixo, "random bytes");
    recusado(com32(0, 1025), "directory root off a page boundary");
    recusado(com32(0, std::uint32_t(bom.size())), "directory root past the end");
    recusado(com32(0, 0), "directory root pointing at the header");
    recusado(com32(tag, raiz + 1), "tag root off a page boundary");
    recusado(com32(tag, 0x7FFFFE00), "tag root far past the end");
    recusado(com16(tag + 12, 0), "key length 0");
    recusado(com16(tag + 12, 241), "key length 241");
    recusado(com16(tag + 510, 600), "key expression past the pool");
    recusado(com32(raiz + 8, raiz), "root pointing right at itself");
    recusado(com16(raiz + 2, 200), "interior node claiming too many keys");
    recusado(com32(raiz + 12 + 15 + 4, 0x04000000), "child pointer far past the end");  // big-endian
    recusado(com16(1024 + 12, 10), "directory free-bytes count wrong");

    // Whatever a damaged file holds, reading it either works or raises the
    // engine's error: a few thousand files with a few bytes changed (changed
    // in place and put back, so the loop costs no file creation).
    Grava(alvo, bom);
    std::fstream arq(alvo, std::ios::in | std::ios::out | std::ios::binary);
    auto poe = [&](std::size_t pos, char c) {
        arq.seekp(std::streamoff(pos));
        arq.put(c);
    };
    for (int i = 0; i < 3000; ++i) {
        std::vector<std::size_t> posicoes;
        const int mudancas = 1 + int(rnd() % 4);
        for (int k = 0; k < mudancas; ++k) {
            // Mostly headers and node headers, where pointers and widths live.
            std::size_t pos = rnd() % bom.size();
            if (i % 2 == 0) pos = (pos & ~std::size_t(511)) + rnd() % 32;
            posicoes.push_back(pos);
            poe(pos, char(rnd()));
        }
        arq.flush();
        try {
            LeTagsDoCdx(alvo);
            LeCdx(alvo);
        } catch (const ErroTabela&) {
        }
        for (std::size_t pos : posicoes) poe(pos, bom[pos]);
    }
    arq.close();
    EXPECT_EQ(Bytes(alvo), bom);

    try {
        LeTagsDoCdx(dir / "FALTA.CDX");
        ADD_FAILURE() << "missing file accepted";
    } catch (const ErroTabela& e) {
        EXPECT_NE(std::string(e.what()).find("FALTA.CDX"), std::string::npos);
    }
}

// Another xBase reader, where the machine has one: Debian's XBase Perl module
// ships index_dump, which walks a tag in key order or seeks through its
// interior nodes to a starting key.
TEST(CdxOutraFerramenta, IndexDumpLeAsMesmasChaves) {
    const char* programa = "/usr/bin/index_dump";
    if (::access(programa, X_OK) != 0) GTEST_SKIP() << "index_dump (libdbd-xbase-perl) not installed";
    DiretorioTemporario dir;
    std::vector<Entrada> pendentes, enormes;
    for (int i = 0; i < 6000; ++i) {
        char chave[40];
        std::snprintf(chave, sizeof chave, "CLI%03d         %d", i / 20, (i * 7919) % 10007);
        pendentes.push_back({chave, std::uint32_t((i * 7) % 6000 + 1)});
    }
    const std::uint32_t limites[] = {1, 0xFFFF, 0x10000, 0xFFFFFF, 0x1000000, 0xFFFFFFFF};
    for (int i = 0; i < 300; ++i) enormes.push_back({"K" + std::to_string(i / 3), limites[i % 6] - std::uint32_t(i % 2)});
    const std::vector<TagCdx> tags = {Tag("CONVEPEN", "CODCLI + NUMPED", 30, pendentes),
                                      Tag("ENORMES", "CODCLI", 15, enormes), Tag("VAZIA", "X", 12, {})};
    const std::string caminho = dir / "OUTRA.CDX";
    EscreveCdx(caminho, tags);

    // Its output: key without trailing blanks, a blank, the record number.
    auto despeja = [&](const std::string& argumentos) {
        std::vector<Entrada> lidas;
        FILE* p = ::popen((std::string(programa) + " --type=char " + argumentos + " 2>&1").c_str(), "r");
        char linha[512];
        while (p && std::fgets(linha, sizeof linha, p)) {
            std::string s(linha);
            if (!s.empty() && s.back() == '\n') s.pop_back();
            const auto esp = s.find_last_of(' ');
            if (esp == std::string::npos) return std::vector<Entrada>{{"unexpected output: " + s, 0}};
            lidas.push_back({s.substr(0, esp), std::uint32_t(std::stoul(s.substr(esp + 1)))});
        }
        if (p) ::pclose(p);
        return lidas;
    };
    for (const TagCdx& t : tags) {
        std::vector<Entrada> esperadas;
        const std::size_t tam = std::size_t(t.tamanhoChave);
        for (std::size_t i = 0; i < t.registros.size(); ++i) {
            std::string k = t.chaves.substr(i * tam, tam);
            while (!k.empty() && k.back() == ' ') k.pop_back();
            esperadas.push_back({k, t.registros[i]});
        }
        const auto lidas = despeja(caminho + " " + t.tag);
        ASSERT_EQ(lidas.size(), esperadas.size()) << t.tag << (lidas.empty() ? "" : ": " + lidas[0].chave);
        for (std::size_t i = 0; i < lidas.size(); ++i) {
            ASSERT_EQ(lidas[i].chave, esperadas[i].chave) << t.tag << " entry " << i;
            ASSERT_EQ(lidas[i].registro, esperadas[i].registro) << t.tag << " entry " << i;
        }
    }
    const auto desde = despeja("--start=CLI123 " + caminho + " CONVEPEN");
    ASSERT_FALSE(desde.empty());
    EXPECT_EQ(desde[0].chave.substr(0, 6), "CLI123");
    EXPECT_EQ(desde.size(), 6000u - 123u * 20u);
}
