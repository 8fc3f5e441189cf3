// sound_test.cpp: loading the six sound files into memory, handing them to the platform's player, and releasing
// them.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "core/fake_platform.h"
#include "core/store_fixture.h"
#include "core/wav_images.h"
#include "prefs.h"
#include "sound.h"

namespace {

class Sounds : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        fake::reset(fake::mode::blocking);
        for (int slot = 0; slot < SOUND_SLOTS; slot++)
            ASSERT_EQ(wavbuffer[slot], nullptr);
    }
    void TearDown() override
    {
        release_sounds();
        StoreTest::TearDown();
    }
};

// What the player was asked since the player was looked for: "sound SLOT" (the slot's image), "sound none", "stop".
std::vector<std::string> requests()
{
    std::vector<std::string> asked;
    for (const std::string &e : fake::seen().events)
        if (e != "player")
            asked.push_back(e);
    return asked;
}

std::string image_of(int slot, size_t length)
{
    return std::string(reinterpret_cast<const char *>(wavbuffer[slot]), length);
}

// ---------------------------------------------------------------------------------------------
// Loading

TEST_F(Sounds, EachFileIsLoadedWhole)
{
    std::vector<std::string> contents;
    for (int slot = 0; slot < SOUND_SLOTS; slot++) {
        contents.push_back(pcm_wav(std::string(100 + 37 * slot, static_cast<char>(0x80 + slot))));
        write_file(sound_name[slot], contents.back());
    }
    EXPECT_EQ(LoadSounds(), 1);
    for (int slot = 0; slot < SOUND_SLOTS; slot++) {
        ASSERT_NE(wavbuffer[slot], nullptr) << "slot " << slot;
        EXPECT_EQ(image_of(slot, contents[slot].size()), contents[slot]) << "slot " << slot;
    }
    // Loading only looks for the player, and plays nothing, whatever the switch says.
    EXPECT_EQ(fake::seen().events, std::vector<std::string>{"player"});
}

struct FileCase {
    const char *name;
    int present;          // 0: no file at all
    std::string bytes;
    int loaded;
};

void PrintTo(const FileCase &c, std::ostream *os)
{
    *os << c.name;
}

class SoundFile : public Sounds, public ::testing::WithParamInterface<FileCase> {};

TEST_P(SoundFile, LoadsOrLeavesTheSlotEmpty)
{
    const FileCase &c = GetParam();
    if (c.present)
        write_file(sound_name[SOUND_ZIP], c.bytes);
    EXPECT_EQ(LoadSounds(), 1);
    if (c.loaded) {
        ASSERT_NE(wavbuffer[SOUND_ZIP], nullptr);
        EXPECT_EQ(image_of(SOUND_ZIP, c.bytes.size()), c.bytes);
    } else {
        EXPECT_EQ(wavbuffer[SOUND_ZIP], nullptr);
    }
    for (int slot = 0; slot < SOUND_SLOTS; slot++) {
        if (slot != SOUND_ZIP) {
            EXPECT_EQ(wavbuffer[slot], nullptr) << "slot " << slot;
        }
    }
}

const std::string GOOD = pcm_wav("abcdefgh");

INSTANTIATE_TEST_SUITE_P(Sounds, SoundFile, ::testing::Values(
    FileCase{"missing", 0, "", 0},
    FileCase{"empty", 1, "", 0},
    FileCase{"complete_wave", 1, GOOD, 1},
    FileCase{"trailing_bytes_after_riff", 1, GOOD + "extra", 1},
    FileCase{"riff_size_past_end", 1, GOOD.substr(0, GOOD.size() - 1), 0},
    FileCase{"riff_size_far_past_end", 1, "RIFF" + le32(0xFFFFFFFFu) + "WAVE", 0},
    FileCase{"riff_without_size", 1, "RIFF", 0},
    FileCase{"riff_with_half_a_size", 1, std::string("RIFF\x02\x00", 6), 0},
    // Not a WAV the platform can play safely: the slot stays empty, as for a missing file.
    FileCase{"riff_header_only", 1, "RIFF" + le32(0), 0},
    FileCase{"not_riff", 1, "this is not a sound at all", 0},
    FileCase{"riff_in_lower_case", 1, "riff" + le32(1000), 0},
    FileCase{"three_bytes", 1, "RIF", 0},
    FileCase{"one_byte", 1, "R", 0},
    FileCase{"binary_with_zeros", 1, std::string("\x00\xff\x00\x1a\r\n\x00", 7), 0}),
    [](const ::testing::TestParamInfo<FileCase> &info) { return std::string(info.param.name); });

