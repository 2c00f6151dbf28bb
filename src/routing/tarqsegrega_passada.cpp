// The pass step of the segregation: in the run whose pass number is a
// Cobrança 400 client's last pass, the returns parked in its temporary
// directory are joined into its first and second return files, the first
// reconciled with its planilha when it has one.
//
// The parked files are read as streams, once; the header the consolidated
// files are built on (latest date, smallest number, last header) is known
// only at the end, and written over a blank first record then. A client
// reconciled with a planilha has them read twice: the planilha is found by
// that date, before the details. The
// consolidated files appear only complete, and only once both are written
// are the parked files (and the planilha reconciled) deleted: anything that
// stops the consolidation of a client leaves its parked files and planilha
// as they were, for a later pass.

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "core/arquivos/erro_arquivo.h"
#include "core/geral.h"
#include "core/texto/ansi.h"
#include "core/texto/centavos.h"
#include "core/texto/obr_datas.h"
#include "core/texto/obr_numeros.h"
#include "core/texto/obr_texto.h"
#include "routing/consolidacao_retorno.h"
#include "routing/leitor_linhas.h"
#include "routing/tarqsegrega.h"
#include "tabela/nome_arquivo.h"

namespace {

// Lines of the log after the "Cedente" line start with this.
std::string prefixo() { return std::string(10, ' ') + "- "; }

// The piece of a line at its 1-based position, blank-filled to its length.
std::string trecho(std::string_view linha, std::size_t inicio, std::size_t tamanho) {
    std::string r(inicio - 1 < linha.size() ? linha.substr(inicio - 1, tamanho) : std::string_view());
    r.resize(tamanho, ' ');
    return r;
}

// The parked files of a directory, in ascending order of their upper-cased
// names. Only regular files: a link could lead the consolidation to read,
// and then delete, a file of another place. False when the directory cannot
// be read.
bool listaEstacionados(const std::string& diretorio, std::vector<std::string>& caminhos) {
    caminhos.clear();
    std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(diretorio.c_str()), ::closedir);
    if (!d) return false;
    std::vector<std::pair<std::string, std::string>> achados;
    while (const dirent* e = ::readdir(d.get())) {
        const std::string nome = e->d_name;
        const std::string maiusculo = EmMaiusculas(nome);
        if (!EhEstacionado(maiusculo)) continue;
        const std::string caminho = JuntaCaminho(diretorio, nome);
        if (SituacaoDoArquivo(caminho) == SituacaoArquivo::regular) achados.emplace_back(maiusculo, caminho);
    }
    std::sort(achados.begin(), achados.end());
    for (auto& a : achados) caminhos.push_back(std::move(a.second));
    return true;
}

// The planilha of a client's consolidation: "PLAN" + day and month of the
// consolidated header date + ".TXT", in the temporary directory.
struct Planilha {
    enum class Estado { ausente, ilegivel, vazia, lida };
    Estado estado = Estado::ausente;
    std::string nome;
    std::string caminho;
    const std::vector<std::string>* linhas = nullptr;
    std::unordered_map<std::string, int> primeira;  // title key (2-13) -> first line

    void Le(TaexLEITURAEXTERNO& leitor, const std::string& diretorio, const std::string& nomePlanilha) {
        nome = nomePlanilha;
        caminho = ResolveNoDiretorio(diretorio, nome);
        linhas = &leitor.TABDADOS;
        leitor.TABDADOS.clear();
        const SituacaoArquivo situacao = SituacaoDoArquivo(caminho);
        if (situacao == SituacaoArquivo::ausente) {
            estado = Estado::ausente;
        } else if (situacao != SituacaoArquivo::regular || !leitor.TXT_TO_MEMO(caminho)) {
            estado = Estado::ilegivel;
        } else if (leitor.TABDADOS.empty()) {
            estado = Estado::vazia;
        } else {
            estado = Estado::lida;
            for (std::size_t i = 0; i < leitor.TABDADOS.size(); ++i)
                primeira.emplace(trecho(leitor.TABDADOS[i], 2, 12), static_cast<int>(i));
        }
    }

