#include "ui_wx/long_lines.h"

#include <string_view>
#include <vector>

#include <gtk/gtk.h>
#include <wx/textctrl.h>

namespace ui_wx {

namespace {

constexpr const char* kSoftBreak = "\xE2\x80\xA9"; // U+2029, a paragraph end to GTK
constexpr const char* kSoftBreakTag = "vantrel-soft-break";
// How far back from the limit a space is looked for.
constexpr int kWordBreakReach = 256;

GtkTextBuffer* BufferOf(const wxTextCtrl& box)
{
    // A multi-line text control is a scrolled window around its text view.
    auto* widget = static_cast<GtkWidget*>(box.GetHandle());
    if (widget && GTK_IS_SCROLLED_WINDOW(widget))
        widget = gtk_bin_get_child(GTK_BIN(widget));
    return widget && GTK_IS_TEXT_VIEW(widget) ? gtk_text_view_get_buffer(GTK_TEXT_VIEW(widget)) : nullptr;
}

GtkTextTag* SoftBreakTag(GtkTextBuffer* buffer)
{
    return gtk_text_tag_table_lookup(gtk_text_buffer_get_tag_table(buffer), kSoftBreakTag);
}

// Breaks paragraph `line` into pieces no longer than the limit; returns the
// number of soft breaks inserted.
int BreakParagraph(GtkTextBuffer* buffer, GtkTextTag* soft, int line)
{
    int inserted = 0;
    GtkTextIter start;
    gtk_text_buffer_get_iter_at_line(buffer, &start, line);
    // The count includes the paragraph's own end, if it has one.
    while (gtk_text_iter_get_chars_in_line(&start) > kLongestShownParagraph + 1) {
        GtkTextIter cut = start;
        gtk_text_iter_forward_chars(&cut, kLongestShownParagraph);
        GtkTextIter space = cut;
        for (int back = 0; back < kWordBreakReach && gtk_text_iter_backward_char(&space); ++back) {
            if (g_unichar_isspace(gtk_text_iter_get_char(&space))) {
                cut = space;
                gtk_text_iter_forward_char(&cut);
                break;
            }
        }
        // Inserting and tagging leave every iterator stale: go on by offset.
        const int next = gtk_text_iter_get_offset(&cut) + 1;
        gtk_text_buffer_insert_with_tags(buffer, &cut, kSoftBreak, -1, soft, nullptr);
        ++inserted;
        gtk_text_buffer_get_iter_at_offset(buffer, &start, next); // the next piece
    }
    return inserted;
}

bool IsParagraphEnd(std::string_view character)
{
    return character == "\n" || character == "\r" || character == kSoftBreak;
}

bool IsSpace(std::string_view character)
{
    return character == " " || character == "\t";
}

// A long text to insert, cut into the pieces that go between soft breaks;
// `column` characters of its first paragraph stand before it already.
std::vector<std::string> PiecesOf(std::string_view text, int column)
{
    std::vector<std::string> pieces(1);
    int run = column;           // characters of the paragraph so far
    std::size_t afterSpace = 0; // bytes of the piece up to its last space, 0: none
    int runAfterSpace = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        while (i + length < text.size() && (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80)
            ++length;
        const std::string_view character = text.substr(i, length);
        i += length;
        if (IsParagraphEnd(character)) {
            pieces.back() += character;
            run = 0;
            afterSpace = 0;
            continue;
        }
        if (run >= kLongestShownParagraph) {
            std::string& full = pieces.back();
            std::string next;
            if (afterSpace > 0 && run - runAfterSpace < kWordBreakReach) {
                next = full.substr(afterSpace); // the word under way moves on whole
                full.resize(afterSpace);
                run -= runAfterSpace;
            } else {
                run = 0;
            }
            pieces.push_back(std::move(next));
            afterSpace = 0;
        }
        pieces.back() += character;
        ++run;
        if (IsSpace(character)) {
            afterSpace = pieces.back().size();
            runAfterSpace = run;
        }
    }
    return pieces;
}

// Before a long insertion: it goes in already cut into pieces, so GTK never
// holds (and has to split again and again) a paragraph that is too long.
void OnInserting(GtkTextBuffer* buffer, GtkTextIter* location, gchar* text, gint length, gpointer)
{
    GtkTextTag* soft = SoftBreakTag(buffer);
    if (!soft || g_object_get_data(G_OBJECT(buffer), kSoftBreakTag) || length < kLongestShownParagraph)
        return;
    const std::vector<std::string> pieces =
        PiecesOf(std::string_view(text, static_cast<std::size_t>(length)), gtk_text_iter_get_line_offset(location));
    if (pieces.size() < 2)
        return;
    g_signal_stop_emission_by_name(buffer, "insert-text");
    g_object_set_data(G_OBJECT(buffer), kSoftBreakTag, buffer);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            gtk_text_buffer_insert_with_tags(buffer, location, kSoftBreak, -1, soft, nullptr);
        gtk_text_buffer_insert(buffer, location, pieces[i].data(), static_cast<int>(pieces[i].size()));
    }
    // The text that stood behind the insertion joins the last piece.
    const int end = gtk_text_iter_get_offset(location);
    const int added = BreakParagraph(buffer, soft, gtk_text_iter_get_line(location));
    g_object_set_data(G_OBJECT(buffer), kSoftBreakTag, nullptr);
    gtk_text_buffer_get_iter_at_offset(buffer, location, end + added);
}

// After every other insertion (typing, short pastes): the paragraphs it
// touched are broken where too long, before the view lays anything out.
void OnInserted(GtkTextBuffer* buffer, GtkTextIter* location, gchar* text, gint length, gpointer)
{
    GtkTextTag* soft = SoftBreakTag(buffer);
    if (!soft || g_object_get_data(G_OBJECT(buffer), kSoftBreakTag))
        return; // one of its own soft breaks
    const int end = gtk_text_iter_get_offset(location);
    const auto count = static_cast<int>(g_utf8_strlen(text, length));
    GtkTextIter start;
    gtk_text_buffer_get_iter_at_offset(buffer, &start, end - count);
    int line = gtk_text_iter_get_line(&start);
    int last = gtk_text_iter_get_line(location);
    int added = 0;
    g_object_set_data(G_OBJECT(buffer), kSoftBreakTag, buffer);
    while (line <= last) {
        const int breaks = BreakParagraph(buffer, soft, line);
        added += breaks;
        last += breaks;
        line += breaks + 1;
    }
    g_object_set_data(G_OBJECT(buffer), kSoftBreakTag, nullptr);
    // Handlers after this one expect the end of the inserted text.
    gtk_text_buffer_get_iter_at_offset(buffer, location, end + added);
}

} // namespace

