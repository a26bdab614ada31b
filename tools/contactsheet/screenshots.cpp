// Screenshots of the game itself, as a software centre shows them: the whole
// program runs in this process from a run folder, with scripted input and a
// scripted clock (no window is needed: SDL_VIDEODRIVER=dummy), and the
// 640 x 480 screen is saved as PNG when the main menu, the high-score
// table, the help, a level's announcement and a level in play show. The same
// run folder gives the same pictures on every build.
//
// Usage: abyssor_screenshots <run folder> <output folder>
// The game writes its high scores, its report and its log (screenshots.log)
// into the run folder: give it a copy.

#include <SDL/SDL.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "creatures.h"
#include "game_state.h"
#include "main.h"
#include "platform.h"
#include "png.h"
#include "scripted_input.h"

namespace {

// What the next wait of the game is expected to be.
enum Phase { MENU_FIRST, MENU, TABLE, MENU_FOR_HELP, HELP, MENU_FOR_GAME, ANNOUNCEMENT, PLAYING, AFTER_GAME, DONE };

// Frames of the level after which it is shown: creatures up, shells flying.
const int PLAY_FRAMES = 900;

struct Shooter {
    ScriptedInput input;
    Phase phase;
    std::string out;
    int saved;
    int last_frame;
};
Shooter shooter;

void save_screen(const char* name)
{
    SDL_Surface* s = game.screen;
    std::vector<uint8_t> rgb;
    rgb.reserve((size_t)s->w * s->h * 3);
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; y++) {
        const Uint16* row = (const Uint16*)((const Uint8*)s->pixels + y * s->pitch);
        for (int x = 0; x < s->w; x++) {
            Uint8 r, g, b;
            SDL_GetRGB(row[x], s->format, &r, &g, &b);
            rgb.push_back(r);
            rgb.push_back(g);
            rgb.push_back(b);
        }
    }
    SDL_UnlockSurface(s);
    std::string path = shooter.out + "/" + name + ".png";
    if (!write_png(path, s->w, s->h, 3, rgb)) {
        fprintf(stderr, "screenshots: cannot write %s\n", path.c_str());
        exit(1);
    }
    shooter.saved++;
}

void tap(SDLKey key, int times = 1)
{
    for (int i = 0; i < times; i++) {
        scripted_push_key(shooter.input, key, 1, 0);
        scripted_push_key(shooter.input, key, 0, 0);
    }
}

void on_wait(ScriptedInput& input, void*)
{
    if (input.count > 0) return;  // what is queued answers this wait
    switch (shooter.phase) {
    case MENU_FIRST:
        // The menu draws itself as it answers an event.
        scripted_push_motion(input, 320, 240);
        shooter.phase = MENU;
        break;
    case MENU:
        save_screen("menu");
        tap(SDLK_DOWN, 2);
        tap(SDLK_RETURN);
        shooter.phase = TABLE;
        break;
    case TABLE:
        save_screen("table");
        tap(SDLK_SPACE);
        shooter.phase = MENU_FOR_HELP;
        break;
    case MENU_FOR_HELP:
        tap(SDLK_DOWN);
        tap(SDLK_RETURN);
        shooter.phase = HELP;
        break;
    case HELP:
        save_screen("help");
        tap(SDLK_SPACE);
        shooter.phase = MENU_FOR_GAME;
        break;
    case MENU_FOR_GAME:
        tap(SDLK_UP, 3);
        tap(SDLK_RETURN);
        shooter.phase = ANNOUNCEMENT;
        break;
    case ANNOUNCEMENT:
        save_screen("announcement");
        tap(SDLK_SPACE);
        shooter.phase = PLAYING;
        break;
    default:
        // The game-over screen, and whatever follows: the window is closed.
        shooter.phase = DONE;
        scripted_push_quit(input);
        break;
    }
}

// Every frame of the level: aim at the surfaced creature nearest the middle
// and fire in short bursts.
void on_delay(ScriptedInput& input, Uint32, void*)
{
    if (shooter.phase != PLAYING || game.frame == shooter.last_frame) return;
    shooter.last_frame = game.frame;
    if (game.frame >= PLAY_FRAMES) {
        save_screen("play");
        scripted_push_key(input, SDLK_ESCAPE, 1, 27);
        shooter.phase = AFTER_GAME;
        return;
    }
    int x = 320, y = 250, best = 1 << 30;
    for (const Creature& c : creatures) {
        if (!c.active || !c.surfaced) continue;
        int d = (c.x - 320) * (c.x - 320) + (c.y - 250) * (c.y - 250);
        if (d < best) {
            best = d;
            x = c.x;
            y = c.y;
        }
    }
    scripted_push_motion(input, x, y);
    scripted_push_button(input, SDL_BUTTON_LEFT, game.frame % 6 < 3);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: %s <run folder> <output folder>\n", argv[0]);
        return 2;
    }
    shooter.out = argv[2];
    mkdir(argv[2], 0755);
    if (chdir(argv[1]) != 0) {
        fprintf(stderr, "screenshots: cannot enter %s\n", argv[1]);
        return 2;
    }
    // The game's log goes beside it, out of the build's way.
    FILE* report = fdopen(dup(2), "w");
    if (report == NULL || freopen("screenshots.log", "w", stdout) == NULL || dup2(fileno(stdout), 2) < 0) return 1;
    scripted_reset(shooter.input);
    shooter.input.on_wait = on_wait;
    shooter.input.on_delay = on_delay;
    shooter.last_frame = -1;
    platform_use_scripted(&shooter.input);
    char program[] = "abyssor";
    char* game_argv[] = {program, NULL};
    int status = game_main(1, game_argv);
    platform_use_scripted(NULL);
    if (status != 0 || shooter.saved != 5) {
        fprintf(report, "screenshots: the game ended with status %d after %d of 5 screenshots (its log: %s/screenshots.log)\n",
                status, shooter.saved, argv[1]);
        return 1;
    }
    fprintf(report, "screenshots: 5 written to %s\n", argv[2]);
    return 0;
}
