#include "core/diario_execucao.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>

#include "core/arquivos/arquivo_duravel.h"
#include "core/arquivos/erro_arquivo.h"
#include "core/geral.h"
#include "core/obr_edita.h"
#include "core/texto/ansi.h"
#include "core/texto/obr_texto.h"
#include "tabela/tabela.h"

namespace {

constexpr const char* kPrefixo = ".conversor-";
constexpr const char* kSufixo = ".diario";

std::uint32_t crc32(const std::string& s) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : s) {
        c ^= b;
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

std::string escapa(const std::string& s) {
    std::string r;
    for (unsigned char ch : s) {
        if (ch == '%' || ch == '\t' || ch == '\n' || ch == '\r') {
            char b[4];
            std::snprintf(b, sizeof b, "%%%02X", ch);
            r += b;
        } else {
            r += static_cast<char>(ch);
        }
    }
    return r;
}

std::string desescapa(const std::string& s) {
    std::string r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            r += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            r += s[i];
        }
    }
    return r;
}

std::vector<std::string> divide(const std::string& linha) {
    std::vector<std::string> r;
    std::size_t ini = 0;
    for (;;) {
        const auto tab = linha.find('\t', ini);
        r.push_back(linha.substr(ini, tab == std::string::npos ? std::string::npos : tab - ini));
        if (tab == std::string::npos) return r;
        ini = tab + 1;
    }
}

// The lines of a journal up to the first one cut short or damaged.
std::vector<std::vector<std::string>> leDiario(int fd) {
    std::string tudo;
    char buf[65536];
    off_t pos = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, buf, sizeof buf, pos);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        tudo.append(buf, static_cast<std::size_t>(n));
        pos += n;
    }
    std::vector<std::vector<std::string>> linhas;
    std::size_t ini = 0;
    while (ini < tudo.size()) {
        const auto fim = tudo.find('\n', ini);
        if (fim == std::string::npos) break;
        const std::string linha = tudo.substr(ini, fim - ini);
        ini = fim + 1;
        const auto tab = linha.find_last_of('\t');
        if (tab == std::string::npos) break;
        char esperado[16];
        std::snprintf(esperado, sizeof esperado, "%08X", crc32(linha.substr(0, tab)));
        if (linha.substr(tab + 1) != esperado) break;
        std::vector<std::string> campos = divide(linha.substr(0, tab));
        for (std::string& c : campos) c = desescapa(c);
        linhas.push_back(std::move(campos));
    }
    return linhas;
}

bool trava(int fd) {
    struct flock l {};
    l.l_type = F_WRLCK;
    l.l_whence = SEEK_SET;
    l.l_start = 0;
    l.l_len = 0;
    return ::fcntl(fd, F_OFD_SETLK, &l) == 0;
}

bool existe(const std::string& caminho) {
    struct stat st {};
    return ::lstat(caminho.c_str(), &st) == 0;
}

