#include "support/geral_teste.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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
    anterior_ = GERAL_INSTALA(std::move(g));
}

GeralDeTeste::~GeralDeTeste() { GERAL_INSTALA(std::move(anterior_)); }

DiretorioDeTrabalho::DiretorioDeTrabalho() {
    anterior_ = std::filesystem::current_path().string();
    std::string modelo = (std::filesystem::temp_directory_path() / "conversor-XXXXXX").string();
    if (!::mkdtemp(modelo.data())) throw std::runtime_error("mkdtemp falhou");
    caminho_ = modelo;
    std::filesystem::current_path(caminho_);
}

DiretorioDeTrabalho::~DiretorioDeTrabalho() {
    std::error_code ec;
    std::filesystem::current_path(anterior_, ec);
    // Directories a test made unwritable are opened up first.
    std::filesystem::permissions(caminho_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    for (auto it = std::filesystem::recursive_directory_iterator(caminho_, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (it->is_directory(ec))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(caminho_, ec);
}

