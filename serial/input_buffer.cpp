#include "serial/input_buffer.h"

#include <algorithm>

namespace serial {

InputBuffer::InputBuffer(std::size_t capacity) : m_capacity(capacity)
{
}

bool InputBuffer::HasRoom() const
{
    return m_bytes.size() < m_capacity;
}

std::function<void()> InputBuffer::Add(const std::uint8_t* data, std::size_t count)
{
    m_bytes.insert(m_bytes.end(), data, data + count);
    return count > 0 ? TakeDue() : nullptr;
}

InputBuffer::Taken InputBuffer::Read(std::uint8_t* buffer, std::size_t count)
{
    m_armed = true;
    const bool wasFull = !HasRoom();
    const std::size_t n = std::min(count, m_bytes.size());
    std::copy_n(m_bytes.begin(), n, buffer);
    m_bytes.erase(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(n));
    return {n, wasFull && n > 0};
}

void InputBuffer::NotifyArrival(std::function<void()> onArrival)
{
    m_onArrival = std::move(onArrival);
    m_armed = true;
}

std::function<void()> InputBuffer::SetArrivalThreshold(std::size_t bytes)
{
    m_threshold = std::max<std::size_t>(bytes, 1);
    return TakeDue();
}

std::function<void()> InputBuffer::TakeDue()
{
    if (!m_onArrival || !m_armed || m_bytes.size() < m_threshold)
        return nullptr;
    m_armed = false;
    return m_onArrival;
}

} // namespace serial
