// Checks the game's data set as the game will read it: every script under
// SCRIPT/ is read with the game's own script reader and the same key rules
// as its loaders, and every value is held against what the game needs of
// it: files that exist and load, frame counts that fit their pictures,
// indices inside their tables, ranges that are not empty, layouts that fit
// the screen. Run in the game's working directory (the run folder).
//
// Usage: abyssor_datacheck <run folder> [<high-score table>] [--sheet FILE]
//
// The run folder's high-score table is the player's once the game has been
// played; the table the data set ships (in the source tree) may be named
// instead. With --sheet it also writes the level design sheet, the figures
// a designer balances the levels with (design_sheet.h).

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "design_sheet.h"
#include "media_check.h"
#include "report.h"
#include "script.h"
#include "topten.h"

namespace {

const int SCREEN_W = 640, SCREEN_H = 480;

Report report;
std::vector<int> menu_font;  // glyph advances of the menu font
int menu_font_height = 0;

// --- Reading scripts the way the game does -------------------------------------

struct Script {
    std::string path;
    ScriptReader reader;
    bool open = false;
    explicit Script(const std::string& p) : path(p)
    {
        open = script_open(reader, p.c_str()) == 1;
        if (!open) report.fail(p, "cannot be opened");
    }
    ~Script()
    {
        if (open) script_close(reader);
    }
    bool word(std::string& out)
    {
        char buffer[SCRIPT_WORD_SIZE];
        if (script_word(reader, buffer, sizeof buffer) == SCRIPT_EOF) return false;
        if (strlen(buffer) >= SCRIPT_WORD_SIZE - 1) report.fail(path, "word %s... is longer than 198 characters", buffer);
        out = buffer;
        return true;
    }
    // A number after a key. Only a word that is exactly the key must be
    // followed by one: a longer key that holds this one (pocet_snimku
    // holding pocet) fires it too, and the game expects that to fail.
    bool integer(const std::string& word, const char* key, int* value)
    {
        int got = script_int(reader, value);
        if (got != 1 && word == key) report.fail(path, "key %s is not followed by a whole number", key);
        return got == 1;
    }
    bool real(const std::string& word, const char* key, float* value)
    {
        int got = script_float(reader, value);
        if (got != 1 && word == key) report.fail(path, "key %s is not followed by a number", key);
        return got == 1;
    }
    std::string name(const char* key)
    {
        std::string w;
        if (!word(w)) report.fail(path, "key %s is the last word, its file name is missing", key);
        return w;
    }
};

bool has(const std::string& word, const char* key)
{
    return word_has(word.c_str(), key);
}

// Remarks may stand between entries, but a word that holds a key acts as
// that key: every word holding a key must be exactly that key, or a record
// marker with a free name behind it.
void remark_rule(const std::string& path, const std::string& word, const std::vector<const char*>& keys,
                 const char* marker)
{
    bool holds = false, exact = false;
    for (const char* k : keys) {
        if (!has(word, k)) continue;
        holds = true;
        exact = exact || word == k;
    }
    bool marked = marker != NULL && has(word, marker);
    if (marked) {
        for (const char* k : keys) {
            if (has(word, k) && strcmp(k, marker) != 0) report.fail(path, "record marker %s also holds the key %s", word.c_str(), k);
        }
        return;
    }
    if (holds && !exact) report.fail(path, "the word %s holds a key but is not one: it would act as that key", word.c_str());
}

// The name a record's marker gives it: "*KANON" and "[*RYBA]" name KANON
// and RYBA.
std::string marker_name(const std::string& word)
{
    std::string name;
    for (char c : word)
        if (c != '*' && c != '[' && c != ']') name += c;
    return name;
}

bool is_null(const std::string& name)
{
    return name.find("NULL") != std::string::npos;
}

bool divides_360(int frames)
{
    return frames >= 1 && frames <= 360 && 360 % frames == 0;
}

void sound_or_null(const std::string& where, const std::string& name)
{
    if (!is_null(name)) sound_file(report, where, name);
}

// --- SCRIPT/misc.scr --------------------------------------------------------------

struct Settings {
    int max_teplota = 0, chlazeni = 0, laser = 0;
    float odpor_vzduchu = 1;
};

Settings check_settings()
{
    Settings s;
    const std::string path = "SCRIPT/misc.scr";
    Script f(path);
    const std::vector<const char*> keys = {"max_teplota", "chlazeni", "zivot_bonusu", "odpor_vzduchu", "laser", "efekt01", "efekt02", "sound"};
    std::map<std::string, float> values;
    std::string w;
    while (f.open && f.word(w)) {
        remark_rule(path, w, keys, NULL);
        for (const char* k : keys) {
            if (!has(w, k)) continue;
            if (strcmp(k, "odpor_vzduchu") == 0) {
                float v;
                if (f.real(w, k, &v)) values[k] = v;
            } else {
                int v;
                if (f.integer(w, k, &v)) values[k] = (float)v;
            }
        }
    }
    for (const char* k : keys) {
        if (!values.count(k)) report.fail(path, "key %s is missing", k);
    }
    if (values["max_teplota"] <= 0) report.fail(path, "max_teplota must be positive");
    if (values["chlazeni"] <= 0) report.fail(path, "chlazeni must be positive, or the gun never cools");
    if (values["zivot_bonusu"] <= 0) report.fail(path, "zivot_bonusu must be positive");
    if (values["odpor_vzduchu"] <= 0 || values["odpor_vzduchu"] > 1) report.fail(path, "odpor_vzduchu must lie in (0, 1]");
    if (values["laser"] < 0) report.fail(path, "laser must not be negative");
    for (const char* k : {"efekt01", "efekt02", "sound"}) {
        if (values[k] != 0 && values[k] != 1) report.fail(path, "%s must be 0 or 1", k);
    }
    s.max_teplota = (int)values["max_teplota"];
    s.chlazeni = (int)values["chlazeni"];
    s.laser = (int)values["laser"];
    s.odpor_vzduchu = values["odpor_vzduchu"];
    return s;
}

// --- SCRIPT/levels.scr --------------------------------------------------------------

struct Level {
    std::string dir, code;
    int credit = 0;
};

std::vector<Level> check_levels()
{
    std::vector<Level> levels;
    const std::string path = "SCRIPT/levels.scr";
    Script f(path);
    while (f.open) {
        Level l;
        if (!f.word(l.dir)) break;
        if (!f.word(l.code)) {
            report.fail(path, "entry %s has no code word", l.dir.c_str());
            break;
        }
        if (script_int(f.reader, &l.credit) != 1) report.fail(path, "entry %s has no credit", l.dir.c_str());
        levels.push_back(l);
    }
    if (levels.empty()) report.fail(path, "holds no level");
    if (levels.size() > 100) report.fail(path, "holds %zu levels, the catalogue takes 100", levels.size());
    std::set<std::string> codes;
    for (size_t i = 0; i < levels.size(); i++) {
        const Level& l = levels[i];
        if (l.code.size() > 31) report.fail(path, "code %s is longer than 31 characters", l.code.c_str());
        for (unsigned char c : l.code) {
            if (c < 33 || c > 126) report.fail(path, "code %s is not printable ASCII", l.code.c_str());
        }
        if (!codes.insert(l.code).second) report.fail(path, "code %s is used twice", l.code.c_str());
        if (l.credit <= 0) report.fail(path, "level %s credits %d", l.dir.c_str(), l.credit);
        if (i > 0 && l.credit <= levels[i - 1].credit) report.fail(path, "credit of %s does not grow", l.dir.c_str());
    }
    return levels;
}

// --- SCRIPT/topten.scr --------------------------------------------------------------

void check_topten(const std::string& path, int level_count)
{
    Script f(path);
    int entries = 0, last = -1;
    std::string word;
    while (f.open && f.word(word)) {
        int score = 0, level = 0;
        if (script_int(f.reader, &score) != 1 || script_int(f.reader, &level) != 1) {
            report.fail(path, "entry %s is not: name score level", word.c_str());
            break;
        }
        entries++;
        // Names with spaces, percent signs or nothing at all are written
        // escaped; the game reads them back the same way and keeps 7 characters.
        char name[TOPTEN_NAME_SIZE];
        char again[3 * TOPTEN_NAME_SIZE + 1];
        decode_topten_name(word.c_str(), name);
        encode_topten_name(name, again, (int)sizeof again);
        if (word != again)
            report.fail(path, "name %s does not come back as written (at most 7 characters, escaped as the game writes)",
                        word.c_str());
        if (font_text_width(menu_font, name) < 0) report.fail(path, "name %s has letters the menu font lacks", word.c_str());
        // A game that won the last level ends one past it.
        if (level < 1 || level > level_count + 1) report.fail(path, "entry %s ended on level %d", word.c_str(), level);
        if (score < 0 || (last >= 0 && score > last)) report.fail(path, "scores must be positive and sorted, best first");
        last = score;
    }
    if (entries != 10) report.fail(path, "holds %d entries, 10 expected", entries);
}

// --- SCRIPT/menu.scr -----------------------------------------------------------------

void check_menu()
{
    const std::string path = "SCRIPT/menu.scr";
    Script f(path);
    const std::vector<const char*> keys = {"main1", "main2", "top_ten", "code", "loading", "load_bar", "help", "font",
                                           "menu_sound", "button_sound", "press_sound", "gameover", "prepare", "level_completed",
                                           "over_heat", "high_score", "b_new_game", "b_kod", "load_souradnice", "high_souradnice",
                                           "ten_souradnice", "b_top-ten", "b_pomoc", "b_exit", "c_pos"};
    std::map<std::string, std::string> files;
    std::map<std::string, std::vector<int>> numbers;
    std::string w;
    while (f.open && f.word(w)) {
        remark_rule(path, w, keys, NULL);
        for (const char* k : keys) {
            if (!has(w, k)) continue;
            int n = 0;
            if (strstr(k, "b_") == k) n = 4;
            if (!strcmp(k, "load_souradnice") || !strcmp(k, "high_souradnice")) n = 2;
            if (!strcmp(k, "ten_souradnice") || !strcmp(k, "c_pos")) n = 3;
            if (n == 0) {
                files[k] = f.name(k);
                continue;
            }
            std::vector<int> v(n);
            if (script_int_list(f.reader, v.data(), n) != n) report.fail(path, "key %s wants %d numbers separated by commas", k, n);
            numbers[k] = v;
        }
    }
    for (const char* k : keys) {
        if (!files.count(k) && !numbers.count(k)) report.fail(path, "key %s is missing", k);
    }
    for (const char* k : {"menu_sound", "button_sound", "press_sound", "gameover", "prepare", "level_completed", "over_heat"}) {
        if (files.count(k)) sound_or_null(path, files[k]);
    }
    // The highlight picture lends its button rectangles to the menu picture:
    // both must be whole screens.
    for (const char* k : {"main1", "main2", "top_ten", "code", "help", "high_score"}) {
        if (!files.count(k)) continue;
        const Picture* p = picture(report, path, files[k]);
        if (p != NULL && (p->w != SCREEN_W || p->h != SCREEN_H)) report.fail(path, "%s picture is %dx%d, not the screen's size", k, p->w, p->h);
    }
    if (files.count("font")) {
        menu_font = font_picture(report, path, files["font"]);
        const Picture* p = picture(report, path, files["font"]);
        menu_font_height = p != NULL ? p->h : 0;
    }
    const Picture* loading = files.count("loading") ? keyed_picture(report, path, files["loading"]) : NULL;
    const Picture* bar = files.count("load_bar") ? keyed_picture(report, path, files["load_bar"]) : NULL;
    if (loading != NULL && bar != NULL && numbers.count("load_souradnice")) {
        int x = numbers["load_souradnice"][0], y = numbers["load_souradnice"][1];
        if (x < 0 || y < 0 || x + bar->w > loading->w || y + bar->h > loading->h) {
            report.fail(path, "the loading bar at %d,%d does not fit its %dx%d picture", x, y, loading->w, loading->h);
        }
    }
    std::vector<std::vector<int>> buttons;
    for (const char* k : {"b_new_game", "b_kod", "b_top-ten", "b_pomoc", "b_exit"}) {
        if (!numbers.count(k)) continue;
        const std::vector<int>& b = numbers[k];
        if (b[0] < 0 || b[1] < 0 || b[2] <= 0 || b[3] <= 0 || b[0] + b[2] > SCREEN_W || b[1] + b[3] > SCREEN_H) {
            report.fail(path, "button %s lies outside the screen", k);
        }
        for (const std::vector<int>& o : buttons) {
            bool apart = b[0] + b[2] <= o[0] || o[0] + o[2] <= b[0] || b[1] + b[3] <= o[1] || o[1] + o[3] <= b[1];
            if (!apart) report.fail(path, "button %s overlaps another", k);
        }
        buttons.push_back(b);
    }
    int fh = menu_font_height;
    if (numbers.count("ten_souradnice")) {
        const std::vector<int>& t = numbers["ten_souradnice"];
        if (t[2] < fh - 2 || t[1] < 0 || t[1] + 9 * t[2] + fh > SCREEN_H || t[0] < 0 || t[0] >= SCREEN_W / 2) {
            report.fail(path, "the table at %d,%d with rows %d apart does not fit the screen", t[0], t[1], t[2]);
        }
    }
    if (numbers.count("high_souradnice")) {
        const std::vector<int>& n = numbers["high_souradnice"];
        if (n[0] < 0 || n[1] < 0 || n[0] + 8 * fh > SCREEN_W || n[1] + fh > SCREEN_H) report.fail(path, "the name field does not fit the screen");
    }
    if (numbers.count("c_pos")) {
        const std::vector<int>& c = numbers["c_pos"];
        if (c[0] < 0 || c[1] < 0 || c[2] <= 0 || c[0] + c[2] > SCREEN_W || c[1] + fh > SCREEN_H) report.fail(path, "the code field does not fit the screen");
    }
}

// --- SCRIPT/in.scr ---------------------------------------------------------------------

void check_intro()
{
    const std::string path = "SCRIPT/in.scr";
    Script f(path);
    const std::vector<const char*> keys = {"font", "intro", "outro", "krok1", "krok2", "krok3"};
    std::vector<int> font;
    int pictures = 0, lines = 0;
    std::map<std::string, int> steps;
    std::vector<std::string> credits;
    std::string w;
    while (f.open && f.word(w)) {
        remark_rule(path, w, keys, NULL);
        if (has(w, "font")) font = font_picture(report, path, f.name("font"));
        if (has(w, "intro")) {
            std::string name;
            int hold = 0;
            if (!f.word(name) || script_int(f.reader, &hold) != 1) report.fail(path, "intro wants a picture and a time");
            const Picture* p = picture(report, path, name);
            if (p != NULL && (p->w != SCREEN_W || p->h != SCREEN_H)) report.fail(path, "intro picture %s is not %dx%d", name.c_str(), SCREEN_W, SCREEN_H);
            if (hold < 1 || hold > 65535) report.fail(path, "intro picture %s is held %d ms", name.c_str(), hold);
            pictures++;
        }
        if (has(w, "outro")) {
            credits.push_back(f.name("outro"));
            lines++;
        }
        for (const char* k : {"krok1", "krok2", "krok3"}) {
            int v = 0;
            if (has(w, k) && f.integer(w, k, &v)) steps[k] = v;
        }
    }
    if (pictures < 3 || pictures > 10) report.fail(path, "has %d intro pictures, 3 to 10 wanted", pictures);
    if (lines < 1 || lines > 300) report.fail(path, "has %d credit lines, 1 to 300 wanted", lines);
    for (const char* k : {"krok1", "krok2", "krok3"}) {
        if (steps[k] <= 0) report.fail(path, "%s must be positive", k);
    }
    if (steps["krok1"] > SCREEN_H) report.fail(path, "krok1 is larger than the screen");
    for (const std::string& line : credits) {
        if (line.size() > 99) report.fail(path, "credit line %s is longer than 99 characters", line.c_str());
        int width = font_text_width(font, line);
        if (width < 0) report.fail(path, "credit line %s has a letter the credits font lacks", line.c_str());
        if (width > SCREEN_W) report.fail(path, "credit line %s is wider than the screen", line.c_str());
    }
}

// --- The level's images.scr -------------------------------------------------------------

struct Strip {
    std::string file;
    int frames = 1, period = 0;
};

struct Images {
    int zblunk = 0, vybuch = 0, vybuch_frames0 = 0;
    const Picture* announcement = NULL;
    int code_x = 0, code_y = 0;
};

Images check_images(const std::string& path)
{
    Images out;
    Script f(path);
    const std::vector<const char*> keys = {"[*DNO]", "[*BARVA]", "[*ZBLUNK]", "[*VYBUCH]", "zamerovac", "misc"};
    std::vector<std::string> dno, crosshairs;
    std::vector<Strip> barvy, zblunk, vybuch;
    struct Misc {
        std::string file;
        int x, y;
    };
    std::vector<Misc> misc;
    int period = 0;
    bool has_dno = false;
    std::string w;
    while (f.open && f.word(w)) {
        remark_rule(path, w, keys, NULL);
        if (has(w, "[*DNO]")) {
            has_dno = true;
            if (script_int(f.reader, &period) != 1) report.fail(path, "[*DNO] starts without its period");
            std::string e;
            while (f.word(e) && !has(e, "[END]")) dno.push_back(e);
        }
        if (has(w, "[*BARVA]")) {
            std::string e;
            while (f.word(e) && !has(e, "[END]")) {
                Strip s{e, 1, 0};
                if (script_int(f.reader, &s.frames) != 1) report.fail(path, "particle strip %s has no frame count", e.c_str());
                barvy.push_back(s);
            }
        }
        if (has(w, "[*ZBLUNK]")) {
            std::string e;
            while (f.word(e) && !has(e, "[END]")) {
                Strip s{e, 1, 0};
                if (script_int(f.reader, &s.frames) != 1 || script_int(f.reader, &s.period) != 1) {
                    report.fail(path, "splash %s wants a frame count and a period", e.c_str());
                }
                zblunk.push_back(s);
            }
        }
        if (has(w, "[*VYBUCH]")) {
            std::string e;
            while (f.word(e) && !has(e, "[END]")) {
                Strip s{e, 1, 0};
                std::string k1, k2;
                if (!f.word(k1) || k1 != "pocet_snimku" || script_int(f.reader, &s.frames) != 1 || !f.word(k2) || k2 != "doba" ||
                    script_int(f.reader, &s.period) != 1) {
                    report.fail(path, "explosion %s wants pocet_snimku N and doba N", e.c_str());
                }
                vybuch.push_back(s);
            }
        }
        if (has(w, "zamerovac")) crosshairs.push_back(f.name("zamerovac"));
        if (has(w, "misc")) {
            Misc m{f.name("misc"), 0, 0};
            int xy[2] = {0, 0};
            if (script_int_list(f.reader, xy, 2) != 2) report.fail(path, "misc %s wants a position x,y", m.file.c_str());
            m.x = xy[0];
            m.y = xy[1];
            misc.push_back(m);
        }
    }
    if (!has_dno || dno.empty()) report.fail(path, "has no seabed");
    if (dno.size() > 10) report.fail(path, "has %zu seabed pictures, the bank takes 10", dno.size());
    if (period == 0) report.fail(path, "seabed period 0");
    if (period != -1 && dno.size() == 1) report.fail(path, "a single seabed picture that animates shows only every other step");
    for (const std::string& d : dno) {
        const Picture* p = picture(report, path, d);
        if (p != NULL && (p->w != SCREEN_W || p->h != SCREEN_H)) report.fail(path, "seabed %s is not %dx%d", d.c_str(), SCREEN_W, SCREEN_H);
    }
    if (barvy.empty()) report.fail(path, "has no particle strip (every particle uses strip 0)");
    if (barvy.size() > 20) report.fail(path, "has more than 20 particle strips");
    for (const Strip& s : barvy) strip_picture(report, path, s.file, s.frames, false, false);
    if (zblunk.empty() || zblunk.size() > 10) report.fail(path, "has %zu splashes, 1 to 10 wanted", zblunk.size());
    for (const Strip& s : zblunk) {
        if (s.frames < 1 || s.frames > 255) report.fail(path, "splash %s has %d frames", s.file.c_str(), s.frames);
        if (s.period < 1 || s.period > 65535) report.fail(path, "splash %s has period %d", s.file.c_str(), s.period);
        strip_picture(report, path, s.file, s.frames, true, false);
    }
    if (vybuch.size() < 2 || vybuch.size() > 10) {
        report.fail(path, "has %zu explosions: 0 (creature deaths) and 1 (bubbles) are needed, 10 fit", vybuch.size());
    }
    for (const Strip& s : vybuch) {
        if (s.frames < 1 || s.frames > 255) report.fail(path, "explosion %s has %d frames", s.file.c_str(), s.frames);
        strip_picture(report, path, s.file, s.frames, true, false);
    }
    if (crosshairs.size() != 2) report.fail(path, "has %zu crosshairs, 2 wanted (within and beyond reach)", crosshairs.size());
    for (const std::string& c : crosshairs) keyed_picture(report, path, c);
    if (misc.size() != 4) report.fail(path, "has %zu screen pictures, 4 wanted", misc.size());
    for (size_t i = 0; i < misc.size(); i++) {
        const Picture* p = keyed_picture(report, path, misc[i].file);
        if (p != NULL && (p->w > SCREEN_W || p->h > SCREEN_H)) report.fail(path, "screen picture %s is larger than the screen", misc[i].file.c_str());
        if (i == 1) {
            out.announcement = p;
            out.code_x = misc[i].x;
            out.code_y = misc[i].y;
        }
    }
    out.zblunk = (int)zblunk.size();
    out.vybuch = (int)vybuch.size();
    return out;
}

// The level's code is written on its announcement picture, which is drawn
// centred: the word must lie on the picture.
void check_code_position(const std::string& path, const Images& images, const std::string& code)
{
    if (images.announcement == NULL) return;
    int width = font_text_width(menu_font, code);
    if (width < 0) {
        report.fail(path, "code %s has letters the menu font lacks", code.c_str());
        return;
    }
    int left = SCREEN_W / 2 - images.announcement->w / 2, top = SCREEN_H / 2 - images.announcement->h / 2;
    int right = left + images.announcement->w, bottom = top + images.announcement->h;
    if (images.code_x < left || images.code_x + width > right || images.code_y < top || images.code_y + menu_font_height > bottom) {
        report.fail(path, "code %s at %d,%d (%dx%d) leaves the announcement picture", code.c_str(), images.code_x, images.code_y,
                    width, menu_font_height);
    }
}

// --- weapons.scr -----------------------------------------------------------------------------

struct Weapon {
    std::string name;
    std::map<std::string, std::string> files;
    std::map<std::string, float> values;
    int typ() const { return values.count("typ") ? (int)values.at("typ") : 0; }
    float get(const char* k, float fallback) const { return values.count(k) ? values.at(k) : fallback; }
};

SheetWeapon sheet_weapon(const Weapon& w)
{
    SheetWeapon s;
    s.name = w.name;
    s.typ = w.typ();
    s.heat = (int)w.get("zahrivani", 0);
    s.delay = (int)w.get("prodleva", 0);
    s.shells = (int)w.get("pocet_strel_na_vystrel", 1);
    s.damage = (int)w.get("poskozeni", 0);
    return s;
}

std::vector<Weapon> check_weapons(const std::string& path, const Images& images, const Settings& settings)
{
    std::vector<Weapon> weapons;
    Script f(path);
    const std::vector<const char*> file_keys = {"exploze", "strela", "menu", "stin"};
    const std::vector<const char*> number_keys = {"poskozeni", "rozptyl", "maximalni_rychlost", "zrychleni", "zblunk", "uhel_vystreleni",
                                                  "rychlost_vystreleni", "prodleva", "pocet_strel_na_vystrel", "pocet_snimku", "dostrel",
                                                  "zpomaleni", "zahrivani", "tolerance", "typ", "klesani", "pocet_castic_vlny",
                                                  "dosah_vlny", "zamerovani_rychlost"};
    const std::vector<const char*> sound_keys = {"fire_sound", "hit_sound", "water_sound"};
    std::vector<const char*> keys = {"*"};
    keys.insert(keys.end(), file_keys.begin(), file_keys.end());
    keys.insert(keys.end(), number_keys.begin(), number_keys.end());
    keys.insert(keys.end(), sound_keys.begin(), sound_keys.end());
    std::string w;
    while (f.open && f.word(w)) {
        remark_rule(path, w, keys, "*");
        if (has(w, "*")) {
            weapons.push_back(Weapon());
            weapons.back().name = marker_name(w);
        }
        for (const char* k : keys) {
            if (!strcmp(k, "*") || !has(w, k)) continue;
            if (weapons.empty()) report.fail(path, "key %s stands before the first weapon", k);
            Weapon scratch;
            Weapon& target = weapons.empty() ? scratch : weapons.back();
            bool is_number = false;
            for (const char* n : number_keys) is_number = is_number || !strcmp(n, k);
            if (!is_number) {
                target.files[k] = f.name(k);
            } else if (!strcmp(k, "zrychleni")) {
                float v;
                if (f.real(w, k, &v)) target.values[k] = v;
            } else {
                int v;
                if (f.integer(w, k, &v)) target.values[k] = (float)v;
            }
        }
    }
    if (weapons.empty()) report.fail(path, "defines no weapon");
    if (weapons.size() > 100) report.fail(path, "defines %zu weapons, the catalogue takes 100", weapons.size());
    if (!weapons.empty() && weapons[0].typ() != 0) report.fail(path, "weapon 0 is the gun's first choice and must be of type 0");
    for (size_t i = 0; i < weapons.size(); i++) {
        const Weapon& wpn = weapons[i];
        std::string where = path + " weapon " + std::to_string(i);
        int typ = wpn.typ(), frames = (int)wpn.get("pocet_snimku", 1);
        if (typ < 0 || typ > 2) report.fail(where, "typ %d is none of 0 (shell), 1 (bomb), 2 (runner)", typ);
        if (!divides_360(frames)) report.fail(where, "pocet_snimku %d does not divide 360", frames);
        for (const char* k : {"strela", "stin"}) {
            if (!wpn.files.count(k)) {
                report.fail(where, "%s is missing", k);
            } else if (!is_null(wpn.files.at(k))) {
                strip_picture(report, where, wpn.files.at(k), frames, true, true);
            }
        }
        if (!wpn.files.count("menu") || is_null(wpn.files.at("menu"))) {
            if (typ == 0) report.fail(where, "a gun weapon needs its menu picture for the panel");
        } else {
            const Picture* p = keyed_picture(report, where, wpn.files.at("menu"));
            if (p != NULL && (p->w > 160 || p->h > 80)) report.fail(where, "menu picture is %dx%d, too large for the panel's corner", p->w, p->h);
        }
        if (wpn.files.count("exploze") && !is_null(wpn.files.at("exploze"))) keyed_picture(report, where, wpn.files.at("exploze"));
        for (const char* k : sound_keys) {
            if (wpn.files.count(k)) sound_or_null(where, wpn.files.at(k));
        }
        int zblunk = (int)wpn.get("zblunk", 0);
        if (zblunk < 0 || zblunk >= images.zblunk) report.fail(where, "zblunk %d is outside the %d splashes", zblunk, images.zblunk);
        if (wpn.get("pocet_castic_vlny", 1) < 1 || wpn.get("dosah_vlny", 1) < 2) report.fail(where, "the landing ring needs particles that live");
        float speed = wpn.get("maximalni_rychlost", 0);
        if (typ == 0) {
            if (speed <= 0) report.fail(where, "a shell without maximalni_rychlost never moves");
            if (wpn.get("dostrel", 0) <= 0) report.fail(where, "a gun weapon needs a positive dostrel");
            if (wpn.get("pocet_strel_na_vystrel", 1) < 1) report.fail(where, "a volley needs at least one shot");
            if (wpn.get("zahrivani", 0) >= settings.max_teplota) report.fail(where, "zahrivani reaches the heat limit: the gun never fires");
            // Every shell of a volley heats the gun before it is launched, and
            // a shell that brings the gun to its limit is refused.
            float volley_heat = wpn.get("zahrivani", 0) * wpn.get("pocet_strel_na_vystrel", 1);
            if (volley_heat >= settings.max_teplota)
                report.fail(where, "a full volley heats the gun by %g, its limit is %d: the last shells are always refused",
                            volley_heat, settings.max_teplota);
            if (wpn.get("rychlost_vystreleni", 0) <= 0 && wpn.get("zrychleni", 0) <= 0) report.fail(where, "a shell needs speed");
            SheetWeapon figures = sheet_weapon(wpn);
            SheetHeat heat{settings.max_teplota, settings.chlazeni};
            int hot = volley_heat < settings.max_teplota && heat.cooling > 0 ? held_fire_overheat_frames(figures, heat) : 0;
            if (hot < 0)
                report.warn(where, "held fire never overheats the gun (%s): its heat gauge, ready lamp and warning never act",
                            never_overheats_reason(figures, heat).c_str());
            // The weapon a level starts with, fired most: its heat should
            // matter, and not stop a burst at once.
            if (i == 0 && hot > 0 && (hot < 3 * FRAMES_PER_SECOND || hot > 12 * FRAMES_PER_SECOND))
                report.warn(where, "held fire overheats the gun in %.1f s: the first weapon should take 3 to 12 s",
                            (double)hot / FRAMES_PER_SECOND);
        }
        if (typ == 1 && wpn.get("klesani", 0) <= 0) report.fail(where, "a bomb without klesani never lands");
        if (typ == 2) {
            if (speed <= 0) report.fail(where, "a runner without maximalni_rychlost never moves");
            if (wpn.get("rychlost_vystreleni", 0) <= 0 && wpn.get("zrychleni", 0) <= 0) report.fail(where, "a runner needs speed");
        }
    }
    return weapons;
}

// --- delo.scr ------------------------------------------------------------------------------------

// Returns the hull's hit points.
int check_submarine(const std::string& path, const Images& images)
{
    Script f(path);
    const std::vector<const char*> number_keys = {"radius", "stred_x", "stred_y", "rychlost_otaceni", "pocet_snimku", "uhel", "vybuch", "zivoty", "alpha", "stit"};
    std::vector<const char*> keys = {"[*", "image", "death_sound", "collision_sound", "[END]"};
    keys.insert(keys.end(), number_keys.begin(), number_keys.end());
    std::map<std::string, int> v;
    std::string image;
    int sections = 0, ends = 0;
    std::string w;
    while (f.open && f.word(w)) {
        remark_rule(path, w, keys, "[*");
        if (has(w, "[*")) sections++;
        if (has(w, "image")) image = f.name("image");
        if (has(w, "death_sound")) sound_or_null(path, f.name("death_sound"));
        if (has(w, "collision_sound")) sound_or_null(path, f.name("collision_sound"));
        for (const char* k : number_keys) {
            int n;
            if (has(w, k) && f.integer(w, k, &n)) v[k] = n;
        }
        if (has(w, "[END]")) ends++;
    }
    if (sections != 1 || ends != 1) report.fail(path, "holds %d sections and %d [END]: one submarine wanted", sections, ends);
    for (const char* k : number_keys) {
        if (!v.count(k)) report.fail(path, "key %s is missing", k);
    }
    int frames = v["pocet_snimku"];
    if (!divides_360(frames)) report.fail(path, "pocet_snimku %d does not divide 360", frames);
    if (image.empty()) {
        report.fail(path, "has no image");
    } else {
        strip_picture(report, path, image, frames, true, true);
    }
    if (v["vybuch"] < 0 || v["vybuch"] >= images.vybuch) report.fail(path, "vybuch %d is outside the %d explosions", v["vybuch"], images.vybuch);
    if (v["zivoty"] <= 0) report.fail(path, "zivoty must be positive");
    if (v["rychlost_otaceni"] <= 0) report.fail(path, "rychlost_otaceni must be positive");
    if (v["uhel"] < 0 || v["uhel"] >= 360) report.fail(path, "uhel %d is not 0 ... 359", v["uhel"]);
    int r = v["radius"], cx = v["stred_x"], cy = v["stred_y"];
    if (r <= 0 || cx - r < 0 || cx + r > SCREEN_W || cy - (int)(r * 0.623) < 0 || cy + (int)(r * 0.623) > SCREEN_H) {
        report.fail(path, "the ellipse around %d,%d with radius %d leaves the screen", cx, cy, r);
    }
    return v["zivoty"];
}

// --- potvory.scr --------------------------------------------------------------------------------

int check_creatures(const std::string& path, const std::vector<Weapon>& weapons, std::vector<SheetCreature>* sheet)
{
    Script f(path);
    const std::vector<const char*> number_keys = {"dolez", "pocet_snimku", "rychlost", "dolni_interval", "horni_interval", "zivoty",
                                                  "zbran", "pocet", "alfa", "vystrel_prodleva", "hloubka_max", "hloubka_min",
                                                  "vynorovani", "sound", "sila", "skore"};
    std::vector<const char*> keys = {"[*", "death_sound", "create_sound", "skore_b", "bitmap", "[END]"};
    keys.insert(keys.end(), number_keys.begin(), number_keys.end());
    // Values carry over from one section to the next, as in the game.
    std::map<std::string, float> pending;
    struct Kind {
        std::string name, bitmap, icon;
        std::map<std::string, float> values;
        int pocet = 0;
        bool ended = false;
    };
    std::vector<Kind> kinds;
    std::string w;
    while (f.open && f.word(w)) {
        remark_rule(path, w, keys, "[*");
        if (has(w, "[*")) {
            kinds.push_back(Kind());
            kinds.back().name = marker_name(w);
        }
        Kind scratch;
        Kind& k = kinds.empty() ? scratch : kinds.back();
        if (has(w, "death_sound")) sound_or_null(path, f.name("death_sound"));
        if (has(w, "create_sound")) sound_or_null(path, f.name("create_sound"));
        if (has(w, "skore_b")) k.icon = f.name("skore_b");
        if (has(w, "bitmap")) k.bitmap = f.name("bitmap");
        for (const char* key : number_keys) {
            if (!has(w, key)) continue;
            if (!strcmp(key, "rychlost")) {
                float v;
                if (f.real(w, key, &v)) pending[key] = v;
            } else {
                int v;
                if (!f.integer(w, key, &v)) continue;
                if (!strcmp(key, "pocet")) {
                    k.pocet = v;
                } else {
                    pending[key] = (float)v;
                }
            }
        }
        if (has(w, "[END]")) {
            k.values = pending;
            k.ended = true;
        }
    }
    if (kinds.empty() || kinds.size() > 20) report.fail(path, "holds %zu creature kinds, 1 to 20 wanted", kinds.size());
    int icon_height = -1;
    for (size_t i = 0; i < kinds.size(); i++) {
        const Kind& k = kinds[i];
        std::string where = path + " kind " + std::to_string(i);
        if (!k.ended) {
            report.fail(where, "has no [END]: its values are never stored");
            continue;
        }
        for (const char* key : number_keys) {
            if (strcmp(key, "pocet") && !k.values.count(key)) report.fail(where, "key %s was never given", key);
        }
        auto val = [&](const char* key) { return k.values.count(key) ? k.values.at(key) : 0.0f; };
        int frames = (int)val("pocet_snimku");
        if (!divides_360(frames)) report.fail(where, "pocet_snimku %d does not divide 360", frames);
        if (k.bitmap.empty()) {
            report.fail(where, "has no bitmap");
        } else {
            strip_picture(report, where, k.bitmap, frames, true, true);
        }
        if (k.icon.empty()) {
            report.fail(where, "has no panel picture (skore_b)");
        } else if (const Picture* p = keyed_picture(report, where, k.icon)) {
            if (icon_height >= 0 && p->h != icon_height) report.fail(where, "panel pictures differ in height: the counters would not line up");
            icon_height = p->h;
        }
        if (val("rychlost") <= 0) report.fail(where, "rychlost must be positive");
        if (val("dolez") < 1) report.fail(where, "dolez must be at least 1");
        if (val("dolni_interval") < 1 || val("horni_interval") <= val("dolni_interval")) report.fail(where, "the spawning interval is empty");
        if (val("hloubka_min") < 1 || val("hloubka_max") <= val("hloubka_min")) report.fail(where, "the depth range is empty");
        if (val("vynorovani") <= 0) report.fail(where, "vynorovani must be positive, or it never surfaces");
        if (val("zivoty") <= 0) report.fail(where, "zivoty must be positive");
        if (val("skore") <= 0) report.fail(where, "skore must be positive");
        if (k.pocet < 1) report.fail(where, "pocet %d: the level holds none of this kind", k.pocet);
        int zbran = (int)val("zbran");
        if (zbran != -1) {
            if (zbran < 0 || zbran >= (int)weapons.size()) {
                report.fail(where, "zbran %d is outside the %zu weapons", zbran, weapons.size());
            } else if (weapons[zbran].typ() == 0) {
                report.fail(where, "zbran %d is a gun shell, which lands where it is fired", zbran);
            }
            if (val("vystrel_prodleva") < 1) report.fail(where, "a firing creature needs vystrel_prodleva");
            if (val("alfa") < 1) report.fail(where, "a firing creature needs alfa");
        }
        SheetCreature c;
        c.name = k.name;
        c.speed = val("rychlost");
        c.rise = (int)val("vynorovani");
        c.life = (int)val("zivoty");
        c.interval_min = (int)val("dolni_interval");
        c.interval_max = (int)val("horni_interval");
        c.weapon = zbran;
        c.fire_delay = (int)val("vystrel_prodleva");
        c.ram = (int)val("sila");
        c.count = k.pocet;
        sheet->push_back(c);
    }
    return (int)kinds.size();
}

// --- panel.scr -----------------------------------------------------------------------------------

void check_panel(const std::string& path)
{
    Script f(path);
    std::vector<std::string> files;
    for (int i = 0; i < 13 && f.open; i++) {
        std::string w;
        if (!f.word(w)) {
            report.fail(path, "ends after %d of its 13 pictures", i);
            return;
        }
        files.push_back(w);
    }
    std::vector<std::vector<int>> pos;
    for (int i = 0; i < 9 && f.open; i++) {
        int xy[2];
        if (script_int_list(f.reader, xy, 2) != 2) {
            report.fail(path, "position %d is not x,y", i + 1);
            return;
        }
        pos.push_back({xy[0], xy[1]});
    }
    if (files.size() != 13 || pos.size() != 9) return;
    std::vector<const Picture*> pics(13, NULL);
    for (int i = 0; i < 13; i++) {
        if (i == 2 && is_null(files[i])) continue;
        if (i == 9 || i == 10) {
            pics[i] = strip_picture(report, path, files[i], 10, true, false);
        } else {
            pics[i] = keyed_picture(report, path, files[i]);
        }
    }
    for (size_t i = 0; i < pos.size(); i++) {
        if (pos[i][0] < 0 || pos[i][1] < 0 || pos[i][0] >= SCREEN_W || pos[i][1] >= SCREEN_H) report.fail(path, "position %zu lies off the screen", i + 1);
    }
    if (pics[6] != NULL && pics[7] != NULL && (pics[6]->w != pics[7]->w || pics[6]->h != pics[7]->h)) {
        report.fail(path, "the wreck picture should cover the life bar exactly");
    }
    // Pictures and where they are drawn: none may leave the screen.
    const int at[][2] = {{0, 0}, {1, 3}, {3, 7}, {4, 5}, {5, 6}, {6, 1}, {7, 1}};
    for (const auto& a : at) {
        const Picture* p = pics[a[0]];
        const std::vector<int>& q = pos[a[1]];
        if (p != NULL && (q[0] + p->w > SCREEN_W || q[1] + p->h > SCREEN_H)) report.fail(path, "picture %s at %d,%d leaves the screen", files[a[0]].c_str(), q[0], q[1]);
    }
    if (pics[9] != NULL && pos[8][0] + 10 * (pics[9]->w / 10) > SCREEN_W) report.fail(path, "a ten-digit score leaves the screen");
}

// --- plane.scr -----------------------------------------------------------------------------------

// How far a bomb dropped from `height` moves along the plane's heading before
// it comes down, as the game flies it; -1 when it never comes down.
float bomb_travel(const Weapon& bomb, int height, const Settings& settings)
{
    float speed = bomb.get("rychlost_vystreleni", 0), travel = 0;
    int fall = bomb.get("klesani", 0) > 0 ? (int)bomb.get("klesani", 0) : 0;
    int limit = std::max(0, (int)bomb.get("maximalni_rychlost", 0));
    int above = std::min(0, -height + fall);
    for (int step = 0; step < 10000; step++) {
        speed = std::min(speed + bomb.get("zrychleni", 0), (float)limit) * settings.odpor_vzduchu;
        travel += speed;
        if (above == 0) return travel;
        above = std::min(0, above + fall);
    }
    return -1;
}

// The air support starts the screen's diagonal less ten (790 pixels on a
// 640 x 480 screen) before the pointer and drops from its first frame on,
// every `prodleva` frames: one of its bombs should come down on the pointer.
void check_support_aim(const std::string& where, int speed, int shots, int delay, const Weapon& bomb, int height,
                       const Settings& settings)
{
    float travel = bomb_travel(bomb, height, settings);
    if (travel < 0) return;  // the weapon check reports bombs that never come down
    float reach = bomb.get("tolerance", 0), nearest = 1e9f;
    for (int k = 0; k <= shots && k <= 1000; k++) nearest = std::min(nearest, std::fabs(790.0f - speed * (1.0f + k * delay) - travel));
    if (nearest > reach)
        report.fail(where, "the air support drops no bomb near the pointer: the nearest comes down %.0f pixels away, its bomb reaches %.0f", nearest,
                    reach);
}

void check_planes(const std::string& path, const std::vector<Weapon>& weapons, const Settings& settings, SheetLevel* sheet)
{
    Script f(path);
    const std::vector<const char*> keys = {"enemy_plane", "*", "bitmap", "shadow", "vyska", "rychlost", "pocet_vystrelu", "zbran",
                                           "typ", "prodleva", "tolerance", "fly_sound"};
    struct Kind {
        std::map<std::string, std::pair<std::string, int>> strips;
        std::map<std::string, int> values;
    };
    std::vector<Kind> kinds;
    int interval = -1;
    std::string w;
    while (f.open && f.word(w)) {
        remark_rule(path, w, keys, "*");
        if (has(w, "enemy_plane")) f.integer(w, "enemy_plane", &interval);
        if (has(w, "*")) kinds.push_back(Kind());
        Kind scratch;
        Kind& k = kinds.empty() ? scratch : kinds.back();
        for (const char* key : {"bitmap", "shadow", "fly_sound"}) {
            if (!has(w, key)) continue;
            std::string name;
            int n = 0;
            if (!f.word(name) || script_int(f.reader, &n) != 1) report.fail(path, "%s wants a file name and a number", key);
            k.strips[key] = std::make_pair(name, n);
        }
        for (const char* key : {"vyska", "rychlost", "pocet_vystrelu", "zbran", "typ", "prodleva", "tolerance"}) {
            int v;
            if (has(w, key) && f.integer(w, key, &v)) k.values[key] = v;
        }
    }
    if (interval < 0) report.fail(path, "enemy_plane is missing or negative");
    if (kinds.size() < 2 || kinds.size() > 10) report.fail(path, "holds %zu planes: 0 (enemy) and 1 (air support) are needed, 10 fit", kinds.size());
    for (size_t i = 0; i < kinds.size(); i++) {
        const Kind& k = kinds[i];
        std::string where = path + " plane " + std::to_string(i);
        for (const char* key : {"bitmap", "shadow"}) {
            if (!k.strips.count(key)) {
                report.fail(where, "%s is missing", key);
                continue;
            }
            int frames = k.strips.at(key).second;
            // Launches pick one of 8 directions and divide 360 by the count.
            if (!divides_360(frames) || frames < 8) report.fail(where, "%s has %d directions: 8 or more dividing 360 wanted", key, frames);
            strip_picture(report, where, k.strips.at(key).first, frames, true, false);
        }
        if (!k.strips.count("fly_sound")) {
            report.fail(where, "fly_sound is missing");
        } else {
            sound_or_null(where, k.strips.at("fly_sound").first);
            if (k.strips.at("fly_sound").second < 0) report.fail(where, "the engine repeats for ever and drones on after the flight");
        }
        for (const char* key : {"vyska", "rychlost", "pocet_vystrelu", "zbran", "typ", "prodleva", "tolerance"}) {
            if (!k.values.count(key)) report.fail(where, "key %s is missing", key);
        }
        auto val = [&](const char* key) { return k.values.count(key) ? k.values.at(key) : 0; };
        if (val("rychlost") <= 0) report.fail(where, "rychlost must be positive");
        if (val("typ") != 0 && val("typ") != 1) report.fail(where, "typ %d never fires", val("typ"));
        if (val("typ") == 1 && val("tolerance") <= 0) report.fail(where, "a band of width %d never fires", val("tolerance"));
        if (val("prodleva") < 1) report.fail(where, "prodleva must be at least 1");
        int zbran = val("zbran");
        if (zbran < 0 || zbran >= (int)weapons.size()) {
            report.fail(where, "zbran %d is outside the %zu weapons", zbran, weapons.size());
        } else if (weapons[zbran].typ() != 1) {
            report.fail(where, "zbran %d is not a bomb", zbran);
        } else if (i == 1 && val("typ") == 0 && val("prodleva") >= 1) {
            check_support_aim(where, val("rychlost"), val("pocet_vystrelu"), val("prodleva"), weapons[zbran], val("vyska"), settings);
        }
        // The band is tested once a frame: a plane that crosses more of it
        // in one step than it is wide may fly over it without a shot.
        if (val("typ") == 1 && val("tolerance") > 0 && val("tolerance") < val("rychlost"))
            report.fail(where, "a band of %d pixels can be flown over in one step of %d", val("tolerance"), val("rychlost"));
        if (i == 0) {
            // A flight drops one bomb more than its limit.
            sheet->bomber_interval = std::max(interval, 0);
            sheet->bomber_weapon = zbran;
            sheet->bomber_bombs = val("pocet_vystrelu") + 1;
        }
    }
}

// --- bonusy.scr ----------------------------------------------------------------------------------

int check_bonuses(const std::string& path)
{
    Script f(path);
    const std::vector<const char*> number_keys = {"dostrel", "pocet_strel", "pouzivani", "prodleva", "rozptyl", "rychlost", "rychlost_lodi", "zivoty"};
    std::vector<const char*> keys = {"*", "[END]", "bitmap", "sance", "create_sound"};
    keys.insert(keys.end(), number_keys.begin(), number_keys.end());
    struct Kind {
        std::string bitmap;
        std::map<std::string, float> values;
    };
    std::vector<Kind> kinds;
    int count = 0;
    bool sound = false;
    std::string w;
    while (f.open && f.word(w)) {
        remark_rule(path, w, keys, "*");
        if (has(w, "*")) kinds.push_back(Kind());
        if (has(w, "[END]")) count = (int)kinds.size();
        Kind scratch;
        Kind& k = kinds.empty() ? scratch : kinds.back();
        if (has(w, "bitmap")) k.bitmap = f.name("bitmap");
        for (const char* key : number_keys) {
            if (!has(w, key)) continue;
            if (!strcmp(key, "rychlost") && has(w, "rychlost_lodi")) continue;  // the one exception to containment
            int v;
            if (f.integer(w, key, &v)) k.values[key] = (float)v;
        }
        float s;
        if (has(w, "sance") && f.real(w, "sance", &s)) k.values["sance"] = s;
        if (has(w, "create_sound")) {
            sound_or_null(path, f.name("create_sound"));
            sound = true;
        }
    }
    if (count == 0) report.fail(path, "has no [END] after its bonuses: none is ever dropped");
    if (count > 20) report.fail(path, "holds %d bonuses, 20 fit", count);
    if (!sound) report.fail(path, "create_sound is missing");
    for (int i = 0; i < count; i++) {
        const Kind& k = kinds[i];
        std::string where = path + " bonus " + std::to_string(i);
        if (k.bitmap.empty()) {
            report.fail(where, "has no bitmap");
        } else if (const Picture* p = keyed_picture(report, where, k.bitmap)) {
            if (p->h > 40) report.fail(where, "icon of %d pixels is too high for the panel's column", p->h);
        }
        if (!k.values.count("pouzivani") || k.values.at("pouzivani") <= 0) report.fail(where, "pouzivani must be positive");
        float sance = k.values.count("sance") ? k.values.at("sance") : 0;
        if (!k.values.count("sance") || sance < 0 || sance >= 1) report.fail(where, "sance must lie in [0, 1) or it never drops");
        bool effect = false;
        for (const char* key : number_keys) effect = effect || (strcmp(key, "pouzivani") && k.values.count(key) && k.values.at(key) != 0);
        if (!effect) report.fail(where, "does nothing when collected");
    }
    return count;
}

void check_level(const Level& level, const Settings& settings, int* kinds, int* bonus_kinds, SheetLevel* sheet)
{
    std::string dir = "SCRIPT/" + level.dir + "/";
    if (level.dir.size() > 199) report.fail("SCRIPT/levels.scr", "directory name %s is too long", level.dir.c_str());
    Images images = check_images(dir + "images.scr");
    check_code_position(dir + "images.scr", images, level.code);
    std::vector<Weapon> weapons = check_weapons(dir + "weapons.scr", images, settings);
    sheet->dir = level.dir;
    sheet->code = level.code;
    for (const Weapon& w : weapons) sheet->weapons.push_back(sheet_weapon(w));
    sheet->hull = check_submarine(dir + "delo.scr", images);
    *kinds = check_creatures(dir + "potvory.scr", weapons, &sheet->creatures);
    check_panel(dir + "panel.scr");
    check_planes(dir + "plane.scr", weapons, settings, sheet);
    *bonus_kinds = check_bonuses(dir + "bonusy.scr");
    int guns = 0;
    for (const Weapon& w : weapons) guns += w.typ() == 0;
    printf("%s: code %s, %d creature kinds (", level.dir.c_str(), level.code.c_str(), *kinds);
    for (size_t i = 0; i < sheet->creatures.size(); i++) printf("%s%d", i ? "+" : "", sheet->creatures[i].count);
    printf(" creatures), %zu weapons of which %d for the gun, %d bonus kinds\n", weapons.size(), guns, *bonus_kinds);
}

}  // namespace

