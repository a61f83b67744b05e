#pragma once

#include "ui/message.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace ui {

// A table from window messages, or (control identifier, notification) pairs,
// to the handlers of a dialog class D. Built once, as data, with the Map...
// helpers below; a message with no entry gets the framework's default.
template <class D>
class MessageMap {
public:
    struct Entry {
        Msg kind;
        int id;        // control identifier for Msg::Command, else 0
        Notify notify; // notification for Msg::Command
        std::function<std::intptr_t(D&, const Message&)> call;
    };

    MessageMap(std::initializer_list<Entry> entries) : m_entries(entries) {}

    const Entry* Find(const Message& m) const
    {
        for (const Entry& e : m_entries) {
            if (e.kind != m.kind)
                continue;
            if (m.kind != Msg::Command || (e.id == m.id && e.notify == m.notify))
                return &e;
        }
        return nullptr;
    }

private:
    std::vector<Entry> m_entries;
};

template <class D>
typename MessageMap<D>::Entry MapCommand(int id, Notify notify, void (D::*handler)())
{
    return {Msg::Command, id, notify, [handler](D& d, const Message&) -> std::intptr_t {
                (d.*handler)();
                return 0;
            }};
}

// A message whose handler takes no arguments (Close, Destroy, Paint, Size).
template <class D>
typename MessageMap<D>::Entry MapMessage(Msg kind, void (D::*handler)())
{
    return {kind, 0, Notify::Clicked, [handler](D& d, const Message&) -> std::intptr_t {
                (d.*handler)();
                return 0;
            }};
}

template <class D>
typename MessageMap<D>::Entry MapTimer(void (D::*handler)(unsigned id))
{
    return {Msg::Timer, 0, Notify::Clicked, [handler](D& d, const Message& m) -> std::intptr_t {
                (d.*handler)(static_cast<unsigned>(m.id));
                return 0;
            }};
}

template <class D>
typename MessageMap<D>::Entry MapSysCommand(void (D::*handler)(unsigned id, std::intptr_t param))
{
    return {Msg::SysCommand, 0, Notify::Clicked, [handler](D& d, const Message& m) -> std::intptr_t {
                (d.*handler)(static_cast<unsigned>(m.wParam), m.lParam);
                return 0;
            }};
}

// A plain message handler that sees both parameters and returns the result.
template <class D>
typename MessageMap<D>::Entry MapRaw(Msg kind, std::intptr_t (D::*handler)(std::uintptr_t, std::intptr_t))
{
    return {kind, 0, Notify::Clicked,
            [handler](D& d, const Message& m) -> std::intptr_t { return (d.*handler)(m.wParam, m.lParam); }};
}

} // namespace ui
