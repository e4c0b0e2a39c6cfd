// The painter on memory surfaces: glyph colours and their corrections, the
// colour and mark rules of text lines, the cursor highlight, row shifts, whole
// panes and the input-method composition, all checked in the pixels.
#include <gtest/gtest.h>

#include "display/painter.h"
#include "display/painter_display.h"
#include "display_fixture.h"

namespace vintorel {
namespace {

using test::display_fixture;
using test::fill_document;
using test::rgb;

TEST(ForegroundCorrection, EveryCase) {
  const colour black = rgb(0, 0, 0);
  // Equal colours: 64..191 move by 128, the rest are mirrored.
  EXPECT_EQ(corrected_foreground(rgb(100, 100, 100), rgb(100, 100, 100), black), rgb(228, 228, 228));
  EXPECT_EQ(corrected_foreground(rgb(200, 10, 64), rgb(200, 10, 64), black), rgb(55, 245, 192));
  EXPECT_EQ(corrected_foreground(rgb(191, 63, 128), rgb(191, 63, 128), black), rgb(63, 192, 0));
  // 255 on 255 becomes 0:0:0, which is "back normal" and so ends as 16:16:16.
  EXPECT_EQ(corrected_foreground(rgb(255, 255, 255), rgb(255, 255, 255), black), rgb(16, 16, 16));
  // A foreground equal to "back normal" (the status line's text): ±16.
  EXPECT_EQ(corrected_foreground(black, rgb(255, 255, 255), black), rgb(16, 16, 16));
  EXPECT_EQ(corrected_foreground(rgb(200, 127, 128), rgb(1, 1, 1), rgb(200, 127, 128)), rgb(184, 143, 112));
  // Both steps: equal colours whose correction lands on "back normal".
  EXPECT_EQ(corrected_foreground(rgb(100, 100, 100), rgb(100, 100, 100), rgb(228, 228, 228)), rgb(212, 212, 212));
  // Nothing to correct.
  EXPECT_EQ(corrected_foreground(rgb(1, 2, 3), rgb(4, 5, 6), black), rgb(1, 2, 3));
}

TEST(DrawGlyph, CorrectionsShowInThePixels) {
  display_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.display.colours;
  // Plain copy of the sheet: "text normal" on "back normal".
  draw_glyph(f.display, 1, 0, 'A', p[text_normal], p[back_normal]);
  EXPECT_EQ(f.half_code_at(1, 0, p[text_normal]), unsigned('A'));
  EXPECT_TRUE(f.cell_background_is(1, 0, p[back_normal]));
  // Keyed path: another foreground on another background.
  draw_glyph(f.display, 1, 1, 'B', p[text_search], p[back_select]);
  EXPECT_EQ(f.half_code_at(1, 1, p[text_search]), unsigned('B'));
  EXPECT_TRUE(f.cell_background_is(1, 1, p[back_select]));
  // fg = bg = 100:100:100 draws in 228:228:228.
  draw_glyph(f.display, 1, 2, 'C', rgb(100, 100, 100), rgb(100, 100, 100));
  EXPECT_EQ(f.half_code_at(1, 2, rgb(228, 228, 228)), unsigned('C'));
  EXPECT_TRUE(f.cell_background_is(1, 2, rgb(100, 100, 100)));
  // 255:255:255 on itself: 16:16:16 on white.
  draw_glyph(f.display, 1, 3, 'D', rgb(255, 255, 255), rgb(255, 255, 255));
  EXPECT_EQ(f.half_code_at(1, 3, rgb(16, 16, 16)), unsigned('D'));
  EXPECT_TRUE(f.cell_background_is(1, 3, rgb(255, 255, 255)));
  // "back normal" as foreground on "back normal": still visible.
  draw_glyph(f.display, 1, 4, 'E', p[back_normal], p[back_normal]);
  EXPECT_EQ(f.half_code_at(1, 4, rgb(255, 255, 255)), unsigned('E'));  // 0 mirrored to 255
  // The text image holds the same as the screen image.
  EXPECT_EQ(f.text().pixel_at(1 * 8, 20), f.value(p[text_search]));
}

TEST(DrawGlyph, FullWidthGlyphsAndCodesWithoutOne) {
  display_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.display.colours;
  for (unsigned code : {0x82A0u, 0x889Fu, 0xE040u, 0xEAA4u, 0xFA40u}) {
    draw_glyph(f.display, 2, 10, code, p[text_keyword], p[back_normal]);
    EXPECT_EQ(f.full_code_at(2, 10, p[text_keyword]), code) << std::hex << code;
  }
  // 0xF040 lies in no block of the test font: an empty cell. 0xF03F has no
  // place in the sheets at all: the same, with no read outside them.
  for (unsigned code : {0xF040u, 0xF03Fu, 0xFD40u}) {
    draw_glyph(f.display, 2, 10, code, p[text_keyword], p[back_select]);
    EXPECT_TRUE(f.cell_background_is(2, 10, p[back_select], 2));
    EXPECT_EQ(f.cell_pixel(2, 10, 0, 1), f.value(p[back_select]));
  }
}

TEST(FillCells, CoversRowsAndTheGapsBetweenThemButNotTheGapsOutside) {
  display_fixture f;
  ASSERT_TRUE(f.loaded);
  const colour red = rgb(255, 0, 0);
  fill_cells(f.display, 2, 1, 2, 3, red);
  // Rows 2 and 3 with the 3-pixel gap between them: y = 38..53 + 3 + 16.
  EXPECT_EQ(f.screen().pixel_at(8, 38), f.value(red));
  EXPECT_EQ(f.screen().pixel_at(8, 38 + 16), f.value(red));  // the gap
  EXPECT_EQ(f.screen().pixel_at(31, 38 + 34), f.value(red));
  EXPECT_NE(f.screen().pixel_at(8, 37), f.value(red));
  EXPECT_NE(f.screen().pixel_at(8, 38 + 35), f.value(red));
  EXPECT_NE(f.screen().pixel_at(32, 38), f.value(red));
  // The invalid area covers the block.
  pixel_rect r = f.display.invalid;
  EXPECT_LE(r.x, 8);
  EXPECT_GE(r.x + r.width, 32);
}

struct pane_fixture : display_fixture {
  text_document doc;
  pane_view pane;
  byte_string search;
  pane_fixture() {
    pane = pane_of(display, 0);
    display.search_string = &search;
  }
  void show(const std::vector<byte_string>& lines) {
    fill_document(doc, lines);
  }
  void paint(std::int32_t line = 0) { paint_line(display, pane, doc, line); }
  const palette& colours() const { return display.colours; }
  // Text row of line 0.
  int row() const { return pane.first_row; }
};

TEST(PaintLine, ControlCharactersShowTheirLetterInTextSpecial) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  f.show({byte_string("a\x01\x1B", 3) + byte_string(1, '\0') + "\x1F" + "\r\n", "\x1A"});
  f.paint();
  const palette& p = f.colours();
  EXPECT_EQ(f.half_code_at(f.row(), 0, p[text_normal]), unsigned('a'));
  EXPECT_EQ(f.half_code_at(f.row(), 1, p[text_special]), 0x41u);
  EXPECT_EQ(f.half_code_at(f.row(), 2, p[text_special]), 0x5Bu);
  EXPECT_EQ(f.half_code_at(f.row(), 3, p[text_special]), 0x40u);
  EXPECT_EQ(f.half_code_at(f.row(), 4, p[text_special]), 0x5Fu);
  // The CR takes no cell: the line feed mark follows at once.
  EXPECT_EQ(f.half_code_at(f.row(), 5, p[text_special]), 7u);
  EXPECT_TRUE(f.cell_background_is(f.row(), 6, p[back_normal]));
}

TEST(PaintLine, MarksFollowTheirSwitches) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.colours();
  f.show({"\tx\r\n", "a\x81\x40\x1A"});
  f.display.switches.view_tab = true;
  f.paint(0);
  f.paint(1);
  EXPECT_EQ(f.half_code_at(f.row(), 0, p[text_special]), 30u);
  EXPECT_EQ(f.half_code_at(f.row(), 8, p[text_normal]), unsigned('x'));
  EXPECT_EQ(f.half_code_at(f.row(), 9, p[text_special]), 7u);
  EXPECT_EQ(f.full_code_at(f.row() + 1, 1, p[text_special]), 0x81A0u);  // the full-width space
  EXPECT_EQ(f.half_code_at(f.row() + 1, 3, p[text_special]), 31u);

  // Switched off, the three bytes are spaces in the current foreground: only a
  // selection background shows them.
  f.display.switches = display_switches{};
  f.display.switches.view_linefeed = f.display.switches.view_eof = f.display.switches.view_mb_space = false;
  f.doc.block_state = 1;
  f.doc.anchor_line = 0;
  f.doc.current_line = 2;
  f.paint(0);
  f.paint(1);
  EXPECT_EQ(f.half_code_at(f.row(), 0, p[text_normal]), 0x20u);
  EXPECT_TRUE(f.cell_background_is(f.row(), 0, p[back_select]));
  EXPECT_EQ(f.half_code_at(f.row(), 9, p[text_normal]), 0x20u);
  EXPECT_EQ(f.full_code_at(f.row() + 1, 1, p[text_normal]), 0x8140u);
  EXPECT_EQ(f.half_code_at(f.row() + 1, 3, p[text_normal]), 0x20u);
}

TEST(PaintLine, TabsInsideASelectionFillUpToTheTabStop) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.colours();
  f.show({"ab\tc\td\r\n", "\x1A"});
  // A character block from offset 2 (the first tab) to offset 4 (the second).
  f.doc.block_state = 2;
  f.doc.anchor_line = 0;
  f.doc.anchor_position = 2;
  f.doc.current_line = 0;
  f.doc.position = 4;
  f.paint();
  for (int c = 2; c < 8; ++c) EXPECT_TRUE(f.cell_background_is(f.row(), c, p[back_select])) << c;
  EXPECT_EQ(f.half_code_at(f.row(), 8, p[text_normal]), unsigned('c'));
  EXPECT_TRUE(f.cell_background_is(f.row(), 8, p[back_select]));
  // The second tab lies outside: its skipped cells keep the row background.
  for (int c = 9; c < 16; ++c) EXPECT_TRUE(f.cell_background_is(f.row(), c, p[back_normal])) << c;
  EXPECT_EQ(f.half_code_at(f.row(), 16, p[text_normal]), unsigned('d'));
  EXPECT_TRUE(f.cell_background_is(f.row(), 1, p[back_normal]));

  // Cursor before the anchor: the same span.
  f.doc.block_backward = true;
  f.doc.anchor_position = 4;
  f.doc.position = 2;
  f.paint();
  EXPECT_TRUE(f.cell_background_is(f.row(), 5, p[back_select]));
  EXPECT_TRUE(f.cell_background_is(f.row(), 9, p[back_normal]));

  // A tab scrolled partly off the left fills only its visible cells.
  f.doc.block_backward = false;
  f.doc.anchor_position = 0;
  f.doc.position = 6;
  f.doc.left_column = 4;
  f.paint();
  for (int c = 0; c < 4; ++c) EXPECT_TRUE(f.cell_background_is(f.row(), c, p[back_select])) << c;
  EXPECT_EQ(f.half_code_at(f.row(), 4, p[text_normal]), unsigned('c'));
}

TEST(PaintLine, BlocksAcrossLines) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.colours();
  f.show({"aaaa\r\n", "bbbb\r\n", "cccc\r\n", "\x1A"});
  f.doc.block_state = 2;
  f.doc.anchor_line = 0;
  f.doc.anchor_position = 2;
  f.doc.current_line = 2;
  f.doc.position = 1;
  for (int l = 0; l < 3; ++l) f.paint(l);
  EXPECT_TRUE(f.cell_background_is(f.row(), 1, p[back_normal]));
  EXPECT_TRUE(f.cell_background_is(f.row(), 2, p[back_select]));
  EXPECT_TRUE(f.cell_background_is(f.row(), 4, p[back_select]));   // the line end is in the block
  EXPECT_TRUE(f.cell_background_is(f.row(), 5, p[back_normal]));   // past it, the row's background
  EXPECT_TRUE(f.cell_background_is(f.row() + 1, 0, p[back_select]));
  EXPECT_TRUE(f.cell_background_is(f.row() + 1, 4, p[back_select]));
  EXPECT_TRUE(f.cell_background_is(f.row() + 1, 10, p[back_normal]));
  EXPECT_TRUE(f.cell_background_is(f.row() + 2, 0, p[back_select]));
  EXPECT_TRUE(f.cell_background_is(f.row() + 2, 1, p[back_normal]));
  // Whole-line blocks colour the full row, the cursor's line excluded.
  f.doc.block_state = 1;
  for (int l = 0; l < 3; ++l) f.paint(l);
  EXPECT_TRUE(f.cell_background_is(f.row(), 79, p[back_select]));
  EXPECT_TRUE(f.cell_background_is(f.row() + 1, 79, p[back_select]));
  EXPECT_TRUE(f.cell_background_is(f.row() + 2, 0, p[back_normal]));
}

TEST(PaintLine, FullWidthCharactersAreNeverSplit) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.colours();
  // 79 letters, then a full-width character whose first cell would be the last column.
  f.show({byte_string(79, 'a') + "\x82\xA0" + "b\r\n", "\x82\xA0" + byte_string("bc\r\n"), "\x1A"});
  f.paint(0);
  EXPECT_EQ(f.half_code_at(f.row(), 78, p[text_normal]), unsigned('a'));
  EXPECT_TRUE(f.cell_background_is(f.row(), 79, p[back_normal]));
  EXPECT_EQ(f.cell_pixel(f.row(), 79, 0, 1), f.value(p[back_normal]));
  // Scrolled one column: the character's first cell is off the left edge, so
  // nothing of it is drawn.
  f.doc.left_column = 1;
  f.paint(1);
  EXPECT_TRUE(f.cell_background_is(f.row() + 1, 0, p[back_normal]));
  EXPECT_EQ(f.cell_pixel(f.row() + 1, 0, 0, 1), f.value(p[back_normal]));
  EXPECT_EQ(f.half_code_at(f.row() + 1, 1, p[text_normal]), unsigned('b'));
  // In a narrower pane the same rule holds at its own edge.
  f.pane.columns = 5;
  f.doc.left_column = 0;
  f.show({"abcd\x82\xA0\r\n", "\x1A"});
  f.paint(0);
  EXPECT_EQ(f.half_code_at(f.row(), 3, p[text_normal]), unsigned('d'));
  EXPECT_TRUE(f.cell_background_is(f.row(), 4, p[back_normal]));
}