    // Index of the first line (of any kind) holding the key at 2-13; -1
    // when none. A line ending early is blank beyond its end.
    int ARQ_ACHAPLANILHA(const std::string& chave) const {
        const auto it = primeira.find(chave);
        return it == primeira.end() ? -1 : it->second;
    }
};

}  // namespace

void TarqSEGREGA::ARQ_FECHAPASSADA() {
    for (const ClienteRetorno& c : cadastro_.Clientes())
        if (c.tipo == 'C' && c.ultpascli == KPASSADA && !OBR_VAZIO(c.dirtemp)) consolida(c);
}

void TarqSEGREGA::consolida(const ClienteRetorno& cliente) {
    const std::string& dir = cliente.dirtemp;
    // The working directory itself is no temporary directory: its numbered
    // files are the clients' remittances.
    if (const std::string recusa = recusaTemporario(cliente); !recusa.empty()) {
        linhaDoLog("DIRETÓRIO TEMPORÁRIO "_ansi + dir + " RECUSADO: " + recusa + " - NADA CONSOLIDADO");
        GERAL().MENSAGEM("O DIRETÓRIO TEMPORÁRIO "_ansi + dir + " DO CLIENTE " + cliente.codigo +
                             " NÃO PODE SER USADO: "_ansi + recusa + ". NADA FOI CONSOLIDADO; CORRIJA O CADASTRO.",
                         somERRO);
        return;
    }
    if (!listaEstacionados(dir, KTBESTACIONADOS)) {
        linhaDoLog("DIRETÓRIO TEMPORÁRIO NÃO DISPONÍVEL: "_ansi + dir);
        return;
    }
    if (KTBESTACIONADOS.empty()) return;
    // Without occurrence codes no detail would reach either file, and the
    // parked returns would be deleted with nothing written.
    if (OBR_VAZIO(cliente.codcobliq) && OBR_VAZIO(cliente.codcobcon)) {
        linhaDoLog("OCORRÊNCIAS DOS ARQUIVOS RETORNO NÃO DEFINIDAS PARA O CLIENTE "_ansi + cliente.codigo +
                   " - ARQUIVOS MANTIDOS EM " + dir);
        return;
    }
    // The two files and the deletion of the parked returns and of the
    // planilha are one unit: after a crash the next run finishes it when
    // both files were complete, and undoes it otherwise.
    diario_ = std::make_unique<DiarioExecucao>("CONSOLIDAÇÃO DO CLIENTE "_ansi + cliente.codigo);
    if (!ARQ_GERARETORNOS(cliente, ".")) {
        diario_->Desfaz();
        diario_.reset();
        return;
    }
    // The consolidated files are on disk under their names before the
    // parked returns go.
    GravaDiretorio(".");
    for (const std::string& caminho : KTBESTACIONADOS)
        if (::unlink(caminho.c_str()) != 0 && errno != ENOENT)
            linhaDoLog("NÃO CONSEGUIU EXCLUIR O ARQUIVO: "_ansi + caminho);
    GravaDiretorio(dir);
    diario_->Conclui();
    diario_.reset();
}

// What the consolidation of one client gathers as it reads the parked
// files, and the two files it writes.
struct TarqSEGREGA::Consolidacao {
    Consolidacao(const ClienteRetorno& c, const std::string& dir)
        : cliente(c),
          diretorio(dir),
          nomes{NomeConsolidado(c.arqretcli, 1), NomeConsolidado(c.arqretcli, 2)},
          listas{ListaDeOcorrencias(c.codcobliq), ListaDeOcorrencias(c.codcobcon)},
          conferir(!OBR_VAZIO(c.nomeplan)) {}

    const ClienteRetorno& cliente;
    const std::string diretorio;
    const std::string nomes[2];
    const ListaDeOcorrencias listas[2];  // the occurrences each file takes
    // With a planilha the first file is reconciled with it.
    const bool conferir;

    // One reader for every file: its buffer serves them all.
    LeitorDeLinhas leitor;
    // The last header and trailer, the latest header date, the smallest
    // header number: what the consolidated header and trailers are built on.
    std::string ultimoHeader, ultimoTrailer;
    TData data = 0;
    int menor = 99999;
    std::string dataTexto;
    Planilha planilha;

