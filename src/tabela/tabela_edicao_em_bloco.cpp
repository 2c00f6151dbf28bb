// Many searches each followed by an edit of the record found, done in blocks
// of records in file order: one lock per run of neighbouring records, one
// read per stretch of the file, one write per run of changed records. Each
// record is still locked while it is read, changed and written, as Edit and
// Post do it one at a time, so other processes (and other xBase programs,
// for which a range of record bytes is that many record locks) see nothing
// else; only fewer system calls.

#include <algorithm>
#include <cstring>

#include "core/texto/ansi.h"
#include "tabela/tabela_implementacao.h"
#include "tabela/trava.h"

namespace {

// A block reads at most about this much of the file, gaps included.
constexpr std::size_t kBytesDoBloco = 1u << 20;
// Records closer than this are read together, the bytes between them too:
// cheaper than another read.
constexpr std::size_t kFolgaDeLeitura = 8192;

}  // namespace

struct Tabela::BlocoDeEdicao {
    BlocoDeEdicao(const std::vector<Campo*>& l,
                  const std::function<void(std::size_t, std::vector<ValorBusca>&)>& va,
                  const std::function<void(std::size_t)>& a, std::vector<Localizado>& r)
        : lista(l), valores(va), altera(a), respostas(r) {}

    const std::vector<Campo*>& lista;
    const std::function<void(std::size_t, std::vector<ValorBusca>&)>& valores;
    const std::function<void(std::size_t)>& altera;
    std::vector<Localizado>& respostas;
    // (record, search) of every search that found a record, in file order.
    std::vector<std::pair<std::uint32_t, std::size_t>> alvos;

    // The block: alvos[ini, fim), over `registros` (distinct, ascending).
    std::size_t ini = 0, fim = 0;
    std::vector<std::uint32_t> registros;
    std::vector<std::size_t> primeiraBusca;  // in alvos, per record, plus the end
    std::vector<std::size_t> lugar;          // of each record in `dados`
    std::vector<char> travado;               // by this object
    std::vector<char> mudou;                 // its bytes changed
    std::string dados;

    std::vector<ValorBusca> v;
    std::string chave;
    bool editou = false;  // some search was edited, in this block
    // The record of the last search edited, where the cursor goes.
    bool algumEditado = false;
    std::size_t ultimaBusca = 0;
    std::uint32_t ultimoRegistro = 0;
    std::string ultimoConteudo;
};

std::vector<Tabela::Localizado> Tabela::EditaLocalizados(
    const std::string& campos, std::size_t buscas,
    const std::function<void(std::size_t, std::vector<ValorBusca>&)>& valores,
    const std::function<void(std::size_t)>& altera) {
    preparaMovimento();
    exigeEscrita();
    revalida();
    Implementacao& m = *imp_;
    std::vector<Localizado> respostas(buscas, Localizado::Adiado);
    IndiceMemoria* indice = ordem();
    if (!indice) return respostas;
    const std::vector<Campo*> lista = camposDaBusca(campos);
    BlocoDeEdicao b(lista, valores, altera, respostas);
    // Where each search lands, from the order alone; the records are read
    // (and checked against it) under their locks.
    for (std::size_t i = 0; i < buscas; ++i) {
        b.v.clear();
        valores(i, b.v);
        confereQuantidadeDaBusca(lista, b.v);
        if (!chaveDaBusca(lista, b.v, b.chave)) continue;
        const auto it = indice->LimiteInferior(b.chave);
        if (it == indice->Fim() || std::memcmp(indice->Chave(*it), b.chave.data(), b.chave.size()) != 0)
            respostas[i] = Localizado::Ausente;
        else
            b.alvos.emplace_back(*it, i);
    }
    std::sort(b.alvos.begin(), b.alvos.end());

    // With nothing edited, the cursor stays where it was, as after a
    // Locate that found nothing.
    const std::uint32_t anterior = recAtual_;
    auto volta = [&] {
        recAtual_ = anterior;
        if (anterior == 0 || !carrega(anterior)) semRegistro();
    };
    try {
        for (b.fim = 0; b.fim < b.alvos.size();) {
            b.ini = b.fim;
            editaBloco(b);
            if (!b.editou) continue;
            // Each block is told to other processes as one Post is, or
            // with the batch.
            m.escreveu = true;
            if (m.emLote) {
                marcaPendenciaDoLote();
                m.versaoAdiada = true;
                descarregaLoteVencido();
            } else {
                incrementaVersao();
            }
        }
    } catch (...) {
        // What earlier blocks wrote stays.
        estado_ = EstadoTabela::Navegando;
        try {
            volta();
        } catch (...) {
        }
        throw;
    }
    if (b.algumEditado) {
        recAtual_ = b.ultimoRegistro;
        buffer_ = b.ultimoConteudo;
        m.pos = m.indice->Acha(recAtual_);
        m.posValida = m.pos != m.indice->Fim();
        eof_ = bof_ = false;
    } else {
        volta();
    }
    return respostas;
}

