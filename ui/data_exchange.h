#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

class Control;
class Dialog;

// One run of a dialog's data exchange. Saving moves control values into the
// members; loading moves members into the controls. After a field fails,
// every later exchange of the same run does nothing, so the members behind
// the failing field keep their values.
class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate) : m_dialog(dialog), m_saving(saveAndValidate) {}

    Dialog& GetDialog() const { return m_dialog; }
    bool Saving() const { return m_saving; }
    bool Failed() const { return m_failed; }
    // Reports the field as unreadable (once) and stops the run.
    void Fail(int id, std::string_view message);

private:
    Dialog& m_dialog;
    bool m_saving;
    bool m_failed = false;
};

inline constexpr std::string_view kMessageNotUnsigned = "Please enter a positive integer.";

void DDX_Control(DataExchange& dx, int id, Control& control);
void DDX_Check(DataExchange& dx, int id, int& value);
void DDX_CBIndex(DataExchange& dx, int id, int& value);
void DDX_Text(DataExchange& dx, int id, std::uint32_t& value);
// A field the user has not touched since it was given its value reads back
// as that value, byte for byte, also where the control shows it otherwise.
void DDX_Text(DataExchange& dx, int id, std::string& value);

// The text-to-number rule of an unsigned field: at most the first 31
// characters, blanks and tabs around, decimal digits only, no sign; a value
// of 0 only when the text starts with the digit 0; nothing beyond 32 bits.
std::optional<std::uint32_t> ParseUnsignedField(std::string_view text);

} // namespace ui
