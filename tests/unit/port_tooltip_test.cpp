// The text that tells a user which device a port of the list stands for.

#include "app/port_tooltip.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

struct TooltipCase {
  const char* name;
  PortFacts facts;
  std::string text;
};

class PortTooltipTest : public ::testing::TestWithParam<TooltipCase> {};

TEST_P(PortTooltipTest, NamesTheDeviceAndWhatIsKnownOfIt) {
  EXPECT_EQ(PortTooltip(GetParam().facts), GetParam().text);
}

const PortAdapter kFtdi{"FT232R USB UART", "FTDI", 0x0403, 0x6001};

INSTANTIATE_TEST_SUITE_P(
    Cases, PortTooltipTest,
    ::testing::Values(
        TooltipCase{"UsbAdapter",
                    {"/dev/ttyUSB0", {}, true, kFtdi},
                    "/dev/ttyUSB0\nFT232R USB UART, FTDI, USB 0403:6001"},
        TooltipCase{"LinkToUsbAdapter",
                    {"/opt/k/COM1", "/dev/ttyUSB0", true, kFtdi},
                    "/opt/k/COM1 → /dev/ttyUSB0\nFT232R USB UART, FTDI, USB 0403:6001"},
        TooltipCase{"LinkToPseudoTerminal",
                    {"/work/build/COM1", "/dev/pts/3", true, std::nullopt},
                    "/work/build/COM1 → /dev/pts/3"},
        TooltipCase{"AbsentLinkTellsWhereToMakeIt",
                    {"/work/build/COM4", {}, false, std::nullopt},
                    "/work/build/COM4（見つかりません）"},
        TooltipCase{"DanglingLink",
                    {"/work/build/COM2", "/dev/ttyUSB7", false, kFtdi},
                    "/work/build/COM2 → /dev/ttyUSB7（見つかりません）"},
        TooltipCase{
            "BuiltInPortKnowsNothing", {"/dev/ttyS0", {}, true, PortAdapter{}}, "/dev/ttyS0"},
        TooltipCase{"MakerOnce",
                    {"/dev/ttyACM0", {}, true, PortAdapter{"Arduino", "Arduino", 0x2341, 0x0043}},
                    "/dev/ttyACM0\nArduino, USB 2341:0043"},
        TooltipCase{"NoIdsWithoutBoth",
                    {"/dev/ttyUSB1", {}, true, PortAdapter{"", "Prolific", 0x067b, std::nullopt}},
                    "/dev/ttyUSB1\nProlific"},
        TooltipCase{"IdsAlone",
                    {"/dev/ttyUSB2", {}, true, PortAdapter{"", "", 0x1a86, 0x7523}},
                    "/dev/ttyUSB2\nUSB 1a86:7523"},
        TooltipCase{"JapaneseDescription",
                    {"/dev/ttyACM1", {}, true, PortAdapter{"赤道儀 コントローラー", "", {}, {}}},
                    "/dev/ttyACM1\n赤道儀 コントローラー"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvane
