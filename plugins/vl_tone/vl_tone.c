/* vl_tone.dll: a minimal decoder plugin for VELTRona, written in C.
 *
 * It plays ".tone" files: small text files holding a frequency in Hz and a
 * length in milliseconds, for example "440 2500". The sine tone is computed
 * into one buffer and handed to waveOut as a whole; the position follows a
 * millisecond clock, so playback also runs (silently) on a machine without
 * an audio device. Position units are milliseconds.
 *
 * Every call comes from the player's user-interface thread, so the plugin
 * needs no locking and starts no thread of its own. */
#include <windows.h>
#include <mmsystem.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "plugins/vl_decoder.h"

#define RATE 22050
#define MAX_LENGTH_MS (10 * 60 * 1000)

static struct {
    char path[MAX_PATH];
    int hz, length_ms;
    int state;
    DWORD started; /* timeGetTime() when the clock last started */
    int start_pos; /* position at that moment, ms */
    int volume;    /* percent */
    HWAVEOUT out;
    WAVEHDR header;
    int16_t* pcm; /* the whole tone, mono */
} g = {.state = STATE_STOPPED, .volume = 100};

/* The record's strings point here; they stay valid until the next call. */
static char title_text[64];

/* Reads "<hz> <ms>"; returns 0 when the file cannot be read. */
static int read_tone(const char* path, int* hz, int* length_ms) {
    FILE* f = fopen(path, "rb");
    if (!f) return 0;
    int a = 440, b = 2000;
    if (fscanf(f, "%d %d", &a, &b) < 1) a = 440;
    fclose(f);
    *hz = a < 20 ? 20 : a > 20000 ? 20000 : a;
    *length_ms = b < 100 ? 100 : b > MAX_LENGTH_MS ? MAX_LENGTH_MS : b;
    return 1;
}

static long file_size(const char* path) {
    FILE* f = fopen(path, "rb");
    if (!f) return -1;
    fseek(f, 0, SEEK_END);
    long n = ftell(f);
    fclose(f);
    return n;
}

static void stop_output(void) {
    if (!g.out) return;
    waveOutReset(g.out);
    waveOutUnprepareHeader(g.out, &g.header, sizeof g.header);
    waveOutClose(g.out);
    g.out = NULL;
}

/* Queues the tone from position pos_ms. Without a device nothing is heard
 * and the clock alone carries playback. */