    std::unique_ptr<ArquivoProduto> arquivo[2];
    long registros[2] = {0, 0};
    BaldesOcorrencia baldes[2];
    std::unordered_set<std::string> chavesRetorno;  // 71-82 of every record of the first file
    std::vector<std::string> semPlanilha;          // 06 details the planilha lacks
    Centavos totalOperacao = 0;

    void cabecalhoOuTrailer(std::string_view linha) {
        if (linha[0] == '0') {
            ultimoHeader.assign(linha);
            const TData d = OBR_TEXTOTODATA("DDMMAA_DATA", TrechoDe(ultimoHeader, 95, 6));
            if (data == 0 || d > data) data = d;
            menor = std::min(menor, OBR_STRTOINT(TrechoDe(ultimoHeader, 109, 5)));
        } else if (linha[0] == '9') {
            ultimoTrailer.assign(linha);
        }
    }
    void grava(int k, const std::string& registro) {
        arquivo[k]->GRAVA_INF(registro);
        ++registros[k];
        if (k == 0 && conferir) chavesRetorno.insert(trecho(registro, 71, 12));
    }
};

bool TarqSEGREGA::ARQ_GERARETORNOS(const ClienteRetorno& cliente, const std::string& diretorio) {
    if (!EhNomeSimples(cliente.arqretcli))
        return mantemEstacionados("NOME DO ARQUIVO RETORNO DO CLIENTE "_ansi + cliente.codigo +
                                  " INVÁLIDO: "_ansi + cliente.arqretcli);
    Consolidacao c(cliente, diretorio);
    std::string ilegivel;
    if (!leEstacionados(c, ilegivel)) return mantemEstacionados("NÃO CONSEGUIU LER O ARQUIVO: "_ansi + ilegivel);
    if (c.arquivo[0])
        c.grava(0, TrailerConsolidado(c.ultimoTrailer, c.menor, c.baldes[0], c.registros[0] + 1));
    const bool conferida = c.arquivo[0] && c.conferir;
    if (conferida && !ARQ_CONFEREPLANILHA(c)) {
        // Nothing is written; the parked files and the planilha wait for a
        // later pass.
        KTBESTACIONADOS.clear();
        return false;
    }
    if (c.arquivo[1])
        c.grava(1, TrailerConsolidado(c.ultimoTrailer, c.menor + 1, c.baldes[1], c.registros[1] + 1));
    if (!gravaConsolidados(c, conferida)) {
        linhaDoLog(prefixo() + "Arquivos do diretório temporário mantidos para nova consolidação: "_ansi +
                   cliente.dirtemp);
        KTBESTACIONADOS.clear();
        return false;
    }
    if (conferida && ::unlink(c.planilha.caminho.c_str()) != 0 && errno != ENOENT)
        linhaDoLog("NÃO CONSEGUIU EXCLUIR O ARQUIVO: "_ansi + c.planilha.caminho);
    return true;
}

bool TarqSEGREGA::mantemEstacionados(const std::string& motivo) {
    linhaDoLog(motivo + " - ARQUIVOS MANTIDOS");
    KTBESTACIONADOS.clear();
    return false;
}

