#include "support.h"

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iomanip>

#include "game_state.h"
#include "main.h"

TempDir::TempDir()
{
    char pattern[] = "/tmp/abyssor-test-XXXXXX";
    char* made = mkdtemp(pattern);
    if (made == NULL) abort();
    path_ = made;
    char current[4096];
    if (getcwd(current, sizeof current) != NULL) previous_ = current;
    if (chdir(path_.c_str()) != 0) abort();
}

TempDir::~TempDir()
{
    if (!previous_.empty() && chdir(previous_.c_str()) != 0) abort();
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void write_file(const std::string& path, const std::string& content)
{
    std::filesystem::path target(path);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
}

bool copy_data_set()
{
    std::error_code failed;
    for (const char* part : {"SCRIPT", "GFX", "SFX"}) {
        std::filesystem::copy(std::string(ABYSSOR_RUN_DIR) + "/" + part, part,
                              std::filesystem::copy_options::recursive, failed);
        if (failed) return false;
    }
    return true;
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

bool file_exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

TestScreen::TestScreen()
{
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE);
    surface = SDL_SetVideoMode(640, 480, 16, 0);
    game.screen = surface;
}

TestScreen::~TestScreen()
{
    game.screen = NULL;
    SDL_Quit();
}

void write_bmp8(const std::string& path, int w, int h, const std::vector<Uint8>& pixels,
                const std::vector<PaletteColour>& palette)
{
    std::filesystem::path target(path);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path());
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 8, 0, 0, 0, 0);
    SDL_Color colours[256];
    for (int i = 0; i < 256; i++) colours[i].r = colours[i].g = colours[i].b = colours[i].unused = 0;
    for (const PaletteColour& colour : palette) {
        colours[colour.index].r = colour.r;
        colours[colour.index].g = colour.g;
        colours[colour.index].b = colour.b;
    }
    SDL_SetColors(surface, colours, 0, 256);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            ((Uint8*)surface->pixels)[y * surface->pitch + x] = pixels[y * w + x];
    SDL_SaveBMP(surface, path.c_str());
    SDL_FreeSurface(surface);
}

void write_solid_bmp(const std::string& path, int w, int h, Uint8 r, Uint8 g, Uint8 b)
{
    std::vector<Uint8> pixels(w * h, 1);
    pixels[0] = 0;
    write_bmp8(path, w, h, pixels, {{0, 0, 0, 0}, {1, r, g, b}});
}

void write_block_font(const std::string& path, int glyph_width, int height, Uint8 r, Uint8 g, Uint8 b)
{
    const int glyphs = 109, run = 2;
    if (height < 2) height = 2;  // the marker row and at least one row of glyphs
    const int period = glyph_width + run;
    const int width = run + glyphs * period;
    std::vector<Uint8> pixels((size_t)width * height, 0);
    // Every period starts with a marker run; the glyph's block fills the rest.
    for (int col = 0; col < width; col++) {
        bool marker = col % period < run;
        if (marker) pixels[(size_t)col] = 1;
        else
            for (int row = 1; row < height; row++) pixels[(size_t)row * width + col] = 2;
    }
    write_bmp8(path, width, height, pixels, {{0, 0, 0, 0}, {1, 255, 0, 255}, {2, r, g, b}});
}

static void put_le(std::string& out, unsigned value, int bytes)
{
    for (int i = 0; i < bytes; i++) out.push_back((char)((value >> (8 * i)) & 0xff));
}

void write_wav(const std::string& path, int samples)
{
    std::string wav = "RIFF";
    put_le(wav, 36 + samples, 4);
    wav += "WAVEfmt ";
    put_le(wav, 16, 4);
    put_le(wav, 1, 2);      // PCM
    put_le(wav, 1, 2);      // mono
    put_le(wav, 11025, 4);
    put_le(wav, 11025, 4);  // bytes per second
    put_le(wav, 1, 2);      // block align
    put_le(wav, 8, 2);      // bits
    wav += "data";
    put_le(wav, samples, 4);
    for (int i = 0; i < samples; i++) wav.push_back((char)(128 + ((i / 10) % 2 ? 40 : -40)));
    write_file(path, wav);
}

