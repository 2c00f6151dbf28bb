// The lock bytes a table holds, as another workstation sees them: a process
// that edits or appends is stopped half way, and a second process asks the
// kernel (F_OFD_GETLK on a descriptor of its own) which bytes are held. The
// offsets are the FoxPro ones, written out here rather than taken from the
// engine, so that a lock moved in the engine cannot move the expectation
// with it: other xBase programs on the same share rely on exactly these.
//
// This binary replaces the C library's pwrite, so that an append can be
// held at the moment its record goes to disk, which is inside Post.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "support/diretorio_temporario.h"
#include "support/processo_filho.h"
#include "tabela/tabela.h"

namespace {

// Called before every pwrite of the process, with its size and offset.
std::function<void(std::size_t, off_t)> antesDeGravar;

}  // namespace

extern "C" ssize_t pwrite(int fd, const void* dados, size_t n, off_t pos) {
    if (antesDeGravar) antesDeGravar(n, pos);
    return static_cast<ssize_t>(::syscall(SYS_pwrite64, fd, dados, n, pos));
}

extern "C" ssize_t pwrite64(int fd, const void* dados, size_t n, off_t pos) {
    return pwrite(fd, dados, n, pos);
}

namespace {

constexpr std::uint64_t kAbertura = 0x7FFFFFFF;
constexpr std::uint64_t kCabecalho = 0x7FFFFFFE;
std::uint64_t byteDoRegistro(std::uint32_t n) { return kCabecalho - n; }

constexpr std::uint32_t kRegistros = 5;
constexpr std::size_t kCabecalhoDbf = 32 + 2 * 32 + 1;
constexpr std::size_t kTamanhoRegistro = 1 + 10 + 6;

void abre(Tabela& t, const DiretorioTemporario& d) {
    t.SetDatabaseName(d.Caminho());
    t.SetTableName("CONVEPEN");
    t.Open();
}

struct Trava {
    short tipo;  // F_UNLCK when no other descriptor holds any byte of the range
    std::uint64_t inicio;
    std::uint64_t tamanho;
};

// What another descriptor holds in [inicio, inicio + tamanho): the first
// lock that would keep this one from writing there.
Trava sonda(int fd, std::uint64_t inicio, std::uint64_t tamanho = 1) {
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(inicio);
    fl.l_len = static_cast<off_t>(tamanho);
    fl.l_pid = 0;
    if (::fcntl(fd, F_OFD_GETLK, &fl) != 0) {
        ADD_FAILURE() << "F_OFD_GETLK: " << std::strerror(errno);
        return {F_UNLCK, 0, 0};
    }
    return {fl.l_type, static_cast<std::uint64_t>(fl.l_start), static_cast<std::uint64_t>(fl.l_len)};
}

void livre(int fd, std::uint64_t inicio, std::uint64_t tamanho, const char* oque) {
    const Trava t = sonda(fd, inicio, tamanho);
    EXPECT_EQ(t.tipo, F_UNLCK) << oque << ": held from 0x" << std::hex << t.inicio << " for " << std::dec
                               << t.tamanho;
}

void presa(int fd, std::uint64_t byte, short tipo, const char* oque) {
    const Trava t = sonda(fd, byte);
    EXPECT_EQ(t.tipo, tipo) << oque;
    EXPECT_EQ(t.inicio, byte) << oque;
    EXPECT_EQ(t.tamanho, 1u) << oque;
}

}  // namespace

