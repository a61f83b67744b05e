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
        dir_ = fakes::MakeTempFolder("vantrel-window-");
        ini_ = dir_ + "/vantrel.ini";
    }

    ~WindowTest() override
    {
        if (dlg_ && !Win().Destroyed())
            Win().PressEscape();
        dlg_.reset();
        std::error_code ignored; // Windows keeps a read-only file
        std::filesystem::remove_all(dir_, ignored);
    }

    void Start()
    {
        dlg_ = std::make_unique<CSerialDlg>(devices_);
        dlg_->m_strIniPath = ini_;
        ui_.RunModal(*dlg_);
    }

    // Opens the first port of the list through the Open button.
    void StartOpen(const std::string& port = "/dev/ttyUSB0")
    {
        devices_.AddPort(port);
        Start();
        Win().Click(res::IDC_OPEN);
        ASSERT_TRUE(Dlg().m_pPort) << "the port did not open";
        devices_.ClearLog();
    }

    void WriteIni(const std::string& text) { std::ofstream(ini_, std::ios::binary) << text; }

    std::string ReadIni() const
    {
        std::ifstream in(ini_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    CSerialDlg& Dlg() { return *dlg_; }
    ui::headless::HeadlessWindow& Win() { return ui_.WindowOf(*dlg_); }

    ui::headless::HeadlessBackend ui_;
    fakes::FakeDeviceSystem devices_;
    std::unique_ptr<CSerialDlg> dlg_;
    std::string dir_;
    std::string ini_;
};
