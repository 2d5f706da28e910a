#include <gtest/gtest.h>

#include <string_view>

#include "serlink/Crc16.h"
#include "serlink/FrameDecoder.h"
#include "serlink/WireFrame.h"
#include "serlink/WireMessages.h"

namespace vzt {
namespace {

using wire::Bytes;

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

std::vector<WireFrame> FramesOf(const std::vector<DecodeEvent>& events) {
  std::vector<WireFrame> frames;
  for (const DecodeEvent& e : events)
    if (e.kind == DecodeEvent::kFrame) frames.push_back(e.frame);
  return frames;
}

int CountOf(const std::vector<DecodeEvent>& events, DecodeEvent::Kind kind) {
  return static_cast<int>(std::count_if(events.begin(), events.end(),
                                        [kind](const DecodeEvent& e) { return e.kind == kind; }));
}

const WireFrame kFrameA{7, wire::kReadAddress, {0x00, 0xD8}};
const WireFrame kFrameB{8, wire::ReplyCommand(wire::kReadAddress), {0x00, 0xA5}};

TEST(Crc16, MatchesTheStandardCheckValue) {
  const std::string_view text = "123456789";
  const Bytes bytes(text.begin(), text.end());
  EXPECT_EQ(Crc16(bytes), 0x29B1);
}

TEST(EncodeFrame, LaysOutHeaderPayloadAndChecksum) {
  const Bytes bytes = EncodeFrame(kFrameA);
  ASSERT_EQ(bytes.size(), EncodedFrameSize(2));
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), (Bytes{0xA5, 7, 0x10, 2, 0x00, 0xD8}));
  const std::uint16_t crc = Crc16(std::span(bytes).subspan(1, 5));
  EXPECT_EQ(bytes[6], crc >> 8);
  EXPECT_EQ(bytes[7], crc & 0xFF);
}

TEST(EncodeFrame, RefusesAPayloadBeyondTheLimit) {
  EXPECT_FALSE(EncodeFrame({1, 1, Bytes(wire::kMaxPayload, 0)}).empty());
  EXPECT_TRUE(EncodeFrame({1, 1, Bytes(wire::kMaxPayload + 1, 0)}).empty());
}

TEST(FrameDecoder, RoundTripsEveryPayloadSize) {
  for (std::size_t size : {0u, 1u, 2u, 100u, 252u, 253u}) {
    Bytes payload(size);
    for (std::size_t i = 0; i < size; ++i) payload[i] = static_cast<std::uint8_t>(i * 37);
    const WireFrame frame{static_cast<std::uint8_t>(size), 0x30, payload};
    FrameDecoder decoder;
    EXPECT_EQ(FramesOf(decoder.Feed(EncodeFrame(frame))), std::vector{frame}) << size;
    EXPECT_EQ(decoder.Pending(), 0u);
  }
}

TEST(FrameDecoder, FindsFramesByteByByte) {
  FrameDecoder decoder;
  std::vector<DecodeEvent> events;
  for (std::uint8_t byte : Concat({EncodeFrame(kFrameA), EncodeFrame(kFrameB)})) {
    auto more = decoder.Feed(std::span(&byte, 1));
    events.insert(events.end(), more.begin(), more.end());
  }
  EXPECT_EQ(FramesOf(events), (std::vector{kFrameA, kFrameB}));
  EXPECT_EQ(events.size(), 2u);
}

// Garbage before, between and after frames, including stray start bytes and a start byte
// followed by an impossible length.
TEST(FrameDecoder, ResynchronisesAfterGarbage) {
  struct Case {
    const char* what;
    Bytes garbage;
  };
  const Case cases[] = {
      {"plain bytes", {0x00, 0x13, 0xFF, 0x7E}},
      {"stray start byte", {0xA5}},
      {"start byte and a short header", {0xA5, 0x01, 0x10}},
      {"start byte with an impossible length", {0xA5, 0x01, 0x10, 0xFF}},
      {"a frame-looking run with a wrong checksum", {0xA5, 0x01, 0x10, 0x01, 0x42, 0x00, 0x00}},
  };
  for (const Case& c : cases) {
    FrameDecoder decoder;
    const Bytes stream = Concat({c.garbage, EncodeFrame(kFrameA), c.garbage, EncodeFrame(kFrameB)});
    EXPECT_EQ(FramesOf(decoder.Feed(stream)), (std::vector{kFrameA, kFrameB})) << c.what;
  }
}

