// Waits for what another workstation holds: told after a few seconds, given
// up by a run without a screen at its limit, cancelled from a screen, and
// never abandoned once the caller has written.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "core/espera_limitada.h"
#include "core/obr_edita.h"
#include "core/tabela_auxiliar.h"
#include "core/texto/ansi.h"
#include "support/geral_teste.h"
#include "tabela/nome_arquivo.h"
#include "tabela/tabela.h"
#include "tabela/trava.h"

namespace {

class EsperaMaxima {
public:
    explicit EsperaMaxima(const char* valor) { ::setenv("CONVERSOR_ESPERA_MAX", valor, 1); }
    ~EsperaMaxima() { ::unsetenv("CONVERSOR_ESPERA_MAX"); }
};

// A table of one record, opened twice: `outra` plays the other workstation.
struct DuasEstacoes {
    DuasEstacoes() {
        CriaTabela("CONVEINS.DBF", ListaDeCampos("VERSAO,CHARACTER,4,0;"));
        for (Tabela* tb : {&outra, &esta}) {
            tb->SetTableName("CONVEINS");
            tb->Open();
        }
        outra.Append();
        outra.FieldByName("VERSAO").SetAsString("2.20");
        outra.Post();
        esta.First();
    }
    Tabela outra, esta;
};

bool contem(const std::string& texto, const std::string& parte) {
    return texto.find(parte) != std::string::npos;
}

}  // namespace

TEST(EsperaLimitada, SemTelaAvisaUmaVezEDesisteNoLimite) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    EsperaMaxima maxima("5");
    DuasEstacoes e;
    e.outra.Edit();
    const std::string antes = LE_ARQUIVO("CONVEINS.DBF");
    try {
        OBR_EDITA(e.esta);
        FAIL() << "the wait should have been given up";
    } catch (const ErroEsperaAbandonada& erro) {
        EXPECT_TRUE(contem(erro.what(), "O REGISTRO 1 DA TABELA")) << erro.what();
        EXPECT_TRUE(contem(erro.what(), "CONVEINS.DBF")) << erro.what();
        EXPECT_TRUE(contem(erro.what(), "HÁ 5 SEGUNDOS"_ansi)) << erro.what();
        EXPECT_TRUE(contem(erro.what(), "CONVERSOR_ESPERA_MAX")) << erro.what();
    }
    EXPECT_EQ(t.esperas.size(), 25u);  // 5 s of 200 ms pauses
    ASSERT_EQ(t.dialogo().esperas.size(), 1u);
    EXPECT_TRUE(contem(t.dialogo().esperas[0], "O REGISTRO 1 DA TABELA"));
    EXPECT_TRUE(contem(t.dialogo().esperas[0], "AGUARDANDO ATÉ 5 SEGUNDOS"_ansi));
    EXPECT_EQ(t.dialogo().esperasEncerradas, 1);
    EXPECT_EQ(e.esta.State(), EstadoTabela::Navegando);
    EXPECT_EQ(LE_ARQUIVO("CONVEINS.DBF"), antes);
    // The other workstation's edit is untouched and still its own.
    e.outra.FieldByName("VERSAO").SetAsString("2.30");
    e.outra.Post();
    e.esta.First();
    EXPECT_EQ(e.esta.FieldByName("VERSAO").AsString(), "2.30");

    // A held record for a moment is normal: no notice before 3 s, and a
    // limit of 0 gives up at the first wait. A value that is no whole
    // number of seconds keeps the default.
    e.outra.Edit();
    t.esperas.clear();
    t.dialogo().esperas.clear();
    {
        EsperaMaxima zero("0");
        EXPECT_THROW(OBR_EDITA(e.esta), ErroEsperaAbandonada);
        EXPECT_TRUE(t.esperas.empty());
        EXPECT_TRUE(t.dialogo().esperas.empty());
    }
    for (const char* ruim : {"", "10s", "-1", "abc"}) {
        EsperaMaxima m(ruim);
        EXPECT_EQ(EsperaMaximaEmSegundos(), 600) << ruim;
    }
}

TEST(EsperaLimitada, NaTelaSemLimiteAteOCancela) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    EsperaMaxima maxima("1");  // a person decides; the limit is for nobody there
    t.dialogo().comTela = true;
    t.dialogo().cancelaEsperaNaPergunta = 20;
    DuasEstacoes e;
    e.outra.Edit();
    try {
        OBR_EDITA(e.esta);
        FAIL() << "Cancel should end the wait";
    } catch (const ErroEsperaAbandonada& erro) {
        EXPECT_TRUE(contem(erro.what(), "A ESPERA FOI CANCELADA")) << erro.what();
    }
    ASSERT_EQ(t.dialogo().esperas.size(), 1u);
    EXPECT_TRUE(contem(t.dialogo().esperas[0], "CANCELA ENCERRA A EXECUÇÃO"_ansi));
    // Asked from the notice on (3 s), once a pause, with the seconds waited.
    ASSERT_EQ(t.dialogo().segundosDeEspera.size(), 20u);
    EXPECT_EQ(t.dialogo().segundosDeEspera.front(), 3);
    EXPECT_EQ(t.dialogo().segundosDeEspera.back(), 6);
    EXPECT_EQ(t.dialogo().esperasEncerradas, 1);
}

// The append lock: an append not yet written gives up; a record already
// written waits for its header however long it takes.
TEST(EsperaLimitada, CabecalhoDaTabela) {
    DiretorioDeTrabalho dir;
    GeralDeTeste t;
    InstalaEsperaLimitada();
    EsperaMaxima maxima("2");
    DuasEstacoes e;
    const int fd = ::open("CONVEINS.DBF", O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(TentaTrava(fd, kTravaCabecalho, 1, TipoTrava::Escrita));
    const std::string antes = LE_ARQUIVO("CONVEINS.DBF");

    e.esta.Append();
    e.esta.FieldByName("VERSAO").SetAsString("9.99");
    try {
        e.esta.Post();
        FAIL() << "the append should have been given up";
    } catch (const ErroEsperaAbandonada& erro) {
        EXPECT_TRUE(contem(erro.what(), "O CABEÇALHO DA TABELA"_ansi)) << erro.what();
    }
    e.esta.Cancel();
    EXPECT_EQ(LE_ARQUIVO("CONVEINS.DBF"), antes);
    EXPECT_EQ(e.esta.RecordCount(), 1);

    // An edit reaches the disk, then raises the change counter under the
    // header lock: that wait outlasts the limit and ends when it is free.
    t.esperas.clear();
    t.geral().DefineEspera([&](int ms) {
        t.esperas.push_back(ms);
        if (t.esperas.size() == 40) SoltaTrava(fd, kTravaCabecalho, 1);
    });
    e.esta.First();
    e.esta.Edit();
    e.esta.FieldByName("VERSAO").SetAsString("3.00");
    EXPECT_NO_THROW(e.esta.Post());
    EXPECT_EQ(t.esperas.size(), 40u);
    e.outra.First();
    EXPECT_EQ(e.outra.FieldByName("VERSAO").AsString(), "3.00");
    DefineEsperaDeTrava({});
    ::close(fd);
}
