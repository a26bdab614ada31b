#include "weapons.h"

WeaponCatalogue weapon_catalogue;

// Filled by the weapon catalogue's own work; until then no level has weapons.
void load_weapons(const char*) {}
void free_weapons() {}

const WeaponDef& weapon_at(int index)
{
    static WeaponDef no_weapon;
    if (index < 0 || index >= WEAPON_CAPACITY) return no_weapon;
    return weapon_catalogue.weapons[index];
}
