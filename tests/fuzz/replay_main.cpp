// Runs a fuzz target without libFuzzer on every file of the folders given, so that the seed
// corpus is checked with the ordinary tests; a failed check aborts as under the fuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "reference/file_bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            const std::string bytes = saltor::ReadBytes(entry.path());
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            ++inputs;
        }
    }
    std::printf("%d inputs replayed\n", inputs);
    return inputs > 0 ? 0 : 1;  // no seeds means a wrong folder, not a pass
}
