#include "SerialDataModule.h"

#include <algorithm>
#include <any>
#include <cmath>
#include <map>

#include "components/comm/DataRefresher.h"
#include "components/comm/Qorconnection.h"
#include "components/data/SerialData.h"
#include "components/translator/Translator.h"
#include "datamodule/Catalogue.h"
#include "platform/MainThread.h"
#include "platform/NumberText.h"
#include "platform/Resource.h"
#include "platform/StringResources.h"
#include "platform/Timing.h"

namespace vzt {

namespace {

constexpr std::uint32_t kPauseTimeoutMs = 2000;
constexpr int kRpmItemsCount = 5;
constexpr const char* kRpmItems[kRpmItemsCount] = {"ValoreGiri", "GiriPerCambio", "GiriSbananata",
                                                   "GiriCutOff", "GiriFuoriGiri"};
constexpr std::uint32_t kYellow = 0xFFFF00, kAqua = 0x00FFFF;

// Shared text ids.
enum : int {
  kTextConnected = 9,
  kTextNotConnected = 10,
  kTextConnectFailed1 = 16,
  kTextConnectFailed2 = 17,
  kTextWaitCaption = 18,
  kTextWaitLabel = 19,
  kTextCompleted = 20,
  kTextEraseConfirm = 21,
  kTextWrongEcu = 104,
};

void SignedMagnitudeToUser(Component*, int ecu, double& user) {
  user = ecu < 128 ? ecu : 128 - ecu;
}

void SignedMagnitudeToEcu(Component*, double user, int& ecu) {
  ecu = user >= 0 ? TruncateToInt(user) : TruncateToInt(128 - user);
}

void FlagConfigurazione3ToUser(Component*, int ecu, double& user) { user = ecu ^ 0x10; }

void FlagConfigurazione3ToEcu(Component*, double user, int& ecu) { ecu = TruncateToInt(user) ^ 0x10; }

}  // namespace

TSerialDataModule::TSerialDataModule(DataModuleOptions options)
    : Component(nullptr), options_(std::move(options)) {
  if (!options_.wait) options_.wait = &SleepMs;
  SetName("SerialDataModule");
  LoadResource(*this, SerialDataModuleResource(
                          {options_.dllName, [this](const std::string& n) { return Method(n); }}));
  connection_ = dynamic_cast<TQorConnection*>(FindComponent("QorConnection"));
  refresher_ = dynamic_cast<TDataRefresher*>(FindComponent("DataRefresher"));
  translator_ = dynamic_cast<TTranslator*>(FindComponent("Translator"));
}

TSerialDataModule::~TSerialDataModule() {
  wait_window_.reset();
  Disconnect(true);
  DestroyComponents();
}

MethodRef TSerialDataModule::Method(const std::string& name) {
  using Handler = void (TSerialDataModule::*)(Component*);
  static const std::map<std::string, Handler, std::less<>> notify = {
      {"TipoAccensioneGetData", &TSerialDataModule::TipoAccensioneGetData},
      {"TipoAccensioneSetData", &TSerialDataModule::TipoAccensioneSetData},
      {"TipoCambioSetData", &TSerialDataModule::TipoCambioSetData},
      {"TipoTPSSetData", &TSerialDataModule::TipoTPSSetData},
      {"TipoSondaLambdaSetData", &TSerialDataModule::TipoSondaLambdaSetData},
      {"MaxAperturaAttuatoreSetData", &TSerialDataModule::MaxAperturaAttuatoreSetData},
      {"FlagConfigurazioneSetData", &TSerialDataModule::FlagConfigurazioneSetData},
      {"RifLambdaAlMinimoSetData", &TSerialDataModule::RifLambdaAlMinimoSetData},
      {"DefaultAcquisitoGetData", &TSerialDataModule::DefaultAcquisitoGetData},
      {"ValorePosizioneDefaultGetData", &TSerialDataModule::ValorePosizioneDefaultGetData},
      {"ValoreGiriGetData", &TSerialDataModule::ValoreGiriGetData},
      {"FasciaLambdaGetData", &TSerialDataModule::FasciaLambdaGetData},
      {"FasciaTPSGetData", &TSerialDataModule::FasciaTPSGetData},
  };
  if (auto it = notify.find(name); it != notify.end()) {
    Handler h = it->second;
    return {name, TNotifyEvent([this, h](Component* sender) { (this->*h)(sender); })};
  }
  if (name == "PosizioneASondaFreddaConvertToUser")
    return {name, TConvertToUserEvent(&SignedMagnitudeToUser)};
  if (name == "PosizioneASondaFreddaConvertToEcu")
    return {name, TConvertToEcuEvent(&SignedMagnitudeToEcu)};
  if (name == "FlagConfigurazione3ConvertToUser")
    return {name, TConvertToUserEvent(&FlagConfigurazione3ToUser)};
  if (name == "FlagConfigurazione3ConvertToEcu")
    return {name, TConvertToEcuEvent(&FlagConfigurazione3ToEcu)};
  return {name, std::any()};
}

// ---------------------------------------------------------------- lookups

TQorNumber* TSerialDataModule::Number(std::string_view name) const {
  return dynamic_cast<TQorNumber*>(FindComponent(name));
}

TQorPacketData* TSerialDataModule::Packet(std::string_view name) const {
  return dynamic_cast<TQorPacketData*>(FindComponent(name));
}

TQorNumber* TSerialDataModule::FindParameter(std::string_view nameOrKey) const {
  if (TQorNumber* byName = Number(nameOrKey)) return byName;
  auto sameText = [](std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
             return std::toupper(static_cast<unsigned char>(x)) ==
                    std::toupper(static_cast<unsigned char>(y));
           });
  };
  for (Component* c : Components())
    if (auto* n = dynamic_cast<TQorNumber*>(c); n && sameText(n->FileKeyName, nameOrKey)) return n;
  return nullptr;
}

