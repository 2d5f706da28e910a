#include "serlink/WireMessages.h"

#include <algorithm>

namespace vzt::wire {

namespace {

// Reads big-endian fields and remembers whether it ever ran past the end.
class ByteReader {
 public:
  explicit ByteReader(ByteView bytes) : bytes_(bytes) {}

  std::uint32_t Take(std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
      if (position_ >= bytes_.size()) {
        overrun_ = true;
        return 0;
      }
      value = value << 8 | bytes_[position_++];
    }
    return value;
  }
  std::uint8_t U8() { return static_cast<std::uint8_t>(Take(1)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Take(2)); }
  std::uint32_t U32() { return Take(4); }
  // Every byte read and none missing.
  bool Exact() const { return !overrun_ && position_ == bytes_.size(); }

 private:
  ByteView bytes_;
  std::size_t position_ = 0;
  bool overrun_ = false;
};

void Put(Bytes& out, std::uint32_t value, std::size_t width) {
  for (std::size_t i = width; i-- > 0;) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

template <class T>
std::optional<T> IfExact(const ByteReader& reader, const T& value) {
  if (!reader.Exact()) return std::nullopt;
  return value;
}

CodeSelector ReadSelector(ByteReader& reader) {
  CodeSelector selector;
  selector.code = reader.U32();
  selector.row = reader.U16();
  selector.col = reader.U16();
  return selector;
}

void PutSelector(Bytes& out, const CodeSelector& selector) {
  Put(out, selector.code, 4);
  Put(out, selector.row, 2);
  Put(out, selector.col, 2);
}

}  // namespace

Bytes EncodeAddress(std::uint16_t address) {
  Bytes out;
  Put(out, address, 2);
  return out;
}

std::optional<std::uint16_t> DecodeAddress(ByteView payload) {
  ByteReader reader(payload);
  const std::uint16_t address = reader.U16();
  return IfExact(reader, address);
}

Bytes EncodeAddressWrite(const AddressWrite& write) {
  Bytes out = EncodeAddress(write.address);
  out.push_back(write.value);
  return out;
}

std::optional<AddressWrite> DecodeAddressWrite(ByteView payload) {
  ByteReader reader(payload);
  AddressWrite write;
  write.address = reader.U16();
  write.value = reader.U8();
  return IfExact(reader, write);
}

Bytes EncodeCodeSelector(const CodeSelector& selector) {
  Bytes out;
  PutSelector(out, selector);
  return out;
}

std::optional<CodeSelector> DecodeCodeSelector(ByteView payload) {
  ByteReader reader(payload);
  const CodeSelector selector = ReadSelector(reader);
  return IfExact(reader, selector);
}

Bytes EncodeCodeWrite(const CodeWrite& write) {
  Bytes out;
  PutSelector(out, write.selector);
  Put(out, write.value, 4);
  return out;
}

std::optional<CodeWrite> DecodeCodeWrite(ByteView payload) {
  ByteReader reader(payload);
  CodeWrite write;
  write.selector = ReadSelector(reader);
  write.value = reader.U32();
  return IfExact(reader, write);
}

Bytes EncodePacketRequest(const PacketRequest& request) {
  Bytes out;
  Put(out, request.code, 4);
  out.push_back(request.size);
  return out;
}

std::optional<PacketRequest> DecodePacketRequest(ByteView payload) {
  ByteReader reader(payload);
  PacketRequest request;
  request.code = reader.U32();
  request.size = reader.U8();
  return IfExact(reader, request);
}

Bytes StatusReply(std::uint8_t status) { return Bytes{status}; }

Bytes ByteReply(std::uint8_t value) { return Bytes{kReplyOk, value}; }

Bytes WordReply(std::uint32_t value) {
  Bytes out{kReplyOk};
  Put(out, value, 4);
  return out;
}

Bytes DataReply(ByteView data) {
  Bytes out(1 + data.size(), kReplyOk);
  std::copy(data.begin(), data.end(), out.begin() + 1);
  return out;
}

std::optional<std::uint8_t> DecodeByteData(ByteView data) {
  ByteReader reader(data);
  const std::uint8_t value = reader.U8();
  return IfExact(reader, value);
}

std::optional<std::uint32_t> DecodeWordData(ByteView data) {
  ByteReader reader(data);
  const std::uint32_t value = reader.U32();
  return IfExact(reader, value);
}

}  // namespace vzt::wire
