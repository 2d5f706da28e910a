// The about box as the main window shows it: caption, product name, version line read from
// the program file, and the branding library's picture and icon.

#include <QLabel>
#include <QPushButton>

#include "AppFixture.h"
#include "app/AboutBox.h"

using namespace vzt;
using vzt::test::AppFixture;

namespace {

class AboutBoxTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    QApplication::setWindowIcon(QIcon());
  }

  struct Seen {
    QString caption, productName, version;
    bool picture = false;
  };

  Seen OpenAbout() {
    Seen seen;
    const bool shown = InspectModal<TAboutBox>([this] { form->Action("ActionAbout")->trigger(); },
                                               [&](TAboutBox& box) {
                                                 seen.caption = box.windowTitle();
                                                 seen.productName = box.ProductName()->text();
                                                 seen.version = box.Version()->text();
                                                 seen.picture = !box.AboutImage()->pixmap().isNull();
                                               });
    EXPECT_TRUE(shown);
    return seen;
  }
};

TEST_F(AboutBoxTest, ShowsTheTitleAndTheProgramFilesVersion) {
  Create();
  ShowMain();
  const Seen seen = OpenAbout();
  EXPECT_EQ(seen.caption, form->windowTitle());
  EXPECT_EQ(seen.productName, form->windowTitle());
  EXPECT_EQ(seen.version, "Versione  " VZT_EXPECTED_VERSION);
  EXPECT_FALSE(seen.picture) << "no branding library";
  EXPECT_TRUE(QApplication::windowIcon().isNull()) << "the program keeps its own icon";
}

TEST_F(AboutBoxTest, VersionWordFollowsTheLanguage) {
  StoreLanguage(1);
  Create();
  ShowMain();
  EXPECT_EQ(OpenAbout().version, "Version  " VZT_EXPECTED_VERSION);
}

struct BrandingCase {
  const char* library;
  bool pictures;
};

class BrandingTest : public AboutBoxTest, public ::testing::WithParamInterface<BrandingCase> {};

TEST_P(BrandingTest, PictureAndIconComeFromTheBrandingLibraryWhenItHasThem) {
  FormMainOptions options;
  options.brandingLibrary = GetParam().library;
  Create(options);
  EXPECT_TRUE(form->Branding().Loaded());
  EXPECT_EQ(!QApplication::windowIcon().isNull(), GetParam().pictures);
  ShowMain();
  EXPECT_EQ(OpenAbout().picture, GetParam().pictures);
  form->close();
  EXPECT_FALSE(form->Branding().Loaded()) << "closing the window frees the library";
}

INSTANTIATE_TEST_SUITE_P(Libraries, BrandingTest,
                         ::testing::Values(BrandingCase{"TestBranding.dll", true},
                                           BrandingCase{"TestBrandingJunk.dll", false},
                                           BrandingCase{"TestBrandingHuge.dll", false}),
                         [](const auto& info) {
                           std::string name = info.param.library;
                           return name.substr(0, name.find('.'));
                         });

TEST(AboutBoxLayout, ScalesToTheScreenAndClosesWithOk) {
  TAboutBox designed(nullptr, QPixmap(), 800);
  TAboutBox wide(nullptr, QPixmap(), 1024);
  EXPECT_EQ(wide.width(), qRound(designed.width() * 1.28));
  EXPECT_EQ(wide.height(), qRound(designed.height() * 1.28));
  EXPECT_TRUE(designed.OKButton()->isDefault());
  designed.show();
  QTest::mouseClick(designed.OKButton(), Qt::LeftButton);
  EXPECT_FALSE(designed.isVisible());
}

}  // namespace
