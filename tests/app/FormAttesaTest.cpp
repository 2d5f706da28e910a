// The wait window: its progress arithmetic and percentage line, the library's progress
// message on its way from the program's hook, the animation, the busy cursor.

#include <QLabel>
#include <filesystem>
#include <set>

#include "AppFixture.h"
#include "app/FormAttesa.h"
#include "app/WaitAnimationClip.h"
#include "components/translator/Translator.h"
#include "platform/Library.h"
#include "platform/widgets/AnimationPlayer.h"
#include "platform/widgets/ProgressFill.h"

using namespace vzt;
using vzt::test::AppFixture;

namespace {

struct ProgressCase {
  const char* what;
  int start;
  unsigned wparam;
  long lparam;
  int position;
  int bar;
};

void PrintTo(const ProgressCase& c, std::ostream* os) { *os << c.what; }

class ProgressTest : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(ProgressTest, LibraryProgressAddsOrSets) {
  const ProgressCase& c = GetParam();
  TFormAttesa window(800);
  window.SetCompletedText(u"completato");
  window.SetProgress(c.start, true);
  window.LinkProgress(c.wparam, c.lparam);
  EXPECT_EQ(window.Position(), c.position);
  EXPECT_EQ(window.LabelCompleted()->text(), QString("%1% completato").arg(c.position));
  EXPECT_EQ(window.LMDProgressFill()->Position(), c.bar);
}

INSTANTIATE_TEST_SUITE_P(Arithmetic, ProgressTest,
                         ::testing::Values(ProgressCase{"Adds", 40, 10, 1, 50, 50},
                                           ProgressCase{"Sets", 40, 10, 0, 10, 10},
                                           ProgressCase{"AddingWrapsAtAByte", 250, 10, 1, 4, 4},
                                           ProgressCase{"BarStopsAtFull", 100, 155, 1, 255, 100},
                                           ProgressCase{"AnyNonzeroLParamAdds", 20, 5, -3, 25, 25}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(FormAttesa, LooksAsDesignedUntilTheCallerSetsIt) {
  TFormAttesa window(800);
  EXPECT_EQ(window.LMDProgressFill()->Position(), 70);
  EXPECT_EQ(window.size(), QSize(342, 110));
  EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(window.windowFlags() & Qt::WindowSystemMenuHint);
  EXPECT_EQ(window.font().family(), "Tahoma");
  const ProgressFill& bar = *window.LMDProgressFill();
  EXPECT_EQ(bar.size(), QSize(217, 25));
  EXPECT_EQ(bar.FillColorAt(0), QColor(255, 0, 0));
  EXPECT_EQ(bar.FillColorAt(bar.InnerRect().width() - 1), QColor(81, 47, 60));

  TFormAttesa wide(1024);
  EXPECT_EQ(wide.size(), QSize(438, 141));
  EXPECT_EQ(wide.LMDProgressFill()->width(), 278);
}

TEST(FormAttesa, AnimationIsNineFramesOf120By32InSixteenColoursLooping) {
  const std::vector<QImage> frames = WaitAnimationFrames();
  ASSERT_EQ(frames.size(), 9u);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].size(), QSize(120, 32));
    EXPECT_LE(frames[i].colorCount(), 16);
    EXPECT_NE(frames[i], frames[(i + 1) % frames.size()]) << "frame " << i << " moves on";
  }
  TFormAttesa window(800);
  AnimationPlayer& player = *window.Animate();
  EXPECT_EQ(player.FrameCount(), 9);
  EXPECT_FALSE(player.Playing());
  window.StartAnimation();
  EXPECT_TRUE(player.Playing());
  EXPECT_EQ(player.FrameAt(199), 0);
  EXPECT_EQ(player.FrameAt(200), 1);
  EXPECT_EQ(player.FrameAt(9 * 200 + 450), 2);
}

// ------------------------------------------------------------------ during a routine

// A wait window that remembers what it showed and can act when it first shows progress.
class ProbeWindow : public TFormAttesa {
 public:
  ProbeWindow(std::vector<QString>& lines, std::vector<bool>& busy, std::function<void()> first)
      : TFormAttesa(800), lines_(lines), busy_(busy), first_(std::move(first)) {}

 protected:
  void ShowProgress(int position, const std::u16string& line) override {
    TFormAttesa::ShowProgress(position, line);
    lines_.push_back(QString::fromStdU16String(line));
    const QCursor* cursor = QApplication::overrideCursor();
    busy_.push_back(cursor && cursor->shape() == Qt::BusyCursor);
    if (auto first = std::exchange(first_, nullptr)) first();
  }

 private:
  std::vector<QString>& lines_;
  std::vector<bool>& busy_;
  std::function<void()> first_;
};

class ProbeHost : public QtHost {
 public:
  std::unique_ptr<WaitWindow> CreateWaitWindow() override {
    ++created;
    return std::make_unique<ProbeWindow>(lines, busy, onFirstProgress);
  }
  int created = 0;
  std::vector<QString> lines;
  std::vector<bool> busy;
  std::function<void()> onFirstProgress;
};

class WaitDuringSaveTest : public AppFixture {
 protected:
  void SaveOffline() {
    StoreLanguage(0);
    const std::string file = std::filesystem::temp_directory_path() / ("vzt-wait-" + std::to_string(::getpid()) + ".vmx");
    DataModuleOptions options;
    options.host = &probe;
    options.dllName = "";
    module = std::make_unique<TSerialDataModule>(options);
    module->Translator()->SetDllName(ProgramFolder() + "/Dizionario/Languages.dll");
    module->Translator()->LoadLanguageLibrary();
    module->LoadSharedTexts();
    LinkMessageRouter::Install(module.get(), nullptr, nullptr);
    EXPECT_TRUE(module->Save(file));
    std::filesystem::remove(file);
  }

  ProbeHost probe;
};

TEST_F(WaitDuringSaveTest, LibraryProgressReachesTheCurrentWaitWindowThroughTheHook) {
  probe.onFirstProgress = [] { SerQorHostMessage(MSG_LINK_PROGRESS, 10, 1); };
  SaveOffline();
  ASSERT_EQ(probe.created, 1);
  ASSERT_GE(probe.lines.size(), 3u);
  EXPECT_EQ(probe.lines[0], "0% completato");
  EXPECT_EQ(probe.lines[1], "10% completato");
  EXPECT_EQ(probe.lines.back(), QString("%1% completato").arg((module->Components().size() - 1) * 100 /
                                                              module->Components().size()));
}

TEST_F(WaitDuringSaveTest, BusyCursorShowsWhileTheWindowWorksAndGoesAfter) {
  SaveOffline();
  ASSERT_FALSE(probe.busy.empty());
  EXPECT_EQ(std::set<bool>(probe.busy.begin(), probe.busy.end()), std::set<bool>{true});
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
