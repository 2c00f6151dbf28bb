#include "support/geral_teste.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

// Every test runs with a silent, scripted general services object unless it
// installs its own: no test may sound or wait for a person.
class AmbienteSemPessoa : public ::testing::Environment {
public:
    void SetUp() override { geral_ = std::make_unique<GeralDeTeste>(); }
    void TearDown() override { geral_.reset(); }

private:
    std::unique_ptr<GeralDeTeste> geral_;
};

[[maybe_unused]] auto* const ambiente =
    ::testing::AddGlobalTestEnvironment(new AmbienteSemPessoa);

}  // namespace

GeralDeTeste::GeralDeTeste(TData dia) {
    auto d = std::make_unique<DialogoRoteirizado>();
    dialogo_ = d.get();
    auto g = std::make_unique<TmvGERAL>(std::move(d));
    geral_ = g.get();
    geral_->DATADIA = dia;
    geral_->DefineRelogio([this] { return hora; });
    geral_->DefineEspera([this](int ms) { esperas.push_back(ms); });
    anterior_ = InstalaGeral(std::move(g));
}

GeralDeTeste::~GeralDeTeste() { InstalaGeral(std::move(anterior_)); }

DiretorioDeTrabalho::DiretorioDeTrabalho() : anterior_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir_.Caminho());
}

DiretorioDeTrabalho::~DiretorioDeTrabalho() {
    std::error_code ec;
    std::filesystem::current_path(anterior_, ec);
}

std::vector<std::string> ENTRADAS(const std::string& diretorio) {
    std::vector<std::string> nomes;
    for (const auto& e : std::filesystem::directory_iterator(diretorio))
        nomes.push_back(e.path().filename().string());
    std::sort(nomes.begin(), nomes.end());
    return nomes;
}