// ---------------------------------------------------------------- helpers

void TSerialDataModule::Wait(std::uint32_t ms) { options_.wait(ms); }

std::u16string TSerialDataModule::Text(int id) {
  return translator_ ? translator_->GetString(id, 0) : std::u16string();
}

MessageResult TSerialDataModule::Message(const std::u16string& text, const std::u16string& caption) {
  if (!options_.host) return MessageResult::Ok;
  return options_.host->ShowMessageBox(MessageOwner::Application, text, caption, MessageIcon::Error);
}

void TSerialDataModule::LoadSharedTexts() {
  texts_.TextConnected = Text(kTextConnected);
  texts_.TextNotConnected = Text(kTextNotConnected);
  texts_.TextConnectFailed1 = Text(kTextConnectFailed1);
  texts_.TextConnectFailed2 = Text(kTextConnectFailed2);
  texts_.TextWaitCaption = Text(kTextWaitCaption);
  texts_.TextWaitLabel = Text(kTextWaitLabel);
  texts_.TextCompleted = Text(kTextCompleted);
  texts_.TextEraseConfirm = Text(kTextEraseConfirm);
  texts_.TextWrongEcu = Text(kTextWrongEcu);
}

void TSerialDataModule::OpenWaitWindow(const std::u16string& caption, const std::u16string& message) {
  if (!options_.host) return;
  wait_window_ = options_.host->CreateWaitWindow();
  if (!wait_window_) return;
  wait_window_->SetCompletedText(texts_.TextCompleted);
  wait_window_->StartAnimation();
  wait_window_->SetCaption(caption);
  wait_window_->SetMessage(message);
  wait_window_->SetProgress(0, true);
  wait_window_->Show();
}

void TSerialDataModule::OpenWaitWindow(int captionId, int messageId) {
  OpenWaitWindow(Text(captionId), Text(messageId));
}

void TSerialDataModule::CloseWaitWindow() { wait_window_.reset(); }

void TSerialDataModule::SetProgress(std::size_t index) {
  if (wait_window_ && wait_window_->IsVisible())
    wait_window_->SetProgress(static_cast<int>(index * 100 / Components().size()), true);
}

void TSerialDataModule::LinkMessage(unsigned msg, WParam wparam, LParam lparam) {
  if (msg == MSG_LINK_PROGRESS && wait_window_)
    wait_window_->LinkProgress(static_cast<unsigned>(wparam), static_cast<long>(lparam));
}

// ---------------------------------------------------------------- routines

void TSerialDataModule::ReadAll() {
  const auto& all = Components();
  for (std::size_t i = 0; i < all.size(); ++i) {
    SetProgress(i);
    if (auto* item = dynamic_cast<TQorSerialData*>(all[i])) item->Load();
  }
}

void TSerialDataModule::ActivateLiveItems() {
  const auto& all = Components();
  for (std::size_t i = all.size(); i-- > 0;)
    if (auto* live = dynamic_cast<TQorPacketData*>(all[i])) live->SetActive(true);
}

