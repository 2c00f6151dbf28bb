#include "tabela/tabela.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <system_error>
#include <unordered_map>

#include "core/texto/ansi.h"
#include "tabela/dbf_cabecalho.h"
#include "tabela/expressao_chave.h"
#include "tabela/indice_memoria.h"
#include "tabela/nome_arquivo.h"
#include "tabela/reescrita_dbf.h"
#include "tabela/trava.h"

#include "tabela/tabela_implementacao.h"

namespace {
constexpr std::uint64_t kDeslocamentoVersao = 24;
std::uint32_t le32(const unsigned char* b) {
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}
}  // namespace

namespace {

std::string comExtensao(const std::string& nome) {
    const auto barra = nome.find_last_of('/');
    const auto ponto = nome.find_last_of('.');
    if (ponto != std::string::npos && (barra == std::string::npos || ponto > barra)) return nome;
    return nome + ".DBF";
}

std::string apara(const std::string& s) {
    std::size_t i = 0, f = s.size();
    while (i < f && s[i] == ' ') ++i;
    while (f > i && s[f - 1] == ' ') --f;
    return s.substr(i, f - i);
}

}  // namespace

Tabela::Tabela() : imp_(std::make_unique<Implementacao>()) {}

Tabela::~Tabela() {
    try {
        Close();
    } catch (...) {
    }
}

void Tabela::SetDatabaseName(const std::string& diretorio) {
    if (Active()) Close();
    diretorio_ = diretorio.empty() ? "." : diretorio;
}

void Tabela::SetTableName(const std::string& nome) {
    if (Active()) Close();
    nomeTabela_ = nome;
}

void Tabela::SetExclusive(bool exclusiva) {
    if (Active())
        throw ErroTabela("NÃO É POSSÍVEL MUDAR O MODO DE ABERTURA DA TABELA ABERTA "_ansi +
                         imp_->caminho);
    exclusiva_ = exclusiva;
}

void Tabela::AddIndexDef(const std::string& tag, const std::string& expressao,
                         const std::string& arquivo) {
    const std::string nome = EmMaiusculas(apara(tag));
    for (auto& d : indices_)
        if (d.tag == nome) {
            d.expressao = expressao;
            d.arquivo = arquivo;
            return;
        }
    indices_.push_back({nome, expressao, arquivo});
}

std::string Tabela::CaminhoArquivo() const {
    if (Active()) return imp_->caminho;
    return ResolveNoDiretorio(diretorio_, comExtensao(nomeTabela_));
}

const DefCampo& Tabela::FieldDef(int numero) const {
    if (numero < 1 || numero > FieldCount())
        throw ErroTabela("CAMPO NÚMERO "_ansi + std::to_string(numero) + " INEXISTENTE NA TABELA " +
                         imp_->caminho);
    return defs_[static_cast<std::size_t>(numero - 1)];
}

char* Tabela::BufferParaEscrita() {
    if (estado_ != EstadoTabela::Editando && estado_ != EstadoTabela::Inserindo)
        throw ErroTabela("A TABELA "_ansi + imp_->caminho + " NÃO ESTÁ EM MODO DE EDIÇÃO"_ansi);
    return buffer_.data();
}

// ---------------------------------------------------------------- abertura

