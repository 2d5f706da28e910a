#include "Catalogue.h"

#include <utility>
#include <variant>

#include "components/comm/DataRefresher.h"
#include "components/comm/Qorconnection.h"
#include "components/data/SerialData.h"
#include "components/translator/Translator.h"

namespace vzt {

namespace {

// ---------------------------------------------------------------- how a value converts

struct Conversion {
  TransformationType type = ttNone;
  PropertyList coeffs{1, 0, 0, 1};
  PropertyList table{0};
};

Conversion R() { return {}; }

Conversion Formula(double a, double b, double c, double d) { return {ttFormula, {a, b, c, d}}; }

// K/r with the RPM period constant K as stored; the module rescales it by ignition type.
Conversion RpmPeriod() { return Formula(0, 117000, 1, 0); }

Conversion Table(std::initializer_list<std::pair<double, double>> pairs) {
  Conversion c{ttTabled};
  c.table = {static_cast<double>(pairs.size())};
  for (const auto& p : pairs) c.table.push_back(p.first);
  for (const auto& p : pairs) c.table.push_back(p.second);
  return c;
}

Conversion Ntc() {
  Conversion c{ttNonLinearTabled, {5, 0, -5, 1275}};
  c.table = {static_cast<double>(NtcRatios().size())};
  c.table.insert(c.table.end(), NtcRatios().begin(), NtcRatios().end());
  c.table.insert(c.table.end(), NtcDegrees().begin(), NtcDegrees().end());
  return c;
}

Conversion Custom() { return {ttCustom}; }

// Bit 7 is the sign; the handlers convert. One item also carries the mapping as a table,
// which the custom conversion never consults.
Conversion SignedMagnitudeWithTable() {
  Conversion c{ttCustom};
  c.table = {256};
  for (int r = 0; r < 256; ++r) c.table.push_back(r);
  for (int r = 0; r < 256; ++r) c.table.push_back(r < 128 ? r : 128 - r);
  return c;
}

struct Limits {
  bool off;
  double min, max;
};
constexpr Limits Off{true, 0, 0};
constexpr Limits Range(double min, double max) { return {false, min, max}; }

struct FileKey {
  FileKey(const char* k) : key(k) {}  // NOLINT: the table spells keys as plain strings
  FileKey(const char* k, const char* s) : key(k), section(s) {}
  const char* key;
  const char* section = "CONFIGURAZIONE";
};
FileKey InCommands(const char* key) { return {key, "COMANDI"}; }

using Events = std::vector<std::pair<const char*, const char*>>;

constexpr int kByCode = -1;  // reached by request code, not by address

struct Service {
  int index;
  const char* name;
};

struct Parameter {
  int index;
  const char* name;
  int address;
  int mask;
  Conversion value;
  const char* unit;
  double precision;
  Limits limits;
  double defaultValue;
  int group;
  FileKey key;
  Events events;
};

struct Live {
  int offset;
  int index;
  const char* name;
  Conversion value;
  double precision;
  Events events;
};

using Row = std::variant<Service, Parameter, Live>;

// ---------------------------------------------------------------- the catalogue

// clang-format off
const std::vector<Row>& Catalogue() {
  static const std::vector<Row> rows = {
  Service{0, "QorConnection"},
  Service{1, "DataRefresher"},
  //        #  Item                       Addr  Mask  User value              Unit   Prec  Limits            Default Grp Key
  Parameter{2, "TipoAccensione",          163, 0x07, R(),                     "",    0,    Off,              0,     0, "TIPO ACCENSIONE",
            {{"OnSetData", "TipoAccensioneSetData"}, {"OnGetData", "TipoAccensioneGetData"}}},
  Parameter{3, "TipoSegnaleGiri",         164, 0x10, Formula(1, 0, 0, 16),    "",    0,    Off,              0,     0, "TIPO SEGNALE GIRI", {}},
  Parameter{4, "TipoCambio",              163, 0x18, Formula(1, 0, 0, 8),     "",    0,    Off,              1,     0, "TIPO CAMBIO",
            {{"OnSetData", "TipoCambioSetData"}}},
  Parameter{5, "TempoSovrapposizione",    216, 0xFF, Formula(4, -4, 0, 1000), "s",   0.01, Range(0, 1),      0.4,   0, "TEMPO DI SOVRAPPOSIZIONE", {}},
  Parameter{6, "TipoTPS",                 164, 0xE0, Formula(1, 0, 0, 32),    "",    0,    Off,              0,     0, "TIPO DI TPS",
            {{"OnSetData", "TipoTPSSetData"}, {"OnGetData", "TipoTPSSetData"}}},
  Parameter{7, "TipoSondaLambda",         165, 0xE0, Formula(1, 0, 0, 32),    "",    0,    Off,              0,     0, "TIPO SONDA LAMBDA",
            {{"OnSetData", "TipoSondaLambdaSetData"}}},
  Parameter{8, "RitardoLetturaSonda",     205, 0xFF, Formula(5, 0, 0, 1),     "s",   5,    Range(0, 1275),   5,     0, "RITARDO LETTURA SONDA", {}},
  Parameter{9, "MaxAperturaAttuatore",    207, 0xFF, R(),                     "",    1,    Range(0, 240),    240,   0, "MASSIMA APERTURA ATTUATORE",
            {{"OnSetData", "MaxAperturaAttuatoreSetData"}, {"OnGetData", "MaxAperturaAttuatoreSetData"}}},
  Parameter{10, "MinAperturaAttuatore",   208, 0xFF, R(),                     "",    1,    Range(20, 240),   20,    0, "MINIMA APERTURA ATTUATORE",
            {{"OnSetData", "MaxAperturaAttuatoreSetData"}, {"OnGetData", "MaxAperturaAttuatoreSetData"}}},
  Parameter{11, "FlagConfigurazione",     162, 0xFF, R(),                     "",    0,    Off,              32,    0, "FLAG DI CONFIGURAZIONE",
            {{"OnSetData", "FlagConfigurazioneSetData"}}},
  Parameter{12, "PosizioneInAffondata",   167, 0xFF, R(),                     "",    1,    Range(0, 240),    100,   0, "POSIZIONE IN AFFONDATA", {}},
  Parameter{13, "TPSPerAffondata",        166, 0xFF, Formula(5, 0, 0, 255),   "V",   0.1,  Range(0, 5),      2.8,   0, "TPS PER AFFONDATA", {}},
  Parameter{14, "PosizioneInCutoff",      206, 0xFF, R(),                     "",    1,    Range(20, 240),   80,    0, "POSIZIONE IN CUTOFF", {}},
  Parameter{15, "PosizioneDefault",       168, 0xFF, R(),                     "",    1,    Range(20, 240),   100,   0, "POSIZIONE DEFAULT FISSO", {}},
  Parameter{16, "FlagConfigurazione2",    164, 0x08, R(),                     "",    0,    Off,              0,     0, "FLAG CONFIGURAZIONE 2", {}},
  Parameter{17, "IsteresiMinTPS",         194, 0xFF, Formula(5, 0, 0, 255),   "V",   0.01, Range(0, 0.5),    0.14,  0, "ISTERESI MINIMO TPS", {}},
  Parameter{18, "Checkup",                161, 0xFF, R(),                     "",    1,    Off,              0,     0, "CHECKUP", {}},
  //   Offset  #  Item                       User value               Prec
  Live{1,     19, "ValoreLambda",             Formula(5, 0, 0, 255),   0.01, {}},
  Parameter{20, "TemperaturaPerCambio",   224, 0xFF, Ntc(),                   "°C",  1,    Range(0, 40),     25,    0, "TEMPERATURA PER CAMBIO", {}},
  Live{2,     21, "ValoreTPS",                Formula(5, 0, 0, 255),   0.01, {}},
  Live{3,     22, "ValoreMinTPS",             Formula(5, 0, 0, 255),   0.01, {}},
  Live{4,     23, "ValorePosizioneAttuatore", R(),                     1,    {}},
  Live{5,     24, "ValorePosizioneDefault",   R(),                     1,    {{"OnGetData", "ValorePosizioneDefaultGetData"}}},
  Live{7,     25, "FasciaTPS",                R(),                     0,    {{"OnGetData", "FasciaTPSGetData"}}},
  Live{6,     26, "FasciaLambda",             R(),                     0,    {{"OnGetData", "FasciaLambdaGetData"}}},
  Parameter{27, "TipoCommutatore",        226, 0xFF, Table({{5, 0}, {133, 1}}), "",  0,    Off,              0,     0, "TIPO COMMUTATORE", {}},
  Parameter{28, "Riprogrammazione",   kByCode, 0xFF, R(),                     "",    0,    Off,              0,     0, InCommands("RIPROGRAMMAZIONE"), {}},
  Live{8,     29, "ValoreTemperatura",        Ntc(),                   1,    {}},
  Live{0,     30, "ValoreGiri",               RpmPeriod(),             10,   {{"OnGetData", "ValoreGiriGetData"}}},
  Parameter{31, "GiriPerCambio",          223, 0xFF, RpmPeriod(),             "RPM", 100,  Range(0, 3000),   2000,  1, "RIFERIMENTO GIRI CAMBIO", {}},
  Parameter{32, "GiriSbananata",          213, 0xFF, RpmPeriod(),             "RPM", 100,  Range(0, 8000),   0,     1, "GIRI_SBANANATA", {}},
  Parameter{33, "GiriCutOff",             204, 0xFF, RpmPeriod(),             "RPM", 100,  Range(0, 8000),   1500,  1, "GIRI CUTOFF", {}},
  Service{34, "Translator"},
  Parameter{35, "GiriFuoriGiri",          225, 0xFF, RpmPeriod(),             "RPM", 100,  Range(0, 8000),   12000, 1, "GIRI FUORI GIRI", {}},
  Parameter{36, "TipoSensore",            164, 0x07, Table({{1, 0}, {2, 1}, {4, 2}}), "", 0, Off,            0,     0, "TIPO DI SENSORE", {}},
  Parameter{37, "NVolteAlto",             169, 0xFF, Formula(20, 0, 0, 1000), "s",   0.01, Range(0, 5),      0.36,  0, "NUMERO DI VOLTE ALTO", {}},
  Parameter{38, "NVolteBasso",            170, 0xFF, Formula(20, 0, 0, 1000), "s",   0.01, Range(0, 5),      0.36,  0, "NUMERO DI VOLTE BASSO", {}},
  Parameter{39, "NVolteTri",              171, 0xFF, R(),                     "s",   1,    Range(0, 255),    0,     0, "NUMERO DI VOLTE TRI", {}},
  Parameter{40, "NRipetizioniOnda",       172, 0xFF, R(),                     "s",   1,    Range(0, 255),    1,     0, "NUMERO RIPETIZIONI ONDA", {}},
  Parameter{41, "NRipetizioniTri",        173, 0xFF, R(),                     "s",   0.01, Range(0, 255),    0,     0, "NUMERO RIPETIZIONI TRI", {}},
  Parameter{42, "RifLambdaAlMinimo",      199, 0xFF, Formula(5, 0, 0, 255),   "V",   0.01, Range(0.5, 5),    0.55,  0, "RIF LAMBDA MINIMO",
            {{"OnSetData", "RifLambdaAlMinimoSetData"}}},
  Parameter{43, "RifLambdaFuoriMinimo",   200, 0xFF, Formula(5, 0, 0, 255),   "V",   0.01, Range(0.5, 5),    0.55,  0, "RIF LAMBDA FUORI MINIMO",
            {{"OnSetData", "RifLambdaAlMinimoSetData"}}},
  Parameter{44, "RifLambdaRiccoFreddo",   198, 0xFF, Formula(5, 0, 0, 255),   "V",   0.01, Range(0, 5),      0.55,  0, "RICCO FREDDO", {}},
  Parameter{45, "TipoEmulazione",         163, 0x60, Table({{0, 0}, {32, 1}, {64, 2}}), "", 0, Off,          1,     0, "TIPO DI EMULAZIONE", {}},
  Parameter{46, "TempoAffondata",         227, 0xFF, Formula(2, 0, 0, 100),   "s",   0.01, Range(0, 5),      0,     0, "TEMPO IN AFFONDATA", {}},
  Parameter{47, "TempoDiCicchetto",       223, 0xFF, Formula(20, 0, 0, 1000), "s",   0.01, Range(0, 5),      1,     0, "TEMPO DI CICCHETTO", {}},
  Parameter{48, "AperturaSfigFuoriMin",   185, 0xFF, R(),                     "",    1,    Range(0, 255),    25,    0, "FRAZ DEF SOPRA DEF SFIG", {}},
  Parameter{49, "FlagConfigurazione3",    165, 0xFF, Custom(),                "",    0,    Off,              16,    0, "FLAG CONFIGURAZIONE 3",
            {{"OnConvertToEcu", "FlagConfigurazione3ConvertToEcu"}, {"OnConvertToUser", "FlagConfigurazione3ConvertToUser"}}},
  Parameter{50, "AperturaSfigFuoriMinEco", 186, 0xFF, R(),                    "",    1,    Range(0, 250),    8,     0, "FRAZ DEF SOTTO DEF SFIG ECO", {}},
  Parameter{51, "TPSFasciaApprendimento", 196, 0xFF, Formula(5, 0, 0, 255),   "V",   0.1,  Range(1.4, 3.4),  2,     0, "TPS FASCIA APPRENDIMENTO", {}},
  Parameter{52, "PosizioneASondaFredda",  219, 0xFF, SignedMagnitudeWithTable(), "", 1,    Range(-127, 128), 0,     0, "POSIZIONE DOPO CAMBIO",
            {{"OnConvertToEcu", "PosizioneASondaFreddaConvertToEcu"}, {"OnConvertToUser", "PosizioneASondaFreddaConvertToUser"}}},
  Parameter{53, "TempoTraTestMagroPower", 212, 0xFF, Formula(20, 0, 0, 1000), "s",   0.01, Range(0, 5),      0.2,   0, "NUMERO DI PASSI AL PRIMO GRASSO IN SBANANATA", {}},
  Parameter{54, "NPassiPrimoMagroPower",  214, 0xFF, R(),                     "",    1,    Range(1, 20),     4,     0, "NUMERO DI PASSI AL PRIMO MAGRO IN SBANANATA", {}},
  Parameter{55, "NPassiTestMagroPower",   211, 0xFF, R(),                     "",    1,    Range(1, 20),     4,     0, "NUMERO DI PASSI AL PRIMO MAGRO IN SBANANATA", {}},
  Parameter{56, "TPSSbananata",           215, 0xFF, Formula(5, 0, 0, 255),   "V",   0.1,  Range(0, 5),      3.5,   0, "TPS INIZIO FASCIA SBANANATA", {}},
  Parameter{57, "QorNumberTPSRif2",       197, 0xFF, Formula(5, 0, 0, 255),   "V",   0.1,  Range(0, 5),      3.5,   0, "TPS SBANANATA", {}},
  Parameter{58, "PosizioneInOpenLoop",    218, 0xFF, R(),                     "",    1,    Range(20, 240),   100,   0, "POSIZIONE IN OPEN LOOP", {}},
  Parameter{59, "VelIngrMinimo",          174, 0xFF, R(),                     "ms",  1,    Range(2, 255),    60,    0, "TEMPO TRA PASSI AD INGRASSARE AL MINIMO", {}},
  Parameter{60, "VelSmagrMinimo",         175, 0xFF, R(),                     "ms",  1,    Range(2, 255),    80,    0, "TEMPO TRA PASSI A SMAGRIRE AL MINIMO", {}},
  Parameter{61, "VelIngrCrociera",        177, 0xFF, R(),                     "ms",  1,    Range(2, 255),    35,    0, "TEMPO TRA PASSI AD INGRASSARE IN CROCIERA", {}},
  Parameter{62, "VelSmagrCrociera",       178, 0xFF, R(),                     "ms",  1,    Range(2, 255),    60,    0, "TEMPO TRA PASSI A SMAGRIRE IN CROCIERA", {}},
  Parameter{63, "MinimaAperturaAlMinimo", 187, 0xFF, R(),                     "",    1,    Range(0, 240),    25,    0, "MINIMA APERTURA ATTUATORE AL MINIMO", {}},
  Parameter{64, "MassimaAperturaAlMinimo", 184, 0xFF, R(),                    "",    1,    Range(0, 240),    25,    0, "MASSIMA APERTURA ATTUATORE AL MINIMO", {}},
  Parameter{65, "MinimaAperturaInCrociera", 189, 0xFF, R(),                   "",    1,    Range(0, 255),    255,   0, "MINIMA APERTURA ATTUATORE IN CROCIERA", {}},
  Parameter{66, "MassimaAperturaInCrociera", 188, 0xFF, R(),                  "",    1,    Range(0, 255),    255,   0, "MASSIMA APERTURA ATTUATORE IN CROCIERA", {}},
  Parameter{67, "FrazDefEntroMinimo",     182, 0xFF, Custom(),                "",    1,    Range(-100, 100), 0,     0, "POSIZIONE IN ENTRATA AL MINIMO",
            {{"OnConvertToEcu", "PosizioneASondaFreddaConvertToEcu"}, {"OnConvertToUser", "PosizioneASondaFreddaConvertToUser"}}},
  Parameter{68, "FrazDefEscoMinimo",      183, 0xFF, Custom(),                "",    1,    Range(-100, 100), 5,     0, "POSIZIONE IN USCITA DAL MINIMO",
            {{"OnConvertToEcu", "PosizioneASondaFreddaConvertToEcu"}, {"OnConvertToUser", "PosizioneASondaFreddaConvertToUser"}}},
  Parameter{69, "ValoreMinimoTPS",        195, 0xFF, Formula(5, 0, 0, 255),   "V",   0.1,  Range(0, 5),      1.4,   0, "VALORE MINIMO TPS", {}},
  Parameter{70, "RitardoSmagrPrimoGrasso", 209, 0xFF, R(),                    "ms",  1,    Range(0, 255),    120,   0, "NUMERO DI PASSI AL PRIMO GRASSO IN CROCIERA", {}},
  Parameter{71, "NPassiPrimoMagroCrociera", 210, 0xFF, R(),                   "",    1,    Range(1, 20),     1,     0, "NUMERO DI PASSI AL PRIMO MAGRO IN CROCIERA", {}},
  Parameter{72, "QorNumberVelSmagrSbana", 180, 0xFF, R(),                     "ms",  1,    Range(2, 255),    80,    0, "TEMPO TRA PASSI A SMAGRIRE SBANA", {}},
  Parameter{73, "QorNumberVelIngrSbana",  179, 0xFF, R(),                     "ms",  1,    Range(2, 255),    20,    0, "TEMPO TRA PASSI AD INGRASSARE SBANA", {}},
  Parameter{74, "RifLambdaInPotenza",     202, 0xFF, Formula(5, 0, 0, 255),   "V",   0.01, Range(0.5, 5),    0.55,  0, "RIF LAMBDA IN POTENZA", {}},
  Parameter{75, "DefaultAcquisito",       122, 0x08, R(),                     "",    0,    Off,              0,     0, "DEFAULT ACQUISITO",
            {{"OnSetData", "FlagConfigurazioneSetData"}, {"OnGetData", "DefaultAcquisitoGetData"}}},
  Parameter{76, "TempoRetropassaggio",    228, 0xFF, R(),                     "s",   1,    Range(0, 255),    0,     0, "TEMPO RETROPASSAGGIO BENZINA", {}},
  };
  return rows;
}
// clang-format on

// ---------------------------------------------------------------- rows to resource

void AddConversion(std::vector<PropertyRow>& p, const Conversion& c) {
  p.push_back({"Transformation", static_cast<long long>(c.type)});
  p.push_back({"Coeffs", c.coeffs});
  p.push_back({"ConversionTable", c.table});
}

void AddEvents(std::vector<PropertyRow>& p, const Events& events, const CatalogueBindings& b) {
  for (const auto& [event, handler] : events) p.push_back({event, b.method(handler)});
}

ComponentRow ServiceRow(const Service& s, const CatalogueBindings& b) {
  const std::string name = s.name;
  if (name == "QorConnection")
    return {name, Create<TQorConnection>, {{"AutoLoadLibrary", true}, {"DllName", b.dllName}}};
  if (name == "DataRefresher")
    return {name, Create<TDataRefresher>, {{"Connection", ComponentRef{"QorConnection"}}}};
  return {name, Create<TTranslator>, {}};
}

ComponentRow ParameterRow(const Parameter& r, const CatalogueBindings& b) {
  std::vector<PropertyRow> p = {
      {"Connection", ComponentRef{"QorConnection"}},
      {"RowIndex", -1LL},
      {"ColIndex", -1LL},
      {"ByAddress", r.address != kByCode},
      {"Address", static_cast<long long>(r.address == kByCode ? 0 : r.address)},
      {"DataLength", 1LL},
      {"Signed", false},
      {"DataMask", static_cast<long long>(r.mask)},
  };
  AddConversion(p, r.value);
  p.insert(p.end(), {{"MeasureUnit", std::string(r.unit)},
                     {"Precision", r.precision},
                     {"DisableLimits", r.limits.off},
                     {"ValueMin", r.limits.min},
                     {"ValueMax", r.limits.max},
                     {"DefaultValue", r.defaultValue},
                     {"DataGroup", static_cast<long long>(r.group)},
                     {"FileSection", std::string(r.key.section)},
                     {"FileKeyName", std::string(r.key.key)},
                     {"StoreUserValue", true},
                     {"ReadOnly", false}});
  AddEvents(p, r.events, b);
  return {r.name, Create<TQorNumber>, std::move(p)};
}

ComponentRow LiveRow(const Live& r, const CatalogueBindings& b) {
  std::vector<PropertyRow> p = {{"DataMask", 0xFFLL}, {"DataLength", 1LL}, {"Signed", false}};
  AddConversion(p, r.value);
  p.insert(p.end(), {{"Precision", r.precision},
                     {"DisableLimits", true},
                     {"TimeInterval", 100LL},
                     {"Offset", static_cast<long long>(r.offset)}});
  AddEvents(p, r.events, b);
  // Active first, then the refresher: resolving it registers the item in that state.
  p.insert(p.end(), {{"Active", true}, {"DataRefresher", ComponentRef{"DataRefresher"}}});
  return {r.name, Create<TQorPacketData>, std::move(p)};
}

}  // namespace

const std::vector<double>& NtcRatios() {
  static const std::vector<double> q = {
      97.578, 67.65,  47.538, 33.831, 24.359, 17.753, 13.067,  9.7228, 7.3007,  5.5361,
      4.2332, 3.266,  2.5392, 1.9902, 1.5709, 1.2492, 1.0,     0.805,  0.65326, 0.5329,
      0.4371, 0.36,   0.299,  0.2493, 0.2088, 0.1757, 0.148,   0.1262, 0.1076,  0.09215,
      0.07922, 0.0683, 0.05924, 0.05153, 0.04492, 0.0392, 0.0343, 0.03018, 0.02665, 0.023594,
      0.0209, 0.0186, 0.0166, 0.01486, 0.01332, 0.01198, 0.01079, 0.00974};
  return q;
}

const std::vector<double>& NtcDegrees() {
  static const std::vector<double> c = [] {
    std::vector<double> v;
    for (int t = -55; t <= 180; t += 5) v.push_back(t);
    return v;
  }();
  return c;
}

std::vector<ComponentRow> SerialDataModuleResource(const CatalogueBindings& bindings) {
  std::vector<ComponentRow> rows;
  for (const Row& row : Catalogue()) {
    rows.push_back(std::visit(
        [&](const auto& r) -> ComponentRow {
          using T = std::decay_t<decltype(r)>;
          if constexpr (std::is_same_v<T, Service>) return ServiceRow(r, bindings);
          if constexpr (std::is_same_v<T, Parameter>) return ParameterRow(r, bindings);
          if constexpr (std::is_same_v<T, Live>) return LiveRow(r, bindings);
        },
        row));
  }
  return rows;
}

}  // namespace vzt
