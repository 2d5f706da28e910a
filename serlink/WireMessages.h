#pragma once

// Payloads of the requests and replies, built and checked in one place for both ends of the
// wire. Every parser checks the exact length and returns nothing for a malformed payload.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "serlink/WireProtocol.h"

namespace vzt::wire {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

struct AddressWrite {
  std::uint16_t address = 0;
  std::uint8_t value = 0;
};

// A value reached by request code, optionally an element (row, column) of a table.
struct CodeSelector {
  std::uint32_t code = 0;
  std::uint16_t row = kNoIndex;
  std::uint16_t col = kNoIndex;
};

struct CodeWrite {
  CodeSelector selector;
  std::uint32_t value = 0;
};

struct PacketRequest {
  std::uint32_t code = 0;
  std::uint8_t size = 0;
};

Bytes EncodeAddress(std::uint16_t address);
std::optional<std::uint16_t> DecodeAddress(ByteView payload);
Bytes EncodeAddressWrite(const AddressWrite& write);
std::optional<AddressWrite> DecodeAddressWrite(ByteView payload);
Bytes EncodeCodeSelector(const CodeSelector& selector);
std::optional<CodeSelector> DecodeCodeSelector(ByteView payload);
Bytes EncodeCodeWrite(const CodeWrite& write);
std::optional<CodeWrite> DecodeCodeWrite(ByteView payload);
Bytes EncodePacketRequest(const PacketRequest& request);
std::optional<PacketRequest> DecodePacketRequest(ByteView payload);

// Replies: a status byte, then the data of a successful reply.
Bytes StatusReply(std::uint8_t status);
Bytes ByteReply(std::uint8_t value);
Bytes WordReply(std::uint32_t value);
Bytes DataReply(ByteView data);
std::optional<std::uint8_t> DecodeByteData(ByteView data);
std::optional<std::uint32_t> DecodeWordData(ByteView data);

}  // namespace vzt::wire