void Tabela::Open() {
    if (Active()) return;
    if (nomeTabela_.empty()) throw ErroTabela("NOME DA TABELA NÃO INFORMADO"_ansi);
    Implementacao& m = *imp_;
    m = Implementacao{};
    m.caminho = ResolveNoDiretorio(diretorio_, comExtensao(nomeTabela_));
    somenteLeitura_ = false;
    int fd = ::open(m.caminho.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0 && (errno == EACCES || errno == EROFS)) {
        fd = ::open(m.caminho.c_str(), O_RDONLY | O_CLOEXEC);
        somenteLeitura_ = fd >= 0;
    }
    if (fd < 0) {
        if (errno == ENOENT) throw ErroTabela("TABELA NÃO ENCONTRADA: "_ansi + m.caminho);
        throw ErroTabela("NÃO FOI POSSÍVEL ABRIR A TABELA "_ansi + m.caminho + ": " +
                         std::strerror(errno));
    }
    try {
        if (exclusiva_) {
            if (somenteLeitura_)
                throw ErroTabela("A TABELA "_ansi + m.caminho +
                                 " É SOMENTE PARA LEITURA E NÃO PODE SER ABERTA EM MODO EXCLUSIVO"_ansi);
            if (!TentaTrava(fd, kTravaAbertura, 1, TipoTrava::Escrita))
                throw ErroTabelaEmUso("A TABELA "_ansi + m.caminho +
                                      " ESTÁ EM USO POR OUTRO PROCESSO; NÃO PODE SER ABERTA EM MODO EXCLUSIVO"_ansi);
        } else if (!TentaTrava(fd, kTravaAbertura, 1, TipoTrava::Leitura)) {
            throw ErroTabelaEmUso("A TABELA "_ansi + m.caminho +
                                  " ESTÁ ABERTA EM MODO EXCLUSIVO POR OUTRO PROCESSO"_ansi);
        }
        m.cab = LeCabecalhoDbf(fd, m.caminho);
        // Opening a table cut short would lose the missing records without
        // a word: the operator is told, and the reorganisation repairs it.
        ConfereDbfCompleto(fd, m.cab, m.caminho);
    } catch (const std::system_error& e) {
        ::close(fd);
        throw ErroTabela("ERRO AO TRAVAR A TABELA "_ansi + m.caminho + ": " + e.what());
    } catch (...) {
        ::close(fd);
        throw;
    }
    m.fd = fd;
    defs_ = m.cab.campos;
    campos_.clear();
    for (std::size_t i = 0; i < defs_.size(); ++i) {
        campos_.push_back(std::make_unique<Campo>(*this, static_cast<int>(i)));
        m.porNome.emplace(EmMaiusculas(defs_[i].nome), static_cast<int>(i));
    }
    buffer_.assign(m.cab.tamanhoRegistro, ' ');
    estado_ = EstadoTabela::Navegando;
    m.conhecidos = 0;
    try {
        if (exclusiva_) limpaTemporarios();
        leIndicesDoDisco();
        sincroniza();
        m.alteradoFora = false;
        if (!tagAtual_.empty()) ativaTag(tagAtual_);
        if (m.expressao) {
            recAtual_ = 0;
            eof_ = bof_ = false;
            m.primeiroAdiado = true;
        } else {
            First();
        }
    } catch (...) {
        Close();
        throw;
    }
}

void Tabela::Close() {
    if (!Active()) return;
    Implementacao& m = *imp_;
    if (estado_ == EstadoTabela::Editando || estado_ == EstadoTabela::Inserindo) Cancel();
    descarregaLote();
    if ((m.escreveu || m.indicesPendentes) && !somenteLeitura_) {
        // What other processes did since we last looked decides too.
        try {
            sincroniza();
        } catch (const ErroTabela&) {
            m.indiceEmDia = false;
        }
        atualizaArquivosIndice();
    }
    if (m.escreveu && !somenteLeitura_) {
        unsigned char data[3];
        DataDeAtualizacaoDbf(data);
        ::pwrite(m.fd, data, 3, 1);
    }
    ::close(m.fd);
    m = Implementacao{};
    estado_ = EstadoTabela::Inativa;
    campos_.clear();
    defs_.clear();
    buffer_.clear();
    recAtual_ = 0;
    eof_ = bof_ = true;
}

// Brings in records that other processes appended since we last looked.
void Tabela::sincroniza() {
    Implementacao& m = *imp_;
    unsigned char b[24];
    LeDbf(m.fd, b, sizeof b, kDbfDeslocamentoContagem, m.caminho);
    std::uint32_t total = le32(b);
    const std::uint32_t versao = le32(b + (kDeslocamentoVersao - kDbfDeslocamentoContagem));
    if (versao != m.versao) {
        m.alteradoFora = true;
        m.indiceEmDia = false;
        m.versao = versao;
    }
    if (total != m.conhecidos) m.indiceEmDia = false;
    if (total <= m.conhecidos) {
        if (total < m.conhecidos) recarregaTudo(total);  // zapped or packed elsewhere
        return;
    }
    struct stat st {};
    if (::fstat(m.fd, &st) == 0) {
        const std::uint64_t cabem =
            st.st_size > m.cab.tamanhoCabecalho
                ? (static_cast<std::uint64_t>(st.st_size) - m.cab.tamanhoCabecalho) / m.cab.tamanhoRegistro
                : 0;
        if (total > cabem) total = static_cast<std::uint32_t>(cabem);
    }
    if (total <= m.conhecidos) return;
    const std::uint32_t primeiro = m.conhecidos + 1;
    if (m.indice || m.vivos >= 0) {
        varre(primeiro, total, [&](std::uint32_t rec, const char* r) {
            if (r[0] == '*') return;
            if (m.vivos >= 0) ++m.vivos;
            if (m.indice) {
                m.expressao->Calcula(r, m.indice->ChaveParaEscrita(rec));
                m.indice->Insere(rec);
            }
        });
    }
    m.conhecidos = total;
}

