#ifndef MEDIAGEN_WORDS_H
#define MEDIAGEN_WORDS_H

// Every word the pictures of the data set show, in each edition of the game.
// The painters draw a picture once, with the words of the edition being
// made; an edition other than Czech is made of the pictures that hold words
// alone, and shares the rest of the data set.

#include <string>

enum Edition { CZECH, ENGLISH };

const int WORD_LEVELS = 4;
const int WORD_BONUSES = 5;

struct HelpLine {
    const char* key;
    const char* text;
};

struct Words {
    // Main menu: the buttons in item order, the line under the logo.
    const char* menu_items[5];
    const char* subtitle;
    const char* press_any_key;
    // Help: a key and what it does, line by line; the bonuses' effects;
    // pause and Escape on the last line.
    const char* help_title;
    HelpLine help[6];
    const char* bonus_effects[WORD_BONUSES];
    const char* pause_key_text;
    const char* escape_key_text;
    // High-score table, level code, name entry, loading.
    const char* table_title;
    const char* table_name;
    const char* table_score;
    const char* table_level;
    const char* code_title;
    const char* code_prompt;
    const char* code_hint;
    const char* record_title;
    const char* record_line1;
    const char* record_line2;
    const char* loading;
    // Intro: the studio's "presents", the two story slides.
    const char* presents;
    const char* story[2];
    // Levels: "LEVEL %d", names, mottos; the announcement's lines.
    const char* level_number;
    const char* level_names[WORD_LEVELS];
    const char* level_mottos[WORD_LEVELS];
    const char* destroy;
    const char* escape_costs;
    const char* level_code;
    // Still screens inside and between levels.
    const char* level_completed;
    const char* game_over;
    const char* paused;
    const char* pause_hint;
    // The instrument panel's labels.
    const char* panel_hull;
    const char* panel_heat;
    const char* panel_fire;
    const char* panel_strikes;
    const char* panel_score;
    const char* panel_weapon;
    // Weapon cards.
    const char* cannon;
    const char* mortar;
    const char* rockets;
    const char* bomb;
    const char* air_bomb;
    const char* sting;
    const char* ink;
    const char* shock;
};

// The edition the painters draw; Czech until set.
void set_edition(Edition edition);
Edition edition();
const Words& words();
// "cs" or "en"; 0 when the name is neither.
int edition_named(const std::string& name, Edition* edition);

#endif
