#include "terminal/receive_batch.h"

#include "terminal/rx_text.h"

namespace terminal {

void ReceiveBatch::Prepare(std::uint32_t positions, std::uint32_t& shown, std::uint32_t limit, bool autoClear)
{
    if (shown + positions > limit && autoClear) {
        shown = 0;
        m_pending = false;
        m_emptyFirst = true;
        m_characters = 0;
        m_bytes.clear();
        m_runs.clear();
    }
    if (!m_pending) {
        m_pending = true;
        m_start = shown;
    }
}

void ReceiveBatch::Append(const std::uint8_t* bytes, std::size_t n, Mode mode, std::uint32_t characters)
{
    if (m_runs.empty() || m_runs.back().mode != mode)
        m_runs.push_back({m_bytes.size(), mode});
    m_bytes.insert(m_bytes.end(), bytes, bytes + n);
    m_characters += characters;
}

void ReceiveBatch::Add(const std::uint8_t* data, std::size_t n, bool ascii, std::uint32_t& shown, std::uint32_t limit,
                       bool autoClear)
{
    if (data == nullptr)
        n = 0;
    const std::uint32_t positions = RxPositions(n, ascii);
    Prepare(positions, shown, limit, autoClear);
    // The box keeps at most `limit` characters after the start: text beyond
    // that would be dropped by the box anyway.
    if (m_characters < limit) {
        const std::size_t show = RxShownBytes(data, n, ascii);
        Append(data, show, ascii ? Mode::Ascii : Mode::Hex, RxPositions(show, ascii));
    }
    shown += positions;
}

void ReceiveBatch::AddText(std::string_view text, std::uint32_t positions, std::uint32_t& shown, std::uint32_t limit,
                           bool autoClear)
{
    Prepare(positions, shown, limit, autoClear);
    if (m_characters < limit)
        Append(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), Mode::Literal, positions);
    shown += positions;
}

std::optional<ReceiveBatch::Edit> ReceiveBatch::Take()
{
    if (!m_pending && !m_emptyFirst)
        return std::nullopt;
    Edit edit{m_emptyFirst, m_start, {}};
    for (std::size_t i = 0; i < m_runs.size(); ++i) {
        const std::size_t end = i + 1 < m_runs.size() ? m_runs[i + 1].begin : m_bytes.size();
        const std::uint8_t* run = m_bytes.data() + m_runs[i].begin;
        if (m_runs[i].mode == Mode::Literal)
            edit.text.append(reinterpret_cast<const char*>(run), end - m_runs[i].begin);
        else
            AppendRxText(edit.text, run, end - m_runs[i].begin, m_runs[i].mode == Mode::Ascii);
    }
    m_pending = false;
    m_emptyFirst = false;
    m_start = 0;
    m_characters = 0;
    m_bytes.clear();
    m_runs.clear();
    return edit;
}

} // namespace terminal