// After an edit or deletion reached the disk: tell other processes.
void Tabela::incrementaVersao() {
    Implementacao& m = *imp_;
    // The record is already on disk: this wait is told, never abandoned.
    if (!exclusiva_)
        TravaEsperando(m.fd, kTravaCabecalho, 1, TipoTrava::Escrita, textoCabecalhoEmUso(m.caminho), false);
    try {
        unsigned char b[4];
        LeDbf(m.fd, b, 4, kDeslocamentoVersao, m.caminho);
        const std::uint32_t v = le32(b);
        if (v != m.versao) {
            m.alteradoFora = true;
            m.indiceEmDia = false;
        }
        m.versao = v + 1;
        for (int i = 0; i < 4; ++i) b[i] = static_cast<unsigned char>(m.versao >> (8 * i));
        GravaDbf(m.fd, b, 4, kDeslocamentoVersao, m.caminho);
    } catch (...) {
        if (!exclusiva_) SoltaTrava(m.fd, kTravaCabecalho, 1);
        throw;
    }
    if (!exclusiva_) SoltaTrava(m.fd, kTravaCabecalho, 1);
}

void Tabela::revalida() {
    Implementacao& m = *imp_;
    if (!m.alteradoFora) return;
    m.alteradoFora = false;
    m.vivos = -1;
    m.indice.reset();  // built again when next needed
    m.posValida = false;
}

void Tabela::recarregaTudo(std::uint32_t total) {
    Implementacao& m = *imp_;
    m.conhecidos = total;
    m.vivos = -1;
    m.indice.reset();
    m.posValida = false;
}

void Tabela::varre(std::uint32_t de, std::uint32_t ate,
                   const std::function<void(std::uint32_t, const char*)>& f) {
    Implementacao& m = *imp_;
    const std::size_t tam = m.cab.tamanhoRegistro;
    const std::uint32_t porBloco = static_cast<std::uint32_t>(std::max<std::size_t>(1, (1u << 20) / tam));
    std::string bloco;
    for (std::uint32_t r = de; r <= ate;) {
        const std::uint32_t n = std::min(porBloco, ate - r + 1);
        bloco.resize(n * tam);
        LeDbf(m.fd, bloco.data(), bloco.size(),
               m.cab.tamanhoCabecalho + static_cast<std::uint64_t>(r - 1) * tam, m.caminho);
        for (std::uint32_t i = 0; i < n; ++i) f(r + i, bloco.data() + i * tam);
        r += n;
    }
}

void Tabela::construiIndice() {
    Implementacao& m = *imp_;
    m.indice = std::make_unique<IndiceMemoria>(m.expressao->Tamanho());
    std::vector<std::uint32_t> vivos;
    vivos.reserve(m.conhecidos);
    if (m.conhecidos > 0) m.indice->ChaveParaEscrita(m.conhecidos);
    varre(1, m.conhecidos, [&](std::uint32_t rec, const char* r) {
        if (r[0] == '*') return;
        m.expressao->Calcula(r, m.indice->ChaveParaEscrita(rec));
        vivos.push_back(rec);
    });
    m.vivos = static_cast<long>(vivos.size());
    m.indice->Constroi(std::move(vivos));
    m.posValida = false;
}

const DefIndice* Tabela::achaTag(const std::string& tag) const {
    const std::string nome = EmMaiusculas(apara(tag));
    for (const auto& d : indices_)
        if (d.tag == nome) return &d;
    return nullptr;
}

void Tabela::ativaTag(const std::string& tag) {
    Implementacao& m = *imp_;
    m.indice.reset();
    m.expressao.reset();
    m.posValida = false;
    // Edits are checked against the keys of the order in use alone.
    m.indiceEmDia = false;
    if (tag.empty()) return;
    const DefIndice* d = achaTag(tag);
    if (!d)
        throw ErroTabela("ÍNDICE "_ansi + tag + " NÃO ENCONTRADO PARA A TABELA "_ansi + m.caminho);
    m.expressao = ExpressaoChave::Compila(d->expressao, defs_);
}

IndiceMemoria* Tabela::ordem() {
    Implementacao& m = *imp_;
    if (!m.expressao) return nullptr;
    if (!m.indice) {
        construiIndice();
        if (!m.indiceConferido) {
            m.indiceConferido = true;
            confereIndiceEstrutural();
        }
    }
    return m.indice.get();
}

void Tabela::posicionaAdiado() const {
    // Only reads of the cursor come here; the object itself is never const
    // where it is open.
    if (imp_->primeiroAdiado && estado_ == EstadoTabela::Navegando) const_cast<Tabela*>(this)->First();
}

void Tabela::SetIndexName(const std::string& tag) {
    if (Active() && (estado_ == EstadoTabela::Editando || estado_ == EstadoTabela::Inserindo))
        Post();
    tagAtual_ = EmMaiusculas(apara(tag));
    if (Active()) {
        ativaTag(tagAtual_);
        First();
    }
}

// ---------------------------------------------------------------- leitura

// Reads record `rec` into the buffer; false when it is flagged as deleted.
bool Tabela::carrega(std::uint32_t rec) {
    Implementacao& m = *imp_;
    LeDbf(m.fd, buffer_.data(), buffer_.size(),
           m.cab.tamanhoCabecalho + static_cast<std::uint64_t>(rec - 1) * m.cab.tamanhoRegistro,
           m.caminho);
    return buffer_[0] != '*';
}

