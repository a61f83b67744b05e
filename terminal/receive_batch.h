#pragma once
// Received text gathered over one poll tick and written to the receive box
// in one edit at its end.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace terminal {

// Writing each chunk on its own would cost one box edit per 128 bytes. The
// batch keeps what the chunks would have done and gives one edit that leaves
// the box exactly as chunk-by-chunk display would have: each chunk selects
// from the write position to the end and replaces the selection with its
// text; when a chunk would pass the box's text limit and automatic emptying
// is on, the box is emptied first and the position starts again at 0.
//
// Only what can end in the box is kept: the bytes since the last emptying,
// and no more once their text fills the box. Their text is made by Take, so
// a tick that receives megabytes makes at most about one box of text.
class ReceiveBatch {
public:
    // The one edit to make: empty the box first if asked, then select from
    // `start` to the end and replace the selection with `text`.
    struct Edit {
        bool emptyFirst = false;
        std::uint32_t start = 0; // character position
        std::string text;        // UTF-8
    };

    // Adds one chunk of n bytes, shown as text (ascii) or hexadecimal as
    // MakeRxDisplay shows it. `shown` is the box's write position in
    // characters; it advances by the chunk's positions, as it would have.
    // `limit` is the box's text limit in characters.
    void Add(const std::uint8_t* data, std::size_t n, bool ascii, std::uint32_t& shown, std::uint32_t limit,
             bool autoClear);

    // Adds text of the program's own (a time stamp) by the same rules: it
    // takes `positions` characters, counts toward the limit and may empty
    // the box first.
    void AddText(std::string_view text, std::uint32_t positions, std::uint32_t& shown, std::uint32_t limit,
                 bool autoClear);

    // The edit gathered so far, or nothing when no chunk was added; the
    // batch is empty again afterwards.
    std::optional<Edit> Take();

private:
    // How a run of m_bytes shows: as hexadecimal, as text, or as the
    // UTF-8 text it already is.
    enum class Mode { Hex, Ascii, Literal };
    // Where the bytes shown in one mode begin in m_bytes.
    struct ModeRun {
        std::size_t begin;
        Mode mode;
    };

    // Empties the batch when `positions` more would pass the limit and
    // automatic emptying is on; starts the edit if none is under way.
    void Prepare(std::uint32_t positions, std::uint32_t& shown, std::uint32_t limit, bool autoClear);
    void Append(const std::uint8_t* bytes, std::size_t n, Mode mode, std::uint32_t characters);

    bool m_pending = false;
    bool m_emptyFirst = false;
    std::uint32_t m_start = 0;
    std::uint64_t m_characters = 0; // of the text of m_bytes
    std::vector<std::uint8_t> m_bytes;
    std::vector<ModeRun> m_runs;
};

} // namespace terminal
