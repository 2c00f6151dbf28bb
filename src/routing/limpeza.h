#pragma once
// Cleanup of the pending remittances: the answered operations whose return
// date lies before the limit date (today minus the installation's retention
// period) are deleted from CONVEPEN, which is then compacted. Operations not
// yet answered are never removed.

#include <cstdint>

#include "core/texto/calendario.h"

class TpenLIMPEZA {
public:
    // Opens CONVEINS shared and CONVEPEN exclusively. When CONVEPEN is in
    // use at another workstation the object is made all the same, but
    // Aberta() is false: ARQ_LIMPEZA then says so and deletes nothing.
    TpenLIMPEZA();
    // Closes both tables and gives CONVEPEN back for shared use.
    ~TpenLIMPEZA();
    TpenLIMPEZA(const TpenLIMPEZA&) = delete;
    TpenLIMPEZA& operator=(const TpenLIMPEZA&) = delete;

    bool Aberta() const { return aberta_; }
    // Today minus the retention period.
    TData DataLimite();
    void ARQ_LIMPEZA();

    std::int32_t WPES = 0;  // records examined
    std::int32_t WMAN = 0;  // records kept
    std::int32_t WEXC = 0;  // records deleted

private:
    bool aberta_ = false;
};

// Menu entry: creates the cleanup, runs it and frees it.
void LimpezaDasRemessasPendentes();