TEST_F(Sounds, FolderInPlaceOfAFileLeavesTheSlotEmpty)
{
    std::filesystem::create_directory(sound_name[SOUND_DROP]);
    EXPECT_EQ(LoadSounds(), 1);
    EXPECT_EQ(wavbuffer[SOUND_DROP], nullptr);
}

TEST_F(Sounds, NamesComeFromTheSettings)
{
    write_file("prefs.txt", "sound01 = \"my woops.wav\"\nsound02 = \n");
    write_file("my woops.wav", GOOD);
    write_file("drop.wav", GOOD);
    LoadPrefs("prefs.txt");
    EXPECT_EQ(LoadSounds(), 1);
    ASSERT_NE(wavbuffer[SOUND_WOOPS], nullptr);
    // An empty name opens nothing: the drop stays silent even though drop.wav exists.
    EXPECT_EQ(wavbuffer[SOUND_DROP], nullptr);

    sound_enabled = 1;
    play_sound(SOUND_DROP);
    EXPECT_EQ(requests(), std::vector<std::string>{"sound none"});
}


// A front end installed with its sounds looks for one the working folder lacks among them, by its name.
struct FallbackCase {
    const char *name;
    const char *sound;  // the slot's name in the settings
    const char *here;   // the working folder's file of that name: "" none, "good", "damaged"
    int installed;      // the installed folder has a good file of that name
    int loaded;         // 0 nothing, 1 the working folder's file, 2 the installed one
};

void PrintTo(const FallbackCase &c, std::ostream *os)
{
    *os << c.name;
}

class SoundFallback : public Sounds, public ::testing::WithParamInterface<FallbackCase> {
protected:
    void TearDown() override
    {
        sound_fallback_folder = nullptr;
        Sounds::TearDown();
    }
};

TEST_P(SoundFallback, TakesThePlayersOwnFileFirst)
{
    const FallbackCase &c = GetParam();
    const std::string own = pcm_wav("the player's own drop");
    const std::string installed = pcm_wav("the installed drop");
    std::filesystem::create_directory("installed");
    const std::string folder = std::filesystem::absolute("installed").string();
    sound_fallback_folder = folder.c_str();
    std::snprintf(sound_name[SOUND_DROP], SOUND_NAME_LEN, "%s", c.sound);
    if (std::string(c.here) == "good")
        write_file("drop.wav", own);
    else if (std::string(c.here) == "damaged")
        write_file("drop.wav", "RIFF and nothing more");
    if (c.installed)
        write_file("installed/drop.wav", installed);

    LoadSounds();

    const std::string want = c.loaded == 1 ? own : c.loaded == 2 ? installed : "";
    EXPECT_EQ(wavbuffer[SOUND_DROP] ? image_of(SOUND_DROP, want.size()) : "", want);
}

INSTANTIATE_TEST_SUITE_P(Sounds, SoundFallback, ::testing::Values(
    FallbackCase{"own_file_first", "drop.wav", "good", 1, 1},
    FallbackCase{"installed_when_missing_here", "drop.wav", "", 1, 2},
    FallbackCase{"installed_in_place_of_a_damaged_one", "drop.wav", "damaged", 1, 2},
    FallbackCase{"neither", "drop.wav", "", 0, 0},
    FallbackCase{"an_empty_name_looks_nowhere", "", "", 1, 0},
    FallbackCase{"a_full_path_is_not_looked_for_there", "/nowhere/drop.wav", "", 1, 0}),
    [](const ::testing::TestParamInfo<FallbackCase> &info) { return std::string(info.param.name); });
