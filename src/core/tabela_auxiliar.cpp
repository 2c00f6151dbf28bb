#include "core/tabela_auxiliar.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "core/geral.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_texto.h"
#include "tabela/nome_arquivo.h"
#include "tabela/trava.h"

namespace {

std::string nomeAuxiliar(int tipo, int numero) {
    char b[32];
    std::snprintf(b, sizeof b, "%s%02d%s", tipo == 0 ? "INDAUX" : "TABAUX", numero,
                  tipo == 0 ? ".CDX" : ".DBF");
    return b;
}

// A table some process holds open keeps a lock on its open byte.
bool tabelaAbertaPorAlguem(const std::string& caminho) {
    const int fd = ::open(caminho.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    bool livre = true;
    try {
        livre = TentaTrava(fd, kTravaAbertura, 1, TipoTrava::Escrita);
    } catch (const std::exception&) {
        livre = false;
    }
    ::close(fd);  // drops the probe's lock with its descriptor
    return !livre;
}

bool terminaEmDbf(const std::string& caminho) {
    return caminho.size() >= 4 && EmMaiusculas(caminho.substr(caminho.size() - 4)) == ".DBF";
}

std::string semDiretorioNemExtensao(const std::string& caminho) {
    const auto barra = caminho.find_last_of('/');
    std::string nome = barra == std::string::npos ? caminho : caminho.substr(barra + 1);
    const auto ponto = nome.find_last_of('.');
    return ponto == std::string::npos ? nome : nome.substr(0, ponto);
}

std::string listaDeCampos(const TKTBESTRUTURA& colunas) {
    std::string lista;
    for (const auto& c : colunas) {
        const char* tipo = c.EST_TIPO == tipNUME   ? "NUMERIC"
                           : c.EST_TIPO == tipDATE ? "DATE"
                                                   : "CHARACTER";
        lista += c.EST_CAMPO + "," + tipo + "," + std::to_string(c.EST_TAM) + "," +
                 std::to_string(c.EST_DEC) + ";";
    }
    return lista;
}

}  // namespace

void OBR_NOMEAUXILIAR(int tipo, std::string& nome) {
    auto achaLivre = [&] {
        for (int n = 1; n <= 99; ++n) {
            nome = nomeAuxiliar(tipo, n);
            if (!ArquivoExiste(ResolveNoDiretorio(".", nome))) return true;
        }
        return false;
    };
    if (achaLivre()) return;
    for (int n = 1; n <= 99; ++n) {
        const std::string caminho = ResolveNoDiretorio(".", nomeAuxiliar(tipo, n));
        if (tipo == 1 && tabelaAbertaPorAlguem(caminho)) continue;
        ::unlink(caminho.c_str());
    }
    if (achaLivre()) return;
    throw ErroTabela("NÃO HÁ NOME LIVRE PARA "_ansi + (tipo == 0 ? "INDAUX" : "TABAUX") +
                     ": OS 99 ARQUIVOS ESTÃO EM USO"_ansi);
}

void OBR_ASSOCIATABELA(Tabela& tabela, const std::string& caminho) {
    tabela.Close();
    const auto barra = caminho.find_last_of('/');
    std::string nome = barra == std::string::npos ? caminho : caminho.substr(barra + 1);
    if (!terminaEmDbf(nome)) nome += ".DBF";
    tabela.SetTableName(nome);
    tabela.SetDatabaseName(barra == std::string::npos ? "."
                           : barra == 0              ? "/"
                                                     : caminho.substr(0, barra));
}

std::string OBR_NOMETABELA(const Tabela& tabela) {
    return JuntaCaminho(tabela.DatabaseName(), tabela.TableName());
}

void OBR_CRIAINDICE(Tabela& tabela, const std::string& chave, const std::string& arquivoIndice,
                    std::string& nomeCompleto) {
    CursorDeEspera cursor;
    nomeCompleto = arquivoIndice;
    if (nomeCompleto.empty()) OBR_NOMEAUXILIAR(0, nomeCompleto);
    const std::string tag = semDiretorioNemExtensao(nomeCompleto);
    tabela.SetIndexName("");
    tabela.CreateIndex(nomeCompleto, tag, chave);
    tabela.SetIndexName(tag);
    tabela.First();
}

bool CRIATABDAESTRUTURA(Tabela& tabela, const TKTBESTRUTURA& colunas,
                        const std::string& nomeTabela) {
    const std::vector<DefCampo> campos = ListaDeCampos(listaDeCampos(colunas));
    if (!nomeTabela.empty()) {
        OBR_ASSOCIATABELA(tabela, nomeTabela);
        const std::string caminho = tabela.CaminhoArquivo();
        // The table replaced takes its index with it: tags of the old columns
        // would not fit the new ones.
        const std::string indice = caminho.substr(0, caminho.size() - 4) + ".CDX";
        CriaTabela(caminho, campos, true);
        ::unlink(ResolveCaminho(indice).c_str());
    } else {
        // Another process may take the same free name between the look and
        // the creation: the creation then refuses, and the next name is tried.
        for (int tentativa = 0;; ++tentativa) {
            std::string nome;
            OBR_NOMEAUXILIAR(1, nome);
            OBR_ASSOCIATABELA(tabela, nome);
            try {
                CriaTabela(tabela.CaminhoArquivo(), campos, false);
                break;
            } catch (const ErroTabela&) {
                if (tentativa >= 10 || !ArquivoExiste(tabela.CaminhoArquivo())) throw;
            }
        }
    }
    tabela.SetExclusive(true);
    tabela.Open();
    return true;
}

TauxTABELA::TauxTABELA(const std::string& KNOMETABELAINF) : NOMETABELA(KNOMETABELAINF) {
    if (!KNOMETABELAINF.empty()) OBR_ASSOCIATABELA(oARQAUX, KNOMETABELAINF);
}

TauxTABELA::~TauxTABELA() {
    try {
        oARQAUX.Close();
    } catch (...) {
        // Closing writes pending index files; the files go anyway below.
    }
    if (!tabelaTemporaria_.empty()) ::unlink(tabelaTemporaria_.c_str());
    for (const auto& indice : indicesTemporarios_) ::unlink(indice.c_str());
}

void TauxTABELA::lembraTemporarios() {
    if (NOMETABELA.empty()) tabelaTemporaria_ = oARQAUX.CaminhoArquivo();
}

void TauxTABELA::ADDCAMPO(const std::string& KCAMPO, TtipCAMPO KTIPOCAMPO, int KTAM, int KDEC) {
    TBESTRUTURA.push_back({KCAMPO, KTIPOCAMPO, KTAM, KDEC});
}

void TauxTABELA::criaIndiceSePedido(const std::string& chave) {
    if (!chave.empty()) CRIAINDICE(chave, NOMEINDICE);
}

bool TauxTABELA::CRIATABELA(const std::string& KINDICEAUX, const std::string& KNOMETABELAINF) {
    NOMETABELA = KNOMETABELAINF;
    CRIATABDAESTRUTURA(oARQAUX, TBESTRUTURA, NOMETABELA);
    lembraTemporarios();
    criaIndiceSePedido(KINDICEAUX);
    JA_CRIOU_TABELA_AUXILIAR = true;
    return true;
}

bool TauxTABELA::CRIATABELA(Tabela& KARQMODELO, const std::string& KINDICEAUX,
                            const std::string& KNOMETABELAINF) {
    NOMETABELA = KNOMETABELAINF;
    std::string novo = KNOMETABELAINF;
    try {
        if (novo.empty()) OBR_NOMEAUXILIAR(1, novo);
        OBR_ASSOCIATABELA(oARQAUX, novo);
        KARQMODELO.CopyTableStructure(oARQAUX.CaminhoArquivo());
        lembraTemporarios();
        oARQAUX.SetExclusive(true);
        oARQAUX.Open();
    } catch (const std::exception&) {
        GERAL().MENSAGEM(
            "NÃO FOI POSSÍVEL CRIAR O ARQUIVO : "_ansi + novo +
                " - COM A MESMA ESTRUTURA DO ARQUIVO : " + OBR_NOMETABELA(KARQMODELO) + "\n" +
                "     Este erro ocorre em função de alguma dificuldade que está sendo "_ansi +
                "encontrada para a criação do arquivo citado. Pode ser falta de espaço, "_ansi +
                "permissão de acesso para gravação negada, erro no disco, etc..."_ansi + "\n" +
                "     Tente reinicializar a máquina para ver se resolve, caso contrário,"_ansi +
                "consulte seu suporte técnico."_ansi,
            somERRO, "Erro de tratamento de arquivo");
        return false;
    }
    criaIndiceSePedido(KINDICEAUX);
    JA_CRIOU_TABELA_AUXILIAR = true;
    return true;
}

bool TauxTABELA::CRIATABCOMESTRUTURA(Tabela& KARQESTRUTURA, const std::string& KINDICEAUX,
                                     const std::string& KNOMETABELAINF) {
    NOMETABELA = KNOMETABELAINF;
    const TKTBESTRUTURA colunas{{"FIELD_NAME", tipCHAR, 10, 0},
                                {"FIELD_TYPE", tipCHAR, 1, 0},
                                {"FIELD_LEN", tipNUME, 3, 0},
                                {"FIELD_DEC", tipNUME, 2, 0}};
    CRIATABDAESTRUTURA(oARQAUX, colunas, NOMETABELA);
    lembraTemporarios();
    oARQAUX.IniciaLote();
    for (int i = 1; i <= KARQESTRUTURA.FieldCount(); ++i) {
        const DefCampo& c = KARQESTRUTURA.FieldDef(i);
        oARQAUX.Append();
        oARQAUX.FieldByName("FIELD_NAME").SetAsString(c.nome);
        oARQAUX.FieldByName("FIELD_TYPE").SetAsString(
            c.tipo == 'C' || c.tipo == 'N' || c.tipo == 'D' ? std::string(1, c.tipo) : "");
        oARQAUX.FieldByName("FIELD_LEN").SetAsInteger(c.tamanho);
        oARQAUX.FieldByName("FIELD_DEC").SetAsInteger(c.decimais);
        oARQAUX.Post();
    }
    oARQAUX.EncerraLote();
    criaIndiceSePedido(KINDICEAUX);
    oARQAUX.First();
    JA_CRIOU_TABELA_AUXILIAR = true;
    return true;
}

bool TauxTABELA::CRIATABAPARTIRDAESTRUTURA(Tabela& KARQESTRUTURA, const std::string& KINDICEAUX,
                                           const std::string& KNOMETABELAINF) {
    KARQESTRUTURA.Pack();
    for (KARQESTRUTURA.First(); !KARQESTRUTURA.Eof(); KARQESTRUTURA.Next()) {
        const std::string tipo = AparaPontas(KARQESTRUTURA.FieldByName("FIELD_TYPE").AsString());
        ADDCAMPO(AparaPontas(KARQESTRUTURA.FieldByName("FIELD_NAME").AsString()),
                 tipo == "N" ? tipNUME : tipo == "D" ? tipDATE : tipCHAR,
                 static_cast<int>(KARQESTRUTURA.FieldByName("FIELD_LEN").AsInteger()),
                 static_cast<int>(KARQESTRUTURA.FieldByName("FIELD_DEC").AsInteger()));
    }
    return CRIATABELA(KINDICEAUX, KNOMETABELAINF);
}

bool TauxTABELA::ABRETABELAAUX(const std::string& KNOMETABELAINF) {
    NOMETABELA = KNOMETABELAINF;
    std::string nome = KNOMETABELAINF;
    if (nome.empty()) OBR_NOMEAUXILIAR(1, nome);
    OBR_ASSOCIATABELA(oARQAUX, nome);
    oARQAUX.SetExclusive(true);
    oARQAUX.Open();
    lembraTemporarios();
    JA_CRIOU_TABELA_AUXILIAR = true;
    return true;
}

void TauxTABELA::CRIAINDICE(const std::string& KINDICEAUX, const std::string& KNOMEINDICEINF) {
    NOMEINDICE = KNOMEINDICEINF;
    std::string usado;
    OBR_CRIAINDICE(oARQAUX, KINDICEAUX, NOMEINDICE, usado);
    if (NOMEINDICE.empty()) indicesTemporarios_.push_back(JuntaCaminho(oARQAUX.DatabaseName(), usado));
}

void TauxTABELA::RECRIAINDICE(const std::string& KINDICEAUX) {
    std::string usado;
    OBR_CRIAINDICE(oARQAUX, KINDICEAUX, "", usado);
    indicesTemporarios_.push_back(JuntaCaminho(oARQAUX.DatabaseName(), usado));
}

void TauxTABELA::LIMPAAUXILIAR() { oARQAUX.Zap(); }

bool TauxTABELA::VERIFICA_SE_TEM_REGISTROS() {
    if (oARQAUX.RecordCount() > 0) {
        oARQAUX.First();
        return true;
    }
    GERAL().MENSAGEM("NENHUM REGISTRO DISPONÍVEL PARA A SOLICITAÇÃO EFETUADA."_ansi, somERRO);
    return false;
}