// The parked files, read into the two files; false with the file that
// could not be read.
bool TarqSEGREGA::leEstacionados(Consolidacao& c, std::string& ilegivel) {
    std::string_view linha;
    // The reconciliation with the planilha needs the header date before the
    // details (the planilha's name and the paid titles carry it): a first
    // reading for it. Without a planilha the files are read once, each
    // consolidated file begun with a blank record that takes its header at
    // the end.
    if (c.conferir) {
        for (const std::string& caminho : KTBESTACIONADOS) {
            ilegivel = caminho;
            if (c.leitor.Abre(caminho) != LeitorDeLinhas::Abertura::aberto) return false;
            while (c.leitor.Proxima(linha))
                if (!linha.empty()) c.cabecalhoOuTrailer(linha);
            if (c.leitor.Falhou()) return false;
        }
        c.dataTexto = OBR_DATATOTEXTO("DATA_DDMMAA", c.data);
        c.planilha.Le(oARQPLANILHA, c.cliente.dirtemp, "PLAN" + c.dataTexto.substr(0, 4) + ".TXT");
    }
    std::string registro;
    for (const std::string& caminho : KTBESTACIONADOS) {
        ilegivel = caminho;
        if (c.leitor.Abre(caminho) != LeitorDeLinhas::Abertura::aberto) return false;
        while (c.leitor.Proxima(linha)) {
            if (linha.empty()) continue;
            if (linha[0] != '1') {
                if (!c.conferir) c.cabecalhoOuTrailer(linha);
                continue;
            }
            consolidaDetalhe(c, linha, registro);
        }
        if (c.leitor.Falhou()) return false;
    }
    if (!c.conferir) {
        c.dataTexto = OBR_DATATOTEXTO("DATA_DDMMAA", c.data);
        for (int k = 0; k < 2; ++k)
            if (c.arquivo[k])
                c.arquivo[k]->ReescrevePrimeiroRegistro(HeaderConsolidado(c.ultimoHeader, c.data, c.menor + k));
    }
    return true;
}

// One detail, to the files whose occurrence lists hold its code; a paid
// title of the first file takes the planilha's values.
void TarqSEGREGA::consolidaDetalhe(Consolidacao& c, std::string_view linha, std::string& registro) {
    const std::string ocorrencia(linha.size() > 108 ? linha.substr(108, 2) : std::string_view());
    // A short line's amount is read blank-filled, as its field.
    const Centavos valor = !BaldesOcorrencia::TemBalde(ocorrencia) ? 0
                            : linha.size() >= 165 ? CentavosDoCampo(linha.substr(152, 13))
                                                  : CentavosDoCampo(trecho(linha, 153, 13));
    for (int k = 0; k < 2; ++k) {
        if (!c.listas[k].Contem(ocorrencia)) continue;
        if (!c.arquivo[k]) {
            c.arquivo[k] = std::make_unique<ArquivoProduto>(400, JuntaCaminho(c.diretorio, c.nomes[k]));
            c.arquivo[k]->sincronizaDiretorio = false;
            c.arquivo[k]->aoCriarTemporario = [this](const std::string& temporario, const std::string& final) {
                diario_->Saida(temporario, final, true);
            };
            c.grava(k, c.conferir ? HeaderConsolidado(c.ultimoHeader, c.data, c.menor + k) : std::string());
        }
        DetalheConsolidado(linha, c.registros[k] + 1, registro);
        if (k == 0 && ocorrencia == "06" && c.planilha.estado == Planilha::Estado::lida) {
            const std::string chave = registro.substr(70, 12);
            const int i = c.planilha.ARQ_ACHAPLANILHA(chave);
            if (i < 0) {
                c.semPlanilha.push_back(chave);
            } else {
                const std::string p = trecho((*c.planilha.linhas)[static_cast<std::size_t>(i)], 1, 60);
                registro = registro.substr(0, 188) + p.substr(34, 13) + registro.substr(201, 39) +
                           p.substr(47, 13) + p.substr(21, 13) + registro.substr(266, 29) + c.dataTexto +
                           registro.substr(301, 99);
                c.totalOperacao += CentavosDoCampo(p.substr(21, 13));
            }
        }
        c.grava(k, registro);
        c.baldes[k].Conta(ocorrencia, valor);
    }
}

// True when some record of the first file (header and trailer included)
// holds `chave` at 71-82.
bool TarqSEGREGA::ARQ_ACHARETORNO(const Consolidacao& c, const std::string& chave) {
    return c.chavesRetorno.count(chave) != 0;
}