bool mesmoArquivo(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    return ::lstat(a.c_str(), &sa) == 0 && ::lstat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// The record a journal line names, in a table of the data directory opened
// for the moment.
class Registro {
public:
    Registro(const std::string& tabela, const std::string& campoChave, const std::string& valorChave) {
        t_.SetDatabaseName(".");
        t_.SetTableName(tabela);
        t_.Open();
        achado_ = campoChave.empty() ? (t_.First(), !t_.Eof())
                                     : t_.Locate(campoChave, {ValorBusca(valorChave)});
    }
    ~Registro() {
        try {
            t_.Close();
        } catch (...) {
        }
    }
    bool Achado() const { return achado_; }
    std::string Valor(const std::string& campo) { return AparaPontas(t_.FieldByName(campo).AsString()); }
    void Define(const std::string& campo, const std::string& valor,
                const std::string& campo2 = {}, const std::string& valor2 = {}) {
        OBR_EDITA(t_);
        try {
            t_.FieldByName(campo).SetAsString(valor);
            if (!campo2.empty()) t_.FieldByName(campo2).SetAsString(valor2);
            t_.Post();
        } catch (...) {
            t_.Cancel();
            throw;
        }
    }

private:
    Tabela t_;
    bool achado_ = false;
};

// Another number in the name: the digits at its end (a parked file's
// ".001") count on, 999 wrapping to 001.
std::string proximoNome(const std::string& caminho) {
    std::size_t fim = caminho.size(), ini = fim;
    while (ini > 0 && caminho[ini - 1] >= '0' && caminho[ini - 1] <= '9') --ini;
    if (ini == fim) return {};
    const std::size_t largura = fim - ini;
    long n = std::stol(caminho.substr(ini)) + 1;
    long limite = 1;
    for (std::size_t k = 0; k < largura; ++k) limite *= 10;
    if (n >= limite - 1) n = 1;
    std::string d = std::to_string(n);
    d.insert(0, largura - std::min(largura, d.size()), '0');
    return caminho.substr(0, ini) + d;
}

// Puts a moved file back; the general move copies across file systems,
// flushing the copy before the source goes.
int devolve(const std::string& de, const std::string& para) {
    errno = 0;
    if (!GERAL().OBR_RENOMEIAARQ(de, para)) return errno ? errno : EEXIST;
    SincronizaDiretorio(para);
    SincronizaDiretorio(de);
    return 0;
}

struct Conta {
    int nomeados = 0, apagados = 0, removidos = 0, devolvidos = 0, restaurados = 0, recolocados = 0;
    std::vector<std::string> falhas;
};

void nomeiaSaida(const std::string& temp, std::string final, bool substitui, Conta& c) {
    if (!existe(temp)) return;  // named before the stop
    for (int vez = 0; vez < 1000; ++vez) {
        const int e = RenomeiaDuravel(temp, final, substitui);
        if (e == 0) {
            ++c.nomeados;
            return;
        }
        if (e != EEXIST || substitui) {
            c.falhas.push_back(final + ": " + std::strerror(e));
            return;
        }
        final = proximoNome(final);
        if (final.empty()) break;
    }
    c.falhas.push_back(temp + ": NOME OCUPADO"_ansi);
}

// The committed unit finished: outputs named, the older files they
// replace for good let go, then the remaining table writes and deletions.
void finaliza(const std::vector<std::vector<std::string>>& linhas, Conta& c) {
    for (const auto& l : linhas) {
        if (l[0] == "SAIDA" && l.size() >= 4) nomeiaSaida(l[1], l[2], l[3] == "S", c);
        if (l[0] == "GUARDA" && l.size() >= 3) ::unlink(l[2].c_str());  // replaced for good
    }
    for (const auto& l : linhas) {
        if (l[0] == "DEPOIS_DEFINE" && l.size() >= 6) {
            Registro r(l[1], l[2], l[3]);
            if (r.Achado() && r.Valor(l[4]) != AparaPontas(l[5])) r.Define(l[4], l[5]);
        } else if (l[0] == "DEPOIS_APAGA" && l.size() >= 2 && existe(l[1])) {
            if (::unlink(l[1].c_str()) == 0) {
                ++c.apagados;
                SincronizaDiretorio(l[1]);
            } else {
                c.falhas.push_back(l[1] + ": " + std::strerror(errno));
            }
        }
    }
}

// The unit undone: its outputs removed, in reverse order its moves put
// back, the older files its names held put back, its numbers restored.
void desfaz(const std::vector<std::vector<std::string>>& linhas, Conta& c) {
    for (const auto& l : linhas)
        if (l[0] == "SAIDA" && l.size() >= 2 && existe(l[1]) && ::unlink(l[1].c_str()) == 0)
            ++c.removidos;
    bool naoFeito = false;  // the MOVE just before (in reverse: just after) was not made
    for (auto it = linhas.rbegin(); it != linhas.rend(); ++it) {
        const auto& l = *it;
        struct stat st {};
        if (l[0] == "MOVE_NAO_FEITO") {
            naoFeito = true;
            continue;
        }
        if (l[0] == "MOVE" && naoFeito) {
            naoFeito = false;
            continue;
        }
        naoFeito = false;
        if (l[0] == "CRIADO" && l.size() >= 4 && ::lstat(l[1].c_str(), &st) == 0 &&
            std::to_string(st.st_dev) == l[2] && std::to_string(st.st_ino) == l[3]) {
            if (::unlink(l[1].c_str()) == 0) {
                ++c.removidos;
                SincronizaDiretorio(l[1]);
            }
        } else if (l[0] == "GUARDA" && l.size() >= 3 && existe(l[2])) {
            // The older file back under its name, once ours is gone.
            struct stat f {}, g {};
            if (::lstat(l[1].c_str(), &f) != 0) {
                if (const int e = RenomeiaDuravel(l[2], l[1], false); e == 0) ++c.recolocados;
                else c.falhas.push_back(l[1] + ": " + std::strerror(e));
            } else if (::lstat(l[2].c_str(), &g) == 0 && f.st_dev == g.st_dev && f.st_ino == g.st_ino) {
                ::unlink(l[2].c_str());  // never replaced: the second link goes
            }
        } else if (l[0] == "MOVE" && l.size() >= 3) {
            const bool origem = existe(l[1]), destino = existe(l[2]);
            if (destino && !origem) {
                if (const int e = devolve(l[2], l[1]); e == 0) ++c.devolvidos;
                else c.falhas.push_back(l[2] + ": " + std::strerror(e));
            } else if (destino && origem && !mesmoArquivo(l[1], l[2]) &&
                       !(l.size() >= 4 && l[3] == "R")) {
                // A copy to another file system cut short: the source was
                // to go only once the copy was whole, so it is whole.
                ::unlink(l[2].c_str());
            }
        } else if (l[0] == "NUMERO" && l.size() >= 7) {
            Registro r(l[1], l[2], l[3]);
            // Restored only while nobody took the number after this one.
            if (r.Achado() && r.Valor(l[4]) == AparaPontas(l[6])) {
                r.Define(l[4], l[5], l.size() >= 10 ? l[7] : std::string(),
                         l.size() >= 10 ? l[8] : std::string());
                ++c.restaurados;
            }
        }
    }
}

// Finishes (committed) or undoes the unit of `linhas`; true when finished.
bool resolve(const std::vector<std::vector<std::string>>& linhas, Conta& c) {
    bool confirmado = false, temSe = false, seVale = true, desistiu = false;
    for (const auto& l : linhas) {
        if (l[0] == "CONFIRMA") confirmado = true;
        if (l[0] == "DESISTE") desistiu = true;
        if (l[0] == "SE" && l.size() >= 6) {
            temSe = true;
            Registro r(l[1], l[2], l[3]);
            if (!r.Achado() || r.Valor(l[4]) != AparaPontas(l[5])) seVale = false;
        }
    }
    confirmado = confirmado || (temSe && seVale && !desistiu);
    if (confirmado) {
        finaliza(linhas, c);
        return true;
    }
    desfaz(linhas, c);
    return false;
}

std::string descricao(const std::vector<std::vector<std::string>>& linhas) {
    for (const auto& l : linhas)
        if (l[0] == "EXECUCAO" && l.size() >= 2) return l[1];
    return "EXECUÇÃO"_ansi;
}

std::string relata(const std::string& desc, bool concluida, const Conta& c) {
    std::string r = "EXECUÇÃO INTERROMPIDA "_ansi + desc + (concluida ? " CONCLUÍDA"_ansi : " DESFEITA");
    std::vector<std::string> partes;
    auto parte = [&partes](int n, const std::string& um, const std::string& varios) {
        if (n) partes.push_back(std::to_string(n) + " " + (n == 1 ? um : varios));
    };
    parte(c.nomeados, "ARQUIVO NOMEADO", "ARQUIVOS NOMEADOS");
    parte(c.apagados, "ARQUIVO APAGADO", "ARQUIVOS APAGADOS");
    parte(c.removidos, "ARQUIVO INCOMPLETO REMOVIDO", "ARQUIVOS INCOMPLETOS REMOVIDOS");
    parte(c.devolvidos, "ARQUIVO DEVOLVIDO PARA NOVA LEITURA", "ARQUIVOS DEVOLVIDOS PARA NOVA LEITURA");
    parte(c.recolocados, "ARQUIVO ANTERIOR RECOLOCADO", "ARQUIVOS ANTERIORES RECOLOCADOS");
    parte(c.restaurados, "NÚMERO RESTAURADO"_ansi, "NÚMEROS RESTAURADOS"_ansi);
    for (std::size_t i = 0; i < partes.size(); ++i) r += (i == 0 ? ": " : ", ") + partes[i];
    r += ".";
    for (const std::string& f : c.falhas) r += " FALHOU: "_ansi + f + ".";
    return r;
}

std::string nomeNovo() {
    static std::atomic<unsigned> contador{0};
    char maquina[64] = {};
    ::gethostname(maquina, sizeof maquina - 1);
    std::string m = maquina;
    std::replace(m.begin(), m.end(), '/', '_');
    return std::string(kPrefixo) + m + "-" + std::to_string(::getpid()) + "-" +
           std::to_string(contador++) + kSufixo;
}

}  // namespace

