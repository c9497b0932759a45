#include <gtest/gtest.h>

#include "protocol/CommandFrame.h"

namespace {

TEST(CommandFrameTest, ChecksumIsTheSumOfBytesThreeToSixtyThree) {
    struct Case {
        uint8_t command;
        uint8_t length;
        uint16_t expected;
    };
    for (const Case c : {Case{0x01, 0, 0x0001}, Case{0x02, 0, 0x0002}, Case{0x03, 0x22, 0x0025},
                         Case{0xAA, 0, 0x00AA}}) {
        uint8_t frame[64];
        koru::frame::Build(frame, c.command, c.length, 0);
        EXPECT_EQ(frame[0], 0x04);
        EXPECT_EQ(frame[1] | frame[2] << 8, c.expected) << int(c.command);
        EXPECT_TRUE(koru::frame::ChecksumValid(frame));
    }
}

TEST(CommandFrameTest, ChecksumCoversHeaderAndPayloadAndCatchesAFlippedBit) {
    uint8_t payload[56];
    std::fill(std::begin(payload), std::end(payload), 0xFF);
    uint8_t frame[64];
    koru::frame::Build(frame, 0xFF, 0xFF, 0xFFFF, payload, sizeof payload);
    // Command, length, both address bytes and 56 payload bytes; byte 7 is 0.
    EXPECT_EQ(frame[1] | frame[2] << 8, 0xFF * 60);
    frame[20] ^= 1;
    EXPECT_FALSE(koru::frame::ChecksumValid(frame));
}

TEST(CommandFrameTest, AddressIsLittleEndianAndPayloadZeroFilled) {
    const uint8_t data[3] = {1, 2, 3};
    uint8_t frame[64];
    std::fill(std::begin(frame), std::end(frame), 0xCC);
    koru::frame::Build(frame, 0x06, 3, 0x1234, data, sizeof data);
    EXPECT_EQ(frame[5], 0x34);
    EXPECT_EQ(frame[6], 0x12);
    EXPECT_EQ(frame[7], 0);
    EXPECT_EQ(koru::frame::Address(frame), 0x1234);
    EXPECT_EQ(frame[10], 3);
    EXPECT_EQ(frame[11], 0);
    EXPECT_EQ(frame[63], 0);
}

}  // namespace
