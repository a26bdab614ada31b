// Scenes the frame measurements play, shared by the desktop benchmarks and
// the browser's worst frame, so that both time the same frame.
#pragma once

// The submarine neither dies nor overheats and the creatures never run out,
// so a scene stays as built.
void keep_submarine_going();
// How many creatures live and how many bonuses float.
int live_creatures();
int live_bonuses();
// At least `wanted` creatures (of the level's kinds in turn) and bonuses.
void top_up_creatures(int wanted);
void top_up_bonuses(int wanted);
// Every pool full: 499 shots, 5000 particles, 100 creatures, the enemy plane
// and the support plane, 7 bonuses.
void fill_every_pool();
