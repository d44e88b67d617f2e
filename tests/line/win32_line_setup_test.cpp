// The DCB and COMMTIMEOUTS values the Windows line chooses, checked against Win32's documented numbers.
#include <gtest/gtest.h>

#include "line/WindowsSerialLine.h"

namespace k52 {
namespace {

constexpr std::uint32_t kMaxDword = 0xFFFFFFFFu;

TEST(Win32LineSetup, EachSpeedIsEightNoneOneWithTheLinuxWriteBound) {
    for (std::uint32_t speed : {9600u, 19200u, 38400u, 57600u, 115200u}) {
        SCOPED_TRACE(speed);
        LineSettings s;
        s.speed = speed;
        const std::optional<Win32LineSetup> setup = ChooseWin32LineSetup(s);
        ASSERT_TRUE(setup);
        EXPECT_EQ(setup->baudRate, speed);
        EXPECT_EQ(setup->byteSize, 8);
        EXPECT_EQ(setup->parity, 0);    // NOPARITY
        EXPECT_EQ(setup->stopBits, 0);  // ONESTOPBIT
        EXPECT_FALSE(setup->outxCtsFlow || setup->outX || setup->inX);
        EXPECT_EQ(setup->dtrControl, 0);  // DTR_CONTROL_DISABLE
        EXPECT_EQ(setup->rtsControl, 0);
        EXPECT_EQ(setup->writeTotalTimeoutMultiplier, 5u);
        EXPECT_EQ(setup->writeTotalTimeoutConstant, 50u);
    }
}

TEST(Win32LineSetup, ModemLinesAndFlowFollowTheSettingsAndOtherFramesAreRefused) {
    LineSettings s;
    s.speed = 9600;
    s.dtr = s.rts = s.ctsOutputFlow = s.xonXoffOutput = true;
    const std::optional<Win32LineSetup> setup = ChooseWin32LineSetup(s);
    ASSERT_TRUE(setup);
    EXPECT_EQ(setup->dtrControl, 1);  // DTR_CONTROL_ENABLE
    EXPECT_EQ(setup->rtsControl, 1);  // RTS_CONTROL_ENABLE
    EXPECT_TRUE(setup->outxCtsFlow && setup->outX);
    EXPECT_FALSE(setup->inX);

    LineSettings bad = s;
    bad.speed = 4800;
    EXPECT_FALSE(ChooseWin32LineSetup(bad));
    bad = s;
    bad.dataBits = 7;
    EXPECT_FALSE(ChooseWin32LineSetup(bad));
    bad = s;
    bad.parity = true;
    EXPECT_FALSE(ChooseWin32LineSetup(bad));
    bad = s;
    bad.stopBits = 2;
    EXPECT_FALSE(ChooseWin32LineSetup(bad));
}

TEST(Win32LineSetup, ReadTimeoutsReturnAtOnceOrWaitForTheFirstByte) {
    const struct {
        std::int64_t waitMs;
        std::uint32_t interval, multiplier, constant;
    } cases[] = {{0, kMaxDword, 0, 0},
                 {-5, kMaxDword, 0, 0},
                 {1, kMaxDword, kMaxDword, 1},
                 {9000, kMaxDword, kMaxDword, 9000},
                 {std::int64_t{1} << 40, kMaxDword, kMaxDword, kMaxDword - 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.waitMs);
        const Win32ReadTimeouts t = ChooseWin32ReadTimeouts(c.waitMs);
        EXPECT_EQ(t.interval, c.interval);
        EXPECT_EQ(t.multiplier, c.multiplier);
        EXPECT_EQ(t.constant, c.constant);
    }
}

TEST(Win32LineSetup, DevicePathsUseTheDeviceNamespace) {
    EXPECT_EQ(Win32DevicePath("COM5"), "\\\\.\\COM5");
    EXPECT_EQ(Win32DevicePath("COM12"), "\\\\.\\COM12");
    EXPECT_EQ(Win32DevicePath("\\\\.\\COM3"), "\\\\.\\COM3");
}

}  // namespace
}  // namespace k52
