#include "human.h"

#include <math.h>
#include <string.h>

#include "autoplay.h"
#include "bonus.h"
#include "creatures.h"
#include "game_state.h"
#include "geometry.h"
#include "submarine.h"
#include "weapons.h"

// Reaction / scatter / pointer / press gap / lead error / key gap. Skill 5 is
// a quick player: 300 ms to react, four presses a second; skill 1 is slower
// in everything and misjudges a creature's lead by up to 30 %.
static const HumanSkill SKILLS[HUMAN_SKILLS] = {
    {20, 20, 28, 14, 0.30, 28},
    {18, 18, 32, 13, 0.25, 26},
    {16, 16, 35, 12, 0.20, 24},
    {14, 14, 38, 11, 0.10, 22},
    {12, 12, 40, 10, 0.0, 20},
};

const HumanSkill& human_skill(int skill)
{
    if (skill < 1) skill = 1;
    if (skill > HUMAN_SKILLS) skill = HUMAN_SKILLS;
    return SKILLS[skill - 1];
}

struct HumanPlayer {
    const HumanSkill* skill;
    unsigned long long random_state;
    int creature_seen[CREATURE_CAPACITY];  // frame it was first seen, -1 none
    int bonus_seen[BONUS_SLOTS];
    int danger_since;   // frame the present danger began, -1 none
    int pointer_x, pointer_y;
    int target_slot;    // what the aim is on, -1 nothing
    double offset_x, offset_y;  // where in the scatter disc the next click lands
    double lead_factor;         // how far it misjudges the present target's lead
    int button;         // SDL button held, 0 none
    int hold_left;      // frames it is still held
    int last_press, last_support, last_key;  // frames of the last of each
    int faster;         // Right arrow held
};

static HumanPlayer human;

// The player's own generator (64-bit linear congruential), so that its
// scatter never touches the game's sequence.
static double uniform()
{
    human.random_state = human.random_state * 6364136223846793005ULL + 1442695040888963407ULL;
    return (double)(human.random_state >> 11) * (1.0 / 9007199254740992.0);
}

static void new_scatter()
{
    double r = human.skill->aim_scatter * sqrt(uniform());  // uniform over the disc, not the radius
    double a = 2 * M_PI * uniform();
    human.offset_x = r * cos(a);
    human.offset_y = r * sin(a);
}

// A skill that judges leads exactly draws nothing for it, so its sequence of
// draws is that of the player before the ladder.
static void new_lead_factor()
{
    double e = human.skill->lead_error;
    human.lead_factor = e > 0 ? 1 + e * (2 * uniform() - 1) : 1;
}

void human_begin_game(unsigned seed, int skill)
{
    human.skill = &human_skill(skill);
    human.random_state = seed;
    uniform();
}

void human_begin_level(const ScriptedInput& input)
{
    unsigned long long random_state = human.random_state;
    const HumanSkill* skill = human.skill;
    memset(&human, 0, sizeof human);
    human.random_state = random_state;
    human.skill = skill;
    human.lead_factor = 1;
    for (int i = 0; i < CREATURE_CAPACITY; i++) human.creature_seen[i] = -1;
    for (int i = 0; i < BONUS_SLOTS; i++) human.bonus_seen[i] = -1;
    human.danger_since = -1;
    human.pointer_x = input.mouse_x;
    human.pointer_y = input.mouse_y;
    human.target_slot = -1;
    human.last_press = human.last_support = human.last_key = -1000000;
    new_scatter();
}

// --- What it sees ---------------------------------------------------------------

static void note_appearance(int* seen, int present)
{
    if (!present)
        *seen = -1;
    else if (*seen < 0)
        *seen = game.frame;
}

static void look()
{
    for (int i = 0; i < CREATURE_CAPACITY; i++) note_appearance(&human.creature_seen[i], creatures[i].active == 1);
    for (int i = 0; i < BONUS_SLOTS; i++)
        note_appearance(&human.bonus_seen[i], bonuses[i].active == 1 && bonuses[i].collected == 0);
}

static int reacted(int since)
{
    return since >= 0 && game.frame - since >= human.skill->reaction_frames;
}

static int seen_long_enough(int creature, int i)
{
    return reacted(creature ? human.creature_seen[i] : human.bonus_seen[i]);
}

// --- Hands ------------------------------------------------------------------------

static void let_go_of_button(ScriptedInput& input)
{
    if (human.button == 0) return;
    scripted_push_button(input, (Uint8)human.button, 0);
    human.button = 0;
    human.hold_left = 0;
}

static void hold_faster(ScriptedInput& input, int faster)
{
    if (faster == human.faster || game.frame - human.last_key < human.skill->key_gap) return;
    scripted_push_key(input, SDLK_RIGHT, faster, 0);
    human.faster = faster;
    human.last_key = game.frame;
}

