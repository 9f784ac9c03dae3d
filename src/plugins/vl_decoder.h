/* VELTRona decoder plugin interface.
 *
 * This header is plain C and may be used by plugins written in C or C++.
 * plugins/vl_tone is a complete example in C; plugins/vl_tone/README.md
 * explains how to build one.
 *
 * Files. A decoder plugin is a DLL named vl_*.dll in the player's plugins
 * folder. The player makes its codecs folder the current directory before it
 * loads a plugin, so DLLs a plugin depends on can be put there. The plugin's
 * file patterns are active unless plugins.ini in the plugins folder says
 * otherwise.
 *
 * Exports. All twelve functions below must be exported under exactly these
 * names (a leading underscore included). On 32-bit Windows they use the
 * __stdcall convention (VL_CALL) and must be exported undecorated: list them
 * in a .def file (with MinGW also link with -Wl,--kill-at). On 64-bit Windows
 * the platform's only convention is used and names are never decorated.
 *
 * Records. 32-bit: DecoderInfo is 20 bytes and FileInfo 100 bytes, 25
 * consecutive 32-bit fields (checked below). 64-bit: the same fields in the
 * same order with 8-byte pointers, 32 and 144 bytes. Integers are 32-bit;
 * a "vl_bool" result is tested on its low 8 bits. FileInfo passed by value
 * (_vl_decoder_setinfo, _vl_decoder_setinfoto) occupies 100 bytes of the
 * stack on 32-bit Windows; the compiler does this for you.
 *
 * Memory. Each side owns what it allocates; nothing is freed across the
 * boundary.
 * - Strings a plugin puts into DecoderInfo or FileInfo belong to the plugin
 *   and must stay valid until the next call into it; the player copies them.
 *   DecoderInfo's strings may point into static data: the player copies them
 *   before it unloads the DLL after probing.
 * - Paths and the FileInfo the player passes in are the player's and valid
 *   only during the call: copy what you keep.
 * - The sample block of _vl_decoder_channel belongs to the player; write at
 *   most `count` stereo frames into it.
 *
 * Threads. The player calls every function from its user-interface thread,
 * one call at a time, never from two threads. A call must return promptly:
 * the player's windows wait for it. A plugin may run its own decoding or
 * output threads, but must not call the player's windows from them in a way
 * that waits for the user-interface thread (SendMessage), and must have
 * stopped its output when INIT_STOP and INIT_RELEASE arrive. The DLL is
 * loaded and unloaded once at start-up to read _vl_decoder_info: do not start
 * threads in DllMain or when the DLL is loaded.
 *
 * Faults. A fault raised inside a call (access violation, division by zero,
 * an escaping C++ exception) cancels that one call; queries then yield 0.
 * Do not rely on it: the plugin's state is undefined afterwards. */
#ifndef VL_DECODER_H
#define VL_DECODER_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define VL_CALL __stdcall
#else
#define VL_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* _vl_decoder_info: kind must be 1 and subkind 0 for a decoder plugin; other
 * values make the player ignore the DLL without a message. */
typedef struct DecoderInfo {
    int32_t kind;
    int32_t subkind;
    const char *extensions;         /* "*.wav;*.wave;" - each pattern followed by ';' */
    const char *filter_description; /* text in the open-file dialogs' filter list */
    const char *display_name;       /* the plugin's name */
} DecoderInfo;

/* Integer fields: negative = not supported. Flags: -1 not supported, 0 no, 1 yes. */
typedef struct FileInfo {
    int32_t file_size;
    int32_t duration; /* seconds */
    int32_t sample_rate;
    int32_t bitrate; /* kbit/s */
    int32_t frames;
    int32_t frame_size;
    int32_t bits_per_sample;
    int32_t channels;
    const char *channel_mode;
    const char *ext_channel_mode;
    const char *format;
    int32_t copyright_flag;
    int32_t original_flag;
    int32_t crc;
    int32_t private_bit;
    const char *emphasis;
    int32_t padding_flag;
    int32_t padding_size;
    const char *title;
    const char *artist;
    const char *album;
    int32_t track;
    const char *comment;
    const char *year;
    const char *genre;
} FileInfo;

/* _vl_decoder_initializate codes. A plugin chosen for a file receives
 * INIT_ATTACH, INIT_OPEN, then _vl_decoder_open and MODE_PLAY. When another
 * file is opened the bound plugin receives INIT_STOP then INIT_RELEASE and
 * nothing more until it is chosen again. */
#define INIT_ATTACH 0  /* param: the host's application window handle */
#define INIT_RELEASE 1 /* sent after INIT_STOP when another plugin takes over */
#define INIT_OPEN 2    /* sent just before _vl_decoder_open */
#define INIT_STOP 3    /* another file is about to be opened: stop all output */

/* _vl_decoder_setmode codes */
#define MODE_PLAY 1 /* result: nonzero low byte = started */
#define MODE_STOP 2
#define MODE_PAUSE 3
#define MODE_RESUME 4
#define MODE_FORWARD 5 /* param: distance in position units */
#define MODE_REWIND 6  /* param: distance in position units */
#define MODE_SEEK 7    /* param: absolute position in position units */
#define MODE_VOLUME 8  /* param: 0..100 percent */
#define MODE_OPTIONS 9