// Loads the record at an index position and checks it against what the
// index believes; another process may have deleted it or changed its key.
// On mismatch the index is mended, `it` moves past the old position and the
// answer is false.
bool Tabela::carregaPosicao(IndiceMemoria::Iter& it) {
    Implementacao& m = *imp_;
    const std::uint32_t rec = *it;
    const bool vivo = carrega(rec);
    std::string chave(m.indice->TamanhoChave(), ' ');
    if (vivo) m.expressao->Calcula(buffer_.data(), chave.data());
    if (vivo && std::memcmp(chave.data(), m.indice->Chave(rec), chave.size()) == 0) return true;
    auto proximo = std::next(it);
    m.indice->Remove(rec);
    if (vivo) {
        std::memcpy(m.indice->ChaveParaEscrita(rec), chave.data(), chave.size());
        m.indice->Insere(rec);
    } else if (m.vivos > 0) {
        --m.vivos;
    }
    it = proximo;
    return false;
}

void Tabela::exigeNavegacao() const {
    if (!Active()) throw ErroTabela("TABELA "_ansi + nomeTabela_ + " NÃO ESTÁ ABERTA"_ansi);
}

// Every move of the cursor: the table must be open, a pending edit is
// posted, and other processes' appends are taken in first.
void Tabela::preparaMovimento() {
    exigeNavegacao();
    fimDeNavegacao();
    escreveInclusoesDoLote();
    imp_->primeiroAdiado = false;
    sincroniza();
}

void Tabela::fimDeNavegacao() {
    if (estado_ == EstadoTabela::Editando || estado_ == EstadoTabela::Inserindo) Post();
}

void Tabela::semRegistro() {
    recAtual_ = 0;
    imp_->posValida = false;
    std::fill(buffer_.begin(), buffer_.end(), ' ');
}

// Moves to the first live record at or after `it` in index order.
bool Tabela::avancaIndice(IndiceMemoria::Iter it) {
    Implementacao& m = *imp_;
    while (it != m.indice->Fim() && !carregaPosicao(it)) {
    }
    if (it == m.indice->Fim()) return false;
    m.pos = it;
    m.posValida = true;
    recAtual_ = *it;
    return true;
}

// Moves to the first live record from record number `de` in physical order.
bool Tabela::avancaFisico(std::uint32_t de) {
    for (std::uint32_t r = de; r <= imp_->conhecidos; ++r)
        if (carrega(r)) {
            recAtual_ = r;
            return true;
        }
    return false;
}

void Tabela::First() {
    preparaMovimento();
    revalida();
    bof_ = true;
    IndiceMemoria* indice = ordem();
    eof_ = !(indice ? avancaIndice(indice->Inicio()) : avancaFisico(1));
    if (eof_) semRegistro();
}

void Tabela::Next() {
    posicionaAdiado();
    preparaMovimento();
    Implementacao& m = *imp_;
    if (recAtual_ == 0) {
        eof_ = true;
        return;
    }
    bof_ = false;
    const std::uint32_t atual = recAtual_;
    bool achou;
    if (ordem()) {
        IndiceMemoria::Iter it;
        if (m.posValida && m.pos != m.indice->Fim() && *m.pos == atual) {
            it = std::next(m.pos);
        } else {
            // The current record left the order (deleted or moved): resume
            // after its last known key.
            std::string chave(m.indice->Chave(atual), m.indice->TamanhoChave());
            it = m.indice->LimiteInferior(chave);
            while (it != m.indice->Fim() &&
                   std::memcmp(m.indice->Chave(*it), chave.data(), chave.size()) == 0 && *it <= atual)
                ++it;
        }
        achou = avancaIndice(it);
    } else {
        achou = avancaFisico(atual + 1);
    }
    if (achou) return;
    eof_ = true;
    if (!carrega(atual)) semRegistro();
}

void Tabela::Last() {
    preparaMovimento();
    Implementacao& m = *imp_;
    eof_ = true;
    if (ordem()) {
        while (m.indice->Quantidade() > 0) {
            auto it = std::prev(m.indice->Fim());
            if (carregaPosicao(it)) {
                m.pos = it;
                m.posValida = true;
                recAtual_ = *it;
                bof_ = false;
                return;
            }
        }
    } else {
        for (std::uint32_t r = m.conhecidos; r >= 1; --r)
            if (carrega(r)) {
                recAtual_ = r;
                bof_ = false;
                return;
            }
    }
    semRegistro();
    bof_ = true;
}