static void start_output(int pos_ms) {
    stop_output();
    const int total = (int)((long long)g.length_ms * RATE / 1000);
    if (!g.pcm) {
        g.pcm = (int16_t*)malloc(sizeof(int16_t) * (size_t)total);
        if (!g.pcm) return;
        for (int i = 0; i < total; ++i)
            g.pcm[i] = (int16_t)(12000.0 * sin(2.0 * 3.14159265358979 * g.hz * i / RATE));
    }
    WAVEFORMATEX fmt = {WAVE_FORMAT_PCM, 1, RATE, RATE * 2, 2, 16, 0};
    if (waveOutOpen(&g.out, WAVE_MAPPER, &fmt, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        g.out = NULL;
        return;
    }
    const int first = (int)((long long)pos_ms * RATE / 1000);
    memset(&g.header, 0, sizeof g.header);
    g.header.lpData = (LPSTR)(g.pcm + first);
    g.header.dwBufferLength = (DWORD)(total - first) * 2;
    waveOutPrepareHeader(g.out, &g.header, sizeof g.header);
    const DWORD level = (DWORD)(0xFFFF * g.volume / 100);
    waveOutSetVolume(g.out, level | level << 16);
    waveOutWrite(g.out, &g.header, sizeof g.header);
}

/* The position in ms; switches to STATE_ENDED at the end. */
static int position(void) {
    if (g.state != STATE_PLAYING) return g.start_pos;
    int pos = g.start_pos + (int)(timeGetTime() - g.started);
    if (pos >= g.length_ms) {
        pos = g.start_pos = g.length_ms;
        g.state = STATE_ENDED;
        stop_output();
    }
    return pos;
}

static void jump(int pos_ms) {
    if (pos_ms < 0) pos_ms = 0;
    if (pos_ms > g.length_ms) pos_ms = g.length_ms;
    g.start_pos = pos_ms;
    g.started = timeGetTime();
    if (g.state == STATE_PLAYING) start_output(pos_ms);
}

static void fill_info(const char* path, int hz, int length_ms, FileInfo* info) {
    snprintf(title_text, sizeof title_text, "%d Hz", hz);
    info->file_size = (int32_t)file_size(path);
    info->duration = length_ms / 1000;
    info->sample_rate = RATE;
    info->bitrate = RATE * 16 / 1000;
    info->frames = -1;
    info->frame_size = -1;
    info->bits_per_sample = 16;
    info->channels = 1;
    info->channel_mode = "Mono";
    info->ext_channel_mode = "";
    info->format = "Sine tone";
    info->copyright_flag = info->original_flag = info->crc = info->private_bit = -1;
    info->emphasis = "";
    info->padding_flag = -1;
    info->padding_size = -1;
    info->title = title_text;
    info->artist = "Tone generator";
    info->album = "";
    info->track = -1;
    info->comment = "";
    info->year = "";
    info->genre = "";
}

void VL_CALL _vl_decoder_info(DecoderInfo* info) {
    info->kind = 1;
    info->subkind = 0;
    info->extensions = "*.tone;";
    info->filter_description = "Tone files (*.tone)";
    info->display_name = "Tone generator (example)";
}

void VL_CALL _vl_decoder_initializate(int32_t code, int32_t param) {
    (void)param; /* INIT_ATTACH: the player's window, not needed here */
    if (code == INIT_STOP || code == INIT_RELEASE) {
        stop_output();
        g.state = STATE_STOPPED;
    }
}

void VL_CALL _vl_decoder_open(const char* path) {
    stop_output();
    free(g.pcm);
    g.pcm = NULL;
    g.state = STATE_STOPPED;
    g.start_pos = 0;
    lstrcpynA(g.path, path, sizeof g.path);
    if (!read_tone(g.path, &g.hz, &g.length_ms)) g.length_ms = 0;
}

int32_t VL_CALL _vl_decoder_setmode(int32_t code, int32_t param) {
    switch (code) {
        case MODE_PLAY:
            if (g.length_ms <= 0) return 0;
            g.state = STATE_PLAYING;
            jump(0);
            return 1;
        case MODE_STOP:
            stop_output();
            g.state = STATE_STOPPED;
            g.start_pos = 0;
            return 1;
        case MODE_PAUSE:
            if (g.state != STATE_PLAYING) return 0;
            g.start_pos = position();
            if (g.state == STATE_PLAYING) {
                g.state = STATE_PAUSED;
                if (g.out) waveOutPause(g.out);
            }
            return 1;
        case MODE_RESUME:
            if (g.state != STATE_PAUSED) return 0;
            g.state = STATE_PLAYING;
            g.started = timeGetTime();
            if (g.out) waveOutRestart(g.out);
            return 1;
        case MODE_FORWARD:
            jump(position() + param);
            return 1;
        case MODE_REWIND:
            jump(position() - param);
            return 1;
        case MODE_SEEK:
            jump(param);
            return 1;
        case MODE_VOLUME:
            g.volume = param < 0 ? 0 : param > 100 ? 100 : param;
            if (g.out) {
                const DWORD level = (DWORD)(0xFFFF * g.volume / 100);
                waveOutSetVolume(g.out, level | level << 16);
            }
            return 1;
        case MODE_OPTIONS:
            MessageBoxA(NULL, "The tone plugin has no options.", "Tone generator",
                        MB_OK | MB_ICONINFORMATION);
            return 1;
    }
    return 0;
}

int32_t VL_CALL _vl_decoder_getmode(int32_t code) {
    switch (code) {
        case QUERY_LENGTH:
            return g.length_ms;
        case QUERY_POSITION:
            return position();
        case QUERY_STATE:
            position();
            return g.state;
    }
    return 0;
}

vl_bool VL_CALL _vl_decoder_fileinfo(FileInfo* info) {
    if (g.length_ms <= 0) return 0;
    fill_info(g.path, g.hz, g.length_ms, info);
    return 1;
}

/* Tone files carry no tags. */
vl_bool VL_CALL _vl_decoder_setinfo(FileInfo info) {
    (void)info;
    return 0;
}

vl_bool VL_CALL _vl_decoder_setinfoto(const char* path, FileInfo info) {
    (void)path;
    (void)info;
    return 0;
}

/* Required exports the player never calls. */
vl_bool VL_CALL _vl_decoder_iswavewrite(void) {
    return 0;
}

void VL_CALL _vl_decoder_writewave(void) {}

void VL_CALL _vl_decoder_channel(int32_t count, int16_t* samples, uint8_t* flag_a, uint8_t* flag_b,
                                 uint8_t* flag_c, uint8_t* new_data) {
    *flag_a = *flag_b = *flag_c = 0;
    const int pos = position();
    if (g.state != STATE_PLAYING) {
        *new_data = 0;
        return;
    }
    /* What is audible now, as interleaved stereo frames at 44100 Hz. */
    const double t0 = pos / 1000.0, level = 12000.0 * g.volume / 100;
    for (int32_t i = 0; i < count; ++i) {
        const double v = level * sin(2.0 * 3.14159265358979 * g.hz * (t0 + i / 44100.0));
        samples[2 * i] = samples[2 * i + 1] = (int16_t)v;
    }
    *new_data = 1;
}

void VL_CALL _vl_decoder_quickinfo(const char* path, FileInfo* info) {
    int hz, length_ms;
    if (read_tone(path, &hz, &length_ms)) fill_info(path, hz, length_ms, info);
}
