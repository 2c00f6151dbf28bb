// The index files of a table on disk: the structural .CDX beside the DBF and
// any separate index file a caller named. The engine navigates by its own
// in-memory order and never trusts these files; it keeps them complete and
// current for the other xBase tools that open the same tables.

#include <dirent.h>
#include <unistd.h>

#include <memory>

#include <algorithm>
#include <cstring>
#include <functional>

#include "core/arquivos/arquivo_duravel.h"
#include "core/texto/ansi.h"
#include "tabela/cdx.h"
#include "tabela/nome_arquivo.h"
#include "tabela/tabela_implementacao.h"
#include "tabela/trava.h"

namespace {

std::function<void(const std::string&)>& avisoTabela() {
    static std::function<void(const std::string&)> f;
    return f;
}

void avisa(const std::string& texto) {
    if (avisoTabela()) avisoTabela()(texto);
}

std::string semExtensao(const std::string& caminho) {
    const auto barra = caminho.find_last_of('/');
    const auto ponto = caminho.find_last_of('.');
    if (ponto != std::string::npos && (barra == std::string::npos || ponto > barra))
        return caminho.substr(0, ponto);
    return caminho;
}

std::string diretorioDe(const std::string& caminho) {
    const auto barra = caminho.find_last_of('/');
    if (barra == std::string::npos) return ".";
    return barra == 0 ? "/" : caminho.substr(0, barra);
}

}  // namespace

// Leftovers of rewrites that a killed process never finished: a pack's new
// table ("<table>.DBF.novo...") and index files being written
// ("<index>.CDX.~..."). Only called while the table is open exclusively, when
// no other process can be writing them.
void Tabela::limpaTemporarios() {
    const std::string dbf = imp_->caminho;
    const std::string dir = diretorioDe(dbf);
    const auto barra = dbf.find_last_of('/');
    const std::string nome = EmMaiusculas(barra == std::string::npos ? dbf : dbf.substr(barra + 1));
    const std::string base = EmMaiusculas(semExtensao(nome));
    std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.c_str()), ::closedir);
    if (!d) return;
    while (dirent* e = ::readdir(d.get())) {
        const std::string n = EmMaiusculas(e->d_name);
        const bool pack = n.rfind(nome + ".NOVO", 0) == 0;
        const bool indice = n.rfind(base + ".CDX.~", 0) == 0;
        if (pack || indice) ::unlink(JuntaCaminho(dir, e->d_name).c_str());
        else if ((n.rfind("." + nome + ".CVTMP", 0) == 0 || n.rfind("." + base + ".CDX.CVTMP", 0) == 0))
            RemoveSeAbandonado(JuntaCaminho(dir, e->d_name));
    }
}

void DefineAvisoDaTabela(std::function<void(const std::string&)> aviso) {
    avisoTabela() = std::move(aviso);
}

std::string Tabela::caminhoIndice(const std::string& arquivo) const {
    const std::string& dbf = imp_->caminho;
    if (arquivo.empty()) {
        const std::string base = semExtensao(dbf);
        const auto barra = base.find_last_of('/');
        return ResolveNoDiretorio(diretorioDe(dbf), (barra == std::string::npos ? base : base.substr(barra + 1)) + ".CDX");
    }
    std::string nome = arquivo;
    if (semExtensao(nome) == nome) nome += ".CDX";
    if (nome.find('/') != std::string::npos) return ResolveCaminho(nome);
    return ResolveNoDiretorio(diretorioDe(dbf), nome);
}

