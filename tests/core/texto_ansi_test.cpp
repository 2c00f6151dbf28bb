#include <gtest/gtest.h>

#include "core/texto/ansi.h"
#include "core/texto/texto_ansi.h"

TEST(TextoAnsi, TodosOsBytesVaoEVoltam) {
    std::string todos;
    for (int b = 1; b < 256; ++b) todos += static_cast<char>(b);
    const std::string utf8 = ANSI_PARA_UTF8(todos);
    EXPECT_EQ(UTF8_PARA_ANSI(utf8), todos);
    EXPECT_EQ(ANSI_PARA_UTF8("AÇÃO €"_ansi), "AÇÃO €");
    EXPECT_EQ(ANSI_PARA_UTF8("\x93x\x94"), "\u201Cx\u201D");
}

TEST(TextoAnsi, CaracteresSemFormaViramInterrogacao) {
    EXPECT_EQ(UTF8_PARA_ANSI("a\u4E2Db"), "a?b");
    EXPECT_EQ(UTF8_PARA_ANSI("a\xC3"), "a?");        // cut short at the end
    EXPECT_EQ(UTF8_PARA_ANSI("a\xC3z"), "a?z");      // cut short before a letter
    EXPECT_EQ(UTF8_PARA_ANSI("\xFF\xFE"), "??");     // not UTF-8 at all
    EXPECT_EQ(UTF8_PARA_ANSI("\xF0\x9F\x98\x80"), "?");
}

TEST(TextoAnsi, MarcaDeOrdemDeBytesConverteOTexto) {
    std::string utf8 = "\xEF\xBB\xBF" "ação\r\n";
    EXPECT_TRUE(ANSI_DE_TEXTO_UNICODE(utf8));
    EXPECT_EQ(utf8, "ação\r\n"_ansi);

    std::string le = std::string("\xFF\xFE" "A\0\xE7\0\xAC\x20", 8);  // "Aç€" in UTF-16 LE
    EXPECT_TRUE(ANSI_DE_TEXTO_UNICODE(le));
    EXPECT_EQ(le, "Aç€"_ansi);

    std::string be = std::string("\xFE\xFF\0A\xD8\x3D\xDE\x00", 8);  // "A" and an emoji
    EXPECT_TRUE(ANSI_DE_TEXTO_UNICODE(be));
    EXPECT_EQ(be, "A?");

    std::string ansi = "a\xE7\xE3o";
    EXPECT_FALSE(ANSI_DE_TEXTO_UNICODE(ansi));
    EXPECT_EQ(ansi, "a\xE7\xE3o");
}
