#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "script.h"
#include "support.h"

namespace {

struct Script {
    ScriptReader reader;
    explicit Script(const std::string& text) { script_open_memory(reader, text.data(), text.size()); }
    ~Script() { script_close(reader); }
    std::string word()
    {
        char buffer[SCRIPT_WORD_SIZE];
        if (script_word(reader, buffer, sizeof buffer) == SCRIPT_EOF) return "<EOF>";
        return buffer;
    }
};

}  // namespace

TEST(ScriptWords, LineEndsAndBlanksAreAllWhiteSpace)
{
    Script script("radius 120\r\n\tstred_x\v300\f\n");
    EXPECT_EQ("radius", script.word());
    EXPECT_EQ("120", script.word());
    EXPECT_EQ("stred_x", script.word());
    EXPECT_EQ("300", script.word());
    EXPECT_EQ("<EOF>", script.word());
}

TEST(ScriptWords, EmptyFileHasNoWords)
{
    Script empty("");
    EXPECT_EQ("<EOF>", empty.word());
    Script blank(" \n\n\t ");
    EXPECT_EQ("<EOF>", blank.word());
    int value = 7;
    EXPECT_EQ(SCRIPT_EOF, script_int(blank.reader, &value));
    EXPECT_EQ(7, value);
}

TEST(ScriptWords, OverLongWordIsCutWithoutOverrunningTheBuffer)
{
    std::string long_word(500, 'x');
    Script script(long_word + " next");
    char buffer[16];
    memset(buffer, 'G', sizeof buffer);
    ASSERT_EQ(1, script_word(script.reader, buffer, 8));
    EXPECT_STREQ("xxxxxxx", buffer);
    EXPECT_EQ('G', buffer[8]);
    // The rest of the cut word does not come back as a word of its own.
    EXPECT_EQ("next", script.word());
}

TEST(ScriptWords, KeysAreFoundInsideLongerWords)
{
    EXPECT_TRUE(word_has("[max_teplota]:", "max_teplota"));
    EXPECT_TRUE(word_has("nosound", "sound"));
    EXPECT_TRUE(word_has("death_sound", "sound"));
    EXPECT_FALSE(word_has("Sound", "sound"));  // case matters
    EXPECT_FALSE(word_has("teplota", "max_teplota"));
}

TEST(ScriptNumbers, FailedConversionLeavesTheWordToBeReadAgain)
{
    // "pocet_snimku 8" also wakes the "pocet" reader after the frame count
    // has been read: its conversion meets the next key and must consume nothing.
    Script script("pocet_snimku 8 rychlost 1.5");
    EXPECT_EQ("pocet_snimku", script.word());
    int frames = 0, count = 3;
    EXPECT_EQ(1, script_int(script.reader, &frames));
    EXPECT_EQ(8, frames);
    EXPECT_EQ(0, script_int(script.reader, &count));
    EXPECT_EQ(3, count);
    EXPECT_EQ("rychlost", script.word());
    float speed = 0;
    EXPECT_EQ(1, script_float(script.reader, &speed));
    EXPECT_EQ(1.5f, speed);
}

TEST(ScriptNumbers, SignWithoutDigitsConsumesNothing)
{
    Script script("-x 12");
    int value = 5;
    EXPECT_EQ(0, script_int(script.reader, &value));
    EXPECT_EQ(5, value);
    EXPECT_EQ("-x", script.word());
}

TEST(ScriptNumbers, NumberPrefixOfAWordIsTakenAndTheRestIsTheNextWord)
{
    Script script("12abc -7");
    int value = 0;
    EXPECT_EQ(1, script_int(script.reader, &value));
    EXPECT_EQ(12, value);
    EXPECT_EQ("abc", script.word());
    EXPECT_EQ(1, script_int(script.reader, &value));
    EXPECT_EQ(-7, value);
}

