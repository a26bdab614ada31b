#include "design_sheet.h"

#include <math.h>

#include <algorithm>
#include <map>

// --- The arithmetic of the game ---------------------------------------------------

int held_fire_overheat_frames(const SheetWeapon& w, const SheetHeat& heat)
{
    // The button held on a point in reach: a volley whenever the weapon's
    // delay allows, every shell heating the gun before it is launched and
    // refused at the limit; the gun cools at the end of every frame.
    long long gun = 0, next_fire = 0, heat_at_last_volley = -1;
    for (long long frame = 0; frame < 1000000; frame++) {
        if (next_fire <= frame || next_fire == 0) {
            if (heat_at_last_volley >= 0 && gun <= heat_at_last_volley) return -1;  // no hotter than a volley ago: never
            heat_at_last_volley = gun;
            for (int shell = 0; shell < w.shells; shell++) {
                gun = std::min<long long>(gun + w.heat, heat.limit);
                if (gun >= heat.limit) return (int)frame;
            }
            next_fire = frame + w.delay;
        }
        gun = std::max<long long>(gun - heat.cooling, 0);
    }
    return -1;
}

std::string never_overheats_reason(const SheetWeapon& w, const SheetHeat& heat)
{
    int frames = std::max(w.delay, 1);
    char text[200];
    if (w.shells == 1)
        snprintf(text, sizeof text, "%d heat every %d frames, the gun cools %d in that time", w.heat, frames, heat.cooling * frames);
    else
        snprintf(text, sizeof text, "%d shells of %d heat every %d frames, the gun cools %d in that time", w.shells, w.heat, frames,
                 heat.cooling * frames);
    return text;
}

// The schedule draws i = interval_min + r mod (interval_max - interval_min)
// afresh every frame (r 0 ... 32767) and brings a creature once i is no
// more than the frames since the last one.
double mean_arrival_frames(int interval_min, int interval_max)
{
    int n = interval_max - interval_min;
    if (n <= 0) return interval_min;
    double waiting = 1, mean = 0;  // waiting: no arrival yet
    for (int k = 1; k <= interval_max; k++) {
        int m = k - interval_min;  // an arrival needs r mod n <= m
        double chance = 0;
        if (m >= n - 1) {
            chance = 1;
        } else if (m >= 0) {
            long long count = (32768 / n) * (long long)(m + 1) + std::min(32768 % n, m + 1);
            chance = count / 32768.0;
        }
        mean += k * waiting * chance;
        waiting *= 1 - chance;
    }
    return mean;
}

// --- Writing the sheet ----------------------------------------------------------------