TEST(FrameDecoder, TruncatedFrameWaitsAndIsThenOvertakenByTheNextFrame) {
  FrameDecoder decoder;
  const Bytes a = EncodeFrame(kFrameA);
  EXPECT_TRUE(decoder.Feed(std::span(a).first(5)).empty());
  EXPECT_EQ(decoder.Pending(), 5u);
  // The rest of the cut frame never comes; the next frame still gets through.
  const auto events = decoder.Feed(Concat({EncodeFrame(kFrameB), EncodeFrame(kFrameB)}));
  const auto frames = FramesOf(events);
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(frames.back(), kFrameB);
  EXPECT_GE(CountOf(events, DecodeEvent::kBadChecksum), 1);
}

TEST(FrameDecoder, OversizedLengthIsReportedAndSkipped) {
  FrameDecoder decoder(8);
  WireFrame big{1, 0x30, Bytes(9, 0x11)};
  const auto events = decoder.Feed(Concat({EncodeFrame(big), EncodeFrame(kFrameA)}));
  EXPECT_EQ(CountOf(events, DecodeEvent::kOversized), 1);
  EXPECT_EQ(FramesOf(events), std::vector{kFrameA});
}

TEST(FrameDecoder, EveryFlippedBitIsCaught) {
  const Bytes good = EncodeFrame(kFrameB);
  for (std::size_t i = 0; i < good.size(); ++i) {
    for (int bit = 0; bit < 8; ++bit) {
      Bytes bad = good;
      bad[i] ^= static_cast<std::uint8_t>(1 << bit);
      FrameDecoder decoder;
      EXPECT_TRUE(FramesOf(decoder.Feed(bad)).empty()) << "byte " << i << " bit " << bit;
    }
  }
}

TEST(WireMessages, ParsersAcceptOnlyTheExactLength) {
  const Bytes selector = wire::EncodeCodeSelector({0x800, 3, wire::kNoIndex});
  ASSERT_TRUE(wire::DecodeCodeSelector(selector));
  EXPECT_EQ(wire::DecodeCodeSelector(selector)->code, 0x800u);
  EXPECT_EQ(wire::DecodeCodeSelector(selector)->row, 3);
  for (std::size_t cut = 0; cut < selector.size(); ++cut)
    EXPECT_FALSE(wire::DecodeCodeSelector(std::span(selector).first(cut))) << cut;
  Bytes longer = selector;
  longer.push_back(0);
  EXPECT_FALSE(wire::DecodeCodeSelector(longer));

  EXPECT_EQ(wire::DecodeAddressWrite(wire::EncodeAddressWrite({216, 9}))->value, 9);
  EXPECT_FALSE(wire::DecodeAddressWrite(Bytes{0, 216}));
  EXPECT_EQ(wire::DecodeCodeWrite(wire::EncodeCodeWrite({{0}, 0x01020304}))->value, 0x01020304u);
  EXPECT_FALSE(wire::DecodeCodeWrite(selector));
  EXPECT_EQ(wire::DecodePacketRequest(wire::EncodePacketRequest({0x800, 64}))->size, 64);
  EXPECT_FALSE(wire::DecodeByteData(Bytes{}));
  EXPECT_FALSE(wire::DecodeByteData(Bytes{1, 2}));
  EXPECT_EQ(wire::DecodeWordData(Bytes{0, 0, 1, 2}), 258u);
  EXPECT_FALSE(wire::DecodeWordData(Bytes{0, 1, 2}));
}

}  // namespace
}  // namespace vzt
