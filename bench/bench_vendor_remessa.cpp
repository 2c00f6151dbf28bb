// Vendor remittance conversion figures: a Cofap client file of N operations
// (default 1,000,000) converted against a pending-remittance table that
// already holds N rows of the same client, half of them for planilhas the
// new file repeats (refreshed) and half for others (the rest are inserted).
//
// The bank's layout numbers operations in 5 digits and records in 6, so a
// file of more than 99,999 operations is refused at its end, with nothing
// written. The figures are therefore given for:
//   1. the whole run on the N-operation file (reading, checking, staging
//      every record, then the refusal);
//   2. the whole run on the largest file the layout holds (99,999
//      operations), written and registered, against the N-row table;
//   3. the two writing steps at N-operation scale, timed on their own: the
//      pending rows of N operations against the N-row table, and 2N staged
//      records written as the bank file.
// Each step runs in a process of its own; its peak memory is that process's
// maximum resident set.
//
// Baseline, in the same run: a process of its own reading the client file
// and writing the same bytes to another file, the least I/O the job needs.
// Up to 100,000 operations the baseline and step 1 are taken three times,
// alternating, and the medians published; each run of step 1 is checked
// afterwards, in a process of its own: the bank file's records and
// CONVEPEN byte for byte as one operation at a time leaves it.
//
//   bench_vendor_remessa [operacoes] [etapas]
//
// `etapas` picks the steps (default "123"); a run over several sizes takes
// "1" for each of them.

#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <iostream>
#include <sstream>
#include <string>

#include "conversion/rem_arquivo_banco.h"
#include "conversion/rem_leiautes.h"
#include "conversion/rem_pendente.h"
#include "conversion/rem_processa.h"
#include "core/arquivos/arquivo_duravel.h"
#include "core/arquivos/grava_externo.h"
#include "core/dados/instalacao.h"
#include "core/dados/tdmquor.h"
#include "core/diario_execucao.h"
#include "core/dialogo/dialogo_console.h"
#include "core/geral.h"
#include "etapa_vendor.h"
#include "medida.h"
#include "report/motor_relatorio.h"
#include "tabela/tabela.h"

