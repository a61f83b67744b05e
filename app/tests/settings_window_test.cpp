// The window's settings file: read at start-up, written by the close box.
#include "app/tests/window_fixture.h"

#include <functional>

using namespace res;

namespace {
const std::string kPort = "/dev/ttyUSB0";

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}
} // namespace

TEST_F(WindowTest, AnUntouchedRunWritesTheDefaultRecords)
{
    m_devices.AddPort(kPort);
    Start();
    Win().CloseBox();
    const std::string ini = ReadIni();
    EXPECT_TRUE(Contains(ini, "size=1")) << ini;
    EXPECT_TRUE(Contains(ini, "setup=000000000600000000000000030000000000000009")) << ini;
    EXPECT_TRUE(Contains(ini, "[RX]")) << ini;
    EXPECT_TRUE(Contains(ini, "opt=000000000100000001")) << ini;
    EXPECT_TRUE(Contains(ini, "opt=0000000000000000E8030000EB")) << ini;
    EXPECT_TRUE(Contains(ini, "protocol=1")) << ini;
    EXPECT_TRUE(Contains(ini, "file=")) << ini;
    EXPECT_LT(ini.find("[COMM_ADDR]"), ini.find("[COMM_PORT]"));
    EXPECT_LT(ini.find("[COMM_PORT]"), ini.find("[RX]"));
    EXPECT_LT(ini.find("[RX]"), ini.find("[TX]"));
    EXPECT_LT(ini.find("[TX]"), ini.find("[TX_FILT]"));
}

TEST_F(WindowTest, EveryStoredChoiceComesBackAtTheNextStart)
{
    m_devices.AddPort("/dev/ttyACM0");
    m_devices.AddPort(kPort);
    Start();
    auto& w = Win();
    w.Choose(IDC_ADDR_SIZE, 8);
    w.Choose(IDC_PORT, 1);
    w.Choose(IDC_BAUD, 0);
    w.Choose(IDC_PARITY, 4);
    w.Choose(IDC_BYTE_SIZE, 0);
    w.Choose(IDC_STOP_BITS, 2);
    w.Click(IDC_RX_ASCII);
    w.Click(IDC_AUTO_CLEAR);
    w.Click(IDC_TX_ASCII);
    w.Type(IDC_TX_CYCLE, "4294967295");
    w.Choose(IDC_PROTOCOL, 2);
    const std::string longPath = "/tmp/" + std::string(400, 'p') + "/image.bin";
    w.Type(IDC_FILE_PATH, longPath);
    w.Type(IDC_TX, "not stored");
    w.Click(IDC_HIDE);
    w.CloseBox();

    m_dlg.reset();
    Start();
    auto& again = Win();
    EXPECT_EQ(again.Selection(IDC_ADDR_SIZE), 8);
    EXPECT_EQ(again.Selection(IDC_PORT), 1);
    EXPECT_EQ(again.Selection(IDC_BAUD), 0);
    EXPECT_EQ(again.Selection(IDC_PARITY), 4);
    EXPECT_EQ(again.Selection(IDC_BYTE_SIZE), 0);
    EXPECT_EQ(again.Selection(IDC_STOP_BITS), 2);
    EXPECT_EQ(again.Check(IDC_RX_ASCII), 1);
    EXPECT_EQ(again.Check(IDC_AUTO_CLEAR), 0);
    EXPECT_EQ(again.Check(IDC_TX_ASCII), 1);
    EXPECT_EQ(again.Text(IDC_TX_CYCLE), "4294967295");
    EXPECT_EQ(again.Selection(IDC_PROTOCOL), 2);
    EXPECT_EQ(again.Text(IDC_FILE_PATH), longPath) << "a long path must come back whole";
    EXPECT_EQ(again.Text(IDC_TX), "");
    EXPECT_EQ(again.Check(IDC_HIDE), 0);
}

TEST_F(WindowTest, ADamagedRecordFallsBackToItsDefaultsAsAWhole)
{
    m_devices.AddPort(kPort);
    // Baud row 0 and parity row 2, but the checksum's digits are wrong.
    WriteIni("[COMM_PORT]\nsetup=000000000000000002000000030000000000000006\n"
             "[RX]\nopt=010000000000000001\n");
    Start();
    EXPECT_EQ(Win().Selection(IDC_BAUD), 6);
    EXPECT_EQ(Win().Selection(IDC_PARITY), 0);
    EXPECT_EQ(Win().Selection(IDC_BYTE_SIZE), 3);
    EXPECT_EQ(Win().Check(IDC_RX_ASCII), 1); // the other record still counts
    EXPECT_EQ(Win().Check(IDC_AUTO_CLEAR), 0);
}

