#include "terminal/receive_batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace terminal {
namespace {

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

TEST(ReceiveBatch, OneEditPerTickLeavesTheBoxAsChunkByChunkDisplay)
{
    std::mt19937 random(7);
    for (const bool autoClear : {true, false}) {
        Box single{"", 40};
        Box batched{"", 40};
        std::uint32_t singleShown = 0;
        std::uint32_t batchedShown = 0;
        char next = 'a';
        for (int tick = 0; tick < 60; ++tick) {
            ReceiveBatch batch;
            const int chunks = static_cast<int>(random() % 4);
            for (int c = 0; c < chunks; ++c) {
                const std::string text(random() % 13, next);
                next = next == 'z' ? 'a' : static_cast<char>(next + 1);
                const RxDisplay chunk{text, static_cast<std::uint32_t>(text.size())};

                if (singleShown + chunk.length > single.limit && autoClear) {
                    singleShown = 0;
                    single.text.clear();
                }
                single.ReplaceFrom(singleShown, chunk.text);
                singleShown += chunk.length;

                batch.Add(chunk, batchedShown, batched.limit, autoClear);
            }
            if (auto edit = batch.Take()) {
                if (edit->emptyFirst)
                    batched.text.clear();
                batched.ReplaceFrom(edit->start, edit->text);
            } else {
                EXPECT_EQ(chunks, 0);
            }
            ASSERT_EQ(batched.text, single.text) << "tick " << tick << " autoClear " << autoClear;
            ASSERT_EQ(batchedShown, singleShown);
        }
    }
}

TEST(ReceiveBatch, TakeEmptiesTheBatch)
{
    ReceiveBatch batch;
    std::uint32_t shown = 5;
    batch.Add({"AB", 2}, shown, 100, true);
    const auto edit = batch.Take();
    ASSERT_TRUE(edit);
    EXPECT_FALSE(edit->emptyFirst);
    EXPECT_EQ(edit->start, 5u);
    EXPECT_EQ(edit->text, "AB");
    EXPECT_EQ(shown, 7u);
    EXPECT_FALSE(batch.Take());
}

} // namespace
} // namespace terminal
