#include "app/serial_dlg.h"

#include "serial/port_names.h"
#include "settings/profile.h"

#include <string>
#include <vector>

namespace {

// Device paths the user lists in the settings file under [PORTS] extra=,
// separated by ";": the pseudo-terminals of emulators and tools, which no
// scan of the system's serial devices can find.
std::vector<std::string> ExtraPorts(const std::string& iniPath)
{
    std::vector<std::string> paths;
    const std::string value = settings::GetProfileString("PORTS", "extra", "", 0, iniPath);
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find(';', start);
        if (end == std::string::npos)
            end = value.size();
        std::string path = value.substr(start, end - start);
        while (!path.empty() && (path.front() == ' ' || path.front() == '\t'))
            path.erase(path.begin());
        while (!path.empty() && (path.back() == ' ' || path.back() == '\t'))
            path.pop_back();
        if (!path.empty())
            paths.push_back(std::move(path));
        start = end + 1;
    }
    return paths;
}

} // namespace

void CSerialDlg::FillPortList()
{
    m_cboPort.ResetContent();
    for (const std::string& name : m_devices.ListPorts(ExtraPorts(m_strIniPath)))
        m_cboPort.AddString(serial::PortDisplayName(name));
    if (m_cboPort.GetCount() > 0)
        m_cboPort.SetCurSel(0);
}

std::intptr_t CSerialDlg::OnDeviceChange(std::uintptr_t event, std::intptr_t)
{
    if (event == ui::DBT_DEVICEARRIVAL || event == ui::DBT_DEVICEREMOVECOMPLETE) {
        FillPortList();
        return 1;
    }
    return 0;
}
