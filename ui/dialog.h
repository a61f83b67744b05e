#pragma once

#include "ui/data_exchange.h"
#include "ui/dialog_template.h"
#include "ui/message.h"
#include "ui/message_map.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

class WindowImpl;

// A dialog window built from a template. The back end creates the window,
// attaches it, calls InitDialog once, delivers messages through Dispatch and
// finally DestroyWindow. Everything runs on the user-interface thread.
class Dialog {
public:
    explicit Dialog(const DialogTemplate& tmpl);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    const DialogTemplate& Template() const { return m_template; }

    // Runs the dialog until it ends; returns the value given to EndDialog.
    int DoModal();

    // Moves values between the members and the controls through
    // DoDataExchange. Returns false when a field could not be read.
    bool UpdateData(bool saveAndValidate = true);

    // Window timers: a tick every period (at least 10 ms, at most
    // 0x7FFFFFFF ms); setting a running identifier restarts it.
    void SetTimer(unsigned id, unsigned periodMs);
    void KillTimer(unsigned id);
    void EndDialog(int result);

    // The title bar's text; the template's caption until it is changed.
    // Empty while the dialog has no window.
    void SetWindowText(std::string_view text);
    std::string GetWindowText() const;

    // Thread-safe: delivers the message later on the user-interface thread,
    // unless the window is gone by then.
    void PostMessage(const Message& message);

    WindowImpl* Window() const { return m_window; }
    bool IsBackgroundDispatch() const { return m_backgroundDepth > 0; }

    // Called by the back end.
    void AttachWindow(WindowImpl* window);
    bool InitDialog();
    std::intptr_t Dispatch(const Message& message);
    void DestroyWindow();

    // Called by the data exchange when a field fails, and when it reads again.
    void ReportFieldFailure(int id, std::string_view message);
    void ClearFieldFailure(int id);

    // A text field may show a value otherwise than given (bytes that are not
    // UTF-8 show as U+FFFD). The data exchange remembers what it gave such a
    // field and what the field showed then, so a field the user has not
    // touched reads back as the value given, byte for byte.
    void RememberGivenText(int id, const std::string& value, std::string shown);
    // The value given to field id, if the field still shows what it showed
    // then; null otherwise.
    const std::string* UntouchedText(int id, std::string_view shown) const;

protected:
    virtual void DoDataExchange(DataExchange& dx);
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    // The message map lookup; MappedDialog<D> supplies it.
    virtual std::intptr_t WindowProc(const Message& message);
    // The framework's default processing of a message.
    std::intptr_t Default(const Message& message);

    // Default processing of single messages, for handlers that pass a
    // message on the way the framework would.
    void OnClose(); // issues the cancel command
    void OnSysCommand(unsigned id, std::intptr_t param);
    void OnTimer(unsigned id); // nothing
    void OnDestroy();          // nothing

private:
    const DialogTemplate& m_template;
    WindowImpl* m_window = nullptr;
    int m_backgroundDepth = 0;
    bool m_failureBoxOpen = false;
    // The last field failure reported, so periodic refreshes do not repeat it.
    std::optional<std::pair<int, std::string>> m_lastFailure;
    struct GivenText {
        std::string value;
        std::string shown;
    };
    std::map<int, GivenText> m_givenTexts; // only fields showing otherwise than given
    // Shared with posted messages so they can tell the dialog is gone.
    // PostMessage copies it from any thread; it is set for the dialog's whole
    // life, and the pointee is cleared and read on the dialog's thread only.
    std::shared_ptr<Dialog*> m_alive;
};

// A dialog whose messages go through the static message map of D:
// `static const ui::MessageMap<D>& GetMessageMap();`
template <class D>
class MappedDialog : public Dialog {
public:
    using Dialog::Dialog;

protected:
    std::intptr_t WindowProc(const Message& message) override
    {
        if (const auto* entry = D::GetMessageMap().Find(message))
            return entry->call(static_cast<D&>(*this), message);
        return Default(message);
    }
};

} // namespace ui