void Tabela::Prior() {
    posicionaAdiado();
    preparaMovimento();
    Implementacao& m = *imp_;
    if (recAtual_ == 0) {
        bof_ = true;
        return;
    }
    eof_ = false;
    const std::uint32_t atual = recAtual_;
    if (ordem()) {
        IndiceMemoria::Iter it = m.indice->Acha(atual);
        while (it != m.indice->Inicio()) {
            auto anterior = std::prev(it);
            auto teste = anterior;
            if (carregaPosicao(teste)) {
                m.pos = anterior;
                m.posValida = true;
                recAtual_ = *anterior;
                return;
            }
            it = m.indice->Acha(atual);
            if (it == m.indice->Fim()) break;
        }
    } else {
        for (std::uint32_t r = atual; r > 1; --r)
            if (carrega(r - 1)) {
                recAtual_ = r - 1;
                return;
            }
    }
    bof_ = true;
    if (!carrega(atual)) semRegistro();
}

long Tabela::RecordCount() {
    exigeNavegacao();
    escreveInclusoesDoLote();
    sincroniza();
    Implementacao& m = *imp_;
    if (m.vivos < 0) {
        long n = 0;
        varre(1, m.conhecidos, [&](std::uint32_t, const char* r) { n += r[0] != '*'; });
        m.vivos = n;
    }
    return m.vivos;
}

long Tabela::PhysicalRecordCount() {
    exigeNavegacao();
    escreveInclusoesDoLote();
    sincroniza();
    return static_cast<long>(imp_->conhecidos);
}

bool Tabela::IsEmpty() {
    exigeNavegacao();
    posicionaAdiado();
    if (recAtual_ != 0 && !eof_) return false;
    return RecordCount() == 0;
}

Campo* Tabela::FindField(const std::string& nome) {
    auto it = imp_->porNome.find(EmMaiusculas(apara(nome)));
    if (it == imp_->porNome.end()) return nullptr;
    return campos_[static_cast<std::size_t>(it->second)].get();
}

Campo& Tabela::FieldByName(const std::string& nome) {
    exigeNavegacao();
    Campo* c = FindField(nome);
    if (!c)
        throw ErroTabela("CAMPO "_ansi + nome + " NÃO ENCONTRADO NA TABELA "_ansi + imp_->caminho);
    return *c;
}

// ---------------------------------------------------------------- busca

namespace {

bool confere(const Campo& c, const ValorBusca& v) {
    const auto* texto = std::get_if<std::string>(&v.v);
    switch (c.DataType()) {
        case 'N':
        case 'F':
            return c.AsFloat() == (texto ? dbf_valor::LeNumero(*texto) : std::get<double>(v.v));
        case 'D':
            if (texto) return c.AsString() == apara(*texto);
            return c.AsDate() == static_cast<TData>(std::get<double>(v.v));
        default: {
            if (!texto) return false;
            std::string alvo = *texto;
            while (!alvo.empty() && alvo.back() == ' ') alvo.pop_back();
            return c.AsString() == alvo;
        }
    }
}

}  // namespace

std::vector<Campo*> Tabela::camposDaBusca(const std::string& campos) {
    std::vector<Campo*> lista;
    std::size_t ini = 0;
    while (ini <= campos.size()) {
        std::size_t fim = campos.find(';', ini);
        if (fim == std::string::npos) fim = campos.size();
        lista.push_back(&FieldByName(campos.substr(ini, fim - ini)));
        ini = fim + 1;
    }
    return lista;
}

void Tabela::confereQuantidadeDaBusca(const std::vector<Campo*>& lista,
                                      const std::vector<ValorBusca>& valores) const {
    if (lista.size() != valores.size())
        throw ErroTabela("LOCATE COM "_ansi + std::to_string(lista.size()) + " CAMPOS E " +
                         std::to_string(valores.size()) + " VALORES NA TABELA " + imp_->caminho);
}

bool Tabela::combinaBusca(const std::vector<Campo*>& lista, const std::vector<ValorBusca>& valores) const {
    for (std::size_t i = 0; i < lista.size(); ++i)
        if (!confere(*lista[i], valores[i])) return false;
    return true;
}

// The start of the current tag's keys that a record holding `valores` in
// the fields of `lista` has; false when the fields are no prefix of the key
// (or no record can hold a value), and the search must walk instead.
bool Tabela::chaveDaBusca(const std::vector<Campo*>& lista, const std::vector<ValorBusca>& valores,
                          std::string& chave) {
    Implementacao& m = *imp_;
    const auto& pecas = m.expressao->Pecas();
    if (lista.size() > pecas.size()) return false;
    for (std::size_t i = 0; i < lista.size(); ++i)
        if (&lista[i]->Def() != &defs_[static_cast<std::size_t>(pecas[i].campo)]) return false;
    chave.clear();
    for (std::size_t i = 0; i < lista.size(); ++i)
        if (!m.expressao->ParteDaChave(i, valores[i].v, chave)) return false;
    return true;
}

