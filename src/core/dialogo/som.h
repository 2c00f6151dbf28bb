#pragma once
// The sound signals that go with messages and questions: short sequences of
// tones, played one after the other.

#include <cstdint>
#include <vector>

enum TsomOPCOES { somERRO, somSUCESSO, somFINALIZA, somPARA_TIP, somSIMNAO };

struct Tom {
    int frequencia = 0;  // hertz; 0 is a pause
    int duracaoMs = 0;
    bool operator==(const Tom&) const = default;
};

std::vector<Tom> TonsDoSom(TsomOPCOES tipo);

// Mono 16-bit samples of the tones at `taxa` samples per second; pauses are
// silence. Each tone starts and ends at zero so that joins do not click.
std::vector<std::int16_t> AmostrasDoSom(const std::vector<Tom>& tons, int taxa);

// Plays the tones on the default sound device and returns when they have
// ended; does nothing when the machine has no sound device.
void TocaSom(const std::vector<Tom>& tons);