void KeepParagraphsShort(wxTextCtrl& box)
{
    GtkTextBuffer* buffer = BufferOf(box);
    if (!buffer || SoftBreakTag(buffer))
        return;
    gtk_text_buffer_create_tag(buffer, kSoftBreakTag, nullptr);
    g_signal_connect(buffer, "insert-text", G_CALLBACK(OnInserting), nullptr);
    g_signal_connect_after(buffer, "insert-text", G_CALLBACK(OnInserted), nullptr);
}

std::optional<std::string> TextWithoutSoftBreaks(const wxTextCtrl& box)
{
    GtkTextBuffer* buffer = BufferOf(box);
    GtkTextTag* soft = buffer ? SoftBreakTag(buffer) : nullptr;
    if (!soft)
        return std::nullopt;
    GtkTextIter from;
    GtkTextIter end;
    gtk_text_buffer_get_bounds(buffer, &from, &end);
    GtkTextIter at = from;
    if (!gtk_text_iter_starts_tag(&at, soft) && !gtk_text_iter_forward_to_tag_toggle(&at, soft))
        return std::nullopt;
    std::string text;
    auto append = [&text](const GtkTextIter& a, const GtkTextIter& b) {
        gchar* piece = gtk_text_iter_get_text(&a, &b);
        text += piece;
        g_free(piece);
    };
    // `at` stands at the start of soft breaks: copy up to them, skip them.
    for (;;) {
        append(from, at);
        from = at;
        gtk_text_iter_forward_to_tag_toggle(&from, soft); // their end
        at = from;
        if (!gtk_text_iter_forward_to_tag_toggle(&at, soft))
            break;
    }
    append(from, end);
    return text;
}

} // namespace ui_wx