// Tags of the structural index found on disk join those the caller declared.
// A damaged file is reported and replaced when the tags are known.
void Tabela::leIndicesDoDisco() {
    Implementacao& m = *imp_;
    const std::string cdx = caminhoIndice("");
    const bool temDeclaradas =
        std::any_of(indices_.begin(), indices_.end(), [](const DefIndice& d) { return d.arquivo.empty(); });
    bool recriar = false;
    if (ArquivoExiste(cdx)) {
        try {
            const auto lidas = LeTagsDoCdx(cdx);
            for (const DefIndice& d : indices_)
                if (d.arquivo.empty() &&
                    std::none_of(lidas.begin(), lidas.end(), [&](const TagLida& t) {
                        return t.tag == d.tag && t.expressao == d.expressao;
                    }))
                    recriar = true;
            for (const TagLida& t : lidas)
                if (!achaTag(t.tag)) indices_.push_back({t.tag, t.expressao, ""});
        } catch (const ErroTabela& e) {
            avisa("O ÍNDICE "_ansi + cdx + " ESTÁ DANIFICADO E FOI IGNORADO ("_ansi + e.what() + ")" +
                  (temDeclaradas ? "; SERÁ RECRIADO A PARTIR DA TABELA."_ansi : "."));
            recriar = temDeclaradas;
        }
    } else if (temDeclaradas) {
        recriar = true;
    } else if (m.cab.flags & 0x01) {
        // The table claims an index it does not have: other tools would
        // fail to open it. Without known tags there is nothing to rebuild.
        if (!somenteLeitura_) marcaIndiceEstrutural(false);
    }
    if (recriar && !somenteLeitura_) {
        try {
            escreveArquivoIndice("");
        } catch (const ErroTabela& e) {
            avisa(e.what());
        }
    }
}

// After a crash the index file can be whole but behind the table (the last
// run died before closing). When the table opens in the order of a tag of
// its structural index, that tag is compared with the order just built from
// the DBF and the file is rewritten when they differ.
void Tabela::confereIndiceEstrutural() {
    Implementacao& m = *imp_;
    if (!m.indice || somenteLeitura_) return;
    const DefIndice* d = achaTag(tagAtual_);
    if (!d || !d->arquivo.empty()) return;
    const std::string cdx = caminhoIndice("");
    if (!ArquivoExiste(cdx)) return;
    bool igual = false;
    try {
        for (const TagCdx& t : LeCdx(cdx)) {
            if (t.tag != d->tag) continue;
            const std::size_t tam = m.indice->TamanhoChave();
            igual = t.registros.size() == m.indice->Quantidade() &&
                    static_cast<std::size_t>(t.tamanhoChave) == tam;
            std::size_t i = 0;
            for (auto it = m.indice->Inicio(); igual && it != m.indice->Fim(); ++it, ++i)
                igual = t.registros[i] == *it &&
                        std::memcmp(t.chaves.data() + i * tam, m.indice->Chave(*it), tam) == 0;
        }
    } catch (const ErroTabela&) {
        igual = false;
    }
    // With one tag in the file, the one just compared, the file is known
    // current from here.
    const bool soEsta = std::count_if(indices_.begin(), indices_.end(),
                                      [](const DefIndice& i) { return i.arquivo.empty(); }) == 1;
    if (!igual) {
        try {
            escreveArquivoIndice("");
        } catch (const ErroTabela& e) {
            avisa(e.what());
            return;
        }
    }
    m.indiceEmDia = soEsta;
}

void Tabela::marcaIndiceEstrutural(bool tem) {
    Implementacao& m = *imp_;
    const std::uint8_t flags = tem ? (m.cab.flags | 0x01) : (m.cab.flags & ~0x01);
    if (flags == m.cab.flags) return;
    GravaDbf(m.fd, &flags, 1, kDbfDeslocamentoFlags, m.caminho);
    m.cab.flags = flags;
}