// Takes the block starting at alvos[ini]: its records and where each goes
// in `dados`; then locks, reads, edits, writes and unlocks them.
void Tabela::editaBloco(BlocoDeEdicao& b) {
    const std::size_t tam = imp_->cab.tamanhoRegistro;
    b.registros.clear();
    b.primeiraBusca.clear();
    b.lugar.clear();
    std::size_t bytes = 0;
    for (b.fim = b.ini; b.fim < b.alvos.size(); ++b.fim) {
        const std::uint32_t rec = b.alvos[b.fim].first;
        if (!b.registros.empty() && rec == b.registros.back()) continue;
        std::size_t lugar = bytes;
        if (!b.registros.empty()) {
            const std::size_t distancia = (rec - b.registros.back()) * tam;
            if (distancia - tam <= kFolgaDeLeitura) lugar = b.lugar.back() + distancia;
            if (b.registros.size() >= kLoteRegistros || lugar + tam > kBytesDoBloco) break;
        }
        b.registros.push_back(rec);
        b.primeiraBusca.push_back(b.fim);
        b.lugar.push_back(lugar);
        bytes = lugar + tam;
    }
    b.primeiraBusca.push_back(b.fim);
    b.dados.resize(bytes);
    b.travado.assign(b.registros.size(), 0);
    b.mudou.assign(b.registros.size(), 0);
    b.editou = false;

    struct Solta {
        Tabela& t;
        const BlocoDeEdicao& b;
        ~Solta() {
            if (t.exclusiva_ || b.registros.empty()) return;
            SoltaTrava(t.imp_->fd, PosicaoDaTravaDoRegistro(b.registros.back()),
                       b.registros.back() - b.registros.front() + 1);
        }
    } solta{*this, b};
    travaBloco(b);
    leBloco(b);
    for (std::size_t k = 0; k < b.registros.size(); ++k) {
        if (!b.travado[k]) continue;  // another process holds it: Adiado
        b.mudou[k] = editaNoBloco(b, b.registros[k], b.dados.data() + b.lugar[k], b.primeiraBusca[k],
                                  b.primeiraBusca[k + 1]);
    }
    gravaBloco(b);
}

// Each run of neighbouring records under one lock; a run that another
// process holds part of is taken record by record, and what it holds is
// left out.
void Tabela::travaBloco(BlocoDeEdicao& b) {
    const int fd = imp_->fd;
    const std::size_t n = b.registros.size();
    for (std::size_t k = 0; k < n;) {
        std::size_t j = k;
        while (j + 1 < n && b.registros[j + 1] == b.registros[j] + 1) ++j;
        const std::uint32_t quantos = b.registros[j] - b.registros[k] + 1;
        if (exclusiva_ || TentaTrava(fd, PosicaoDaTravaDoRegistro(b.registros[j]), quantos, TipoTrava::Escrita)) {
            std::fill(b.travado.begin() + static_cast<long>(k), b.travado.begin() + static_cast<long>(j + 1), 1);
        } else if (quantos > 1) {
            for (std::size_t t = k; t <= j; ++t)
                b.travado[t] = TentaTrava(fd, PosicaoDaTravaDoRegistro(b.registros[t]), 1, TipoTrava::Escrita);
        }
        k = j + 1;
    }
}

