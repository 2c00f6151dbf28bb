#include "report/toprint.h"

#include <cctype>

#include "core/geral.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_datas.h"
#include "core/texto/obr_numeros.h"
#include "report/motor_relatorio.h"
#include "report/resumo_execucao.h"
#include "tabela/nome_arquivo.h"

std::unique_ptr<ToPRINT> oPRINT;

ToPRINT::ToPRINT() = default;

bool IMP_PREPARA(const std::string& titulo, const std::vector<std::string>& descricao) {
    TdstRELATORIO escolha = dstIMPRESSORA;
    if (!descricao.empty()) escolha = GERAL().Dialogo().DestinoRelatorio(titulo, descricao);
    if (escolha == dstCANCELA) return false;
    oPRINT.reset();
    oPRINT = std::make_unique<ToPRINT>();
    ToPRINT& p = *oPRINT;
    p.COLESQ = 1;
    p.COLUNAS = 80;
    p.LINHAS = -1;
    p.LINPOLEGADA = tpd_6_LINHAS;
    p.PAGINA = 0;
    p.KLINATU = 9999;
    p.IMPCABEC = true;
    p.KNOMEdoARQUIVOemPDF.clear();
    p.KTITULO = titulo;
    p.QUALTITULO = tpdTITULO_PAGINA;
    p.PRIMVEZ = 0;
    p.KDEVICE = krGRAFICA;
    p.visualizar = escolha == dstVIDEO;
    p.destinoPdf = escolha == dstPDF;
    return true;
}

bool ToPRINT::IMPINICIALIZA(int total, const std::string& titulo, bool comCancela) {
    GERAL().FLAGINTERROMPE = false;
    if (COLESQ <= 0) COLESQ = 1;
    modelo_.colunas = COLUNAS;
    modelo_.linhasPorPagina = LINHAS;
    modelo_.linhasPorPolegada = LINPOLEGADA == tpd_8_LINHAS ? 8 : 6;
    modelo_.titulo = KTITULO;
    for (char& c : modelo_.titulo)
        if (c == '/') c = '-';
    if (TITESQ.empty()) TITESQ = " ";
    if (KDEVICE == krGRAFICA) {
        if (LINHAS == -1) modelo_.linhasPorPagina = 60;
        LIMITEPAG = 60;
        if (COLUNAS >= 130) modelo_.colunas = COLUNAS + 2;
        if (COLESQ > 1) modelo_.colunas += COLESQ - 1;
    }
    modelo_.visualizar = visualizar;
    modelo_.zoomPercentual = COLUNAS > 110 ? 70 : COLUNAS > 100 ? 80 : COLUNAS > 80 ? 90 : 100;
    modelo_.caracteresPorPolegada =
        COLUNAS > 80 && (GERAL().OPCAOIMP || COLUNAS > 132) ? 17 : 10;
    if (total != -1) GERAL().CONTADOR_INICIALIZA(total, comCancela, titulo);
    return true;
}

PaginaRelatorio& ToPRINT::paginaAtual() {
    if (modelo_.paginas.empty()) modelo_.paginas.emplace_back();
    return modelo_.paginas.back();
}

void ToPRINT::CHARSAY(int coluna, const std::string& texto) {
    if (KLINATU == 0) KLINATU = 1;
    if (coluna == 0) coluna = 1;
    paginaAtual().Escreve(KLINATU, coluna, texto);
    KCOLATU = coluna + static_cast<int>(texto.size());
}

bool ToPRINT::INCLINHA(int n) {
    KLINATU += n;
    if (KLINATU <= LIMITEPAG) return false;
    CABEC();
    if (!TITCAB1.empty()) INCLINHA(1);
    for (const std::string* t : {&TITCAB1, &TITCAB2, &TITCAB3, &TITCAB4}) {
        if (t->empty()) continue;
        CHARSAY(COLESQ, *t);
        INCLINHA(1);
    }
    return true;
}