DiarioExecucao::Passo DiarioExecucao::Define(std::string tabela, std::string campoChave,
                                             std::string valorChave, std::string campo,
                                             std::string valor) {
    Passo p;
    p.tipo = Passo::Tipo::define;
    p.tabela = std::move(tabela);
    p.campoChave = std::move(campoChave);
    p.valorChave = std::move(valorChave);
    p.campo = std::move(campo);
    p.valor = std::move(valor);
    return p;
}

DiarioExecucao::Passo DiarioExecucao::Apaga(std::string caminho) {
    Passo p;
    p.tipo = Passo::Tipo::apaga;
    p.caminho = std::move(caminho);
    return p;
}

DiarioExecucao::DiarioExecucao(const std::string& desc) {
    // Another run's recovery may open a journal just created and not yet
    // locked, take it for one left by a crash and remove it.
    fd_ = CriaETrava(nomeNovo, O_APPEND, 0666, trava, caminho_);
    if (fd_ < 0) {
        const int e = errno;
        throw ErroArquivo("NÃO FOI POSSÍVEL CRIAR O DIÁRIO DA EXECUÇÃO "_ansi + caminho_ + " : " +
                              std::strerror(e),
                          e);
    }
    grava({"EXECUCAO", desc});
    SincronizaDiretorio(caminho_);
}