// One read per stretch of records laid out together in `dados`.
void Tabela::leBloco(BlocoDeEdicao& b) {
    const Implementacao& m = *imp_;
    const std::size_t tam = m.cab.tamanhoRegistro;
    auto posicao = [&](std::uint32_t rec) {
        return m.cab.tamanhoCabecalho + static_cast<std::uint64_t>(rec - 1) * tam;
    };
    const std::size_t n = b.registros.size();
    for (std::size_t k = 0; k < n;) {
        std::size_t j = k;
        while (j + 1 < n && b.lugar[j + 1] - b.lugar[j] == (b.registros[j + 1] - b.registros[j]) * tam) ++j;
        LeDbf(m.fd, b.dados.data() + b.lugar[k], b.lugar[j] + tam - b.lugar[k], posicao(b.registros[k]),
              m.caminho);
        k = j + 1;
    }
}

// The searches alvos[primeiro, fim) of one locked record, read into
// `registro`: each checked against the record as on disk now, then changed
// by `altera` in the table's buffer, as between Edit and Post. True when the
// record's bytes changed.
bool Tabela::editaNoBloco(BlocoDeEdicao& b, std::uint32_t rec, char* registro, std::size_t primeiro,
                          std::size_t fim) {
    Implementacao& m = *imp_;
    const std::size_t tam = m.cab.tamanhoRegistro;
    const std::size_t tamChave = m.indice->TamanhoChave();
    b.chave.resize(tamChave);
    const bool vivo = registro[0] != '*';
    if (vivo) m.expressao->Calcula(registro, b.chave.data());
    if (!vivo || std::memcmp(b.chave.data(), m.indice->Chave(rec), tamChave) != 0) {
        // Deleted or changed by another process since the order was read:
        // the order is mended, and the caller's own Locate finds its way.
        m.indice->Remove(rec);
        m.posValida = false;
        if (vivo) {
            std::memcpy(m.indice->ChaveParaEscrita(rec), b.chave.data(), tamChave);
            m.indice->Insere(rec);
        } else if (m.vivos > 0) {
            --m.vivos;
        }
        return false;
    }
    bool mudou = false;
    for (std::size_t a = primeiro; a < fim; ++a) {
        const std::size_t i = b.alvos[a].second;
        b.v.clear();
        b.valores(i, b.v);
        std::memcpy(buffer_.data(), registro, tam);
        recAtual_ = rec;
        if (!combinaBusca(b.lista, b.v)) continue;
        estado_ = EstadoTabela::Editando;
        b.altera(i);
        estado_ = EstadoTabela::Navegando;
        buffer_[0] = ' ';
        m.expressao->Calcula(buffer_.data(), b.chave.data());
        if (std::memcmp(b.chave.data(), m.indice->Chave(rec), tamChave) != 0)
            throw ErroTabela("A EDIÇÃO EM BLOCO MUDOU A CHAVE DO REGISTRO "_ansi + std::to_string(rec) +
                             " DA TABELA " + m.caminho);
        if (std::memcmp(buffer_.data(), registro, tam) != 0) {
            std::memcpy(registro, buffer_.data(), tam);
            mudou = true;
        }
        b.respostas[i] = Localizado::Editado;
        b.editou = true;
        if (!b.algumEditado || i >= b.ultimaBusca) {
            b.algumEditado = true;
            b.ultimaBusca = i;
            b.ultimoRegistro = rec;
            b.ultimoConteudo.assign(registro, tam);
        }
    }
    return mudou;
}

// One write per run of neighbouring changed records.
void Tabela::gravaBloco(const BlocoDeEdicao& b) {
    const Implementacao& m = *imp_;
    const std::size_t tam = m.cab.tamanhoRegistro;
    const std::size_t n = b.registros.size();
    for (std::size_t k = 0; k < n; ++k) {
        if (!b.mudou[k]) continue;
        std::size_t j = k;
        while (j + 1 < n && b.mudou[j + 1] && b.registros[j + 1] == b.registros[j] + 1) ++j;
        GravaDbf(m.fd, b.dados.data() + b.lugar[k], (j - k + 1) * tam,
                 m.cab.tamanhoCabecalho + static_cast<std::uint64_t>(b.registros[k] - 1) * tam, m.caminho);
        k = j;
    }
}
