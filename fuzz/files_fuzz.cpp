// files_fuzz.cpp: feeds arbitrary bytes to the prefs.txt and scores.txt readers, the line parsers and the WAV check.
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/types.h>
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
// The folder the fuzzer was started in, where libFuzzer finds its corpus and puts what it finds,
// and the fuzzer's own, where the program's files are written and read for each input.
int home_fd = -1;
int work_fd = -1;

// A helper process removes the fuzzer's folder once the fuzzer has ended, however it ended: after a
// crash, an interrupt or a timeout libFuzzer ends the process without running any exit handler.
void remove_folder_when_done()
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        std::abort();
    const pid_t pid = fork();
    if (pid < 0)
        std::abort();
    if (pid > 0) {
        // The write end stays open for the fuzzer's whole life; the helper sees the end of it.
        close(fds[0]);
        return;
    }
    // Ctrl-C and timeout signal the whole process group; the helper must outlive the fuzzer.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGTERM, SIG_IGN);
    std::signal(SIGHUP, SIG_IGN);
    close(fds[1]);
    char c;
    while (read(fds[0], &c, 1) < 0 && errno == EINTR) {
    }
    for (const char *name : {"prefs.txt", "prefs.txt.tmp", "scores.txt"})
        unlinkat(work_fd, name, 0);
    rmdir(fuzz_dir);
    _exit(0);
}

// A crash file is named from the current folder, which is the fuzzer's own while an input runs:
// unless told otherwise, libFuzzer puts it in the folder it was started in.
void name_crash_files_from_home(int *argc, char ***argv)
{
    static std::string prefix = "-artifact_prefix=";
    static std::vector<char *> args;
    for (int i = 1; i < *argc; i++)
        if (std::strncmp((*argv)[i], "-artifact_prefix=", 17) == 0 ||
            std::strncmp((*argv)[i], "-exact_artifact_path=", 21) == 0)
            return;
    char home[4096];
    if (getcwd(home, sizeof home) == nullptr)
        std::abort();
    prefix += std::string(home) + "/";
    args.assign(*argv, *argv + *argc);
    args.push_back(&prefix[0]);
    args.push_back(nullptr);
    *argc += 1;
    *argv = args.data();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    name_crash_files_from_home(argc, argv);
    // The program reads its files from the current folder; keep the fuzzer's out of the way.
    home_fd = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (home_fd < 0 || mkdtemp(fuzz_dir) == nullptr)
        std::abort();
    work_fd = open(fuzz_dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (work_fd < 0)
        std::abort();
    remove_folder_when_done();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    start_up_state();
    if (fchdir(work_fd) != 0)
        std::abort();
    write_bytes("prefs.txt", data, size);
    write_bytes("scores.txt", data, size);
    LoadPrefs("prefs.txt");
    restore_saved_game();
    LoadScores();
    if (fchdir(home_fd) != 0)
        std::abort();
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
