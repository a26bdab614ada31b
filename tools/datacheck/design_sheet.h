#ifndef DATACHECK_DESIGN_SHEET_H
#define DATACHECK_DESIGN_SHEET_H

#include <stdio.h>

#include <string>
#include <vector>

// The figures a level designer balances with, derived from the scripts as
// the game plays them (40 frames a second).

struct SheetWeapon {
    std::string name;  // the word behind the record's star
    int typ = 0, heat = 0, delay = 0, shells = 1, damage = 0;
};

struct SheetCreature {
    std::string name;  // the word of the record's marker, brackets dropped
    float speed = 0;
    int rise = 0, life = 0, interval_min = 0, interval_max = 0, weapon = -1, fire_delay = 0, ram = 0, count = 0;
};

struct SheetLevel {
    std::string dir, code;
    int hull = 0;
    int bomber_interval = 0, bomber_weapon = -1, bomber_bombs = 0;  // no bomber flies while the interval is 0
    std::vector<SheetWeapon> weapons;
    std::vector<SheetCreature> creatures;
};

struct SheetHeat {
    int limit = 0, cooling = 0;
};

const int FRAMES_PER_SECOND = 40;

// Frames of held fire, from a cold gun, until the gun first refuses a shell
// of the weapon; -1 when it never does.
int held_fire_overheat_frames(const SheetWeapon& w, const SheetHeat& heat);
// The mean number of frames between two arrivals of a creature kind.
double mean_arrival_frames(int interval_min, int interval_max);
// Why held fire never overheats the gun, for the sheet and the check.
std::string never_overheats_reason(const SheetWeapon& w, const SheetHeat& heat);

// The sheet in Markdown. Every figure has its way from one level to the next:
// most rise or hold, three fall or hold by design (the seconds between
// arrivals and between bombers, the hull in hits). Figures that go against
// their way are listed at the sheet's end and returned in `against` for the
// check to report.
void write_design_sheet(FILE* out, const std::vector<SheetLevel>& levels, const SheetHeat& heat,
                        std::vector<std::string>* against);

#endif
