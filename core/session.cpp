// session.cpp: the heart's part of the program's start and end.
#include "session.h"

#include <ctime>

#include "board.h"
#include "commands.h"
#include "platform.h"
#include "prefs.h"
#include "random.h"
#include "scores.h"
#include "sound.h"
#include "turn.h"

void load_settings()
{
    clear_saved_game();
    set_default_sound_names();
    LoadPrefs("prefs.txt");
    LoadSounds();
}

void start_game()
{
    newname[0] = '\0';
    LoadScores();
    dovra::srand(static_cast<unsigned int>(std::time(nullptr)));
    NewGame();
    restore_saved_game();
}

void keep_what_is_owed()
{
    pay_pending_bonus();
    deal_pending_new_game();
    SavePrefs();
}

void session_ends()
{
    platform_end_score_dialog();
    keep_what_is_owed();
}