/* _vl_decoder_getmode codes. Length and position use the plugin's own unit
 * (samples, bytes, milliseconds...), the same one as MODE_FORWARD, MODE_REWIND
 * and MODE_SEEK; the player measures how many pass per millisecond. */
#define QUERY_LENGTH 1
#define QUERY_POSITION 2
#define QUERY_STATE 4

/* QUERY_STATE results. Report STATE_ENDED when the end of the file has been
 * played: the playlist then starts its next entry. */
#define STATE_STOPPED 0
#define STATE_ENDED 3
#define STATE_PLAYING 4
#define STATE_PAUSED 5

/* _vl_decoder_channel(count, samples, flag_a, flag_b, flag_c, new_data):
 * called on each display tick while playing, with count = 576 and room for
 * that many interleaved stereo int16 frames of what is audible now. Set
 * *new_data nonzero when fresh samples were written (only then is the scope
 * drawn); flag_a, flag_b and flag_c are the plugin's own, the player ignores
 * them. */
#define VL_CHANNEL_FRAMES 576

/* Booleans are tested on their low 8 bits. */
typedef int32_t vl_bool;

typedef void(VL_CALL *vl_decoder_info_fn)(DecoderInfo *info);
typedef void(VL_CALL *vl_decoder_initializate_fn)(int32_t code, int32_t param);
typedef void(VL_CALL *vl_decoder_open_fn)(const char *path);
typedef int32_t(VL_CALL *vl_decoder_setmode_fn)(int32_t code, int32_t param);
typedef int32_t(VL_CALL *vl_decoder_getmode_fn)(int32_t code);
typedef vl_bool(VL_CALL *vl_decoder_fileinfo_fn)(FileInfo *info);
typedef vl_bool(VL_CALL *vl_decoder_setinfo_fn)(FileInfo info);
typedef void(VL_CALL *vl_decoder_channel_fn)(int32_t count, int16_t *samples, uint8_t *flag_a,
                                             uint8_t *flag_b, uint8_t *flag_c, uint8_t *new_data);
typedef void(VL_CALL *vl_decoder_quickinfo_fn)(const char *path, FileInfo *info);
typedef vl_bool(VL_CALL *vl_decoder_setinfoto_fn)(const char *path, FileInfo info);
/* _vl_decoder_fileinfo: the open file; the record is used only when the result is true.
 * _vl_decoder_quickinfo: any file, without disturbing playback.
 * _vl_decoder_setinfo / _vl_decoder_setinfoto: write the seven tag fields (title, artist,
 * album, track, comment, year, genre) into the open file / the named file; the other
 * fields are to be ignored. Return false when the format has no tags.
 * _vl_decoder_iswavewrite and _vl_decoder_writewave must be exported; the host never calls
 * them, so their arguments are the plugin's choice. */

#ifdef __cplusplus
}
#endif

#if defined(_WIN32) && !defined(_WIN64)
#ifdef __cplusplus
#define VL_STATIC_ASSERT static_assert
#else
#define VL_STATIC_ASSERT _Static_assert
#endif
#include <stddef.h>
VL_STATIC_ASSERT(sizeof(DecoderInfo) == 20, "DecoderInfo is 20 bytes");
VL_STATIC_ASSERT(offsetof(DecoderInfo, extensions) == 8, "DecoderInfo.extensions at 8");
VL_STATIC_ASSERT(offsetof(DecoderInfo, display_name) == 16, "DecoderInfo.display_name at 16");
VL_STATIC_ASSERT(sizeof(FileInfo) == 100, "FileInfo is 100 bytes");
VL_STATIC_ASSERT(offsetof(FileInfo, channel_mode) == 32, "FileInfo.channel_mode at 32");
VL_STATIC_ASSERT(offsetof(FileInfo, copyright_flag) == 44, "FileInfo.copyright_flag at 44");
VL_STATIC_ASSERT(offsetof(FileInfo, emphasis) == 60, "FileInfo.emphasis at 60");
VL_STATIC_ASSERT(offsetof(FileInfo, padding_size) == 68, "FileInfo.padding_size at 68");
VL_STATIC_ASSERT(offsetof(FileInfo, title) == 72, "FileInfo.title at 72");
VL_STATIC_ASSERT(offsetof(FileInfo, track) == 84, "FileInfo.track at 84");
VL_STATIC_ASSERT(offsetof(FileInfo, genre) == 96, "FileInfo.genre at 96");
#elif defined(_WIN64)
#ifdef __cplusplus
#define VL_STATIC_ASSERT static_assert
#else
#define VL_STATIC_ASSERT _Static_assert
#endif
#include <stddef.h>
VL_STATIC_ASSERT(sizeof(DecoderInfo) == 32, "DecoderInfo is 32 bytes on 64-bit Windows");
VL_STATIC_ASSERT(sizeof(FileInfo) == 144, "FileInfo is 144 bytes on 64-bit Windows");
VL_STATIC_ASSERT(offsetof(FileInfo, title) == 88, "FileInfo.title at 88 on 64-bit Windows");
#endif

#endif /* VL_DECODER_H */
