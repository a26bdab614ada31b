#include "main.h"

int main(int argc, char** argv)
{
    return game_main(argc, argv);
}
