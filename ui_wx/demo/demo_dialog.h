#pragma once

#include "ui/controls.h"
#include "ui/dialog.h"

namespace demo {

// The main window's template with sample contents and a few live buttons:
// Send copies the transmit box into the receive box, the Clear buttons
// empty their boxes, Pause shows its pressed look, and the window menu's
// About entry shows a message box.
class DemoDialog : public ui::MappedDialog<DemoDialog> {
public:
    DemoDialog();
    static const ui::MessageMap<DemoDialog>& GetMessageMap();

protected:
    bool OnInitDialog() override;
    void OnOK() override {} // Enter never closes the window

private:
    void FillLists();
    void OnSend();
    void OnClearRx();
    void OnClearTx();
    void OnClearCounters();
    void OnOpen();
    void OnTimer(unsigned id);
    void OnSysCommand(unsigned id, std::intptr_t param);

    ui::Edit m_rx;
    ui::Edit m_tx;
    ui::Static m_txCount;
    ui::Static m_rxCount;
    ui::ProgressBar m_progress;
    unsigned m_sent = 0;
    int m_progressPos = 0;
};

} // namespace demo