TagCdx Tabela::montaTag(const DefIndice& def) {
    Implementacao& m = *imp_;
    const ExpressaoChave expr = ExpressaoChave::Compila(def.expressao, defs_);
    TagCdx tag;
    tag.tag = def.tag;
    tag.expressao = def.expressao;
    tag.tamanhoChave = expr.Tamanho();
    auto copia = [&](const IndiceMemoria& idx) {
        tag.registros.reserve(idx.Quantidade());
        tag.chaves.reserve(idx.Quantidade() * idx.TamanhoChave());
        for (auto it = idx.Inicio(); it != idx.Fim(); ++it) {
            tag.registros.push_back(*it);
            tag.chaves.append(idx.Chave(*it), idx.TamanhoChave());
        }
    };
    // The order in memory is the answer when it is current.
    if (m.indice && !m.alteradoFora && def.tag == tagAtual_ && m.expressao->Texto() == def.expressao) {
        copia(*m.indice);
        return tag;
    }
    IndiceMemoria idx(expr.Tamanho());
    std::vector<std::uint32_t> vivos;
    if (m.conhecidos > 0) idx.ChaveParaEscrita(m.conhecidos);
    varre(1, m.conhecidos, [&](std::uint32_t rec, const char* r) {
        if (r[0] == '*') return;
        expr.Calcula(r, idx.ChaveParaEscrita(rec));
        vivos.push_back(rec);
    });
    idx.Constroi(std::move(vivos));
    copia(idx);
    return tag;
}

// Rewrites one index file from the DBF. Serialised with other processes'
// appends and rewrites through the header lock, so the last one to write
// has seen every record written before it began.
void Tabela::escreveArquivoIndice(const std::string& arquivo) {
    Implementacao& m = *imp_;
    const bool trava = !exclusiva_;
    // Records already written wait for their index: told, never abandoned.
    if (trava)
        TravaEsperando(m.fd, kTravaCabecalho, 1, TipoTrava::Escrita, textoCabecalhoEmUso(m.caminho), false);
    try {
        sincroniza();
        std::vector<TagCdx> tags;
        for (const DefIndice& d : indices_)
            if (EmMaiusculas(d.arquivo) == EmMaiusculas(arquivo)) tags.push_back(montaTag(d));
        std::sort(tags.begin(), tags.end(),
                  [](const TagCdx& a, const TagCdx& b) { return a.tag < b.tag; });
        if (!tags.empty()) {
            EscreveCdx(caminhoIndice(arquivo), tags);
            if (arquivo.empty()) marcaIndiceEstrutural(true);
        }
    } catch (...) {
        if (trava) SoltaTrava(m.fd, kTravaCabecalho, 1);
        throw;
    }
    if (trava) SoltaTrava(m.fd, kTravaCabecalho, 1);
}

// Every index file of the table, after this object changed records.
void Tabela::atualizaArquivosIndice() {
    std::vector<std::string> arquivos;
    for (const DefIndice& d : indices_) {
        const std::string a = EmMaiusculas(d.arquivo);
        if (std::find(arquivos.begin(), arquivos.end(), a) == arquivos.end()) arquivos.push_back(a);
    }
    for (const std::string& a : arquivos) {
        if (a.empty() && imp_->indiceEmDia) continue;
        try {
            escreveArquivoIndice(a);
        } catch (const ErroTabela& e) {
            avisa(e.what());
        }
    }
    imp_->indicesPendentes = false;
}

void Tabela::DeleteIndexFile(const std::string& arquivoIndice) {
    exigeNavegacao();
    exigeEscrita();
    const std::string arquivo = EmMaiusculas(arquivoIndice);
    for (const DefIndice& d : indices_)
        if (EmMaiusculas(d.arquivo) == arquivo && d.tag == tagAtual_)
            throw ErroTabela("O ÍNDICE "_ansi + d.tag + " ESTÁ EM USO NA TABELA "_ansi + imp_->caminho);
    ::unlink(caminhoIndice(arquivoIndice).c_str());
    indices_.erase(std::remove_if(indices_.begin(), indices_.end(),
                                  [&](const DefIndice& d) { return EmMaiusculas(d.arquivo) == arquivo; }),
                   indices_.end());
    if (arquivo.empty()) marcaIndiceEstrutural(false);
}
