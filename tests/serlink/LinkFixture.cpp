#include "serlink/LinkFixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "serlink/HostHookRecorder.h"

namespace vzt::test {

void LinkFixture::SetUp() { ClearHostMessages(); }

void LinkFixture::StartSimulator(std::vector<std::string> args) {
  args.insert(args.end(), {"--eeprom", simulator_.EepromPath()});
  ASSERT_TRUE(simulator_.Start(args)) << "ecusim did not start";
  ASSERT_EQ(::setenv("SERQOR_DEVICE", simulator_.LinkPath().c_str(), 1), 0);
  ASSERT_TRUE(connection_.LoadDll()) << "SerQorDL was not loaded from the program's folder";
  link_ = connection_.Link();
  ASSERT_NE(link_, nullptr);
}

bool LinkFixture::Identify(IdentificationRecord& record) {
  link_->SetupBegin(0);
  link_->SelectPort(4);
  link_->UseDefaultMode();
  link_->SetupEnd(0);
  return link_->ReadIdentification(record.data());
}

void LinkFixture::Connect() {
  IdentificationRecord record{};
  ASSERT_TRUE(Identify(record)) << "status " << Status();
  ASSERT_NE(link_->Open(), 0) << "status " << Status();
}

EcuMemory::Image LinkFixture::MemoryFile() const {
  std::ifstream in(simulator_.EepromPath(), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  EcuMemory::Image image{};
  EXPECT_EQ(bytes.size(), image.size());
  std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
  return image;
}

}  // namespace vzt::test
