// sound_server.h: the GTK program's hold on the desktop's sound server, beyond the heart's requests (platform.h).
#pragma once

// 1 while connected to the sound server: a sound requested now is heard.
int sound_server_connected();
// Stops any sound and ends the connection and the main loop's part in it, for a clean exit; afterwards
// every request plays nothing, until platform_open_sound.
void close_sound_server();