void ToPRINT::CABEC() {
    KLINATU = 1;
    modelo_.paginas.emplace_back();
    ++PAGINA;
    ++PRIMVEZ;
    const int c = COLESQ, w = COLUNAS;
    CHARSAY(c, GERAL().RAZAOSOC);
    CHARSAY(c + w - 12, "Pagina :" + OBR_INTTOSTR(PAGINA, 4));
    KLINATU = 2;
    const int d = (w - static_cast<int>(KTITULO.size())) / 2;
    CHARSAY(c + d, KTITULO);
    KLINATU = 3;
    CHARSAY(c + d - 1, std::string(KTITULO.size() + 2, '-'));
    KLINATU = 4;
    if (TITDIREITA.empty()) TITDIREITA = "Data: " + OBR_DATATOSTR(GERAL().DATADIA);
    const int o = c + w - static_cast<int>(TITDIREITA.size());
    CHARSAY(c, TITESQ.substr(0, static_cast<std::size_t>(std::max(0, o - 2))));
    CHARSAY(o, TITDIREITA);
    KLINATU = 5;
}

void ToPRINT::EMITEemPDF() {
    // Runs that end within the same second (a scheduler's batch) must not
    // write their logs over each other's.
    const std::string base = KNOMEdoARQUIVOemPDF + "_" +
                             OBR_DATATOTEXTO("DATA_AAAAMMDD", GERAL().DATADIA) + "_" + OBR_HORA();
    KNOMEdoARQUIVOemPDF = base + ".PDF";
    for (int n = 2; ArquivoExiste(KNOMEdoARQUIVOemPDF); ++n)
        KNOMEdoARQUIVOemPDF = base + "_" + std::to_string(n) + ".PDF";
    try {
        if (!MotorDeRelatorioAtual()) throw std::runtime_error("sem motor de relatorios");
        MotorDeRelatorioAtual()->GravaPdf(modelo_, KNOMEdoARQUIVOemPDF);
        arquivoPdf_ = KNOMEdoARQUIVOemPDF;
        ResumoRelatorio(arquivoPdf_, modelo_);
    } catch (const std::exception&) {
        GERAL().MENSAGEM("NÃO FOI POSSÍVEL A CRIAÇÃO DO ARQUIVO AUXILIAR PARA A REMESSA DO PDF.\r\nArquivo: "_ansi +
                             KNOMEdoARQUIVOemPDF + "\r\n" +
                             "Verifique se o nome do arquivo gerado conter caracteres especiais que deverão ser retirado."_ansi,
                         somERRO);
    }
    abandonado_ = true;
}

bool ToPRINT::IMP_FECHA() {
    if (abandonado_) return true;
    bool ok = false;
    std::string detalhe;  // the engine's own words, when it gave any
    try {
        ok = MotorDeRelatorioAtual() && MotorDeRelatorioAtual()->Fecha(modelo_);
    } catch (const std::exception& e) {
        ok = false;
        detalhe = std::string("\r\n\r\n") + e.what();
    }
    if (!ok)
        GERAL().MENSAGEM(
            "A IMPRESSORA INFORMADA NO SETUP DE IMPRESSORAS DO SISTEMA NÃO ESTÁ DISPONÍVEL PARA USO.\r\n\r\n"
            "Verifique se a impressora encontra-se conectada e ligada. Não sendo possível encontrar o problema, reinicie o computador."_ansi +
                detalhe,
            somERRO);
    else if (!visualizar)
        ResumoRelatorio({}, modelo_);
    return ok;
}

namespace {

// Base name of the PDF file of a report the operator sent to a file when
// its run named none: the title, with what cannot stand in a file name
// turned into "_".
std::string nomePdfDoTitulo(const std::string& titulo) {
    std::string r;
    for (unsigned char c : titulo) r += std::isalnum(c) ? static_cast<char>(std::toupper(c)) : '_';
    return r.empty() ? std::string("RELATORIO") : r;
}

}  // namespace