TEST(PaintLine, SearchHitsAndKeywords) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.colours();
  f.display.pane_styles[0].keywords = byte_string("int\0if\0\0", 8);
  f.search = "ab";
  f.show({"ab xab abc int print if(x)\r\n", "\x1A"});
  f.paint();
  const int r = f.row();
  EXPECT_EQ(f.half_code_at(r, 0, p[text_search]), unsigned('a'));
  EXPECT_EQ(f.half_code_at(r, 1, p[text_search]), unsigned('b'));
  // Word search: no hit inside "xab" nor at the start of "abc".
  EXPECT_EQ(f.half_code_at(r, 4, p[text_normal]), unsigned('a'));
  EXPECT_EQ(f.half_code_at(r, 7, p[text_normal]), unsigned('a'));
  // Keywords: "int" as a word, not inside "print"; "if" before a parenthesis.
  EXPECT_EQ(f.half_code_at(r, 11, p[text_keyword]), unsigned('i'));
  EXPECT_EQ(f.half_code_at(r, 13, p[text_keyword]), unsigned('t'));
  EXPECT_EQ(f.half_code_at(r, 17, p[text_normal]), unsigned('i'));
  EXPECT_EQ(f.half_code_at(r, 21, p[text_keyword]), unsigned('i'));
  EXPECT_EQ(f.half_code_at(r, 22, p[text_keyword]), unsigned('f'));
  EXPECT_EQ(f.half_code_at(r, 23, p[text_normal]), unsigned('('));

  // Without word search every occurrence is a hit; ignoring case too.
  f.display.switches.word_search = false;
  f.display.switches.ignore_case = true;
  f.search = "AB";
  f.paint();
  EXPECT_EQ(f.half_code_at(r, 4, p[text_search]), unsigned('a'));
  EXPECT_EQ(f.half_code_at(r, 7, p[text_search]), unsigned('a'));
  EXPECT_EQ(f.half_code_at(r, 9, p[text_normal]), unsigned('c'));
}

TEST(PaintLine, WordStarsAndDoubleByteNeighbours) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.colours();
  f.search = "int*";  // any end
  f.show({"integer print \x82\xA0int\r\n", "\x1A"});
  f.paint();
  const int r = f.row();
  EXPECT_EQ(f.half_code_at(r, 0, p[text_search]), unsigned('i'));
  EXPECT_EQ(f.half_code_at(r, 3, p[text_normal]), unsigned('e'));
  EXPECT_EQ(f.half_code_at(r, 10, p[text_normal]), unsigned('i'));  // inside "print"
  // After a double-byte character a word may start.
  EXPECT_EQ(f.half_code_at(r, 16, p[text_search]), unsigned('i'));
  f.search = "*int";  // any start
  f.paint();
  EXPECT_EQ(f.half_code_at(r, 0, p[text_normal]), unsigned('i'));   // "integer" ends elsewhere
  EXPECT_EQ(f.half_code_at(r, 10, p[text_search]), unsigned('i'));  // "print"
}

TEST(PaintLine, LinesOutsideThePaneOrUnreadablePaintNothing) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  f.show({"a\r\n", "\x1A"});
  f.display.invalid = pixel_rect{};
  f.paint(5);        // no such line
  f.paint(-1);       // above the pane
  f.doc.top_line = 1;
  f.paint(0);
  EXPECT_TRUE(f.display.invalid.empty());
}

TEST(PaintLine, TheCurrentLineBufferIsPaintedForTheCursorLine) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  f.show({"abc\r\n", "\x1A"});
  ASSERT_TRUE(f.doc.load_current_line(8));
  f.doc.current->text = "xyz\r\n";
  f.doc.current->length = 5;
  f.paint(0);
  EXPECT_EQ(f.half_code_at(f.row(), 0, f.colours()[text_normal]), unsigned('x'));
}

