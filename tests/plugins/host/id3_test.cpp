#include <gtest/gtest.h>

#include <fstream>

#include "id3_tag.h"
#include "mpeg_plugin.h"
#include "test_files.h"

namespace vl {
namespace {

using test::append;
using test::find_bytes;

std::vector<uint8_t> syncsafe(uint32_t n) {
    return {static_cast<uint8_t>((n >> 21) & 0x7F), static_cast<uint8_t>((n >> 14) & 0x7F),
            static_cast<uint8_t>((n >> 7) & 0x7F), static_cast<uint8_t>(n & 0x7F)};
}

std::vector<uint8_t> tag(int version, uint8_t flags, const std::vector<uint8_t>& frames) {
    std::vector<uint8_t> t = {'I', 'D', '3', static_cast<uint8_t>(version), 0, flags};
    auto s = syncsafe(static_cast<uint32_t>(frames.size()));
    t.insert(t.end(), s.begin(), s.end());
    t.insert(t.end(), frames.begin(), frames.end());
    return t;
}

void frame(std::vector<uint8_t>& out, int version, const std::string& id,
           const std::vector<uint8_t>& content, uint8_t format_flags = 0) {
    append(out, id);
    const uint32_t n = static_cast<uint32_t>(content.size());
    if (version == 2) {
        out.insert(out.end(), {static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 8),
                               static_cast<uint8_t>(n)});
    } else {
        std::vector<uint8_t> size;
        if (version == 3)
            put_be32(size, n);
        else
            size = syncsafe(n);
        out.insert(out.end(), size.begin(), size.end());
        out.push_back(0);
        out.push_back(format_flags);
    }
    out.insert(out.end(), content.begin(), content.end());
}

std::vector<uint8_t> text(uint8_t enc, const std::string& s) {
    std::vector<uint8_t> c = {enc};
    append(c, s);
    return c;
}

Id3v2Tag parse(const std::vector<uint8_t>& t) {
    return parse_id3v2(t.data(), t.size());
}

TEST(Id3v2, Version22FramesAndGenreReferences) {
    std::vector<uint8_t> f;
    frame(f, 2, "TT2", text(0, "Old Song"));
    frame(f, 2, "TP1", text(0, "Old Band"));
    frame(f, 2, "TRK", text(0, "4/9"));
    frame(f, 2, "TCO", text(0, "(17)"));
    frame(f, 2, "COM", text(0, std::string("engdesc\0described", 17)));
    frame(f, 2, "COM", text(0, std::string("eng\0plain", 9)));
    f.resize(f.size() + 20, 0);  // padding
    Id3v2Tag t = parse(tag(2, 0, f));
    ASSERT_TRUE(t.present);
    EXPECT_EQ(t.tags.title, "Old Song");
    EXPECT_EQ(t.tags.artist, "Old Band");
    EXPECT_EQ(t.tags.track, 4);
    EXPECT_EQ(t.tags.genre, "Rock");
    EXPECT_EQ(t.tags.comment, "plain") << "the comment without description wins";
}

TEST(Id3v2, Version24SyncsafeSizesUtf8AndRecordingTime) {
    std::vector<uint8_t> f;
    const std::string long_title(200, 'x');  // size 201: syncsafe differs from plain
    frame(f, 4, "TIT2", text(3, long_title));
    frame(f, 4, "TPE1", text(3, "Caf\xC3\xA9 \xE2\x82\xAC"));  // "Café €"
    frame(f, 4, "TDRC", text(0, "2004-05-06"));
    frame(f, 4, "TCON", text(0, "Synthpop"));
    // An unsynchronised frame with a data length indicator.
    std::vector<uint8_t> album = {0, 0, 0, 6, 0, 'A', 0xFF, 0x00, 0xE0, 'b'};
    frame(f, 4, "TALB", album, 0x03);
    frame(f, 4, "TXXX", text(0, std::string("key\0value", 9)));
    Id3v2Tag t = parse(tag(4, 0, f));
    ASSERT_TRUE(t.present);
    EXPECT_EQ(t.tags.title, long_title);
    EXPECT_EQ(t.tags.artist, "Caf\xE9 \x80");
    EXPECT_EQ(t.tags.year, "2004");
    EXPECT_EQ(t.tags.genre, "Synthpop");
    EXPECT_EQ(t.tags.album,
              "A\xFF\xE0"
              "b");
    // TXXX is kept as a v2.3 frame for the rewrite.
    ASSERT_EQ(t.other_frames.size(), 10u + 10u);
    EXPECT_EQ(std::string(t.other_frames.begin(), t.other_frames.begin() + 4), "TXXX");
    EXPECT_EQ(be32(&t.other_frames[4]), 10u);

    // An overlong UTF-8 NUL (found by fuzzing) reads as '?', never as a NUL.
    std::vector<uint8_t> g;
    frame(g, 4, "TPE1",
          text(3,
               "A\xC0\x80"
               "B"));
    EXPECT_EQ(parse(tag(4, 0, g)).tags.artist, std::string("A?B"));
}

TEST(Id3v2, Version23UnsyncUtf16AndDamage) {
    std::vector<uint8_t> f;
    frame(f, 3, "TIT2", {1, 0xFF, 0xFE, 'H', 0, 'i', 0, 0, 0});
    frame(f, 3, "TPE1", {2, 0, 'B', 0, 'E'});
    std::vector<uint8_t> sync;  // tag-level unsynchronisation: FF 00 -> FF
    for (uint8_t b : f) {
        sync.push_back(b);
        if (b == 0xFF) sync.push_back(0);
    }
    Id3v2Tag t = parse(tag(3, 0x80, sync));
    EXPECT_EQ(t.tags.title, "Hi");
    EXPECT_EQ(t.tags.artist, "BE");

    // A frame whose size runs past the tag ends the frame walk, nothing more.
    std::vector<uint8_t> bad;
    frame(bad, 3, "TIT2", text(0, "ok"));
    append(bad, "TPE1");
    put_be32(bad, 0x7FFFFFFF);
    bad.insert(bad.end(), {0, 0, 0, 'x'});
    t = parse(tag(3, 0, bad));
    EXPECT_EQ(t.tags.title, "ok");
    EXPECT_EQ(t.tags.artist, "");
    // Truncated tags and unknown versions.
    auto whole = tag(3, 0, bad);
    EXPECT_TRUE(parse(std::vector<uint8_t>(whole.begin(), whole.begin() + 15)).present);
    EXPECT_FALSE(parse(tag(5, 0, bad)).present);
    EXPECT_FALSE(parse({'I', 'D', '3'}).present);
}

// Unicode frames reach the ANSI code page (1252 on the host) with every
// character it has; what is written back keeps them.
TEST(Id3v2, UnicodeTextInTheAnsiCodePageAndWrittenBackAsUtf16) {
    std::vector<uint8_t> f;
    frame(f, 4, "TIT2", text(3, "Don\xE2\x80\x99t \xC5\x93 \xD0\x94"));  // "Don’t œ Д"
    std::vector<uint8_t> utf16 = {1, 0xFF, 0xFE};
    for (char16_t c : std::u16string(u"\u201CQ\u201D \u2013 \u2026")) put_le16(utf16, c);
    frame(f, 4, "TPE1", utf16);
    Id3v2Tag t = parse(tag(4, 0, f));
    EXPECT_EQ(t.tags.title, "Don\x92t \x9C ?");
    EXPECT_EQ(t.tags.artist, "\x93Q\x94 \x96 \x85");

    TagSet typed;
    typed.title = "Don\x92t";
    typed.artist = "Plain";
    typed.comment = "\x80 5";
    const auto bytes = build_id3v2_3(typed, {});
    const size_t tit2 = find_bytes(bytes, "TIT2");
    ASSERT_NE(tit2, std::string::npos);
    const std::vector<uint8_t> title_utf16 = {1,   0xFF, 0xFE, 'D',  0,   'o', 0,
                                              'n', 0,    0x19, 0x20, 't', 0};
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + tit2 + 10, bytes.begin() + tit2 + 23),
              title_utf16);
    EXPECT_EQ(bytes[find_bytes(bytes, "TPE1") + 10], 0) << "plain ASCII stays ISO-8859-1";
    EXPECT_EQ(parse(bytes).tags, typed);
}

// Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D have no character in code page 1252;
// a Latin-1 frame holding them reads back the same after the UTF-16 rewrite.
TEST(Id3v2, CodePageHolesSurviveTheRewrite) {
    std::vector<uint8_t> f;
    frame(f, 3, "TPE1", text(0, "a\x81\x8D\x8F\x90\x9D\x80z"));
    const Id3v2Tag t = parse(tag(3, 0, f));
    EXPECT_EQ(t.tags.artist, "a\x81\x8D\x8F\x90\x9D\x80z");
    EXPECT_EQ(parse(build_id3v2_3(t.tags, t.other_frames)).tags, t.tags);
}

TEST(Id3, V1AndMergeAndGenres) {
    TagSet a;
    a.title = "A title that is longer than thirty characters";
    a.artist = "Artist";
    a.album = "Album";
    a.year = "1987";
    a.comment = "Comment";
    a.track = 200;
    a.genre = "hard rock";
    std::vector<uint8_t> v1 = build_id3v1(a);
    ASSERT_EQ(v1.size(), 128u);
    EXPECT_EQ(v1[126], 200);
    EXPECT_EQ(v1[127], 79);
    TagSet b;
    ASSERT_TRUE(parse_id3v1(v1.data(), v1.size(), b));
    EXPECT_EQ(b.title, a.title.substr(0, 30));
    EXPECT_EQ(b.track, 200);
    EXPECT_EQ(b.genre, "Hard Rock");
    a.genre = "Not A Genre";
    EXPECT_EQ(build_id3v1(a)[127], 255);

    std::vector<uint8_t> f;
    frame(f, 3, "TIT2", text(0, "V2 title"));
    Id3v2Tag v2 = parse(tag(3, 0, f));
    TagSet m = merge_tags(v2, true, b);
    EXPECT_EQ(m.title, "V2 title");
    EXPECT_EQ(m.album, "Album");
    EXPECT_EQ(m.track, 200);
    EXPECT_EQ(merge_tags(Id3v2Tag{}, false, b), TagSet{});

    EXPECT_EQ(genre_from_id3("(4)"), "Disco");
    EXPECT_EQ(genre_from_id3("(4)Eurodisco"), "Eurodisco");
    EXPECT_EQ(genre_from_id3("31"), "Trance");
    EXPECT_EQ(genre_from_id3("(RX)"), "Remix");
    EXPECT_EQ(genre_from_id3("CR"), "Cover");
    EXPECT_EQ(genre_from_id3("(999)"), "");
    EXPECT_EQ(genre_from_id3("Shoegaze"), "Shoegaze");
    // The extended numbers up to 191.
    EXPECT_EQ(genre_from_id3("(148)"), "Abstract");
    EXPECT_EQ(genre_from_id3("191"), "Psybient");
    v1[127] = 178;
    ASSERT_TRUE(parse_id3v1(v1.data(), v1.size(), b));
    EXPECT_EQ(b.genre, "Shoegaze");

    // genre.txt beside the program lists the same names in the same order.
    std::ifstream in(VL_GENRE_FILE);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    EXPECT_EQ(lines, genre_names());
}