// The first file against the planilha, all to the log file; true when the
// consolidated files may be written.
bool TarqSEGREGA::ARQ_CONFEREPLANILHA(const Consolidacao& c) {
    const std::string pre = prefixo();
    const std::string& d = c.dataTexto;
    linhaDoLog("Cedente: " + c.cliente.codigo + " - Referencia: " + d.substr(0, 2) + "/" + d.substr(2, 2) + "/" +
               d.substr(4, 2) + " - Planilha: " + c.planilha.nome);
    switch (c.planilha.estado) {
        case Planilha::Estado::ausente:
            linhaDoLog(pre + "Planilha já convertida não localizada."_ansi);
            return false;
        case Planilha::Estado::ilegivel:
            return false;
        case Planilha::Estado::vazia:
            linhaDoLog(pre + "Nenhuma operação disponível na Planilha."_ansi);
            return false;
        case Planilha::Estado::lida:
            break;
    }
    long irregularidades = 0;
    for (const std::string& chave : c.semPlanilha) {
        linhaDoLog(pre + "Retorno não encontrado na planilha - "_ansi + "Título: "_ansi + chave);
        ++irregularidades;
    }
    const std::vector<std::string>& linhas = *c.planilha.linhas;
    for (const std::string& l : linhas) {
        if (l.empty() || l[0] != '1' || ARQ_ACHARETORNO(c, trecho(l, 2, 12))) continue;
        linhaDoLog(pre + "Planilha não encontrado no Retorno - "_ansi + "Título: "_ansi + TrechoDe(l, 2, 12));
        ++irregularidades;
    }
    const std::string lidos = OBR_INTTOSTR(static_cast<long long>(linhas.size()), 0);
    if (irregularidades == 0) {
        linhaDoLog(pre + "Concluído com sucesso. "_ansi + "Títulos lidos: "_ansi + lidos +
                   " - Valor da operação: "_ansi +
                   OBR_PICTURE("@E 999,999,999,999.99", EmReais(c.totalOperacao)));
        return true;
    }
    linhaDoLog(pre + "Processamento interrompido com irregularidade na planilha.");
    const std::string cinco(5, ' ');
    linhaDoLog(cinco + pre + " Títulos lidos no Retorno: "_ansi + OBR_INTTOSTR(c.registros[0] - 2, 0));
    linhaDoLog(cinco + pre + "Títulos lidos na planilha: "_ansi + lidos);
    linhaDoLog(cinco + pre + "Irregularidas encontradas: " + OBR_INTTOSTR(irregularidades, 0));
    return false;
}

// Both files complete on disk, then the unit's commit (the parked files
// and the reconciled planilha to be deleted), then their names; false when
// either could not be written.
bool TarqSEGREGA::gravaConsolidados(Consolidacao& c, bool conferida) {
    static const char* const textos[2][2] = {
        {"1o. Arquivo Retorno Gravado com sucesso", "1o. Arquivo Retorno NAO GRAVADO"},
        {"2o. Arquivo Retorno Gravado com sucesso", "2o. Arquivo Retorno NAO GRAVADO"}};
    // Both files go to the disk together and are waited for together: the
    // flush of each, when it is named, then finds its records written, and
    // the two share one write of the file system's journal.
    for (auto& a : c.arquivo)
        if (a) a->ENCAMINHA();
    for (auto& a : c.arquivo)
        if (a) a->AguardaDisco();
    bool gravados = true;
    for (auto& a : c.arquivo) {
        if (!a) continue;
        bool pronto = false;
        try {
            pronto = a->PRONTO();
        } catch (const ErroArquivo& e) {
            GERAL().MENSAGEM(e.what(), somERRO);
        }
        if (!pronto) gravados = false;
    }
    if (gravados) {
        std::vector<DiarioExecucao::Passo> depois;
        for (const std::string& caminho : KTBESTACIONADOS) depois.push_back(DiarioExecucao::Apaga(caminho));
        if (conferida) depois.push_back(DiarioExecucao::Apaga(c.planilha.caminho));
        diario_->Confirma(depois);
    }
    for (int k = 0; k < 2; ++k) {
        if (!c.arquivo[k]) continue;
        bool gravou = false;
        try {
            gravou = gravados && c.arquivo[k]->GRAVA_ARQUIVO();
        } catch (const ErroArquivo& e) {
            GERAL().MENSAGEM(e.what(), somERRO);
        }
        KARQRETCLI = c.nomes[k];
        ARQ_OCORRENCIA(textos[k][gravou ? 0 : 1]);
        if (gravou) ++TOTAL('C');
    }
    return gravados;
}
