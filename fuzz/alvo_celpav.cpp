// Hostile client files of this company type: read, checked and turned into
// bank records without a crash.

#include "fuzz/leiaute_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    return FUZZ_LEIAUTE(kTIPO_CELPAV, dados, tamanho);
}
