// sound.cpp: the GTK program's sound player: the heart's in-memory WAV images played by the desktop's sound
// server (PulseAudio, or PipeWire's PulseAudio service) through libpulse, driven by the GLib main loop.
#include <glib.h>
#include <pulse/glib-mainloop.h>
#include <pulse/pulseaudio.h>

#include <cstddef>
#include <cstdint>

#include "platform.h"
#include "sound_server.h"
#include "wav_image.h"

namespace {

// After the server has gone, or was never there, a request looks for it again at most this often.
constexpr gint64 RETRY_MICROSECONDS = 3 * G_USEC_PER_SEC;
// What the server holds of a sound ahead of playing it: little, so that a sound starts at once even on a
// server that cannot take back what it has already mixed; our writes come from the GUI thread's loop,
// which answers the server's requests far sooner than that.
constexpr pa_usec_t AHEAD_MICROSECONDS = 100 * PA_USEC_PER_MSEC;

pa_glib_mainloop *loop = nullptr;
pa_context *context = nullptr;
gint64 last_attempt = 0;

// The sound that plays, and the part of its samples the server has not been given yet.
pa_stream *stream = nullptr;
const unsigned char *unwritten = nullptr;
size_t unwritten_bytes = 0;

void connect_server()
{
    last_attempt = g_get_monotonic_time();
    context = pa_context_new(pa_glib_mainloop_get_api(loop), "Dovra");
    // Never start a server of our own, and fail when there is none rather than wait for one: a
    // request meanwhile plays nothing, and a later one looks again.
    if (context != nullptr)
        pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr);
}

// Ends the sound that plays at once: the server throws away what it holds of it.
void drop_stream()
{
    if (stream == nullptr)
        return;
    pa_stream_set_write_callback(stream, nullptr, nullptr);
    // One still being made cannot be disconnected yet: stream_changed does it when the server has it.
    if (pa_stream_get_state(stream) == PA_STREAM_READY)
        pa_stream_disconnect(stream);
    pa_stream_unref(stream);
    stream = nullptr;
    unwritten = nullptr;
    unwritten_bytes = 0;
}

void stream_changed(pa_stream *s, void *)
{
    // Alive while the context holds it, so never confused with a newer stream at the same address.
    if (s != stream && pa_stream_get_state(s) == PA_STREAM_READY)
        pa_stream_disconnect(s);
}

void stream_drained(pa_stream *s, int, void *)
{
    // Played out: the server need not keep an idle stream of ours.
    if (s == stream)
        drop_stream();
}

void write_samples(pa_stream *s, size_t requested, void *)
{
    if (s != stream)
        return;
    const size_t frame = pa_frame_size(pa_stream_get_sample_spec(s));
    const size_t n = requested < unwritten_bytes ? requested - requested % frame : unwritten_bytes;
    if (n == 0)
        return;
    // No free callback: libpulse copies the samples now, so nothing reads the image once its sound is
    // stopped, even on a connection without shared memory.
    if (pa_stream_write(s, unwritten, n, nullptr, 0, PA_SEEK_RELATIVE) < 0) {
        drop_stream();
        return;
    }
    unwritten += n;
    unwritten_bytes -= n;
    if (unwritten_bytes == 0) {
        pa_stream_set_write_callback(s, nullptr, nullptr);
        // Draining also starts a sound shorter than what the server waits for before it plays.
        pa_operation *drain = pa_stream_drain(s, stream_drained, nullptr);
        if (drain != nullptr)
            pa_operation_unref(drain);
    }
}

// Connecting never blocks: a server that failed, or was never found, is looked for again by a request,
// at most every few seconds.
void reconnect_when_due()
{
    if (loop == nullptr)
        return;
    if (context != nullptr && PA_CONTEXT_IS_GOOD(pa_context_get_state(context)))
        return;
    if (g_get_monotonic_time() - last_attempt < RETRY_MICROSECONDS)
        return;
    drop_stream();
    if (context != nullptr)
        pa_context_unref(context);
    connect_server();
}

}  // namespace

void platform_open_sound()
{
    if (loop != nullptr)
        return;
    loop = pa_glib_mainloop_new(nullptr);
    if (loop != nullptr)
        connect_server();
}

void platform_play_sound(const unsigned char *image, long length)
{
    drop_stream();
    reconnect_when_due();
    wav_pcm pcm;
    // Nothing is kept for later: what cannot play now never plays.
    if (!sound_server_connected() || !read_wav_pcm(image, length, &pcm) || pcm.frames == 0)
        return;
    pa_sample_spec format;
    format.format = pcm.bits == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    format.rate = static_cast<uint32_t>(pcm.rate);
    format.channels = static_cast<uint8_t>(pcm.channels);
    pa_proplist *properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "game");
    stream = pa_stream_new_with_proplist(context, "Dovra", &format, nullptr, properties);
    pa_proplist_free(properties);
    if (stream == nullptr)
        return;
    unwritten = pcm.samples;
    unwritten_bytes = static_cast<size_t>(pcm.frames) * pa_frame_size(&format);
    pa_stream_set_state_callback(stream, stream_changed, nullptr);
    pa_stream_set_write_callback(stream, write_samples, nullptr);
    pa_buffer_attr buffer;
    buffer.maxlength = UINT32_MAX;
    buffer.tlength = static_cast<uint32_t>(pa_usec_to_bytes(AHEAD_MICROSECONDS, &format));
    buffer.prebuf = UINT32_MAX;
    buffer.minreq = UINT32_MAX;
    buffer.fragsize = UINT32_MAX;
    if (pa_stream_connect_playback(stream, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0)
        drop_stream();
}

void platform_stop_sound()
{
    drop_stream();
}

int sound_server_connected()
{
    return context != nullptr && pa_context_get_state(context) == PA_CONTEXT_READY;
}

void close_sound_server()
{
    drop_stream();
    if (context != nullptr) {
        pa_context_disconnect(context);
        pa_context_unref(context);
        context = nullptr;
    }
    if (loop != nullptr) {
        pa_glib_mainloop_free(loop);
        loop = nullptr;
    }
}
