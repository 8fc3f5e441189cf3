// sound.h: the six sound effects, loaded whole into memory and played from there.
#pragma once

constexpr int SOUND_SLOTS = 6;
constexpr int SOUND_NAME_LEN = 260;

enum sound_slot {
    SOUND_MOVE = 0,
    SOUND_WOOPS = 1,
    SOUND_DROP = 2,
    SOUND_ZIP = 3,
    SOUND_GAMEOVER = 4,
    SOUND_WINNER = 5,
};

extern char sound_name[SOUND_SLOTS][SOUND_NAME_LEN];
extern unsigned char* wavbuffer[SOUND_SLOTS];
extern long wavlength[SOUND_SLOTS];  // each image's length in bytes, 0 for an empty slot
// Where a sound that is not in the working folder is looked for next, by its name: the sounds a front end
// was installed with. Null (the Windows program) for nowhere.
extern const char* sound_fallback_folder;

void set_default_sound_names();
// The six files into memory, and the system's sound player.
int LoadSounds();
void play_sound(int slot);
void release_sounds();
