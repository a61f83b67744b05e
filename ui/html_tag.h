#pragma once

#include <cstddef>
#include <string_view>

// Reading HTML tags as plain text: where a tag ends, what it is named, where
// an attribute's value stands. Any input is safe, however broken; nothing
// here allocates or recurses.
namespace ui::html {

bool IsSpace(char c);
char Lower(char c);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Where `what` next stands in `text` from `from` on, ignoring case; npos
// when it does not.
std::size_t FindIgnoringCase(std::string_view text, std::string_view what, std::size_t from);

// Whether the tag at `at` ('<') is an opening tag named `name`.
bool IsTag(std::string_view html, std::size_t at, std::string_view name);

// Whether a comment ("<!--") starts at `at`, and one past the "-->" that
// ends it (the end of the text when nothing does).
bool IsComment(std::string_view html, std::size_t at);
std::size_t CommentEnd(std::string_view html, std::size_t at);

// One past the '>' that closes the tag starting at `at` (quoted values may
// hold '>'); the end of the text when nothing closes it.
std::size_t TagEnd(std::string_view html, std::size_t at);

// The name of the tag `tag` ("<td ...>" and "</td>" are both "td"), as
// written; empty for a comment, a declaration or a stray '<'.
std::string_view TagName(std::string_view tag);

// Where an attribute's value stands in a tag, without its quotes.
struct ValuePlace {
    std::size_t begin = std::string_view::npos;
    std::size_t end = std::string_view::npos;

    bool found() const { return begin != std::string_view::npos; }
    // Whether the value stands in quotes (which sit just outside it).
    bool QuotedIn(std::string_view tag) const
    {
        return found() && begin > 0 && (tag[begin - 1] == '"' || tag[begin - 1] == '\'');
    }
};

// The place of attribute `name`'s value (ASCII, compared ignoring case) in
// `tag`; not found when the tag has no such attribute, or has it without a
// value.
ValuePlace FindValue(std::string_view tag, std::string_view name);

} // namespace ui::html
