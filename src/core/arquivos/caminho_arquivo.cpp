#include "core/arquivos/caminho_arquivo.h"

#include <cstdio>

#include "core/texto/obr_texto.h"

std::string OBR_PARTEARQ(const std::string& caminho, int modo, int numero) {
    const auto barra = caminho.find_last_of('/');
    const std::string diretorio =
        barra == std::string::npos ? std::string() : caminho.substr(0, barra + 1);
    switch (modo) {
        case 0:
            return diretorio;
        case 1: {
            if (diretorio.size() < 2) return {};
            const std::string semBarra = diretorio.substr(0, diretorio.size() - 1);
            const auto anterior = semBarra.find_last_of('/');
            return anterior == std::string::npos ? semBarra : semBarra.substr(anterior + 1);
        }
        case 2: {
            if (caminho.empty() || caminho[0] != '/') return {};
            const auto segunda = caminho.find('/', 1);
            return segunda == std::string::npos ? caminho : caminho.substr(0, segunda);
        }
        case 3:
            return AparaPontas(barra == std::string::npos ? caminho : caminho.substr(barra + 1));
        case 4:
            return caminho.substr(0, caminho.find('.')) + ".FPT";
        case 5: {
            std::string r = caminho;
            const bool temExtensao = r.size() >= 4 && r[r.size() - 4] == '.';
            const std::size_t fim = temExtensao ? r.size() - 4 : r.size();
            const std::size_t ini = fim >= 2 ? fim - 2 : 0;
            char dois[16];
            std::snprintf(dois, sizeof dois, "%02d", numero);
            return r.replace(ini, fim - ini, dois);
        }
        case 6:
            return caminho.substr(0, caminho.find('.'));
        default:
            return {};
    }
}
