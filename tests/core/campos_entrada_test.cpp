#include <gtest/gtest.h>

#include "core/campos_entrada.h"
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

TEST(CampoData, SaidaTomaDataOuRecusaTexto) {
    GeralDeTeste g;
    RegrasCampoData d;
    EXPECT_FALSE(d.Sai("15/03/2026"));
    EXPECT_EQ(d.KDATADIG, DATA_CODIFICA(2026, 3, 15));

    // An erased field keeps the date it had.
    EXPECT_FALSE(d.Sai("  /  /    "));
    EXPECT_EQ(d.KDATADIG, DATA_CODIFICA(2026, 3, 15));

    // An impossible date is refused: no date, the field empties and keeps the focus.
    EXPECT_TRUE(d.Sai("31/02/2019"));
    EXPECT_EQ(d.KDATADIG, 0);
    d.KDATADIG = DATA_CODIFICA(2026, 3, 15);
    EXPECT_TRUE(d.Sai("1 /  /    "));  // half typed
    EXPECT_EQ(d.KDATADIG, 0);
    EXPECT_TRUE(d.Sai("00/00/0000"));

    // A two-digit year falls in the window of the day's date.
    EXPECT_FALSE(d.Sai("01/02/30  "));
    EXPECT_EQ(d.KDATADIG, DATA_CODIFICA(2030, 2, 1));
}

TEST(CampoData, EscritaDeZeroNaoMudaOTexto) {
    RegrasCampoData d;
    EXPECT_EQ(d.DefineData(DATA_CODIFICA(2019, 2, 28)), "28/02/2019");
    EXPECT_EQ(d.DefineData(0), std::nullopt);
    EXPECT_EQ(d.KDATADIG, 0);
}

TEST(CampoInteiro, ValorAlinhadoAoMostrarEDigitosAoLer) {
    RegrasCampoInteiro i;
    i.DefineInteiros(3);
    EXPECT_EQ(i.Largura(), 41);
    EXPECT_EQ(i.DefineValor(7), "  7");
    i.DefineInteiros(6);
    EXPECT_EQ(i.Largura(), 65);

    EXPECT_EQ(i.Sai("A1B2  "), "    12");  // a pasted text gives the number of its digits
    EXPECT_EQ(i.KASINTEGER, 12);
    EXPECT_EQ(i.Sai("12,5"), "     0");  // not an integer
    EXPECT_EQ(i.Sai("      "), "     0");
    EXPECT_EQ(i.Sai("5 3   "), "    53");
}

TEST(CampoInteiro, PrimeiraTeclaDepoisDeEntrarLimpa) {
    RegrasCampoInteiro i;
    EXPECT_TRUE(i.Tecla());
    EXPECT_FALSE(i.Tecla());
    i.Sai("4");
    EXPECT_TRUE(i.Tecla());  // after every exit
}

TEST(CampoFloat, PontoComoVirgulaDecimal) {
    RegrasCampoFloat f;
    f.KINTEIROS = 5;
    f.KDECIMAIS = 6;
    const std::string t = digita(f, "", "1.5");
    EXPECT_EQ(t, "1.5");
    EXPECT_EQ(f.Sai(t), "    1,500000");
    EXPECT_DOUBLE_EQ(f.KASFLOAT, 1.5);

    // Decimals beyond the seventh after a typed full stop are cut, then the
    // value is rounded to the field's decimals.
    f.KDIGITOU = true;
    EXPECT_EQ(f.Sai("2.12345678"), "    2,123457");
    EXPECT_DOUBLE_EQ(f.KASFLOAT, 2.123457);
}

TEST(CampoFloat, ValorMostradoEditadoNoLugarContinuaOValor) {
    RegrasCampoFloat f;
    EXPECT_EQ(f.Muda(f.DefineValor(1234)), "     1.234,00");
    // The person changes the last decimal where it stands: the full stop
    // groups thousands, it is not taken as the decimal mark.
    f.EditadoSemTecla();
    EXPECT_EQ(f.Sai("     1.234,05"), "     1.234,05");
    EXPECT_DOUBLE_EQ(f.KASFLOAT, 1234.05);
    f.KDIGITOU = true;
    EXPECT_EQ(f.Sai("-1.234.567,5"), "-1.234.567,50");
    EXPECT_DOUBLE_EQ(f.KASFLOAT, -1234567.5);
    // A full stop after the comma still makes no number.
    f.KDIGITOU = true;
    EXPECT_EQ(f.Sai("1,5.3"), "         0,00");
    EXPECT_DOUBLE_EQ(f.KASFLOAT, 0);
}

