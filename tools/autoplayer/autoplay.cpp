#include "autoplay.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "bonus.h"
#include "creatures.h"
#include "game_state.h"
#include "geometry.h"
#include "gun.h"
#include "human.h"
#include "level.h"
#include "main.h"
#include "menu.h"
#include "planes.h"
#include "platform.h"
#include "scripted_input.h"
#include "session.h"
#include "settings.h"
#include "submarine.h"
#include "topten.h"
#include "weapons.h"

// What the autoplayer does at the menu, one game or screen at a time.
enum MenuAction { ACTION_NEW_GAME, ACTION_CODE, ACTION_WRONG_CODE, ACTION_HELP, ACTION_TOP_TEN, ACTION_LEAVE };

// What the next wait for an event is, as far as the autoplayer knows.
enum Expect { EXPECT_MENU, EXPECT_SCREEN_KEY, EXPECT_ANNOUNCEMENT, EXPECT_LEVEL, EXPECT_NAME, EXPECT_CODE };

// The tour pauses and leaves its level at these frames.
static const int TOUR_PAUSE_FRAME = 40;
static const int TOUR_ESCAPE_FRAME = 160;
// Waits the autoplayer cannot place, in a row, before it closes the window.
static const int LOST_WAITS = 20;
// The pointer counts as on its target this close (pixels).
static const int AIM_SLACK = 6;
static const int MAX_ACTIONS = AUTOPLAY_MAX_LEVELS * 2 + 8;

struct Action {
    int kind;
    int level;  // the level a game starts at
};

struct Autoplayer {
    const AutoplayPlan* plan;
    AutoplayReport* report;
    ScriptedInput input;
    Action actions[MAX_ACTIONS];
    int action_count;
    int next_action;
    int expect;
    int lost_waits;
    // The game under way.
    int levels_to_win;     // left in this game before it is left
    int leave_next_level;  // Escape as soon as the announced level starts
    int playing_tour;
    // The level under way.
    int frames_seen;
    int escape_sent;
    int pause_sent;
    int last_life;
    int hits;
    int lamp_was_out;
    int lamp_outs;
    int speed_key_held;
    int button_held;       // SDL button number held, 0 for none
    const Action* code_action;  // the code screen shows: the word to type
};

static Autoplayer bot;

// --- Input as a player gives it --------------------------------------------

static void press(SDLKey key, Uint16 unicode)
{
    scripted_push_key(bot.input, key, 1, unicode);
}

static void release(SDLKey key)
{
    scripted_push_key(bot.input, key, 0, 0);
}

static void tap(SDLKey key, Uint16 unicode)
{
    press(key, unicode);
    release(key);
}

static void type_word(const char* word)
{
    for (const char* c = word; *c != 0; c++) {
        char letter = *c;
        SDLKey key = (SDLKey)(letter >= 'A' && letter <= 'Z' ? letter - 'A' + 'a' : letter);
        tap(key, (Uint16)(unsigned char)letter);
    }
    tap(SDLK_RETURN, 13);
}

static void release_button()
{
    if (bot.button_held == 0) return;
    scripted_push_button(bot.input, (Uint8)bot.button_held, 0);
    bot.button_held = 0;
}

static void hold_button(Uint8 button)
{
    scripted_push_button(bot.input, button, 1);
    bot.button_held = button;
}

static void move_pointer(int x, int y)
{
    release_button();
    scripted_push_motion(bot.input, x, y);
}

static void hold_speed_key(int hold)
{
    if (hold == bot.speed_key_held) return;
    scripted_push_key(bot.input, SDLK_RIGHT, hold, 0);
    bot.speed_key_held = hold;
}

// --- The plan --------------------------------------------------------------

static void add_action(int kind, int level)
{
    if (bot.action_count >= MAX_ACTIONS) return;
    bot.actions[bot.action_count].kind = kind;
    bot.actions[bot.action_count].level = level;
    bot.action_count++;
}

static void make_actions(const AutoplayPlan& plan)
{
    if (plan.tour) {
        add_action(ACTION_HELP, 0);
        add_action(ACTION_TOP_TEN, 0);
        add_action(ACTION_WRONG_CODE, 0);
        add_action(ACTION_CODE, levels.count > 1 ? 1 : 0);
    } else if (plan.each_level) {
        for (int level = 0; level < levels.count && level < AUTOPLAY_MAX_LEVELS; level++)
            if (plan.only_level < 0 || plan.only_level == level) add_action(level == 0 ? ACTION_NEW_GAME : ACTION_CODE, level);
    } else {
        add_action(ACTION_NEW_GAME, 0);
    }
    add_action(ACTION_LEAVE, 0);
}