TEST(Cursor, StripsHighlightAndEraseRestores) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.colours();
  f.show({"abc\r\n", "def\r\n", "\x1A"});
  repaint_pane(f.display, f.pane, f.doc);
  cursor_strips s = cursor_strips_of(f.display.metrics, 1, 0, 19, 80, 2, 1);
  EXPECT_EQ(s.line.y, 38);
  EXPECT_EQ(s.line.width, 640);
  EXPECT_EQ(s.column.y, 16);  // the gap above the first text row
  EXPECT_EQ(s.column.height, 19 * 19 + 3);
  EXPECT_EQ(s.cell.x, 8);

  draw_cursor(f.display, 1, 0, 19, 80, 2, 1);
  // The cursor cell shows "back cursor" behind the glyph "e".
  EXPECT_EQ(f.cell_pixel(2, 1, 0, 5), f.value(p[back_cursor]));
  EXPECT_EQ(f.half_code_at(2, 1, p[text_normal]), unsigned('e'));
  // The line and column strips, the gaps included.
  EXPECT_EQ(f.cell_pixel(2, 40, 0, 5), f.value(p[back_cursorline]));
  EXPECT_EQ(f.cell_pixel(10, 1, 0, 5), f.value(p[back_cursorline]));
  EXPECT_EQ(f.screen().pixel_at(8, 17), f.value(p[back_cursorline]));
  EXPECT_EQ(f.half_code_at(1, 1, p[text_normal]), unsigned('b'));
  // Outside the strips nothing changed.
  EXPECT_EQ(f.cell_pixel(3, 2, 0, 5), f.value(p[back_normal]));

  erase_cursor(f.display, 1, 0, 19, 80, 2, 1);
  EXPECT_EQ(f.cell_pixel(2, 1, 0, 5), f.value(p[back_normal]));
  EXPECT_EQ(f.cell_pixel(10, 1, 0, 5), f.value(p[back_normal]));
  EXPECT_EQ(f.half_code_at(2, 1, p[text_normal]), unsigned('e'));
}

TEST(ShiftRows, MovesCellsOneRowInAllImages) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.colours();
  f.show({"a\r\n", "b\r\n", "c\r\n", "\x1A"});
  for (int l = 0; l < 3; ++l) f.paint(l);
  painter_display requests(f.display);
  requests.shift_rows(f.pane, true);  // rows 2.. move up to start at row 1
  EXPECT_EQ(f.half_code_at(1, 0, p[text_normal]), unsigned('b'));
  EXPECT_EQ(f.half_code_at(2, 0, p[text_normal]), unsigned('c'));
  EXPECT_EQ(f.text().pixel_at(0, 19 * 1 + 1), f.value(p[text_normal]));
  requests.shift_rows(f.pane, false);  // rows 1.. move down to start at row 2
  EXPECT_EQ(f.half_code_at(2, 0, p[text_normal]), unsigned('b'));
  EXPECT_EQ(f.half_code_at(1, 0, p[text_normal]), unsigned('b'));  // the old row stays until painted
}

TEST(RepaintPane, ClearsRowsPastTheEndAndDrawsTheStatusLine) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.colours();
  fill_cells(f.display, 0, 0, 21, 80, rgb(9, 9, 9));
  f.show({"one\r\n", "\x1A"});
  repaint_pane(f.display, f.pane, f.doc);
  EXPECT_EQ(f.half_code_at(1, 0, p[text_normal]), unsigned('o'));
  EXPECT_EQ(f.half_code_at(2, 0, p[text_special]), 31u);
  EXPECT_TRUE(f.cell_background_is(3, 0, p[back_normal]));
  EXPECT_TRUE(f.cell_background_is(19, 79, p[back_normal]));
  EXPECT_TRUE(f.cell_background_is(0, 79, p[bar_normal]));
  EXPECT_TRUE(f.cell_background_is(20, 0, rgb(9, 9, 9)));  // the bottom line is not the pane's
}

TEST(Composition, AttributesCursorAndWrapping) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.colours();
  // "ab" + hiragana A + "c" with the target clause on "b" and the cursor on "c".
  const std::string text = "ab\x82\xA0" "c";
  const std::string attributes = std::string("\x00\x01\x00\x00\x00", 5);
  draw_composition(f.display, f.pane, 3, 10, text, attributes, 4);
  EXPECT_EQ(f.half_code_at(3, 10, p[text_special]), unsigned('a'));
  EXPECT_TRUE(f.cell_background_is(3, 10, p[back_cursorline]));
  EXPECT_TRUE(f.cell_background_is(3, 11, p[back_select]));
  EXPECT_EQ(f.full_code_at(3, 12, p[text_special]), 0x82A0u);
  EXPECT_TRUE(f.cell_background_is(3, 14, p[back_cursor]));
  // A full-width character that would start in the last column continues at
  // the pane's first column on the same row, and so does any character past it.
  draw_composition(f.display, f.pane, 5, 78, "x\x82\xA0y", std::string(), -1);
  EXPECT_EQ(f.half_code_at(5, 78, p[text_special]), unsigned('x'));
  EXPECT_EQ(f.full_code_at(5, 0, p[text_special]), 0x82A0u);
  EXPECT_EQ(f.half_code_at(5, 2, p[text_special]), unsigned('y'));
  EXPECT_TRUE(f.cell_background_is(5, 79, p[back_normal]));
}