TEST(Id3, LameTagsReadAndRewrittenAsV23WithV1) {
    const auto original = test::read_file(test::media("tagged.mp3"));
    const std::string path = test::temp_file("tagged.mp3", original);
    InfoTexts texts;
    FileInfo info = blank_info(texts);
    ASSERT_TRUE(describe_mpeg(path, info, texts));
    EXPECT_STREQ(info.title, "Sine Title");
    EXPECT_STREQ(info.artist, "Test Artist");
    EXPECT_STREQ(info.album, "Tone Album");
    EXPECT_STREQ(info.year, "2001");
    EXPECT_STREQ(info.comment, "made by lame");
    EXPECT_STREQ(info.genre, "Rock");
    EXPECT_EQ(info.track, 7);

    TagSet t;
    t.title = "New \xE9t\xE9";
    t.artist = "Other";
    t.comment = "c";
    t.genre = "Jazz";
    t.year = "2024";
    t.track = 12;
    ASSERT_TRUE(write_mpeg_tags(path, t));
    const auto bytes = test::read_file(path);
    ASSERT_GT(bytes.size(), 138u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 5), std::string("ID3\x03\x00", 5));
    size_t tit2 = find_bytes(bytes, "TIT2");
    ASSERT_LT(tit2, 200u);
    EXPECT_EQ(be32(&bytes[tit2 + 4]), 3u + 2 * t.title.size());
    EXPECT_EQ(bytes[tit2 + 10], 1) << "UTF-16: the title is not plain ASCII";
    EXPECT_NE(find_bytes(bytes, "TSSE"), std::string::npos) << "frames we do not edit are kept";
    const size_t v1 = bytes.size() - 128;
    EXPECT_EQ(std::string(bytes.begin() + v1, bytes.begin() + v1 + 3), "TAG");
    EXPECT_EQ(bytes[v1 + 126], 12);
    EXPECT_EQ(bytes[v1 + 127], 8);

    info = blank_info(texts);
    ASSERT_TRUE(describe_mpeg(path, info, texts));
    EXPECT_EQ(tags_from_info(info), t);
    // The audio between the tags is the same bytes as before.
    MemorySource a(original.data(), original.size()), b(bytes.data(), bytes.size());
    MpegStream sa = scan_mpeg(a, true), sb = scan_mpeg(b, true);
    ASSERT_EQ(sa.frames.size(), sb.frames.size());
    EXPECT_TRUE(std::equal(original.begin() + sa.first_frame, original.end() - 128,
                           bytes.begin() + sb.first_frame, bytes.end() - 128));

    // Read-only, damaged or foreign files are left as they are.
    test::set_read_only(path, true);
    EXPECT_FALSE(write_mpeg_tags(path, TagSet{}));
    EXPECT_EQ(test::read_file(path), bytes);
    test::set_read_only(path, false);
    std::vector<uint8_t> lying = {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F};
    lying.insert(lying.end(), original.begin() + 10, original.end());
    const std::string lp = test::temp_file("lying.mp3", lying);
    EXPECT_FALSE(write_mpeg_tags(lp, t));
    EXPECT_EQ(test::read_file(lp), lying);
    std::vector<uint8_t> words;
    append(words, "no audio here");
    const std::string wp = test::temp_file("words.mp3", words);
    EXPECT_FALSE(write_mpeg_tags(wp, t));
    EXPECT_EQ(test::read_file(wp), words);
}

}  // namespace
}  // namespace vl
