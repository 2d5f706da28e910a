#include "ecusim/EcuMemory.h"

#include "ecusim/EcuParameterTable.h"

namespace vzt {

namespace {

std::array<bool, EcuMemory::kSize> DefinedAddresses() {
  std::array<bool, EcuMemory::kSize> defined{};
  for (const EcuParameter& p : EcuParameters()) defined[p.address] = true;
  return defined;
}

}  // namespace

EcuMemory::EcuMemory() : bytes_(FactoryImage()) {}

EcuMemory::Image EcuMemory::FactoryImage() {
  Image image;
  image.fill(kErased);
  for (const EcuParameter& p : EcuParameters()) image[p.address] = 0;
  for (const EcuParameter& p : EcuParameters()) image[p.address] |= p.factory & p.mask;
  return image;
}

bool EcuMemory::IsDefined(unsigned address) {
  static const auto defined = DefinedAddresses();
  return address < kSize && defined[address];
}

std::optional<std::uint8_t> EcuMemory::Read(unsigned address) const {
  if (!IsDefined(address)) return std::nullopt;
  return bytes_[address];
}

bool EcuMemory::Write(unsigned address, std::uint8_t value) {
  if (!IsDefined(address)) return false;
  bytes_[address] = value;
  return true;
}

void EcuMemory::RestoreFactory() { bytes_ = FactoryImage(); }

}  // namespace vzt
