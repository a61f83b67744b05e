#pragma once

// The application object: builds the main window, runs it until it ends,
// and lets the process end.
class CSerialApp {
public:
    // Always false: the program has no message loop of its own.
    bool InitInstance();
};
