#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "script.h"
#include "support.h"

namespace {

// Reads a text by steps and tells what each gave: w a word, i a whole
// number, f a float, n a word and a number, l2 ... l4 a comma list, each
// as "returned:values". Numbers start at 7, 8, 9, 10 (4.5 for floats) so
// that a value left alone shows.
std::string read_steps(const std::string& text, const char* ops)
{
    ScriptReader reader;
    script_open_memory(reader, text.data(), text.size());
    std::string out;
    for (const char* op = ops; *op != 0; op++) {
        char word[SCRIPT_WORD_SIZE] = "?", got[SCRIPT_WORD_SIZE + 64];
        bool list = *op == 'l';
        int values[4] = {7, 8, 9, 10}, count = list ? *++op - '0' : 1;
        float value = 4.5f;
        int r = *op == 'w' ? script_word(reader, word, sizeof word) : *op == 'i' ? script_int(reader, &values[0])
              : *op == 'f' ? script_float(reader, &value) : *op == 'n' ? script_word_int(reader, word, sizeof word, &values[0])
              : script_int_list(reader, values, count);
        if (*op == 'w') snprintf(got, sizeof got, "%s", r == SCRIPT_EOF ? "<EOF>" : word);
        if (*op == 'i') snprintf(got, sizeof got, "%d:%d", r, values[0]);
        if (*op == 'f') snprintf(got, sizeof got, "%d:%.9g", r, (double)value);
        if (*op == 'n') snprintf(got, sizeof got, "%d:%s,%d", r, word, values[0]);
        if (list) snprintf(got, sizeof got, "%d:%d,%d,%d,%d", r, values[0], values[1], values[2], values[3]);
        out += (out.empty() ? "" : " ") + std::string(got);
    }
    script_close(reader);
    return out;
}

}  // namespace

TEST(ScriptReading, WordsNumbersAndListsReadAsFormattedInputReadsThem)
{
    const struct {
        std::string text;
        const char* steps;
        std::string read;
    } cases[] = {
        // Line ends and blanks are all white space.
        {"radius 120\r\n\tstred_x\v300\f\n", "wwwww", "radius 120 stred_x 300 <EOF>"},
        {"", "w", "<EOF>"},
        {" \n\n\t ", "wi", "<EOF> -1:7"},
        // A conversion that meets a word consumes nothing.
        {"pocet_snimku 8 rychlost 1.5", "wiiwf", "pocet_snimku 1:8 0:7 rychlost 1:1.5"},
        {"-x 12", "iw", "0:7 -x"},
        {"12abc -7 +3", "iwii", "1:12 abc 1:-7 1:3"},
        {"radius", "wiw", "radius -1:7 <EOF>"},
        {"99999999999999999999 -99999999999999999999", "ii", "1:2147483647 1:-2147483648"},
        {"0.98 .5 3. 1e2 2.5e-1 -0.125", "ffffffw", "1:0.980000019 1:0.5 1:3 1:100 1:0.25 1:-0.125 <EOF>"},
        // An exponent mark without digits is used up, as formatted input does.
        {"7e x 1e+x 5e5e 2E-", "fwfwfwfw", "1:7 x 1:1 x 1:500000 e 1:2 <EOF>"},
        {"e5 .x -", "fwfwfw", "0:4.5 e5 0:4.5 .x 0:4.5 -"},
        // A blank may follow the comma but not precede it.
        {"10,20 10, 20 10 ,20", "l2l2l2w", "2:10,20,9,10 2:10,20,9,10 1:10,8,9,10 ,20"},
        {"1,2,3,4 5,6", "l4l3l3", "4:1,2,3,4 2:5,6,9,10 -1:7,8,9,10"},
        {"GFX/bar.bmp 4 GFX/x.bmp oops", "nnwn", "2:GFX/bar.bmp,4 1:GFX/x.bmp,7 oops -1:?,7"},
        // The file may end inside a group: what is missing keeps its value.
        {"GFX/x.bmp", "nw", "1:GFX/x.bmp,7 <EOF>"},
        {"10", "l2", "1:10,8,9,10"},
        {"11,", "l2w", "1:11,8,9,10 <EOF>"},
        // A word longer than the buffer is cut, and its rest is no word of its own.
        {std::string(500, 'x') + " next", "ww", std::string(199, 'x') + " next"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.read, read_steps(c.text, c.steps));
    }
}

// A file is read whole, however long; a missing one cannot be opened and
// an empty one has no words. Each file: opened, words, the last word.
TEST(ScriptReading, FilesAreReadWhole)
{
    TempDir dir;
    std::string text;
    for (int i = 0; i < 3000; i++) text += "slovo" + std::to_string(i) + " ";
    write_file("big.scr", text);
    write_file("empty.scr", "");
    const struct {
        const char* name;
        int opened, words;
        const char* last;
    } files[] = {{"big.scr", 1, 3000, "slovo2999"}, {"empty.scr", 1, 0, ""}, {"none.scr", 0, 0, ""}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        ScriptReader reader;
        char word[SCRIPT_WORD_SIZE] = "";
        int opened = script_open(reader, f.name), words = 0;
        while (script_word(reader, word, sizeof word) != SCRIPT_EOF) words++;
        script_close(reader);
        EXPECT_EQ(f.opened, opened);
        EXPECT_EQ(f.words, words);
        EXPECT_STREQ(f.last, word) << "the last word";
    }
    EXPECT_TRUE(word_has("nosound", "sound") && !word_has("Sound", "sound"));
}
