// Address bytes received: the fake device delivers the line's bytes marked
// as a port reading at SPACE parity with parity errors marked gives them.
#include "app/tests/window_fixture.h"

#include <fstream>
#include <sstream>

using namespace res;

namespace {
const std::string kPort = "/dev/ttyUSB0";

class NinthBitTest : public WindowTest {
protected:
    void Receive(std::vector<std::uint8_t> marked)
    {
        m_devices.Feed(kPort, std::move(marked));
        m_ui.Advance(kPollPeriodMs);
    }
    // The receive mode of the last record the port applied.
    bool PortMarks()
    {
        bool marks = false;
        for (const auto& e : m_devices.Log())
            if (e.kind == fakes::SerialEvent::Kind::SetState)
                marks = e.dcb.fMarkNinthBit;
        return marks;
    }
};
} // namespace

TEST_F(NinthBitTest, AddressBytesStartMarkedLinesAndAreCountedOnce)
{
    StartOpen(kPort);
    auto& w = Win();
    // Offered only with an Address Size of 1 or more (1 when nothing is stored).
    EXPECT_TRUE(w.SystemMenuState(IDM_ADDRESS_BYTES)->enabled);
    w.Choose(IDC_ADDR_SIZE, 0);
    EXPECT_FALSE(w.SystemMenuState(IDM_ADDRESS_BYTES)->enabled);
    w.ChooseSystemMenu(IDM_ADDRESS_BYTES);
    EXPECT_FALSE(w.SystemMenuState(IDM_ADDRESS_BYTES)->checked);
    w.Choose(IDC_ADDR_SIZE, 1);
    w.ChooseSystemMenu(IDM_ADDRESS_BYTES);
    EXPECT_TRUE(w.SystemMenuState(IDM_ADDRESS_BYTES)->checked);
    EXPECT_TRUE(PortMarks());
    EXPECT_NE(ReadIni().find("address_bytes=1"), std::string::npos);

    // 05, then address 01 with 48 FF, then address 02 with 6C; a mark is cut
    // between two reads.
    m_devices.Feed(kPort, {0x05, 0xFF, 0x00, 0x01, 0x48, 0xFF});
    Receive({0xFF, 0xFF, 0x00});
    Receive({0x02, 0x6C});
    EXPECT_EQ(w.Text(IDC_RX), "05 \r\n[01] 48 FF \r\n[02] 6C ");
    EXPECT_EQ(w.Text(IDC_RX_COUNT), "RX: 6");

    // In text display an address byte starts a line too, and not an empty one.
    w.Click(IDC_CLEAR_RX);
    w.Click(IDC_RX_ASCII);
    Receive({0xFF, 0x00, 0x01, 'o', 'k', '\r', '\n', 0xFF, 0x00, 0x02, 'h', 'i'});
    EXPECT_EQ(w.Text(IDC_RX), "[01] ok\r\n[02] hi");

    // Back at Address Size 0 the mode is off: the port reads as before.
    w.Choose(IDC_ADDR_SIZE, 0);
    EXPECT_FALSE(w.SystemMenuState(IDM_ADDRESS_BYTES)->enabled);
    EXPECT_TRUE(w.SystemMenuState(IDM_ADDRESS_BYTES)->checked);
    EXPECT_FALSE(PortMarks());
    w.Click(IDC_CLEAR_RX);
    w.Click(IDC_RX_ASCII);
    Receive({0xFF, 0x00, 0x01});
    EXPECT_EQ(w.Text(IDC_RX), "FF 00 01 ");
}

TEST_F(NinthBitTest, TheTextLogMarksAddressBytesAndTheChoiceOutlivesTheWindow)
{
    WriteIni("[COMM_ADDR]\nsize=2\n[DISPLAY]\naddress_bytes=1\n");
    StartOpen(kPort);
    EXPECT_TRUE(Win().SystemMenuState(IDM_ADDRESS_BYTES)->checked);
    EXPECT_TRUE(Win().SystemMenuState(IDM_ADDRESS_BYTES)->enabled);
    const std::string log = m_ini + ".log";
    Win().ChooseSystemMenu(IDM_LOG_AS_TEXT);
    m_ui.QueueFileChoice(log);
    Win().ChooseSystemMenu(IDM_LOG_TO_FILE);
    Receive({0x05, 0xFF, 0x00, 0x01, 0x00, 0x48});
    Win().ChooseSystemMenu(IDM_LOG_TO_FILE);
    std::stringstream text;
    text << std::ifstream(log).rdbuf();
    EXPECT_NE(text.str().find(" RX 05\n"), std::string::npos) << text.str(); // the address ends the line before
    EXPECT_NE(text.str().find(" RX [01] 00 48\n"), std::string::npos) << text.str();
}