bool Tabela::Locate(const std::string& campos, const std::vector<ValorBusca>& valores) {
    preparaMovimento();
    revalida();
    Implementacao& m = *imp_;
    const std::vector<Campo*> lista = camposDaBusca(campos);
    confereQuantidadeDaBusca(lista, valores);
    auto combina = [&] { return combinaBusca(lista, valores); };
    const std::uint32_t anterior = recAtual_;
    auto achou = [&](std::uint32_t rec) {
        recAtual_ = rec;
        eof_ = bof_ = false;
        return true;
    };
    auto achouEm = [&](IndiceMemoria::Iter it) {
        m.pos = it;
        m.posValida = true;
        return achou(*it);
    };

    if (ordem()) {
        std::string chave;
        if (chaveDaBusca(lista, valores, chave)) {
            auto it = m.indice->LimiteInferior(chave);
            while (it != m.indice->Fim() &&
                   std::memcmp(m.indice->Chave(*it), chave.data(), chave.size()) == 0) {
                if (!carregaPosicao(it)) continue;
                if (combina()) return achouEm(it);
                ++it;
            }
            if (anterior && !carrega(anterior)) semRegistro();
            return false;
        }
        for (auto it = m.indice->Inicio(); it != m.indice->Fim();) {
            if (!carregaPosicao(it)) continue;
            if (combina()) return achouEm(it);
            ++it;
        }
    } else {
        for (std::uint32_t r = 1; r <= m.conhecidos; ++r)
            if (carrega(r) && combina()) return achou(r);
    }
    if (anterior && !carrega(anterior)) semRegistro();
    return false;
}

// ---------------------------------------------------------------- escrita

void Tabela::exigeEscrita() const {
    if (somenteLeitura_)
        throw ErroTabela("A TABELA "_ansi + imp_->caminho +
                         " É SOMENTE PARA LEITURA; NÃO PODE SER ALTERADA"_ansi);
}

void Tabela::Append() {
    exigeNavegacao();
    exigeEscrita();
    fimDeNavegacao();
    std::fill(buffer_.begin(), buffer_.end(), ' ');
    estado_ = EstadoTabela::Inserindo;
}

void Tabela::Edit() {
    exigeNavegacao();
    if (estado_ == EstadoTabela::Editando || estado_ == EstadoTabela::Inserindo) return;
    exigeEscrita();
    escreveInclusoesDoLote();
    posicionaAdiado();
    if (recAtual_ == 0) {
        Append();
        return;
    }
    Implementacao& m = *imp_;
    if (!exclusiva_) {
        if (!TentaTrava(m.fd, PosicaoDaTravaDoRegistro(recAtual_), 1, TipoTrava::Escrita))
            throw ErroRegistroBloqueado("O REGISTRO "_ansi + std::to_string(recAtual_) +
                                        " DA TABELA " + m.caminho +
                                        " ESTÁ EM USO POR OUTRO PROCESSO"_ansi);
        m.travouRegistro = true;
    }
    // Edit what is on disk now, not what was read earlier: another process
    // may have changed the record meanwhile.
    if (!carrega(recAtual_)) {
        soltaRegistro();
        throw ErroTabela("O REGISTRO "_ansi + std::to_string(recAtual_) + " DA TABELA " + m.caminho +
                         " FOI EXCLUÍDO POR OUTRO PROCESSO"_ansi);
    }
    if (m.indice) m.chaveAnterior.assign(m.indice->Chave(recAtual_), m.indice->TamanhoChave());
    estado_ = EstadoTabela::Editando;
}

void Tabela::soltaRegistro() {
    Implementacao& m = *imp_;
    if (m.travouRegistro) {
        SoltaTrava(m.fd, PosicaoDaTravaDoRegistro(recAtual_), 1);
        m.travouRegistro = false;
    }
}

void Tabela::Post() {
    exigeNavegacao();
    Implementacao& m = *imp_;
    const std::size_t tam = m.cab.tamanhoRegistro;
    buffer_[0] = ' ';
    if (estado_ == EstadoTabela::Inserindo) {
        if (m.emLote) {
            marcaPendenciaDoLote();
            m.lote.append(buffer_);
            ++m.noLote;
            recAtual_ = 0;
            m.primeiroAdiado = false;
            estado_ = EstadoTabela::Navegando;
            eof_ = bof_ = false;
            descarregaLoteVencido();
            return;
        }
        gravaNoFim(buffer_.data(), 1);
        m.primeiroAdiado = false;
        eof_ = bof_ = false;
        estado_ = EstadoTabela::Navegando;
        return;
    }
    if (estado_ != EstadoTabela::Editando) return;
    try {
        GravaDbf(m.fd, buffer_.data(), tam,
                  m.cab.tamanhoCabecalho + static_cast<std::uint64_t>(recAtual_ - 1) * tam, m.caminho);
    } catch (...) {
        Cancel();
        throw;
    }
    m.escreveu = true;
    soltaRegistro();
    if (m.emLote) {
        // In a batch the change counter moves once, when the batch is written.
        marcaPendenciaDoLote();
        m.versaoAdiada = true;
    } else {
        incrementaVersao();
    }
    if (!m.indice) m.indiceEmDia = false;
    if (m.indice) {
        std::string nova(m.indice->TamanhoChave(), ' ');
        m.expressao->Calcula(buffer_.data(), nova.data());
        if (nova != m.chaveAnterior) {
            m.indiceEmDia = false;
            m.indice->Remove(recAtual_);
            std::memcpy(m.indice->ChaveParaEscrita(recAtual_), nova.data(), nova.size());
            m.indice->Insere(recAtual_);
        }
        m.pos = m.indice->Acha(recAtual_);
        m.posValida = m.pos != m.indice->Fim();
    }
    estado_ = EstadoTabela::Navegando;
    if (m.emLote) descarregaLoteVencido();
}