TEST(PaneLayout, TheThreeLayouts) {
  pane_layout l;
  set_pane_layout(l, 21, 80, false, false);
  EXPECT_EQ(l.pane_rows, 19);
  EXPECT_EQ(l.pane_columns, 80);
  EXPECT_EQ(l.pane_first_row[0], 1);
  set_pane_layout(l, 21, 80, true, false);
  EXPECT_EQ(l.pane_rows, 9);
  EXPECT_EQ(l.pane_first_row[0], 1);
  EXPECT_EQ(l.pane_first_row[1], 11);
  EXPECT_EQ(l.pane_first_column[1], 0);
  set_pane_layout(l, 21, 80, true, true);
  EXPECT_EQ(l.pane_rows, 18);
  EXPECT_EQ(l.pane_columns, 39);
  EXPECT_EQ(l.pane_first_row[1], 2);
  EXPECT_EQ(l.pane_first_column[1], 41);
  l.current_pane = 1;
  set_pane_layout(l, 21, 80, false, false);
  EXPECT_EQ(l.current_pane, 0);
}

TEST(PaneLayout, TheGapBetweenSideBySidePanesTakesTheButtonFace) {
  display_fixture f;
  ASSERT_TRUE(f.loaded);
  fill_pane_gap(f.display);  // single layout: nothing
  EXPECT_TRUE(f.cell_background_is(5, 39, f.display.colours[back_normal]));
  set_pane_layout(f.display.layout, f.display.lines, f.display.columns, true, true);
  take_invalid(f.display);
  fill_pane_gap(f.display);
  for (int row : {0, 10, 20}) {
    EXPECT_TRUE(f.cell_background_is(row, 39, f.display.button_face));
    EXPECT_TRUE(f.cell_background_is(row, 40, f.display.button_face));
    EXPECT_FALSE(f.cell_background_is(row, 41, f.display.button_face));
    EXPECT_FALSE(f.cell_background_is(row, 38, f.display.button_face));
  }
  pixel_rect changed = take_invalid(f.display);
  EXPECT_EQ(changed.x, 39 * 8);
  EXPECT_EQ(changed.width, 16);
  EXPECT_TRUE(take_invalid(f.display).empty());
}

TEST(DrawString, WrapsInsideItsBand) {
  display_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.display.colours;
  draw_string(f.display, 4, 10, 3, "ab\x82\xA0" "cdef", p[text_normal], p[back_normal]);
  EXPECT_EQ(f.half_code_at(4, 10, p[text_normal]), unsigned('a'));
  EXPECT_EQ(f.half_code_at(4, 11, p[text_normal]), unsigned('b'));
  // The full-width character would start in the band's last column: next row.
  EXPECT_TRUE(f.cell_background_is(4, 12, p[back_normal]));
  EXPECT_EQ(f.full_code_at(5, 10, p[text_normal]), 0x82A0u);
  EXPECT_EQ(f.half_code_at(5, 12, p[text_normal]), unsigned('c'));
  EXPECT_EQ(f.half_code_at(6, 10, p[text_normal]), unsigned('d'));
  EXPECT_EQ(f.half_code_at(6, 12, p[text_normal]), unsigned('f'));
  draw_string(f.display, 8, 0, 0, "never", p[text_normal], p[back_normal]);  // an empty band draws nothing
}

}  // namespace
}  // namespace vintorel