void TSerialDataModule::ResetAll() {
  for (int pass = 0; pass < 2; ++pass) {
    for (Component* c : Components()) {
      auto* item = dynamic_cast<TQorSerialData*>(c);
      if (!item) continue;
      item->DisableLimits = true;
      item->ResetDefault(false);
      item->DisableLimits = false;
    }
  }
}

void TSerialDataModule::ClearLiveValues() {
  for (Component* c : Components()) {
    auto* item = dynamic_cast<TQorSerialData*>(c);
    if (!item) continue;
    item->DisableLimits = true;
    if (auto* live = dynamic_cast<TQorPacketData*>(item)) {
      const TransformationType kept = live->Transformation();
      live->SetTransformationType(ttNone);
      live->InitData(0);
      live->SetTransformationType(kept);
    }
    item->DisableLimits = false;
  }
}

void TSerialDataModule::RefreshControls() {
  for (Component* c : Components())
    if (auto* item = dynamic_cast<TQorSerialData*>(c)) item->NotifyData(MSG_DATA_CHANGED, 0, 0);
}

bool TSerialDataModule::PauseRefresher() {
  refresher_->SetEnabled(false);
  const std::uint32_t start = GetTickCount();
  while (refresher_->GetEnabled()) {
    if (TicksSince(start, GetTickCount()) >= kPauseTimeoutMs) {
      Message(u"Error: it's impossible to suspend the thread (33)", u"Comunication Error");
      return false;
    }
    // Lets a pass the thread is waiting for run, without sleeping the full poll away.
    MainThread::Instance().WaitAndProcess(std::chrono::milliseconds(1));
  }
  return true;
}

void TSerialDataModule::Disconnect(bool refresherEnabled) {
  if (connection_ && connection_->Loaded()) {
    connection_->Link()->Close();
    connection_->UnloadDll();
  }
  if (refresher_) refresher_->SetEnabled(refresherEnabled);
}

TSerialDataModule::Identity TSerialDataModule::Identify(int port, int options) {
  TSerialLink* link = connection_->Link();
  link->SetupBegin(0);
  link->SelectPort(port);
  if ((options & kConnectAlternateMode) != 0)
    link->UseAlternateMode();
  else
    link->UseDefaultMode();
  link->SetupEnd(0);

  std::array<unsigned char, LINK_IDENTIFICATION_SIZE> record{};
  if (!link->ReadIdentification(record.data())) return Identity::NoAnswer;
  std::copy_n(record.begin(), identification_.size(), identification_.begin());
  if (record[0] != 8) return Identity::WrongKind;
  // Layout 3 keeps the pair in bytes 4 and 5, every other layout in bytes 1 and 2.
  const bool layout3 = record[1] == 3;
  const unsigned char first = layout3 ? record[4] : record[1];
  const unsigned char second = layout3 ? record[5] : record[2];
  return (first == 0x24 && second == 0x18) ? Identity::Accepted : Identity::WrongPair;
}

int TSerialDataModule::Connect(int port, int options) {
  if (connection_->Loaded() && connection_->Link()->IsOpen() != 0) return kConnectAlreadyOpen;
  if (!connection_->LoadDll()) return kConnectDone;
  if (options_.host) options_.host->SetBusyCursor(true);
  OpenWaitWindow(texts_.TextWaitCaption, texts_.TextWaitLabel);

  const Identity identity = Identify(port, options);
  const bool opened = identity == Identity::Accepted && connection_->Link()->Open() != 0;
  const int result = identity == Identity::NoAnswer    ? kConnectNoAnswer
                     : identity == Identity::WrongKind ? kConnectWrongKind
                                                       : kConnectDone;

  if (opened) {
    ReadAll();
    ActivateLiveItems();
    refresher_->SetEnabled((options & kConnectRefresherOn) != 0);
  }
  CloseWaitWindow();
  if (options_.host) options_.host->SetBusyCursor(false);
  if (!opened) Disconnect(false);
  return result;
}

// ---------------------------------------------------------------- handlers

void TSerialDataModule::SetRpmConstant(int ignitionType) {
  double k = 117000;
  switch (ignitionType) {
    case 1: k = 93600; break;
    case 2:
    case 6: k = 78000; break;
    case 3: k = 58500; break;
    default: break;
  }
  for (const char* name : kRpmItems)
    if (auto* item = dynamic_cast<TQorSerialData*>(FindComponent(name))) item->CoeffB = k;
}

void TSerialDataModule::TipoAccensioneGetData(Component*) {
  SetRpmConstant(Number("TipoAccensione")->GetInt());
}

