#include "ecusim/EcuParameterTable.h"

#include <array>

namespace vzt {

namespace {

// Factory values are the program's defaults in the controller's units; the comment gives
// the default as the program shows it.
constexpr std::array kParameters{
    EcuParameter{"TipoAccensione", 163, 0x07, 0},             // ignition type 0
    EcuParameter{"TipoSegnaleGiri", 164, 0x10, 0},            // standard signal
    EcuParameter{"TipoCambio", 163, 0x18, 8},                 // 1: on acceleration
    EcuParameter{"TempoSovrapposizione", 216, 0xFF, 101},     // 0.4 s
    EcuParameter{"TipoTPS", 164, 0xE0, 0},                    // linear 0-5 V
    EcuParameter{"TipoSondaLambda", 165, 0xE0, 0},            // 0-1 V probe
    EcuParameter{"RitardoLetturaSonda", 205, 0xFF, 1},        // 5 s
    EcuParameter{"MaxAperturaAttuatore", 207, 0xFF, 240},
    EcuParameter{"MinAperturaAttuatore", 208, 0xFF, 20},
    EcuParameter{"FlagConfigurazione", 162, 0xFF, 32},
    EcuParameter{"PosizioneInAffondata", 167, 0xFF, 100},
    EcuParameter{"TPSPerAffondata", 166, 0xFF, 143},          // 2.8 V
    EcuParameter{"PosizioneInCutoff", 206, 0xFF, 80},
    EcuParameter{"PosizioneDefault", 168, 0xFF, 100},
    EcuParameter{"FlagConfigurazione2", 164, 0x08, 0},
    EcuParameter{"IsteresiMinTPS", 194, 0xFF, 7},             // 0.14 V
    EcuParameter{"Checkup", 161, 0xFF, 0},
    EcuParameter{"TemperaturaPerCambio", 224, 0xFF, 128},     // 25 °C
    EcuParameter{"TipoCommutatore", 226, 0xFF, 5},            // push-button only
    EcuParameter{"GiriPerCambio", 223, 0xFF, 59},             // 2000 RPM at 117000
    EcuParameter{"GiriSbananata", 213, 0xFF, 0},              // 0 RPM: off
    EcuParameter{"GiriCutOff", 204, 0xFF, 78},                // 1500 RPM
    EcuParameter{"GiriFuoriGiri", 225, 0xFF, 10},             // 12000 RPM
    EcuParameter{"TipoSensore", 164, 0x07, 1},                // first sensor
    EcuParameter{"NVolteAlto", 169, 0xFF, 18},                // 0.36 s
    EcuParameter{"NVolteBasso", 170, 0xFF, 18},               // 0.36 s
    EcuParameter{"NVolteTri", 171, 0xFF, 0},
    EcuParameter{"NRipetizioniOnda", 172, 0xFF, 1},
    EcuParameter{"NRipetizioniTri", 173, 0xFF, 0},
    EcuParameter{"RifLambdaAlMinimo", 199, 0xFF, 28},         // 0.55 V
    EcuParameter{"RifLambdaFuoriMinimo", 200, 0xFF, 28},      // 0.55 V
    EcuParameter{"RifLambdaRiccoFreddo", 198, 0xFF, 28},      // 0.55 V
    EcuParameter{"TipoEmulazione", 163, 0x60, 32},            // 1
    EcuParameter{"TempoAffondata", 227, 0xFF, 0},
    EcuParameter{"TempoDiCicchetto", 223, 0xFF, 59},          // shares 223 with GiriPerCambio
    EcuParameter{"AperturaSfigFuoriMin", 185, 0xFF, 25},
    EcuParameter{"FlagConfigurazione3", 165, 0xFF, 0},        // user value 16, bit 4 inverted
    EcuParameter{"AperturaSfigFuoriMinEco", 186, 0xFF, 8},
    EcuParameter{"TPSFasciaApprendimento", 196, 0xFF, 102},   // 2.0 V
    EcuParameter{"PosizioneASondaFredda", 219, 0xFF, 0},
    EcuParameter{"TempoTraTestMagroPower", 212, 0xFF, 10},    // 0.2 s
    EcuParameter{"NPassiPrimoMagroPower", 214, 0xFF, 4},
    EcuParameter{"NPassiTestMagroPower", 211, 0xFF, 4},
    EcuParameter{"TPSSbananata", 215, 0xFF, 179},             // 3.5 V
    EcuParameter{"QorNumberTPSRif2", 197, 0xFF, 179},         // 3.5 V
    EcuParameter{"PosizioneInOpenLoop", 218, 0xFF, 100},
    EcuParameter{"VelIngrMinimo", 174, 0xFF, 60},
    EcuParameter{"VelSmagrMinimo", 175, 0xFF, 80},
    EcuParameter{"VelIngrCrociera", 177, 0xFF, 35},
    EcuParameter{"VelSmagrCrociera", 178, 0xFF, 60},
    EcuParameter{"MinimaAperturaAlMinimo", 187, 0xFF, 25},
    EcuParameter{"MassimaAperturaAlMinimo", 184, 0xFF, 25},
    EcuParameter{"MinimaAperturaInCrociera", 189, 0xFF, 255},
    EcuParameter{"MassimaAperturaInCrociera", 188, 0xFF, 255},
    EcuParameter{"FrazDefEntroMinimo", 182, 0xFF, 0},
    EcuParameter{"FrazDefEscoMinimo", 183, 0xFF, 5},
    EcuParameter{"ValoreMinimoTPS", 195, 0xFF, 71},           // 1.4 V
    EcuParameter{"RitardoSmagrPrimoGrasso", 209, 0xFF, 120},
    EcuParameter{"NPassiPrimoMagroCrociera", 210, 0xFF, 1},
    EcuParameter{"QorNumberVelSmagrSbana", 180, 0xFF, 80},
    EcuParameter{"QorNumberVelIngrSbana", 179, 0xFF, 20},
    EcuParameter{"RifLambdaInPotenza", 202, 0xFF, 28},        // 0.55 V
    EcuParameter{"DefaultAcquisito", 122, 0x08, 0},
    EcuParameter{"TempoRetropassaggio", 228, 0xFF, 0},
};

}  // namespace

std::span<const EcuParameter> EcuParameters() { return kParameters; }

}  // namespace vzt
