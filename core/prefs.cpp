// prefs.cpp: the settings, the sound names and the unfinished game in prefs.txt, read at start-up and rewritten on change.
#include "prefs.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "board.h"
#include "replace_file.h"
#include "sound.h"

int cell_size = 16;
int display_preview = 1;
int sound_enabled = 0;

// The sound names are read and written here with the other settings, so they
// live with the file code and need no platform header.
char sound_name[SOUND_SLOTS][SOUND_NAME_LEN];

int saved_board[SQUARES];
int saved_current_score;
int checksum;
int saved_checksum;

namespace {

const char PREFS_FILE[] = "prefs.txt";
const char APP_NAME[] = "Dovra";

const char *const DEFAULT_SOUND_NAMES[SOUND_SLOTS] = {
    "move.wav", "woops.wav", "drop.wav", "zip.wav", "gameover.wav", "winner.wav",
};

// A board size outside these bounds can only come from a hand-edited file and
// would give a window of no size, or one far beyond any screen.
constexpr int MIN_CELL_SIZE = 1;
constexpr int MAX_CELL_SIZE = 256;

// The running sum wraps around at 32 bits instead of overflowing.
int add_wrapping(int a, int b)
{
    return static_cast<int>(static_cast<unsigned int>(a) + static_cast<unsigned int>(b));
}

int is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The first equals sign at or after the key's first occurrence, or null when the key does not match.
const char *find_value(const char *line, const char *str)
{
    const char *key = std::strstr(line, str);
    if (key == nullptr)
        return nullptr;
    return std::strchr(key, '=');
}

// Reads an optionally signed decimal int at s. Returns 0, leaving value untouched,
// when no digit follows or the number does not fit an int.
int parse_int(const char *s, int *value)
{
    int negative = 0;
    if (*s == '+' || *s == '-') {
        negative = *s == '-';
        s++;
    }
    if (*s < '0' || *s > '9')
        return 0;
    // INT_MIN's magnitude is one more than INT_MAX's.
    const unsigned long long limit = static_cast<unsigned long long>(INT_MAX) + (negative ? 1 : 0);
    unsigned long long n = 0;
    for (; *s >= '0' && *s <= '9'; s++) {
        n = n * 10 + static_cast<unsigned long long>(*s - '0');
        if (n > limit)
            return 0;
    }
    if (!negative)
        *value = static_cast<int>(n);
    else if (n > static_cast<unsigned long long>(INT_MAX))
        *value = INT_MIN;
    else
        *value = -static_cast<int>(n);
    return 1;
}

int is_piece_or_empty(int v)
{
    return v >= EMPTY && v <= PIECE_KINDS;
}

// Tries the keys in their fixed order; the first that matches takes the line.
void read_line(const char *line)
{
    static char token[24];

    for (int slot = 0; slot < SOUND_SLOTS; slot++) {
        std::snprintf(token, sizeof token, "sound%02d", slot);
        if (ReadString(sound_name[slot], line, token, SOUND_NAME_LEN))
            return;
    }
    int size = cell_size;
    if (ReadInteger(line, "cell_size", &size)) {
        if (size >= MIN_CELL_SIZE && size <= MAX_CELL_SIZE)
            cell_size = size;
        return;
    }
    if (ReadInteger(line, "display_preview", &display_preview))
        return;
    if (ReadInteger(line, "sound_enabled", &sound_enabled))
        return;
    if (ReadInteger(line, "checksum", &saved_checksum))
        return;
    if (ReadInteger(line, "current_score", &saved_current_score)) {
        checksum = add_wrapping(checksum, saved_current_score);
        return;
    }
    for (int i = 0; i < SQUARES; i++) {
        std::snprintf(token, sizeof token, "cell%02d", i);
        if (ReadInteger(line, token, &saved_board[i])) {
            checksum = add_wrapping(checksum, saved_board[i]);
            return;
        }
    }
}

}  // namespace

