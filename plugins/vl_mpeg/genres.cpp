#include <cctype>
#include <cstdlib>
#include <cstring>

#include "id3_tag.h"

namespace vl {

const std::vector<std::string>& genre_names() {
    static const std::vector<std::string> names = {"Blues",
                                                   "Classic Rock",
                                                   "Country",
                                                   "Dance",
                                                   "Disco",
                                                   "Funk",
                                                   "Grunge",
                                                   "Hip-Hop",
                                                   "Jazz",
                                                   "Metal",
                                                   "New Age",
                                                   "Oldies",
                                                   "Other",
                                                   "Pop",
                                                   "R&B",
                                                   "Rap",
                                                   "Reggae",
                                                   "Rock",
                                                   "Techno",
                                                   "Industrial",
                                                   "Alternative",
                                                   "Ska",
                                                   "Death Metal",
                                                   "Pranks",
                                                   "Soundtrack",
                                                   "Euro-Techno",
                                                   "Ambient",
                                                   "Trip-Hop",
                                                   "Vocal",
                                                   "Jazz+Funk",
                                                   "Fusion",
                                                   "Trance",
                                                   "Classical",
                                                   "Instrumental",
                                                   "Acid",
                                                   "House",
                                                   "Game",
                                                   "Sound Clip",
                                                   "Gospel",
                                                   "Noise",
                                                   "AlternRock",
                                                   "Bass",
                                                   "Soul",
                                                   "Punk",
                                                   "Space",
                                                   "Meditative",
                                                   "Instrumental Pop",
                                                   "Instrumental Rock",
                                                   "Ethnic",
                                                   "Gothic",
                                                   "Darkwave",
                                                   "Techno-Industrial",
                                                   "Electronic",
                                                   "Pop-Folk",
                                                   "Eurodance",
                                                   "Dream",
                                                   "Southern Rock",
                                                   "Comedy",
                                                   "Cult",
                                                   "Gangsta",
                                                   "Top 40",
                                                   "Christian Rap",
                                                   "Pop/Funk",
                                                   "Jungle",
                                                   "Native American",
                                                   "Cabaret",
                                                   "New Wave",
                                                   "Psychadelic",
                                                   "Rave",
                                                   "Showtunes",
                                                   "Trailer",
                                                   "Lo-Fi",
                                                   "Tribal",
                                                   "Acid Punk",
                                                   "Acid Jazz",
                                                   "Polka",
                                                   "Retro",
                                                   "Musical",
                                                   "Rock & Roll",
                                                   "Hard Rock",
                                                   "Folk",
                                                   "Folk-Rock",
                                                   "National Folk",
                                                   "Swing",
                                                   "Fast Fusion",
                                                   "Bebob",
                                                   "Latin",
                                                   "Revival",
                                                   "Celtic",
                                                   "Bluegrass",
                                                   "Avantgarde",
                                                   "Gothic Rock",
                                                   "Progressive Rock",
                                                   "Psychedelic Rock",
                                                   "Symphonic Rock",
                                                   "Slow Rock",
                                                   "Big Band",
                                                   "Chorus",
                                                   "Easy Listening",
                                                   "Acoustic",
                                                   "Humour",
                                                   "Speech",
                                                   "Chanson",
                                                   "Opera",
                                                   "Chamber Music",
                                                   "Sonata",
                                                   "Symphony",
                                                   "Booty Bass",
                                                   "Primus",
                                                   "Porn Groove",
                                                   "Satire",
                                                   "Slow Jam",
                                                   "Club",
                                                   "Tango",
                                                   "Samba",
                                                   "Folklore",
                                                   "Ballad",
                                                   "Power Ballad",
                                                   "Rhythmic Soul",
                                                   "Freestyle",
                                                   "Duet",
                                                   "Punk Rock",
                                                   "Drum Solo",
                                                   "A capella",
                                                   "Euro-House",
                                                   "Dance Hall",
                                                   "Goa",
                                                   "Drum & Bass",
                                                   "Club-House",
                                                   "Hardcore",
                                                   "Terror",
                                                   "Indie",
                                                   "BritPop",
                                                   "Afro-Punk",
                                                   "Polsk Punk",
                                                   "Beat",
                                                   "Christian Gangsta Rap",
                                                   "Heavy Metal",
                                                   "Black Metal",
                                                   "Crossover",
                                                   "Contemporary Christian",
                                                   "Christian Rock",
                                                   "Merengue",
                                                   "Salsa",
                                                   "Thrash Metal",
                                                   "Anime",
                                                   "JPop",
                                                   "Synthpop",
                                                   "Abstract",
                                                   "Art Rock",
                                                   "Baroque",
                                                   "Bhangra",
                                                   "Big Beat",
                                                   "Breakbeat",
                                                   "Chillout",
                                                   "Downtempo",
                                                   "Dub",
                                                   "EBM",
                                                   "Eclectic",
                                                   "Electro",
                                                   "Electroclash",
                                                   "Emo",
                                                   "Experimental",
                                                   "Garage",
                                                   "Global",
                                                   "IDM",
                                                   "Illbient",
                                                   "Industro-Goth",
                                                   "Jam Band",
                                                   "Krautrock",
                                                   "Leftfield",
                                                   "Lounge",
                                                   "Math Rock",
                                                   "New Romantic",
                                                   "Nu-Breakz",
                                                   "Post-Punk",
                                                   "Post-Rock",
                                                   "Psytrance",
                                                   "Shoegaze",
                                                   "Space Rock",
                                                   "Trop Rock",
                                                   "World Music",
                                                   "Neoclassical",
                                                   "Audiobook",
                                                   "Audio Theatre",
                                                   "Neue Deutsche Welle",
                                                   "Podcast",
                                                   "Indie Rock",
                                                   "G-Funk",
                                                   "Dubstep",
                                                   "Garage Rock",
                                                   "Psybient"};
    return names;
}

int genre_index(const std::string& name) {
    const auto& names = genre_names();
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& n = names[i];
        if (n.size() != name.size()) continue;
        bool same = true;
        for (size_t k = 0; k < n.size() && same; ++k)
            same = std::tolower(static_cast<unsigned char>(n[k])) ==
                   std::tolower(static_cast<unsigned char>(name[k]));
        if (same) return static_cast<int>(i);
    }
    return -1;
}

// "(17)", "(17)Rock", "17", "RX", "CR" or a plain name.
std::string genre_from_id3(const std::string& text) {
    auto by_number = [](const std::string& digits) -> std::string {
        if (digits.empty() || digits.size() > 3) return {};
        for (char c : digits)
            if (c < '0' || c > '9') return {};
        size_t i = static_cast<size_t>(std::atoi(digits.c_str()));
        return i < genre_names().size() ? genre_names()[i] : std::string();
    };
    if (text == "RX") return "Remix";
    if (text == "CR") return "Cover";
    if (!text.empty() && text[0] == '(') {
        size_t close = text.find(')');
        if (close != std::string::npos) {
            std::string rest = text.substr(close + 1);
            if (!rest.empty()) return rest;
            std::string inner = text.substr(1, close - 1);
            if (inner == "RX") return "Remix";
            if (inner == "CR") return "Cover";
            return by_number(inner);
        }
    }
    std::string named = by_number(text);
    return named.empty() ? text : named;
}

}  // namespace vl
