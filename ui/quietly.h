#pragma once

namespace ui {

// Counts a back end's own changes to its controls while it makes them, so
// the notifications the toolkit raises for some of them (text set into an
// edit) are told apart from the user's and not passed on: a back end holds
// one depth, and passes a notification on only while it is 0.
class Quietly {
public:
    explicit Quietly(int& depth) : m_depth(depth) { ++m_depth; }
    ~Quietly() { --m_depth; }
    Quietly(const Quietly&) = delete;
    Quietly& operator=(const Quietly&) = delete;

private:
    int& m_depth;
};

} // namespace ui
