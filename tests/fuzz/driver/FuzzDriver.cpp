// Runs a fuzz target without libFuzzer: a fixed seed and a bounded number of
// inputs, mostly short (where parsers branch) with a tail of long ones, so
// the ordinary and the sanitizer builds exercise every target repeatably.
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    const long runs = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10000;
    std::mt19937 random(0x7316);
    std::vector<std::uint8_t> input;
    for (long i = 0; i < runs; ++i) {
        const std::size_t size = (i % 10 == 9) ? random() % 70000 : random() % 600;
        input.resize(size);
        for (auto& b : input)
            b = static_cast<std::uint8_t>(random());
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    return 0;
}
