#pragma once

// The wire protocol between the library and the controller. Every message travels in one
// frame:
//
//   0xA5 | sequence | command | length | payload (length bytes) | CRC high | CRC low
//
// The CRC is CRC-16/CCITT-FALSE over sequence, command, length and payload. A reply carries
// the request's sequence number and its command with bit 7 set, and its payload starts with
// a status byte. docs/protocol.md describes every command.

#include <cstddef>
#include <cstdint>

namespace vzt::wire {

inline constexpr std::uint8_t kStartOfFrame = 0xA5;
inline constexpr std::size_t kHeaderSize = 4;
inline constexpr std::size_t kTrailerSize = 2;
inline constexpr std::size_t kFrameOverhead = kHeaderSize + kTrailerSize;
// A reply's status byte plus the largest packet a caller's buffer takes.
inline constexpr std::size_t kPacketRoom = 252;
inline constexpr std::size_t kMaxPayload = 1 + kPacketRoom;
inline constexpr std::size_t kMaxFrameSize = kFrameOverhead + kMaxPayload;

inline constexpr std::uint8_t kIdentify = 0x01;
inline constexpr std::uint8_t kOpenSession = 0x02;
inline constexpr std::uint8_t kCloseSession = 0x03;
inline constexpr std::uint8_t kReadAddress = 0x10;
inline constexpr std::uint8_t kWriteAddress = 0x11;
inline constexpr std::uint8_t kReadCode = 0x20;
inline constexpr std::uint8_t kWriteCode = 0x21;
inline constexpr std::uint8_t kReadPacket = 0x30;

inline constexpr std::uint8_t kReplyFlag = 0x80;
inline constexpr std::uint8_t ReplyCommand(std::uint8_t request) { return request | kReplyFlag; }

// The first payload byte of every reply.
inline constexpr std::uint8_t kReplyOk = 0;
inline constexpr std::uint8_t kReplyNotDefined = 1;
inline constexpr std::uint8_t kReplyRefused = 2;
inline constexpr std::uint8_t kReplyBadRequest = 3;

inline constexpr std::size_t kIdentificationSize = 16;
// Row or column of a request by code that names no element.
inline constexpr std::uint16_t kNoIndex = 0xFFFF;

// Bits on the wire per byte: start, eight data bits, stop.
inline constexpr int kBitsPerByte = 10;

}  // namespace vzt::wire