TEST(ScriptNumbers, ValueMissingAtEndOfFileKeepsTheTarget)
{
    Script script("radius");
    EXPECT_EQ("radius", script.word());
    int radius = 42;
    EXPECT_EQ(SCRIPT_EOF, script_int(script.reader, &radius));
    EXPECT_EQ(42, radius);
    EXPECT_EQ("<EOF>", script.word());
}

TEST(ScriptNumbers, HugeNumbersAreHeldAtTheIntegerLimits)
{
    Script script("99999999999999999999 -99999999999999999999");
    int value = 0;
    EXPECT_EQ(1, script_int(script.reader, &value));
    EXPECT_EQ(2147483647, value);
    EXPECT_EQ(1, script_int(script.reader, &value));
    EXPECT_EQ(-2147483647 - 1, value);
}

TEST(ScriptNumbers, FloatsTakeFractionsAndExponents)
{
    Script script("0.98 .5 3. 1e2 2.5e-1 -0.125");
    float value = 0;
    const float expected[] = {0.98f, 0.5f, 3.0f, 100.0f, 0.25f, -0.125f};
    for (float want : expected) {
        ASSERT_EQ(1, script_float(script.reader, &value));
        EXPECT_EQ(want, value);
    }
    EXPECT_EQ("<EOF>", script.word());
}

TEST(ScriptNumbers, AnExponentMarkWithoutDigitsIsTakenAsFormattedInputTakesIt)
{
    // "7e" is 7 with the "e" used up; "1e+x" is 1 with "e+" used up and "x"
    // left as the next word; "5e5e" is 500000 followed by the word "e".
    Script script("7e x 1e+x 5e5e 2E-");
    float value = 0;
    ASSERT_EQ(1, script_float(script.reader, &value));
    EXPECT_EQ(7.0f, value);
    EXPECT_EQ("x", script.word());
    ASSERT_EQ(1, script_float(script.reader, &value));
    EXPECT_EQ(1.0f, value);
    EXPECT_EQ("x", script.word());
    ASSERT_EQ(1, script_float(script.reader, &value));
    EXPECT_EQ(500000.0f, value);
    EXPECT_EQ("e", script.word());
    ASSERT_EQ(1, script_float(script.reader, &value));
    EXPECT_EQ(2.0f, value);
    EXPECT_EQ("<EOF>", script.word());
}

TEST(ScriptNumbers, AFloatWithoutDigitsConsumesNothing)
{
    Script script("e5 .x -");
    float value = 4.5f;
    EXPECT_EQ(0, script_float(script.reader, &value));
    EXPECT_EQ("e5", script.word());
    EXPECT_EQ(0, script_float(script.reader, &value));
    EXPECT_EQ(".x", script.word());
    EXPECT_EQ(0, script_float(script.reader, &value));
    EXPECT_EQ("-", script.word());
    EXPECT_EQ(4.5f, value);
}

TEST(ScriptPairs, BlankMayFollowTheCommaButNotPrecedeIt)
{
    int pair[2] = {0, 0};
    Script tight("10,20");
    EXPECT_EQ(2, script_int_list(tight.reader, pair, 2));
    EXPECT_EQ(10, pair[0]);
    EXPECT_EQ(20, pair[1]);

    Script spaced("10, 20");
    pair[0] = pair[1] = 0;
    EXPECT_EQ(2, script_int_list(spaced.reader, pair, 2));
    EXPECT_EQ(10, pair[0]);
    EXPECT_EQ(20, pair[1]);

    Script before("10 ,20");
    pair[0] = pair[1] = 0;
    EXPECT_EQ(1, script_int_list(before.reader, pair, 2));
    EXPECT_EQ(10, pair[0]);
    EXPECT_EQ(0, pair[1]);
    EXPECT_EQ(",20", before.word());
}

