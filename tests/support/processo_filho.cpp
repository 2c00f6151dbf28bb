#include "support/processo_filho.h"

#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

void CanalProcesso::Envia(char c) const {
    if (::write(escrita_, &c, 1) != 1) throw std::runtime_error("pipe write");
}

char CanalProcesso::Recebe() const {
    char c = 0;
    return ::read(leitura_, &c, 1) == 1 ? c : '\0';
}

ProcessoFilho::ProcessoFilho(const std::function<int(const CanalProcesso&)>& corpo) {
    int paiFilho[2], filhoPai[2];
    if (::pipe(paiFilho) != 0 || ::pipe(filhoPai) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
        ::close(paiFilho[1]);
        ::close(filhoPai[0]);
        int status = 99;
        try {
            status = corpo(CanalProcesso(paiFilho[0], filhoPai[1]));
        } catch (...) {
        }
        ::_exit(status);
    }
    ::close(paiFilho[0]);
    ::close(filhoPai[1]);
    canal_ = CanalProcesso(filhoPai[0], paiFilho[1]);
}

ProcessoFilho::~ProcessoFilho() {
    if (!esperado_ && pid_ > 0) Espera();
}

int ProcessoFilho::Espera() {
    esperado_ = true;
    int st = 0;
    if (::waitpid(pid_, &st, 0) != pid_) return -1;
    return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
}
