#pragma once
// Opens the window's port on a pseudo-terminal, as a user would: the
// terminal is listed through the settings file's [PORTS] extra list, chosen
// in the port list, and opened with the Open button.

#include "app/serial_dlg.h"
#include "fakes/pty_pair.h"
#include "res/resource_ids.h"
#include "serial/device.h"
#include "serial/port_names.h"
#include "ui_headless/headless_backend.h"
#include "ui_headless/headless_window.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace bench {

// Chooses `slavePath` in the started window's port list and opens it; a
// benchmark cannot go on without its port, so a failure ends the program.
inline void OpenPortOnPty(ui::headless::HeadlessWindow& w, const CSerialDlg& dlg, const std::string& slavePath)
{
    const auto items = w.Items(res::IDC_PORT);
    const auto row = std::find(items.begin(), items.end(), serial::PortDisplayName(slavePath)) - items.begin();
    w.Choose(res::IDC_PORT, static_cast<int>(row));
    w.Click(res::IDC_OPEN);
    if (!dlg.m_pPort) {
        std::fprintf(stderr, "could not open %s\n", slavePath.c_str());
        std::exit(1);
    }
}

// A window on the headless back end over the real device layer, its
// settings file in a fresh folder (dir) listing a new pseudo-terminal, the
// window started and its port opened on the terminal. moreSettings is
// appended to the settings file ("[RX]\nopt=...\n").
struct WindowOnPty {
    explicit WindowOnPty(const std::string& moreSettings = {})
    {
        std::ofstream(dir + "/vantrel.ini") << "[PORTS]\nextra=" << pty.SlavePath() << "\n" << moreSettings;
        dlg.m_strIniPath = dir + "/vantrel.ini";
        ui.RunModal(dlg);
        OpenPortOnPty(window(), dlg, pty.SlavePath());
    }
    ui::headless::HeadlessWindow& window() { return ui.WindowOf(dlg); }

    fakes::PtyPair pty;
    std::string dir = FreshFolder();
    ui::headless::HeadlessBackend ui;
    CSerialDlg dlg{serial::LinuxDeviceSystem()};

private:
    static std::string FreshFolder()
    {
        char pattern[] = "/tmp/vantrel-bench-XXXXXX";
        return ::mkdtemp(pattern);
    }
};

} // namespace bench
