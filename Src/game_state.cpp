#include "game_state.h"

GameState game;

void reset_game_state()
{
    game = GameState();
}
