// Every text inside the motor is Windows-1252; a raw UTF-8 literal would put
// two or three bytes where a layout counts one. This guard reads the sources
// and fails on any non-ASCII string or character literal outside the Qt
// windows that is not converted with _ansi.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

bool letraDeNome(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '_';
}

bool temNaoAscii(const std::string& s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

// Lines of the literals holding non-ASCII bytes without the _ansi suffix.
std::vector<int> literaisCrus(const std::string& fonte) {
    std::vector<int> linhas;
    int linha = 1;
    const std::size_t n = fonte.size();
    std::size_t i = 0;
    auto avanca = [&](std::size_t ate) {
        for (; i < ate && i < n; ++i)
            if (fonte[i] == '\n') ++linha;
    };
    while (i < n) {
        const char c = fonte[i];
        if (c == '/' && i + 1 < n && fonte[i + 1] == '/') {
            const auto fim = fonte.find('\n', i);
            avanca(fim == std::string::npos ? n : fim);
        } else if (c == '/' && i + 1 < n && fonte[i + 1] == '*') {
            const auto fim = fonte.find("*/", i + 2);
            avanca(fim == std::string::npos ? n : fim + 2);
        } else if (c >= '0' && c <= '9') {
            // A number may hold digit separators (1'000), not literals.
            while (i < n && (letraDeNome(fonte[i]) || fonte[i] == '\'' || fonte[i] == '.')) ++i;
        } else if (letraDeNome(c)) {
            std::size_t f = i;
            while (f < n && letraDeNome(fonte[f])) ++f;
            const std::string nome = fonte.substr(i, f - i);
            i = f;
            // A raw string: prefix ending in R, then "delimiter( ... )delimiter".
            if (!nome.empty() && nome.back() == 'R' && i < n && fonte[i] == '"') {
                const auto abre = fonte.find('(', i);
                if (abre == std::string::npos) break;
                const std::string fecho = ")" + fonte.substr(i + 1, abre - i - 1) + "\"";
                const auto fim = fonte.find(fecho, abre);
                const std::size_t depois = fim == std::string::npos ? n : fim + fecho.size();
                const int linhaInicio = linha;
                const std::string conteudo = fonte.substr(i, depois - i);
                avanca(depois);
                if (temNaoAscii(conteudo) && fonte.compare(i, 5, "_ansi") != 0)
                    linhas.push_back(linhaInicio);
            }
        } else if (c == '"' || c == '\'') {
            // Adjacent string literals form one, and a suffix on any of them
            // converts the whole.
            const int linhaInicio = linha;
            bool naoAscii = false, convertido = false;
            for (;;) {
                std::size_t f = i + 1;
                while (f < n && fonte[f] != c && fonte[f] != '\n') f += fonte[f] == '\\' ? 2 : 1;
                naoAscii = naoAscii || temNaoAscii(fonte.substr(i, f - i));
                avanca(f + 1);
                if (fonte.compare(i, 5, "_ansi") == 0) {
                    convertido = true;
                    i += 5;
                }
                std::size_t p = i;
                while (p < n && (fonte[p] == ' ' || fonte[p] == '\n' || fonte[p] == '\t')) ++p;
                if (c != '"' || p >= n || fonte[p] != '"') break;
                avanca(p);
            }
            if (naoAscii && !convertido) linhas.push_back(linhaInicio);
        } else {
            avanca(i + 1);
        }
    }
    return linhas;
}

}  // namespace

TEST(LiteraisAnsi, OLeitorDeFontesReconheceLiterais) {
    EXPECT_EQ(literaisCrus("auto a = \"ATENÇÃO\";\n"), std::vector<int>{1});
    EXPECT_EQ(literaisCrus("x\nauto c = 'ç';\n"), std::vector<int>{2});
    EXPECT_EQ(literaisCrus("auto r = R\"x(\nÇ)\" )x\";\n"), std::vector<int>{1});
    EXPECT_TRUE(literaisCrus("auto a = \"ATENÇÃO\"_ansi; // atenção \"ç\"\n").empty());
    EXPECT_TRUE(literaisCrus("/* \"ç\" */ int n = 1'000; auto s = \"a\\\"ç\"_ansi;").empty());
    EXPECT_TRUE(literaisCrus("auto r = R\"(ç)\"_ansi;").empty());
    EXPECT_TRUE(literaisCrus("auto s = \"É \"\n  \"x\"_ansi;").empty());
    EXPECT_EQ(literaisCrus("auto s = \"É \"\n  \"x\";"), std::vector<int>{1});
}

TEST(LiteraisAnsi, NenhumLiteralCruNoMotor) {
    namespace fs = std::filesystem;
    const fs::path src = fs::path(CONVERSOR_FONTES) / "src";
    ASSERT_TRUE(fs::is_directory(src)) << src;
    int lidos = 0;
    std::ostringstream achados;
    for (const auto& e : fs::recursive_directory_iterator(src)) {
        const fs::path rel = fs::relative(e.path(), src);
        if (*rel.begin() == "ui" || !e.is_regular_file()) continue;
        const auto ext = e.path().extension();
        if (ext != ".cpp" && ext != ".h" && ext != ".hpp" && ext != ".cc") continue;
        std::ifstream f(e.path(), std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        ++lidos;
        for (int l : literaisCrus(s.str())) achados << e.path().string() << ":" << l << "\n";
    }
    EXPECT_GT(lidos, 10);
    EXPECT_EQ(achados.str(), "");
}
