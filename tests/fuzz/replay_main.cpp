// Runs a fuzz target without libFuzzer, for compilers that have none: every
// file of the given folders, then a fixed number of byte-level mutations of
// them from a fixed seed, so every run feeds the same inputs. When an input
// ends the process, it is written to "fuzz-replay-crash" in the current
// folder and can be replayed by the libFuzzer build of the target.
//   <target>_replay [-mutations=N] [-max_len=N] folder...
#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes* g_current = nullptr;

void save_current() {
    if (!g_current) return;
    const int fd = ::open("fuzz-replay-crash", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    if (::write(fd, g_current->data(), g_current->size()) < 0) {
    }
    ::close(fd);
    static const char note[] = "fuzz replay: the input is in fuzz-replay-crash\n";
    if (::write(2, note, sizeof note - 1) < 0) {
    }
}

void on_signal(int sig) {
    save_current();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void run(const Bytes& input) {
    g_current = &input;
    LLVMFuzzerTestOneInput(input.data(), input.size());
    g_current = nullptr;
}

// One to four edits of the kinds that find most faults in parsers: flipped
// bits, boundary values, inserted, removed and repeated runs, a cut end and
// a splice with another input.
Bytes mutate(Bytes b, const std::vector<Bytes>& seeds, std::mt19937& rng, size_t max_len) {
    auto pick = [&](size_t n) { return n == 0 ? size_t(0) : size_t(rng() % n); };
    static const uint8_t kValues[] = {0x00, 0x01, 0x7F, 0x80, 0xFF, '\r', '\n', '[', '=', '(', ';'};
    const int edits = 1 + int(rng() % 4);
    for (int e = 0; e < edits; ++e) {
        const size_t at = pick(b.size() + 1);
        switch (rng() % 7) {
            case 0:
                if (!b.empty()) b[pick(b.size())] ^= uint8_t(1u << (rng() % 8));
                break;
            case 1:
                if (!b.empty()) b[pick(b.size())] = kValues[pick(sizeof kValues)];
                break;
            case 2:
                b.insert(b.begin() + long(at), 1 + pick(8), uint8_t(rng()));
                break;
            case 3:
                if (at < b.size())
                    b.erase(b.begin() + long(at),
                            b.begin() + long(at + 1 + pick(std::min<size_t>(b.size() - at, 16))));
                break;
            case 4:
                if (at < b.size()) {
                    const Bytes run(b.begin() + long(at),
                                    b.begin() + long(std::min(b.size(), at + 1 + pick(32))));
                    for (size_t k = pick(8); k-- > 0;)
                        b.insert(b.begin() + long(at), run.begin(), run.end());
                }
                break;
            case 5:
                b.resize(at);
                break;
            default: {
                const Bytes& other = seeds[pick(seeds.size())];
                const size_t from = pick(other.size() + 1);
                b.insert(b.begin() + long(at), other.begin() + long(from), other.end());
                break;
            }
        }
        if (b.size() > max_len) b.resize(max_len);
    }
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    long mutations = 2000;
    size_t max_len = 4096;
    std::vector<Bytes> seeds;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("-mutations=", 0) == 0) {
            mutations = std::atol(arg.c_str() + 11);
        } else if (arg.rfind("-max_len=", 0) == 0) {
            max_len = size_t(std::atol(arg.c_str() + 9));
        } else {
            std::vector<std::filesystem::path> files;
            for (const auto& e : std::filesystem::directory_iterator(arg))
                if (e.is_regular_file()) files.push_back(e.path());
            std::sort(files.begin(), files.end());  // the same order everywhere
            for (const auto& f : files) {
                std::ifstream in(f, std::ios::binary);
                seeds.emplace_back(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
            }
        }
    }
    if (seeds.empty()) {
        std::fprintf(stderr, "no inputs\n");
        return 2;
    }
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(save_current);
#endif
    for (int sig : {SIGSEGV, SIGILL, SIGABRT, SIGFPE, SIGBUS}) std::signal(sig, on_signal);
    for (const Bytes& s : seeds) run(s);
    std::mt19937 rng(20261208);
    for (long i = 0; i < mutations; ++i)
        run(mutate(seeds[size_t(i) % seeds.size()], seeds, rng, max_len));
    std::printf("%zu inputs and %ld mutations ran\n", seeds.size(), mutations);
    return 0;
}