TEST(ScriptPairs, FourValuesAndAShortList)
{
    int rect[4] = {0, 0, 0, 0};
    Script script("1,2,3,4 5,6");
    EXPECT_EQ(4, script_int_list(script.reader, rect, 4));
    EXPECT_EQ(4, rect[3]);
    int triple[3] = {0, 0, 9};
    EXPECT_EQ(2, script_int_list(script.reader, triple, 3));
    EXPECT_EQ(6, triple[1]);
    EXPECT_EQ(9, triple[2]);
    EXPECT_EQ(SCRIPT_EOF, script_int_list(script.reader, triple, 3));
}

TEST(ScriptPairs, WordAndNumber)
{
    char name[SCRIPT_WORD_SIZE];
    int frames = 0;
    Script script("GFX/bar.bmp 4 GFX/x.bmp oops");
    EXPECT_EQ(2, script_word_int(script.reader, name, sizeof name, &frames));
    EXPECT_STREQ("GFX/bar.bmp", name);
    EXPECT_EQ(4, frames);
    EXPECT_EQ(1, script_word_int(script.reader, name, sizeof name, &frames));
    EXPECT_EQ(4, frames);
    EXPECT_EQ("oops", script.word());
    EXPECT_EQ(SCRIPT_EOF, script_word_int(script.reader, name, sizeof name, &frames));
}

TEST(ScriptPairs, TheFileMayEndInsideAGroup)
{
    // "%s %d" with only the word left: the word is read, the number keeps its value.
    char name[SCRIPT_WORD_SIZE];
    int frames = 9;
    Script word_only("GFX/x.bmp");
    EXPECT_EQ(1, script_word_int(word_only.reader, name, sizeof name, &frames));
    EXPECT_STREQ("GFX/x.bmp", name);
    EXPECT_EQ(9, frames);
    EXPECT_EQ("<EOF>", word_only.word());

    // "%d,%d" cut after the first number, or after its comma.
    int pair[2] = {0, 7};
    Script cut("10");
    EXPECT_EQ(1, script_int_list(cut.reader, pair, 2));
    EXPECT_EQ(10, pair[0]);
    EXPECT_EQ(7, pair[1]);
    Script comma("11,");
    EXPECT_EQ(1, script_int_list(comma.reader, pair, 2));
    EXPECT_EQ(11, pair[0]);
    EXPECT_EQ(7, pair[1]);
    EXPECT_EQ("<EOF>", comma.word());
}

TEST(ScriptFiles, AMissingFileOpensNothing)
{
    TempDir dir;
    ScriptReader reader;
    EXPECT_EQ(0, script_open(reader, "SCRIPT/none.scr"));
    char buffer[SCRIPT_WORD_SIZE];
    EXPECT_EQ(SCRIPT_EOF, script_word(reader, buffer, sizeof buffer));
    script_close(reader);
}

TEST(ScriptFiles, AnEmptyFileOpensAndHasNoWords)
{
    TempDir dir;
    write_file("SCRIPT/empty.scr", "");
    ScriptReader reader;
    ASSERT_EQ(1, script_open(reader, "SCRIPT/empty.scr"));
    char buffer[SCRIPT_WORD_SIZE];
    int value = 3;
    EXPECT_EQ(SCRIPT_EOF, script_int(reader, &value));
    EXPECT_EQ(SCRIPT_EOF, script_word(reader, buffer, sizeof buffer));
    EXPECT_EQ(3, value);
    script_close(reader);
}

TEST(ScriptFiles, ReadsAWholeFile)
{
    TempDir dir;
    std::string text;
    for (int i = 0; i < 3000; i++) text += "slovo" + std::to_string(i) + " ";
    write_file("SCRIPT/big.scr", text);
    ScriptReader reader;
    ASSERT_EQ(1, script_open(reader, "SCRIPT/big.scr"));
    char buffer[SCRIPT_WORD_SIZE];
    int words = 0;
    while (script_word(reader, buffer, sizeof buffer) != SCRIPT_EOF) words++;
    script_close(reader);
    EXPECT_EQ(3000, words);
    EXPECT_STREQ("slovo2999", buffer);
}