// Appended records to the end of the file, after what other processes
// appended: the records and the end mark first, then the count that makes
// them visible, so a crash in between leaves the table as it was. The
// cursor rests on the last of them.
void Tabela::gravaNoFim(const char* registros, std::uint32_t quantos) {
    Implementacao& m = *imp_;
    const std::size_t tam = m.cab.tamanhoRegistro;
    if (!exclusiva_)
        TravaEsperando(m.fd, kTravaCabecalho, 1, TipoTrava::Escrita, textoCabecalhoEmUso(m.caminho), true);
    try {
        sincroniza();
        const std::uint32_t primeiro = m.conhecidos + 1;
        m.escrita.assign(registros, quantos * tam);
        m.escrita.push_back(kDbfFimArquivo);
        GravaDbf(m.fd, m.escrita.data(), m.escrita.size(),
                  m.cab.tamanhoCabecalho + static_cast<std::uint64_t>(primeiro - 1) * tam, m.caminho);
        const std::uint32_t ultimo = primeiro + quantos - 1;
        unsigned char h[7];
        DataDeAtualizacaoDbf(h);
        for (int i = 0; i < 4; ++i) h[3 + i] = static_cast<unsigned char>(ultimo >> (8 * i));
        GravaDbf(m.fd, h, sizeof h, 1, m.caminho);
        m.conhecidos = ultimo;
        m.escreveu = true;
        m.indiceEmDia = false;
        if (m.vivos >= 0) m.vivos += quantos;
        recAtual_ = ultimo;
        if (m.indice) {
            for (std::uint32_t i = 0; i < quantos; ++i) {
                m.expressao->Calcula(registros + i * tam, m.indice->ChaveParaEscrita(primeiro + i));
                m.indice->Insere(primeiro + i);
            }
            m.pos = m.indice->Acha(ultimo);
            m.posValida = true;
        }
    } catch (...) {
        if (!exclusiva_) SoltaTrava(m.fd, kTravaCabecalho, 1);
        throw;
    }
    if (!exclusiva_) SoltaTrava(m.fd, kTravaCabecalho, 1);
}

void Tabela::IniciaLote() {
    exigeNavegacao();
    exigeEscrita();
    imp_->emLote = true;
}

void Tabela::EncerraLote() {
    if (!Active()) return;
    fimDeNavegacao();
    imp_->emLote = false;
    descarregaLote();
}

// The batch's clock starts with the first thing it keeps back.
void Tabela::marcaPendenciaDoLote() {
    Implementacao& m = *imp_;
    if (m.noLote == 0 && !m.versaoAdiada) m.inicioLote = std::chrono::steady_clock::now();
}

// A batch that is full, or has kept something back for kLoteMs, is written.
void Tabela::descarregaLoteVencido() {
    Implementacao& m = *imp_;
    if (m.noLote >= kLoteRegistros ||
        std::chrono::steady_clock::now() - m.inicioLote >= std::chrono::milliseconds(kLoteMs))
        descarregaLote();
}

// The appended records of the batch, so that this object's own reads and
// moves find them.
void Tabela::escreveInclusoesDoLote() {
    Implementacao& m = *imp_;
    if (m.noLote == 0) return;
    // Taken out first: a write that fails drops the batch, none of which
    // was counted, rather than writing it twice.
    std::string lote;
    lote.swap(m.lote);
    const std::uint32_t quantos = m.noLote;
    m.noLote = 0;
    gravaNoFim(lote.data(), quantos);
    lote.swap(m.lote);
    m.lote.clear();
}

// All the batch holds: its appended records, and the change counter of its
// edits.
void Tabela::descarregaLote() {
    Implementacao& m = *imp_;
    escreveInclusoesDoLote();
    if (m.versaoAdiada) {
        m.versaoAdiada = false;
        incrementaVersao();
    }
}

void Tabela::Cancel() {
    if (estado_ != EstadoTabela::Editando && estado_ != EstadoTabela::Inserindo) return;
    const bool inserindo = estado_ == EstadoTabela::Inserindo;
    soltaRegistro();
    estado_ = EstadoTabela::Navegando;
    if (recAtual_ != 0 && !carrega(recAtual_)) semRegistro();
    if (inserindo && recAtual_ == 0 && !imp_->primeiroAdiado) eof_ = bof_ = true;
}

