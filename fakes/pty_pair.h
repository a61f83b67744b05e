#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fakes {

// A real pseudo-terminal pair: the program opens the slave path as its serial
// port, and the test plays the far end of the line on the master side.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();

    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return m_slavePath; }
    int MasterFd() const { return m_master; }

    // Hangs up the line as an unplugged adapter would.
    void CloseFarEnd();

    // Sends bytes towards the program; blocks until all are taken.
    void SendFromFarEnd(const std::vector<std::uint8_t>& bytes);
    // Collects up to count bytes the program sent, waiting at most timeout.
    std::vector<std::uint8_t> ReceiveAtFarEnd(std::size_t count, std::chrono::milliseconds timeout);

private:
    int m_master = -1;
    std::string m_slavePath;
};

} // namespace fakes
