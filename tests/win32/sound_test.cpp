// sound_test.cpp: what the Windows program asks of the system's sound player, watched in place of the player it
// found in the system folder's winmm.dll.
#include "sound_player.h"

#include <mmsystem.h>

#include <vector>

#include "win32/program_fixture.h"

namespace {

struct play_call {
    const void* sound;
    UINT flags;
    bool operator==(const play_call& o) const { return sound == o.sound && flags == o.flags; }
};

std::vector<play_call> calls;

BOOL WINAPI watching_player(LPCSTR sound, UINT flags)
{
    calls.push_back({sound, flags});
    return TRUE;
}

void PrintTo(const play_call& c, std::ostream* os)
{
    *os << "(" << c.sound << ", " << c.flags << ")";
}

}  // namespace

using SoundPlayer = ProgramTest;

// A sound plays from its image in memory, at once and without waiting, cutting short the one that plays, and
// never the system's default sound in place of none; an empty slot stops the sound; the close stops it for good.
TEST_F(SoundPlayer, EachRequestIsOneCallOfTheSystemsPlayer)
{
    ASSERT_TRUE(DeleteFileA("zip.wav"));
    start();
    ASSERT_NE(system_sound_player, nullptr) << "no sndPlaySoundA in the system folder's winmm.dll";
    system_sound_player = watching_player;
    calls.clear();
    sound_enabled = 1;
    const void* woops = wavbuffer[SOUND_WOOPS];

    play_sound(SOUND_WOOPS);
    play_sound(SOUND_ZIP);
    send(WM_CLOSE);

    const UINT flags = SND_ASYNC | SND_NODEFAULT | SND_MEMORY;
    EXPECT_EQ(calls, (std::vector<play_call>{{woops, flags}, {nullptr, flags}, {nullptr, 0}}));
}

// A system that has no player to give: every request plays nothing, and nothing fails.
TEST_F(SoundPlayer, WithoutOneEveryRequestIsSilent)
{
    start();
    system_sound_player = nullptr;
    sound_enabled = 1;

    play_sound(SOUND_WOOPS);
    EXPECT_EQ(send(WM_CLOSE), 0);

    EXPECT_EQ(wavbuffer[SOUND_WOOPS], nullptr) << "the sounds are released all the same";
}
