#include "terminal/receive_batch.h"

#include "terminal/rx_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace terminal {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A receive box of ASCII text: a selection from `start` to the end is
// replaced, and the text never grows past the limit.
struct Box {
    std::string text;
    std::uint32_t limit;

    void ReplaceFrom(std::uint32_t start, const std::string& with)
    {
        text.resize(std::min<std::size_t>(start, text.size()));
        text += with.substr(0, limit - std::min<std::size_t>(limit, text.size()));
    }
};

// Chunk-by-chunk display, the behaviour the batch must reproduce.
void ShowChunk(Box& box, std::uint32_t& shown, const Bytes& chunk, bool ascii, bool autoClear)
{
    const RxDisplay display = MakeRxDisplay(chunk.data(), chunk.size(), ascii);
    if (shown + display.length > box.limit && autoClear) {
        shown = 0;
        box.text.clear();
    }
    box.ReplaceFrom(shown, display.text);
    shown += display.length;
}

void Apply(Box& box, const std::optional<ReceiveBatch::Edit>& edit)
{
    if (!edit)
        return;
    if (edit->emptyFirst)
        box.text.clear();
    box.ReplaceFrom(edit->start, edit->text);
}

TEST(ReceiveBatch, OneEditPerTickLeavesTheBoxAsChunkByChunkDisplay)
{
    // Letters and zero bytes (which end a text chunk's text early), in both
    // display modes, sometimes switching within a tick, with text typed into
    // the box between ticks.
    std::mt19937 random(7);
    for (const bool autoClear : {true, false}) {
        for (int run = 0; run < 20; ++run) {
            Box single{"", 300};
            Box batched{"", 300};
            std::uint32_t singleShown = 0;
            std::uint32_t batchedShown = 0;
            for (int tick = 0; tick < 80; ++tick) {
                ReceiveBatch batch;
                const int chunks = static_cast<int>(random() % 8);
                for (int c = 0; c < chunks; ++c) {
                    const bool ascii = random() % 3 != 0;
                    Bytes chunk(random() % 41);
                    for (auto& b : chunk)
                        b = random() % 10 == 0 ? 0 : static_cast<std::uint8_t>('a' + random() % 26);
                    ShowChunk(single, singleShown, chunk, ascii, autoClear);
                    batch.Add(chunk.data(), chunk.size(), ascii, batchedShown, batched.limit, autoClear);
                }
                const auto edit = batch.Take();
                EXPECT_EQ(edit.has_value(), chunks > 0);
                Apply(batched, edit);
                ASSERT_EQ(batched.text, single.text) << "run " << run << " tick " << tick << " autoClear " << autoClear;
                ASSERT_EQ(batchedShown, singleShown);
                if (random() % 10 == 0) {
                    const std::string typed(random() % 20, '#');
                    single.ReplaceFrom(static_cast<std::uint32_t>(single.text.size()), typed);
                    batched.ReplaceFrom(static_cast<std::uint32_t>(batched.text.size()), typed);
                }
            }
        }
    }
}

TEST(ReceiveBatch, AZeroByteHidesOnlyTheRestOfItsOwnChunk)
{
    ReceiveBatch batch;
    std::uint32_t shown = 5;
    const Bytes first{'A', 0, 'B'};
    const Bytes second{'C', 'D'};
    batch.Add(first.data(), first.size(), true, shown, 100, true);
    batch.Add(second.data(), second.size(), true, shown, 100, true);
    const auto edit = batch.Take();
    ASSERT_TRUE(edit);
    EXPECT_FALSE(edit->emptyFirst);
    EXPECT_EQ(edit->start, 5u);
    EXPECT_EQ(edit->text, "ACD");
    EXPECT_EQ(shown, 10u);      // every byte takes its position
    EXPECT_FALSE(batch.Take()); // empty again
}

TEST(ReceiveBatch, MegabytesInOneTickMakeAtMostAboutOneBoxOfText)
{
    const Bytes chunk(128, 0x5A);
    for (const bool autoClear : {true, false}) {
        ReceiveBatch batch;
        std::uint32_t shown = 0;
        for (int i = 0; i < 8000; ++i)
            batch.Add(chunk.data(), chunk.size(), false, shown, 4096, autoClear);
        const auto edit = batch.Take();
        ASSERT_TRUE(edit);
        EXPECT_LE(edit->text.size(), 4096u + 384u);
        EXPECT_GE(edit->text.size(), autoClear ? 3840u : 4096u);
    }
}

} // namespace
} // namespace terminal