namespace {

std::string seconds(double frames)
{
    char text[32];
    snprintf(text, sizeof text, "%.1f s", frames / FRAMES_PER_SECOND);
    return text;
}

std::string number(double value)
{
    char text[32];
    if (fabs(value - lround(value)) < 0.05)
        snprintf(text, sizeof text, "%ld", lround(value));
    else
        snprintf(text, sizeof text, "%.1f", value);
    return text;
}

int ceil_div(int a, int b)
{
    return b <= 0 ? 0 : (a + b - 1) / b;
}

double shells_a_second(const SheetWeapon& w)
{
    return (double)w.shells * FRAMES_PER_SECOND / std::max(w.delay, 1);
}

std::vector<const SheetWeapon*> gun_weapons(const SheetLevel& level)
{
    std::vector<const SheetWeapon*> guns;
    for (const SheetWeapon& w : level.weapons)
        if (w.typ == 0) guns.push_back(&w);
    return guns;
}

const SheetWeapon* weapon(const SheetLevel& level, int index)
{
    return index >= 0 && index < (int)level.weapons.size() ? &level.weapons[index] : nullptr;
}

// An enemy weapon of the level and who fires it.
struct EnemyWeapon {
    const SheetWeapon* weapon;
    std::string fired_by;
};

std::vector<EnemyWeapon> enemy_weapons(const SheetLevel& level)
{
    std::vector<EnemyWeapon> enemies;
    auto add = [&](int index, const std::string& by) {
        const SheetWeapon* w = weapon(level, index);
        if (w == nullptr) return;
        for (EnemyWeapon& e : enemies) {
            if (e.weapon != w) continue;
            e.fired_by += ", " + by;
            return;
        }
        enemies.push_back({w, by});
    };
    for (const SheetCreature& c : level.creatures) add(c.weapon, c.name);
    if (level.bomber_interval > 0) add(level.bomber_weapon, "bomber");
    return enemies;
}

// --- From level to level ------------------------------------------------------------

// One figure of a level, named so that the same figure of the next level is
// found: the direction says which way it may move (+1 up, -1 down).
struct Figure {
    double value;
    int direction;
    std::string text;  // e.g. "RYBA's rising speed"
};

void collect_figures(const SheetLevel& level, const SheetHeat& heat, std::map<std::string, Figure>* figures)
{
    auto put = [&](const std::string& key, double value, int direction, const std::string& text) {
        (*figures)[key] = Figure{value, direction, text};
    };
    for (const SheetWeapon* w : gun_weapons(level)) {
        int frames = held_fire_overheat_frames(*w, heat);
        put("heat " + w->name, frames < 0 ? 1e9 : frames, +1, w->name + "'s held fire to overheat");
        put("rate " + w->name, shells_a_second(*w), +1, w->name + "'s shells a second");
        put("dps " + w->name, shells_a_second(*w) * w->damage, +1, w->name + "'s damage a second");
    }
    std::vector<const SheetWeapon*> guns = gun_weapons(level);
    for (const SheetCreature& c : level.creatures) {
        put("count " + c.name, c.count, +1, "the number of " + c.name);
        for (const SheetWeapon* w : guns)
            put("shells " + c.name + " " + w->name, ceil_div(c.life, w->damage), +1, w->name + " shells a " + c.name + " takes");
        put("speed " + c.name, c.speed, +1, c.name + "'s speed on the surface");
        put("rise " + c.name, c.rise, +1, c.name + "'s rising speed");
        put("arrival " + c.name, mean_arrival_frames(c.interval_min, c.interval_max), -1, "the seconds between arrivals of " + c.name);
        if (weapon(level, c.weapon) != nullptr) put("fire " + c.name, 2400.0 / std::max(c.fire_delay, 1), +1, c.name + "'s shots a minute");
        put("ram " + c.name, c.ram, +1, c.name + "'s ram damage");
    }
    for (const EnemyWeapon& e : enemy_weapons(level)) {
        put("damage " + e.weapon->name, e.weapon->damage, +1, e.weapon->name + "'s damage");
        put("hits " + e.weapon->name, ceil_div(level.hull, e.weapon->damage), -1, "the hull in hits of " + e.weapon->name);
    }
    if (level.bomber_interval > 0) {
        put("bomber interval", level.bomber_interval, -1, "the seconds between bombers");
        put("bomber bombs", level.bomber_bombs, +1, "the bombs of a bomber's flight");
    }
    int total = 0;
    for (const SheetCreature& c : level.creatures) total += c.count;
    put("hull", level.hull, +1, "the hull");
    put("total", total, +1, "the creatures to destroy");
}

std::string shown(const std::string& key, double value)
{
    if (key.compare(0, 5, "heat ") == 0) return value >= 1e9 ? "never" : seconds(value);
    if (key.compare(0, 8, "arrival ") == 0 || key == "bomber interval") return seconds(value);
    return number(value);
}

// Figures of `later` that moved against their way from `earlier`.
void compare_levels(const SheetLevel& earlier, const SheetLevel& later, const SheetHeat& heat, std::vector<std::string>* against)
{
    std::map<std::string, Figure> before, after;
    collect_figures(earlier, heat, &before);
    collect_figures(later, heat, &after);
    for (const auto& entry : after) {
        auto found = before.find(entry.first);
        if (found == before.end()) continue;
        double was = found->second.value, now = entry.second.value;
        double change = (now - was) * entry.second.direction;
        if (change >= -1e-9) continue;
        against->push_back(later.dir + ": " + entry.second.text + (now < was ? " falls" : " rises") + " to " +
                         shown(entry.first, now) + " from " + shown(entry.first, was) + " on " + earlier.dir);
    }
}

// --- The tables of a level ----------------------------------------------------------

void write_guns(FILE* out, const SheetLevel& level, const SheetHeat& heat)
{
    fprintf(out, "| Gun weapon | Heat a volley | Held fire to overheat | Shells a second | Damage a second |\n");
    fprintf(out, "|---|---|---|---|---|\n");
    for (const SheetWeapon* w : gun_weapons(level)) {
        int frames = held_fire_overheat_frames(*w, heat);
        std::string hot = frames < 0 ? "never: " + never_overheats_reason(*w, heat) : seconds(frames);
        double rate = shells_a_second(*w);
        fprintf(out, "| %s | %d | %s | %s | %s |\n", w->name.c_str(), w->heat * w->shells, hot.c_str(), number(rate).c_str(),
                number(rate * w->damage).c_str());
    }
}

void write_creatures(FILE* out, const SheetLevel& level)
{
    std::vector<const SheetWeapon*> guns = gun_weapons(level);
    std::string names;
    for (const SheetWeapon* w : guns) names += (names.empty() ? "" : " / ") + w->name;
    fprintf(out, "| Creature | Count | Shells it takes (%s) | Surface speed (px/s) | Rising (depth/s) | Arrives every | Shots a minute | Shot damage | Ram damage |\n",
            names.c_str());
    fprintf(out, "|---|---|---|---|---|---|---|---|---|\n");
    for (const SheetCreature& c : level.creatures) {
        std::string shells;
        for (const SheetWeapon* w : guns) shells += (shells.empty() ? "" : " / ") + std::to_string(ceil_div(c.life, w->damage));
        const SheetWeapon* shot = weapon(level, c.weapon);
        std::string fire = shot ? number(2400.0 / std::max(c.fire_delay, 1)) : "-";
        std::string damage = shot ? std::to_string(shot->damage) : "-";
        fprintf(out, "| %s | %d | %s | %s | %d | %s | %s | %s | %d |\n", c.name.c_str(), c.count, shells.c_str(),
                number(c.speed * FRAMES_PER_SECOND).c_str(), c.rise * FRAMES_PER_SECOND,
                seconds(mean_arrival_frames(c.interval_min, c.interval_max)).c_str(), fire.c_str(), damage.c_str(), c.ram);
    }
}

void write_level(FILE* out, const SheetLevel& level, const SheetHeat& heat)
{
    int total = 0;
    for (const SheetCreature& c : level.creatures) total += c.count;
    fprintf(out, "## %s (code %s)\n\n", level.dir.c_str(), level.code.c_str());
    fprintf(out, "%d creatures to destroy. ", total);
    const SheetWeapon* bomb = weapon(level, level.bomber_weapon);
    if (level.bomber_interval > 0 && bomb != nullptr)
        fprintf(out, "The bomber comes every %s and drops up to %d bombs of %d.\n\n", seconds(level.bomber_interval).c_str(),
                level.bomber_bombs, bomb->damage);
    else
        fprintf(out, "No bomber comes.\n\n");
    write_guns(out, level, heat);
    fprintf(out, "\n");
    write_creatures(out, level);
    fprintf(out, "\nThe hull of %d hit points takes", level.hull);
    std::vector<EnemyWeapon> enemies = enemy_weapons(level);
    for (size_t i = 0; i < enemies.size(); i++) {
        const SheetWeapon* w = enemies[i].weapon;
        fprintf(out, "%s %d hits of %s (%d, %s)", i == 0 ? "" : (i + 1 == enemies.size() ? " and" : ","),
                ceil_div(level.hull, w->damage), w->name.c_str(), w->damage, enemies[i].fired_by.c_str());
    }
    if (enemies.empty()) fprintf(out, " no shot: only rams harm it");
    fprintf(out, ".\n\n");
}

}  // namespace

