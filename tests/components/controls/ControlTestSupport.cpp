#include "ControlTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <memory>

#include "platform/NumberText.h"

namespace vzt::test {

SeparatorGuard::SeparatorGuard(char separator) { SetDecimalSeparator(separator); }

SeparatorGuard::~SeparatorGuard() { SetDecimalSeparator('\0'); }

OnlineParameter::OnlineParameter(int at) : address(at) {
  link.open = true;
  connection.AttachLink(&link);
  item.ByAddress = true;
  item.Address = address;
  item.SetConnection(&connection);
}

void OnlineParameter::Scale(double scale) {
  item.SetTransformationType(ttFormula);
  item.SetCoeffsList({scale, 0, 0, 1});
}

void OnlineParameter::Arrive(int raw) {
  Byte() = static_cast<unsigned char>(raw);
  item.Load();
}

TestWindow::TestWindow() { resize(800, 600); }

void TestWindow::ShowActive() {
  show();
  activateWindow();
  QApplication::setActiveWindow(this);
  ASSERT_TRUE(QTest::qWaitForWindowActive(this));
}

}  // namespace vzt::test
