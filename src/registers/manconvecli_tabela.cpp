// The client-table services applied to the fields of the current CONVECLI
// record.
#include "registers/manconvecli.h"
#include "tabela/tabela.h"

namespace {

const char* const kCabecalho[] = {"CONHEACP1", "CONHEACP2", "CONHEACP3"};
const char* const kDetalhe[] = {"CONDETCP1", "CONDETCP2", "CONDETCP3"};

}  // namespace

void TmanCONVECLI::LeRegrasDoCliente(Tabela& convecli, TKTBCONVE& cabecalho,
                                TKTBCONVE& detalhe) const {
    auto texto = [&convecli](const char* campo) {
        return convecli.FieldByName(campo).AsString();
    };
    CLI_ABRPARAM(cabecalho, texto(kCabecalho[0]), texto(kCabecalho[1]), texto(kCabecalho[2]));
    CLI_ABRPARAM(detalhe, texto(kDetalhe[0]), texto(kDetalhe[1]), texto(kDetalhe[2]));
}

void TmanCONVECLI::GravaRegrasDoCliente(Tabela& convecli, const TKTBCONVE& cabecalho,
                                   const TKTBCONVE& detalhe) const {
    for (int n = 1; n <= 3; ++n) {
        convecli.FieldByName(kCabecalho[n - 1]).SetAsString(FechaParametrosDoCliente(cabecalho[n]));
        convecli.FieldByName(kDetalhe[n - 1]).SetAsString(FechaParametrosDoCliente(detalhe[n]));
    }
}

void TmanCONVECLI::LeFiliaisDoCliente(Tabela& convecli, TKTBBRFILIAL& filiais) const {
    CLI_ABRBR("ABRE_FILIAIS", filiais, convecli.FieldByName("CONDETCP1").AsString());
}

void TmanCONVECLI::GravaFiliaisDoCliente(Tabela& convecli, const TKTBBRFILIAL& filiais) const {
    TKTBBRFILIAL copia = filiais;
    convecli.FieldByName("CONDETCP1").SetAsString(CLI_ABRBR("FECHA_FILIAIS", copia, ""));
}