void set_default_sound_names()
{
    for (int slot = 0; slot < SOUND_SLOTS; slot++)
        std::snprintf(sound_name[slot], SOUND_NAME_LEN, "%s", DEFAULT_SOUND_NAMES[slot]);
}

int ReadInteger(const char *line, const char *str, int *var)
{
    const char *p = find_value(line, str);
    if (p == nullptr)
        return 0;
    p++;
    while (is_space(*p))
        p++;
    // A key with no usable number after it still takes the line; the value stays.
    parse_int(p, var);
    return 1;
}

int ReadString(char *var, const char *line, const char *str, int maxlen)
{
    const char *p = find_value(line, str);
    if (p == nullptr)
        return 0;
    p++;
    while (*p == ' ' || *p == '"' || *p == '\'')
        p++;
    int n = 0;
    for (; n < maxlen - 1; n++) {
        unsigned char c = static_cast<unsigned char>(p[n]);
        // Bytes of 0x80 and above are letters of the program's code page, such as accented ones.
        if (c < 0x20 || c == '"' || c == '\'')
            break;
        var[n] = static_cast<char>(c);
    }
    if (maxlen > 0)
        var[n] = '\0';
    return 1;
}

void LoadPrefs(const char *prefsfile)
{
    // Room for a line with the longest sound name, quotes and all, with plenty to spare.
    static char line[1024];

    FILE *f = std::fopen(prefsfile, "r");
    if (f == nullptr)
        return;
    // A physical line longer than the buffer arrives in pieces, each taken as a line.
    while (std::fgets(line, sizeof line, f) != nullptr) {
        if (line[0] == '#')
            continue;
        read_line(line);
    }
    std::fclose(f);
}

void SavePrefs()
{
    checksum = 0;
    char tmp_name[REPLACE_NAME_LEN];
    FILE *f = open_replacement(PREFS_FILE, tmp_name);
    if (f == nullptr)
        return;

    int ok = 1;
    auto wrote = [&ok](int result) {
        if (result < 0)
            ok = 0;
    };
    wrote(std::fprintf(f, "# Preferences file for %s\n", APP_NAME));
    wrote(std::fprintf(f, "cell_size = %d\n", cell_size));
    wrote(std::fprintf(f, "display_preview = %d\n", display_preview));
    wrote(std::fprintf(f, "sound_enabled = %d\n", sound_enabled));
    for (int slot = 0; slot < SOUND_SLOTS; slot++)
        wrote(std::fprintf(f, "sound%02d = %s\n", slot, sound_name[slot]));

    // A full board is a finished game: nothing to carry over to the next start.
    if (free_cells() != 0) {
        for (int x = 0; x < BOARD_SIZE; x++) {
            for (int y = 0; y < BOARD_SIZE; y++) {
                if (board[x][y] > 0) {
                    wrote(std::fprintf(f, "cell%02d = %d\n", x * BOARD_SIZE + y, board[x][y]));
                    checksum = add_wrapping(checksum, board[x][y]);
                }
            }
        }
        wrote(std::fprintf(f, "current_score = %d\n", current_score));
        checksum = add_wrapping(checksum, current_score);
        wrote(std::fprintf(f, "checksum = %d\n", checksum ^ CHECKSUM_MASK));
    }
    commit_replacement(f, tmp_name, PREFS_FILE, ok);
}

void clear_saved_game()
{
    for (int i = 0; i < SQUARES; i++)
        saved_board[i] = 0;
    saved_current_score = 0;
    checksum = 0;
    saved_checksum = 0;
}

int restore_saved_game()
{
    if ((checksum ^ CHECKSUM_MASK) != saved_checksum)
        return 0;
    for (int i = 0; i < SQUARES; i++)
        if (!is_piece_or_empty(saved_board[i]))
            return 0;
    for (int x = 0; x < BOARD_SIZE; x++)
        for (int y = 0; y < BOARD_SIZE; y++)
            board[x][y] = saved_board[x * BOARD_SIZE + y];
    get_handfull();
    current_score = saved_current_score;
    return 1;
}
