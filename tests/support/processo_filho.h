#pragma once
// Runs a piece of a test in a forked process, so that locks and appends can
// be tried between two real processes. The two sides talk through pipes, one
// byte a message.

#include <functional>

class CanalProcesso {
public:
    CanalProcesso(int leitura, int escrita) : leitura_(leitura), escrita_(escrita) {}
    void Envia(char c) const;
    char Recebe() const;  // waits; '\0' when the other side closed

private:
    int leitura_, escrita_;
};

class ProcessoFilho {
public:
    // The body's return value is the child's exit status; an exception in the
    // child exits with 99.
    explicit ProcessoFilho(const std::function<int(const CanalProcesso&)>& corpo);
    ~ProcessoFilho();
    const CanalProcesso& Canal() const { return canal_; }
    int Espera();  // exit status
    int Pid() const { return pid_; }

private:
    int pid_ = -1;
    CanalProcesso canal_{-1, -1};
    bool esperado_ = false;
};
