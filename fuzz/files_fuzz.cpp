// files_fuzz.cpp: feeds arbitrary bytes to the prefs.txt and scores.txt readers, the line parsers and the WAV check.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "board.h"
#include "common/start_state.h"
#include "prefs.h"
#include "scores.h"
#include "sound.h"
#include "wav_image.h"

namespace {

void write_bytes(const char *name, const uint8_t *data, size_t size)
{
    FILE *f = std::fopen(name, "wb");
    if (f == nullptr)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size)
        std::abort();
    std::fclose(f);
}

void check_terminated(const char *text, size_t capacity)
{
    if (std::memchr(text, '\0', capacity) == nullptr)
        std::abort();
}

char fuzz_dir[] = "/tmp/dovra-files-fuzz-XXXXXX";

void remove_fuzz_dir()
{
    std::remove("prefs.txt");
    std::remove("prefs.txt.tmp");
    std::remove("scores.txt");
    if (chdir("/") == 0)
        rmdir(fuzz_dir);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The program reads its files from the current folder; keep the fuzzer's out of the way.
    if (mkdtemp(fuzz_dir) == nullptr || chdir(fuzz_dir) != 0)
        std::abort();
    std::atexit(remove_fuzz_dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    start_up_state();
    write_bytes("prefs.txt", data, size);
    write_bytes("scores.txt", data, size);
    LoadPrefs("prefs.txt");
    restore_saved_game();
    LoadScores();
    for (int slot = 0; slot < SOUND_SLOTS; slot++)
        check_terminated(sound_name[slot], SOUND_NAME_LEN);
    for (const scrs &entry : scores)
        check_terminated(entry.name, sizeof entry.name);
    if (cell_size < 1 || cell_size > 256)
        std::abort();

    // The parsers on their own, with the input as one line.
    const std::string line(reinterpret_cast<const char *>(data), size);
    int value = 0;
    ReadInteger(line.c_str(), "k", &value);
    char text[16];
    ReadString(text, line.c_str(), "k", sizeof text);

    // The input as a sound file's image.
    is_playable_wav(data, static_cast<long>(size));
    return 0;
}