TEST(CampoFloat, SaidaSemDigitarMantemTexto) {
    RegrasCampoFloat f;
    f.Muda(f.DefineValor(2.5));
    EXPECT_EQ(f.Sai("         2,50"), std::nullopt);
    // An empty field is written as 0 even untouched.
    EXPECT_EQ(f.Sai(""), "         0,00");
    EXPECT_DOUBLE_EQ(f.KASFLOAT, 0);
    // Emptied by typing: 0 too.
    const std::string t = digita(f, "         0,00", "9\b");
    EXPECT_EQ(t, "");
    EXPECT_EQ(f.Sai(t), "         0,00");
    // Letters and other junk make 0.
    f.KDIGITOU = true;
    EXPECT_EQ(f.Sai("--3"), "         0,00");
}

TEST(CampoFloat, TeclasEComprimento) {
    RegrasCampoFloat f;
    f.KINTEIROS = 5;
    f.KDECIMAIS = 6;
    f.Muda(f.DefineValor(3));
    // The first key of the field's life empties it; letters are discarded;
    // only Inteiros digits fit before the mark, Decimais after it.
    EXPECT_EQ(digita(f, "    3,000000", "a12345678,1234567"), "12345,123456");
    EXPECT_FALSE(f.KLIMPA);
    EXPECT_FALSE(f.KPREPARAMASK);
    EXPECT_TRUE(f.KDIGITOU);
    f.Sai("12345,123456");
    // Later keys edit the text in place; a minus is taken.
    EXPECT_EQ(digita(f, "", "-7"), "-7");

    // A text longer than the limit is not cut; it only cannot grow.
    f.limite = 5;
    EXPECT_FALSE(f.Cabe(12, 0, 1));
    EXPECT_TRUE(f.Cabe(12, 12, 1));
    f.limite = 0;
    EXPECT_TRUE(f.Cabe(100, 0, 1));
}

TEST(CampoFloat, AlinhamentoSoComPreparaMascara) {
    RegrasCampoFloat f;  // 10 + 2: 13 positions
    EXPECT_EQ(f.Muda("1,5"), "          1,5");
    EXPECT_EQ(f.Muda("12.345.678.901,00"), "12.345.678.901,00");
    f.Digita('1', "");
    EXPECT_EQ(f.Muda("1,5"), "1,5");
}

TEST(CampoNumero, MilharesEDigitosSignificativos) {
    EXPECT_EQ(CAMPO_NUMERO_MILHAR(1234567.891, 12, 2), "1.234.567,89");
    EXPECT_EQ(CAMPO_NUMERO_MILHAR(0, 12, 2), "0,00");
    EXPECT_EQ(CAMPO_NUMERO_MILHAR(-0.001, 12, 2), "0,00");
    EXPECT_EQ(CAMPO_NUMERO_MILHAR(-12.345, 12, 2), "-12,35");
    EXPECT_EQ(CAMPO_NUMERO_MILHAR(999.5, 12, 0), "1.000");
    // 11 significant digits leave 5 decimals to a 6-digit integer part.
    EXPECT_EQ(CAMPO_NUMERO_MILHAR(123456.1234567, 11, 6), "123.456,123460");
    // The integer part is never rounded away.
    EXPECT_EQ(CAMPO_NUMERO_MILHAR(1234567, 4, 2), "1.234.567,00");
}

TEST(CampoNumero, TextoDigitado) {
    double v = -1;
    EXPECT_TRUE(CAMPO_TEXTO_NUMERO("  -12,5 ", v));
    EXPECT_DOUBLE_EQ(v, -12.5);
    EXPECT_TRUE(CAMPO_TEXTO_NUMERO(",5", v));
    EXPECT_DOUBLE_EQ(v, 0.5);
    EXPECT_TRUE(CAMPO_TEXTO_NUMERO("1,5E3", v));
    EXPECT_DOUBLE_EQ(v, 1500);
    for (const char* ruim : {"", "-", ",", "1.234", "1,2,3", "12a", "1E", "1E999", "1 2"})
        EXPECT_FALSE(CAMPO_TEXTO_NUMERO(ruim, v)) << ruim;
}

TEST(RadioItemIndex, PrimeiroMarcadoOuMantem) {
    EXPECT_EQ(RADIO_ITEMINDEX({false, true, true}, -1), 1);
    EXPECT_EQ(RADIO_ITEMINDEX({false, false}, 0), 0);
    EXPECT_EQ(RADIO_ITEMINDEX({}, -1), -1);
}
