#include "words.h"

namespace {

const Words CZECH_WORDS = {
    {"NOVÁ HRA", "KÓD ÚROVNĚ", "REKORDY", "NÁPOVĚDA", "KONEC"},
    "bitva o hlubiny",
    "Stiskni libovolnou klávesu",
    "NÁPOVĚDA",
    {
        {"← →", "Ponorka pluje po elipse sama. Šipkou vpravo zrychlíš, šipkou vlevo zpomalíš."},
        {"MYŠ", "Míříš myší, levým tlačítkem střílíš. Střela doletí jen v dosahu zbraně – zelený zaměřovač a kruh kolem ponorky ukazují, kam dostřelíš."},
        {"TAB", "Přepíná zbraně. Hlaveň se střelbou zahřívá: když zhasne zelená kontrolka PAL, chvíli nestřílej."},
        {"PRAVÉ", "Pravé nebo prostřední tlačítko přivolá nálet na místo zaměřovače. Puma zasáhne vše v okolí, i tvou ponorku! Náletů je málo."},
        {"CÍL", "Z hlubiny uprostřed vyplouvají netvoři. Znič je, než uplavou – každý uprchlík stojí 100 bodů. Počítadla vlevo ukazují, kolik jich ještě zbývá."},
        {"BONUS", "Sestřelený netvor občas zanechá bójku. Zasáhni ji a získáš na chvíli výhodu:"},
    },
    {"větší dosah", "rychlá palba", "trojitá salva", "oprava trupu", "rychlejší plavba"},
    "pauza",
    "konec hry",
    "NEJLEPŠÍ KAPITÁNI",
    "JMÉNO",
    "SKÓRE",
    "ÚROVEŇ",
    "KÓD ÚROVNĚ",
    "Napiš kód, který ti ukázala obrazovka před začátkem úrovně, a stiskni Enter.",
    "Velká a malá písmena se rozlišují.",
    "NOVÝ REKORD!",
    "Tvé jméno se zapíše mezi nejlepší kapitány.",
    "Napiš ho a stiskni Enter:",
    "Ponořujeme se…",
    "uvádí",
    {"Z propasti uprostřed oceánu se začali vynořovat netvoři. Lodě mizí beze stopy…",
     "Jedinou nadějí je ponorka ABYSSOR s letectvem v zádech. Kapitáne, ujměte se velení!"},
    "ÚROVEŇ %d",
    {"MĚLČINA", "KORÁLOVÝ ÚTES", "VRAKOVIŠTĚ", "PROPAST"},
    {"Klidná voda nad bílým pískem. Zatím.", "Mezi korály číhají klepeta i žahadla.", "Hřbitov lodí. Nad hlavou bombardéry.",
     "Odtud přicházejí. Poslední bitva."},
    "Znič:",
    "Uniklý netvor stojí 100 bodů.",
    "Kód úrovně:",
    "ÚROVEŇ SPLNĚNA!",
    "KONEC HRY",
    "PAUZA",
    "Hra pokračuje po stisku P",
    "TRUP",
    "ŽÁR",
    "PAL",
    "NÁLETY",
    "SKÓRE",
    "TAB: ZBRAŇ",
    "KANÓN",
    "MINOMET",
    "RAKETY",
    "PUMA",
    "LETECKÁ PUMA",
    "ŽAHNUTÍ",
    "INKOUST",
    "VÝBOJ",
};

const Words ENGLISH_WORDS = {
    {"NEW GAME", "LEVEL CODE", "HIGH SCORES", "HELP", "QUIT"},
    "battle for the deep",
    "Press any key",
    "HELP",
    {
        {"← →", "The submarine sails round the ellipse by itself. The right arrow speeds it up, the left arrow slows it down."},
        {"MOUSE", "Aim with the mouse, fire with the left button. A shell reaches only as far as the weapon can shoot – the green crosshair and the ring round the submarine show how far that is."},
        {"TAB", "Switches weapons. The barrel heats as you fire: when the green FIRE lamp goes out, hold your fire for a while."},
        {"RIGHT", "The right or middle button calls an air strike onto the crosshair. Its bomb hits everything around, your submarine too! Strikes are few."},
        {"GOAL", "Creatures rise from the deep in the middle. Destroy them before they swim away – each one that escapes costs 100 points. The counters on the left show how many are still to come."},
        {"BONUS", "A creature shot down sometimes leaves a buoy behind. Hit it to gain an edge for a while:"},
    },
    {"longer reach", "rapid fire", "triple volley", "hull repair", "faster sailing"},
    "pause",
    "end the game",
    "BEST CAPTAINS",
    "NAME",
    "SCORE",
    "LEVEL",
    "LEVEL CODE",
    "Type the code that the screen before a level showed you, and press Enter.",
    "Capital and small letters are not the same.",
    "NEW HIGH SCORE!",
    "Your name goes among the best captains.",
    "Type it and press Enter:",
    "Diving…",
    "presents",
    {"Creatures have begun to rise from an abyss in the middle of the ocean. Ships vanish without a trace…",
     "The one hope is the submarine ABYSSOR, with the air force behind it. Captain, take command!"},
    "LEVEL %d",
    {"SHALLOWS", "CORAL REEF", "SHIP GRAVEYARD", "THE ABYSS"},
    {"Calm water over white sand. For now.", "Claws and stings lie in wait among the corals.", "A graveyard of ships. Bombers overhead.",
     "This is where they come from. The last battle."},
    "Destroy:",
    "Each creature that gets away costs 100 points.",
    "Level code:",
    "LEVEL COMPLETE!",
    "GAME OVER",
    "PAUSED",
    "Press P to play on",
    "HULL",
    "HEAT",
    "FIRE",
    "STRIKES",
    "SCORE",
    "TAB: WEAPON",
    "CANNON",
    "MORTAR",
    "ROCKETS",
    "BOMB",
    "AIR BOMB",
    "STING",
    "INK",
    "SHOCK",
};

Edition current = CZECH;

}  // namespace

void set_edition(Edition e)
{
    current = e;
}

Edition edition()
{
    return current;
}

const Words& words()
{
    return current == ENGLISH ? ENGLISH_WORDS : CZECH_WORDS;
}

int edition_named(const std::string& name, Edition* e)
{
    if (name == "cs") {
        *e = CZECH;
    } else if (name == "en") {
        *e = ENGLISH;
    } else {
        return 0;
    }
    return 1;
}
