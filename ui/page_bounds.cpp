#include "ui/page_bounds.h"

#include "ui/html_tag.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <vector>

namespace ui {

namespace {

using html::EqualsIgnoringCase;

// The range a number may take in one attribute; an empty tag name stands
// for every tag. A percentage ("50%") is held to 0-100% where allowed.
struct NumberRange {
    std::string_view tag;
    std::string_view attribute;
    long smallest;
    long largest;
    bool percentAllowed;
};

constexpr std::array kNumberRanges = {
    NumberRange{"", "colspan", 1, 100, false},
    NumberRange{"", "rowspan", 1, 100, false},
    NumberRange{"", "width", 0, 2048, true},
    NumberRange{"", "height", 0, 2048, true},
    NumberRange{"", "border", 0, 100, false},
    NumberRange{"table", "cellpadding", 0, 100, false},
    NumberRange{"table", "cellspacing", 0, 100, false},
    NumberRange{"img", "hspace", 0, 100, false},
    NumberRange{"img", "vspace", 0, 100, false},
    NumberRange{"body", "marginwidth", 0, 100, false},
    NumberRange{"body", "marginheight", 0, 100, false},
    NumberRange{"font", "size", -7, 7, false},
    NumberRange{"hr", "size", 0, 100, false},
};

// Elements that never hold content, so never deepen the page.
constexpr std::array<std::string_view, 16> kEmptyElements = {
    "area", "base",  "basefont", "br",   "col",  "embed", "frame",  "hr",
    "img",  "input", "isindex",  "link", "meta", "param", "source", "wbr",
};

// Elements an opening tag closes, in turn, while one is the innermost open
// element: <p><p>, <li><li>, <td><td>, <tr><td>...<tr>, and a block such
// as <div> or <table> closes a paragraph.
struct ImpliedEnd {
    std::string_view opening;
    std::array<std::string_view, 3> closes; // innermost first
};

constexpr std::array kImpliedEnds = {
    ImpliedEnd{"p", {"p"}},
    ImpliedEnd{"li", {"p", "li"}},
    ImpliedEnd{"dt", {"p", "dt", "dd"}},
    ImpliedEnd{"dd", {"p", "dt", "dd"}},
    ImpliedEnd{"option", {"option"}},
    ImpliedEnd{"td", {"p", "td", "th"}},
    ImpliedEnd{"th", {"p", "td", "th"}},
    ImpliedEnd{"tr", {"td", "th", "tr"}},
    ImpliedEnd{"div", {"p"}},
    ImpliedEnd{"table", {"p"}},
    ImpliedEnd{"ul", {"p"}},
    ImpliedEnd{"ol", {"p"}},
    ImpliedEnd{"dl", {"p"}},
    ImpliedEnd{"blockquote", {"p"}},
    ImpliedEnd{"pre", {"p"}},
    ImpliedEnd{"center", {"p"}},
    ImpliedEnd{"h1", {"p"}},
    ImpliedEnd{"h2", {"p"}},
    ImpliedEnd{"h3", {"p"}},
    ImpliedEnd{"h4", {"p"}},
    ImpliedEnd{"h5", {"p"}},
    ImpliedEnd{"h6", {"p"}},
};

std::string Lowered(std::string_view text)
{
    std::string out(text);
    std::ranges::transform(out, out.begin(), html::Lower);
    return out;
}

bool IsEmptyElement(std::string_view name)
{
    return std::ranges::find(kEmptyElements, name) != kEmptyElements.end();
}

// An attribute's number: its sign, digits (saturated far beyond any range)
// and whether a '%' follows them. Nothing when the value has no digits.
struct ReadNumber {
    long value = 0;
    bool explicitPlus = false;
    bool percent = false;
};

std::optional<ReadNumber> ParseNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && html::IsSpace(text[i]))
        ++i;
    ReadNumber number;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        number.explicitPlus = text[i] == '+';
        ++i;
    }
    const std::size_t digits = i;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        number.value = std::min(number.value * 10 + (text[i] - '0'), 1'000'000'000L);
    if (i == digits)
        return std::nullopt;
    number.percent = i < text.size() && text[i] == '%';
    if (negative)
        number.value = -number.value;
    return number;
}