namespace {

using vendor_bench::ambienteSilencioso;
using vendor_bench::copiaDeBytes;
using vendor_bench::etapa;
using vendor_bench::Resultado;
namespace fs = std::filesystem;
using Relogio = std::chrono::steady_clock;

double segundos(Relogio::time_point a) {
    return std::chrono::duration<double>(Relogio::now() - a).count();
}

void poe(std::string& l, int coluna, const std::string& texto) {
    l.replace(static_cast<std::size_t>(coluna - 1), texto.size(), texto);
}

std::string planilha(long i) {
    char b[32];
    std::snprintf(b, sizeof b, "%08ld", i);
    return b;
}

const char* const kCNPJS[] = {"11222333000181", "60701190000104", "33000167000101",
                              "45990181000189"};

std::string linhaCofap(long i) {
    std::string l(294, ' ');
    char principal[32];
    std::snprintf(principal, sizeof principal, "%ld,%02ld", 100 + i % 900000, i % 100);
    poe(l, 3, planilha(i));
    poe(l, 13, kCNPJS[i % 4]);
    poe(l, 27, "COMPRADOR " + std::to_string(i));
    poe(l, 62, "RUA DAS INDUSTRIAS " + std::to_string(i % 5000));
    poe(l, 97, "SAO PAULO");
    poe(l, 127, "SP");
    poe(l, 129, "01310-100");
    poe(l, 148, "20260301");
    poe(l, 156, "20260415");
    poe(l, 176, "01,500");
    poe(l, 182, principal);
    poe(l, 279, "1,75");
    return l;
}

void arquivoCofap(const std::string& caminho, long primeira, long quantas) {
    std::ofstream f(caminho, std::ios::binary);
    for (long i = primeira; i < primeira + quantas; ++i) f << linhaCofap(i) << "\r\n";
}


// The pending-remittance table as the preparation left it.
void restauraPendentes() {
    fs::copy_file("CONVEPEN.DBF.orig", "CONVEPEN.DBF", fs::copy_options::overwrite_existing);
    fs::copy_file("CONVEPEN.CDX.orig", "CONVEPEN.CDX", fs::copy_options::overwrite_existing);
}

double conversao(long operacoes) {
    const auto a = Relogio::now();
    VEN_CONVREMESSA("COFAP", true);
    const double s = segundos(a);
    std::printf("  conversão de %ld operações: %.2f s (%.0f operações/s)\n", operacoes, s, operacoes / s);
    const fs::path banco = "VCOFAP.TXT";
    std::printf("  arquivo do banco: %s\n",
                fs::exists(banco) ? (std::to_string(fs::file_size(banco)) + " bytes").c_str()
                                  : "não gravado");
    Tabela& pen = DMQUOR().TBCONVEPEN;
    pen.Open();
    std::printf("  CONVEPEN: %ld linhas\n", pen.RecordCount());
    pen.Close();
    return s;
}

[[noreturn]] void falha(const std::string& motivo) {
    std::printf("  ERRADO: %s\n", motivo.c_str());
    std::fflush(stdout);
    ::_exit(2);
}

// Two files hold the same bytes (but for the change counter, header bytes
// 24-27, when `semContador`), read a piece at a time.
bool mesmosBytes(const std::string& a, const std::string& b, bool semContador) {
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    std::string pa(1 << 20, '\0'), pb(1 << 20, '\0');
    for (bool primeiro = true; fa && fb; primeiro = false) {
        fa.read(pa.data(), static_cast<std::streamsize>(pa.size()));
        fb.read(pb.data(), static_cast<std::streamsize>(pb.size()));
        if (fa.gcount() != fb.gcount()) return false;
        const auto n = static_cast<std::size_t>(fa.gcount());
        if (primeiro && semContador && n > 28) {
            pa.replace(24, 4, 4, '\0');
            pb.replace(24, 4, 4, '\0');
        }
        if (pa.compare(0, n, pb, 0, n) != 0) return false;
    }
    return !fa.bad() && !fb.bad() && fa.eof() && fb.eof();
}

// The bank file of a run of n operations: header, client and operation
// records of each planilha in file order, trailer with the count; every
// line 250 characters and CR LF.
void confereArquivoDoBanco(long n) {
    std::ifstream f("VCOFAP.TXT", std::ios::binary);
    if (!f) falha("arquivo do banco não gravado");
    std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    const std::size_t linha = 252;
    if (bytes.size() != static_cast<std::size_t>(2 * n + 2) * linha)
        falha("arquivo do banco com " + std::to_string(bytes.size()) + " bytes");
    for (long r = 0; r < 2 * n + 2; ++r) {
        const std::string_view l(bytes.data() + r * linha, linha);
        const char* tipo = r == 0 ? "00" : r == 2 * n + 1 ? "09" : r % 2 ? "02" : "01";
        char sequencia[24];
        std::snprintf(sequencia, sizeof sequencia, "%06ld", r + 1);
        if (l.substr(0, 2) != tipo || l.substr(244, 6) != sequencia || l.substr(250) != "\r\n")
            falha("registro " + std::to_string(r + 1) + " do arquivo do banco: " + std::string(l.substr(0, 12)));
        if (r % 2 == 0 && r > 0 && r <= 2 * n && l.substr(167, 8) != planilha(r / 2 - 1))
            falha("registro " + std::to_string(r + 1) + " fora de ordem");
    }
    char operacoes[24];
    std::snprintf(operacoes, sizeof operacoes, "%05ld", n);
    if (bytes.substr((2 * n + 1) * linha + 10, 5) != operacoes) falha("contagem do trailer");
}

// CONVEPEN as one REM_PENDENTE per operation leaves it, from the same
// table, beside the one the run wrote: the same bytes but for the change
// counter (header bytes 24-27), the index file included.
void conferePendentes(long n) {
    fs::create_directories("um_a_um");
    fs::copy_file("CONVEPEN.DBF.orig", "um_a_um/CONVEPEN.DBF", fs::copy_options::overwrite_existing);
    fs::copy_file("CONVEPEN.CDX.orig", "um_a_um/CONVEPEN.CDX", fs::copy_options::overwrite_existing);
    {
        Tabela t;
        t.SetDatabaseName("um_a_um");
        t.SetTableName("CONVEPEN");
        t.AddIndexDef("CONVEPEN", "CODCLI + NUMPED");
        t.SetIndexName("CONVEPEN");
        t.Open();
        for (long i = 0; i < n; ++i)
            REM_PENDENTE(t, "COFAP", planilha(i) + "       ", kCNPJS[i % 4], GERAL().DATADIA);
    }
    if (!mesmosBytes("CONVEPEN.DBF", "um_a_um/CONVEPEN.DBF", true))
        falha("CONVEPEN.DBF difere do que uma operação por vez grava");
    if (!mesmosBytes("CONVEPEN.CDX", "um_a_um/CONVEPEN.CDX", false))
        falha("CONVEPEN.CDX difere do que uma operação por vez grava");
    fs::remove_all("um_a_um");
}

// What a run of n operations left: the bank file and the pending rows, or,
// past what the layout holds, neither file touched.
void confereExecucao(long n) {
    // The bank file is written unnamed while the run goes: whatever the
    // end, no temporary or journal of it stays behind.
    for (const auto& e : fs::directory_iterator("."))
        if (EhTemporarioDuravel(e.path().filename().string()) || EhDiarioDeExecucao(e.path().filename().string()))
            falha("sobrou " + e.path().filename().string());
    if (n > 99999) {
        if (fs::exists("VCOFAP.TXT")) falha("arquivo do banco gravado acima do limite");
        if (!mesmosBytes("CONVEPEN.DBF", "CONVEPEN.DBF.orig", false))
            falha("CONVEPEN alterada numa execução recusada");
        return;
    }
    confereArquivoDoBanco(n);
    conferePendentes(n);
    std::printf("  conferidos: arquivo do banco e CONVEPEN (igual a uma operação por vez)\n");
}

}  // namespace

