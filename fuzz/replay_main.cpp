// Without libFuzzer a fuzz target replays the files of its corpus folder, so the seeds and
// every crash ever saved there run as an ordinary test.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path root(argv[i]);
        std::error_code error;
        std::vector<std::filesystem::path> inputs;
        if (std::filesystem::is_regular_file(root, error)) {
            inputs.push_back(root);  // one saved input, as libFuzzer takes it too
        } else if (std::filesystem::is_directory(root, error)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error)) {
                if (entry.is_regular_file(error)) inputs.push_back(entry.path());
            }
        }
        for (const auto& input : inputs) {
            std::ifstream in(input, std::ios::binary);
            std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
            ++files;
        }
    }
    // The empty input always runs too.
    LLVMFuzzerTestOneInput(nullptr, 0);
    std::printf("replayed %d corpus files\n", files);
    return 0;
}