Uint32 pixel_at(SDL_Surface* surface, int x, int y)
{
    SDL_LockSurface(surface);
    const Uint8* row = (const Uint8*)surface->pixels + y * surface->pitch;
    Uint32 value = 0;
    switch (surface->format->BytesPerPixel) {
    case 1: value = row[x]; break;
    case 2: value = ((const Uint16*)row)[x]; break;
    case 4: value = ((const Uint32*)row)[x]; break;
    default: break;
    }
    SDL_UnlockSurface(surface);
    return value;
}

Uint32 map_colour(SDL_Surface* surface, Uint8 r, Uint8 g, Uint8 b)
{
    return SDL_MapRGB(surface->format, r, g, b);
}

// Every test starts from the game as the program starts, in the folder the
// suite was started in, whatever the tests before it left behind: so the
// suite passes in one process as well as with a process per test. The game
// is reset once more at the end, so that nothing it holds is left to look
// like a leak.
class FreshGameForEveryTest : public testing::EmptyTestEventListener {
public:
    FreshGameForEveryTest()
    {
        char current[4096];
        if (getcwd(current, sizeof current) == NULL) abort();
        start_folder_ = current;
    }
    void OnTestStart(const testing::TestInfo&) override { fresh_game(); }
    void OnTestProgramEnd(const testing::UnitTest&) override { fresh_game(); }

private:
    void fresh_game()
    {
        if (chdir(start_folder_.c_str()) != 0) abort();
        reset_game_globals();
    }
    std::string start_folder_;
};

int main(int argc, char** argv)
{
    // Every test runs headless.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new FreshGameForEveryTest);
    return RUN_ALL_TESTS();
}

#include <SDL/SDL_mixer.h>

#include "bonus.h"
#include "gun.h"
#include "random.h"
#include "settings.h"
#include "shots.h"

Captured load_script(const std::string& path, const std::string& text, void (*load)(const char* path))
{
    write_file(path, text);
    return capture([&] { load(path.c_str()); });
}

void expect_fields(const char* file, int line, std::initializer_list<Field> fields)
{
    for (const Field& field : fields)
        if (field.expected != field.actual)
            ADD_FAILURE_AT(file, line) << std::setprecision(10) << field.name << " is " << field.actual << ", should be "
                                       << field.expected;
}

std::string prefixed_lines(const std::string& prefix, std::initializer_list<const char*> lines)
{
    std::string all;
    for (const char* line : lines) all += prefix + line + "\n";
    return all;
}

bool open_audio()
{
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    if (Mix_OpenAudio(11025, AUDIO_U8, 2, 1024) != 0) return false;
    settings.sound = 1;
    return true;
}

void close_audio()
{
    settings.sound = 0;
    // Halting channels of a mixer that is not open reads freed channels.
    if (Mix_QuerySpec(NULL, NULL, NULL) == 0) return;
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
}

SDL_Surface* solid_surface(int w, int h, Uint8 r, Uint8 g, Uint8 b)
{
    SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, 0xF800, 0x07E0, 0x001F, 0);
    SDL_FillRect(picture, NULL, SDL_MapRGB(picture->format, r, g, b));
    return picture;
}

ScriptedSession::ScriptedSession()
{
    scripted_reset(input);
    platform_use_scripted(&input);
}

ScriptedSession::~ScriptedSession()
{
    platform_use_scripted(NULL);
}

void fresh_shooting()
{
    settings = GameSettings();
    settings.max_teplota = 100;
    settings.odpor_vzduchu = 1.0f;
    GunHeat = 0;
    bonus_effects = BonusEffects();
    game.frame = 0;
    game.score = 0;
    random_reset();
    empty_shot_pool();
}

int occurrences(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) count++;
    return count;
}

namespace {

ScriptedInput answers;
void (*hook_before_answers)(ScriptedInput& input, void* user) = NULL;

void give_answers(ScriptedInput& input, void* user)
{
    if (input.count == 0) {
        input.on_wait = hook_before_answers;
        for (int i = 0; i < answers.count; i++) scripted_push(input, answers.queue[(answers.head + i) % SCRIPTED_QUEUE_SIZE]);
    }
    if (hook_before_answers != NULL) hook_before_answers(input, user);
}

}  // namespace

void answer_when_shown(ScriptedInput& input)
{
    scripted_reset(answers);
    for (int i = 0; i < input.count; i++) scripted_push(answers, input.queue[(input.head + i) % SCRIPTED_QUEUE_SIZE]);
    input.count = 0;
    if (input.on_wait != give_answers) hook_before_answers = input.on_wait;
    input.on_wait = give_answers;
}