void write_design_sheet(FILE* out, const std::vector<SheetLevel>& levels, const SheetHeat& heat, std::vector<std::string>* against)
{
    fprintf(out, "# Level design sheet\n\n");
    fprintf(out, "Back to [making a level](making-a-level.md).\n\n");
    fprintf(out, "Generated by the data-set check from the scripts (`build/tools/abyssor_datacheck build/run --sheet FILE`);\n"
                 "the test `datacheck_design_sheet` fails when this file differs from what the scripts give. Figures are\n"
                 "worked out from the rules at 40 frames a second, not measured in play:\n\n");
    fprintf(out, "- held fire: the button held on a point in reach from a cold gun (limit %d, cooling %d a frame); it\n"
                 "  overheats when the gun first refuses a shell (the ready lamp is out and the warning sounds by then);\n",
             heat.limit, heat.cooling);
    fprintf(out, "- shells it takes: hit points over one shell's damage; arrivals: the mean time between two of a kind;\n"
                 "- shots a minute: creatures share one timer, so this is the most a kind fires when it fires alone;\n"
                 "- the hull in hits: how many shots of an enemy weapon sink a submarine at full hit points.\n\n");
    fprintf(out, "From one level to the next every figure of the same weapon or creature rises or holds, except three\n"
                 "that fall by design as the levels get harder: the seconds between arrivals (creatures come more\n"
                 "often), the seconds between bombers (they come more often) and the hull in hits (enemy weapons hit\n"
                 "harder than the hull grows).\n\n");
    for (const SheetLevel& level : levels) write_level(out, level, heat);
    against->clear();
    for (size_t i = 1; i < levels.size(); i++) compare_levels(levels[i - 1], levels[i], heat, against);
    fprintf(out, "## From level to level\n\n");
    if (against->empty()) fprintf(out, "Every figure follows its way from one level to the next.\n");
    for (const std::string& line : *against) fprintf(out, "- %s\n", line.c_str());
}