// A path as given before the check enters the run folder.
std::string from_start(const char* path)
{
    if (path[0] == '/') return path;
    char* here = getcwd(NULL, 0);
    std::string full = here != NULL ? std::string(here) + "/" + path : path;
    free(here);
    return full;
}

int main(int argc, char** argv)
{
    std::string topten = "SCRIPT/topten.scr", sheet_path;
    int given = 0;
    for (int i = 2; i < argc; i++) {
        if (strcmp(argv[i], "--sheet") == 0 && i + 1 < argc) {
            sheet_path = from_start(argv[++i]);
        } else if (given++ == 0) {
            char* full = realpath(argv[i], NULL);
            if (full == NULL) {
                fprintf(stderr, "%s: no such high-score table\n", argv[i]);
                return 2;
            }
            topten = full;
            free(full);
        } else {
            given = -1;
            break;
        }
    }
    if (argc < 2 || given < 0) {
        fprintf(stderr, "usage: %s <run folder> [<high-score table>] [--sheet FILE]\n", argv[0]);
        return 2;
    }
    if (chdir(argv[1]) != 0) {
        fprintf(stderr, "%s: cannot enter the run folder\n", argv[1]);
        return 2;
    }
    Settings settings = check_settings();
    check_menu();  // first: the menu font measures the texts of the others
    std::vector<Level> levels = check_levels();
    check_topten(topten, (int)levels.size());
    check_intro();
    int most_kinds = 0, most_bonuses = 0;
    std::vector<SheetLevel> sheet(levels.size());
    for (size_t i = 0; i < levels.size(); i++) {
        int kinds = 0, bonuses = 0;
        check_level(levels[i], settings, &kinds, &bonuses, &sheet[i]);
        most_kinds = std::max(most_kinds, kinds);
        most_bonuses = std::max(most_bonuses, bonuses);
    }
    if (most_kinds < 3) report.fail("SCRIPT", "no level has three creature kinds");
    if (most_bonuses < 3) report.fail("SCRIPT", "no level has three bonus kinds");
    for (const std::string& file : media_files()) {
        if (!report.named.count(file)) report.fail(file, "is generated but no script names it");
    }
    free_pictures();
    // The figures from level to level: one that goes against the levels'
    // way is a designer's oversight more often than a plan.
    FILE* out = sheet_path.empty() ? fopen("/dev/null", "w") : fopen(sheet_path.c_str(), "w");
    if (out == NULL) {
        report.fail(sheet_path, "cannot be written");
    } else {
        std::vector<std::string> eased;
        write_design_sheet(out, sheet, SheetHeat{settings.max_teplota, settings.chlazeni}, &eased);
        fclose(out);
        for (const std::string& line : eased) report.warn("SCRIPT", "%s, against the way of the levels", line.c_str());
    }
    printf("%zu pictures and sounds named by the scripts, %d problems, %d warnings\n", report.named.size(), report.errors,
           report.warnings);
    return report.errors == 0 ? 0 : 1;
}
