// Runs a fuzz target over the files given (a corpus and the inputs that once
// crashed it), so the normal test suite replays them without libFuzzer.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho);

int main(int argc, char** argv) {
    int n = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<std::filesystem::path> arquivos;
        if (std::filesystem::is_directory(argv[i])) {
            for (const auto& e : std::filesystem::directory_iterator(argv[i])) arquivos.push_back(e.path());
        } else {
            arquivos.emplace_back(argv[i]);
        }
        for (const auto& a : arquivos) {
            std::ifstream f(a, std::ios::binary);
            std::vector<char> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(b.data()), b.size());
            ++n;
        }
    }
    std::printf("%d entradas reproduzidas\n", n);
    return 0;
}
