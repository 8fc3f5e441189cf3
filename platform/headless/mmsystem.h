/* mmsystem.h: the winmm sound call that Dovra makes, for native builds on the headless stand-in. */
#ifndef DOVRA_HEADLESS_MMSYSTEM_H
#define DOVRA_HEADLESS_MMSYSTEM_H

#include <windows.h>

#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_MEMORY 0x0004
#define SND_LOOP 0x0008
#define SND_NOSTOP 0x0010
#define SND_NOWAIT 0x00002000
#define SND_FILENAME 0x00020000

#ifdef __cplusplus
extern "C" {
#endif

BOOL WINAPI sndPlaySoundA(LPCSTR pszSound, UINT fuSound);

#ifdef __cplusplus
}
#endif

#endif