int main(int argc, char** argv) {
    const long n = argc > 1 ? std::atol(argv[1]) : 1000000;
    const std::string etapas = argc > 2 ? argv[2] : "123";
    char modelo[] = "/tmp/bench-vendor-XXXXXX";
    const std::string dir = ::mkdtemp(modelo);
    fs::current_path(dir);
    std::printf("Conversão de remessa Vendor (Cofap), %ld operações, CONVEPEN com %ld linhas\n", n, n);
    std::printf("diretório: %s\n", dir.c_str());

    bool ok = etapa("Preparação (não medida)", [n] {
        InstalaDiretorioDeDados(".", true, GERAL().DATADIA);
        Tabela& pen = DMQUOR().TBCONVEPEN;
        pen.Open();
        // Planilhas n/2 .. 3n/2 - 1 of an earlier remittance of the client.
        for (long i = n / 2; i < n / 2 + n; ++i) {
            pen.Append();
            pen.FieldByName("CODCLI").SetAsString("COFAP");
            pen.FieldByName("NUMPED").SetAsString(planilha(i));
            pen.FieldByName("CGCCLI").SetAsString(kCNPJS[i % 4]);
            pen.FieldByName("DTREMESSA").SetAsDate(CodificaData(2026, 2, 10));
            pen.Post();
        }
        pen.Close();
        arquivoCofap("COFAPREM.TXT", 0, n);
        fs::copy_file("CONVEPEN.DBF", "CONVEPEN.DBF.orig");
        fs::copy_file("CONVEPEN.CDX", "CONVEPEN.CDX.orig");
        std::printf("  arquivo do cliente: %ju bytes\n",
                    static_cast<std::uintmax_t>(fs::file_size("COFAPREM.TXT")));
        return 0.0;
    }).ok;
    const double entrada = medida::mib(static_cast<double>(fs::file_size("COFAPREM.TXT")) +
                                       static_cast<double>(fs::file_size("CONVEPEN.DBF.orig")));

    if (etapas.find('1') != std::string::npos) {
        // Baseline and run alternate, so that both meet the same moments of
        // the machine; the median of each is the figure.
        const int rodadas = n <= 100000 ? 3 : 1;
        std::vector<double> bases, execucoes;
        double pico = 0;
        for (int i = 0; i < rodadas; ++i) {
            const Resultado base = etapa("Linha de base: leitura e gravação dos bytes do arquivo do cliente",
                                         [] { return copiaDeBytes("COFAPREM.TXT"); });
            const Resultado r = etapa("1. Execução completa com o arquivo inteiro", [n] {
                fs::remove("VCOFAP.TXT");
                restauraPendentes();
                return conversao(n);
            });
            // In a process of its own: its memory is not the run's.
            const Resultado conferido = etapa("   Conferência do que a execução gravou (não medida)", [n] {
                confereExecucao(n);
                return 0.0;
            });
            ok = ok && base.ok && r.ok && conferido.ok;
            bases.push_back(base.segundos);
            execucoes.push_back(r.segundos);
            pico = std::max(pico, r.picoMiB);
        }
        medida::publica({"Vendor remessa (Cofap)", std::to_string(n) + " operações", medida::mediana(execucoes),
                         "leitura+gravação dos bytes", medida::mediana(bases), static_cast<double>(n), "operações",
                         pico, entrada,
                         n > 99999 ? "acima de 99.999 operações: recusada no fim, nada gravado" : ""});
    }

    const long maximo = std::min(n, 99999L);
    if (etapas.find('2') != std::string::npos)
        ok = etapa("2. Execução completa com o maior arquivo que o leiaute comporta", [maximo] {
                 restauraPendentes();
                 fs::remove("VCOFAP.TXT");
                 arquivoCofap("COFAPREM.TXT", 0, maximo);
                 return conversao(maximo);
             }).ok && etapa("   Conferência do que a execução gravou (não medida)", [maximo] {
                 confereExecucao(maximo);
                 return 0.0;
             }).ok && ok;

    if (etapas.find('3') != std::string::npos)
        ok = etapa("3. Gravação na escala do arquivo inteiro, medida à parte", [n] {
                 restauraPendentes();
                 Tabela& pen = DMQUOR().TBCONVEPEN;
                 std::vector<OperacaoPendente> operacoes;
                 operacoes.reserve(static_cast<std::size_t>(n));
                 for (long i = 0; i < n; ++i) operacoes.push_back({planilha(i) + "       ", kCNPJS[i % 4]});
                 auto a = Relogio::now();
                 pen.Open();
                 RegistraPendentes(pen, "COFAP", operacoes, GERAL().DATADIA);
                 pen.Close();
                 std::printf("  pendentes de %ld operações (metade renovada, metade incluída): %.2f s\n", n,
                             segundos(a));

                 a = Relogio::now();
                 TaexGRAVAEXTERNO saida(kTAMANHO_REGISTRO_BANCO, tamREGFIXO);
                 TvenGRAVAREMESSA grava(saida);
                 TvenCAMPOSREMESSA k;
                 TvenCLIENTE cliente;
                 cliente.NUMPROGOP = cliente.ATIVICLI = 1;
                 ValoresIniciaisDaRemessa(k, cliente, GERAL().DATADIA, "120000");
                 PreparaCofap(k, cliente, CodificaData(2026, 3, 1), GERAL().DATADIA);
                 grava.REM_GRAVAREG(MontaRegistroHeader(k, false).conteudo);
                 for (long i = 0; i < n; ++i) {
                     LeLinhaCofap(k, linhaCofap(i));
                     grava.REM_GRAVAREG(MontaRegistroCliente(k).conteudo);
                     grava.REM_GRAVAOPERACAO(MontaRegistroOperacao(k));
                 }
                 // Past 999,999 records the sequence numbers are asterisks:
                 // this file only measures the writing.
                 saida.NOMEARQSAI = "VCOFAP.TXT";
                 saida.GRAVA_ARQUIVO(tipCOMFIMARQ);
                 std::printf("  %ld registros montados e gravados no arquivo do banco: %.2f s\n",
                             2 * n + 1, segundos(a));
                 return 0.0;
             }).ok && ok;

    fs::current_path("/");
    fs::remove_all(dir);
    return ok ? 0 : 1;
}
