#include <gtest/gtest.h>

#include "core/dialogo/som.h"

TEST(Som, AmostrasComDuracaoFrequenciaEPausas) {
    const int taxa = 8000;
    const auto a = AmostrasDoSom(TonsDoSom(somERRO), taxa);  // 87 Hz 175 ms, 30 ms, 40 Hz 335 ms
    ASSERT_EQ(a.size(), static_cast<std::size_t>((175 + 30 + 335) * taxa / 1000));
    const std::size_t inicioPausa = 175 * taxa / 1000, fimPausa = 205 * taxa / 1000;
    for (std::size_t i = inicioPausa; i < fimPausa; ++i) ASSERT_EQ(a[i], 0);
    // A sine of f hertz changes sign 2f times a second.
    int trocas = 0;
    for (std::size_t i = fimPausa + 1; i < a.size(); ++i)
        if ((a[i - 1] < 0) != (a[i] < 0)) ++trocas;
    EXPECT_NEAR(trocas, 2 * 40 * 0.335, 2);
    EXPECT_EQ(a.front(), 0);  // no click at the start
}