void Tabela::Delete() {
    exigeNavegacao();
    exigeEscrita();
    Implementacao& m = *imp_;
    if (estado_ == EstadoTabela::Inserindo) {
        Cancel();
        return;
    }
    escreveInclusoesDoLote();
    posicionaAdiado();
    if (recAtual_ == 0)
        throw ErroTabela("NENHUM REGISTRO PARA EXCLUIR NA TABELA "_ansi + m.caminho);
    if (estado_ != EstadoTabela::Editando && !exclusiva_) {
        if (!TentaTrava(m.fd, PosicaoDaTravaDoRegistro(recAtual_), 1, TipoTrava::Escrita))
            throw ErroRegistroBloqueado("O REGISTRO "_ansi + std::to_string(recAtual_) +
                                        " DA TABELA " + m.caminho +
                                        " ESTÁ EM USO POR OUTRO PROCESSO"_ansi);
        m.travouRegistro = true;
    }
    const char marca = '*';
    try {
        GravaDbf(m.fd, &marca, 1,
                  m.cab.tamanhoCabecalho +
                      static_cast<std::uint64_t>(recAtual_ - 1) * m.cab.tamanhoRegistro,
                  m.caminho);
    } catch (...) {
        soltaRegistro();
        estado_ = EstadoTabela::Navegando;
        throw;
    }
    m.escreveu = true;
    m.indiceEmDia = false;
    soltaRegistro();
    incrementaVersao();
    estado_ = EstadoTabela::Navegando;
    if (m.vivos > 0) --m.vivos;
    // The cursor moves to the next record, as loops that delete while
    // walking expect; past the last one it rests on the new last record with
    // the end flag set.
    const std::uint32_t excluido = recAtual_;
    Next();
    if (m.indice) m.indice->Remove(excluido);
    if (eof_) Last();
}

// ---------------------------------------------------------------- estrutura

void Tabela::exigeExclusiva(const char* operacao) const {
    exigeNavegacao();
    exigeEscrita();
    if (!exclusiva_)
        throw ErroTabela(std::string(operacao) + " EXIGE A TABELA " + imp_->caminho +
                         " ABERTA EM MODO EXCLUSIVO");
}

void Tabela::reescreve(bool manterRegistros) {
    Implementacao& m = *imp_;
    fimDeNavegacao();
    descarregaLote();
    sincroniza();
    std::uint32_t rec = 0;
    const std::uint32_t total = manterRegistros ? m.conhecidos : 0;
    const std::size_t tam = m.cab.tamanhoRegistro;
    std::string bloco;
    std::uint32_t noBloco = 0, inicioBloco = 1;
    const int novo = ReescreveDbf(m.caminho, m.cab, [&](std::string& registro) {
        while (rec < total) {
            ++rec;
            if (rec >= inicioBloco + noBloco) {
                inicioBloco = rec;
                noBloco = std::min<std::uint32_t>(total - rec + 1,
                                                  static_cast<std::uint32_t>(std::max<std::size_t>(1, (1u << 20) / tam)));
                bloco.resize(noBloco * tam);
                LeDbf(m.fd, bloco.data(), bloco.size(),
                       m.cab.tamanhoCabecalho + static_cast<std::uint64_t>(rec - 1) * tam, m.caminho);
            }
            const char* r = bloco.data() + (rec - inicioBloco) * tam;
            if (r[0] == '*') continue;
            registro.assign(r, tam);
            return true;
        }
        return false;
    });
    ::close(m.fd);
    m.fd = novo;
    m.cab = LeCabecalhoDbf(novo, m.caminho);
    m.versao = 0;
    m.alteradoFora = false;
    m.escreveu = false;
    m.conhecidos = 0;
    m.vivos = -1;
    if (m.indice) m.indice.reset();
    sincroniza();
    if (m.expressao) construiIndice();
    atualizaArquivosIndice();
    First();
}

void Tabela::Pack() {
    exigeExclusiva("PACK");
    reescreve(true);
}

void Tabela::Zap() {
    exigeExclusiva("ZAP");
    reescreve(false);
}

void Tabela::CreateIndex(const std::string& arquivoIndice, const std::string& tag,
                         const std::string& expressao) {
    exigeNavegacao();
    fimDeNavegacao();
    escreveInclusoesDoLote();
    exigeEscrita();
    ExpressaoChave::Compila(expressao, defs_);  // refuse what cannot be evaluated
    AddIndexDef(tag, expressao, arquivoIndice);
    escreveArquivoIndice(arquivoIndice);
    if (EmMaiusculas(apara(tag)) == tagAtual_) {
        ativaTag(tagAtual_);
        First();
    }
}

void Tabela::CopyTableStructure(const std::string& caminhoNovo) const {
    exigeNavegacao();
    CriaTabela(caminhoNovo, defs_, true);
}