// The pointer's next place: a step of at most the skill's pointer step toward
// the point. Returns 1 when it moves.
static int step_toward(double x, double y, int* next_x, int* next_y)
{
    int tx = (int)lround(x), ty = (int)lround(y);
    tx = tx < 0 ? 0 : (tx > SCREEN_WIDTH - 1 ? SCREEN_WIDTH - 1 : tx);
    ty = ty < 0 ? 0 : (ty > SCREEN_HEIGHT - 1 ? SCREEN_HEIGHT - 1 : ty);
    double dx = tx - human.pointer_x, dy = ty - human.pointer_y;
    double length = sqrt(dx * dx + dy * dy);
    int step = human.skill->pointer_step;
    if (length > step) {
        tx = human.pointer_x + (int)(dx * step / length);
        ty = human.pointer_y + (int)(dy * step / length);
    }
    *next_x = tx;
    *next_y = ty;
    return tx != human.pointer_x || ty != human.pointer_y;
}

static void move_pointer(ScriptedInput& input, int x, int y)
{
    human.pointer_x = x;
    human.pointer_y = y;
    scripted_push_motion(input, x, y);
}

// --- Decisions ----------------------------------------------------------------------

// What the crosshair shows: a pointer at (x, y) within the selected weapon's
// reach.
static int crosshair_in_reach(const WeaponDef& w, int x, int y)
{
    double dx = (double)submarine.x - x;
    double dy = trunc(((double)submarine.y - y) / FLATTEN);
    return trunc(sqrt(dx * dx + dy * dy)) <= (double)w.dostrel + bonus_effects.dostrel;
}

static int danger_felt(int danger)
{
    if (!danger)
        human.danger_since = -1;
    else if (human.danger_since < 0)
        human.danger_since = game.frame;
    return reacted(human.danger_since);
}

// The button it presses with the pointer at (x, y), 0 for none.
static Uint8 choose_press(const AimTarget& target, const WeaponDef& w, int x, int y)
{
    if (human.button != 0 || game.frame - human.last_press < human.skill->press_gap) return 0;
    int in_reach = target.priority < 5000 && crosshair_in_reach(w, x, y);
    if (!in_reach) return 0;
    int support = support_available() && game.frame - human.last_support >= HUMAN_SUPPORT_GAP
                  && (target.crowd >= SUPPORT_CROWD || (human.faster && target.crowd >= 1))
                  && flat_distance(target.x, target.y) >= SUPPORT_CLOSE / 3;
    if (support) return SDL_BUTTON_RIGHT;
    return lamp_lit(w) ? SDL_BUTTON_LEFT : 0;
}

static void press(ScriptedInput& input, Uint8 button)
{
    scripted_push_button(input, button, 1);
    human.button = button;
    human.hold_left = HUMAN_PRESS_HOLD;
    human.last_press = game.frame;
    if (button == SDL_BUTTON_RIGHT) human.last_support = game.frame;
    new_scatter();  // the next click lands elsewhere in the disc
}

void human_after_frame(ScriptedInput& input)
{
    look();
    if (human.button != 0 && --human.hold_left <= 0) let_go_of_button(input);
    const WeaponDef& w = weapon_at(submarine.weapon);
    double reach = (double)w.dostrel + bonus_effects.dostrel;
    AimTarget target = choose_target(w, reach, seen_long_enough);
    hold_faster(input, danger_felt(target.danger));
    if (!target.found) return;
    if (target.slot != human.target_slot) {
        human.target_slot = target.slot;
        new_scatter();
        new_lead_factor();
    }
    double x = target.x, y = target.y;
    if (target.slot >= BONUS_SLOTS && human.lead_factor != 1) {
        // The lead is what the aim adds to where the creature is now.
        const Creature& creature = creatures[target.slot - BONUS_SLOTS];
        x = creature.exact_x + (x - creature.exact_x) * human.lead_factor;
        y = creature.exact_y + (y - creature.exact_y) * human.lead_factor;
    }
    x += human.offset_x;
    y += human.offset_y;
    int next_x, next_y;
    int moves = step_toward(x, y, &next_x, &next_y);
    int arrives = fabs(next_x - x) <= 1 && fabs(next_y - y) <= 1;
    Uint8 button = arrives ? choose_press(target, w, next_x, next_y) : 0;
    // A press while the hand moves falls anywhere within the frame's motion.
    int press_first = button != 0 && moves && uniform() < 0.5;
    if (press_first) press(input, button);
    if (moves) move_pointer(input, next_x, next_y);
    if (button != 0 && !press_first) press(input, button);
}

void human_let_go(ScriptedInput& input)
{
    let_go_of_button(input);
    if (human.faster) scripted_push_key(input, SDLK_RIGHT, 0, 0);
    human.faster = 0;
}