// ---------------------------------------------------------------------------------------------
// Playing

struct PlayCase {
    const char *name;
    int files;                        // 1: every slot's file is there; 0: none is
    int enabled;                      // sound_enabled when playing
    std::vector<int> played;          // the slots asked for, in order
    std::vector<std::string> heard;   // what the player is asked for
};

void PrintTo(const PlayCase &c, std::ostream *os)
{
    *os << c.name;
}

class Playing : public Sounds, public ::testing::WithParamInterface<PlayCase> {};

TEST_P(Playing, HandsTheSlotsImageOver)
{
    const PlayCase &c = GetParam();
    for (int slot = 0; slot < SOUND_SLOTS && c.files; slot++)
        write_file(sound_name[slot], pcm_wav(std::string(10 + slot, 'a')));
    LoadSounds();
    sound_enabled = c.enabled;
    for (int slot : c.played)
        play_sound(slot);
    EXPECT_EQ(requests(), c.heard);
}

const std::vector<int> EVERY_SLOT = {SOUND_MOVE, SOUND_MOVE, SOUND_WOOPS, SOUND_DROP,
                                     SOUND_ZIP,  SOUND_GAMEOVER, SOUND_WINNER};

INSTANTIATE_TEST_SUITE_P(Sounds, Playing, ::testing::Values(
    PlayCase{"every_slot_in_order", 1, 1, EVERY_SLOT,
             {"sound move", "sound move", "sound woops", "sound drop", "sound zip", "sound gameover", "sound winner"}},
    PlayCase{"any_value_but_zero_is_on", 1, -3, {SOUND_MOVE}, {"sound move"}},
    PlayCase{"nothing_with_sound_off", 1, 0, EVERY_SLOT, {}},
    PlayCase{"empty_slot_plays_no_image", 0, 1, {SOUND_WINNER}, {"sound none"}},
    PlayCase{"slots_outside_the_table_play_nothing", 0, 1, {-1, SOUND_SLOTS}, {}}),
    [](const ::testing::TestParamInfo<PlayCase> &info) { return std::string(info.param.name); });

TEST_F(Sounds, LoadedWithSoundOffAndPlayedLaterWithoutTheFiles)
{
    const std::string bytes = pcm_wav("later");
    write_file("zip.wav", bytes);
    sound_enabled = 0;
    LoadSounds();
    std::filesystem::remove("zip.wav");
    sound_enabled = 1;
    play_sound(SOUND_ZIP);
    EXPECT_EQ(requests(), std::vector<std::string>{"sound zip"});
    EXPECT_EQ(image_of(SOUND_ZIP, bytes.size()), bytes);
}

// ---------------------------------------------------------------------------------------------
// Releasing

TEST_F(Sounds, ReleaseStopsPlaybackBeforeFreeing)
{
    for (int slot = 0; slot < SOUND_SLOTS; slot += 2)
        write_file(sound_name[slot], GOOD);
    LoadSounds();
    sound_enabled = 1;
    play_sound(SOUND_MOVE);
    release_sounds();
    EXPECT_EQ(requests(), (std::vector<std::string>{"sound move", "stop"}));
    for (int slot = 0; slot < SOUND_SLOTS; slot++)
        EXPECT_EQ(wavbuffer[slot], nullptr) << "slot " << slot;
}

TEST_F(Sounds, ReleaseStopsPlaybackEvenWithSoundOff)
{
    write_file("move.wav", GOOD);
    LoadSounds();
    sound_enabled = 0;
    release_sounds();
    EXPECT_EQ(requests(), std::vector<std::string>{"stop"});
    EXPECT_EQ(wavbuffer[SOUND_MOVE], nullptr);
    // A second release finds nothing left to free.
    release_sounds();
    EXPECT_EQ(requests(), (std::vector<std::string>{"stop", "stop"}));
}

}  // namespace
