#include "game/screens/NameEditor.h"

#include <gtest/gtest.h>

#include "game/screens/NameGlyphs.h"

namespace mareldon {
namespace {

// Steps the letter under the cursor up to `letter`.
void Choose(NameEditor& editor, char letter) {
    for (int i = 0; i < NameGlyphs::kCount && NameGlyphs::Letter(editor.Letter(editor.Cursor())) != letter;
         ++i) {
        editor.StepUp();
    }
    ASSERT_EQ(NameGlyphs::Letter(editor.Letter(editor.Cursor())), letter);
}

TEST(NameEditorTest, ConfirmingThreeLettersEndsOnTheEndMark) {
    NameEditor editor;
    Choose(editor, 'A');
    EXPECT_FALSE(editor.Confirm());
    EXPECT_EQ(editor.Letter(1), 0) << "slot 1 starts on the letter just entered";
    Choose(editor, 'B');
    EXPECT_FALSE(editor.Confirm());
    EXPECT_EQ(editor.Letter(2), 1);
    Choose(editor, 'C');
    EXPECT_FALSE(editor.Confirm());
    EXPECT_EQ(editor.Cursor(), 3);
    EXPECT_EQ(editor.Letter(3), NameGlyphs::kEndMark);
    EXPECT_EQ(editor.Name(), "ABC");
    EXPECT_TRUE(editor.Confirm());
}

TEST(NameEditorTest, SlotRangesWrap) {
    NameEditor editor;
    editor.StepDown();
    EXPECT_EQ(editor.Letter(0), NameGlyphs::kBlank - 1) << "slot 0 offers no blank or marks";
    editor.StepUp();
    EXPECT_EQ(editor.Letter(0), 0);
    editor.Confirm();
    editor.StepDown();
    EXPECT_EQ(editor.Letter(1), NameGlyphs::kBackMark) << "slots 1 and 2 offer all 48";
    editor.StepUp();
    editor.Confirm();
    editor.Confirm();
    ASSERT_EQ(editor.Cursor(), 3);
    editor.StepUp();
    EXPECT_EQ(editor.Letter(3), NameGlyphs::kBackMark);
    editor.StepUp();
    EXPECT_EQ(editor.Letter(3), NameGlyphs::kEndMark) << "slot 3 holds only the two marks";
    editor.StepDown();
    EXPECT_EQ(editor.Letter(3), NameGlyphs::kBackMark);
    // The back mark returns to slot 2 with its letter kept.
    EXPECT_FALSE(editor.Confirm());
    EXPECT_EQ(editor.Cursor(), 2);
    EXPECT_EQ(editor.Letter(2), 0);
}

TEST(NameEditorTest, EraseGoesBackAndClearsTheSlot) {
    NameEditor editor;
    editor.Erase();
    EXPECT_EQ(editor.Cursor(), 0) << "nothing before slot 0";
    Choose(editor, 'K');
    editor.Confirm();
    editor.Erase();
    EXPECT_EQ(editor.Cursor(), 0);
    EXPECT_EQ(editor.Letter(1), 0);
    EXPECT_EQ(NameGlyphs::Letter(editor.Letter(0)), 'K');
}

TEST(NameEditorTest, NamesArePaddedAndRefusedOnesBecomeZev) {
    NameEditor editor;
    EXPECT_EQ(editor.Name(), "ZEV") << "nothing entered: three blanks, refused";
    Choose(editor, 'Q');
    editor.Confirm();
    EXPECT_EQ(editor.Name(), "Q  ");
    for (const char* refused : {"SEX", "666", "AAA", "X X", "NI6"}) {
        EXPECT_EQ(NameEditor::Filter(refused), "ZEV") << refused;
    }
    for (const char* kept : {"ABC", "sex", "66 ", "NI7"}) {
        EXPECT_EQ(NameEditor::Filter(kept), kept) << kept;
    }
}

TEST(NameEditorTest, GlyphTable) {
    EXPECT_STREQ(NameGlyphs::SpriteName(NameGlyphs::IndexOf('A')), "3232_ei_dai_A");
    EXPECT_STREQ(NameGlyphs::SpriteName(NameGlyphs::IndexOf('7')), "3232_su_name_7");
    EXPECT_STREQ(NameGlyphs::SpriteName(NameGlyphs::IndexOf('?')), "3232_ki_002");
    EXPECT_STREQ(NameGlyphs::SpriteName(NameGlyphs::IndexOf('e')), "3232_ki_013");
    EXPECT_STREQ(NameGlyphs::SpriteName(NameGlyphs::kEndMark), "3232_ki_008");
    EXPECT_STREQ(NameGlyphs::SpriteName(NameGlyphs::kBackMark), "3232_ki_007");
    EXPECT_EQ(NameGlyphs::SpriteName(NameGlyphs::kBlank), nullptr);
    EXPECT_EQ(NameGlyphs::IndexOf('#'), NameGlyphs::kBlank);
}

}  // namespace
}  // namespace mareldon