DiarioExecucao::~DiarioExecucao() {
    if (concluido_ || fd_ < 0) return;
    try {
        if (!confirmado_) grava({"DESISTE"});
        Resolve();
    } catch (...) {
        // Left for the next run's recovery, still whole on disk.
        ::close(fd_);
    }
}

void DiarioExecucao::grava(const std::vector<std::string>& campos, bool sincronizaLinha) {
    std::string linha;
    for (std::size_t i = 0; i < campos.size(); ++i) linha += (i ? "\t" : "") + escapa(campos[i]);
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08X", crc32(linha));
    linha += std::string("\t") + crc + "\n";
    for (std::size_t feito = 0; feito < linha.size();) {
        const ssize_t n = ::write(fd_, linha.data() + feito, linha.size() - feito);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int e = n == 0 ? EIO : errno;
            throw ErroArquivo("ERRO AO GRAVAR O DIÁRIO DA EXECUÇÃO "_ansi + caminho_ + " : " +
                                  std::strerror(e),
                              e);
        }
        feito += static_cast<std::size_t>(n);
    }
    if (sincronizaLinha) sincroniza();
}

void DiarioExecucao::sincroniza() {
    if (::fdatasync(fd_) != 0) {
        const int e = errno;
        throw ErroArquivo("ERRO AO GRAVAR O DIÁRIO DA EXECUÇÃO "_ansi + caminho_ + " : " +
                              std::strerror(e),
                          e);
    }
}

void DiarioExecucao::Saida(const std::string& temporario, const std::string& final, bool substitui,
                           bool agora) {
    grava({"SAIDA", temporario, final, substitui ? "S" : "N"}, agora);
}

void DiarioExecucao::MoveFeito(const std::string& origem, const std::string& destino, bool renomeia) {
    grava({"MOVE", origem, destino, renomeia ? "R" : "C"});
}

void DiarioExecucao::MoveNaoFeito() { grava({"MOVE_NAO_FEITO"}); }

void DiarioExecucao::Criado(const std::string& temporario, const std::string& final) {
    struct stat st {};
    if (::lstat(temporario.c_str(), &st) != 0) return;
    // An older file the name holds is kept aside, as a second link, until
    // the unit is done: undoing puts it back instead of losing it.
    struct stat velho {};
    if (::lstat(final.c_str(), &velho) == 0 && S_ISREG(velho.st_mode) &&
        !(velho.st_dev == st.st_dev && velho.st_ino == st.st_ino)) {
        const std::string guarda = NomeTemporarioAoLado(final);
        grava({"GUARDA", final, guarda});
        if (::link(final.c_str(), guarda.c_str()) == 0) {
            SincronizaDiretorio(guarda);
            guardados_.push_back(guarda);
        }
    }
    grava({"CRIADO", final, std::to_string(st.st_dev), std::to_string(st.st_ino)});
}

void DiarioExecucao::Numero(const std::string& tabela, const std::string& campoChave,
                            const std::string& valorChave, const std::string& campo,
                            const std::string& anterior, const std::string& novo,
                            const std::string& campo2, const std::string& anterior2,
                            const std::string& novo2) {
    grava({"NUMERO", tabela, campoChave, valorChave, campo, anterior, novo, campo2, anterior2, novo2});
}

void DiarioExecucao::Se(const std::string& tabela, const std::string& campoChave,
                        const std::string& valorChave, const std::string& campo,
                        const std::string& valor) {
    grava({"SE", tabela, campoChave, valorChave, campo, valor});
}

