#include "core/dialogo/som.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#if CONVERSOR_COM_ALSA
#include <alsa/asoundlib.h>
#endif

std::vector<Tom> TonsDoSom(TsomOPCOES tipo) {
    switch (tipo) {
        case somERRO: return {{87, 175}, {0, 30}, {40, 335}};
        case somSUCESSO: return {{261, 65}, {0, 30}, {392, 345}};
        case somFINALIZA:
            return {{100, 85}, {0, 30}, {150, 85}, {0, 30}, {200, 85},
                    {0, 30},   {250, 85}, {0, 30}, {300, 85}};
        case somPARA_TIP: return {{200, 150}, {300, 300}};
        case somSIMNAO: return {{200, 135}};
    }
    return {};
}

std::vector<std::int16_t> AmostrasDoSom(const std::vector<Tom>& tons, int taxa) {
    std::vector<std::int16_t> amostras;
    const double amplitude = 0.4 * 32767;
    for (const Tom& t : tons) {
        const long n = static_cast<long>(t.duracaoMs) * taxa / 1000;
        // A short ramp at both ends (5 ms, or a tenth of a very short tone).
        const long rampa = std::max(1L, std::min(n / 10, static_cast<long>(taxa) / 200));
        for (long i = 0; i < n; ++i) {
            if (t.frequencia <= 0) {
                amostras.push_back(0);
                continue;
            }
            double envelope = 1.0;
            if (i < rampa) envelope = static_cast<double>(i) / rampa;
            else if (n - 1 - i < rampa) envelope = static_cast<double>(n - 1 - i) / rampa;
            const double fase = 2 * std::numbers::pi * t.frequencia * i / taxa;
            amostras.push_back(static_cast<std::int16_t>(amplitude * envelope * std::sin(fase)));
        }
    }
    return amostras;
}

#if CONVERSOR_COM_ALSA

namespace {

// ALSA reports a missing device on stderr by itself; a machine without sound
// is normal here and must not fill the terminal.
void alsaCalado(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void TocaSom(const std::vector<Tom>& tons) {
    if (tons.empty()) return;
    int placa = -1;
    if (snd_card_next(&placa) < 0 || placa < 0) return;
    snd_lib_error_set_handler(alsaCalado);
    constexpr unsigned kTaxa = 44100;
    snd_pcm_t* pcm = nullptr;
    // Opened without blocking, so a device held by someone else is skipped
    // instead of waited for; writing then blocks as playing needs.
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return;
    if (snd_pcm_nonblock(pcm, 0) < 0 ||
        snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kTaxa,
                           1, 100000) < 0) {
        snd_pcm_close(pcm);
        return;
    }
    const auto amostras = AmostrasDoSom(tons, static_cast<int>(kTaxa));
    std::size_t feitas = 0;
    while (feitas < amostras.size()) {
        snd_pcm_sframes_t r =
            snd_pcm_writei(pcm, amostras.data() + feitas, amostras.size() - feitas);
        if (r < 0) r = snd_pcm_recover(pcm, static_cast<int>(r), 1);
        if (r < 0) break;
        feitas += static_cast<std::size_t>(r);
    }
    snd_pcm_drain(pcm);
    snd_pcm_close(pcm);
}

#else

void TocaSom(const std::vector<Tom>&) {}

#endif
