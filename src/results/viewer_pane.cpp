#include "results/viewer_pane.h"

#include "matching/mbcs.h"
#include "platform/cp932.h"

namespace {

// The kinds of unit the pane holds for code page 932 text whose lines end in CR LF: a character (one
// UTF-16 unit, code page 932 lying wholly in the BMP), a CR LF (one paragraph break) and the paragraph
// break that ends a part of a long line.
enum class PaneUnit { kCharacter, kLineEnd, kPartBreak };

// Calls visit(b, kind) for each unit the pane gets for `sjis`, in order; `b` the byte where the character
// or CR LF begins, for a part break the byte of the character after it. Both the pane's text and the
// pane positions of the coloured ranges are counted by this one walk, so they agree.
template <class Visit>
void WalkPane(std::string_view sjis, Visit&& visit) {
  int column = 0;
  for (size_t b = 0; b < sjis.size();) {
    const bool crlf = sjis[b] == '\r' && b + 1 < sjis.size() && sjis[b + 1] == '\n';
    if (crlf) {
      visit(b, PaneUnit::kLineEnd);
      b += 2;
      column = 0;
      continue;
    }
    if (column == kLongestParagraph) {
      visit(b, PaneUnit::kPartBreak);
      column = 0;
    }
    visit(b, PaneUnit::kCharacter);
    ++column;
    // The character's bytes as matching::CharLen counts them (a byte without a valid trail byte after
    // it is a character of its own), spelled out inline: this runs for every character of the file.
    b += matching::IsLeadByte(static_cast<unsigned char>(sjis[b])) && b + 1 < sjis.size() &&
                 matching::IsTrailByteValue(static_cast<unsigned char>(sjis[b + 1]))
             ? 2
             : 1;
  }
}

}  // namespace

PaneText MakePaneText(std::string_view sjis, int topLine, bool everyLine) {
  // One unit per character, as the walk counts them (both take a byte without a valid trail byte after
  // it as a character of its own).
  std::u16string units = platform::Utf16FromCp932(sjis);
  PaneText pane;
  if (everyLine) pane.linePositions.push_back(0);
  // Written over the units themselves while no part break has been added (the text only shrinks, a
  // CR LF becoming one unit); the parts of long lines then need a second buffer.
  std::u16string grown;
  std::u16string* out = &units;
  size_t written = 0;
  // `read`: the index of the unit being read; `unread`: that unit is still to be read, so it must not be
  // overwritten.
  auto put = [&](char16_t unit, size_t read, bool unread) {
    if (out == &units && (written > read || (unread && written == read))) {
      grown.assign(units, 0, written);
      out = &grown;
    }
    if (out == &grown) {
      grown.push_back(unit);
    } else {
      units[written] = unit;
    }
    ++written;
  };
  int line = 1;
  int lastLineStart = 0;
  int paragraphLines = 1;     // lines begun in the paragraph being written
  size_t paragraphStart = 0;  // where it begins
  size_t u = 0;               // the unit of the character the walk is at
  WalkPane(sjis, [&](size_t, PaneUnit kind) {
    switch (kind) {
      case PaneUnit::kPartBreak:
        put(u'\n', u, true);
        paragraphLines = 1;
        paragraphStart = written;
        break;
      case PaneUnit::kLineEnd: {
        const bool ends = paragraphLines == kParagraphLines ||
                          written - paragraphStart >= static_cast<size_t>(kParagraphCharacters);
        put(ends ? u'\n' : u'\u2028', u, false);
        u += 2;  // the CR's unit and the LF's
        if (ends) {
          paragraphLines = 1;
          paragraphStart = written;
        } else {
          ++paragraphLines;
        }
        lastLineStart = static_cast<int>(written);
        if (++line == topLine) pane.topPosition = lastLineStart;
        if (everyLine) pane.linePositions.push_back(lastLineStart);
        break;
      }
      case PaneUnit::kCharacter:
        put(units[u], u, false);
        ++u;
        break;
    }
  });
  if (line < topLine) pane.topPosition = lastLineStart;
  if (out == &units) {
    units.resize(written);
    pane.text = std::move(units);
  } else {
    pane.text = std::move(grown);
  }
  return pane;
}

std::vector<int> PanePositions(std::string_view sjis, const std::vector<HighlightRange>& ranges) {
  std::vector<int> positions;
  positions.reserve(2 * ranges.size());
  size_t k = 0;  // the offset asked for next: the begin of range k / 2 when k is even, else its end
  auto offset = [&ranges](size_t i) { return i % 2 == 0 ? ranges[i / 2].begin : ranges[i / 2].end; };
  const size_t count = 2 * ranges.size();
  int written = 0;
  WalkPane(sjis, [&](size_t b, PaneUnit kind) {
    if (kind != PaneUnit::kPartBreak) {
      for (; k < count && offset(k) <= b; ++k) positions.push_back(written);
    }
    ++written;
  });
  for (; k < count; ++k) positions.push_back(written);
  return positions;
}