void DiarioExecucao::Se(const std::string& tabela, const std::string& campoChave,
                        const std::string& valorChave,
                        const std::vector<std::pair<std::string, std::string>>& campos) {
    for (std::size_t i = 0; i < campos.size(); ++i)
        grava({"SE", tabela, campoChave, valorChave, campos[i].first, campos[i].second},
              i + 1 == campos.size());
}

void DiarioExecucao::Confirma(const std::vector<Passo>& depois) {
    for (const Passo& p : depois) {
        switch (p.tipo) {
            case Passo::Tipo::define:
                grava({"DEPOIS_DEFINE", p.tabela, p.campoChave, p.valorChave, p.campo, p.valor});
                break;
            case Passo::Tipo::apaga: grava({"DEPOIS_APAGA", p.caminho}); break;
        }
    }
    grava({"CONFIRMA"});
    confirmado_ = true;
}

void DiarioExecucao::Conclui() {
    if (concluido_) return;
    concluido_ = true;
    for (const std::string& g : guardados_) ::unlink(g.c_str());
    ::unlink(caminho_.c_str());
    SincronizaDiretorio(caminho_);
    ::close(fd_);
    fd_ = -1;
}

void DiarioExecucao::DeixaParaARecuperacao() {
    if (concluido_) return;
    concluido_ = true;
    ::close(fd_);
    fd_ = -1;
}

std::string DiarioExecucao::Desfaz() {
    if (concluido_) return {};
    if (!confirmado_) grava({"DESISTE"});
    return Resolve();
}

std::string DiarioExecucao::Resolve() {
    if (concluido_) return {};
    Conta c;
    const auto linhas = leDiario(fd_);
    const bool concluida = resolve(linhas, c);
    const std::string r = relata(descricao(linhas), concluida, c);
    Conclui();
    return r;
}

bool EhDiarioDeExecucao(const std::string& nome) {
    const std::string sufixo = kSufixo;
    return nome.rfind(kPrefixo, 0) == 0 && nome.size() > sufixo.size() &&
           nome.compare(nome.size() - sufixo.size(), sufixo.size(), sufixo) == 0;
}

std::vector<std::string> RecuperaDiarios(const std::vector<std::string>& diretorios) {
    std::vector<std::string> relatos;
    std::set<std::string> vivos;  // temporaries of runs still going on
    std::set<std::string> dirs(diretorios.begin(), diretorios.end());
    dirs.insert(".");
    std::vector<std::string> nomes;
    {
        std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir("."), ::closedir);
        if (!d) return relatos;
        while (const dirent* e = ::readdir(d.get()))
            if (EhDiarioDeExecucao(e->d_name)) nomes.push_back(e->d_name);
    }
    std::sort(nomes.begin(), nomes.end());
    for (const std::string& nome : nomes) {
        const int fd = ::open(nome.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        const bool livre = trava(fd);
        // Taken under its lock, and still there: another workstation may
        // have resolved it between our listing and our lock.
        if (!livre || ::fstat(fd, &st) != 0 || st.st_nlink == 0) {
            for (const auto& l : leDiario(fd)) {
                if (l[0] == "SAIDA" && l.size() >= 2) vivos.insert(l[1]);
                if (l[0] == "GUARDA" && l.size() >= 3) vivos.insert(l[2]);
            }
            ::close(fd);
            continue;
        }
        const auto linhas = leDiario(fd);
        for (const auto& l : linhas)
            if (l[0] == "SAIDA" && l.size() >= 3) {
                const auto barra = l[2].find_last_of('/');
                if (barra != std::string::npos) dirs.insert(l[2].substr(0, barra));
            }
        Conta c;
        bool concluida = false;
        try {
            concluida = resolve(linhas, c);
        } catch (const std::exception& e) {
            // A table held elsewhere, a damaged table: the journal stays for
            // the next run, and the operator hears why.
            relatos.push_back("EXECUÇÃO INTERROMPIDA "_ansi + descricao(linhas) +
                              " NÃO PÔDE SER RECUPERADA AGORA: "_ansi + e.what());
            ::close(fd);
            continue;
        }
        relatos.push_back(relata(descricao(linhas), concluida, c));
        ::unlink(nome.c_str());
        SincronizaDiretorio(".", true);
        ::close(fd);
    }
    for (const std::string& d : dirs) LimpaTemporariosAbandonados(d, vivos);
    return relatos;
}
