#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "components/comm/SerialLink.h"
#include "datamodule/Host.h"
#include "platform/Component.h"

namespace vzt {

class TQorConnection;
class TDataRefresher;
class TTranslator;
class TQorSerialData;
class TQorNumber;
class TQorPacketData;

// Results of connect.
inline constexpr int kConnectAlreadyOpen = 1;
inline constexpr int kConnectDone = 0;  // also: no library, wrong pair, link not opened
inline constexpr int kConnectNoAnswer = -1;
inline constexpr int kConnectWrongKind = -2;

// Connect options.
inline constexpr int kConnectAlternateMode = 1 << 0;
inline constexpr int kConnectRefresherOn = 1 << 1;

// The nine interface texts the windows share, filled from the language library.
struct SharedTexts {
  std::u16string TextConnected, TextNotConnected, TextConnectFailed1, TextConnectFailed2,
      TextWaitCaption, TextWaitLabel, TextCompleted, TextEraseConfirm, TextWrongEcu;
};

struct DataModuleOptions {
  std::string dllName = "SerQorDL.dll";
  Host* host = nullptr;
  // The handlers' waits (1000 ms, 100 ms); tests replace it.
  std::function<void(std::uint32_t ms)> wait;
};

// The application's one data module: the connection, the refresher, the translator and an
// item for every controller value, in component order; the handlers that tie items
// together; and the routines that walk all items.
class TSerialDataModule : public Component {
 public:
  explicit TSerialDataModule(DataModuleOptions options = {});
  ~TSerialDataModule() override;

  // --- module routines ---
  void ReadAll();
  void ActivateLiveItems();
  void ResetAll();
  void ClearLiveValues();
  void RefreshControls();
  bool PauseRefresher();
  void Disconnect(bool refresherEnabled);
  int Connect(int port, int options);
  bool Save(const std::string& fileName);
  bool Load(const std::string& fileName);
  // The INI text a save would encrypt, without encrypting it.
  bool ExportConfigurationText(std::string& text);

  // Fills the nine shared texts from the translator's current language.
  void LoadSharedTexts();
  const SharedTexts& Texts() const { return texts_; }
  SharedTexts& Texts() { return texts_; }

  // The library's messages for the wait window (MSG_LINK_PROGRESS) come in here.
  void LinkMessage(unsigned msg, WParam wparam, LParam lparam);
  WaitWindow* CurrentWaitWindow() const { return wait_window_.get(); }

  const std::array<unsigned char, 6>& Identification() const { return identification_; }

  TQorConnection* QorConnection() const { return connection_; }
  TDataRefresher* DataRefresher() const { return refresher_; }
  TTranslator* Translator() const { return translator_; }
  // Items by component name; null when there is none of that class.
  TQorNumber* Number(std::string_view name) const;
  TQorPacketData* Packet(std::string_view name) const;
  // A parameter by component name or, failing that, by file key (ignoring case).
  TQorNumber* FindParameter(std::string_view nameOrKey) const;

  Host* GetHost() const { return options_.host; }
  void SetHost(Host* host) { options_.host = host; }

  // The handlers, bound by these names from the resource.
  MethodRef Method(const std::string& name);

 private:
  // --- handlers ---
  void TipoAccensioneGetData(Component* sender);
  void TipoAccensioneSetData(Component* sender);
  void TipoCambioSetData(Component* sender);
  void TipoTPSSetData(Component* sender);
  void TipoSondaLambdaSetData(Component* sender);
  void MaxAperturaAttuatoreSetData(Component* sender);
  void FlagConfigurazioneSetData(Component* sender);
  void RifLambdaAlMinimoSetData(Component* sender);
  void DefaultAcquisitoGetData(Component* sender);
  void ValorePosizioneDefaultGetData(Component* sender);
  void ValoreGiriGetData(Component* sender);
  void FasciaLambdaGetData(Component* sender);
  void FasciaTPSGetData(Component* sender);

  void SetRpmConstant(int ignitionType);
  void SetBandLamps(LampGroup group, int lampCount, int value);
  void Wait(std::uint32_t ms);
  std::u16string Text(int id);
  MessageResult Message(const std::u16string& text, const std::u16string& caption);
  MessageSink& Messages();
  enum class Identity { NoAnswer, WrongKind, WrongPair, Accepted };
  Identity Identify(int port, int options);
  void OpenWaitWindow(int captionId, int messageId);
  void OpenWaitWindow(const std::u16string& caption, const std::u16string& message);
  void CloseWaitWindow();
  void SetProgress(std::size_t index);
  bool WriteConfigurationText(const std::string& plainFile, std::u16string& failures);
  bool LoadPass(class TCustomIniFile& ini, int group);

  DataModuleOptions options_;
  TQorConnection* connection_ = nullptr;
  TDataRefresher* refresher_ = nullptr;
  TTranslator* translator_ = nullptr;
  std::array<unsigned char, 6> identification_{};
  SharedTexts texts_;
  std::unique_ptr<WaitWindow> wait_window_;
};

}  // namespace vzt
