#include <gtest/gtest.h>

#include "core/texto/campos_entrada.h"
#include "support/geral_teste.h"

namespace {

// Types `teclas` at the end of the text, as the field's edit does: a refused
// key or one that does not fit leaves the text as it is.
std::string digita(RegrasCampoFloat& r, std::string texto, const std::string& teclas) {
    for (char k : teclas) {
        const auto t = r.Digita(k, texto);
        if (t.esvazia) texto.clear();
        if (!t.aceita) continue;
        if (k == '\b') {
            if (!texto.empty()) texto.pop_back();
        } else if (r.Cabe(static_cast<int>(texto.size()), 0, 1)) {
            texto += k;
        }
    }
    return texto;
}

}  // namespace

TEST(CampoData, SaidaTomaDataMantemOuRecusa) {
    GeralDeTeste g;  // two-digit years fall in the window of 2026
    RegrasCampoData d;
    EXPECT_FALSE(d.Sai("01/02/30  "));
    EXPECT_EQ(d.KDATADIG, CodificaData(2030, 2, 1));
    EXPECT_FALSE(d.Sai("  /  /    "));  // erased: no date, and no complaint
    EXPECT_EQ(d.KDATADIG, 0);
    for (const char* ruim : {"31/02/2019", "1 /  /    ", "00/00/0000"}) {
        d.KDATADIG = 1;
        EXPECT_TRUE(d.Sai(ruim)) << ruim;
        EXPECT_EQ(d.KDATADIG, 0) << ruim;
    }
    EXPECT_EQ(d.DefineData(0), std::nullopt);  // the text stays
}

TEST(CampoInteiro, DigitosAlinhadosEPrimeiraTecla) {
    RegrasCampoInteiro i;
    i.DefineInteiros(3);
    EXPECT_EQ(i.Largura(), 41);
    EXPECT_EQ(i.DefineValor(7), "  7");
    EXPECT_TRUE(i.Tecla());
    EXPECT_FALSE(i.Tecla());
    EXPECT_EQ(i.Sai("A1B"), "  1");  // a pasted text gives the number of its digits
    EXPECT_EQ(i.Sai("12,5"), "  0");  // not an integer
    EXPECT_EQ(i.Sai("5 3"), " 53");
    EXPECT_TRUE(i.Tecla());           // again after every exit
}

TEST(CampoFloat, PontoTeclaComoVirgulaDecimal) {
    RegrasCampoFloat f;
    f.KINTEIROS = 5;
    f.KDECIMAIS = 6;
    EXPECT_EQ(f.Sai(digita(f, "", "1.5")), "    1,500000");
    EXPECT_DOUBLE_EQ(f.KASFLOAT, 1.5);
    // Cut seven places after the mark, then rounded to the field's decimals.
    f.KDIGITOU = true;
    EXPECT_EQ(f.Sai("2.1234567x"), "    2,123457");
}

TEST(CampoFloat, ValorMostradoEditadoNoLugarContinuaOValor) {
    RegrasCampoFloat f;
    EXPECT_EQ(f.Muda(f.DefineValor(1234)), "     1.234,00");
    // The person changes a decimal where it stands: the full stop groups
    // thousands, it is not taken as the decimal mark.
    f.EditadoSemTecla();
    EXPECT_EQ(f.Sai("     1.234,05"), "     1.234,05");
    EXPECT_DOUBLE_EQ(f.KASFLOAT, 1234.05);
    f.KDIGITOU = true;
    EXPECT_EQ(f.Sai("-1.234.567,5"), "-1.234.567,50");
    f.KDIGITOU = true;
    EXPECT_EQ(f.Sai("1,5.3"), "         0,00");  // a full stop after the comma is no number
}

TEST(CampoFloat, SaidaSemDigitarMantemTextoMasNaoOVazio) {
    RegrasCampoFloat f;
    f.Muda(f.DefineValor(2.5));
    EXPECT_EQ(f.Sai("         2,50"), std::nullopt);
    EXPECT_EQ(f.Sai(""), "         0,00");
    EXPECT_EQ(f.Sai(digita(f, "         0,00", "9\b")), "         0,00");
    EXPECT_DOUBLE_EQ(f.KASFLOAT, 0);
}

TEST(CampoFloat, TeclasEComprimento) {
    RegrasCampoFloat f;
    f.KINTEIROS = 5;
    f.KDECIMAIS = 6;
    // The first key of the field's life empties it; letters are discarded;
    // Inteiros digits fit before the mark, Decimais after it.
    EXPECT_EQ(digita(f, "    3,000000", "a12345678,1234567"), "12345,123456");
    EXPECT_FALSE(f.KPREPARAMASK);
    EXPECT_EQ(f.Muda("1"), "1");  // no alignment while typing
    f.Sai("12345,123456");
    EXPECT_EQ(digita(f, "", "-7"), "-7");  // only the first key of its life empties
    // A text longer than the limit is never cut; it only cannot grow.
    f.limite = 5;
    EXPECT_FALSE(f.Cabe(12, 0, 1));
    EXPECT_TRUE(f.Cabe(12, 12, 1));
}

TEST(CampoNumero, MilharesDecimaisETextoDigitado) {
    EXPECT_EQ(NumeroComMilhar(1234567.891, 12, 2), "1.234.567,89");
    EXPECT_EQ(NumeroComMilhar(-0.001, 12, 2), "0,00");
    EXPECT_EQ(NumeroComMilhar(999.5, 12, 0), "1.000");
    // 11 significant digits leave 5 decimals to a 6-digit integer part, but
    // never round the integer part away.
    EXPECT_EQ(NumeroComMilhar(123456.1234567, 11, 6), "123.456,123460");
    EXPECT_EQ(NumeroComMilhar(1234567, 4, 2), "1.234.567,00");

    double v = 0;
    EXPECT_TRUE(LeNumeroDigitado("  -12,5 ", v));
    EXPECT_DOUBLE_EQ(v, -12.5);
    EXPECT_TRUE(LeNumeroDigitado("1,5E3", v));
    EXPECT_DOUBLE_EQ(v, 1500);
    for (const char* ruim : {"", "-", ",", "1.234", "1,2,3", "12a", "1E", "1E999", "1 2"})
        EXPECT_FALSE(LeNumeroDigitado(ruim, v)) << ruim;
}
