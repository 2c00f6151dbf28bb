#include "report/motor_relatorio.h"

namespace {
std::unique_ptr<MotorRelatorio>& instalado() {
    static std::unique_ptr<MotorRelatorio> m;
    return m;
}
}  // namespace

MotorRelatorio* MotorDeRelatorioAtual() { return instalado().get(); }

std::unique_ptr<MotorRelatorio> InstalaMotorDeRelatorio(std::unique_ptr<MotorRelatorio> motor) {
    auto anterior = std::move(instalado());
    instalado() = std::move(motor);
    return anterior;
}