// Shared opener, editing records 1, 3 and 5 in turn: while each edit is
// open, its record's byte alone is held for writing (not its neighbours', not
// the header's), and the open byte for reading; after Post nothing but the
// open byte. Then an append, held while its record is written: the header
// byte is held and no record byte at all.
TEST(TravasVistasDeFora, EdicaoTravaSeuRegistroEInclusaoOCabecalho) {
    DiretorioTemporario d;
    CriaTabela(d / "CONVEPEN.DBF", ListaDeCampos("CODCLI,CHARACTER,10,0;N,NUMERIC,6,0;"));
    {
        Tabela t;
        abre(t, d);
        for (std::uint32_t n = 1; n <= kRegistros; ++n) {
            t.Append();
            t.FieldByName("N").SetAsInteger(n);
            t.Post();
        }
    }
    const std::uint32_t editados[] = {1, 3, kRegistros};
    ProcessoFilho filho([&](const CanalProcesso& c) {
        Tabela t;
        abre(t, d);
        for (std::uint32_t n : editados) {
            if (!t.Locate("N", {static_cast<int>(n)}) || t.RecNo() != n) return 2;
            t.Edit();
            t.FieldByName("CODCLI").SetAsString("EDITADO");
            c.Envia('E');
            c.Recebe();
            t.Post();
            c.Envia('P');
            c.Recebe();
        }
        // The record of an append goes to disk as one write of the record
        // and the end mark, at its place after the last one.
        const off_t lugar = static_cast<off_t>(kCabecalhoDbf + kRegistros * kTamanhoRegistro);
        bool parou = false;
        antesDeGravar = [&](std::size_t n, off_t pos) {
            if (parou || n != kTamanhoRegistro + 1 || pos != lugar) return;
            parou = true;
            c.Envia('I');
            c.Recebe();
        };
        t.Append();
        t.FieldByName("N").SetAsInteger(kRegistros + 1);
        t.Post();
        antesDeGravar = nullptr;
        c.Envia('F');
        return parou && t.RecNo() == kRegistros + 1 ? 0 : 3;
    });

    const int fd = ::open((d / "CONVEPEN.DBF").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    const CanalProcesso& c = filho.Canal();
    for (std::uint32_t n : editados) {
        ASSERT_EQ(c.Recebe(), 'E') << "record " << n;
        SCOPED_TRACE("editing record " + std::to_string(n));
        presa(fd, byteDoRegistro(n), F_WRLCK, "the record edited");
        if (n > 1) livre(fd, byteDoRegistro(n - 1), 1, "the record before");
        livre(fd, byteDoRegistro(n + 1), 1, "the record after");
        // Every other record byte, and the header, free.
        livre(fd, byteDoRegistro(n) + 1, kCabecalho - byteDoRegistro(n), "records before and the header");
        livre(fd, byteDoRegistro(kRegistros + 1), byteDoRegistro(n) - byteDoRegistro(kRegistros + 1),
              "records after");
        presa(fd, kAbertura, F_RDLCK, "the shared open");
        c.Envia('c');
        ASSERT_EQ(c.Recebe(), 'P');
        livre(fd, byteDoRegistro(kRegistros + 1), kRegistros + 2, "records and header after Post");
        c.Envia('c');
    }
    ASSERT_EQ(c.Recebe(), 'I');
    {
        SCOPED_TRACE("appending record 6");
        presa(fd, kCabecalho, F_WRLCK, "the header during the append");
        livre(fd, byteDoRegistro(kRegistros), 1, "the last record");
        livre(fd, byteDoRegistro(kRegistros + 1), 1, "the record being appended");
        livre(fd, byteDoRegistro(kRegistros + 2), kRegistros + 2, "every record byte");
        presa(fd, kAbertura, F_RDLCK, "the shared open");
    }
    c.Envia('c');
    ASSERT_EQ(c.Recebe(), 'F');
    livre(fd, byteDoRegistro(kRegistros + 2), kRegistros + 3, "records and header after the append");
    EXPECT_EQ(filho.Espera(), 0);
    ::close(fd);
}

// Edits of records 2, 3 and 5 of 6 in one block: while the block is being
// edited, records 2 and 3 are held by one lock over both their bytes and
// record 5 by its own; records 1, 4 and 6 and the header stay free. After
// the block nothing but the open byte.
TEST(TravasVistasDeFora, EdicaoEmBlocoTravaSoOsRegistrosEditados) {
    DiretorioTemporario d;
    CriaTabela(d / "CONVEPEN.DBF", ListaDeCampos("CODCLI,CHARACTER,10,0;N,NUMERIC,6,0;"));
    Tabela t;
    t.SetDatabaseName(d.Caminho());
    t.SetTableName("CONVEPEN");
    t.AddIndexDef("N", "STR( N, 6 )");
    t.SetIndexName("N");
    t.Open();
    for (int n = 1; n <= 6; ++n) {
        t.Append();
        t.FieldByName("N").SetAsInteger(n);
        t.Post();
    }
    const int fd = ::open((d / "CONVEPEN.DBF").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    const int editados[] = {5, 2, 3};
    int vezes = 0;
    const auto r = t.EditaLocalizados(
        "N", 3, [&](std::size_t i, std::vector<ValorBusca>& v) { v.emplace_back(editados[i]); },
        [&](std::size_t) {
            ++vezes;
            t.FieldByName("CODCLI").SetAsString("EDITADO");
            const Trava dois = sonda(fd, byteDoRegistro(2));
            EXPECT_EQ(dois.tipo, F_WRLCK);
            EXPECT_EQ(dois.inicio, byteDoRegistro(3));
            EXPECT_EQ(dois.tamanho, 2u);
            presa(fd, byteDoRegistro(5), F_WRLCK, "record 5");
            for (std::uint32_t livreN : {1u, 4u, 6u}) livre(fd, byteDoRegistro(livreN), 1, "a record not edited");
            livre(fd, kCabecalho, 1, "the header");
        });
    EXPECT_EQ(vezes, 3);
    for (const auto l : r) EXPECT_EQ(l, Tabela::Localizado::Editado);
    livre(fd, byteDoRegistro(7), 8, "records and header after the block");
    presa(fd, kAbertura, F_RDLCK, "the shared open");
    ::close(fd);
}