TEST_F(WindowTest, IndexesOutsideTheirListsShowNoSelectionAndAreSavedAsMinusOne)
{
    WriteIni("[COMM_ADDR]\nsize=-1\n[TX_FILT]\nprotocol=7\n");
    Start(); // and no port at all
    EXPECT_EQ(Win().Selection(IDC_ADDR_SIZE), -1);
    EXPECT_EQ(Win().Selection(IDC_PROTOCOL), -1);
    EXPECT_EQ(Win().Selection(IDC_PORT), -1);
    Win().CloseBox();
    const std::string ini = ReadIni();
    EXPECT_TRUE(Contains(ini, "size=-1")) << ini;
    EXPECT_TRUE(Contains(ini, "protocol=-1")) << ini;
    EXPECT_TRUE(Contains(ini, "setup=FFFFFFFF0600000000000000030000000000000005")) << ini;
}

TEST_F(WindowTest, AnEmptyNumberKeepsTheMemberAsItWas)
{
    WriteIni("[COMM_ADDR]\nsize=\n[TX_FILT]\nprotocol=\n");
    Start();
    EXPECT_EQ(Dlg().m_nProtocol, 1);               // given its default just before the read
    EXPECT_EQ(Win().Selection(IDC_ADDR_SIZE), -1); // kept from construction
}

TEST_F(WindowTest, AFailedWriteIsReportedOnceWithPathAndReasonAndTheCloseGoesOn)
{
    struct Case {
        const char* name;
        std::function<std::string(const std::string& dir)> prepare; // gives the settings path
        std::string reason;
    };
    const Case cases[] = {
        {"the path is a folder",
         [](const std::string& dir) {
             std::filesystem::create_directory(dir + "/folder.ini");
             return dir + "/folder.ini";
         },
         "Is a directory"},
        {"its folder is a file",
         [](const std::string& dir) {
             std::ofstream(dir + "/plain");
             return dir + "/plain/vantrel.ini";
         },
         "Not a directory"},
        {"a read-only file",
         [](const std::string& dir) {
             std::ofstream(dir + "/locked.ini") << "[COMM_ADDR]\nsize=1\n";
             std::filesystem::permissions(dir + "/locked.ini", std::filesystem::perms::owner_read);
             return dir + "/locked.ini";
         },
         "Permission denied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui::headless::HeadlessBackend ui;
        m_devices.AddPort(kPort);
        CSerialDlg dlg(m_devices);
        dlg.m_strIniPath = c.prepare(m_dir);
        ui.RunModal(dlg);
        ui.WindowOf(dlg).CloseBox();
        EXPECT_TRUE(ui.WindowOf(dlg).Destroyed());
        ASSERT_EQ(ui.Boxes().size(), 1u);
        EXPECT_EQ(ui.Boxes()[0].text, "Settings not saved to '" + dlg.m_strIniPath + "': " + c.reason);
    }
}

TEST_F(WindowTest, AnUntouchedFilePathThatIsNotUtf8KeepsItsBytes)
{
    const std::string path = "/tmp/caf\xE9.bin";
    WriteIni("[TX_FILT]\nfile=" + path + "\n");
    Start();
    Dlg().UpdateData(true);
    EXPECT_EQ(Dlg().m_strFilePath, path); // the name the file sender opens
    Win().CloseBox();
    EXPECT_TRUE(Contains(ReadIni(), "file=" + path + "\n")) << ReadIni();
}

TEST_F(WindowTest, AFastRateAndAUsersRateAreStoredAsTheirRowsAndOpenTheLine)
{
    const auto openedAt = [this] {
        std::uint32_t rate = 0;
        for (const auto& event : m_devices.Log())
            if (event.kind == fakes::SerialEvent::Kind::SetState)
                rate = event.dcb.BaudRate;
        return rate;
    };
    m_devices.AddPort(kPort);
    WriteIni("[BAUD]\nextra=250000;1843200\n");
    Start();
    const std::vector<std::string> rows = Win().Items(IDC_BAUD);
    ASSERT_EQ(rows.size(), 28u);
    EXPECT_EQ(rows[20], "1500000");
    Win().Choose(IDC_BAUD, 27);
    Win().CloseBox();

    m_dlg.reset();
    Start();
    EXPECT_EQ(Win().Selection(IDC_BAUD), 27);
    Win().Click(IDC_OPEN);
    EXPECT_EQ(openedAt(), 1843200u);
    Win().CloseBox();

    // Without the user's rows the stored row falls back to 9600.
    std::string ini = ReadIni();
    WriteIni(ini.replace(ini.find("extra="), 6, "gone="));
    m_dlg.reset();
    Start();
    Win().Click(IDC_OPEN);
    EXPECT_EQ(openedAt(), 9600u);
}