// Down presses from the highlighted item to the wanted one (the menu wraps).
static void highlight_item(int item)
{
    int from = menu_script.highlighted >= 0 && menu_script.highlighted < MENU_ITEMS ? menu_script.highlighted : 0;
    for (int steps = (item - from + MENU_ITEMS) % MENU_ITEMS; steps > 0; steps--) tap(SDLK_DOWN, 0);
}

static void begin_game()
{
    bot.playing_tour = bot.plan->tour;
    bot.levels_to_win = bot.plan->each_level || bot.plan->tour ? 1 : bot.plan->levels;
    bot.leave_next_level = 0;
    bot.expect = EXPECT_ANNOUNCEMENT;
}

static void choose_menu_action()
{
    if (bot.next_action >= bot.action_count) {
        // Nothing planned is left: leave.
        highlight_item(ITEM_LEAVE);
        tap(SDLK_RETURN, 13);
        return;
    }
    const Action& action = bot.actions[bot.next_action++];
    switch (action.kind) {
    case ACTION_NEW_GAME:
        highlight_item(ITEM_NEW_GAME);
        tap(SDLK_RETURN, 13);
        begin_game();
        break;
    case ACTION_CODE:
    case ACTION_WRONG_CODE:
        highlight_item(ITEM_LEVEL_CODE);
        tap(SDLK_RETURN, 13);
        bot.code_action = &action;  // typed once the code screen shows
        bot.expect = EXPECT_CODE;
        break;
    case ACTION_HELP:
        highlight_item(ITEM_HELP);
        tap(SDLK_RETURN, 13);
        bot.expect = EXPECT_SCREEN_KEY;
        break;
    case ACTION_TOP_TEN:
        highlight_item(ITEM_TOP_TEN);
        tap(SDLK_RETURN, 13);
        bot.expect = EXPECT_SCREEN_KEY;
        break;
    default:
        highlight_item(ITEM_LEAVE);
        tap(SDLK_RETURN, 13);
        break;
    }
}

// A player types once the screen shows: what comes before it is no answer.
static void type_code()
{
    if (bot.code_action->kind == ACTION_CODE) {
        type_word(levels.entries[bot.code_action->level].code);
        begin_game();
    } else {
        type_word("ZZZ");
        bot.expect = EXPECT_MENU;
    }
}

// --- A level ---------------------------------------------------------------

static void start_level()
{
    bot.expect = EXPECT_LEVEL;
    bot.frames_seen = session_frames_shown();
    bot.escape_sent = 0;
    bot.pause_sent = 0;
    bot.hits = 0;
    bot.last_life = -1;
    bot.lamp_was_out = 0;
    bot.lamp_outs = 0;
    if (bot.plan->human) human_begin_level(bot.input);
}

double flat_distance(double x, double y)
{
    double dx = submarine.exact_x - x;
    double dy = (submarine.exact_y - y) / FLATTEN;
    return sqrt(dx * dx + dy * dy);
}

// Frames a shell of the weapon takes to cover the distance, launch frame
// included.
static int flight_frames(const WeaponDef& w, double distance)
{
    double speed = w.rychlost_vystreleni;
    double top = (double)w.maximalni_rychlost + bonus_effects.rychlost;
    double covered = 0;
    int frames = 1;
    while (covered < distance && frames < 400) {
        speed += w.zrychleni;
        if (speed > top) speed = top;
        if (speed <= 0) return 400;
        covered += speed;
        frames++;
    }
    return frames;
}

static int can_be_hit(const Creature& creature)
{
    return creature.active == 1 && creature.explosion_frame == -1 && creature.depth >= 0 && creature.type >= 0
           && creature.type < CREATURE_TYPE_CAPACITY;
}

// Where the creature will be when a shell fired now comes down.
static void lead_target(const Creature& creature, const WeaponDef& w, double* x, double* y)
{
    *x = creature.exact_x;
    *y = creature.exact_y;
    if (creature.depth > 0) return;  // still rising: it stays where it is
    for (int pass = 0; pass < 3; pass++) {
        int frames = flight_frames(w, flat_distance(*x, *y));
        *x = creature.exact_x + creature.vx * frames;
        *y = creature.exact_y + creature.vy * frames;
    }
}