void TSerialDataModule::TipoAccensioneSetData(Component*) {
  TQorNumber* perCambio = Number("GiriPerCambio");
  TQorNumber* sbananata = Number("GiriSbananata");
  TQorNumber* cutOff = Number("GiriCutOff");
  TQorNumber* fuoriGiri = Number("GiriFuoriGiri");
  const int rpmPerCambio = perCambio->GetInt(), rpmSbananata = sbananata->GetInt(),
            rpmCutOff = cutOff->GetInt(), rpmFuoriGiri = fuoriGiri->GetInt();
  SetRpmConstant(Number("TipoAccensione")->GetInt());
  Wait(1000);
  sbananata->SetInt(rpmSbananata);
  cutOff->SetInt(rpmCutOff);
  fuoriGiri->DisableLimits = true;
  fuoriGiri->SetInt(rpmFuoriGiri);
  fuoriGiri->DisableLimits = false;
  if (Number("TipoCambio")->GetInt() != 2) perCambio->SetInt(rpmPerCambio);
}

void TSerialDataModule::TipoCambioSetData(Component*) {
  if (options_.host) options_.host->UpdateChangeoverFields();
  if (Number("TipoCambio")->GetInt() == 2)
    Number("TempoDiCicchetto")->SetDouble(0.8);
  else
    Number("GiriPerCambio")->SetInt(2000);
}

void TSerialDataModule::TipoTPSSetData(Component*) {
  const int type = Number("TipoTPS")->GetInt();
  const bool falling = type == 1 || type == 3;
  for (const char* name : {"ValoreMinTPS", "TPSPerAffondata", "TPSSbananata", "TPSFasciaApprendimento"}) {
    auto* item = dynamic_cast<TQorSerialData*>(FindComponent(name));
    item->CoeffA = falling ? -5 : 5;
    item->CoeffB = falling ? 1275 : 0;
  }
  for (const char* name : {"TPSPerAffondata", "TPSSbananata", "TPSFasciaApprendimento"})
    Number(name)->Load();
}

void TSerialDataModule::TipoSondaLambdaSetData(Component*) { Number("FlagConfigurazione3")->Load(); }

void TSerialDataModule::MaxAperturaAttuatoreSetData(Component*) {
  Wait(100);
  const int max = Number("MaxAperturaAttuatore")->GetInt();
  Number("PosizioneInCutoff")->SetMaxValue(max);
  TQorNumber* position = Number("PosizioneDefault");
  position->SetMaxValue(max);
  position->SetMinValue(Number("MinAperturaAttuatore")->GetInt());
  position->Load();
}

void TSerialDataModule::FlagConfigurazioneSetData(Component*) {
  if (options_.host) options_.host->UpdateOptionalFields();
  Number("PosizioneDefault")->Load();
}

void TSerialDataModule::RifLambdaAlMinimoSetData(Component*) {
  const double richer =
      std::max(Number("RifLambdaAlMinimo")->GetDouble(), Number("RifLambdaFuoriMinimo")->GetDouble());
  Number("RifLambdaRiccoFreddo")->SetDouble(richer);
}

void TSerialDataModule::DefaultAcquisitoGetData(Component*) {
  if (options_.host)
    options_.host->SetDefaultPositionColour(Number("DefaultAcquisito")->GetInt() != 0 ? kYellow : kAqua);
}

void TSerialDataModule::ValorePosizioneDefaultGetData(Component*) {
  TQorNumber* acquired = Number("DefaultAcquisito");
  if (acquired->GetInt() == 0) acquired->Load();
}

void TSerialDataModule::ValoreGiriGetData(Component*) {
  TQorPacketData* rpm = Packet("ValoreGiri");
  if (rpm->RawValue() >= 255) {
    rpm->SetTransformationType(ttNone);
    rpm->InitData(0);
  } else {
    rpm->SetTransformationType(ttFormula);
  }
}

void TSerialDataModule::SetBandLamps(LampGroup group, int lampCount, int value) {
  if (!options_.host || value < 0 || value >= lampCount) return;
  for (int i = 0; i < lampCount; ++i)
    if (i != value) options_.host->SetLamp(group, i, 0);
  options_.host->SetLamp(group, value, 100);
}

void TSerialDataModule::FasciaLambdaGetData(Component*) {
  SetBandLamps(LampGroup::Lambda, 3, Packet("FasciaLambda")->GetInt());
}

void TSerialDataModule::FasciaTPSGetData(Component*) {
  SetBandLamps(LampGroup::Throttle, 4, Packet("FasciaTPS")->GetInt());
}

}  // namespace vzt
