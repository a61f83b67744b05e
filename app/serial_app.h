#pragma once

namespace serial {
class DeviceSystem;
}

// The application object: builds the main window over the system's ports
// (which the program's entry picks), runs it until it ends, and lets the
// process end.
class CSerialApp {
public:
    // Always false: the program has no message loop of its own.
    bool InitInstance(serial::DeviceSystem& devices);
};