static void consider(AimTarget& target, double x, double y, double priority, int slot)
{
    if (target.found && priority >= target.priority) return;
    target.found = 1;
    target.x = x;
    target.y = y;
    target.priority = priority;
    target.slot = slot;
}

// Bonuses in reach first, then the creature nearest the submarine; out of
// reach, the nearest creature, so the pointer waits where it will come.
AimTarget choose_target(const WeaponDef& w, double reach, SeenTest seen)
{
    AimTarget target;
    memset(&target, 0, sizeof target);
    for (int i = 0; i < BONUS_SLOTS; i++) {
        const Bonus& bonus = bonuses[i];
        if (!bonus.active || bonus.collected || (seen != NULL && !seen(0, i))) continue;
        double distance = flat_distance(bonus.x, bonus.y);
        if (distance < reach) consider(target, bonus.x, bonus.y, distance - 10000, i);
    }
    for (int i = 0; i < CREATURE_CAPACITY; i++) {
        const Creature& creature = creatures[i];
        if (!can_be_hit(creature) || (seen != NULL && !seen(1, i))) continue;
        double x, y;
        lead_target(creature, w, &x, &y);
        double distance = flat_distance(x, y);
        double now = flat_distance(creature.exact_x, creature.exact_y);
        if (creature.depth == 0 && now < DANGER_DISTANCE) target.danger = 1;
        if (distance < reach) {
            target.crowd += 1;
            consider(target, x, y, distance, BONUS_SLOTS + i);
        } else {
            consider(target, x, y, distance + 5000, BONUS_SLOTS + i);
        }
    }
    return target;
}

static int gun_ready(const WeaponDef& w)
{
    int weapon = submarine.weapon;
    if (weapon < 0 || weapon >= WEAPON_CAPACITY) return 0;
    if (submarine.next_fire[weapon] > game.frame && submarine.next_fire[weapon] != 0) return 0;
    long long shells = (long long)w.pocet_strel_na_vystrel + bonus_effects.pocet_strel;
    return (long long)GunHeat + (long long)w.zahrivani * shells < settings.max_teplota;
}

static int pointer_on(double x, double y)
{
    return fabs(game.mouse_x - x) <= AIM_SLACK && fabs(game.mouse_y - y) <= AIM_SLACK;
}

int support_available()
{
    return game.laser_energy > 0 && !planes[SUPPORT_PLANE_SLOT].active;
}

// The moves of the next frame.
static void decide_moves()
{
    const WeaponDef& w = weapon_at(submarine.weapon);
    double reach = (double)w.dostrel + bonus_effects.dostrel - 3;
    AimTarget target = choose_target(w, reach, NULL);
    hold_speed_key(target.danger);
    if (!target.found) {
        release_button();
        return;
    }
    int in_reach = target.priority < 5000;
    if (!pointer_on(target.x, target.y)) {
        move_pointer(truncate_to_int(target.x), truncate_to_int(target.y));
        return;
    }
    int crowd = target.crowd;
    int support = support_available() && in_reach && (crowd >= SUPPORT_CROWD || (target.danger && crowd >= 1));
    if (support && flat_distance(target.x, target.y) >= SUPPORT_CLOSE / 3) {
        release_button();
        hold_button(SDL_BUTTON_RIGHT);
    } else if (in_reach && gun_ready(w)) {
        if (bot.button_held != SDL_BUTTON_LEFT) {
            release_button();
            hold_button(SDL_BUTTON_LEFT);
        }
    } else {
        release_button();
    }
}

static void let_go()
{
    release_button();
    hold_speed_key(0);
    if (bot.plan->human) human_let_go(bot.input);
}

static int level_frame_limit()
{
    if (bot.playing_tour) return TOUR_ESCAPE_FRAME;
    return bot.plan->frame_limit;
}

int lamp_lit(const WeaponDef& w)
{
    return (long long)GunHeat + w.zahrivani < settings.max_teplota;
}

static void after_frame()
{
    if (bot.last_life >= 0 && submarine.zivoty < bot.last_life) bot.hits++;
    bot.last_life = submarine.zivoty;
    int lamp_out = !lamp_lit(weapon_at(submarine.weapon));
    if (lamp_out && !bot.lamp_was_out) bot.lamp_outs++;
    bot.lamp_was_out = lamp_out;
    if (bot.escape_sent) return;
    if (bot.leave_next_level || game.frame >= level_frame_limit()) {
        let_go();
        press(SDLK_ESCAPE, 27);
        bot.escape_sent = 1;
        return;
    }
    if (bot.playing_tour && !bot.pause_sent && game.frame == TOUR_PAUSE_FRAME) {
        press(SDLK_p, 'p');
        bot.pause_sent = 1;
        return;
    }
    if (bot.plan->human)
        human_after_frame(bot.input);
    else
        decide_moves();
}

