#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "script.h"
#include "support.h"

namespace {

// Reads a script in memory by a list of steps and tells what each gave:
// w a word, i a whole number, f a float, n a word and a number, l2 ... l4 a
// comma list. Numbers start at 7, 8, 9, 10 (4.5 for floats) so that a value
// left alone shows; each result is "returned:values".
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
    std::string step(const char*& op)
    {
        char text[SCRIPT_WORD_SIZE + 64] = "";
        int values[4] = {7, 8, 9, 10};
        if (*op == 'w') return word();
        if (*op == 'i') {
            int got = script_int(reader, &values[0]);
            snprintf(text, sizeof text, "%d:%d", got, values[0]);
        } else if (*op == 'f') {
            float value = 4.5f;
            int got = script_float(reader, &value);
            snprintf(text, sizeof text, "%d:%.9g", got, (double)value);
        } else if (*op == 'n') {
            char name[SCRIPT_WORD_SIZE] = "?";
            int got = script_word_int(reader, name, sizeof name, &values[0]);
            snprintf(text, sizeof text, "%d:%s,%d", got, name, values[0]);
        } else if (*op == 'l') {
            int count = *++op - '0';
            int got = script_int_list(reader, values, count);
            std::string listed = std::to_string(got) + ":";
            for (int i = 0; i < count; i++) listed += (i ? "," : "") + std::to_string(values[i]);
            return listed;
        }
        return text;
    }
    std::string run(const char* ops)
    {
        std::string out;
        for (const char* op = ops; *op; op++) out += (out.empty() ? "" : " ") + step(op);
        return out;
    }
};

}  // namespace

TEST(ScriptReading, WordsNumbersAndListsReadAsFormattedInputReadsThem)
{
    const struct {
        const char *text, *steps, *read;
    } cases[] = {
        // Line ends and blanks are all white space.
        {"radius 120\r\n\tstred_x\v300\f\n", "wwwww", "radius 120 stred_x 300 <EOF>"},
        {"", "w", "<EOF>"},
        {" \n\n\t ", "wi", "<EOF> -1:7"},
        // "pocet_snimku 8" also wakes the "pocet" reader after the frame count
        // has been read: its conversion meets the next key and consumes nothing.
        {"pocet_snimku 8 rychlost 1.5", "wiiwf", "pocet_snimku 1:8 0:7 rychlost 1:1.5"},
        {"-x 12", "iw", "0:7 -x"},
        {"12abc -7", "iwi", "1:12 abc 1:-7"},
        {"radius", "wiw", "radius -1:7 <EOF>"},
        {"99999999999999999999 -99999999999999999999", "ii", "1:2147483647 1:-2147483648"},
        {"0.98 .5 3. 1e2 2.5e-1 -0.125", "ffffffw", "1:0.980000019 1:0.5 1:3 1:100 1:0.25 1:-0.125 <EOF>"},
        // An exponent mark without digits is used up, as formatted input does.
        {"7e x 1e+x 5e5e 2E-", "fwfwfwfw", "1:7 x 1:1 x 1:500000 e 1:2 <EOF>"},
        {"e5 .x -", "fwfwfw", "0:4.5 e5 0:4.5 .x 0:4.5 -"},
        // A blank may follow the comma but not precede it.
        {"10,20 10, 20 10 ,20", "l2l2l2w", "2:10,20 2:10,20 1:10,8 ,20"},
        {"1,2,3,4 5,6", "l4l3l3", "4:1,2,3,4 2:5,6,9 -1:7,8,9"},
        {"GFX/bar.bmp 4 GFX/x.bmp oops", "nnwn", "2:GFX/bar.bmp,4 1:GFX/x.bmp,7 oops -1:?,7"},
        // The file may end inside a group: what is missing keeps its value.
        {"GFX/x.bmp", "nw", "1:GFX/x.bmp,7 <EOF>"},
        {"10", "l2", "1:10,8"},
        {"11,", "l2w", "1:11,8 <EOF>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.read, Script(c.text).run(c.steps));
    }
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

TEST(ScriptFiles, MissingAndEmptyFilesHaveNoWords)
{
    TempDir dir;
    write_file("SCRIPT/empty.scr", "");
    char buffer[SCRIPT_WORD_SIZE];
    int value = 3;
    ScriptReader reader;
    EXPECT_EQ(0, script_open(reader, "SCRIPT/none.scr"));
    EXPECT_EQ(SCRIPT_EOF, script_word(reader, buffer, sizeof buffer));
    script_close(reader);
    ASSERT_EQ(1, script_open(reader, "SCRIPT/empty.scr"));
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
