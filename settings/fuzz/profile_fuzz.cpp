// libFuzzer target for the settings reader and writer: every input becomes a
// settings file; every read must return, struct reads must agree with the
// text they accepted, and a write must change exactly the key written.

#include "settings/profile.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

struct Probe {
    const char* section;
    const char* key;
};

constexpr std::array<Probe, 7> kProbes{{{"COMM_ADDR", "size"},
                                        {"COMM_PORT", "setup"},
                                        {"RX", "opt"},
                                        {"TX", "opt"},
                                        {"TX_FILT", "protocol"},
                                        {"TX_FILT", "file"},
                                        {"PORTS", "extra"}}};

struct ScratchFile {
    std::string path = "/tmp/vantrel_settings_fuzz_" + std::to_string(::getpid()) + ".ini";
    ~ScratchFile() { std::remove(path.c_str()); }
};

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ScratchFile scratch;
    std::FILE* file = std::fopen(scratch.path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    std::array<std::string, kProbes.size()> before;
    for (std::size_t i = 0; i < kProbes.size(); ++i) {
        const Probe& probe = kProbes[i];
        before[i] = settings::GetProfileString(probe.section, probe.key, "<none>", 0, scratch.path);
        settings::GetProfileString(probe.section, probe.key, "1", 16, scratch.path);
        unsigned char record[20] = {};
        for (std::size_t recordSize : {8u, 12u, 20u}) {
            if (settings::GetProfileStruct(probe.section, probe.key, record, recordSize, scratch.path)) {
                Require(SameIgnoringCase(settings::FormatStruct(record, recordSize), before[i]));
            }
        }
    }

    const std::size_t written = size % kProbes.size();
    Require(settings::WriteProfileString(kProbes[written].section, kProbes[written].key, "fuzz", scratch.path).ok());
    for (std::size_t i = 0; i < kProbes.size(); ++i) {
        const std::string after =
            settings::GetProfileString(kProbes[i].section, kProbes[i].key, "<none>", 0, scratch.path);
        Require(after == (i == written ? std::string("fuzz") : before[i]));
    }
    return 0;
}