void ToPRINT::OfereceOutroDestino() {
    switch (GERAL().Dialogo().DestinoAposFalha(KTITULO)) {
        case dstVIDEO:
            visualizar = modelo_.visualizar = true;
            abandonado_ = false;
            IMP_FECHA();
            break;
        case dstPDF:
            KNOMEdoARQUIVOemPDF = nomePdfDoTitulo(KTITULO);
            EMITEemPDF();
            if (!arquivoPdf_.empty())
                GERAL().MENSAGEM("Relatório gravado no arquivo "_ansi + arquivoPdf_, somSUCESSO,
                                 "Final da emissão"_ansi);
            break;
        default:
            break;
    }
}

void EJECT(TkrMENS tipo) {
    if (!oPRINT) return;
    ToPRINT& p = *oPRINT;
    // The run log that follows a recovery keeps its account on paper.
    if (p.PRIMVEZ > 0 && !GERAL().RECUPERACOES.empty()) {
        p.INCLINHA(2);
        for (const std::string& linha : GERAL().RECUPERACOES) {
            p.CHARSAY(p.COLESQ, linha);
            p.INCLINHA(1);
        }
        GERAL().RECUPERACOES.clear();
    }
    GERAL().CONTADOR_ENCERRA();
    GERAL().CURSORESPERA();
    if (p.KNOMEdoARQUIVOemPDF.empty() && p.destinoPdf && p.PRIMVEZ > 0)
        p.KNOMEdoARQUIVOemPDF = nomePdfDoTitulo(p.KTITULO);
    if (!p.KNOMEdoARQUIVOemPDF.empty()) p.EMITEemPDF();
    if (p.PRIMVEZ > 0 && !p.IMP_FECHA()) {
        // Nothing was printed: no word of a finished report, but the pages
        // are not lost either.
        GERAL().CURSORDEFAULT();
        p.OfereceOutroDestino();
        oPRINT.reset();
        return;
    }
    std::string mensagem;
    if ((tipo == krDUAS_MENSAGENS || tipo == krREGISTRO_DISPONIVEL) && p.PRIMVEZ == 0)
        mensagem = "NENHUM REGISTRO DISPONÍVEL PARA LISTAGEM.\r\n"_ansi;
    if (!p.visualizar && (tipo == krDUAS_MENSAGENS || tipo == krPARA_CONTINUAR))
        mensagem += "Emissão do Relatório já concluida."_ansi;
    GERAL().CURSORDEFAULT();
    if (!mensagem.empty()) GERAL().MENSAGEM(mensagem, somSUCESSO, "Final da emissão"_ansi);
    oPRINT.reset();
}

void IMP_SETUPIMPRESSORA() {
    MotorRelatorio* m = MotorDeRelatorioAtual();
    try {
        if (!m) throw std::runtime_error("sem motor de relatorios");
        m->SetupImpressora();
    } catch (const std::exception&) {
        const int instaladas = m ? m->ImpressorasInstaladas() : 0;
        const int disponiveis = m ? m->ImpressorasDisponiveis() : 0;
        GERAL().MENSAGEM(
            "O SETUP DE IMPRESSORAS DO SISTEMA NÃO ESTÁ DISPONÍVEL PARA USO.\r\nTotal de impressoras Instaladas: "_ansi +
                std::to_string(instaladas) + "\r\n" + "Total de impressoras disponiveis: " +
                std::to_string(disponiveis) + "\r\n" + "\r\n" +
                "Acesse a Configuração de Impressoras do seu micro e verifique se tem alguma "_ansi +
                "impressora instalada. Tendo, verifique se a impressora que está configurada "_ansi +
                "como padrão se está realmente disponível."_ansi + "\r\n" +
                "Não sendo possível encontrar o problema, teste reiniciar o computador."_ansi,
            somERRO);
    }
}