// The tag with every number of kNumberRanges held to its range; the tag
// itself when all are in range.
std::string WithNumbersInRange(std::string_view tag, std::string_view name)
{
    std::string out(tag);
    for (const NumberRange& range : kNumberRanges) {
        if (!range.tag.empty() && range.tag != name)
            continue;
        const html::ValuePlace place = html::FindValue(out, range.attribute);
        if (!place.found())
            continue;
        const auto number = ParseNumber(std::string_view(out).substr(place.begin, place.end - place.begin));
        if (!number)
            continue;
        const bool percent = number->percent && range.percentAllowed;
        const long largest = percent ? 100 : range.largest;
        const long held = std::clamp(number->value, range.smallest, largest);
        if (held == number->value && (percent || !number->percent))
            continue;
        std::string value =
            (number->explicitPlus && held >= 0 ? "+" : "") + std::to_string(held) + (percent ? "%" : "");
        if (!place.QuotedIn(out))
            value = "\"" + value + "\"";
        out.replace(place.begin, place.end - place.begin, value);
    }
    return out;
}

// The text with each character reference to no character ("&#0;",
// "&#xD800;", "&#x110000;") replaced by one to U+FFFD.
std::string WithCharacterReferencesToCharacters(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t kept = 0; // text before this is in `out`
    for (std::size_t at = text.find("&#"); at != std::string_view::npos; at = text.find("&#", at + 2)) {
        std::size_t i = at + 2;
        const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
        if (hex)
            ++i;
        const std::size_t digits = i;
        std::uint32_t value = 0;
        for (; i < text.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            const int digit = std::isdigit(c) ? c - '0' : (hex && std::isxdigit(c)) ? std::tolower(c) - 'a' + 10 : -1;
            if (digit < 0)
                break;
            value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit), 0x7FFFFFFF);
        }
        if (i == digits || (value != 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF)))
            continue; // not a number, or a character: kept as written
        if (i < text.size() && text[i] == ';')
            ++i;
        out.append(text.substr(kept, at - kept));
        out += "&#xFFFD;";
        kept = i;
    }
    out.append(text.substr(kept));
    return out;
}

// The elements open at a point of the page, innermost last.
class OpenElements {
public:
    explicit OpenElements(std::size_t limit) : m_limit(limit) {}

    // False when the page grows deeper than the limit.
    bool Open(const std::string& name)
    {
        for (const ImpliedEnd& implied : kImpliedEnds) {
            if (implied.opening != name)
                continue;
            for (const std::string_view closed : implied.closes)
                if (!closed.empty() && !m_names.empty() && m_names.back() == closed)
                    m_names.pop_back();
        }
        m_names.push_back(name);
        return m_names.size() <= m_limit;
    }

    // Closes the innermost open element of that name and all inside it; a
    // closing tag with nothing to close is ignored.
    void Close(const std::string& name)
    {
        const auto found = std::find(m_names.rbegin(), m_names.rend(), name);
        if (found != m_names.rend())
            m_names.erase(std::next(found).base(), m_names.end());
    }

private:
    std::size_t m_limit;
    std::vector<std::string> m_names;
};

} // namespace

std::optional<std::string> BoundedPage(std::string_view page, const PageLimits& limits)
{
    std::string out;
    out.reserve(page.size());
    OpenElements open(limits.depth);
    std::size_t elements = 0, links = 0, pictures = 0;
    std::size_t from = 0;
    for (std::size_t at = page.find('<'); at != std::string_view::npos; at = page.find('<', from)) {
        out.append(page.substr(from, at - from));
        if (html::IsComment(page, at)) {
            from = html::CommentEnd(page, at);
            out.append(page.substr(at, from - at));
            continue;
        }
        const std::string_view written = html::TagName(page.substr(at, std::min<std::size_t>(page.size() - at, 64)));
        if (written.empty()) { // a declaration, or a '<' that opens no tag
            from = at + 1;
            out += '<';
            continue;
        }
        from = html::TagEnd(page, at);
        const std::string_view tag = page.substr(at, from - at);
        const std::string name = Lowered(written);
        if (tag[1] == '/') {
            open.Close(name);
            out.append(tag);
            continue;
        }
        if (++elements > limits.elements)
            return std::nullopt;
        if (name == "a" && html::FindValue(tag, "href").found() && ++links > limits.links)
            return std::nullopt;
        if (name == "img" && ++pictures > limits.pictures)
            return std::nullopt;
        if (!IsEmptyElement(name) && !open.Open(name))
            return std::nullopt;
        out += WithNumbersInRange(tag, name);
    }
    out.append(page.substr(std::min(from, page.size())));
    return WithCharacterReferencesToCharacters(out);
}

} // namespace ui
