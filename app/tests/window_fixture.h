#pragma once

#include "app/serial_dlg.h"
#include "fakes/fake_serial.h"
#include "fakes/temp_folder.h"
#include "res/resource_ids.h"
#include "ui_headless/headless_backend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

// The main window on the headless back end, with fake serial devices and a
// settings file in a fresh temporary folder.
class WindowTest : public ::testing::Test {
protected:
    WindowTest()
    {
        m_dir = fakes::MakeTempFolder("vantrel-window-");
        m_ini = m_dir + "/vantrel.ini";
    }

    ~WindowTest() override
    {
        if (m_dlg && !Win().Destroyed())
            Win().PressEscape();
        m_dlg.reset();
        std::error_code ignored; // Windows keeps a read-only file
        std::filesystem::remove_all(m_dir, ignored);
    }

    void Start()
    {
        m_dlg = std::make_unique<CSerialDlg>(m_devices);
        m_dlg->m_strIniPath = m_ini;
        m_ui.RunModal(*m_dlg);
    }

    // Opens the first port of the list through the Open button.
    void StartOpen(const std::string& port = "/dev/ttyUSB0")
    {
        m_devices.AddPort(port);
        Start();
        Win().Click(res::IDC_OPEN);
        ASSERT_TRUE(Dlg().m_pPort) << "the port did not open";
        m_devices.ClearLog();
    }

    void WriteIni(const std::string& text) { std::ofstream(m_ini, std::ios::binary) << text; }

    std::string ReadIni() const
    {
        std::ifstream in(m_ini, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    CSerialDlg& Dlg() { return *m_dlg; }
    ui::headless::HeadlessWindow& Win() { return m_ui.WindowOf(*m_dlg); }

    ui::headless::HeadlessBackend m_ui;
    fakes::FakeDeviceSystem m_devices;
    std::unique_ptr<CSerialDlg> m_dlg;
    std::string m_dir;
    std::string m_ini;
};
