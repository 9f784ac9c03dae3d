/* VELTRona decoder plugin interface.
 *
 * A decoder plugin is a DLL named vl_*.dll in the player's plugins folder.
 * It exports the functions below, undecorated, with the __stdcall calling
 * convention on 32-bit Windows (use a .def file). Integers are 32-bit;
 * strings are NUL-terminated ANSI text owned by the side that fills the
 * record and must stay valid until the next call into the plugin.
 *
 * This header is plain C and may be used by plugins written in C or C++. */
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

/* _vl_decoder_info: kind must be 1 and subkind 0 for a decoder plugin. */
typedef struct DecoderInfo {
    int32_t kind;
    int32_t subkind;
    const char* extensions;         /* "*.wav;*.wave;" - each pattern followed by ';' */
    const char* filter_description; /* text in the open-file dialogs' filter list */
    const char* display_name;       /* the plugin's name */
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
    const char* channel_mode;
    const char* ext_channel_mode;
    const char* format;
    int32_t copyright_flag;
    int32_t original_flag;
    int32_t crc;
    int32_t private_bit;
    const char* emphasis;
    int32_t padding_flag;
    int32_t padding_size;
    const char* title;
    const char* artist;
    const char* album;
    int32_t track;
    const char* comment;
    const char* year;
    const char* genre;
} FileInfo;

/* _vl_decoder_initializate codes */
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

/* _vl_decoder_getmode codes */
#define QUERY_LENGTH 1
#define QUERY_POSITION 2
#define QUERY_STATE 4

/* QUERY_STATE results */
#define STATE_STOPPED 0
#define STATE_ENDED 3
#define STATE_PLAYING 4
#define STATE_PAUSED 5

/* Samples handed to _vl_decoder_channel: 576 interleaved stereo int16 frames. */
#define VL_CHANNEL_FRAMES 576

/* Booleans are tested on their low 8 bits. */
typedef int32_t vl_bool;

typedef void(VL_CALL* vl_decoder_info_fn)(DecoderInfo* info);
typedef void(VL_CALL* vl_decoder_initializate_fn)(int32_t code, int32_t param);
typedef void(VL_CALL* vl_decoder_open_fn)(const char* path);
typedef int32_t(VL_CALL* vl_decoder_setmode_fn)(int32_t code, int32_t param);
typedef int32_t(VL_CALL* vl_decoder_getmode_fn)(int32_t code);
typedef vl_bool(VL_CALL* vl_decoder_fileinfo_fn)(FileInfo* info);
typedef vl_bool(VL_CALL* vl_decoder_setinfo_fn)(FileInfo info);
typedef void(VL_CALL* vl_decoder_channel_fn)(int32_t count, int16_t* samples, uint8_t* flag_a,
                                             uint8_t* flag_b, uint8_t* flag_c, uint8_t* new_data);
typedef void(VL_CALL* vl_decoder_quickinfo_fn)(const char* path, FileInfo* info);
typedef vl_bool(VL_CALL* vl_decoder_setinfoto_fn)(const char* path, FileInfo info);
/* _vl_decoder_iswavewrite and _vl_decoder_writewave must be exported; the host never calls them. */

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
#endif

#endif /* VL_DECODER_H */
