#include <gtest/gtest.h>

#include "core/texto/ansi.h"
#include "core/texto/texto_ansi.h"

TEST(TextoAnsi, TodosOsBytesVaoEVoltam) {
    std::string todos;
    for (int b = 1; b < 256; ++b) todos += static_cast<char>(b);
    const std::string utf8 = AnsiParaUtf8(todos);
    EXPECT_EQ(Utf8ParaAnsi(utf8), todos);
    EXPECT_EQ(AnsiParaUtf8("AÇÃO €"_ansi), "AÇÃO €");
    EXPECT_EQ(AnsiParaUtf8("\x93x\x94"), "\u201Cx\u201D");
}

TEST(TextoAnsi, CaracteresSemFormaViramInterrogacao) {
    EXPECT_EQ(Utf8ParaAnsi("a\u4E2Db"), "a?b");
    EXPECT_EQ(Utf8ParaAnsi("a\xC3"), "a?");        // cut short at the end
    EXPECT_EQ(Utf8ParaAnsi("a\xC3z"), "a?z");      // cut short before a letter
    EXPECT_EQ(Utf8ParaAnsi("\xFF\xFE"), "??");     // not UTF-8 at all
    EXPECT_EQ(Utf8ParaAnsi("\xF0\x9F\x98\x80"), "?");
}

TEST(TextoAnsi, MarcaDeOrdemDeBytesConverteOTexto) {
    std::string utf8 = "\xEF\xBB\xBF" "ação\r\n";
    EXPECT_TRUE(AnsiDeTextoUnicode(utf8));
    EXPECT_EQ(utf8, "ação\r\n"_ansi);

    std::string le = std::string("\xFF\xFE" "A\0\xE7\0\xAC\x20", 8);  // "Aç€" in UTF-16 LE
    EXPECT_TRUE(AnsiDeTextoUnicode(le));
    EXPECT_EQ(le, "Aç€"_ansi);

    std::string be = std::string("\xFE\xFF\0A\xD8\x3D\xDE\x00", 8);  // "A" and an emoji
    EXPECT_TRUE(AnsiDeTextoUnicode(be));
    EXPECT_EQ(be, "A?");

    std::string ansi = "a\xE7\xE3o";
    EXPECT_FALSE(AnsiDeTextoUnicode(ansi));
    EXPECT_EQ(ansi, "a\xE7\xE3o");
}