static void note_level_end()
{
    if (bot.leave_next_level) return;  // a level only entered to leave the game
    AutoplayReport& report = *bot.report;
    if (report.count >= AUTOPLAY_MAX_LEVELS) return;
    LevelSummary& summary = report.levels[report.count++];
    summary.level = game.level_index;
    summary.frames = game.frame;
    summary.score = game.score;
    summary.hits = bot.hits;
    summary.lamp_outs = bot.lamp_outs;
    if (bot.escape_sent)
        summary.outcome = OUTCOME_GIVEN_UP;
    else if (submarine.active == 0)
        summary.outcome = OUTCOME_LOST;
    else
        summary.outcome = OUTCOME_WON;
}

// The level's end screen waits: note the level, let go of everything and
// answer the screen.
static void level_ended()
{
    note_level_end();
    int won = !bot.escape_sent && submarine.active != 0;
    if (bot.escape_sent) release(SDLK_ESCAPE);
    let_go();
    press(SDLK_SPACE, ' ');
    if (won && game.level_index + 1 < levels.count) {
        bot.levels_to_win--;
        bot.leave_next_level = bot.levels_to_win <= 0;
        bot.expect = EXPECT_ANNOUNCEMENT;
    } else {
        bot.expect = topten_qualifies(game.score) ? EXPECT_NAME : EXPECT_MENU;
        if (bot.expect == EXPECT_MENU) release(SDLK_SPACE);
    }
}

static void pause_screen()
{
    // The press that paused is let go, and a second press ends the pause.
    release(SDLK_p);
    tap(SDLK_p, 'p');
    bot.pause_sent = 2;
}

// --- The hooks -------------------------------------------------------------

static void on_wait(ScriptedInput& input, void*)
{
    if (input.count > 0) return;  // what was queued before answers this wait
    int placed = 1;
    switch (bot.expect) {
    case EXPECT_MENU:
        choose_menu_action();
        break;
    case EXPECT_SCREEN_KEY:
        tap(SDLK_SPACE, ' ');
        bot.expect = EXPECT_MENU;
        break;
    case EXPECT_ANNOUNCEMENT:
        press(SDLK_SPACE, ' ');
        release(SDLK_SPACE);
        start_level();
        break;
    case EXPECT_LEVEL:
        if (bot.pause_sent == 1)
            pause_screen();
        else
            level_ended();
        break;
    case EXPECT_NAME:
        release(SDLK_SPACE);  // the event the name entry waits for
        type_word(bot.plan->name);
        bot.expect = EXPECT_MENU;
        break;
    case EXPECT_CODE:
        type_code();
        break;
    default:
        placed = 0;
        break;
    }
    bot.lost_waits = placed ? 0 : bot.lost_waits + 1;
    // A screen the autoplayer does not know: close the window rather than
    // wait for ever.
    if (!placed && bot.lost_waits > LOST_WAITS) scripted_push_quit(input);
}

static void on_delay(ScriptedInput&, Uint32, void*)
{
    if (bot.expect != EXPECT_LEVEL) return;
    int shown = session_frames_shown();
    if (shown == bot.frames_seen) return;  // a delay outside the frames (loading, pause)
    bot.frames_seen = shown;
    after_frame();
}

// --- The session -------------------------------------------------------------

void autoplay_default_plan(AutoplayPlan& plan)
{
    memset(&plan, 0, sizeof plan);
    plan.levels = 1;
    plan.only_level = -1;
    plan.seed = 1;
    plan.skill = HUMAN_SKILLS;
    plan.frame_limit = 20000;
    snprintf(plan.name, sizeof plan.name, "%s", "Automat");
}

// The catalogue is read by the game's start-up; the menu plan needs it, so it
// is made at the first wait, when start-up is over.
static void on_first_wait(ScriptedInput& input, void* user)
{
    make_actions(*bot.plan);
    input.on_wait = on_wait;
    on_wait(input, user);
}

int autoplay_session(const AutoplayPlan& plan, AutoplayReport& report)
{
    memset(&bot, 0, sizeof bot);
    memset(&report, 0, sizeof report);
    bot.plan = &plan;
    bot.report = &report;
    bot.expect = EXPECT_MENU;
    scripted_reset(bot.input);
    bot.input.on_wait = on_first_wait;
    bot.input.on_delay = on_delay;
    if (plan.human) human_begin_game(plan.seed, plan.skill);
    platform_use_scripted(&bot.input);
    char program[] = "abyssor";
    char* argv[] = {program, NULL};
    report.game_status = game_main(1, argv);
    platform_use_scripted(NULL);
    return report.game_status;
}

static const char* outcome_name(int outcome)
{
    switch (outcome) {
    case OUTCOME_WON: return "won";
    case OUTCOME_LOST: return "lost";
    case OUTCOME_GIVEN_UP: return "given up";
    default: return "not played";
    }
}

void autoplay_print_report(const AutoplayReport& report, FILE* out)
{
    for (int i = 0; i < report.count; i++) {
        const LevelSummary& s = report.levels[i];
        const char* dir = s.level >= 0 && s.level < levels.count ? levels.entries[s.level].dir : "?";
        fprintf(out, "autoplayer: level %d (%s): %s, %d frames, score %d, hits taken %d\n", s.level + 1, dir,
                outcome_name(s.outcome), s.frames, s.score, s.hits);
    }
    if (report.count == 0) fprintf(out, "autoplayer: no level was played\n");
}

int autoplay_all_won(const AutoplayPlan& plan, const AutoplayReport& report)
{
    if (plan.tour) return report.count == 1 && report.levels[0].outcome == OUTCOME_GIVEN_UP;
    if (report.count == 0) return 0;
    for (int i = 0; i < report.count; i++)
        if (report.levels[i].outcome != OUTCOME_WON) return 0;
    if (plan.each_level) return report.count == levels.count;
    return report.count >= plan.levels || report.levels[report.count - 1].level + 1 == levels.count;
}

// --- The human-like player's games ---------------------------------------------

static int compare_ints(const void* a, const void* b)
{
    int x = *(const int*)a, y = *(const int*)b;
    return x < y ? -1 : (x > y ? 1 : 0);
}

// The middle value; of an even count, the mean of the two middle ones.
static int median(int* values, int n)
{
    if (n <= 0) return 0;
    qsort(values, (size_t)n, sizeof *values, compare_ints);
    return n % 2 == 1 ? values[n / 2] : (int)(((long long)values[n / 2 - 1] + values[n / 2]) / 2);
}

int autoplay_human_games(const AutoplayPlan& base, int games, FILE* out)
{
    static AutoplayReport report;
    static int scores[AUTOPLAY_MAX_GAMES], hits[AUTOPLAY_MAX_GAMES];
    if (games > AUTOPLAY_MAX_GAMES) games = AUTOPLAY_MAX_GAMES;
    int status = 0;
    int level_count = base.only_level >= 0 ? base.only_level + 1 : 1;  // known after the first game
    for (int level = base.only_level >= 0 ? base.only_level : 0; level < level_count; level++) {
        char name[LEVEL_DIR_SIZE] = "?";
        int won = 0;
        for (int game_number = 1; game_number <= games; game_number++) {
            AutoplayPlan plan = base;
            plan.each_level = 1;
            plan.only_level = level;
            plan.seed = base.seed + (unsigned)(game_number - 1);
            // Every game in a program of its own, as a player starts it.
            reset_game_globals();
            if (autoplay_session(plan, report) != 0) status = 1;
            if (base.only_level < 0) level_count = levels.count;
            if (level < levels.count) snprintf(name, sizeof name, "%s", levels.entries[level].dir);
            LevelSummary s;
            memset(&s, 0, sizeof s);
            if (report.count > 0) s = report.levels[0];
            won += s.outcome == OUTCOME_WON;
            scores[game_number - 1] = s.score;
            hits[game_number - 1] = s.hits;
            fprintf(out,
                    "autoplayer: level %d (%s): human-like game %d: %s, %d frames, score %d, hits taken %d, lamp out %d "
                    "times\n",
                    level + 1, name, game_number, outcome_name(s.outcome), s.frames, s.score, s.hits, s.lamp_outs);
        }
        fprintf(out, "autoplayer: level %d (%s): human-like, skill %d, won %d of %d, median score %d, median hits taken %d\n",
                level + 1, name, base.skill, won, games, median(scores, games), median(hits, games));
        fflush(out);
    }
    return status;
}
